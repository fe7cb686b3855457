// The program as operators run it, in a process of its own: contacts arriving while the window
// starts, the signals that end a session, two rigs sharing a folder, and kills at any instant.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "log/extract_field.h"
#include "log/log_lines.h"
#include "support/engine_process.h"

namespace vantrel {
namespace {

using test::NumberedDatagram;

std::vector<std::string> LoggedCalls(const test::TempFolder& root) {
    std::vector<std::string> calls;
    if (auto lines = LoadLogLines(root / "viewer" / "Viewer_local_log.csv"))
        for (std::string_view line : *lines) calls.emplace_back(ExtractFieldView(line, ',', 5));
    return calls;
}

// Contacts sent while the window's start-up copies a large journal are all logged, once each.
TEST(Process, TheWindowKeepsContactsThatArriveWhileItStarts) {
    test::TempFolder root;
    const int port = test::FreePort();
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(port));
    std::string journal;
    const std::string line = "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42\n";
    while (journal.size() < (96u << 20)) journal += line;
    test::WriteFile(root / "WSJT-X" / "ALL.TXT", journal);

    auto process = test::StartProgram(root, {"/NVC"});
    ASSERT_TRUE(test::WaitForUdpPort(port, 20000));
    for (int i = 0; i < 60; ++i) {
        test::SendDatagram(NumberedDatagram(i), port);
        QThread::msleep(25);
    }
    QThread::msleep(1500);
    test::SendSignal(*process, SIGTERM);
    ASSERT_TRUE(process->waitForFinished(20000));
    EXPECT_EQ(process->exitCode(), 0);
    const std::vector<std::string> calls = LoggedCalls(root);
    ASSERT_EQ(calls.size(), 60u);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(calls[static_cast<std::size_t>(i)], "K" + std::to_string(i) + "XY");
}

// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, the end of the session) run the window's close.
TEST(Process, SignalsCloseTheWindowInOrder) {
    for (int number : {SIGTERM, SIGHUP}) {
        test::TempFolder root;
        test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(test::FreePort()));
        auto process = test::StartProgram(root, {"/NVC"});
        for (int waited = 0; waited < 20000 && test::ReadFile(root / "viewer" / "tracer.txt").find("display_callsigns") == std::string::npos; waited += 50)
            QThread::msleep(50);
        test::SendSignal(*process, number);
        ASSERT_TRUE(process->waitForFinished(20000)) << number;
        EXPECT_EQ(process->exitCode(), 0);
        const std::string settings = test::ReadFile(root / "settings" / "Vantrel.ini");
        EXPECT_NE(settings.find("VantrelerActive=0"), std::string::npos) << settings;
        EXPECT_NE(settings.find("VantrelerLeft="), std::string::npos) << settings;
        EXPECT_NE(test::ReadFile(root / "viewer" / "tracer.txt").find(" Close"), std::string::npos);
    }
}

// Contacts that wait at the socket while the program is stopped are logged when a stop signal
// comes before it reads them; SIGTERM at any instant of the start-up ends the run in order.
TEST(Process, StopSignalsLogWhatWaitsAndAreNeverLostDuringStartUp) {
    test::TempFolder root;
    const int port = test::FreePort();
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(port));
    auto process = test::StartProgram(root, {"/HEADLESS", "/NVC"});
    ASSERT_TRUE(test::WaitForOutput(*process, "running without a window", 20000));
    const auto pid = static_cast<pid_t>(process->processId());
    ASSERT_GT(pid, 0);
    ::kill(pid, SIGSTOP);
    for (int i = 0; i < 3; ++i) test::SendDatagram(NumberedDatagram(i), port);
    QThread::msleep(100);
    ::kill(pid, SIGTERM);
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(process->waitForFinished(10000));
    EXPECT_EQ(process->exitCode(), 0);
    EXPECT_EQ(LoggedCalls(root), (std::vector<std::string>{"K0XY", "K1XY", "K2XY"}));

    std::mt19937 random(21);
    for (int round = 0; round < 12; ++round) {
        auto run = test::StartProgram(root, {"/HEADLESS", "/NVC"});
        QThread::msleep(random() % 400);
        test::SendSignal(*run, SIGTERM);
        ASSERT_TRUE(run->waitForFinished(10000)) << "round " << round << " outlived its SIGTERM";
    }
    EXPECT_EQ(LoggedCalls(root).size(), 3u);
}

