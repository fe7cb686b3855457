// Work handed off the engine's thread with its completion handed back: each piece runs as a
// background job of its own, so a piece never waits for another and every one that is not
// cancelled gets its completion called on the engine's thread. Destroying the runner cancels and
// waits for the jobs still running; their completions are then not called.
#pragma once

#include <functional>
#include <list>
#include <memory>

#include "app/engine/background_job.h"

namespace vantrel {

class JobRunner {
public:
    void Run(std::function<void()> work, std::function<void()> done) {
        // Jobs whose completion has run are finished with; they are let go here, never from
        // within their own completion.
        jobs_.remove_if([](const std::unique_ptr<BackgroundJob<bool>>& job) { return !job->Running(); });
        auto& job = jobs_.emplace_back(std::make_unique<BackgroundJob<bool>>());
        job->Start(
            [work = std::move(work)](const std::atomic<bool>&, const BackgroundJob<bool>::Progress&) {
                work();
                return true;
            },
            [](int) {}, [done = std::move(done)](bool) { done(); });
    }

    // Jobs started and not yet handed back.
    std::size_t Running() const {
        std::size_t running = 0;
        for (const auto& job : jobs_) running += job->Running() ? 1 : 0;
        return running;
    }

private:
    std::list<std::unique_ptr<BackgroundJob<bool>>> jobs_;
};

}  // namespace vantrel
