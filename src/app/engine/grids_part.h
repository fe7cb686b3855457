// grids.txt: built from the journal copy on a worker thread, brought up to date from the
// journal's new lines by the schedule, and GridsList kept equal to the file. grids.state beside
// it keeps where the scan stopped, so a later start reads only the journal's new lines.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "jobs/background_job.h"
#include "app/engine/engine_core.h"
#include "refdata/grids_builder.h"

namespace vantrel {

class GridsPart {
public:
    GridsPart(EngineCore& core, StationView& station) : core_(core), station_(station) {}

    // The start-up: grids.txt loaded, thinned and saved in the background (the start-up does
    // not wait for it), then the journal's new lines scanned; or, without the file, built from
    // the journal.
    void LoadGrids();
    // False while GridsList is being loaded: it is empty until then.
    bool Loaded() const { return !loadJob_.Running(); }
    // Runs `work` once GridsList is loaded: now, or when the load has ended, the status line
    // saying meanwhile "TASK: loading grids…" (a trace line with `label`). Work still waiting at
    // the close is dropped.
    void WithGridsList(std::string_view label, std::string_view task, std::function<void()> work);
    void BuildGridsFile();
    // "Force update of grids.text": the journal copy brought up to date and scanned whole, then
    // the grids of the sibling logger's file and of the local log added.
    void ForceGridsUpdate();
    // The schedule's refresh from the journal's new lines.
    void RefreshGrids();
    // Seconds 52 and 53: a refresh when the journal copy changed since the last one.
    void RefreshGridsIfJournalChanged();
    void StartJournalWatch();
    bool Building() const { return job_.Running() || loadJob_.Running(); }
    const LogLines& GridsList() const { return gridsList_; }
    void Release();

    // For tests: called on the load's thread before it reads grids.txt, with its cancel flag.
    static inline std::function<void(const std::atomic<bool>& cancelled)> beforeLoadForTests;

private:
    struct ListLoad {
        LogLines list;         // sorted and thinned, the Marlisk grids added
        bool changed = false;  // differs from grids.txt as read: saved when the load ends
        bool read = false;     // grids.txt could be read
    };
    void GridsLoaded(ListLoad loaded, std::optional<GridsState> kept);
    void FinishGridsLoad();
    // With `kept`, the state an earlier run saved: the build continues from it.
    void StartGridsBuild(bool showProgress, std::optional<GridsState> kept = std::nullopt);
    void SaveState();
    void GridsBuildFinished(GridsBuild build, bool fileExisted);
    void CompleteForcedGridsUpdate();
    void AddMarlisk(GridsWorkingList& list) const;

    EngineCore& core_;
    StationView& station_;
    LogLines gridsList_;
    std::string marliskFolder_;
    // The state of the last grids build, which the schedule continues from; none until the
    // background build of this run has finished.
    std::unique_ptr<GridsBuild> state_;
    BackgroundJob<GridsBuild> job_;
    BackgroundJob<ListLoad> loadJob_;
    std::vector<std::function<void()>> waitingForList_;
    bool forceAfterBuild_ = false;
    fs::file_time_type stamp_{};  // the journal copy as last refreshed from
};

}  // namespace vantrel
