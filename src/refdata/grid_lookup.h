// The grid lookup: what the "Gridsquare info:" panel shows for a typed locator.
//
// The panel shows the locator, the centre of the square (of the subsquare for 6 characters), the
// bearing and distance from the operator's grid with the reverse bearing, and the places in the
// square: from SomePlaces.txt when the program has it (every line whose locator begins with the
// typed one), else from the places list, searched in a window around the square's centre that
// widens by a tenth of a degree each way, at most 11 times, until it holds 5 names.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geo/locator.h"
#include "log/log_lines.h"
#include "refdata/places_list.h"

namespace vantrel {

struct GridInfo {
    std::string locator;        // the typed locator, upper case
    std::string centre;         // "Lat: 52.50    Long: 13.00 (centre)"
    std::string bearing;        // "Bearing: 58 deg Distance: 734 KM"
    std::string from;           // "(from JO65)"
    std::string reverse;        // "Rev: 238"
    std::string bearingNumber;  // "58": what a double click on the bearing line copies
    std::string country;        // "Country: Fed. Rep. of Germany"; empty when none is shown
    std::vector<std::string> places;
    bool placesVisible = false;
    // False only when the places list was searched to its widest window without 5 names: the
    // panel then stays until it is closed.
    bool startTimer = true;
};

// The reverse bearing the panel shows: bearing + 180 up to 180 (180 gives 360), else
// bearing - 180.
int PanelReverseBearing(int bearing);

// The centre the panel shows: a 4-character square's middle, a 6-character subsquare's middle.
Position GridCentre(std::string_view locator);

// The places list window's centre in tenths of a degree: the middle of the 4-character square.
struct WindowCentre {
    int lat10 = 0, lon10 = 0;
};
WindowCentre PlacesWindowCentre(std::string_view locator);

// What the places list gives for a square: the names found (5 or more), the country of the last
// entry visited in the window, and how many scans it took (1 to 11). `found` is false when the
// widest window held fewer than 5 names.
struct PlacesNearby {
    std::vector<std::string> names;
    std::string country;
    int scans = 0;
    bool found = false;
};
PlacesNearby FindPlacesNearby(const PlacesList& places, std::string_view locator);

// Nothing for an empty text; for a text that is not a locator (IsLocator), only `locator`,
// reading "Not a grid locator: TEXT". The operator's own square has no bearing ("Bearing: -"). `somePlaces` holds the lines of
// SomePlaces.txt when the program has that file (in any order); without it the places list is
// searched.
std::optional<GridInfo> LookupGrid(std::string_view text, std::string_view homeGrid,
                                   const LogLines* somePlaces, const PlacesList& places);

}  // namespace vantrel
