// Long work on a thread of its own. The work gets its inputs by value and a cancel flag; its
// progress and its result come back as queued calls on the thread that started it, so the
// engine never shares state with the worker. Cancelling (or destroying the job) waits for the
// thread; a result that arrives after a cancel is dropped.
#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace vantrel {

template <typename Result>
class BackgroundJob {
public:
    using Progress = std::function<void(int percent)>;
    using Work = std::function<Result(const std::atomic<bool>& cancelled, const Progress& progress)>;

    ~BackgroundJob() { Cancel(); }

    bool Running() const { return running_; }

    void Start(Work work, std::function<void(int)> onProgress, std::function<void(Result)> onDone) {
        Cancel();
        cancelled_ = std::make_shared<std::atomic<bool>>(false);
        running_ = true;
        auto cancelled = cancelled_;
        QPointer<QObject> context = &context_;
        auto progress = [context, cancelled, onProgress](int percent) {
            QMetaObject::invokeMethod(context.data(), [cancelled, onProgress, percent] {
                if (!*cancelled) onProgress(percent);
            }, Qt::QueuedConnection);
        };
        thread_ = std::thread([this, work = std::move(work), progress, onDone, cancelled, context] {
            Result result = work(*cancelled, progress);
            QMetaObject::invokeMethod(context.data(), [this, cancelled, onDone, result = std::move(result)]() mutable {
                if (*cancelled) return;
                Join();
                onDone(std::move(result));
            }, Qt::QueuedConnection);
        });
    }

    void Cancel() {
        if (cancelled_) *cancelled_ = true;
        Join();
    }

private:
    void Join() {
        if (thread_.joinable()) thread_.join();
        running_ = false;
    }

    QObject context_;
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    bool running_ = false;
};

}  // namespace vantrel
