// The program itself, started without a window on a temporary station, stopped by SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QProcess>
#include <QThread>
#include <QUdpSocket>
#include <QProcessEnvironment>

#include <set>

#include "log/extract_field.h"
#include "log/log_lines.h"
#include "support/engine_process.h"

namespace vantrel {
namespace {

TEST(Headless, StartsKeepsTheLocalLogAndShutsDownOnSigterm) {
    test::TempFolder root;
    const int port = 40000 + ::getpid() % 20000;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini",
                    "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\n"
                    "N1MMServer=127.0.0.1\nN1MMServerPort=" + std::to_string(port) + "\n");
    test::WriteFile(root / "WSJT-X" / "wsjtx.log",
                    "2026-12-08,14:15:53,2026-12-08,14:15:53,K1ABC,FN42,14.081500,FT4,-15,-12,100,,,\n"
                    "2026-12-08,14:19:19,2026-12-08,14:19:19,K1ABC,FN42,14.075500,FT8,-15,-12,100,a,b,c "
                    "caf\xc3\xa9,Jo, Smith,\n");
    std::filesystem::create_directories(root / "viewer");

    auto process = test::StartProgram(root, {"/HEADLESS", "/NVC"});
    ASSERT_TRUE(process->waitForStarted(5000));
    ASSERT_TRUE(test::WaitForOutput(*process, "running without a window", 20000));

    const auto local = LoadLogLines(root / "viewer" / "Viewer_local_log.csv");
    ASSERT_TRUE(local.has_value());
    ASSERT_EQ(local->size(), 2u);
    EXPECT_EQ(ExtractField((*local)[1], ',', 13), " Smith");
    EXPECT_EQ(ExtractField((*local)[1], ',', 14), "W9XYZ");

    // A second copy is refused while the first runs.
    auto second = test::StartProgram(root, {"/HEADLESS"});
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardError().contains("Vantrel Application is already active"));

    test::SendSignal(*process, SIGTERM);
    ASSERT_TRUE(process->waitForFinished(10000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);

    const std::string settings = test::ReadFile(root / "settings" / "Vantrel.ini");
    EXPECT_NE(settings.find("VantrelerActive=0"), std::string::npos) << settings;
    EXPECT_NE(settings.find("VantrelerCall=W9XYZ"), std::string::npos) << settings;
    EXPECT_NE(test::ReadFile(root / "viewer" / "tracer.txt").find(" Close"), std::string::npos);
}

std::size_t LocalLogSize(const test::TempFolder& root) {
    const auto lines = LoadLogLines(root / "viewer" / "Viewer_local_log.csv");
    return lines ? lines->size() : 0;
}

TEST(Headless, KeepsEveryContactOfABurstOverARealSocket) {
    test::TempFolder root;
    const int port = 30000 + ::getpid() % 9000;
    test::WriteFile(root / "WSJT-X" / "WSJT-X.ini",
                    "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\n"
                    "N1MMServer=127.0.0.1\nN1MMServerPort=" + std::to_string(port) + "\n");
    std::filesystem::create_directories(root / "viewer");
    auto process = test::StartProgram(root, {"/HEADLESS"});
    ASSERT_TRUE(process->waitForStarted(5000));
    ASSERT_TRUE(test::WaitForOutput(*process, "running without a window", 20000));

    // 1,000 distinct contacts at 500 a second, as WSJT-X sends them.
    QUdpSocket sender;
    auto datagram = [](int i) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d%02d%02d", i / 3600 % 24, i / 60 % 60, i % 60);
        const std::string call = std::string("K").append(std::to_string(i)).append("XY");
        return "<call:" + std::to_string(call.size()) + ">" + call +
               " <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-15 <rst_rcvd:3>-12 <qso_date:8>20261208"
               " <time_on:6>" + std::string(time) + " <qso_date_off:8>20261208 <time_off:6>" + time +
               " <band:3>20m <freq:9>14.075500 <station_callsign:5>W9XYZ <my_gridsquare:4>EN37 <eor>";
    };
    for (int i = 0; i < 1000; ++i) {
        const std::string bytes = datagram(i);
        sender.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()), QHostAddress::LocalHost,
                             static_cast<quint16>(port));
        if (i % 10 == 9) QThread::msleep(20);
    }
    for (int waited = 0; waited < 30000 && LocalLogSize(root) < 1000; waited += 100) QThread::msleep(100);
    ASSERT_EQ(LocalLogSize(root), 1000u);
    // The same datagram again is logged once.
    const std::string again = datagram(500);
    sender.writeDatagram(again.data(), static_cast<qint64>(again.size()), QHostAddress::LocalHost,
                         static_cast<quint16>(port));
    QThread::msleep(500);
    test::SendSignal(*process, SIGTERM);
    ASSERT_TRUE(process->waitForFinished(10000));
    const auto local = LoadLogLines(root / "viewer" / "Viewer_local_log.csv");
    ASSERT_EQ(local->size(), 1000u);
    std::set<std::string> calls;
    for (std::string_view line : *local) calls.insert(std::string(ExtractFieldView(line, ',', 5)));
    EXPECT_EQ(calls.size(), 1000u);
}

}  // namespace
}  // namespace vantrel
