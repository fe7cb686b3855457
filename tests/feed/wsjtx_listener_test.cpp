#include "feed/wsjtx_listener.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QVariant>
#include <QThread>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "support/temp_folder.h"
#include "wsjtx/wsjtx_message.h"
#include "wsjtx/wsjtx_udp_server.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

// Runs the event loop until the condition holds or five seconds have passed.
template <class Condition>
bool WaitFor(Condition done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}

quint16 FreePort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::AnyIPv4, 0);
    return probe.localPort();
}

// The loopback interface takes multicast only with its MULTICAST flag (off on many machines and
// containers). A test run as root switches it on for its own run and back off after it.
class LoopbackMulticast {
public:
    LoopbackMulticast() {
        if (Enabled()) {
            ok_ = true;
            return;
        }
        if (::geteuid() != 0) {
            reason_ = "the loopback interface has no MULTICAST flag and the test is not run as root";
            return;
        }
        switchedOn_ = std::system("ip link set lo multicast on") == 0 && Enabled();
        ok_ = switchedOn_;
        if (!ok_) reason_ = "\"ip link set lo multicast on\" failed";
    }
    ~LoopbackMulticast() {
        if (switchedOn_) [[maybe_unused]] int ignored = std::system("ip link set lo multicast off");
    }
    bool ok() const { return ok_; }
    const std::string& reason() const { return reason_; }

private:
    static bool Enabled() {
        std::ifstream flags("/sys/class/net/lo/flags");
        unsigned long value = 0;
        return flags >> std::hex >> value && (value & 0x1000) != 0;  // IFF_MULTICAST
    }
    bool ok_ = false, switchedOn_ = false;
    std::string reason_;
};

std::vector<std::string> MulticastCaptures() {
    std::vector<fs::path> files;
    for (const auto& entry :
         fs::directory_iterator(test::TestDataFolder() / "wsjtx-2.6.1" / "protocol" / "multicast-239.255.0.1"))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<std::string> datagrams;
    for (const fs::path& file : files) datagrams.push_back(test::ReadFile(file));
    return datagrams;
}

