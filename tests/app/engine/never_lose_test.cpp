// No contact is lost or logged wrong: contacts that arrive while the start-up or a repair holds
// the log, contacts waiting for the antenna warning whatever its answer, a configuration changed
// without changing its size, a configuration that leaves no receiver, and a full disk.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include "base/file_io.h"
#include "log/extract_field.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

using test::Datagram;

class NeverLoseTest : public ::testing::Test, public test::EngineStation {
protected:
    std::vector<std::string> Calls() const {
        std::vector<std::string> calls;
        for (std::string_view line : LocalLog()) calls.emplace_back(ExtractFieldView(line, ',', 5));
        return calls;
    }
};

TEST_F(NeverLoseTest, ContactsArrivingDuringTheStartUpAreLoggedInOrderAfterIt) {
    Write(3);
    StationEngine engine(Services(), view.Views(), {});
    engine.MainWindowActivated();  // the copy-in runs on its own thread: the start-up is not over
    ASSERT_FALSE(engine.StartupDone());
    engine.OnDatagram(Datagram("K9AA", "14.075500", "141900"));
    engine.OnDatagram(Datagram("K9BB", "14.075500", "142000"));
    ASSERT_TRUE(test::RunEventsUntil([&] { return engine.StartupDone(); }));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"K0ABC", "K1ABC", "K2ABC", "K9AA", "K9BB"}));
}

TEST_F(NeverLoseTest, TheCloseWaitsForARepairAndKeepsTheWaitingContacts) {
    auto engine = StartWithAntenna("Dipole [7]");
    engine->OnDatagram(Datagram("K9AA", "14.075500", "141900"));  // waits for the warning
    ASSERT_EQ(engine->PendingContacts().size(), 1u);
    engine->Run(Command::ZapUserField);
    view.Answer(true);
    ASSERT_TRUE(engine->Busy());
    engine->OnDatagram(Datagram("K9BB", "7.075500", "142000"));  // arrives during the repair
    engine->CloseMainWindow();
    EXPECT_EQ(view.quitCalls, 0);  // the close waits for the repair's result
    ASSERT_TRUE(test::RunEventsUntil([&] { return view.quitCalls > 0; }));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"K0ABC", "K1ABC", "K2ABC", "K9AA", "K9BB"}));
    EXPECT_NE(Trace().find(" Close"), std::string::npos);
}

TEST_F(NeverLoseTest, EveryAnswerToTheWarningLogsTheWaitingContacts) {
    {
        // "Yes", then the antenna list closed without a pick.
        auto engine = StartWithAntenna("Dipole [7]");
        engine->OnDatagram(Datagram("K9AA", "14.075500", "141900"));
        engine->Run(Command::AntennaYes);
        EXPECT_EQ(view.antennaWarning, "The antenna does not match the band in use. Re-select ?");  // still waiting
        engine->Call(&FeedPart::AntennaChoiceClosed, false);
        EXPECT_EQ(Calls().back(), "K9AA");
        EXPECT_EQ(view.antennaWarning, "");
        EXPECT_NE(Trace().find("no antenna was picked"), std::string::npos);
        // The feed goes on at once for a contact on the antenna's band.
        engine->OnDatagram(Datagram("K9BB", "7.075500", "142000"));
        EXPECT_EQ(Calls().back(), "K9BB");
        EXPECT_EQ(ExtractField(LocalLog().back(), ',', 17), "Dipole [7]");
    }
    {
        // A rotator warning over a waiting contact, answered "No".
        store.Write(std::string(kOwnSection), "VantrelerAntWarning", "1");
        store.Write(std::string(kOwnSection), "VantrelerAntAutoChange", "0");
        auto engine = Start({"/AUTHOR"});
        engine->OptionsEdited([](StoredOptions& options) { options.antWarning = true; });
        engine->OnDatagram(Datagram("K9CC", "14.075500", "143000"));
        store.Write(std::string(kOwnSection), "RotHFAntSel", "#Beam] north");
        clock.Set({2026, 12, 8, 12, 3, 5, 0});
        engine->Tick();
        EXPECT_EQ(view.antennaWarning, "The antenna does not match Turnmast selection. Change ?");
        engine->Run(Command::AntennaNo);
        EXPECT_EQ(Calls().back(), "K9CC");
        engine->OnDatagram(Datagram("K9DD", "7.075500", "143100"));
        EXPECT_EQ(Calls().back(), "K9DD");
    }
}

TEST_F(NeverLoseTest, AConfigurationChangeOfTheSameSizeIsSeen) {
    auto ini = [](const char* call, int port) {
        return std::string("[Configuration]\nBroadcastToN1MM=true\nMyCall=") + call +
               "\nMyGrid=EN37\nN1MMServer=127.0.0.1\nN1MMServerPort=" + std::to_string(port) + "\n";
    };
    Write(3, ini("QQ0XYZ", 46100).c_str());
    auto engine = Start();
    EXPECT_EQ(receiver.binds, (std::vector<std::string>{"127.0.0.1:46100"}));
    test::WriteFile(wsjtx() / "WSJT-X.ini", ini("QQ0XYW", 46101));
    std::filesystem::last_write_time(wsjtx() / "WSJT-X.ini",
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(5));
    clock.Set({2026, 12, 8, 12, 1, 14, 0});
    engine->Tick();
    EXPECT_EQ(receiver.binds.back(), "127.0.0.1:46101");
    EXPECT_EQ(engine->Station().call, "QQ0XYW");
    EXPECT_EQ(view.port, "46101");
    // Touched again without a change: nothing is read or bound again.
    std::filesystem::last_write_time(wsjtx() / "WSJT-X.ini",
                                     std::filesystem::file_time_type::clock::now() + std::chrono::seconds(9));
    clock.Set({2026, 12, 8, 12, 1, 29, 0});
    engine->Tick();
    EXPECT_EQ(receiver.binds.size(), 2u);
}

