#include "journal/log_entry_maker.h"
#include "journal/journal_search.h"
#include "log/extract_field.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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

// The log line's fields, counted from 1.
std::string Field(const LogEntry& entry, int n) { return std::string(ExtractFieldView(entry.line, ',', n)); }

// The operator answers K1ABC's CQ: the grid is the one of K1ABC's CQ, not the operator's own;
// the start is the operator's first call, the end 13 s after the operator's 73 went out.
TEST(LogEntryMaker, OperatorAnsweringACq) {
    Rows rows;
    rows.Add("210412_123400", "Rx", "1234", "CQ K1ABC FN42")
        .Add("210412_123400", "Rx", "800", "CQ DX DL1XX JO62")  // another station's CQ
        .Add("210412_123415", "Tx", "1500", "K1ABC W9XYZ EN37")
        .Add("210412_123430", "Rx", "1234", "W9XYZ K1ABC -12")
        .Add("210412_123445", "Tx", "1500", "K1ABC W9XYZ R-08")
        .Add("210412_123500", "Rx", "1234", "W9XYZ K1ABC RR73")
        .Add("210412_123515", "Tx", "1500", "K1ABC W9XYZ 73");
    const LogEntry entry = MakeLogEntryLine(rows.Get(), kStation);
    EXPECT_EQ(entry.line,
              "2021-04-12,12:34:15,2021-04-12,12:35:28,K1ABC,FN42,14.0755,FT8,-08,-12,,"
              "FT8  Sent: -08  Rcvd: -12,,W9XYZ,EN37,IC-7300,Dipole 20 m,");
    EXPECT_EQ(entry.note, "");
    EXPECT_EQ(std::count(entry.line.begin(), entry.line.end(), ','), 17);
}

// The operator calls CQ and IW7SYW answers: sent -09, received R-17 (read as -17); the end is
// 13 s after the operator's RR73, their 73 after it changes nothing.
TEST(LogEntryMaker, OperatorCallingCq) {
    Rows rows;
    rows.Add("251220_145400", "Tx", "1700", "CQ W9XYZ EN37")
        .Add("251220_145415", "Rx", "2707", "W9XYZ IW7SYW JN62")
        .Add("251220_145430", "Tx", "1700", "IW7SYW W9XYZ -09")
        .Add("251220_145445", "Rx", "2707", "W9XYZ IW7SYW R-17")
        .Add("251220_145500", "Tx", "1700", "IW7SYW W9XYZ RR73")
        .Add("251220_145515", "Rx", "2707", "W9XYZ IW7SYW 73");
    const LogEntry entry = MakeLogEntryLine(rows.Get(), kStation);
    const std::vector<std::string> expected = {"2025-12-20", "14:54:15", "2025-12-20", "14:55:13", "IW7SYW",
                                               "JN62",       "14.0757",  "FT8",        "-09",      "-17"};
    for (int n = 1; n <= 10; ++n) EXPECT_EQ(Field(entry, n), expected[n - 1]) << "field " << n;
    EXPECT_EQ(Field(entry, 12), "FT8  Sent: -09  Rcvd: -17");
}

TEST(LogEntryMaker, EndingsRr73RrrAnd73) {
    const auto end = [](Rows rows) {
        const LogEntry entry = MakeLogEntryLine(rows.Get(), kStation);
        return Field(entry, 3) + " " + Field(entry, 4);
    };
    const auto contact = [] {
        Rows rows;
        rows.Add("261231_235900", "Rx", "900", "W9XYZ K1ABC -10").Add("261231_235915", "Tx", "1500", "K1ABC W9XYZ R-08");
        return rows;
    };
    // The operator's RR73, over the year's end; their 73 after it is not the end.
    EXPECT_EQ(end(contact().Add("261231_235950", "Tx", "1500", "K1ABC W9XYZ RR73")
                      .Add("270101_000005", "Rx", "900", "W9XYZ K1ABC 73")),
              "2027-01-01 00:00:03");
    // The operator's RRR, then a 73: the last of them.
    EXPECT_EQ(end(contact().Add("261231_235930", "Tx", "1500", "K1ABC W9XYZ RRR")
                      .Add("261231_235945", "Tx", "1500", "K1ABC W9XYZ 73")),
              "2026-12-31 23:59:58");
    // Only their RR73: its own time.
    EXPECT_EQ(end(contact().Add("261231_235930", "Rx", "900", "W9XYZ K1ABC RR73")), "2026-12-31 23:59:30");
    // No ending yet: the last row of the contact.
    EXPECT_EQ(end(contact()), "2026-12-31 23:59:15");
}

