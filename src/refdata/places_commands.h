// The command-line queries of the places lookup, printing what the panels show:
//   vantrel --grid LOCATOR   the "Gridsquare info:" panel's lines
//   vantrel --places TEXT    the prefix lines, the matching places, then "Matches : N"
// Both only read: worldcities.csv, when it must be converted, is converted in memory only.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "log/log_lines.h"
#include "refdata/places_files.h"

namespace vantrel {

struct CommandOutput {
    int status = 0;                  // 0 done, 1 nothing could be done, 2 a usage error
    std::vector<std::string> lines;  // for standard output
    std::string error;               // for standard error; empty when done
};

// The locator, the centre, bearing and distance, "(from GRID)", the reverse bearing, then the
// country and the places when the panel shows them.
CommandOutput GridCommand(std::string_view locator, std::string_view homeGrid, const PlacesFolders& folders);

// With `extended`, allplaces.txt is searched instead of SomePlaces.txt. `countryTable` may be
// null (no prefix lines).
CommandOutput PlacesCommand(std::string_view text, bool extended, const PlacesFolders& folders,
                            const LogLines* countryTable);

}  // namespace vantrel
