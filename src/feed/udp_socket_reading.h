// What both receivers do with their bound socket at a stop: take every datagram still waiting,
// and tell how many the system dropped since the socket was bound.
#pragma once

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <cstdint>
#include <string>
#include <vector>

#include "feed/socket_drops.h"

namespace vantrel {

inline std::vector<std::string> TakeWaitingDatagrams(QUdpSocket& socket) {
    std::vector<std::string> datagrams;
    while (socket.state() == QAbstractSocket::BoundState && socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram();
        if (datagram.isValid()) datagrams.push_back(datagram.data().toStdString());
    }
    return datagrams;
}

inline std::uint64_t DropsSinceBind(const QUdpSocket& socket, std::uint64_t dropsAtBind) {
    if (socket.state() != QAbstractSocket::BoundState) return 0;
    const std::uint64_t now = SocketDrops(static_cast<int>(socket.socketDescriptor())).value_or(dropsAtBind);
    return now > dropsAtBind ? now - dropsAtBind : 0;
}

}  // namespace vantrel
