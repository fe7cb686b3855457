#include "journal/log_entry_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// Rows as the search panel cuts them from journal lines (views into this object).
class Rows {
public:
    Rows& Add(std::string_view stamp, std::string_view direction, std::string_view offset,
              std::string_view message) {
        std::string line = std::string(stamp) + "    14.074 " + std::string(direction) + " FT8    -10  0.1 ";
        line += std::string(4 - std::min<std::size_t>(4, offset.size()), ' ') + std::string(offset) + " ";
        line += message;
        forms_.push_back(JournalSearchForm(line));
        return *this;
    }
    std::vector<JournalLine> Get() const {
        std::vector<JournalLine> rows;
        for (const std::string& form : forms_) rows.push_back(CutJournalLine(form));
        return rows;
    }

private:
    std::vector<std::string> forms_;
};

const StationDetails kStation{"W9XYZ", "EN37", "IC-7300", "Dipole 20 m"};

TEST(LogEntryMaker, FrequencyAndStampArithmetic) {
    EXPECT_EQ(LoggedFrequencyText("14.074", "1234"), "14.075234");
    EXPECT_EQ(LoggedFrequencyText("7.074", "0"), "7.074");
    EXPECT_EQ(LoggedFrequencyText("50.313", "2500"), "50.3155");
    EXPECT_EQ(LoggedFrequencyText("1296.174", "750"), "1296.17475");
    EXPECT_EQ(LoggedFrequencyText("", "1234"), std::nullopt);
    EXPECT_EQ(LoggedFrequencyText("14.074", "12a"), std::nullopt);
    EXPECT_EQ(JournalStampToLogDateTime("210412_123445"), "2021-04-12,12:34:45");
    EXPECT_EQ(JournalStampToLogDateTime("261208_1203"), "2026-12-08,12:03:");
    EXPECT_EQ(JournalStampToLogDateTime(""), "20--,::");
}

// The operator answers a CQ and completes the contact: the lower of the two locator rows gives
// the grid and the start, the report row keeps that start, the last "73" the end; frequency,
// offset and mode from the operator's rows.
TEST(LogEntryMaker, WholeContactGivesTheSeventeenFieldLine) {
    Rows rows;
    rows.Add("210412_123400", "Rx", "1234", "CQ K1ABC FN42")
        .Add("210412_123415", "Tx", "1500", "K1ABC W9XYZ EN37")
        .Add("210412_123430", "Rx", "1234", "W9XYZ K1ABC -12")
        .Add("210412_123445", "Tx", "1500", "K1ABC W9XYZ R-08")
        .Add("210412_123500", "Rx", "1234", "W9XYZ K1ABC RR73")
        .Add("210412_123515", "Tx", "1500", "K1ABC W9XYZ 73");
    const LogEntry entry = MakeLogEntryLine(rows.Get(), kStation);
    EXPECT_EQ(entry.line,
              "2021-04-12,12:34:15,2021-04-12,12:35:15,K1ABC,EN37,14.0755,FT8,-08,-12,,"
              "FT8  Sent: -08  Rcvd: -12,,W9XYZ,EN37,IC-7300,Dipole 20 m,");
    EXPECT_EQ(entry.note, "");
    // Seventeen fields, each followed by a comma.
    EXPECT_EQ(std::count(entry.line.begin(), entry.line.end(), ','), 17);
    EXPECT_EQ(entry.line.back(), ',');
}

TEST(LogEntryMaker, EndStampRules) {
    // The last "73" wins over an earlier "RR73"...
    auto line = MakeLogEntryLine(Rows()
                                     .Add("210412_120000", "Rx", "900", "W9XYZ K1ABC RR73")
                                     .Add("210412_120015", "Tx", "1500", "K1ABC W9XYZ 73")
                                     .Get(),
                                 kStation).line;
    EXPECT_EQ(line.substr(0, 40), "20--,::,2021-04-12,12:00:15,K1ABC,,14.07");
    // ...and an "RR73" row of 4 characters sets the end even after a "73".
    line = MakeLogEntryLine(Rows()
                                .Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ 73")
                                .Add("210412_120015", "Tx", "1500", "K1ABC W9XYZ RR73")
                                .Get(),
                            kStation).line;
    EXPECT_EQ(line.substr(0, 27), "20--,::,2021-04-12,12:00:15");
    // "RRR" sets only a missing end.
    line = MakeLogEntryLine(Rows()
                                .Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ RRR")
                                .Add("210412_120015", "Tx", "1500", "K1ABC W9XYZ RRR")
                                .Get(),
                            kStation).line;
    EXPECT_EQ(line.substr(0, 27), "20--,::,2021-04-12,12:00:00");
}

TEST(LogEntryMaker, NoLineWhenTheOperatorDidNotSendTheLastRowOrNoFrequency) {
    // The last row with a message came from the other station; an empty message is skipped.
    auto entry = MakeLogEntryLine(Rows()
                                      .Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ R-08")
                                      .Add("210412_120015", "Rx", "900", "W9XYZ K1ABC RR73")
                                      .Add("210412_120030", "Rx", "900", "")
                                      .Get(),
                                  kStation);
    EXPECT_EQ(entry.line, "");
    EXPECT_EQ(entry.note, "");
    // Sent as W9XYZ/P: the operator's callsign is in the sender word but no row was sent with
    // exactly that callsign, so there is no frequency: the note says so, nothing fails.
    entry = MakeLogEntryLine(Rows().Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ/P 73").Get(), kStation);
    EXPECT_EQ(entry.line, "");
    EXPECT_EQ(entry.note, "No line sent by W9XYZ in the selection");
    EXPECT_EQ(MakeLogEntryLine({}, kStation).line, "");
    EXPECT_EQ(MakeLogEntryLine(Rows().Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ 73").Get(),
                               StationDetails{}).line, "");
}

TEST(LogEntryMaker, TakesTheFirstTenRows) {
    Rows rows;
    rows.Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ EN37");
    for (int i = 0; i < 9; ++i) rows.Add("210412_120100", "Tx", "1500", "K1ABC W9XYZ R-08");
    rows.Add("210412_120200", "Rx", "900", "W9XYZ K1ABC 73");  // the 11th row: not taken
    const std::string line = MakeLogEntryLine(rows.Get(), kStation).line;
    EXPECT_EQ(line.substr(0, 42), "2021-04-12,12:00:00,20--,::,K1ABC,EN37,14.");
}

TEST(LogEntryMaker, AddToLogRefusesALineBreak) {
    std::string reason;
    EXPECT_TRUE(ValidLogEntryLine("2021-04-12,12:34:15,2021-04-12,12:35:15,K1ABC,EN37,,", &reason));
    EXPECT_FALSE(ValidLogEntryLine("2021-04-12,12:34:15\n2021-04-12,12:35:15,K1ABC", &reason));
    EXPECT_NE(reason.find("line break"), std::string::npos);
    EXPECT_FALSE(ValidLogEntryLine("a,b\r", &reason));
    EXPECT_FALSE(ValidLogEntryLine("   ", &reason));
}

}  // namespace
}  // namespace vantrel
