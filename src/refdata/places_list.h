// The places lists held for the whole run.
//
// PlacesList: entries "latitude,longitude,country,place" (decimal degrees, north and east
// positive; blanks around any field are allowed), from worldcities.txt, or from worldcities.csv
// converted into worldcities.txt, or from Places-db5.txt, which replaces both. The entries are
// kept in case-blind byte order (ASCII letters folded, every other byte by its value), letter-case
// duplicates dropped, so the list reads the same on every machine. Each entry's position in
// tenths of a degree is read once when the list is made, and an index by latitude lets the grid
// lookup visit only the entries of its window.
//
// PlacesList4: the lines of 4chplaces.txt (locator, country, place) in the same order.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "log/log_lines.h"
#include "refdata/places_files.h"

namespace vantrel {

// The lines sorted case-blind with letter-case duplicates dropped (the first of equal lines in
// the given order is kept). Lines already in that order are taken as they are.
LogLines SortedUniqueNoCase(LogLines lines);

// A world-cities table (a header line, then field 2 the place, 3 latitude, 4 longitude,
// 5 country) as PlacesList entries: fields 3, 4, 5 and 2, each trimmed, joined by commas, every
// double quote then a blank. The header (" lat ," once its quotes are blanks) and lines with no
// field at all are left out. Sorted and unique.
LogLines ConvertWorldCities(const LogLines& csv);

class PlacesList {
public:
    PlacesList() = default;
    // Sorts and thins the lines and reads their positions.
    explicit PlacesList(LogLines lines);

    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view operator[](std::size_t i) const { return lines_[i]; }
    const LogLines& Lines() const { return lines_; }

    // The entries whose latitude and longitude, in tenths of a degree rounded to the nearest
    // whole number, lie inside the window (bounds included), in list order. Entries whose
    // numbers cannot be read are never inside.
    std::vector<std::uint32_t> EntriesInWindow(int latLow, int latHigh, int lonLow, int lonHigh) const;

    // An entry's position in tenths, when its numbers read.
    bool PositionTenths(std::size_t i, int& lat10, int& lon10) const;

private:
    LogLines lines_;
    std::vector<std::int32_t> lat10_, lon10_;
    std::vector<std::uint32_t> byLatitude_;  // readable entries ordered by (lat10, index)
};

// The numbers of an entry field: blanks around it and a leading "+" allowed, "." as the decimal
// point; false for anything else.
bool ReadDegrees(std::string_view text, double& value);

struct PlacesListLoad {
    PlacesList list;
    std::filesystem::path source;   // the file the entries came from; empty when none
    bool converted = false;         // worldcities.csv was turned into worldcities.txt
    std::string error;              // a file that could not be read or written
};

// Start-up: worldcities.txt when found, else worldcities.csv converted and saved as
// worldcities.txt in the viewer folder (not saved when `saveConversion` is false: a query that
// only reads); Places-db5.txt, when found, replaces both.
PlacesListLoad LoadPlacesList(const PlacesFolders& folders, bool saveConversion = true);

// 4chplaces.txt sorted and unique; an empty list when the file is not found.
LogLines LoadPlacesList4(const PlacesFolders& folders, std::string* error = nullptr);

}  // namespace vantrel
