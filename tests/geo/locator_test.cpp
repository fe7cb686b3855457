#include "geo/locator.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vantrel {
namespace {

TEST(LocatorTest, SquareCornerMovedTowardsZeroBelowZero) {
    EXPECT_DOUBLE_EQ(LocatorToPosition("FN42").latitude, 42);
    EXPECT_DOUBLE_EQ(LocatorToPosition("FN42").longitude, -71);
    EXPECT_DOUBLE_EQ(LocatorToPosition("JN58").latitude, 48);
    EXPECT_DOUBLE_EQ(LocatorToPosition("JN58").longitude, 10);
    EXPECT_DOUBLE_EQ(LocatorToPosition("QF56").latitude, -33);  // square -34 .. -33
    PositionText t;
    ASSERT_TRUE(LocatorToPosition("fn42", t));
    EXPECT_EQ(t.latitude, "42");
    EXPECT_EQ(t.longitude, "-71");
}

TEST(LocatorTest, CaseShortAndLongLocators) {
    const Position upper = LocatorToPosition("JO62QM"), lower = LocatorToPosition("jo62qm");
    EXPECT_EQ(upper.latitude, lower.latitude);
    EXPECT_EQ(upper.longitude, lower.longitude);
    EXPECT_EQ(LocatorToPosition("JO62QMXX").longitude, upper.longitude);
    EXPECT_EQ(LocatorToPosition("FN4").latitude, 0);
    EXPECT_EQ(LocatorToPosition("FN4").longitude, 0);
    PositionText t{"old", "texts"};
    EXPECT_FALSE(LocatorToPosition("FN", t));
    EXPECT_EQ(t.latitude, "old");
    // Subsquare: whole multiples of 5' and 2.5' from the square's corner.
    EXPECT_EQ(NumberText(LocatorToPosition("QF66BA").longitude), "152.083333333333");
}

TEST(LocatorTest, SixCharactersStayInTheirSquareBothWays) {
    for (const char* grid : {"FN42AA", "FN42XX", "QF56XX", "GG66MM", "AA00AA", "RR99XX", "JO62QM"}) {
        const Position p = LocatorToPosition(grid);
        EXPECT_EQ(PositionToLocator(p.latitude, p.longitude), std::string(grid).substr(0, 4)) << grid;
    }
    for (const char* grid : {"FN42", "JN58", "EN37", "JO62", "RR89"}) {
        const Position p = LocatorToPosition(grid);
        EXPECT_EQ(PositionToLocator(p.latitude, p.longitude), grid);
    }
}

TEST(LocatorTest, PositionToLocatorEdges) {
    EXPECT_EQ(PositionToLocator(0, 180), "SJ00");
    EXPECT_EQ(PositionToLocator(90, -180), "AS00");
    EXPECT_EQ(PositionToLocator(500, -999).size(), 4u);
    EXPECT_EQ(PositionToLocator(std::nan(""), 0), "JJ00");
}

TEST(LocatorTest, OnlyMaidenheadLocatorsAreLocators) {
    for (const char* yes : {"JO62", "jo62", "AA00", "RR99", "JO62QM", "jo62qm", "RR99XX", " FN42 "})
        EXPECT_TRUE(IsLocator(yes)) << yes;
    for (const char* no : {"", "JO6", "JO62Q", "JO62QMA", "ZZ99", "SA00", "1234", "HELLO", "JO62YA", "J062",
                           "JOAB", "JO 62", "JO62QM12"})
        EXPECT_FALSE(IsLocator(no)) << no;
}

TEST(LocatorTest, NumberTextRule) {
    EXPECT_FALSE(IsNumberText(""));
    EXPECT_FALSE(IsNumberText("   "));
    EXPECT_TRUE(IsNumberText("  -12.5 "));
    EXPECT_TRUE(IsNumberText("1-2"));
    EXPECT_TRUE(IsNumberText("."));
    EXPECT_FALSE(IsNumberText("12,5"));
    EXPECT_EQ(NumberText(-0.0), "0");
}

TEST(BearingTest, EmptyHomeToTenEast) {
    const BearingText bd = BearingDistance("", "0", "10");
    EXPECT_EQ(bd.bearing, "90 deg");
    EXPECT_EQ(bd.distance, "1109 KM");
    EXPECT_EQ(ReverseBearing(bd.bearing), 270);
    // Westwards along the equator: the home latitude moved off 0 still gives a clean 270.
    EXPECT_EQ(BearingDistance("", "0", "-10").bearing, "270 deg");
}

TEST(BearingTest, DueSouthAndNorth) {
    EXPECT_EQ(BearingDistance("FN42", "0", "-71").bearing, "180 deg");
    const BearingKm north = GreatCircle("FN42").To({80, -71});
    EXPECT_TRUE(north.bearing == 0 || north.bearing == 360) << north.bearing;
    EXPECT_EQ(north.km, static_cast<int>(kEarthRadiusKm * 38 * 0.017453292519943295 + 0.5));
}

TEST(BearingTest, DegenerateTargetsGiveFiniteResults) {
    const GreatCircle home("FN42");
    const BearingKm here = home.To(home.Home());
    EXPECT_EQ(here.km, 0);
    EXPECT_GE(here.bearing, 0);
    EXPECT_LE(here.bearing, 360);
    const BearingKm antipode = home.To({-42, 109});
    EXPECT_EQ(antipode.km, static_cast<int>(kEarthRadiusKm * 3.141592653589793 + 0.5));
    EXPECT_GE(antipode.bearing, 0);
    EXPECT_LE(antipode.bearing, 360);
    const BearingKm pole = GreatCircle(Position{90, 0}).To({10, 20});
    EXPECT_GE(pole.bearing, 0);
    EXPECT_LE(pole.bearing, 360);
    EXPECT_TRUE(BearingDistance("FN42", "north", "1").bearing.empty());
}

TEST(BearingTest, ReverseBearings) {
    EXPECT_EQ(ReverseBearing("360 deg"), 180);
    EXPECT_EQ(ReverseBearing("179 deg"), 359);
    EXPECT_EQ(ReverseBearing("180 deg"), 0);
    EXPECT_EQ(ReverseBearing("deg"), -1);
}

}  // namespace
}  // namespace vantrel