TEST(WsjtxListener, MulticastGroupOnLoopbackReachesUsAndAnotherListenerAlike) {
    VANTREL_REQUIRE_TESTDATA();
    const LoopbackMulticast loopback;
    if (!loopback.ok()) GTEST_SKIP() << loopback.reason();

    // A group and port of this run only, so that parallel runs do not meet.
    std::mt19937 random(static_cast<unsigned>(::getpid()));
    const std::string group = "239.255." + std::to_string(random() % 250 + 1) + "." + std::to_string(random() % 250 + 1);
    const quint16 port = FreePort();
    const QNetworkInterface lo = QNetworkInterface::interfaceFromName("lo");

    WsjtxListener listener;
    std::string error;
    ASSERT_TRUE(listener.Listen(group, port, &error)) << error;
    EXPECT_TRUE(listener.IsMulticast());
    EXPECT_TRUE(listener.JoinedInterfaces().contains("lo")) << listener.Description();
    QList<QByteArray> ours;
    int batches = 0;
    QObject::connect(&listener, &WsjtxListener::datagramsReceived, [&](const QList<QByteArray>& datagrams) {
        ours.append(datagrams);
        ++batches;
    });

    // Another program listening on the same group and port.
    QUdpSocket other;
    ASSERT_TRUE(other.bind(QHostAddress::AnyIPv4, port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        << other.errorString().toStdString();
    ASSERT_TRUE(other.joinMulticastGroup(QHostAddress(QString::fromStdString(group)), lo));

    // WSJT-X sending the real session to the group on lo, all at once.
    QUdpSocket wsjtx;
    ASSERT_TRUE(wsjtx.bind(QHostAddress::AnyIPv4, 0));
    wsjtx.setMulticastInterface(lo);
    wsjtx.setSocketOption(QAbstractSocket::MulticastLoopbackOption, QVariant(1));
    wsjtx.setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
    const std::vector<std::string> session = MulticastCaptures();
    ASSERT_EQ(session.size(), 24u);
    for (const std::string& datagram : session)
        ASSERT_EQ(wsjtx.writeDatagram(datagram.data(), static_cast<qint64>(datagram.size()),
                                      QHostAddress(QString::fromStdString(group)), port),
                  static_cast<qint64>(datagram.size()));

    QList<QByteArray> theirs;
    ASSERT_TRUE(WaitFor([&] {
        while (other.hasPendingDatagrams()) theirs.append(other.receiveDatagram().data());
        return ours.size() >= 24 && theirs.size() >= 24;
    })) << ours.size() << " and " << theirs.size() << " of 24 received";
    ASSERT_EQ(ours.size(), 24);
    EXPECT_EQ(theirs.size(), 24);
    EXPECT_LT(batches, 24);  // what waited was handed on together
    for (std::size_t i = 0; i < session.size(); ++i) {
        EXPECT_EQ(ours[static_cast<int>(i)].toStdString(), session[i]) << i;
        EXPECT_EQ(wsjtx::ReadDatagram(ours[static_cast<int>(i)].toStdString()).status, wsjtx::ReadStatus::Read);
    }
}

TEST(WsjtxListener, UnicastAddressIsSharedAndRebindsWhenTheConfigurationChanges) {
    test::TempFolder folder;
    const quint16 port = FreePort();
    test::WriteFile(folder / "WSJT-X.ini", "[Configuration]\nUDPServer=127.0.0.1\nUDPServerPort=" +
                                                std::to_string(port) + "\nUDPTTL=1\n");
    const WsjtxUdpServer server = ReadWsjtxUdpServer(LogLines::FromBytes(test::ReadFile(folder / "WSJT-X.ini")));
    ASSERT_EQ(server.port, port);

    WsjtxListener listener, second;
    std::string error;
    ASSERT_TRUE(listener.Listen(server.address, server.port, &error)) << error;
    EXPECT_FALSE(listener.IsMulticast());
    EXPECT_EQ(listener.Description(), "127.0.0.1:" + std::to_string(port));
    EXPECT_TRUE(second.Listen(server.address, server.port, &error)) << "the address is not shared: " << error;
    second.Stop();
    EXPECT_FALSE(second.IsListening());
    EXPECT_EQ(second.Description(), "");

    QList<QByteArray> received;
    QObject::connect(&listener, &WsjtxListener::datagramsReceived,
                     [&](const QList<QByteArray>& datagrams) { received.append(datagrams); });
    QUdpSocket wsjtx;
    wsjtx.writeDatagram(QByteArray("one"), QHostAddress::LocalHost, port);
    ASSERT_TRUE(WaitFor([&] { return received.size() == 1; }));

    // A new port in the configuration: the listener moves to it.
    const quint16 moved = FreePort();
    ASSERT_TRUE(listener.Listen("localhost", moved, &error)) << error;
    EXPECT_EQ(listener.LocalPort(), moved);
    wsjtx.writeDatagram(QByteArray("two"), QHostAddress::LocalHost, moved);
    ASSERT_TRUE(WaitFor([&] { return received.size() == 2; }));
    EXPECT_EQ(received[1], QByteArray("two"));

    EXPECT_FALSE(listener.Listen("wsjtx.example", 2237, &error));
    EXPECT_NE(error.find("not an IP address"), std::string::npos);
    EXPECT_FALSE(listener.IsListening());
    EXPECT_FALSE(listener.Listen("127.0.0.1", 0, &error));
    EXPECT_EQ(ReadWsjtxUdpServer(LogLines{"UDPServerPort=x2237"}).rejectedPort, "x2237");
    EXPECT_EQ(ReadWsjtxUdpServer(LogLines{"UDPServer="}).address, "127.0.0.1");
    EXPECT_EQ(ReadWsjtxUdpServer(LogLines{"UDPServer=239.255.0.1", "UDPServerPort=0"}).port, 0);
}

}  // namespace
}  // namespace vantrel
