#include "base/time_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(TimeText, FixedFormsOfOneMoment) {
    const LocalTime t{2026, 12, 7, 14, 23, 5, 42};
    EXPECT_EQ(FormatDdMmmYy(t), "07Dec26");
    EXPECT_EQ(FormatDdMmmYyyy(t), "07Dec2026");
    EXPECT_EQ(FormatDdMmYyyy(t), "07122026");
    EXPECT_EQ(FormatHhnnssZzz(t), "142305.042");
    EXPECT_EQ(FormatDateTimeText(t), "2026-12-07 14:23:05");
}

TEST(TimeText, DateTimeTextReadsBackExactly) {
    const LocalTime t{2025, 1, 31, 0, 0, 59, 0};
    const auto back = ParseDateTimeText(FormatDateTimeText(t));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(FormatDateTimeText(*back), "2025-01-31 00:00:59");
    const auto moment = FromLocalTime(t);
    EXPECT_EQ(FormatDateTimeText(ToLocalTime(moment)), "2025-01-31 00:00:59");
}

TEST(TimeText, UnreadableDateTimeTextsAreRejected) {
    for (const char* bad : {"", "07/12/2026 14:23:05", "2026-13-01 00:00:00", "2026-12-07",
                            "2026-12-07 14:23:05x", "yesterday"})
        EXPECT_FALSE(ParseDateTimeText(bad).has_value()) << bad;
}

}  // namespace
}  // namespace vantrel
