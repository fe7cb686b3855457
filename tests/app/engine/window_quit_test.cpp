// Quitting the real program's window in every way, with the map shown, hidden after showing and
// never shown: the process ends within two seconds, the lock is freed for the next start and the
// contact sent before the quit is in the local log. A driver loaded into the program does what
// the operator would (the close box, File "EXIT", Ctrl+Q); signals come from the test.
#include <gtest/gtest.h>
#include <signal.h>

#include <QElapsedTimer>
#include <QThread>

#include "support/engine_process.h"

namespace vantrel {
namespace {

#ifdef VANTREL_QUIT_DRIVER

struct Way {
    const char* name;
    int signal;  // 0: the driver quits through the window
};

// Starts the windowed program with the driver; true once the driver reports it ready.
std::unique_ptr<QProcess> StartDriven(const test::TempFolder& root, const std::filesystem::path& folder,
                                      const QString& map, const QString& how, QStringList environment = {}) {
    environment << QStringLiteral("LD_PRELOAD=" VANTREL_QUIT_DRIVER) << "VANTREL_DRIVE_MAP=" + map
                << "VANTREL_DRIVE_QUIT=" + how << QStringLiteral("ASAN_OPTIONS=verify_asan_link_order=0");
    return test::StartProgram(root, {"/NVC"}, folder, environment);
}

// Milliseconds from the start of the quit to the end of the process (the driver looks for
// "quit-now" every 50 ms); -1 when it did not end, or the driver did not quit.
qint64 QuitAndTime(QProcess& process, const std::filesystem::path& folder, int signal) {
    QElapsedTimer clock;
    clock.start();
    if (signal) test::SendSignal(process, signal);
    else test::WriteFile(folder / "quit-now", "");
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    const qint64 took = clock.elapsed();
    if (!signal && !process.readAllStandardError().contains("driver: quitting")) return -1;
    return took;
}

TEST(WindowQuit, EveryWayEndsTheProgramWithTheMapInAnyState) {
    test::TempFolder root;
    const int port = test::FreePort();
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(port));
    const std::filesystem::path folder = root / "viewer";
    const Way ways[] = {{"close", 0}, {"exit", 0}, {"ctrlq", 0}, {"SIGTERM", SIGTERM}, {"SIGINT", SIGINT},
                        {"SIGHUP", SIGHUP}};
    int contact = 0;
    // One folder for every run: a start that found the lock still held would never get ready.
    for (const char* map : {"shown", "hidden", "never"}) {
        for (const Way& way : ways) {
            const std::string run = std::string(way.name) + " with the map " + map;
            std::filesystem::remove(folder / "quit-now");
            test::WriteFile(root / "settings" / "Vantrel.ini",
                            std::string("[QQ0XYZ]\nVantrelerMapShow=") + (std::string(map) == "never" ? "0" : "1") + "\n");
            auto process = StartDriven(root, folder, map, way.signal ? "signal" : way.name);
            ASSERT_TRUE(test::WaitForOutput(*process, "driver: ready", 20000)) << run;
            test::SendDatagram(test::NumberedDatagram(contact), port);
            QThread::msleep(200);
            const qint64 took = QuitAndTime(*process, folder, way.signal);
            ASSERT_GE(took, 0) << run << ": the program did not end";
            EXPECT_LT(took, 2000) << run;
            EXPECT_EQ(process->exitStatus(), QProcess::NormalExit) << run;
            EXPECT_EQ(process->exitCode(), 0) << run;
            const std::string settings = test::ReadFile(root / "settings" / "Vantrel.ini");
            EXPECT_NE(settings.find("VantrelerActive=0"), std::string::npos) << run;
            const std::string call = "K" + std::to_string(contact++) + "XY,";
            EXPECT_NE(test::ReadFile(folder / "Viewer_local_log.csv").find(call), std::string::npos) << run;
        }
    }
    // The lock of the last run is free too.
    auto last = test::StartProgram(root, {"/HEADLESS", "/NVC"});
    EXPECT_TRUE(test::WaitForOutput(*last, "running without a window", 20000));
    test::SendSignal(*last, SIGTERM);
    EXPECT_TRUE(last->waitForFinished(10000));
}

// A stop signal while a message box waits for the operator (here the first run's "Support file
// creation required") closes the box and runs the close.
TEST(WindowQuit, AStopSignalClosesOpenMessages) {
    test::TempFolder root;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini", test::StationIni(test::FreePort()));
    test::WriteFile(root / "settings" / "Vantrel.ini", "[QQ0XYZ]\nVantrelerMapShow=1\n");
    auto process = StartDriven(root, root / "viewer", "shown", "dialog", {"VANTREL_NO_MODAL"});
    ASSERT_TRUE(test::WaitForOutput(*process, "driver: ready", 20000));
    const qint64 took = QuitAndTime(*process, root / "viewer", SIGTERM);
    ASSERT_GE(took, 0) << "the program did not end";
    EXPECT_LT(took, 2000);
    EXPECT_EQ(process->exitCode(), 0);
    EXPECT_NE(test::ReadFile(root / "settings" / "Vantrel.ini").find("VantrelerActive=0"), std::string::npos);
    EXPECT_NE(test::ReadFile(root / "viewer" / "tracer.txt").find(" Close"), std::string::npos);
}

#endif

}  // namespace
}  // namespace vantrel
