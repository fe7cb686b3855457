#include "refdata/grid_lookup.h"

#include <algorithm>
#include <charconv>

#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The square's whole-degree south-west corner (no range check: a character outside its alphabet
// gives a corner outside the globe, which no place lies in).
struct Corner {
    int south = 0, west = 0;
};
Corner SquareCorner(std::string_view locator) {
    if (locator.size() < 4) return {};
    const int a = Upper(locator[0]) - 'A', b = Upper(locator[1]) - 'A';
    const int c = locator[2] - '0', d = locator[3] - '0';
    return {-90 + 10 * b + d, -180 + 20 * a + 2 * c};
}

std::string Fixed2(double value) {
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0,
                                            std::chars_format::fixed, 2);
    if (error != std::errc()) return "0.00";
    return std::string(buffer, end);
}

bool BeginsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && SameTextNoCase(text.substr(0, start.size()), start);
}

}  // namespace

int PanelReverseBearing(int bearing) { return bearing <= 180 ? bearing + 180 : bearing - 180; }

Position GridCentre(std::string_view locator) {
    const Corner corner = SquareCorner(locator);
    if (locator.size() < 6) return {corner.south + 0.5, corner.west + 1.0};
    const int e = Upper(locator[4]) - 'A', f = Upper(locator[5]) - 'A';
    return {corner.south + (f + 0.5) * 2.5 / 60.0, corner.west + (e + 0.5) * 5.0 / 60.0};
}

WindowCentre PlacesWindowCentre(std::string_view locator) {
    const Corner corner = SquareCorner(locator);
    return {corner.south * 10 + 5, corner.west * 10 + 10};
}

PlacesNearby FindPlacesNearby(const PlacesList& places, std::string_view locator) {
    PlacesNearby nearby;
    if (places.empty()) return nearby;
    const WindowCentre centre = PlacesWindowCentre(locator);
    for (int widen = 0; widen <= 10; ++widen) {
        nearby.scans = widen + 1;
        for (const std::uint32_t i : places.EntriesInWindow(centre.lat10 - widen, centre.lat10 + widen,
                                                            centre.lon10 - widen, centre.lon10 + widen)) {
            const std::string_view entry = places[i];
            nearby.country = std::string(TrimBlanks(ExtractFieldView(entry, ',', 3)));
            const std::string_view name = TrimBlanks(ExtractFieldView(entry, ',', 4));
            if (name.empty()) continue;
            const bool listed = std::any_of(nearby.names.begin(), nearby.names.end(),
                                            [&](const std::string& n) { return SameTextNoCase(n, name); });
            if (!listed) nearby.names.emplace_back(name);
        }
        if (nearby.names.size() >= 5) {
            nearby.found = true;
            break;
        }
    }
    return nearby;
}

std::optional<GridInfo> LookupGrid(std::string_view text, std::string_view homeGrid,
                                   const LogLines* somePlaces, const PlacesList& places) {
    text = TrimBlanks(text);
    if (text.empty()) return std::nullopt;
    GridInfo info;
    if (!IsLocator(text)) {
        info.locator = "Not a grid locator: " + std::string(text);
        return info;
    }
    info.locator = UpperCase(text);

    // Bearing and distance are measured to the point the whole program uses for a locator.
    PositionText texts;
    LocatorToPosition(info.locator, texts);
    const Position centre = GridCentre(info.locator);
    info.centre = "Lat: " + Fixed2(centre.latitude) + "    Long: " + Fixed2(centre.longitude) + " (centre)";
    const BearingText measured = BearingDistance(homeGrid, texts.latitude, texts.longitude);
    // The operator's own square: no direction to it.
    const bool home = measured.distance == "0 KM";
    if (!home)
        info.bearingNumber = std::string(TrimBlanks(std::string_view(measured.bearing).substr(0, measured.bearing.find(' '))));
    info.bearing = "Bearing: " + (home ? std::string("-") : measured.bearing) + " Distance: " + measured.distance;
    info.from = "(from " + std::string(homeGrid) + ")";
    int bearing = 0;
    const auto [end, error] = std::from_chars(info.bearingNumber.data(),
                                              info.bearingNumber.data() + info.bearingNumber.size(), bearing);
    info.reverse = "Rev: ";
    if (error == std::errc() && end == info.bearingNumber.data() + info.bearingNumber.size())
        info.reverse += std::to_string(PanelReverseBearing(bearing));

    std::string country;
    std::size_t listed = 0;
    if (somePlaces) {
        LogLines matching;
        for (const std::string_view line : *somePlaces)
            if (BeginsWithNoCase(ExtractFieldView(line, ',', 1), info.locator)) matching.push_back(line);
        for (const std::string_view line : SortedUniqueNoCase(std::move(matching))) {
            if (country.empty()) country = std::string(ExtractFieldView(line, ',', 2));
            info.places.push_back(std::string(ExtractFieldView(line, ',', 1)) + " # " +
                                  std::string(ExtractFieldView(line, ',', 2)) + " # " +
                                  std::string(ExtractFieldView(line, ',', 3)));
        }
        listed = info.places.size();
        if (listed < 2) info.places.push_back("No data found");
        info.placesVisible = true;
    } else if (!places.empty()) {
        PlacesNearby nearby = FindPlacesNearby(places, info.locator);
        if (!nearby.found) {
            info.startTimer = false;
            return info;
        }
        country = std::move(nearby.country);
        info.places = std::move(nearby.names);
        listed = info.places.size();
    }
    if (listed >= 2) {
        info.country = "Country: " + country;
        info.placesVisible = true;
    }
    return info;
}

}  // namespace vantrel
