// The receiver of WSJT-X's own UDP messages, on the UDPServer address and UDPServerPort of its
// configuration, listening beside any other program that does the same.
//
// A unicast address is bound with address sharing. A multicast group is received on its port
// and joined on every interface that can take multicast, loopback included (WSJT-X sends to a
// group once per interface listed in its settings, often only lo), so every listener on the
// machine receives every message. The datagrams that are waiting when the socket reports them
// are handed on together, in the order they came, in one signal.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUdpSocket>

#include <cstdint>
#include <string>
#include <vector>

#include "base/services.h"

namespace vantrel {

class WsjtxListener : public QObject, public MessageListener {
    Q_OBJECT
public:
    explicit WsjtxListener(QObject* parent = nullptr);

    // Binds anew (any earlier binding is released first). `address` is an IPv4 or IPv6 address
    // or "localhost". False, with the reason, when nothing could be bound; a group that could be
    // joined on some interfaces but not on others still counts as bound.
    bool Listen(const std::string& address, int port, std::string* error = nullptr) override;
    void Stop() override;
    bool IsListening() const override;

    quint16 LocalPort() const { return socket_.localPort(); }
    bool IsMulticast() const { return multicast_; }
    // The interfaces the group was joined on ("lo", "eth0"); empty for a unicast address.
    const QStringList& JoinedInterfaces() const { return joined_; }
    // "239.255.0.1:2237 (lo, eth0)" or "127.0.0.1:2237"; empty while not listening.
    std::string Description() const override;
    std::vector<std::string> TakeWaiting() override;
    std::uint64_t DroppedSinceBind() const override;
    bool SendTo(const std::string& bytes, const std::string& address, std::uint16_t port) override;

signals:
    void datagramsReceived(const QList<QByteArray>& datagrams);
    // The same datagrams with the address and port each came from.
    void sourcedDatagramsReceived(const std::vector<vantrel::SourcedDatagram>& datagrams);

private:
    void ReadPending();

    QUdpSocket socket_;
    QHostAddress address_;
    bool multicast_ = false;
    QStringList joined_;
    std::uint64_t dropsAtBind_ = 0;
};

}  // namespace vantrel
