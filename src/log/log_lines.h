// Log files as lists of lines: 8-bit text taken byte for byte, one record per line.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

using LogLines = std::vector<std::string>;

// Splits on LF and drops one CR before it, so CRLF and LF files read alike. A final line end
// does not make an extra empty line.
LogLines SplitLines(std::string_view bytes);
// Each line followed by CR LF, the layout the program writes its logs in.
std::string JoinLines(const LogLines& lines, std::size_t first = 0);

// Nothing when the file is missing or unreadable.
std::optional<LogLines> LoadLogLines(const std::filesystem::path& file, std::string* error = nullptr);
// Removes every empty line; true when any was removed.
bool RemoveEmptyLines(LogLines& lines);
// Replaces the file with the lines in one step.
bool SaveLogLines(const std::filesystem::path& file, const LogLines& lines,
                  std::string* error = nullptr);

}  // namespace vantrel
