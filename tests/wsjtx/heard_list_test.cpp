#include "wsjtx/heard_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "geo/country_file.h"
#include "log/local_log_record.h"
#include "support/temp_folder.h"
#include "support/wsjtx_writer.h"

namespace vantrel {
namespace {

CountryTable RealCountryTable() {
    const std::string cty = test::ReadFile(test::TestDataFolder() / "cty" / "cty-wsjtx-2.6.1.dat");
    return CountryTable(SortedCountryLines(ParseCountryFile(cty)));
}

std::string Line(const char* date, const char* call, const char* freq, const char* mode) {
    return std::string(date) + ",12:00:00," + date + ",12:01:00," + call + ",," + freq + "," + mode +
           ",-10,-12,100,,,QQ0XYZ,FN20,,,";
}

TEST(DecodedStation, CqCallersAndStationsCallingTheOperator) {
    struct Case {
        const char* message;
        const char* call;
        const char* grid;
        HeardRole role;
    };
    const Case named[] = {
        {"CQ K1ABC FN42", "K1ABC", "FN42", HeardRole::CqCaller},
        {"CQ DX PA9XYZ JO22", "PA9XYZ", "JO22", HeardRole::CqCaller},
        {"CQ POTA K1ABC/P", "K1ABC/P", "", HeardRole::CqCaller},
        {"CQ 290 K1ABC FN42", "K1ABC", "FN42", HeardRole::CqCaller},
        {"QRZ QZ2AB", "QZ2AB", "", HeardRole::CqCaller},
        {"CQ WA9XYZ EN37                      ? a1", "WA9XYZ", "EN37", HeardRole::CqCaller},
        {"CQ K1ABC RR73", "K1ABC", "", HeardRole::CqCaller},
        {"QQ0XYZ QZ5XY", "QZ5XY", "", HeardRole::CallingOperator},
        {"<QQ0XYZ> G4ABC IO91", "G4ABC", "IO91", HeardRole::CallingOperator},
        {"qq0xyz <G4ABC> -12", "G4ABC", "", HeardRole::CallingOperator},
    };
    for (const Case& c : named) {
        const auto station = StationInMessage(c.message, "QQ0XYZ");
        ASSERT_TRUE(station.has_value()) << c.message;
        EXPECT_EQ(station->call, c.call) << c.message;
        EXPECT_EQ(station->grid, c.grid) << c.message;
        EXPECT_EQ(station->role, c.role) << c.message;
    }
    for (const char* nobody : {"K1ABC W9XYZ R-08", "TNX BOB 73 GL", "QZ2AB <...> RR73", "CQ DX", "CQ",
                               "QQ0XYZ <...> RR73", "K1ABC W9XYZ EN37                      q0", ""})
        EXPECT_FALSE(StationInMessage(nobody, "QQ0XYZ").has_value()) << nobody;
    EXPECT_FALSE(StationInMessage("QQ0XYZ QZ5XY", "").has_value());
}

TEST(WorkedIndex, StatusByCountryBandModeAndStationFollowsTheLog) {
    VANTREL_REQUIRE_TESTDATA();
    const auto table = std::make_shared<const CountryTable>(RealCountryTable());
    LogLines log{Line("2026-12-01", "K1ABC", "14.074", "FT8"), Line("2026-12-05", "K1ABC", "7.074", "FT8"),
                 Line("2026-11-30", "W1AW", "14.080", "FT4"), Line("2026-10-01", "G4ABC", "14.074", "FT8"),
                 ""};
    WorkedIndex index(table);
    index.CatchUp(log);
    EXPECT_EQ(index.Contacts(), 4u);
    const auto status = [&](const char* call, const char* band, const char* mode) {
        return index.Status(call, band, mode);
    };
    EXPECT_EQ(status("DL1ABC", "20m", "FT8").kind, WorkedKind::NewCountry);
    EXPECT_EQ(status("G4XYZ", "40m", "FT8").kind, WorkedKind::NewOnBand);
    EXPECT_EQ(status("G4XYZ", "20m", "FT4").kind, WorkedKind::NewOnMode);
    EXPECT_EQ(status("G4XYZ", "20m", "ft8").kind, WorkedKind::NotWorked);
    const WorkedStatus k1abc = status("k1abc", "20m", "FT8");
    EXPECT_EQ(k1abc.kind, WorkedKind::WorkedBefore);
    EXPECT_EQ(k1abc.count, 2u);
    EXPECT_EQ(k1abc.lastDate, "2026-12-05");
    EXPECT_EQ(WorkedStatusText(k1abc), "Worked 2 times, last 2026-12-05");
    const WorkedStatus otherBand = status("K1ABC", "17m", "FT8");  // the USA never on 17 m
    EXPECT_EQ(otherBand.kind, WorkedKind::NewOnBand);
    EXPECT_EQ(otherBand.count, 2u);

    // An appended contact counts at once; a rewritten log is read again.
    log.push_back(Line("2026-12-08", "DL1ABC", "14.074", "FT8"));
    index.CatchUp(log);
    EXPECT_EQ(status("DL1ABC", "20m", "FT8").kind, WorkedKind::WorkedBefore);
    EXPECT_EQ(WorkedStatusText(status("DL1ABC", "20m", "FT8")), "Worked once, 2026-12-08");
    EXPECT_EQ(status("DL2XYZ", "20m", "FT8").kind, WorkedKind::NotWorked);
    log.Set(0, Line("2026-12-01", "PA9XYZ", "14.074", "FT8"));
    index.CatchUp(log);
    EXPECT_EQ(status("K1ABC", "20m", "FT8").count, 1u);
    EXPECT_EQ(status("PA9XYZ", "20m", "FT8").kind, WorkedKind::WorkedBefore);

    // Without a country table only the station's own contacts count.
    WorkedIndex plain;
    plain.CatchUp(log);
    EXPECT_EQ(plain.Status("DL9ZZZ", "20m", "FT8").kind, WorkedKind::NotWorked);
    EXPECT_EQ(plain.Status("DL1ABC", "80m", "CW").kind, WorkedKind::WorkedBefore);
}

// Feeds the real session to the list in the order WSJT-X sent it, from the datagram `from` (the
// first when empty) up to `stop`, which is left out. The requests a listener sent are not fed.
void FeedSession(HeardList& heard, const std::string& from, const std::string& stop) {
    const auto folder = test::TestDataFolder() / "wsjtx-2.6.1" / "protocol";
    std::istringstream listing(test::ReadFile(folder / "messages.txt"));
    std::string line;
    bool feeding = from.empty();
    while (std::getline(listing, line)) {
        if (line.rfind("=== ", 0) != 0) continue;
        const std::string file = line.substr(4);
        if (file == stop) return;
        feeding = feeding || file == from;
        if (!feeding || file.rfind("sent_", 0) == 0) continue;
        const wsjtx::Datagram d = wsjtx::ReadDatagram(test::ReadFile(folder / file));
        if (const auto* status = std::get_if<wsjtx::Status>(&d.message)) heard.OnStatus(*status);
        if (const auto* decode = std::get_if<wsjtx::Decode>(&d.message)) heard.OnDecode(*decode);
        if (std::holds_alternative<wsjtx::Clear>(d.message)) heard.Clear();
    }
}

std::string Calls(const HeardList& heard) {
    std::string calls;
    for (const HeardRow& row : heard.Rows()) calls += (calls.empty() ? "" : " ") + row.call;
    return calls;
}

TEST(HeardList, RealSessionKeepsTwoPeriodsNewestFirstWithStatusesThatFollowTheLog) {
    VANTREL_REQUIRE_TESTDATA();
    const auto table = std::make_shared<const CountryTable>(RealCountryTable());
    LogLines log{Line("2026-12-01", "K1ABC", "14.074", "FT8"), Line("2026-10-01", "G4ABC", "7.074", "FT8")};
    WorkedIndex index(table);
    index.CatchUp(log);
    HeardList heard(table, &index);
    heard.SetOwnStation("QQ0XYZ", "JO62");  // the Status messages bring FN20

    FeedSession(heard, "", "decode_16_CQ_TEST_K1ABC_FN42.bin");
    EXPECT_EQ(heard.Band(), "20m");
    EXPECT_EQ(Calls(heard), "WA9XYZ KA1ABC QZ5XY G4ABC QZ2AB PA9XYZ K1ABC");
    const auto row = [&](const std::string& call) {
        for (const HeardRow& r : heard.Rows())
            if (r.call == call) return r;
        ADD_FAILURE() << call;
        return HeardRow{};
    };
    EXPECT_EQ(row("WA9XYZ").message, "CQ WA9XYZ EN37");
    EXPECT_EQ(row("QZ5XY").role, HeardRole::CallingOperator);
    EXPECT_EQ(row("QZ5XY").periodMs, 44115000u);  // its second call, in the second period
    EXPECT_EQ(row("KA1ABC").message, "CQ KA1ABC FN42");
    EXPECT_EQ(row("K1ABC").status.kind, WorkedKind::WorkedBefore);
    EXPECT_EQ(row("K1ABC").status.count, 1u);
    EXPECT_EQ(row("PA9XYZ").status.kind, WorkedKind::NewCountry);
    EXPECT_EQ(row("G4ABC").status.kind, WorkedKind::NewOnBand);
    EXPECT_EQ(row("KA1ABC").status.kind, WorkedKind::NotWorked);
    EXPECT_EQ(row("PA9XYZ").country, table->Lookup("PA9XYZ").country);
    EXPECT_FALSE(row("PA9XYZ").country.empty());
    // From FN20: to FN42 by its grid; to a station without a grid by its country; none without either.
    ASSERT_TRUE(row("K1ABC").bearing.has_value());
    EXPECT_TRUE(row("K1ABC").bearingFromGrid);
    const BearingKm k1abc = GreatCircle("FN20").To(LocatorToPosition("FN42"));
    EXPECT_EQ(row("K1ABC").bearing->km, k1abc.km);
    EXPECT_EQ(row("K1ABC").bearing->bearing, k1abc.bearing);
    EXPECT_GT(row("PA9XYZ").bearing->km, 5000);
    EXPECT_EQ(row("QZ2AB").country.empty(), !row("QZ2AB").bearing.has_value());

    // The log grows: only the rows whose status changed are reported.
    log.push_back(Line("2026-12-08", "PA9XYZ", "14.074", "FT8"));
    index.CatchUp(log);
    const std::vector<std::size_t> changed = heard.Refresh();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(heard.Rows()[changed[0]].call, "PA9XYZ");
    EXPECT_EQ(heard.Rows()[changed[0]].status.kind, WorkedKind::WorkedBefore);
    EXPECT_TRUE(heard.Refresh().empty());

    // The next periods drop the oldest; the FT4 period is checked against FT4.
    HeardList later(table, &index);
    FeedSession(later, "", "decode_20_K1ABC_W9XYZ_EN37_q0.bin");
    EXPECT_EQ(Calls(later), "QZ3FT K1ABC WA9XYZ KA1ABC QZ5XY");
    EXPECT_EQ(later.Rows()[0].role, HeardRole::CqCaller);  // QZ3FT called CQ after calling us
    EXPECT_EQ(later.Rows()[1].mode, "FT4");
    EXPECT_EQ(later.Rows()[1].status.kind, WorkedKind::NewOnMode);
    // The Q65 decode names nobody but starts a period.
    FeedSession(later, "decode_20_K1ABC_W9XYZ_EN37_q0.bin", "clear_01.bin");
    EXPECT_EQ(Calls(later), "QZ3FT K1ABC");
    FeedSession(later, "clear_01.bin", "close_01.bin");
    EXPECT_TRUE(later.Rows().empty());
}

TEST(HeardList, ReplaysRepeatsAndOlderPeriodsAddNothing) {
    WorkedIndex index;
    HeardList heard(nullptr, &index);
    heard.SetOwnStation("QQ0XYZ", "FN20");
    wsjtx::Decode decode;
    decode.isNew = true;
    decode.timeMs = 86385000;  // 23:59:45
    decode.message = "CQ K1ABC FN42";
    EXPECT_TRUE(heard.OnDecode(decode));
    EXPECT_FALSE(heard.OnDecode(decode));  // a second decoding pass of the same period
    decode.isNew = false;
    decode.message = "CQ W9XYZ EN37";
    EXPECT_FALSE(heard.OnDecode(decode));  // replayed at another listener's request
    decode.isNew = true;
    decode.timeMs = 0;  // midnight: the next period
    EXPECT_TRUE(heard.OnDecode(decode));
    decode.timeMs = 86370000;  // older than both kept periods
    decode.message = "CQ G4ABC IO91";
    EXPECT_FALSE(heard.OnDecode(decode));
    EXPECT_EQ(Calls(heard), "W9XYZ K1ABC");
    EXPECT_EQ(heard.Rows()[0].mode, "");  // neither a Status nor a known mode mark
    decode.mode = "~";
    decode.timeMs = 15000;
    decode.message = "CQ G4ABC IO91";
    EXPECT_TRUE(heard.OnDecode(decode));
    EXPECT_EQ(Calls(heard), "G4ABC W9XYZ");
    EXPECT_EQ(heard.Rows()[0].mode, "FT8");
}

}  // namespace
}  // namespace vantrel
