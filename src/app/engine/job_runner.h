// Work handed off the engine's thread with its completion handed back: each piece runs as a
// background job of its own, so a piece never waits for another and every one that is not
// cancelled gets its completion called on the engine's thread. Destroying the runner cancels and
// waits for the jobs still running; their completions are then not called.
#pragma once

#include <functional>
#include <list>
#include <memory>

#include "jobs/background_job.h"

namespace vantrel {

class JobRunner {
public:
    void Run(std::function<void()> work, std::function<void()> done) {
        // Jobs whose completion has returned are finished with. A completion that starts new
        // work runs inside its own job, which is therefore kept until a later call.
        jobs_.remove_if([](const Entry& entry) { return *entry.handedBack; });
        Entry& entry = jobs_.emplace_back(Entry{std::make_unique<BackgroundJob<bool>>(), std::make_shared<bool>(false)});
        entry.job->Start(
            [work = std::move(work)](const std::atomic<bool>&, const BackgroundJob<bool>::Progress&) {
                work();
                return true;
            },
            [](int) {},
            [done = std::move(done), handedBack = entry.handedBack](bool) {
                done();
                *handedBack = true;
            });
    }

    // Jobs started and not yet handed back.
    std::size_t Running() const {
        std::size_t running = 0;
        for (const Entry& entry : jobs_) running += *entry.handedBack ? 0 : 1;
        return running;
    }

private:
    struct Entry {
        std::unique_ptr<BackgroundJob<bool>> job;
        std::shared_ptr<bool> handedBack;
    };
    std::list<Entry> jobs_;
};

}  // namespace vantrel
