// Whole start-ups of the station engine in temporary folders, without a display.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

class StartupTest : public ::testing::Test, public test::EngineStation {
protected:
    void Station(int contacts, const char* ini = test::kStationIni) { Write(contacts, ini); }
};

TEST_F(StartupTest, FirstRunCopiesTheFilesAndCreatesTheLocalLog) {
    Station(3);
    auto engine = Start();
    ASSERT_TRUE(engine->StartupDone());
    EXPECT_EQ(engine->ViewerFolder(), viewer());
    for (const char* copy : {"wsjtx.log", "wsjt-x.ini", "all.txt"})
        EXPECT_TRUE(std::filesystem::exists(viewer() / copy)) << copy;
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 3u);
    EXPECT_EQ(ExtractField(local[2], ',', 5), "K2ABC");
    EXPECT_EQ(ExtractField(local[2], ',', 14), "W9XYZ");
    EXPECT_EQ(ExtractField(local[2], ',', 15), "EN37");
    EXPECT_EQ(test::ReadFile(viewer() / "Viewer_local_log.csv").substr(0, 10), "2026-12-01");

    EXPECT_EQ(view.call, "W9XYZ");
    EXPECT_EQ(view.grid, "EN37");
    EXPECT_EQ(view.host, "127.0.0.1");
    EXPECT_EQ(view.port, "2334");
    EXPECT_EQ(receiver.binds, (std::vector<std::string>{"127.0.0.1:2334"}));
    EXPECT_EQ(entriesAtStart, "3");
    EXPECT_EQ(view.lastContact, local.back());
    EXPECT_EQ(engine->RunCounter(), 1);  // the first run
    EXPECT_TRUE(view.caption.starts_with("Vantrel for WSJT-X - Version " VANTREL_VERSION_TEXT "  Build: "));
    EXPECT_EQ(Trace().find("Close"), std::string::npos);
    EXPECT_EQ(store.Own("VantrelerActive"), "1");
    EXPECT_EQ(view.placement, (Placement{30, 30, 660, 600}));  // the full load's defaults
    EXPECT_FALSE(view.regions[Region::CheckMyGridMenu]);
    EXPECT_FALSE(view.regions[Region::ColourSetupMenu]);
    EXPECT_FALSE(view.regions[Region::MapCheck]);
}

TEST_F(StartupTest, LaterRunCatchesUpWithNewWsjtxLines) {
    Station(3);
    Start();
    const LogLines first = LocalLog();
    test::WriteFile(wsjtx() / "wsjtx.log", test::WsjtxLog(5));
    // RecentList.txt's new files that killed writers left, of this version and of earlier ones.
    test::WriteFile(viewer() / "RecentList.txt", "kept");
    test::WriteFile(viewer() / ".RecentList.txt.new-999999999-0", "half");
    test::WriteFile(viewer() / "RecentList.txt.a1B2c3", "half");
    auto engine = Start();
    EXPECT_EQ(test::ReadFile(viewer() / "RecentList.txt"), "kept");
    EXPECT_FALSE(std::filesystem::exists(viewer() / ".RecentList.txt.new-999999999-0"));
    EXPECT_FALSE(std::filesystem::exists(viewer() / "RecentList.txt.a1B2c3"));
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 5u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), local.begin()));
    EXPECT_EQ(ExtractField(local[4], ',', 5), "K4ABC");
    EXPECT_EQ(engine->LocalLogLines(), local);
    EXPECT_EQ(entriesAtStart, "5");

    // Nothing new: the file is left exactly as it is.
    const auto bytes = test::ReadFile(viewer() / "Viewer_local_log.csv");
    Start();
    EXPECT_EQ(test::ReadFile(viewer() / "Viewer_local_log.csv"), bytes);
}

