// Long work that holds the local log: the progress panel shows its title and bar while it runs
// on its own thread, everything that arrives meanwhile waits for it (LogGate), and its result is
// taken on the engine's thread before the waiting work runs.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "jobs/background_job.h"
#include "app/engine/engine_core.h"

namespace vantrel {

template <typename Result>
void StartHeldJob(EngineCore& core, BackgroundJob<Result>& job, const std::string& title,
                  typename BackgroundJob<Result>::Work work, std::function<void(Result)> done) {
    core.Gate().Hold();
    core.Notices().SetProgressTitle(title);
    core.Notices().ShowProgress(true, 0);
    job.Start(
        std::move(work), [&core](int percent) { core.Notices().ShowProgress(true, percent); },
        [&core, done = std::move(done)](Result result) {
            core.Notices().ShowProgress(false, 100);
            core.Notices().SetProgressTitle("Progress");
            done(std::move(result));
            core.Gate().Release();
        });
}

// Progress in per cent from a count of items done.
inline int Percent(std::size_t done, std::size_t total) {
    return total == 0 ? 100 : static_cast<int>(done * 100 / total);
}

}  // namespace vantrel
