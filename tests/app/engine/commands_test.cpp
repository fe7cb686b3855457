// Every menu command through the engine on a running station: the repairs with their files, the
// grids update, the ADIF export, new export and import, the lists and the equipment files. Long
// commands run on a thread of their own; the test waits for their result as the window would.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "app/engine/grids_part.h"
#include "base/file_io.h"
#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

class CommandsTest : public ::testing::Test, public test::EngineStation {
protected:
    std::unique_ptr<StationEngine> Station() {
        Write(6);
        // A contact without a grid that grids.txt knows, and one with a comment.
        std::string log = test::WsjtxLog(6);
        log += "2026-12-08,11:00:00,2026-12-08,11:01:00,G4ABC,,14.075500,FT8,-10,-12,100,nice chat,,\n";
        test::WriteFile(wsjtx() / "wsjtx.log", log);
        test::WriteFile(viewer() / "grids.txt", "G4ABC,IO91\r\n");
        auto engine = Start();
        test::WaitForBackground(*engine);
        return engine;
    }
    void Run(StationEngine& engine, Command command) {
        engine.Run(command);
        ASSERT_TRUE(test::WaitForBackground(engine));
    }
};

// A large grids.txt loads after the start-up has ended; "Check grids in log" asked for meanwhile
// says it waits for the list, answers nothing from a part of it, and runs once it is loaded.
TEST_F(CommandsTest, TheGridsListLoadsAfterTheStartUpAndTheRepairWaitsForIt) {
    Write(6);
    test::WriteFile(wsjtx() / "wsjtx.log",
                    test::WsjtxLog(6) + "2026-12-08,11:00:00,2026-12-08,11:01:00,G4ABC,,14.075500,FT8,-10,-12,100,,,\n");
    std::string grids = "G4ABC,IO91\r\n";  // sorted and thin, as a run leaves it
    char entry[32];
    for (int i = 0; i < 200000; ++i) {
        std::snprintf(entry, sizeof entry, "Q%06dA,JO%02d\r\n", i, 10 + i % 90);
        grids += entry;
    }
    test::WriteFile(viewer() / "grids.txt", grids);
    std::atomic<bool> held{false}, released{false};
    GridsPart::beforeLoadForTests = [&](const std::atomic<bool>& cancelled) {
        held = true;
        while (!released && !cancelled) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    struct Unhook {
        ~Unhook() { GridsPart::beforeLoadForTests = nullptr; }
    } unhook;

    auto engine = Start();
    ASSERT_TRUE(engine->StartupDone());
    ASSERT_TRUE(test::RunEventsUntil([&] { return held.load(); }));
    EXPECT_TRUE(engine->GridsList().empty());
    engine->Run(Command::CheckGridsInLog);
    test::RunEventsUntil([] { return false; }, 100);
    EXPECT_EQ(view.status, "Check grids in log: loading grids\u2026");
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 6), "");

    released = true;
    ASSERT_TRUE(test::WaitForBackground(*engine));
    EXPECT_GT(engine->GridsList().size(), 200000u);  // with the journal's grids added after the load
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 6), "IO91");
    EXPECT_EQ(engine->LocalLogLines(), LocalLog());
}

TEST_F(CommandsTest, RepairsWriteTheirFilesAndTheLog) {
    auto engine = Station();
    Run(*engine, Command::CheckGridsInLog);
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 6), "IO91");
    EXPECT_EQ(engine->LocalLogLines(), LocalLog());

    Run(*engine, Command::RemoveLogJunk);
    EXPECT_EQ(LoadLogLines(viewer() / "Viewer_local_log.csv - MOD")->size(), 7u);

    // Zap User field asks first: "No" leaves the log as it is, "Yes" keeps a dated copy first.
    const LogLines before = LocalLog();
    Run(*engine, Command::ZapUserField);
    ASSERT_EQ(view.questions.size(), 1u);
    view.Answer(false);
    ASSERT_TRUE(test::WaitForBackground(*engine));
    EXPECT_EQ(LocalLog(), before);
    Run(*engine, Command::ZapUserField);
    view.Answer(true);
    ASSERT_TRUE(test::WaitForBackground(*engine));
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 12), "");
    ASSERT_FALSE(view.statusFile.empty());
    EXPECT_EQ(view.statusFile.find((viewer() / "Viewer_local_log ").string()), 0u);
    EXPECT_EQ(*LoadLogLines(view.statusFile), before);  // the copy holds the log as it was
    EXPECT_NE(view.status.find("Zap User field: comments emptied in 1 contacts"), std::string::npos) << view.status;
    EXPECT_EQ(ExtractField(LocalLog().back(), ',', 5), "G4ABC");

    view.messages.clear();
    Run(*engine, Command::CheckMyGridDetails);  // another station's log is not touched
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0], "Check My Grid function: Not applicable to your use.");
}

// The repair of the maker's own station asks first and keeps the log as it was beside it.
TEST_F(CommandsTest, MakerStationRepairAsksAndKeepsADatedCopy) {
    Write(6, "[Configuration]\nBroadcastToN1MM=true\nMyCall=QQ0XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\n"
             "N1MMServerPort=2334\n");
    auto engine = Start();
    ASSERT_TRUE(test::WaitForBackground(*engine));
    const LogLines before = LocalLog();
    engine->Run(Command::CheckMyGridDetails);
    ASSERT_EQ(view.questions.size(), 1u);
    view.Answer(true);
    ASSERT_TRUE(test::WaitForBackground(*engine));
    EXPECT_EQ(view.statusFile.find((viewer() / "Viewer_local_log ").string()), 0u) << view.status;
    EXPECT_EQ(*LoadLogLines(view.statusFile), before);
}