TEST_F(StartupTest, ReportingOffShowsTheMessageAndQuitsBeforeAnyLog) {
    Station(3, "[Configuration]\nBroadcastToN1MM=false\nN1MMServer=127.0.0.1\n");
    auto engine = Start();
    EXPECT_TRUE(engine->QuitRequested());
    EXPECT_FALSE(engine->StartupDone());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].starts_with("WSJT-X UDP support option not enabled: Enable N1MM"));
    EXPECT_FALSE(std::filesystem::exists(viewer() / "Viewer_local_log.csv"));
    EXPECT_FALSE(std::filesystem::exists(viewer() / "wsjtx.log"));
    EXPECT_EQ(store.Own("VantrelerActive"), "0");
}

TEST_F(StartupTest, SiblingLoggerRunningEndsTheProgramWithoutTouchingFiles) {
    Station(3);
    store.Write("Wexo/General", "Wexo_Active", "1");
    auto engine = Start();
    EXPECT_TRUE(engine->QuitRequested());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].starts_with("Vantrel resource error: Only Wexo ++ OR ++ Vantrel"));
    EXPECT_TRUE(std::filesystem::is_empty(viewer()));
}

TEST_F(StartupTest, PurgeDeletesWindowAndCounterKeysAndQuits) {
    Station(3);
    store.Write(std::string(kOwnSection), "VantrelerLeft", "500");
    store.Write(std::string(kOwnSection), "VantrelerRuns", "7");
    store.Write(std::string(kOwnSection), "VantrelerColour3", "123456");
    auto engine = Start({"/purge"});
    EXPECT_TRUE(engine->QuitRequested());
    EXPECT_FALSE(store.Has("VantrelerLeft"));
    EXPECT_FALSE(store.Has("VantrelerRuns"));
    EXPECT_EQ(store.Own("VantrelerColour3"), "123456");
    EXPECT_FALSE(std::filesystem::exists(viewer() / "Viewer_local_log.csv"));
}

TEST_F(StartupTest, NoLogUpdateLeavesTheWsjtxLogUnloaded) {
    Station(4);
    auto engine = Start({"/NLU"});
    EXPECT_TRUE(engine->WsjtxLogLines().empty());
    EXPECT_TRUE(engine->StartupDone());
    EXPECT_EQ(test::ReadFile(viewer() / "Viewer_local_log.csv"), "");
}

TEST_F(StartupTest, ShorterWsjtxFilesNeverReplaceTheLongerCopiesUnkept) {
    Station(6);
    Start();
    const std::string longLog = test::ReadFile(viewer() / "wsjtx.log");
    test::WriteFile(wsjtx() / "wsjtx.log", test::WsjtxLog(2));  // WSJT-X started a new log
    test::WriteFile(wsjtx() / "ALL.TXT", "x\n");            // and erased its journal
    const std::string longJournal = test::ReadFile(viewer() / "all.txt");
    Start();
    EXPECT_EQ(test::ReadFile(viewer() / "wsjtx08122026.log"), longLog);
    EXPECT_EQ(test::ReadFile(viewer() / "all08122026.txt"), longJournal);
    EXPECT_EQ(test::ReadFile(viewer() / "wsjtx.log"), test::WsjtxLog(2));
    EXPECT_EQ(LocalLog().size(), 6u);  // the local log keeps every contact
}

TEST_F(StartupTest, OldLayoutLocalLogIsConvertedBesideIt) {
    Station(3);
    const std::string old =
        "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,hi,W9XYZ,EN37,Rig,\r\n";
    test::WriteFile(viewer() / "Viewer_local_log.csv", old);
    test::WriteFile(viewer() / "wsjtx.log", test::WsjtxLog(3));
    Start();
    EXPECT_EQ(test::ReadFile(viewer() / "Viewer_local_log.err"),
              "2019-01-02,10:00:00,2019-01-02,10:01:00,K1ABC,FN42,14.076,FT8,-10,-12,5,hi,,W9XYZ,"
              "EN37,,,\r\n");
    EXPECT_EQ(LocalLog().front(), old.substr(0, old.size() - 2));  // the log itself is unchanged
}

TEST_F(StartupTest, BindFailureIsReportedAndTheSequenceGoesOn) {
    Station(3);
    receiver.fail = true;
    auto engine = Start();
    EXPECT_TRUE(engine->StartupDone());
    EXPECT_NE(view.status.find("address in use"), std::string::npos);
    EXPECT_NE(Trace().find("address in use"), std::string::npos);
}

