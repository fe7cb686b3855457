#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "journal/audit_part.h"
#include "journal/journal_audit.h"
#include "journal/journal_reader.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

// "260101_100000    14.074 Rx FT8    -10  0.1 1500 MESSAGE", in the columns WSJT-X writes.
std::string Row(const char* stamp, const char* mhz, const char* direction, const char* mode, const char* message) {
    char line[160];
    std::snprintf(line, sizeof line, "%s %9s %s %-4s%6s%5s%5s %s\n", stamp, mhz, direction, mode, "-10",
                  "0.1", "1500", message);
    return line;
}

// The operator K1ABC: five completed exchanges (a CQ answered and ended by their RR73, a CQ
// called and ended by the operator's RR73 after their R-report, an RRR and a 73 ending on 40 m,
// a hashed call on 15 m FT4) and one broken off without an ending.
std::string HandMadeJournal() {
    std::string j;
    j += Row("260101_100000", "14.074", "Rx", "FT8", "CQ DL1AAA JO62");
    j += Row("260101_100015", "14.074", "Tx", "FT8", "DL1AAA K1ABC FN42");
    j += Row("260101_100030", "14.074", "Rx", "FT8", "K1ABC DL1AAA -12");
    j += Row("260101_100045", "14.074", "Tx", "FT8", "DL1AAA K1ABC R-08");
    j += Row("260101_100100", "14.074", "Rx", "FT8", "K1ABC DL1AAA RR73");
    j += Row("260101_100115", "14.074", "Tx", "FT8", "DL1AAA K1ABC 73");
    j += Row("260101_101000", "14.074", "Tx", "FT8", "CQ K1ABC FN42");
    j += Row("260101_101015", "14.074", "Rx", "FT8", "K1ABC G4BBB IO91");
    j += Row("260101_101030", "14.074", "Tx", "FT8", "G4BBB K1ABC -05");
    j += Row("260101_101045", "14.074", "Rx", "FT8", "K1ABC G4BBB R-11");
    j += Row("260101_101100", "14.074", "Tx", "FT8", "G4BBB K1ABC RR73");
    j += Row("260101_102000", "7.074", "Tx", "FT8", "JA1CCC K1ABC FN42");
    j += Row("260101_102015", "7.074", "Rx", "FT8", "K1ABC JA1CCC -15");
    j += Row("260101_102030", "7.074", "Tx", "FT8", "JA1CCC K1ABC R-03");
    j += Row("260101_102045", "7.074", "Rx", "FT8", "K1ABC JA1CCC RRR");
    j += Row("260101_103000", "7.074", "Tx", "FT8", "F5DDD K1ABC FN42");
    j += Row("260101_103015", "7.074", "Rx", "FT8", "K1ABC F5DDD -10");
    j += Row("260101_103030", "7.074", "Tx", "FT8", "F5DDD K1ABC R-10");
    j += Row("260101_103045", "7.074", "Rx", "FT8", "K1ABC F5DDD 73");
    j += Row("260101_104000", "7.074", "Tx", "FT8", "VK2EEE K1ABC FN42");
    j += Row("260101_104015", "7.074", "Rx", "FT8", "K1ABC VK2EEE -20");
    j += Row("260101_104030", "7.074", "Tx", "FT8", "VK2EEE K1ABC R-15");
    j += Row("260101_105000", "21.140", "Tx", "FT4", "<PJ4/K9FFF> K1ABC FN42");
    j += Row("260101_105007", "21.140", "Rx", "FT4", "K1ABC <PJ4/K9FFF> -13");
    j += Row("260101_105015", "21.140", "Tx", "FT4", "<PJ4/K9FFF> K1ABC R-02");
    j += Row("260101_105022", "21.140", "Rx", "FT4", "K1ABC <...> RR73");
    return j;
}

const StationDetails kStation{"K1ABC", "FN42", {}, {}};

// The journal read from a file as the audit reads it; with `grownAt`, first up to that line and
// then, after the rest was appended, from where the first read ended (a refresh).
ExchangeFinder Read(const std::filesystem::path& file, const std::string& journal,
                    std::size_t grownAt = std::string::npos) {
    ExchangeFinder finder(kStation);
    std::uint64_t end = 0;
    std::string error;
    test::WriteFile(file, journal.substr(0, grownAt));
    EXPECT_TRUE(ReadJournalForAudit(file, finder, nullptr, &error, 0, &end)) << error;
    if (grownAt != std::string::npos) {
        test::WriteFile(file, journal);
        EXPECT_TRUE(ReadJournalForAudit(file, finder, nullptr, &error, end, &end)) << error;
    }
    EXPECT_EQ(end, journal.size());
    return finder;
}

