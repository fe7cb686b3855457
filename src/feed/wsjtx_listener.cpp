#include "feed/wsjtx_listener.h"

#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QVariant>

#include "feed/socket_drops.h"
#include "feed/udp_socket_reading.h"

namespace vantrel {

WsjtxListener::WsjtxListener(QObject* parent) : QObject(parent) {
    connect(&socket_, &QUdpSocket::readyRead, this, &WsjtxListener::ReadPending);
}

bool WsjtxListener::Listen(const std::string& address, int port, std::string* error) {
    Stop();
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        Stop();
        return false;
    };
    QHostAddress host;
    if (address == "localhost")
        host = QHostAddress::LocalHost;
    else if (!host.setAddress(QString::fromStdString(address)))
        return fail("\"" + address + "\" is not an IP address");
    if (port <= 0 || port > 65535) return fail("port " + std::to_string(port) + " is not a UDP port");

    multicast_ = host.isMulticast();
    const QHostAddress bindAddress = !multicast_ ? host
                                     : host.protocol() == QAbstractSocket::IPv6Protocol ? QHostAddress(QHostAddress::AnyIPv6)
                                                                                        : QHostAddress(QHostAddress::AnyIPv4);
    if (!socket_.bind(bindAddress, static_cast<quint16>(port),
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return fail(socket_.errorString().toStdString());
    address_ = host;
    // Room for a burst of decodes at the end of a period while the window is busy for a moment.
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 << 20));
    dropsAtBind_ = SocketDrops(static_cast<int>(socket_.socketDescriptor())).value_or(0);

    if (multicast_) {
        for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
            const auto flags = interface.flags();
            if (!(flags & QNetworkInterface::IsUp)) continue;
            if (!(flags & QNetworkInterface::CanMulticast) && !(flags & QNetworkInterface::IsLoopBack)) continue;
            if (socket_.joinMulticastGroup(host, interface)) joined_.append(interface.name());
        }
        if (joined_.isEmpty()) {
            // No interface took it by name: the system's choice of interface, if any.
            if (!socket_.joinMulticastGroup(host))
                return fail("cannot join the group " + address + ": " + socket_.errorString().toStdString());
            joined_.append(QStringLiteral("default"));
        }
    }
    return true;
}

void WsjtxListener::Stop() {
    if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.close();
    address_.clear();
    multicast_ = false;
    joined_.clear();
}

bool WsjtxListener::IsListening() const { return socket_.state() == QAbstractSocket::BoundState; }

std::string WsjtxListener::Description() const {
    if (!IsListening()) return {};
    std::string text = address_.toString().toStdString() + ":" + std::to_string(socket_.localPort());
    if (multicast_) text += " (" + joined_.join(", ").toStdString() + ")";
    return text;
}

std::vector<std::string> WsjtxListener::TakeWaiting() { return TakeWaitingDatagrams(socket_); }

std::uint64_t WsjtxListener::DroppedSinceBind() const { return DropsSinceBind(socket_, dropsAtBind_); }

bool WsjtxListener::SendTo(const std::string& bytes, const std::string& address, std::uint16_t port) {
    QHostAddress host;
    if (!IsListening() || port == 0 || !host.setAddress(QString::fromStdString(address))) return false;
    const qint64 sent =
        socket_.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()), host, port);
    return sent == static_cast<qint64>(bytes.size());
}

void WsjtxListener::ReadPending() {
    QList<QByteArray> datagrams;
    std::vector<SourcedDatagram> sourced;
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_.receiveDatagram();
        if (!datagram.isValid()) continue;
        datagrams.append(datagram.data());
        // An IPv4 sender reached through an IPv6 socket reads as ::ffff:a.b.c.d; its plain form
        // is the one to answer.
        QHostAddress sender = datagram.senderAddress();
        bool mapped = false;
        const quint32 v4 = sender.toIPv4Address(&mapped);
        if (mapped) sender = QHostAddress(v4);
        sourced.push_back({datagram.data().toStdString(), sender.toString().toStdString(),
                           static_cast<std::uint16_t>(datagram.senderPort())});
    }
    if (datagrams.isEmpty()) return;
    emit datagramsReceived(datagrams);
    emit sourcedDatagramsReceived(sourced);
}

}  // namespace vantrel
