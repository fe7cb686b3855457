#include "app/engine/station_log.h"

#include <utility>

namespace vantrel {

std::optional<LogLines> StationLog::Load(std::string* error) { return file_.Load(error); }

std::shared_ptr<const LogLines> StationLog::Snapshot() const {
    if (!snapshot_) snapshot_ = std::make_shared<const LogLines>(lines_);
    return snapshot_;
}

void StationLog::AnnounceAppended(std::size_t before) {
    if (lines_.size() == before) return;
    snapshot_.reset();
    for (const Listener& listener : appended_) listener();
}

void StationLog::AnnounceRewritten() {
    snapshot_.reset();
    for (const Listener& listener : rewritten_) listener();
}

void StationLog::Take(LogLines lines, std::size_t onDisk) {
    lines_ = std::move(lines);
    saved_ = std::min(onDisk, lines_.size());
    // The file's own index is the index of what it just loaded.
    if (file_.Known().IndexedLines() == lines_.size() && saved_ == lines_.size()) index_ = file_.Known();
    else index_.Rebuild(lines_);
    AnnounceRewritten();
}

WsjtxMerge StationLog::MergeWsjtx(const LogLines& wsjtxLines, const StationDetails& station) {
    const std::size_t before = lines_.size();
    WsjtxMerge merge = update_local_with_new(lines_, index_, wsjtxLines, station);
    AnnounceAppended(before);
    return merge;
}

bool StationLog::Contains(std::string_view line) const {
    // The last contact again (the start-up's last-contact box) needs no look-up.
    return (!lines_.empty() && lines_.back() == line) || index_.Contains(line);
}

std::size_t StationLog::Add(const std::vector<std::string>& lines, bool& saved, std::string* error) {
    const std::size_t before = lines_.size();
    std::size_t added = 0;
    for (const std::string& line : lines) {
        if (Contains(line)) continue;
        lines_.push_back(line);
        index_.Extend(lines_);
        ++added;
    }
    saved = FlushQuietly(error);
    AnnounceAppended(before);
    return added;
}

bool StationLog::Saved(const LocalLogSave& result) {
    if (result.keptFromFile > 0) {
        keptFromFile_ += result.keptFromFile;
        index_.Extend(lines_);
    }
    if (!result.ok) return false;
    saved_ = lines_.size();
    return true;
}

bool StationLog::Replace(LogLines lines, std::string* error) {
    lines_ = std::move(lines);
    saved_ = 0;
    const LocalLogSave result = file_.Save(lines_, error);
    index_.Rebuild(lines_);
    const bool ok = Saved(result);
    AnnounceRewritten();
    return ok;
}

bool StationLog::Flush(std::string* error) {
    const std::size_t before = lines_.size();
    const bool ok = FlushQuietly(error);
    AnnounceAppended(before);
    return ok;
}

bool StationLog::FlushQuietly(std::string* error) {
    if (saved_ == lines_.size()) return true;
    return Saved(file_.SaveGrown(lines_, saved_, error));
}

void StationLog::Release() {
    snapshot_.reset();
    lines_.clear();
    index_.clear();
    saved_ = 0;
}

}  // namespace vantrel
