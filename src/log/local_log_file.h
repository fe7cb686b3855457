// Keeps Viewer_local_log.csv equal to the in-memory local log. A change that only adds lines at
// the end is appended durably in one write; anything else replaces the file in one step. Either
// way a kill at any instant leaves the old or the new content, never a torn line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "log/log_lines.h"

namespace vantrel {

class LocalLogFile {
public:
    explicit LocalLogFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& File() const { return file_; }

    // Loads the file; empty lines are dropped. Nothing when the file is missing or unreadable.
    std::optional<LogLines> Load(std::string* error = nullptr);

    // Writes the whole list.
    bool Save(const LogLines& lines, std::string* error = nullptr);

    // The list equals what was last loaded or saved plus lines from `firstNew` on: those are
    // appended when the file is still as this object left it, otherwise the whole list is saved.
    // With nothing new and the file as it was left, nothing is written.
    bool SaveGrown(const LogLines& lines, std::size_t firstNew, std::string* error = nullptr);

private:
    std::filesystem::path file_;
    // Size of the file as this object last read or wrote it; -1 when unknown or not reusable.
    std::int64_t knownSize_ = -1;
    std::size_t knownLines_ = 0;
};

}  // namespace vantrel
