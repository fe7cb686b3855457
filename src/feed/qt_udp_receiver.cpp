#include "feed/qt_udp_receiver.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QVariant>

#include "feed/socket_drops.h"
#include "feed/udp_socket_reading.h"

namespace vantrel {

QtUdpReceiver::QtUdpReceiver(QObject* parent) : QObject(parent) {
    connect(&socket_, &QUdpSocket::readyRead, this, &QtUdpReceiver::ReadPending);
}

bool QtUdpReceiver::Bind(const std::string& host, int port, std::string* error) {
    Stop();
    QHostAddress address;
    if (host.empty()) {
        address = QHostAddress::AnyIPv4;
    } else if (!address.setAddress(QString::fromStdString(host))) {
        if (error) *error = "\"" + host + "\" is not an IP address";
        return false;
    }
    if (port <= 0 || port > 65535) {
        if (error) *error = "port " + std::to_string(port) + " is not a UDP port";
        return false;
    }
    if (!socket_.bind(address, static_cast<quint16>(port),
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        if (error) *error = socket_.errorString().toStdString();
        return false;
    }
    // Room for a burst of contacts while the window is busy for a moment.
    socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 << 20));
    dropsAtBind_ = SocketDrops(static_cast<int>(socket_.socketDescriptor())).value_or(0);
    return true;
}

void QtUdpReceiver::Stop() {
    if (socket_.state() != QAbstractSocket::UnconnectedState) socket_.close();
}

bool QtUdpReceiver::IsBound() const { return socket_.state() == QAbstractSocket::BoundState; }

void QtUdpReceiver::Echo(const std::string& bytes, const std::string& host, int port) {
    echo_.writeDatagram(bytes.data(), static_cast<qint64>(bytes.size()),
                        QHostAddress(QString::fromStdString(host)), static_cast<quint16>(port));
}

std::vector<std::string> QtUdpReceiver::TakeWaiting() { return TakeWaitingDatagrams(socket_); }

std::uint64_t QtUdpReceiver::DroppedSinceBind() const { return DropsSinceBind(socket_, dropsAtBind_); }

void QtUdpReceiver::ReadPending() {
    std::vector<std::string> datagrams = TakeWaiting();
    if (!datagrams.empty()) emit datagramsReceived(datagrams);
}

}  // namespace vantrel
