#include "log/band_table.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(BandFromFrequency, OnlyTheWholeMegahertzCounts) {
    EXPECT_EQ(BandFromFrequency("7.074"), "40m");
    EXPECT_EQ(BandFromFrequency("7.999"), "40m");
    EXPECT_EQ(BandFromFrequency("14.075500"), "20m");
    EXPECT_EQ(BandFromFrequency("50.313"), "6m");
    EXPECT_EQ(BandFromFrequency("0.475"), "630m");
    EXPECT_EQ(BandFromFrequency("144.174753"), "2m");
    EXPECT_EQ(BandFromFrequency("2.5"), "0");
    EXPECT_EQ(BandFromFrequency("5"), "60m");  // no "." at all: the whole text
}

TEST(BandFromFrequency, RangesIncludeBothEnds) {
    for (auto [mhz, band] : {std::pair{"28.0", "10m"}, {"30.9", "10m"}, {"27.9", "0"}, {"31.0", "0"},
                             {"49.0", "6m"}, {"60.0", "6m"}, {"61.0", "0"}, {"1200.1", "23cm"},
                             {"1390.0", "23cm"}, {"10000.0", "3cm"}, {"10500.0", "3cm"}, {"10501.0", "0"}})
        EXPECT_EQ(BandFromFrequency(mhz), band) << mhz;
}

TEST(BandFromFrequency, TextsWithoutAWholeNumberGiveZero) {
    for (const char* text : {"", ".074", "abc", "14a.074", "-7.0", "99999999999999999999999.1"})
        EXPECT_EQ(BandFromFrequency(text), "0") << text;
}

}  // namespace
}  // namespace vantrel
