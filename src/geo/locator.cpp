#include "geo/locator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace vantrel {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// A whole-degree corner below zero moves 1° towards zero.
double CornerTowardsZero(int degrees) { return degrees < 0 ? degrees + 1 : degrees; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view t) {
    while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
    while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
    return t;
}

bool ParseNumber(std::string_view text, double& value) {
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

}  // namespace

Position LocatorToPosition(std::string_view locator) {
    if (locator.size() < 4) return {};
    const int a = Upper(locator[0]) - 'A', b = Upper(locator[1]) - 'A';
    const int c = locator[2] - '0', d = locator[3] - '0';
    const int west = -180 + 20 * a + 2 * c, south = -90 + 10 * b + d;
    if (locator.size() < 6) return {CornerTowardsZero(south), CornerTowardsZero(west)};
    // Within a square the subsquare's own south-west corner: moving the square's corner first
    // would put a subsquare near the east or north edge outside its square.
    const int e = Upper(locator[4]) - 'A', f = Upper(locator[5]) - 'A';
    return {south + f * 2.5 / 60.0, west + e * 5.0 / 60.0};
}

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", value + 0.0);
    std::string text(buffer);
    if (text == "-0") text = "0";
    return text;
}

bool LocatorToPosition(std::string_view locator, PositionText& texts) {
    if (locator.size() < 4) return false;
    const Position p = LocatorToPosition(locator);
    texts.latitude = NumberText(p.latitude);
    texts.longitude = NumberText(p.longitude);
    return true;
}

std::string PositionToLocator(double latitude, double longitude) {
    if (!std::isfinite(latitude)) latitude = 0;
    if (!std::isfinite(longitude)) longitude = 0;
    latitude = std::clamp(latitude, -90.0, 90.0);
    longitude = std::clamp(longitude, -180.0, 180.0);
    static constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    // The digits come from the remainder in degrees: (x - i) * 10 would turn a corner such as
    // latitude 42 into 1.999... and name the square below it. A part in 10^9 of a step absorbs
    // the rounding of positions computed from locators.
    const int i = std::min(static_cast<int>((longitude + 180) / 20 + 1e-9), 18);
    const int j = std::min(static_cast<int>((latitude + 90) / 10 + 1e-9), 18);
    const int k = std::clamp(static_cast<int>((longitude + 180 - 20.0 * i) / 2 + 1e-9), 0, 9);
    const int l = std::clamp(static_cast<int>(latitude + 90 - 10.0 * j + 1e-9), 0, 9);
    return {kLetters[i], kLetters[j], static_cast<char>('0' + k), static_cast<char>('0' + l)};
}

bool IsLocator(std::string_view text) {
    std::size_t from = 0, to = text.size();
    while (from < to && text[from] == ' ') ++from;
    while (to > from && text[to - 1] == ' ') --to;
    text = text.substr(from, to - from);
    if (text.size() != 4 && text.size() != 6) return false;
    const auto letter = [](char c, char last) {
        const char u = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        return u >= 'A' && u <= last;
    };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!letter(text[0], 'R') || !letter(text[1], 'R') || !digit(text[2]) || !digit(text[3])) return false;
    return text.size() == 4 || (letter(text[4], 'X') && letter(text[5], 'X'));
}

bool IsNumberText(std::string_view text) {
    text = TrimBlanks(text);
    if (text.empty()) return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-';
    });
}

BearingKm GreatCircle::To(Position target) const {
    constexpr double k = 0.017453292519943295;
    constexpr double pi = std::numbers::pi;
    const auto sgn = [](double v) { return v < 0 ? -1.0 : 1.0; };
    double lat0 = home_.latitude;
    const double lat1 = target.latitude;
    if (lat0 == 0 && lat1 == 0) lat0 = 0.00001;
    const double w0 = -home_.longitude, w1 = -target.longitude;
    const double l0 = w0 >= 0.0001 ? (360 - w0) * k : -w0 * k;
    const double l1 = w1 >= 0.0001 ? (360 - w1) * k : -w1 * k;
    const double p0 = lat0 * k, p1 = lat1 * k;
    double d = l0 - l1 + 0.0001;
    if (d < 0) d += 2 * pi;
    // Rounding can push the cosine just past ±1: the arc cosine is taken of the clamped value
    // (for arguments within ±1 it equals the arc-tangent form the bearing has always used).
    const double c = std::clamp(std::sin(p0) * std::sin(p1) + std::cos(p0) * std::cos(p1) * std::cos(d),
                                -1.0, 1.0);
    const double theta = std::acos(c);
    const double denominator = std::sin(theta) * std::cos(p0);
    double a = 0;
    // At home, at the antipode or at a pole the direction is undefined: bearing 0.
    if (std::fabs(denominator) > 1e-12) {
        const double x = (std::sin(p1) - std::sin(p0) * c) / denominator;
        a = x < -0.9999999 ? pi : std::acos(std::min(x, 1.0));
    }
    a = sgn(d - pi) * sgn(pi - theta) * a;
    if (a < 0) a += 2 * pi;
    BearingKm result;
    result.bearing = static_cast<int>(a / k + 0.5);
    result.km = static_cast<int>(kEarthRadiusKm * theta + 0.5);
    return result;
}

BearingText BearingDistance(std::string_view homeLocator, std::string_view latitudeText,
                            std::string_view longitudeText) {
    Position target;
    if (!ParseNumber(latitudeText, target.latitude) || !ParseNumber(longitudeText, target.longitude))
        return {};
    const BearingKm r = GreatCircle(homeLocator).To(target);
    return {std::to_string(r.bearing) + " deg", std::to_string(r.km) + " KM"};
}

int ReverseBearing(std::string_view bearingText) {
    const std::size_t blank = bearingText.find(' ');
    const std::string_view number = TrimBlanks(bearingText.substr(0, blank));
    int n = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), n);
    if (number.empty() || error != std::errc() || end != number.data() + number.size()) return -1;
    return ReverseBearing(n);
}

}  // namespace vantrel