TEST(JournalAuditTest, HandMadeJournalGivesExactlyTheThreeLists) {
    test::TempFolder folder;
    const std::string journal = HandMadeJournal();
    const ExchangeFinder finder = Read(folder / "all.txt", journal);
    ASSERT_EQ(finder.Exchanges().size(), 5u);  // the broken-off one does not count
    const AuditExchange& first = finder.Exchanges()[0];
    EXPECT_EQ(first.call, "DL1AAA");
    EXPECT_EQ(first.grid, "JO62");  // from their CQ before the operator answered
    EXPECT_EQ(first.reportSent, "-08");
    EXPECT_EQ(first.reportReceived, "-12");
    JournalReader reader;
    ASSERT_TRUE(reader.Open(folder / "all.txt"));
    EXPECT_EQ(AuditLogLine(reader, first, kStation),
              "2026-01-01,10:00:15,2026-01-01,10:01:28,DL1AAA,JO62,14.0755,FT8,-08,-12,,FT8  Sent: -08  Rcvd: -12,,"
              "K1ABC,FN42,,,");
    EXPECT_EQ(finder.Exchanges()[4].call, "PJ4/K9FFF");
    EXPECT_EQ(finder.Exchanges()[4].mode, "FT4");

    const std::vector<std::string_view> log = {
        "2026-01-01,10:00:15,2026-01-01,10:01:15,DL1AAA,JO62,14.075500,FT8,-08,-12,100,,,K1ABC,FN42,,,",
        "2026-01-01,10:01:20,2026-01-01,10:01:20,dl1aaa,JO62,14.075500,FT8,-08,-12,100,,,K1ABC,FN42,,,",
        "2026-01-01,10:30:00,2026-01-01,10:30:45,F5DDD,,7.075500,FT8,-10,-10,100,,,K1ABC,FN42,,,",
        "2026-01-01,10:40:00,2026-01-01,10:40:30,VK2EEE,,7.075500,FT8,-15,-20,100,,,K1ABC,FN42,,,",
        "2026-01-01,10:45:00,2026-01-01,10:45:30,W1ZZZ,,7.075500,FT8,-15,-20,100,,,K1ABC,FN42,,,",
        "2025-06-01,10:45:00,2025-06-01,10:45:30,W2YYY,,7.075500,FT8,-15,-20,100,,,K1ABC,FN42,,,",
    };
    const AuditResult result = AuditLog(finder, log);
    std::vector<std::string> missing;
    for (const AuditExchange* exchange : result.notLogged) missing.push_back(exchange->call);
    EXPECT_EQ(missing, (std::vector<std::string>{"G4BBB", "JA1CCC", "PJ4/K9FFF"}));
    ASSERT_EQ(result.twice.size(), 1u);
    EXPECT_EQ(result.twice[0].first, log[0]);
    // W2YYY lies outside the journal's span; VK2EEE left a trace though the exchange broke off.
    EXPECT_EQ(result.withoutTrace, (std::vector<std::string>{std::string(log[4])}));
    EXPECT_EQ(AuditSummary(result),
              "Journal 2026-01-01 \xE2\x80\xA6 2026-01-01: 5 exchanges, 2 in the log, 3 not logged, 1 twice, "
              "1 without a trace");

    // From 10:20 on only the later exchanges and log lines count.
    const AuditResult later = AuditLog(finder, log, JournalStampSeconds("260101_102000"));
    EXPECT_EQ(later.exchanges, 3u);
    EXPECT_EQ(later.notLogged.size(), 2u);
    EXPECT_TRUE(later.twice.empty());

    // Read in two pieces (a refresh after the journal grew), the finder finds the same.
    const ExchangeFinder pieces = Read(folder / "grown.txt", journal, journal.find("260101_102030"));
    ASSERT_EQ(pieces.Exchanges().size(), finder.Exchanges().size());
    for (std::size_t i = 0; i < pieces.Exchanges().size(); ++i) {
        EXPECT_EQ(pieces.Exchanges()[i].call, finder.Exchanges()[i].call);
        EXPECT_EQ(pieces.Exchanges()[i].end, finder.Exchanges()[i].end);
    }
}

