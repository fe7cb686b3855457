// Hands what a worker thread made to the thread that owns the mailbox. The worker posts a
// delivery under a mutex and wakes the owner's event loop by name; the owner takes the
// deliveries under the same mutex and runs them. Everything handed over passes that mutex, so a
// race detector sees the hand-over even though Qt's own event queue is not instrumented.
#pragma once

#include <QObject>

#include <functional>
#include <mutex>
#include <vector>

namespace vantrel {

class JobMailbox : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    // From any thread: the delivery runs later on the mailbox's thread, unless the mailbox is
    // destroyed first.
    void Post(std::function<void()> delivery);

private:
    Q_INVOKABLE void Deliver();

    std::mutex mutex_;
    std::vector<std::function<void()>> pending_;
};

}  // namespace vantrel