TEST_F(StartupTest, MissingWsjtxDataStartsEmpty) {
    auto engine = Start();
    EXPECT_TRUE(engine->StartupDone());
    EXPECT_TRUE(receiver.binds.empty());
    EXPECT_EQ(view.call, "");
    EXPECT_EQ(test::ReadFile(viewer() / "Viewer_local_log.csv"), "");
    // Only the note that grids.txt must be made; with no journal nothing is built.
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_TRUE(view.messages[0].starts_with("Support file creation required: "));
    EXPECT_FALSE(std::filesystem::exists(viewer() / "grids.txt"));
}

TEST_F(StartupTest, CloseWritesTraceAndSettingsAndClearsTheRunningFlag) {
    Station(3);
    auto engine = Start({"/debug"});
    engine->Call(&FeedPart::SetLastContact, 
        "2026-12-08,14:00:00,2026-12-08,14:00:30,K9NEW,EN50,14.0755,FT8,-1,-2,5");
    EXPECT_EQ(LocalLog().size(), 4u);
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 14), "W9XYZ");
    engine->Call(&FeedPart::SetLastContact, std::string(LocalLog().back()));  // the same contact again adds nothing
    EXPECT_EQ(LocalLog().size(), 4u);
    engine->CloseMainWindow();
    const std::string trace = test::ReadFile(viewer() / "tracer.txt");
    EXPECT_NE(trace.find(" Add new ** 2026-12-08,14:00:00"), std::string::npos);
    EXPECT_NE(trace.find(" Close"), std::string::npos);
    EXPECT_EQ(store.Own("VantrelerActive"), "0");
    EXPECT_EQ(store.Own("VantrelerCall"), "W9XYZ");
    EXPECT_EQ(store.Own("VantrelerLocation"), viewer().string() + "/");
    const std::string diagnostics = test::ReadFile(viewer() / "errorlog.txt");
    EXPECT_TRUE(diagnostics.starts_with("Started at 2026-12-08 12:00:00\n"));
    EXPECT_NE(diagnostics.find("Creating new local log file\ncreate_new_local_log;\n"), std::string::npos);
}


// A start and a close with nothing changed leave every derived file and the day's copies as
// they were (same file, never replaced); a change of WSJT-X's log renews what depends on it.
TEST_F(StartupTest, NothingChangedRewritesNoDerivedFileAndNoDailyCopy) {
    Station(3);
    test::WriteFile(wsjtx() / "wsjtx_log.adi", "ADIF Export\n<eoh>\n");
    const char* files[] = {"grids.txt", "grids.state", "calls.txt", "calls_in_log.txt", "Wsjtx 08Dec2026.log",
                           "Wsjtx_log 08Dec2026.adi"};
    auto identities = [&] {
        std::vector<ino_t> inodes;
        for (const char* name : files) {
            struct stat st {};
            EXPECT_EQ(::stat((viewer() / name).c_str(), &st), 0) << name;
            inodes.push_back(st.st_ino);
        }
        return inodes;
    };
    auto run = [&] {
        auto engine = Start();
        ASSERT_TRUE(test::WaitForBackground(*engine));
        engine->CloseMainWindow();
    };
    run();
    const auto first = identities();
    run();
    const auto second = identities();
    for (std::size_t i = 0; i < first.size(); ++i) EXPECT_EQ(first[i], second[i]) << files[i] << " was rewritten";

    test::WriteFile(wsjtx() / "wsjtx.log", test::WsjtxLog(5));
    run();
    const auto third = identities();
    EXPECT_NE(third[2], second[2]) << "calls.txt kept without the new calls";
    EXPECT_NE(third[4], second[4]) << "the day's copy of wsjtx.log kept its old content";
    EXPECT_EQ(test::ReadFile(viewer() / "Wsjtx 08Dec2026.log"), test::WsjtxLog(5));
    EXPECT_EQ(third[5], second[5]);
}

}  // namespace
}  // namespace vantrel
