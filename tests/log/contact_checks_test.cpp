#include "log/contact_checks.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(ContactChecks, CalendarClockSpectrumAndCallsigns) {
    EXPECT_TRUE(IsCalendarDate("2024-02-29"));
    EXPECT_TRUE(IsCalendarDate("2000-02-29"));
    EXPECT_FALSE(IsCalendarDate("2100-02-29"));
    EXPECT_FALSE(IsCalendarDate("2026-04-31"));
    EXPECT_FALSE(IsCalendarDate("1929-12-31"));
    EXPECT_TRUE(IsTimeOfDay("23:59:59"));
    EXPECT_FALSE(IsTimeOfDay("24:00:00"));
    EXPECT_FALSE(IsTimeOfDay("12:00"));
    for (const char* good : {"0.4757", "14.074", "10368.100", "144"}) EXPECT_TRUE(IsRadioFrequency(good)) << good;
    for (const char* bad : {"0", "0.000", "14.", ".5", "14.07.4", "-14.074", "1e3", "10501", "14,074"})
        EXPECT_FALSE(IsRadioFrequency(bad)) << bad;
    for (const char* good : {"K1A", "VK2/QZ9ZZ/P", "3DA0XYZ"}) EXPECT_TRUE(IsCallsign(good)) << good;
    for (const char* bad : {"K1", "KAB", "123", "K1-ABC", "K1 AB", "K1ABCDEFGHIJKLMNOPQRS"})
        EXPECT_FALSE(IsCallsign(bad)) << bad;
}

TEST(ContactChecks, FreeTextIsCutOnACharacterBoundary) {
    const std::string utf8 = std::string(254, 'a') + "\xC3\xA9" + "b";  // é straddles the limit
    EXPECT_EQ(CapFreeText(utf8), std::string(254, 'a'));
    const std::string latin1 = std::string(254, 'a') + "\xE9\xE9";  // Latin-1: cut by bytes
    EXPECT_EQ(CapFreeText(latin1).size(), 255u);
    EXPECT_EQ(CapFreeText("short"), "short");
}

}  // namespace
}  // namespace vantrel
