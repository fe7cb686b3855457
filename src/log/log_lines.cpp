#include "log/log_lines.h"

#include <algorithm>

#include "base/file_io.h"

namespace vantrel {

LogLines SplitLines(std::string_view bytes) {
    LogLines lines;
    lines.reserve(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1);
    std::size_t start = 0;
    while (start < bytes.size()) {
        auto end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes.substr(start, stop - start));
        start = next;
    }
    return lines;
}

std::string JoinLines(const LogLines& lines, std::size_t first) {
    std::size_t size = 0;
    for (std::size_t i = first; i < lines.size(); ++i) size += lines[i].size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (std::size_t i = first; i < lines.size(); ++i) {
        bytes += lines[i];
        bytes += "\r\n";
    }
    return bytes;
}

std::optional<LogLines> LoadLogLines(const std::filesystem::path& file, std::string* error) {
    auto bytes = ReadWholeFile(file, error);
    if (!bytes) return std::nullopt;
    return SplitLines(*bytes);
}

bool RemoveEmptyLines(LogLines& lines) {
    const auto before = lines.size();
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    return lines.size() != before;
}

bool SaveLogLines(const std::filesystem::path& file, const LogLines& lines, std::string* error) {
    return WriteFileAtomic(file, JoinLines(lines), error);
}

}  // namespace vantrel
