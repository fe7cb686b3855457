// The country-prefix file cty.dat flattened into one line per prefix or exact callsign:
//   PREFIX "," NAME "," CONTINENT " {" LATITUDE "^" LONGITUDE "}"
// (latitude north positive, longitude west positive, both as the file writes them), kept in a
// list sorted without regard to letter case, exact duplicates dropped. The list is saved as
// ctybasic.txt and read back from it on later runs.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/time_text.h"
#include "log/log_lines.h"

namespace vantrel {

inline constexpr const char* kCountryFile = "cty.dat";
inline constexpr const char* kCountryBasicFile = "ctybasic.txt";
inline constexpr const char* kInstalledCountryFile = "/usr/share/wsjtx/cty.dat";

// How closely a cty.dat text keeps the file's layout, counted by the pass that parses it: every
// entity line has its eight ":"-separated fields (name, CQ zone, ITU zone, continent, latitude,
// longitude, UTC offset, primary prefix) and is followed by a prefix list that ends with ";".
struct CountryFileShape {
    std::size_t entities = 0;     // entity lines
    std::size_t badEntities = 0;  // entity lines without their eight fields
    std::size_t openLists = 0;    // entities whose prefix list is missing or has no ";"
    std::string firstProblem;     // the first such line, shortened, for a message
};

// The lines of a cty.dat text (CR LF, LF or CR line ends; empty lines skipped) in file order.
// With `shape`, the file's layout is checked on the way.
std::vector<std::string> ParseCountryFile(std::string_view bytes,
                                          CountryFileShape* shape = nullptr);

// Sorts without regard to letter case (an upper-cased comparison, then the exact bytes) and drops
// exact duplicates: the order of the country table.
void SortCountryLines(std::vector<std::string>& lines);
LogLines SortedCountryLines(std::vector<std::string> lines);

// cty.dat of the viewer folder parsed, sorted and saved as ctybasic.txt there. Nothing, with the
// reason in `error`, when cty.dat is missing or ctybasic.txt cannot be written. With `shape`, the
// file's layout as ParseCountryFile found it.
std::optional<LogLines> LoadCountryFile(const std::filesystem::path& viewerFolder,
                                        std::string* error = nullptr, CountryFileShape* shape = nullptr);
// ctybasic.txt read back, in table order.
std::optional<LogLines> LoadCountryBasic(const std::filesystem::path& file,
                                         std::string* error = nullptr);

// Where a viewer folder without cty.dat gets its first copy: WSJT-X's data folder when the
// operator put one there, else WSJT-X's installed copy.
struct CountryFileSource {
    enum Kind { AlreadyPresent, FromWsjtxFolder, FromInstalledCopy, Missing } kind = Missing;
    std::filesystem::path from;  // the file to copy (FromWsjtxFolder, FromInstalledCopy)
};
CountryFileSource ChooseCountryFileSource(const std::filesystem::path& viewerFolder,
                                          const std::filesystem::path& wsjtxFolder,
                                          const std::filesystem::path& installedCopy =
                                              kInstalledCountryFile);

// The text under the callsign list: "CTY.DAT: 07Dec26", with the warning appended and `tooOld`
// set (shown in red) when the file is more than 60 days old at `now`. A missing file is named as
// such, also in red.
struct CountryFileAge {
    std::string text;
    bool tooOld = false;
};
CountryFileAge CheckCountryFileAge(std::optional<TimePoint> fileTime, TimePoint now);
// The modification time of a file; nothing when it is missing.
std::optional<TimePoint> FileModificationTime(const std::filesystem::path& file);

}  // namespace vantrel
