// The calibration of each world-map image and the projection of a position onto it.
#pragma once

#include <array>
#include <string_view>

namespace vantrel {

// All coordinates in pixels of the image itself, x to the right, y downwards.
struct MapProfile {
    std::string_view file;
    int width = 0, height = 0;
    int scalePercent = 0;  // shown size before the window is laid out
    int yEquator = 0;
    int xLongitude0 = 0;
    int y45North = 0, y45South = 0;
    int x180East = 0, x180West = 0;

    double PixelsPerDegreeLongitude() const { return (x180East - x180West) / 360.0; }
    double PixelsPerDegreeLatitude() const { return (y45South - y45North) / 90.0; }
    // Picture pixels of a position (north and east positive), before truncation.
    double X(double longitude) const { return xLongitude0 + longitude * PixelsPerDegreeLongitude(); }
    double Y(double latitude) const { return yEquator - latitude * PixelsPerDegreeLatitude(); }
};

// In the order they are tried: the first whose file is found is used.
inline constexpr std::array<MapProfile, 3> kMapProfiles{{
    {"world1723x1307.png", 1723, 1307, 33, 660, 860, 380, 940, 1723, 0},
    {"world964x464.png", 964, 464, 70, 241, 481, 119, 363, 962, 0},
    {"world600x300.png", 600, 300, 70, 150, 300, 75, 225, 600, 0},
}};

}  // namespace vantrel