// The part behind the "Journal audit" window, on real files, without a window.
class RecordingAuditView : public AuditView {
public:
    void ShowAuditLists(const AuditLists& shown) override { lists = shown; }
    void ShowAuditProgress(const std::string& text) override { progress = text; }
    void ConfirmAddToLog(const std::string& line) override { confirm = line; }
    void ShowAuditMessage(const std::string& text) override { message = text; }
    AuditLists lists;
    std::string progress, confirm, message;
};

TEST(JournalAuditTest, PartListsAddsToTheLogAndFollowsTheJournal) {
    test::TempFolder folder;
    const std::string journal = HandMadeJournal();
    test::WriteFile(folder / "all.txt", journal);
    RecordingAuditView view;
    std::vector<std::string> log = {
        "2026-01-01,10:00:15,2026-01-01,10:01:28,DL1AAA,JO62,14.075500,FT8,-08,-12,100,,,K1ABC,FN42,,,"};
    int appended = 0;
    AuditPart part(AuditPartServices{
                       view, [] { return kStation; },
                       [&] { return std::make_shared<const LogLines>(log); },
                       [&](const std::string& line, std::string*) {
                           log.push_back(line);
                           ++appended;
                           return true;
                       },
                       {}},
                   folder.path());
    part.Open();
    ASSERT_EQ(view.lists.notLogged.size(), 4u) << view.lists.summary;
    EXPECT_EQ(view.lists.notLogged[0], (AuditRow{"2026-01-01", "10:10:15", "20m", "FT8", "G4BBB", "IO91", "-05", "-11"}));

    part.AddToLog(0);
    EXPECT_TRUE(view.confirm.starts_with("2026-01-01,10:10:15,2026-01-01,10:11:13,G4BBB,IO91,14.0755,FT8,-05,-11,"))
        << view.confirm;
    part.AddConfirmed(view.confirm);
    EXPECT_EQ(appended, 1);
    EXPECT_EQ(view.lists.notLogged.size(), 3u);
    EXPECT_EQ(view.lists.notLogged[0][4], "JA1CCC");

    // A contact completed later shows once the journal copy has it and the refresh comes round.
    test::WriteFile(folder / "all.txt", journal + Row("260101_110000", "14.074", "Tx", "FT8", "ON4GGG K1ABC FN42") +
                                            Row("260101_110015", "14.074", "Rx", "FT8", "K1ABC ON4GGG -01") +
                                            Row("260101_110030", "14.074", "Tx", "FT8", "ON4GGG K1ABC R-02") +
                                            Row("260101_110045", "14.074", "Rx", "FT8", "K1ABC ON4GGG RR73"));
    for (int tick = 0; tick < AuditPart::kRefreshSeconds; ++tick) part.Tick();
    ASSERT_EQ(view.lists.notLogged.size(), 4u);
    EXPECT_EQ(view.lists.notLogged[3][4], "ON4GGG");

    // A journal replaced by a shorter one is read whole again.
    test::WriteFile(folder / "all.txt", HandMadeJournal().substr(0, journal.find("260101_101000")));
    for (int tick = 0; tick < AuditPart::kRefreshSeconds; ++tick) part.Tick();
    EXPECT_TRUE(view.lists.notLogged.empty()) << view.lists.summary;
    // G4BBB, added above, now lies past the journal's end: not listed as without a trace.
    EXPECT_EQ(view.lists.summary.substr(view.lists.summary.find(':')),
              ": 1 exchange, 1 in the log, 0 not logged, 0 twice, 0 without a trace");
}

TEST(JournalAuditTest, StampsAndDates) {
    EXPECT_EQ(JournalStampSeconds("000101_000000"), 946684800);
    EXPECT_EQ(JournalStampSeconds("240229_235959"), JournalStampSeconds("240301_000000") - 1);
    EXPECT_EQ(JournalStampSeconds("241301_000000"), -1);
    EXPECT_EQ(JournalStampSeconds("240101_1200"), JournalStampSeconds("240101_120000"));
    EXPECT_EQ(AuditDate(JournalStampSeconds("261209_235959")), "2026-12-09");
}

}  // namespace
}  // namespace vantrel
