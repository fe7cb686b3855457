// The journal tools on a running station: the search from "Places/call search:" with "ALL.TXT"
// ticked, a contact that only the journal holds made into a log line and added to the log (and
// then found, listed and exported like any other), the automatic refresh, the recent activity.
#include <gtest/gtest.h>

#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string Line(int minute, int second, std::string_view direction, std::string_view mode, std::string_view message) {
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "261208_12%02d%02d", minute, second);
    return std::string(stamp) + "    14.074 " + std::string(direction) + " " + std::string(mode) + "    -10  0.1 1234 " +
           std::string(message) + "\n";
}

// The contact with K7ABC, which WSJT-X never logged, among lines the search must pass over.
std::string Journal() {
    return Line(0, 0, "Rx", "FT8", "CQ K7ABC FN42") + Line(0, 5, "Rx", "FT8", "CQ XK7ABC FN31") +
           Line(0, 10, "Rx", "FT4", "CQ K7ABC FN42") + Line(0, 15, "Tx", "FT8", "K7ABC W9XYZ EN37") +
           Line(0, 30, "Rx", "FT8", "W9XYZ K7ABC -12") + Line(0, 45, "Tx", "FT8", "K7ABC W9XYZ R-08") +
           Line(1, 0, "Rx", "FT8", "W9XYZ K7ABC RR73") + Line(1, 15, "Tx", "FT8", "K7ABC W9XYZ 73") +
           Line(1, 30, "Rx", "FT8", "CQ K7ABC FN42");  // the last line: never examined
}

class JournalTest : public ::testing::Test, public test::EngineStation {
protected:
    std::unique_ptr<StationEngine> StartWithJournal() {
        Write(3);
        test::WriteFile(wsjtx() / "ALL.TXT", Journal());
        auto engine = Start();
        // The first ticks (the first one loads every setting again) have passed.
        for (int second = 5; second < 8; ++second) {
            clock.Set({2026, 12, 8, 12, 1, second, 0});
            engine->Tick();
        }
        engine->OptionsEdited([](StoredOptions& options) { options.searchAllTxt = true; });
        return engine;
    }

    void Search(StationEngine& engine, const std::string& text) {
        view.journal.searchText = text;
        engine.PlacesSearchEntered(text, false);
        ASSERT_TRUE(test::RunEventsUntil([&] { return !engine.JournalBusy(); }));
    }

    std::vector<std::string> Messages(std::size_t column) const {
        std::vector<std::string> cells;
        for (std::size_t row = 0; view.journal.rows && row < view.journal.rows->size(); ++row)
            cells.emplace_back(view.journal.rows->Row(row).Field(column));
        return cells;
    }
};

// The journal audit of the running station: the contact WSJT-X never logged is listed, added once
// through the log's own check, and the list follows.
TEST_F(JournalTest, TheAuditListsTheUnloggedContactAndAddsItOnce) {
    auto engine = StartWithJournal();
    const auto idle = [&] { return !engine->Audit().Busy(); };
    engine->With<AuditPart>([](AuditPart& part) { part.Open(); });
    ASSERT_TRUE(test::RunEventsUntil(idle));
    ASSERT_EQ(view.audit.lists.notLogged.size(), 1u) << view.audit.lists.summary;
    EXPECT_EQ(view.audit.lists.notLogged[0][4], "K7ABC");
    engine->With<AuditPart>([](AuditPart& part) { part.AddToLog(0); });
    EXPECT_TRUE(view.audit.offered.starts_with("2026-12-08,12:00:15,2026-12-08,")) << view.audit.offered;
    const std::size_t before = engine->LocalLogLines().size();
    const std::string offered = view.audit.offered;
    engine->With<AuditPart>([&](AuditPart& part) { part.AddConfirmed(offered); });
    ASSERT_TRUE(test::RunEventsUntil(idle));
    EXPECT_EQ(engine->LocalLogLines().size(), before + 1);
    EXPECT_TRUE(view.audit.lists.notLogged.empty()) << view.audit.lists.summary;
    // The same line a second time: the log's identity check keeps it out.
    engine->With<AuditPart>([&](AuditPart& part) { part.AddConfirmed(offered); });
    EXPECT_EQ(engine->LocalLogLines().size(), before + 1);
    EXPECT_NE(view.audit.message.find("already"), std::string::npos) << view.audit.message;
}

