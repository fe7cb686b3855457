// A simulated minute of the one-second schedule, the close, "EXIT" and the backups.
#include <gtest/gtest.h>

#include "base/file_io.h"
#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

class ScheduleTest : public ::testing::Test, public test::EngineStation {
protected:
    // Runs one tick at each second from..to of the current minute (the clock stops there).
    void TicksAt(StationEngine& engine, int from, int to) {
        for (int second = from; second <= to; ++second) {
            clock.Set({2026, 12, 8, 12, 1, second, 0});
            engine.Tick();
        }
    }
    void Touch(const std::filesystem::path& file, int secondsLater) {
        std::filesystem::last_write_time(
            file, std::filesystem::file_time_type::clock::now() + std::chrono::seconds(secondsLater));
    }
};

TEST_F(ScheduleTest, EachSlotDoesItsOwnWork) {
    Write(3);
    auto engine = Start();
    ASSERT_TRUE(engine->StartupDone());

    // WSJT-X logs two contacts and its journal grows; its configuration changes its grid.
    test::WriteFile(wsjtx() / "wsjtx.log", test::WsjtxLog(5));
    test::WriteFile(wsjtx() / "ALL.TXT", "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42\n"
                                         "261208_120030    14.074 Rx FT8     -9  0.1 1300 CQ K2ABC FN43\n");
    Touch(wsjtx() / "ALL.TXT", 5);
    test::WriteFile(wsjtx() / "WSJT-X.ini", std::string(test::kStationIni) + "MyGrid=EN38\n");

    TicksAt(*engine, 0, 0);  // nothing in slot 0
    EXPECT_EQ(engine->WsjtxLogLines().size(), 3u);
    TicksAt(*engine, 1, 1);  // the WSJT-X log copy and list; the local log is not extended
    EXPECT_EQ(engine->WsjtxLogLines().size(), 5u);
    EXPECT_EQ(engine->LocalLogLines().size(), 3u);
    EXPECT_EQ(FileSize(viewer() / "all.txt"), 62);
    TicksAt(*engine, 2, 2);  // the journal copy
    EXPECT_EQ(FileSize(viewer() / "all.txt"), 124);
    EXPECT_EQ(view.indicatorChanges, 1);
    TicksAt(*engine, 3, 13);
    EXPECT_EQ(engine->Station().grid, "EN37");
    TicksAt(*engine, 14, 14);  // the configuration
    EXPECT_EQ(engine->Station().grid, "EN38");
    view.entries.clear();
    TicksAt(*engine, 15, 53);
    TicksAt(*engine, 54, 54);  // the count
    EXPECT_EQ(view.entries, "3");
    // A journal that did not change is not copied again.
    TicksAt(*engine, 55, 59);
    clock.Set({2026, 12, 8, 12, 2, 17, 0});
    engine->Tick();
    EXPECT_EQ(view.indicatorChanges, 1);
}

TEST_F(ScheduleTest, FirstTickRepeatsTheFullLoad) {
    Write(3);
    auto engine = Start();
    store.Write(std::string(kOwnSection), "VantrelerLeft", "77");
    TicksAt(*engine, 5, 5);
    EXPECT_EQ(view.placement.left, 77);
    store.Write(std::string(kOwnSection), "VantrelerLeft", "88");
    TicksAt(*engine, 6, 8);
    EXPECT_EQ(view.placement.left, 77);
}

TEST_F(ScheduleTest, CloseMakesDatedCopiesTraceAndSettings) {
    Write(3);
    test::WriteFile(wsjtx() / "wsjtx_log.adi", "ADIF Export\n<eoh>\n");
    auto engine = Start();
    engine->CloseMainWindow();
    EXPECT_EQ(test::ReadFile(viewer() / "Wsjtx 08Dec2026.log"), test::WsjtxLog(3));
    EXPECT_EQ(test::ReadFile(viewer() / "Wsjtx_log 08Dec2026.adi"), "ADIF Export\n<eoh>\n");
    EXPECT_NE(test::ReadFile(viewer() / "tracer.txt").find(" Close"), std::string::npos);
    EXPECT_EQ(store.Own("VantrelerActive"), "0");
    EXPECT_TRUE(engine->LocalLogLines().empty());  // released
    engine->Tick();                                // no tick after the close
    EXPECT_EQ(store.Own("VantrelerActive"), "0");
}

TEST_F(ScheduleTest, ExitSavesSettingsWithoutTraceOrCopies) {
    Write(3);
    auto engine = Start();
    test::WriteFile(viewer() / "tracer.txt", "before\n");
    engine->Run(Command::Exit);
    EXPECT_EQ(test::ReadFile(viewer() / "tracer.txt"), "before\n");
    EXPECT_FALSE(std::filesystem::exists(viewer() / "Wsjtx 08Dec2026.log"));
    EXPECT_EQ(store.Own("VantrelerActive"), "0");
    EXPECT_EQ(store.Own("VantrelerLeft"), "30");
    EXPECT_GE(view.quitCalls, 1);
}

TEST_F(ScheduleTest, BackupsAreNamedByTheirTimeAndDueAfterThirtyDays) {
    Write(3);
    auto engine = Start();
    clock.Set({2026, 12, 7, 14, 23, 5, 0});
    engine->Run(Command::BackupData);
    EXPECT_EQ(LoadLogLines(viewer() / "Backup 07-12-26 142305.txt")->size(), 3u);
    EXPECT_EQ(store.Own("VantrelerLastbackup"), "2026-12-07 14:23:05");

    // 31 days later the start-up makes one; 29 days later it does not.
    clock.Set({2027, 1, 5, 14, 23, 5, 0});
    Start();
    EXPECT_FALSE(std::filesystem::exists(viewer() / "Backup 05-01-27 142305.txt"));
    clock.Set({2027, 1, 8, 9, 0, 0, 0});
    Start();
    EXPECT_TRUE(std::filesystem::exists(viewer() / "Backup 08-01-27 090000.txt"));
}

}  // namespace
}  // namespace vantrel
