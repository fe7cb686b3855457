// A freshly downloaded country file: checked before anything is replaced, then written over
// cty.dat in the viewer folder and in WSJT-X's folder, each in one step, and flattened again into
// ctybasic.txt so that the next lookup uses it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "log/log_lines.h"

namespace vantrel {

inline constexpr const char* kNewCountryFile = "new-cty.dat";

struct CountryFileRules {
    std::int64_t minBytes = 1000;  // a file of this size or less is never installed
    std::size_t minEntities = 300;  // a real file names about 340 entities
};

// Empty when the bytes are a country file worth installing, else why they are not: too small,
// fewer entities than the rules ask, an entity line without its eight fields or a prefix list
// without its ";" (an error page, a sign-in page or a cut file).
std::string CheckCountryFileDownload(std::string_view bytes, const CountryFileRules& rules = {});

struct CountryFileInstall {
    bool installed = false;       // the viewer's cty.dat holds the new file
    bool wsjtxInstalled = false;  // so does WSJT-X's
    std::size_t entities = 0;
    std::int64_t bytes = 0;
    // Why nothing was installed (both files are then as they were), or, with `installed`, why
    // WSJT-X's copy or ctybasic.txt was not written.
    std::string problem;
    std::optional<LogLines> table;  // the country table of the new file, saved as ctybasic.txt
};

// Checks `downloaded` and, when it passes, replaces cty.dat in the viewer folder, then in WSJT-X's
// folder (when that folder exists; it is never created), and rebuilds ctybasic.txt from the new
// file. A file that fails the check changes nothing.
CountryFileInstall InstallCountryFile(const std::filesystem::path& downloaded,
                                      const std::filesystem::path& viewerFolder,
                                      const std::filesystem::path& wsjtxFolder,
                                      const CountryFileRules& rules = {});

}  // namespace vantrel
