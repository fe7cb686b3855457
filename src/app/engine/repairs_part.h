// The repairs of the local log. Each runs on a thread of its own with the progress panel, on a
// copy of the log; while it runs it holds the log, so whatever arrives meanwhile (a datagram, a
// click, the close) waits for its result and nothing is lost under it.
#pragma once

#include <functional>

#include "app/engine/background_job.h"
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
    void ZapUserField();
    void CheckMyGrid();

    // The log's lines were replaced: the lists derived from it start again.
    std::function<void()> onLogRewritten;

private:
    void Rewrite(LogLines lines);

    EngineCore& core_;
    StationView& station_;
    BackgroundJob<RepairResult> job_;
    BackgroundJob<MyGridResult> myGridJob_;
    BackgroundJob<LogLines> junkJob_;
};

}  // namespace vantrel