TEST(LogEntryMaker, WhatIsMissingIsSaid) {
    // One row of the contact: no report sent yet, no line.
    auto entry = MakeLogEntryLine(Rows().Add("251220_145445", "Rx", "2707", "W9XYZ IW7SYW R-17").Get(), kStation);
    EXPECT_EQ(entry.line, "");
    EXPECT_EQ(entry.note, "No report sent to IW7SYW in the selection");
    entry = MakeLogEntryLine(Rows().Add("251220_145430", "Tx", "1700", "IW7SYW W9XYZ -09").Get(), kStation);
    EXPECT_EQ(entry.note, "No report from IW7SYW in the selection");
    entry = MakeLogEntryLine(Rows().Add("251220_145400", "Rx", "1700", "CQ IW7SYW JN62").Add("251220_145415", "Rx", "1", "").Get(),
                             kStation);
    EXPECT_EQ(entry.note, "No message from or to W9XYZ in the selection");
    EXPECT_EQ(MakeLogEntryLine({}, kStation).note, "No message from or to W9XYZ in the selection");
    // Rows sent as W9XYZ/P are not the operator's: nothing is made of them.
    entry = MakeLogEntryLine(Rows().Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ/P R-08")
                                 .Add("210412_120015", "Rx", "900", "W9XYZ/P K1ABC RR73").Get(), kStation);
    EXPECT_EQ(entry.line, "");
    EXPECT_EQ(MakeLogEntryLine(Rows().Add("210412_120000", "Tx", "1500", "K1ABC W9XYZ 73").Get(), StationDetails{}).line,
              "");
}

TEST(LogEntryMaker, TakesTheFirstTenRows) {
    Rows rows;
    rows.Add("210412_120000", "Rx", "900", "W9XYZ K1ABC -05");
    for (int i = 0; i < 9; ++i) rows.Add("210412_120100", "Tx", "1500", "K1ABC W9XYZ R-08");
    rows.Add("210412_120200", "Rx", "900", "W9XYZ K1ABC RR73");  // the 11th row: not taken
    const LogEntry entry = MakeLogEntryLine(rows.Get(), kStation);
    EXPECT_EQ(Field(entry, 4), "12:01:00");
}

// The demo station's FT8 contacts: the rows the journal search lists for the call, around the
// contact's time, make the line WSJT-X logged.
TEST(LogEntryMaker, DemoStationContactsAsWsjtxLoggedThem) {
    const std::filesystem::path demo = std::filesystem::path(VANTREL_SOURCE_DIR) / "data/demo/WSJT-X";
    const std::string log = test::ReadFile(demo / "wsjtx.log");
    const auto seconds = [](std::string_view date, std::string_view time) {
        const auto n = [](std::string_view t) { return std::stoll(std::string(t)); };
        return ((n(date.substr(2, 2)) * 13 + n(date.substr(5, 2))) * 32 + n(date.substr(8, 2))) * 86400 +
               n(time.substr(0, 2)) * 3600 + n(time.substr(3, 2)) * 60 + n(time.substr(6, 2));
    };
    int checked = 0;
    for (std::string_view logged : SplitPieces(log, '\n')) {
        if (ExtractFieldView(logged, ',', 8) != "FT8") continue;
        const std::string call(ExtractFieldView(logged, ',', 5));
        const JournalSearch search = SearchJournalFile(demo / "ALL.TXT", JournalSearchText(call));
        ASSERT_TRUE(search.matches);
        const long long on = seconds(ExtractFieldView(logged, ',', 1), ExtractFieldView(logged, ',', 2));
        const long long off = seconds(ExtractFieldView(logged, ',', 3), ExtractFieldView(logged, ',', 4));
        std::vector<JournalLine> rows;
        for (std::size_t i = 0; i < search.matches->size(); ++i) {
            const JournalLine row = search.matches->Row(i);
            const std::string stamp(row.date);
            const long long at = seconds("20" + stamp.substr(0, 2) + "-" + stamp.substr(2, 2) + "-" + stamp.substr(4, 2),
                                         stamp.substr(7, 2) + ":" + stamp.substr(9, 2) + ":" + stamp.substr(11, 2));
            if (at >= on - 15 && at <= off + 2) rows.push_back(row);
        }
        if (rows.size() < 4) continue;  // the journal does not hold this contact
        const LogEntry entry = MakeLogEntryLine(rows, StationDetails{"W9XYZ", "EN37", "", ""});
        ASSERT_EQ(entry.note, "") << logged;
        for (int n : {1, 2, 3, 4, 5, 8, 9, 10})
            EXPECT_EQ(Field(entry, n), ExtractFieldView(logged, ',', static_cast<std::uint8_t>(n))) << n << ": " << logged;
        // The journal holds the square; the log may add the subsquare.
        EXPECT_EQ(Field(entry, 6), ExtractFieldView(logged, ',', 6).substr(0, 4)) << logged;
        EXPECT_DOUBLE_EQ(std::stod(Field(entry, 7)), std::stod(std::string(ExtractFieldView(logged, ',', 7)))) << logged;
        ++checked;
    }
    EXPECT_GE(checked, 12);
    RecordProperty("contacts_checked", checked);
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
