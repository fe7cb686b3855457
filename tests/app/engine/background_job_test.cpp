// Long work off the engine's thread: a cancel stops a scan at its next progress step, so the
// close never waits for the rest of it, and nothing is handed back.
#include <gtest/gtest.h>

#include <chrono>

#include "jobs/background_job.h"
#include "support/engine_station.h"

namespace vantrel {
namespace {

TEST(BackgroundJob, ACancelStopsTheScanAtItsNextProgressStep) {
    using Clock = std::chrono::steady_clock;
    std::atomic<bool> scanning = false;
    bool handedBack = false;
    const auto begun = Clock::now();
    {
        BackgroundJob<int> job;
        // A scan that would take a minute, reporting progress as a journal scan does.
        job.Start(
            [&scanning](const std::atomic<bool>&, const BackgroundJob<int>::Progress& progress) {
                for (const auto end = Clock::now() + std::chrono::minutes(1); Clock::now() < end;) {
                    scanning = true;
                    progress(1);
                }
                return 1;
            },
            [](int) {}, [&handedBack](int) { handedBack = true; });
        ASSERT_TRUE(test::RunEventsUntil([&] { return scanning.load(); }, 20000));
        job.Cancel();
        EXPECT_FALSE(job.Running());
    }
    test::RunEventsUntil([] { return false; }, 50);
    EXPECT_FALSE(handedBack);
    EXPECT_LT(Clock::now() - begun, std::chrono::seconds(30));
}

}  // namespace
}  // namespace vantrel
