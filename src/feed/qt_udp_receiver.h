// The logged-contact receiver on a real UDP socket.
#pragma once

#include <QObject>
#include <QUdpSocket>

#include <cstdint>
#include <string>
#include <vector>

#include "base/services.h"

namespace vantrel {

class QtUdpReceiver : public QObject, public UdpReceiver {
    Q_OBJECT
public:
    explicit QtUdpReceiver(QObject* parent = nullptr);

    bool Bind(const std::string& host, int port, std::string* error) override;
    void Stop() override;
    bool IsBound() const override;
    void Echo(const std::string& bytes, const std::string& host, int port) override;
    std::vector<std::string> TakeWaiting() override;
    std::uint64_t DroppedSinceBind() const override;
    quint16 LocalPort() const { return socket_.localPort(); }

signals:
    // Every datagram waiting at the socket, in arrival order: a burst is handed over at once.
    void datagramsReceived(const std::vector<std::string>& datagrams);

private:
    void ReadPending();
    QUdpSocket socket_;
    QUdpSocket echo_;
    std::uint64_t dropsAtBind_ = 0;
};

}  // namespace vantrel
