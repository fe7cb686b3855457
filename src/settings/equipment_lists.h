// The operator's radios and antennas: two plain text files, one entry per line.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

inline constexpr std::string_view kRadiosFileName = "Radios.txt";
inline constexpr std::string_view kAntennasFileName = "Antennas.txt";
inline constexpr std::string_view kRadiosTemplate = "List one radio per line after removing this text";
inline constexpr std::string_view kAntennasTemplate = "List one antenna per line after removing this text";

// The entries of a list file's text in file order; CR LF and LF line ends alike, lines that are
// empty or only blanks left out.
std::vector<std::string> EquipmentEntries(std::string_view fileText);

// The entries of `name` in `folder`, the file found whatever the letter case of its name; no
// entries when there is no such file.
std::vector<std::string> LoadEquipmentList(const std::filesystem::path& folder, std::string_view name);

// What a newly created list file holds: its template line.
std::string DefaultEquipmentFile(std::string_view templateLine);

// Creates `folder`/`name` holding the template line unless a file of that name (any letter case)
// is there. Returns the path of the file to open in the editor; empty on failure.
std::filesystem::path EnsureEquipmentFile(const std::filesystem::path& folder, std::string_view name,
                                          std::string_view templateLine, std::string* error = nullptr);

// The rig in use for a rig box text: every "Icom " removed, letter case ignored
// ("ICOM IC-705" gives "IC-705").
std::string RigFromBoxText(std::string_view boxText);

// The band list of an antenna name: the text inside its first "[" ... "]"; empty without them.
std::string_view AntennaBandList(std::string_view antenna);

// The antenna tag of a rotator program's selection: from its second character on (at most 50
// characters), blanks removed at both ends, the part before the first "]"; empty without "]".
std::string RotatorAntennaTag(std::string_view selection);

}  // namespace vantrel
