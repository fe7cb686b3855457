// The local log as the running program keeps it: the lines in memory, Viewer_local_log.csv on
// disk, and the contacts not yet on disk. A new contact is in the file (appended durably) before
// anything else is done with it; when the disk is full the contacts are kept and written again
// at every tick and at the close, never dropped. A save never replaces lines that another writer
// put into the file: they are read, kept and taken into memory too.
//
// The log announces its changes: whoever shows or indexes it subscribes when it is made and is
// told when contacts were appended or when the lines were replaced; the log knows nothing of them.
// Work off the engine's thread reads a snapshot, a shared copy that no change of the log touches.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "log/contact_identity.h"
#include "log/local_log.h"
#include "log/local_log_file.h"
#include "log/log_lines.h"

namespace vantrel {

class StationLog {
public:
    using Listener = std::function<void()>;

    StationLog() : file_("") {}
    explicit StationLog(std::filesystem::path file) : file_(std::move(file)) {}

    const LogLines& Lines() const { return lines_; }
    std::size_t size() const { return lines_.size(); }
    const std::filesystem::path& File() const { return file_.File(); }
    const ContactIndex& Index() const { return index_; }
    // The lines as they are now, shared and never changed; made again after the next change.
    std::shared_ptr<const LogLines> Snapshot() const;

    // Told after contacts were appended (the feed, the start-up's merge, lines that another
    // writer had put into the file), in the order they subscribed.
    void OnAppended(Listener listener) { appended_.push_back(std::move(listener)); }
    // Told after the lines were replaced as a whole (the start-up's load, a repair).
    void OnRewritten(Listener listener) { rewritten_.push_back(std::move(listener)); }

    // Reads the file; nothing (with the reason) when it is unreadable.
    std::optional<LogLines> Load(std::string* error);
    // Takes lines as the log held in memory, of which the first `onDisk` are in the file.
    void Take(LogLines lines, std::size_t onDisk);
    // The WSJT-X contacts that the log lacks, appended in memory (Flush writes them).
    WsjtxMerge MergeWsjtx(const LogLines& wsjtxLines, const StationDetails& station);

    // True when the contact (its date, time on, callsign and band) is in the log already.
    bool Contains(std::string_view line) const;
    // Appends the contacts that are not in the log yet and writes them; returns how many were
    // new. False in `saved` (with the reason) when they could not be written: they stay in
    // memory and are written by the next Flush.
    std::size_t Add(const std::vector<std::string>& lines, bool& saved, std::string* error);
    // Replaces every line (a repair) and rewrites the file.
    bool Replace(LogLines lines, std::string* error);
    // Writes what is not on disk yet; true when nothing is left to write.
    bool Flush(std::string* error);
    std::size_t Unsaved() const { return lines_.size() - saved_; }
    // Lines that another writer had put into the file, taken in by the last write.
    std::size_t TakeKeptFromFile() { return std::exchange(keptFromFile_, 0); }
    // Lets the lines go (the close); the file stays as it is.
    void Release();

private:
    bool Saved(const LocalLogSave& result);
    bool FlushQuietly(std::string* error);
    // Tells the listeners of an append when the log has more lines than `before`.
    void AnnounceAppended(std::size_t before);
    void AnnounceRewritten();

    LocalLogFile file_;
    LogLines lines_;
    ContactIndex index_;
    std::size_t saved_ = 0;  // lines of lines_ known to be in the file
    std::size_t keptFromFile_ = 0;
    mutable std::shared_ptr<const LogLines> snapshot_;
    std::vector<Listener> appended_, rewritten_;
};

}  // namespace vantrel