// A second copy on the same folder stops, whatever its rig name or runtime folder.
TEST(Process, OneCopyPerFolderWhateverTheRigName) {
    test::TempFolder root;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(test::FreePort()));
    auto first = test::StartProgram(root, {"/HEADLESS", "--rig-name", "A"});
    ASSERT_TRUE(test::WaitForOutput(*first, "running without a window", 20000));
    auto second = test::StartProgram(root, {"/HEADLESS", "--rig-name", "B"});
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardError().contains("Vantrel Application is already active"));
    // Another folder is another station.
    auto other = test::StartProgram(root, {"/HEADLESS", "--rig-name", "B"}, root / "viewer-B");
    EXPECT_TRUE(test::WaitForOutput(*other, "running without a window", 20000));
    for (auto* process : {first.get(), other.get()}) {
        test::SendSignal(*process, SIGTERM);
        EXPECT_TRUE(process->waitForFinished(10000));
    }
}

// Killed at random instants under a stream of contacts: every line whole, none twice, nothing
// lost that was sent more than a second before the kill; the trace of the killed run is kept.
TEST(Process, KillsAtAnyInstantLoseNothingSentBefore) {
    test::TempFolder root;
    const int port = test::FreePort();
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(port));
    std::mt19937 random(5);
    std::set<std::string> mustBeThere;
    int next = 0;
    // VANTREL_KILL_ROUNDS asks for a longer run (bench/README.md).
    const char* rounds = std::getenv("VANTREL_KILL_ROUNDS");
    const int kRounds = rounds ? std::atoi(rounds) : 24;
    for (int round = 0; round < kRounds; ++round) {
        auto process = test::StartProgram(root, {"/HEADLESS", "/NVC"});
        ASSERT_TRUE(test::WaitForOutput(*process, "running without a window", 20000)) << round;
        const auto stop = std::chrono::steady_clock::now() + std::chrono::milliseconds(1050 + random() % 500);
        std::vector<std::pair<std::chrono::steady_clock::time_point, int>> sent;
        while (std::chrono::steady_clock::now() < stop) {
            test::SendDatagram(NumberedDatagram(next), port);
            sent.emplace_back(std::chrono::steady_clock::now(), next++);
            QThread::msleep(4);
        }
        test::SendSignal(*process, SIGKILL);
        const auto killed = std::chrono::steady_clock::now();
        ASSERT_TRUE(process->waitForFinished(10000));
        for (const auto& [when, i] : sent)
            if (killed - when > std::chrono::seconds(1)) mustBeThere.insert("K" + std::to_string(i) + "XY");
        EXPECT_NE(test::ReadFile(root / "viewer" / "tracer.txt").find("IdUDPRead"), std::string::npos);
    }
    const std::string bytes = test::ReadFile(root / "viewer" / "Viewer_local_log.csv");
    ASSERT_TRUE(bytes.ends_with("\r\n"));
    std::map<std::string, int> seen;
    const LogLines local = *LoadLogLines(root / "viewer" / "Viewer_local_log.csv");
    for (std::string_view line : local) {
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 17) << line;
        ++seen[std::string(ExtractFieldView(line, ',', 5))];
    }
    for (const auto& [call, count] : seen) EXPECT_EQ(count, 1) << call;
    for (const std::string& call : mustBeThere) EXPECT_TRUE(seen.count(call)) << call << " was lost";
    EXPECT_GT(mustBeThere.size(), static_cast<std::size_t>(40 * kRounds));
    std::printf("%d kills: %zu contacts in the log, %zu of them sent over a second before a kill, none lost, none twice\n",
                kRounds, seen.size(), mustBeThere.size());
    EXPECT_TRUE(std::filesystem::exists(root / "viewer" / "tracer-previous.txt"));
}

}  // namespace
}  // namespace vantrel