TEST_F(JournalTest, AContactOnlyTheJournalHoldsIsFoundMadeIntoALineAndLogged) {
    auto engine = StartWithJournal();
    EXPECT_TRUE(view.journal.captionBold);
    Search(*engine, "k7abc");
    EXPECT_FALSE(view.placesShown);  // Enter searched the journal, not the places
    ASSERT_TRUE(view.journal.panelVisible);
    EXPECT_EQ(Messages(7), (std::vector<std::string>{"CQ K7ABC FN42", "K7ABC W9XYZ EN37", "W9XYZ K7ABC -12",
                                                     "K7ABC W9XYZ R-08", "W9XYZ K7ABC RR73", "K7ABC W9XYZ 73"}));
    EXPECT_EQ(view.journal.count, "Entries :6");
    EXPECT_EQ(view.journal.highlight.callsign, "W9XYZ");

    const std::size_t before = engine->LocalLogLines().size();
    view.journal.SelectRows(0, 5);
    engine->With<JournalPart>([](JournalPart& part) { part.MakeLogEntryLine(); });
    EXPECT_TRUE(view.journal.entryLineVisible);
    const std::string line = "2026-12-08,12:00:15,2026-12-08,12:01:28,K7ABC,FN42,14.075234,FT8,-08,-12,,"
                             "FT8  Sent: -08  Rcvd: -12,,W9XYZ,EN37,,,";
    EXPECT_EQ(view.journal.entryLine, line);
    engine->With<JournalPart>([](JournalPart& part) { part.AddToLog(); });
    EXPECT_TRUE(view.journal.messages.empty());

    // In the file and in memory, counted, listed, searched and exported like any contact.
    const LogLines onDisk = LocalLog();
    ASSERT_EQ(onDisk.size(), before + 1);
    EXPECT_EQ(onDisk[before], line);
    EXPECT_EQ(engine->LocalLogLines()[before], line);
    EXPECT_EQ(view.entries, std::to_string(before + 1));
    EXPECT_NE(test::ReadFile(viewer() / "calls_in_log.txt").find("K7ABC"), std::string::npos);
    bool listed = false;
    for (const ColouredLine& callsigns : view.callsignList) listed = listed || callsigns.text.find("K7ABC") != std::string::npos;
    EXPECT_TRUE(listed);
    view.searchText = "K7ABC";
    engine->Call(&SearchPart::SearchLog);
    ASSERT_TRUE(view.matchListVisible);
    EXPECT_EQ(view.matchList->contacts, 1u);
    engine->Run(Command::FullAdifExport);
    ASSERT_TRUE(test::WaitForBackground(*engine));
    ASSERT_FALSE(desktop.openedFiles.empty());
    EXPECT_NE(test::ReadFile(desktop.openedFiles.back()).find("<call:5>K7ABC "), std::string::npos);

    // The same contact again is refused; a line holding a line break is never written.
    engine->With<JournalPart>([](JournalPart& part) { part.AddToLog(); });
    ASSERT_EQ(view.journal.messages.size(), 1u);
    EXPECT_NE(view.journal.messages[0].find("in it already"), std::string::npos) << view.journal.messages[0];
    view.journal.entryLine = "2026-12-08,12:00:15,\n2026-12-08,12:01:15,K2ABC,";
    engine->With<JournalPart>([](JournalPart& part) { part.AddToLog(); });
    EXPECT_EQ(view.journal.messages.size(), 2u);
    EXPECT_EQ(LocalLog().size(), before + 1);

    // With "ALL.TXT" cleared, Enter is the places search's again.
    engine->OptionsEdited([](StoredOptions& options) { options.searchAllTxt = false; });
    EXPECT_FALSE(view.journal.captionBold);
    view.journal.rows.reset();
    engine->PlacesSearchEntered("k7abc", false);
    EXPECT_FALSE(view.journal.rows);
}

TEST_F(JournalTest, AutoRefreshFollowsTheGrownJournalCopyOnTheTick) {
    auto engine = StartWithJournal();
    engine->With<JournalPart>([](JournalPart& part) { part.SetAuto(true); });
    Search(*engine, "K7ABC");
    ASSERT_EQ(view.journal.count, "Entries :6");

    // The journal copy grows: the next tick lists the line that is no longer the last one.
    std::string grown = Journal();
    for (int i = 0; i < 10; ++i) grown += Line(2, i, "Rx", "FT8", "W9XYZ K7ABC 73");
    test::WriteFile(viewer() / "all.txt", grown);
    fs::last_write_time(viewer() / "all.txt", fs::file_time_type::clock::now() + std::chrono::seconds(5));
    clock.Set({2026, 12, 8, 12, 2, 10, 0});
    engine->Tick();
    ASSERT_TRUE(test::RunEventsUntil([&] { return !engine->JournalBusy(); }));
    EXPECT_EQ(view.journal.count, "Entries :16");  // the former last line and 9 of the 10 new ones
    EXPECT_EQ(view.journal.scrolledTo, 6u);          // the newest ten in view

    // Without "Auto" the tick leaves the list alone.
    engine->With<JournalPart>([](JournalPart& part) { part.SetAuto(false); });
    test::WriteFile(viewer() / "all.txt", grown + Line(3, 0, "Rx", "FT8", "W9XYZ K7ABC 73"));
    fs::last_write_time(viewer() / "all.txt", fs::file_time_type::clock::now() + std::chrono::seconds(10));
    engine->Tick();
    EXPECT_EQ(view.journal.count, "Entries :16");
}

TEST_F(JournalTest, RecentActivityIsWrittenAndOpened) {
    auto engine = StartWithJournal();
    engine->Run(Command::RecentActivity);
    ASSERT_TRUE(test::RunEventsUntil([&] { return !desktop.openedFiles.empty(); }));
    EXPECT_EQ(desktop.openedFiles.back(), (viewer() / "RecentList.txt").string());
    const std::string recent = test::ReadFile(viewer() / "RecentList.txt");
    EXPECT_TRUE(recent.starts_with(" An extract of entries in ALL.TXT")) << recent;
    EXPECT_NE(recent.find("K7ABC W9XYZ 73\r\n"), std::string::npos);
    EXPECT_EQ(recent.find("CQ K7ABC FN42\r\n"), std::string::npos);  // holds no W9XYZ
}

}  // namespace
}  // namespace vantrel
