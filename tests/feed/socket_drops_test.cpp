#include "feed/socket_drops.h"

#include <gtest/gtest.h>
#include <sys/socket.h>

#include <QUdpSocket>

#include <thread>

namespace vantrel {
namespace {

TEST(SocketDrops, ReadsTheDropsOfTheSocketsOwnRow) {
    const std::string table =
        "   sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid  timeout inode ref pointer drops\n"
        "  120: 0100007F:092D 00000000:0000 07 00000000:00000000 00:00000000 00000000  1000        0 4711 2 0000000000000000 0\n"
        "  121: 0100007F:092E 00000000:0000 07 00000000:00034000 00:00000000 00000000  1000        0 4712 2 0000000000000000 17\n";
    EXPECT_EQ(DropsOfSocketInode(table, 4712), 17u);
    EXPECT_EQ(DropsOfSocketInode(table, 4711), 0u);
    EXPECT_FALSE(DropsOfSocketInode(table, 471).has_value());

    // A real socket whose small buffer overflows: the system's count grows.
    QUdpSocket socket;
    ASSERT_TRUE(socket.bind(QHostAddress::LocalHost, 0));
    const int fd = static_cast<int>(socket.socketDescriptor());
    const int small = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    ASSERT_EQ(SocketDrops(fd), 0u);
    QUdpSocket sender;
    const QByteArray bytes(1000, 'x');
    for (int i = 0; i < 200; ++i) sender.writeDatagram(bytes, QHostAddress::LocalHost, socket.localPort());
    EXPECT_GT(SocketDrops(fd).value_or(0), 0u);
}

}  // namespace
}  // namespace vantrel
