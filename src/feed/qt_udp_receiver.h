// The logged-contact receiver on a real UDP socket.
#pragma once

#include <QObject>
#include <QUdpSocket>

#include "app/engine/services.h"

namespace vantrel {

class QtUdpReceiver : public QObject, public UdpReceiver {
    Q_OBJECT
public:
    explicit QtUdpReceiver(QObject* parent = nullptr);

    bool Bind(const std::string& host, int port, std::string* error) override;
    void Stop() override;
    bool IsBound() const override;
    void Echo(const std::string& bytes, const std::string& host, int port) override;
    quint16 LocalPort() const { return socket_.localPort(); }

signals:
    void datagramReceived(const QByteArray& bytes);

private:
    void ReadPending();
    QUdpSocket socket_;
    QUdpSocket echo_;
};

}  // namespace vantrel
