// The repairs of the local log. Each runs on a thread of its own with the progress panel, on a
// copy of the log; while it runs it holds the log, so whatever arrives meanwhile (a datagram, a
// click, the close) waits for its result and nothing is lost under it.
#pragma once

#include <functional>
#include <string>

#include "jobs/background_job.h"
#include "app/engine/engine_core.h"
#include "log/log_maintenance.h"

namespace vantrel {

class RepairsPart {
public:
    RepairsPart(EngineCore& core, StationView& station) : core_(core), station_(station) {}

    // Each `done` runs after the repair's result is in the log (or it changed nothing).
    void check_grids_in_log(const LogLines& gridsList, std::function<void()> done = {});
    void check_dates_in_log(std::function<void()> done = {});
    void RemoveLogJunk();
    // Both ask the operator first, and keep a dated copy of the log before they rewrite it.
    void ZapUserField();
    void CheckMyGrid();
    // Asks the operator the question and runs `work` on "Yes" (in its turn, as any entry point).
    std::function<void(const std::string& caption, const std::string& question, std::function<void()> work)> confirm;

private:
    // False (the operator told) when the log could not be written.
    bool Rewrite(LogLines lines);
    void Confirm(const std::string& caption, const std::string& question, std::function<void()> work);
    // Writes what is waiting and copies the log to "Viewer_local_log ddmmyy hhnnss.txt"; false
    // (and the operator told why) when either failed.
    bool KeepDatedCopy(fs::path* copy);
    void ZapUserFieldConfirmed();
    void CheckMyGridConfirmed();

    EngineCore& core_;
    StationView& station_;
    BackgroundJob<RepairResult> job_;
    BackgroundJob<MyGridResult> myGridJob_;
    BackgroundJob<LogLines> junkJob_;
};

}  // namespace vantrel
