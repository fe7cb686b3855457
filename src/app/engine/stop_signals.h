// SIGTERM, SIGINT and SIGHUP (a kill, Ctrl+C, the end of the login session) end the run through
// the event loop, so the close runs in order with or without a window.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace vantrel {

class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;
    bool Installed() const { return notifier_ != nullptr; }

signals:
    void stopRequested(int signalNumber);

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace vantrel
