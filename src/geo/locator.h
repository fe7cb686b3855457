// Maidenhead locators, positions and the great-circle bearing and distance from the operator's
// own square. Latitude and longitude in degrees, north and east positive; bearings in whole
// degrees clockwise from true north, distances in whole kilometres.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

inline constexpr double kEarthRadiusKm = 6356.775;

struct Position {
    double latitude = 0;
    double longitude = 0;
};

// The point of the named square that the whole program uses (the map's label corner, the
// bearings of the search, the details panel, the places lookup and the home position). For 4
// characters: the whole-degree south-west corner, a corner coordinate below zero moved 1° towards
// zero (FN42 gives 42, -71; JN58 gives 48, 10). For 6 or more characters: the south-west corner
// of the subsquare (characters after the sixth are ignored). Letter case does not matter; fewer
// than 4 characters give 0, 0; 5 characters read as the first 4.
Position LocatorToPosition(std::string_view locator);

struct PositionText {
    std::string latitude, longitude;
};
// The same point as number texts (NumberText). A locator shorter than 4 characters leaves the
// texts unchanged and returns false.
bool LocatorToPosition(std::string_view locator, PositionText& texts);

// General decimal text: up to 15 significant digits, no trailing zeros, "." as decimal point
// ("42", "-71", "152.083333333333"). Never "-0".
std::string NumberText(double value);

// The 4-character locator of a position. Positions outside the globe are clamped to its edge
// (longitude 180 gives the field letter S).
std::string PositionToLocator(double latitude, double longitude);

// A Maidenhead locator of 4 or 6 characters, letter case ignored: two field letters A-R, two
// digits, and optionally two subsquare letters A-X ("JO62", "jo62qm"). Blanks around it are allowed.
bool IsLocator(std::string_view text);

// Trimmed of blanks, not empty and only "0123456789.+-".
bool IsNumberText(std::string_view text);

struct BearingKm {
    int bearing = 0;  // 0 to 360
    int km = 0;
};

// The great circle from one fixed home position, computed once, to many targets: a few
// floating-point operations per target and no allocation. The results are those of the
// formulas the program has always used (an east-positive longitude as given, the home latitude
// moved to 0.00001 when both points lie on the equator); points at home, at its antipode or
// almost due north give finite results, never NaN.
class GreatCircle {
public:
    explicit GreatCircle(Position home) : home_(home) {}
    explicit GreatCircle(std::string_view homeLocator) : home_(LocatorToPosition(homeLocator)) {}
    BearingKm To(Position target) const;
    const Position& Home() const { return home_; }

private:
    Position home_;
};

struct BearingText {
    std::string bearing;   // "90 deg"; empty when a target text is not a number
    std::string distance;  // "1109 KM"
};

// From the position of the home locator to the position given as number texts.
BearingText BearingDistance(std::string_view homeLocator, std::string_view latitudeText,
                            std::string_view longitudeText);

// The reverse of a bearing text ("90 deg" gives 270; 360 gives 180); -1 when the text does not
// begin with a whole number.
int ReverseBearing(std::string_view bearingText);
inline int ReverseBearing(int bearing) { return bearing + 180 < 360 ? bearing + 180 : bearing - 180; }

}  // namespace vantrel
