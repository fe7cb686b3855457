#include "refdata/places_commands.h"

#include <optional>

#include "base/file_io.h"
#include "geo/locator.h"
#include "log/line_text.h"
#include "refdata/grid_lookup.h"
#include "refdata/places_list.h"
#include "refdata/places_search.h"

namespace vantrel {

CommandOutput GridCommand(std::string_view locator, std::string_view homeGrid, const PlacesFolders& folders) {
    CommandOutput out;
    if (!IsLocator(locator)) {
        out.status = 2;
        out.error = "Not a grid locator: " + std::string(TrimBlanks(locator)) +
                    " (--grid needs a locator of 4 or 6 characters, such as JO62 or JO62QM)";
        return out;
    }
    std::optional<LogLines> somePlaces;
    PlacesList places;
    if (const auto file = FindPlacesFile(folders, kSomePlacesFile)) {
        somePlaces = LoadLogLines(*file, &out.error);
        if (!somePlaces) somePlaces.emplace();
    } else {
        PlacesListLoad load = LoadPlacesList(folders, false);
        places = std::move(load.list);
        out.error = std::move(load.error);
    }
    const auto info = LookupGrid(locator, homeGrid, somePlaces ? &*somePlaces : nullptr, places);
    out.lines = {info->locator, info->centre, info->bearing, info->from, info->reverse};
    if (!info->country.empty()) out.lines.push_back(info->country);
    if (info->placesVisible) out.lines.insert(out.lines.end(), info->places.begin(), info->places.end());
    return out;
}

CommandOutput PlacesCommand(std::string_view text, bool extended, const PlacesFolders& folders,
                            const LogLines* countryTable) {
    CommandOutput out;
    if (TrimBlanks(text).empty()) {
        out.status = 2;
        out.error = "--places needs a text to search for";
        return out;
    }
    const char* name = extended ? kAllPlacesFile : kSomePlacesFile;
    const auto file = FindPlacesFile(folders, name);
    std::optional<std::string> bytes;
    if (file) bytes = ReadWholeFile(*file, &out.error);
    if (!bytes) {
        out.status = 1;
        if (out.error.empty()) out.error = std::string(name) + " not found in the viewer folder or the program's data";
        return out;
    }
    const PlacesText places(std::move(*bytes));
    const LogLines noTable;
    const auto result = SearchPlaces(text, &places, countryTable ? *countryTable : noTable);
    out.lines = result->prefixLines;
    // The list's first two lines ("Searching for ...", empty) belong to the window only.
    out.lines.insert(out.lines.end(), result->lines.begin() + 2, result->lines.end());
    out.lines.push_back(result->matchLabel);
    return out;
}

}  // namespace vantrel
