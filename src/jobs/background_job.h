// Long work on a thread of its own. The work gets its inputs by value and a cancel flag; its
// progress and its result come back through a mailbox to the thread that started it, so the
// engine never shares state with the worker. Cancelling (or destroying the job) waits for the
// thread; a result that arrives after a cancel is dropped.
//
// Long loops report progress every few thousand items or per cent; that call is also where a
// cancelled job stops: once the flag is set, the progress call does not return to the loop but
// unwinds the work (JobCancelled), so closing never waits for the rest of a scan. Work that runs
// long without reporting progress looks at `cancelled` itself.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "jobs/job_mailbox.h"

namespace vantrel {

// Thrown by a cancelled job's progress call; the job catches it and hands nothing back.
struct JobCancelled {};

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
        JobMailbox* mailbox = &mailbox_;
        auto progress = [mailbox, cancelled, onProgress](int percent) {
            if (*cancelled) throw JobCancelled{};
            mailbox->Post([cancelled, onProgress, percent] {
                if (!*cancelled) onProgress(percent);
            });
        };
        thread_ = std::thread([this, work = std::move(work), progress, onDone, cancelled, mailbox] {
            std::optional<Result> finished;
            try {
                finished.emplace(work(*cancelled, progress));
            } catch (const JobCancelled&) {
                return;
            }
            // A delivery is copied; the result, which may only move, is held by a shared pointer.
            mailbox->Post([this, cancelled, onDone, result = std::make_shared<Result>(std::move(*finished))] {
                if (*cancelled) return;
                Join();
                onDone(std::move(*result));
            });
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

    JobMailbox mailbox_;
    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> cancelled_;
    bool running_ = false;
};

}  // namespace vantrel
