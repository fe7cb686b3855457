// The shipped world maps against the calibration the program projects with: real places fall
// on land, open ocean on sea.
#include <gtest/gtest.h>

#include "map/map_profile.h"
#include "map/png_loader.h"

namespace vantrel {
namespace {

const std::filesystem::path kShippedMaps = std::filesystem::path(VANTREL_SOURCE_DIR) / "data/maps";

TEST(MapProjection, CalibrationOfTheExampleMaps) {
    const MapProfile& small = kMapProfiles[2];
    EXPECT_EQ(small.file, "world600x300.png");
    EXPECT_DOUBLE_EQ(small.X(0), 300);
    EXPECT_DOUBLE_EQ(small.Y(0), 150);
    EXPECT_DOUBLE_EQ(small.X(-90), 150);
    EXPECT_DOUBLE_EQ(small.Y(45), 75);

    const MapProfile& large = kMapProfiles[0];
    EXPECT_EQ(large.file, "world1723x1307.png");
    EXPECT_DOUBLE_EQ(large.X(0), 860);
    EXPECT_DOUBLE_EQ(large.Y(-45), 940);
    // 860 + 180 * 1723 / 360: the formula, not the 1723 of the calibration table.
    EXPECT_DOUBLE_EQ(large.X(180), 1721.5);
    EXPECT_DOUBLE_EQ(large.X(-180), -1.5);

    const MapProfile& middle = kMapProfiles[1];
    EXPECT_DOUBLE_EQ(middle.X(180), 962);
    EXPECT_DOUBLE_EQ(middle.Y(45), 119);
}

struct Place {
    const char* name;
    double latitude, longitude;
};

// Inland places, well away from any coast at the scale of the smallest map.
constexpr Place kCities[] = {
    {"Madrid", 40.42, -3.70},        {"Paris", 48.86, 2.35},          {"Berlin", 52.52, 13.40},
    {"Moscow", 55.76, 37.62},        {"Cairo", 30.04, 31.24},         {"Nairobi", -1.29, 36.82},
    {"Johannesburg", -26.20, 28.05}, {"Kinshasa", -4.32, 15.31},      {"Tehran", 35.69, 51.39},
    {"Delhi", 28.61, 77.21},         {"Almaty", 43.24, 76.95},        {"Ulaanbaatar", 47.89, 106.91},
    {"Beijing", 39.90, 116.41},      {"Novosibirsk", 55.03, 82.92},   {"Denver", 39.74, -104.99},
    {"Mexico City", 19.43, -99.13},  {"Winnipeg", 49.90, -97.14},     {"Brasilia", -15.79, -47.88},
    {"La Paz", -16.49, -68.12},      {"Alice Springs", -23.70, 133.88},
};
constexpr Place kOceans[] = {
    {"North Atlantic", 30, -40}, {"South Atlantic", -30, -15}, {"Pacific", 0, -150},
    {"Indian Ocean", -25, 80},   {"Tasman Sea", -40, 160},     {"North Pacific", 40, 170},
};

TEST(MapRegistration, WellKnownPlacesFallOnLandOfEveryShippedMap) {
    for (const MapProfile& profile : kMapProfiles) {
        SCOPED_TRACE(std::string(profile.file));
        Picture picture;
        std::string error;
        ASSERT_TRUE(LoadPngBitmap(kShippedMaps / profile.file, picture, &error)) << error;
        ASSERT_EQ(picture.width, profile.width);
        ASSERT_EQ(picture.height, profile.height);

        // The sea colour is what open ocean shows; land is anything else but the margin.
        const Bgr sea = picture.At(static_cast<int>(profile.X(-30)) + 2, static_cast<int>(profile.Y(-45)) + 2);
        const Bgr seaGraticule = picture.At(static_cast<int>(profile.X(-40)), static_cast<int>(profile.Y(-45)) + 2);
        ASSERT_NE(sea, seaGraticule);
        const auto at = [&](const Place& place) {
            return picture.At(static_cast<int>(profile.X(place.longitude)), static_cast<int>(profile.Y(place.latitude)));
        };
        for (const Place& ocean : kOceans) EXPECT_TRUE(at(ocean) == sea || at(ocean) == seaGraticule) << ocean.name;
        for (const Place& city : kCities) {
            const Bgr pixel = at(city);
            EXPECT_NE(pixel, sea) << city.name;
            EXPECT_NE(pixel, seaGraticule) << city.name;
        }
        // Longitudes past 180 degrees wrap round: the last column shows the map's left edge.
        if (profile.X(180) < profile.width - 1) {
            const int y = static_cast<int>(profile.Y(67.5));  // Chukotka reaches past 180 degrees
            EXPECT_NE(picture.At(profile.width - 1, y), sea);
        }
        // Rows beyond the poles are margin, neither sea nor land.
        if (profile.Y(90) >= 1) {
            const Bgr margin = picture.At(profile.width / 2, 0);
            EXPECT_NE(margin, sea);
            EXPECT_EQ(margin.r, margin.g);
            EXPECT_EQ(margin.g, margin.b);
        }
    }
}

}  // namespace
}  // namespace vantrel
