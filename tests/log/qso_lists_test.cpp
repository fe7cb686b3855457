#include "log/qso_lists.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

std::string Line(std::string_view date, std::string_view call, std::string_view frequency = "14.074") {
    return std::string(date) + ",10:15:00," + std::string(date) + ",10:16:30," + std::string(call) +
           ",FN42," + std::string(frequency) + ",FT8,-10,-12,100,,,QQ0XYZ,JO62QM,IC-7300,Dipole,";
}

// Lines whose callsign is their position: C0, C1, ...
LogLines Numbered(std::size_t count, std::size_t sameDateFrom = 0) {
    LogLines log;
    for (std::size_t i = 0; i < count; ++i) {
        std::string call = "C";
        call += std::to_string(i);
        log.push_back(Line(i >= sameDateFrom ? "2024-03-05" : "2024-03-04", call));
    }
    return log;
}

TEST(QsoLists, LastFiftyCountsAtTheBoundaries) {
    const QsoList ten = ShowLast50(Numbered(10));
    EXPECT_EQ(ten.title, "Last 50 QSOs, in reverse order");
    ASSERT_EQ(ten.lines.size(), 10u);  // every contact of a short log, the oldest too
    EXPECT_EQ(ten.lines.front().text, "[\u20071]\tC9, FT8, 14.074, 2024-03-05, 10:15:00");
    EXPECT_EQ(ten.lines[8].text, "[\u20079]\tC1, FT8, 14.074, 2024-03-05, 10:15:00");
    EXPECT_EQ(ten.lines.back().text, "[10]\tC0, FT8, 14.074, 2024-03-05, 10:15:00");
    EXPECT_EQ(ten.lines[0].colour, 1);
    EXPECT_EQ(ten.lines[1].colour, 2);
    EXPECT_EQ(ten.lines[2].colour, 3);
    EXPECT_EQ(ten.lines[3].colour, 1);

    EXPECT_EQ(ShowLast50(Numbered(50)).lines.size(), 50u);
    const QsoList full = ShowLast50(Numbered(51));
    ASSERT_EQ(full.lines.size(), 50u);
    EXPECT_TRUE(full.lines.back().text.starts_with("[50]\tC1,"));
    EXPECT_EQ(ShowLast50(Numbered(1000)).lines.size(), 50u);
    EXPECT_TRUE(ShowLast50(Numbered(0)).lines.empty());
    EXPECT_EQ(ShowLast50(Numbered(1)).lines.size(), 1u);
}

TEST(QsoLists, TodayExaminesAtMostOneHundredLines) {
    const QsoList today = ShowLastUtcDay(Numbered(300, 150));
    EXPECT_EQ(today.title, "Last UTC day QSOs list (max of 100, coloured by band used)");
    ASSERT_EQ(today.lines.size(), 100u);
    EXPECT_EQ(today.lines.front().text, "[    1 ]   C299, FT8, 14.074, 2024-03-05, 10:15:00");
    EXPECT_EQ(today.lines.back().text, "[  100 ]   C200, FT8, 14.074, 2024-03-05, 10:15:00");

    // Lines of other days are skipped but still count towards the hundred examined.
    EXPECT_EQ(ShowLastUtcDay(Numbered(300, 250)).lines.size(), 50u);
    // A short log: every line but the first.
    EXPECT_EQ(ShowLastUtcDay(Numbered(5)).lines.size(), 4u);
    EXPECT_EQ(ShowLastUtcDay(Numbered(101)).lines.size(), 100u);
    EXPECT_TRUE(ShowLastUtcDay(Numbered(1)).lines.empty());
    EXPECT_TRUE(ShowLastUtcDay(LogLines{}).lines.empty());
}

TEST(QsoLists, TodayColoursByBandCarryingOverUnknownFrequencies) {
    LogLines log;
    log.push_back(Line("2024-03-05", "FIRST", "14.074"));        // never examined
    log.push_back(Line("2024-03-05", "SIXM", "50.313"));
    log.push_back(Line("2024-03-05", "UNKNOWN", "7074"));        // no point: keeps the colour in force
    log.push_back(Line("2024-03-04", "OTHERDAY", "144.174"));    // not shown, but sets Colour12
    log.push_back(Line("2024-03-05", "ODD", "2.5"));             // "2" is not listed either
    log.push_back(Line("2024-03-05", "TWENTY", " 14.074 "));
    const QsoList today = ShowLastUtcDay(log);
    ASSERT_EQ(today.lines.size(), 4u);
    EXPECT_EQ(today.lines[0], (ColouredLine{"[    1 ]   TWENTY, FT8, 14.074, 2024-03-05, 10:15:00", 6}));
    EXPECT_EQ(today.lines[1], (ColouredLine{"[    2 ]   ODD, FT8, 2.5, 2024-03-05, 10:15:00", 6}));
    EXPECT_EQ(today.lines[2], (ColouredLine{"[    3 ]   UNKNOWN, FT8, 7074, 2024-03-05, 10:15:00", 12}));
    EXPECT_EQ(today.lines[3].colour, 11);

    // The first line examined starts from Colour1.
    LogLines plain;
    plain.push_back(Line("2024-03-05", "A", "1"));
    plain.push_back(Line("2024-03-05", "B", "999.1"));
    EXPECT_EQ(ShowLastUtcDay(plain).lines.at(0).colour, 1);

    EXPECT_EQ(BandColour("1296", 4), 3);
    EXPECT_EQ(BandColour("0", 4), 11);
    EXPECT_EQ(BandColour("007", 4), 4);
}

TEST(QsoLists, SliderAndAutoShowText) {
    const std::string last = Line("2024-03-05", " QZ9ZZ ");
    EXPECT_EQ(AutoShowSearchText(last, 4), "QZ9Z\r");
    EXPECT_EQ(AutoShowSearchText(last, 6), "QZ9ZZ\r");
    EXPECT_EQ(AutoShowSearchText("", 4), "\r");
    EXPECT_EQ(StepSlider(2, -1), 2);
    EXPECT_EQ(StepSlider(5, 1), 6);
    EXPECT_EQ(StepSlider(6, 1), 6);
    EXPECT_EQ(SliderLabel(StepSlider(3, -1)), "2ch");
}

}  // namespace
}  // namespace vantrel