TEST_F(CommandsTest, ForcedGridsUpdateTakesTheJournalAndTheLog) {
    auto engine = Station();
    test::WriteFile(wsjtx() / "ALL.TXT", "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42\n"
                                         "261208_120030    14.074 Rx FT8     -9  0.1 1300 CQ ZZ9QQ JN58\n");
    Run(*engine, Command::ForceGridsUpdate);
    const std::string grids = test::ReadFile(viewer() / "grids.txt");
    EXPECT_NE(grids.find("ZZ9QQ,JN58\r\n"), std::string::npos);  // from the journal
    EXPECT_NE(grids.find("K1ABC,FN42\r\n"), std::string::npos);  // from the log and the journal
    bool inList = false;
    for (std::string_view line : engine->GridsList()) inList |= line == "ZZ9QQ,JN58";
    EXPECT_TRUE(inList);
}

TEST_F(CommandsTest, ExportsNewExportsAndImport) {
    auto engine = Station();
    Run(*engine, Command::FullAdifExport);
    ASSERT_EQ(desktop.openedFiles.size(), 1u);
    const std::string full = test::ReadFile(desktop.openedFiles[0]);
    EXPECT_EQ(view.entries, "7");
    EXPECT_NE(full.find("<call:5>G4ABC"), std::string::npos);
    // A new export starts at the last contact exported; one more contact, it holds both.
    Run(*engine, Command::NewAdifExport);
    EXPECT_EQ(view.entries, "1");
    engine->OnDatagram(test::Datagram("K9NEW", "14.075500", "150000"));
    Run(*engine, Command::NewAdifExport);
    EXPECT_EQ(view.entries, "2");
    EXPECT_NE(test::ReadFile(desktop.openedFiles.back()).find("<call:5>K9NEW"), std::string::npos);

    engine->Call(&AdifPart::AdifImport, (test::TestDataFolder() / "adif" / "skcc-logger.adi").string());
    ASSERT_TRUE(test::WaitForBackground(*engine));
    EXPECT_EQ(desktop.openedFiles.back(), (viewer() / "ADIimport.txt").string());
    EXPECT_GT(LoadLogLines(viewer() / "ADIimport.txt")->size(), 10u);
}

// Each command that writes a file says on the status line what it did and where the file is;
// a desktop that cannot open the file gets the operator a message with its path.
TEST_F(CommandsTest, FilesWrittenAreNamedAndWhatCannotBeOpenedIsSaid) {
    auto engine = Station();
    desktop.opens = false;
    Run(*engine, Command::FullAdifExport);
    ASSERT_EQ(desktop.openedFiles.size(), 1u);
    EXPECT_EQ(view.statusFile, desktop.openedFiles[0]);
    EXPECT_EQ(view.status, "7 contacts exported to " + view.statusFile);
    ASSERT_FALSE(view.messages.empty());
    EXPECT_EQ(view.messages.back(), "No program to open the file: This desktop has no program that opens the file. "
                                    "Open it by hand:\n" + view.statusFile);

    Run(*engine, Command::BackupData);
    EXPECT_EQ(view.statusFile.find((viewer() / "Backup ").string()), 0u);
    EXPECT_TRUE(std::filesystem::exists(view.statusFile));
    EXPECT_NE(view.status.find("backed up to"), std::string::npos);

    engine->Call(&AdifPart::AdifImport, (test::TestDataFolder() / "adif" / "skcc-logger.adi").string());
    ASSERT_TRUE(test::WaitForBackground(*engine));
    EXPECT_EQ(view.statusFile, (viewer() / "ADIimport.txt").string());
    EXPECT_NE(view.status.find(" of skcc-logger.adi converted into "), std::string::npos) << view.status;

    Run(*engine, Command::RemoveLogJunk);
    EXPECT_EQ(view.statusFile, (viewer() / "Viewer_local_log.csv - MOD").string());

    // A click on the path opens its folder; a folder that cannot be opened is named too.
    view.messages.clear();
    engine->OpenFolder(viewer().string());
    EXPECT_EQ(desktop.openedFiles.back(), viewer().string());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find("Open it by hand:\n" + viewer().string()), std::string::npos);
}

TEST_F(CommandsTest, ListsAndEquipmentFiles) {
    auto engine = Station();
    Run(*engine, Command::Last50);
    EXPECT_EQ(view.displayTitle.substr(0, 4), "Last");
    EXPECT_EQ(view.displayList.size(), 7u);  // below 50 contacts: every one
    Run(*engine, Command::Today);
    EXPECT_FALSE(view.displayList.empty());
    Run(*engine, Command::EditRadios);
    Run(*engine, Command::EditAntennas);
    ASSERT_EQ(desktop.openedFiles.size(), 2u);
    EXPECT_EQ(test::ReadFile(viewer() / "Radios.txt").substr(0, 12), "List one rad");
    EXPECT_EQ(desktop.openedFiles[1], (viewer() / "Antennas.txt").string());
    view.searchText = "K1ABC";
    Run(*engine, Command::Clear);
    EXPECT_EQ(view.searchText, "");
}

}  // namespace
}  // namespace vantrel
