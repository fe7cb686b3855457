// Keeps Viewer_local_log.csv equal to the in-memory local log. A change that only adds lines at
// the end is appended durably in one write; anything else replaces the file in one step. Either
// way a kill at any instant leaves the old or the new content, never a torn line.
//
// No write replaces lines it did not read: when the file is not as this writer last read or
// wrote it (another writer appended to it or replaced it), it is read again first, and every
// line in it that this writer never read and does not hold (by contact identity) is kept: added
// to the end of the caller's list and written with it. Writers take a lock on the file for the
// read, merge and write, so two of them never interleave.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "log/contact_identity.h"
#include "log/log_lines.h"

namespace vantrel {

// What a save did.
struct LocalLogSave {
    bool ok = false;
    // Lines another writer had put into the file that this writer had not read: appended, in the
    // file's order, to the end of the list passed in (which grew by this many lines).
    std::size_t keptFromFile = 0;
    explicit operator bool() const { return ok; }
};

class LocalLogFile {
public:
    explicit LocalLogFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& File() const { return file_; }

    // The contacts of the file as this object last read or wrote it: right after Load, the
    // index of the lines it returned (a copy saves building that index again).
    const ContactIndex& Known() const { return known_; }

    // Loads the file; empty lines are dropped. Nothing when the file is missing or unreadable.
    std::optional<LogLines> Load(std::string* error = nullptr);

    // Writes the whole list (after lines were changed or removed in place). Lines this writer
    // read and the list no longer holds are not written again.
    LocalLogSave Save(LogLines& lines, std::string* error = nullptr);

    // The list equals what was last loaded or saved plus lines from `firstNew` on: those are
    // appended when the file is still as this object left it. With nothing new and the file as
    // it was left, nothing is written.
    LocalLogSave SaveGrown(LogLines& lines, std::size_t firstNew, std::string* error = nullptr);

private:
    LocalLogSave Write(LogLines& lines, std::size_t firstNew, bool whole, std::string* error);
    // The file changed under this writer: read it again, merge, then write.
    LocalLogSave MergeAndWrite(LogLines& lines, std::string* error);
    LocalLogSave Append(LogLines& lines, std::size_t firstNew, std::string* error);
    LocalLogSave Replace(LogLines& lines, std::string* error);

    std::filesystem::path file_;
    // Size of the file as this object last read or wrote it; -1 when unknown or not reusable.
    std::int64_t knownSize_ = -1;
    std::size_t knownLines_ = 0;
    // Every line this object has read from the file or written to it.
    ContactIndex known_;
};

}  // namespace vantrel
