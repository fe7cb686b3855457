#include "log/log_lines.h"

#include <cstring>
#include <ostream>

#include "base/file_io.h"

namespace vantrel {

LogLines::LogLines(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) push_back(line);
}

LogLines::LogLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) push_back(line);
}

LogLines LogLines::FromBytes(std::string bytes) {
    LogLines lines;
    // Fast path: the bytes are already in file form (every line ended by CR LF): keep them as
    // they are and only note where each line starts.
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    bool fileForm = size == 0 || (size >= 2 && data[size - 1] == '\n' && data[size - 2] == '\r');
    std::size_t start = 0;
    while (fileForm && start < size) {
        const void* found = std::memchr(data + start, '\n', size - start);
        const std::size_t end = static_cast<const char*>(found) - data;
        if (end == start || data[end - 1] != '\r') {
            fileForm = false;
            break;
        }
        lines.starts_.push_back(start);
        start = end + 1;
    }
    if (fileForm) {
        lines.bytes_ = std::move(bytes);
        return lines;
    }

    lines.starts_.clear();
    lines.bytes_.reserve(size + size / 16);
    start = 0;
    while (start < size) {
        const void* found = std::memchr(data + start, '\n', size - start);
        const std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
        std::size_t stop = end;
        if (stop > start && data[stop - 1] == '\r') --stop;
        lines.push_back(std::string_view(data + start, stop - start));
        start = end + 1;
    }
    return lines;
}

void LogLines::push_back(std::string_view line) {
    starts_.push_back(bytes_.size());
    bytes_.append(line);
    bytes_.append("\r\n", 2);
}

void LogLines::clear() {
    bytes_.clear();
    starts_.clear();
}

void LogLines::reserve(std::size_t lines, std::size_t bytes) {
    starts_.reserve(lines);
    bytes_.reserve(bytes);
}

void LogLines::Set(std::size_t i, std::string_view line) {
    const std::string copy(line);  // the text may point into this list
    const std::size_t start = starts_[i];
    const std::size_t oldLength = (*this)[i].size();
    bytes_.replace(start, oldLength, copy);
    const std::ptrdiff_t shift =
        static_cast<std::ptrdiff_t>(copy.size()) - static_cast<std::ptrdiff_t>(oldLength);
    for (std::size_t j = i + 1; j < starts_.size(); ++j)
        starts_[j] = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(starts_[j]) + shift);
}

bool LogLines::RemoveEmpty() {
    bool anyEmpty = false;
    for (std::size_t i = 0; i < size() && !anyEmpty; ++i) anyEmpty = (*this)[i].empty();
    if (!anyEmpty) return false;
    LogLines kept;
    kept.reserve(size(), bytes_.size());
    for (std::string_view line : *this)
        if (!line.empty()) kept.push_back(line);
    *this = std::move(kept);
    return true;
}

void PrintTo(const LogLines& lines, std::ostream* out) {
    *out << lines.size() << " lines {";
    for (std::string_view line : lines) *out << "\n  \"" << line << "\"";
    *out << "}";
}

std::optional<LogLines> LoadLogLines(const std::filesystem::path& file, std::string* error) {
    auto bytes = ReadWholeFile(file, error);
    if (!bytes) return std::nullopt;
    return LogLines::FromBytes(std::move(*bytes));
}

bool SaveLogLines(const std::filesystem::path& file, const LogLines& lines, std::string* error) {
    return WriteFileAtomic(file, lines.Bytes(), error);
}

}  // namespace vantrel