TEST_F(NeverLoseTest, AConfigurationThatLeavesNoReceiverIsSaid) {
    const std::vector<std::pair<std::string, std::string>> configurations = {
        {"", "No N1MM logged-contact reporting in "},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "No N1MM logged-contact reporting in "},
        {"[Configuration]\nMyCall=W9XYZ\n", "No N1MM logged-contact reporting in "},
        {"[Configuration]\nBroadcastToN1MM=true\nN1MMServer=127.0.0.1\nN1MMServerPort=0\n", "N1MM port 0 in "},
    };
    for (const auto& [ini, said] : configurations) {
        Write(3, ini.c_str());
        std::filesystem::remove(viewer() / "wsjt-x.ini");
        receiver.binds.clear();
        auto engine = Start();
        ASSERT_TRUE(engine->StartupDone());
        EXPECT_TRUE(receiver.binds.empty());
        EXPECT_TRUE(view.n1mmProblem.starts_with(said)) << view.n1mmProblem;
        EXPECT_EQ(view.status, view.n1mmProblem);
        EXPECT_NE(Trace().find(" UDP ** " + said), std::string::npos);
        EXPECT_TRUE(view.regions[Region::N1mm]);
        EXPECT_EQ(view.host, "127.0.0.1");
    }
}

TEST_F(NeverLoseTest, ContactsMergedAtStartCarryTheStoredRigAndAntenna) {
    StartWithAntenna("Vertical [7,14,21]");
    test::WriteFile(wsjtx() / "wsjtx.log", test::WsjtxLog(5));  // logged while the program was closed
    Start();
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 5u);
    EXPECT_EQ(ExtractField(local[4], ',', 16), "IC-7300");
    EXPECT_EQ(ExtractField(local[4], ',', 17), "Vertical [7");
}

TEST_F(NeverLoseTest, CountsAndResetsTellTheTruth) {
    Write(3);
    test::WriteFile(viewer() / "wsjtx.log", test::WsjtxLog(3));  // not the first run
    store.Write(std::string(kOwnSection), "VantrelerRuns", "7");
    auto engine = Start();
    EXPECT_EQ(entriesAtStart, "3");  // the number of contacts
    EXPECT_EQ(engine->RunCounter(), 8);
    engine->Call(&WindowPart::ResetRegistryValues);
    EXPECT_EQ(engine->RunCounter(), 0);
    EXPECT_FALSE(store.Has("VantrelerRuns"));
}

// A viewer folder on a file system of 1 MB: contacts that arrive while it is full are kept and
// written as soon as there is room again, by the schedule or at the latest by the close.
TEST_F(NeverLoseTest, AFullDiskKeepsEveryContactUntilItCanBeWritten) {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    const std::filesystem::path small = viewer();
    if (::mount("vantrel-test", small.c_str(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "this machine does not allow mounting a tmpfs here";
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
    } unmount{small};

    Write(3);
    auto engine = Start();
    ASSERT_TRUE(engine->StartupDone());
    // Fill the disk up to its last byte.
    {
        const std::string block(4096, 'x');
        std::FILE* filler = std::fopen((small / "filler").c_str(), "w");
        while (std::fwrite(block.data(), 1, block.size(), filler) == block.size() && std::fflush(filler) == 0) {
        }
        std::fclose(filler);
        std::FILE* rest = std::fopen((small / "filler2").c_str(), "w");
        while (std::fputc('x', rest) != EOF && std::fflush(rest) == 0) {
        }
        std::fclose(rest);
    }
    const std::size_t messagesBefore = view.messages.size();
    // More contacts than the slack of the log file's last page holds.
    for (int i = 0; i < 100; ++i) {
        char time[8];
        std::snprintf(time, sizeof time, "15%02d%02d", i / 60, i % 60);
        engine->OnDatagram(Datagram("K9D" + std::to_string(i), "14.075500", time));
    }
    EXPECT_EQ(engine->LocalLogLines().size(), 103u);
    EXPECT_LT(LocalLog().size(), 103u);
    EXPECT_NE(view.status.find("disk full"), std::string::npos) << view.status;
    ASSERT_EQ(view.messages.size(), messagesBefore + 1);  // said once, not for every contact
    const std::size_t onDisk = LocalLog().size();
    clock.Set({2026, 12, 8, 12, 1, 5, 0});
    engine->Tick();  // still full: kept
    EXPECT_EQ(LocalLog().size(), onDisk);

    std::filesystem::remove(small / "filler");
    std::filesystem::remove(small / "filler2");
    clock.Set({2026, 12, 8, 12, 1, 6, 0});
    engine->Tick();
    const LogLines local = LocalLog();
    ASSERT_EQ(local.size(), 103u);
    EXPECT_EQ(ExtractField(local[102], ',', 5), "K9D99");
    EXPECT_EQ(local.Bytes().find("\r\n\r\n"), std::string_view::npos);  // no torn or empty line
}

}  // namespace
}  // namespace vantrel
