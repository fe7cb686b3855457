// grids.txt: built from the journal copy on a worker thread, brought up to date from the
// journal's new lines by the schedule, and GridsList kept equal to the file.
#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "refdata/grids_builder.h"

namespace vantrel {

namespace {

GridsBuild RunBuild(const fs::path& journal, const LogLines& existing, const std::atomic<bool>& cancelled,
                    const std::function<void(int)>& progress) {
    int lastPercent = -1;
    return BuildGrids(journal, existing, [&](const GridsScanProgress& p) {
        const int percent = p.bytesTotal ? static_cast<int>(100 * p.bytesDone / p.bytesTotal) : 100;
        if (percent != lastPercent) progress(lastPercent = percent);
        return !cancelled;
    });
}

}  // namespace

void StationEngine::LoadGrids() {
    gridsList_.clear();
    Diagnostic("Checking for grids.txt file");
    if (FileSize(ViewerFile("grids.txt")) < 0) {
        services_.view.ShowMessage(
            "Support file creation required",
            "Supporting file \"grids.txt\" needs to be created. It may take a while but its "
            "progress can be seen in the log entries count box.");
        const fs::path journal = CurrentWsjtxFiles().journal;
        const std::int64_t size = FileSize(journal);
        if (size >= 0) {
            Diagnostic("Load grids file if all.txt exists");
            if (FileSize(journal) == size) BuildGridsFile();
        }
        return;  // the build loads the list when it has written the file
    }
    FinishGridsLoad();
    // The journal as it stands now is scanned once in the background; from then on only the
    // lines WSJT-X appends are read.
    StartGridsBuild(false);
}

void StationEngine::FinishGridsLoad() {
    if (FileSize(ViewerFile("grids.txt")) < 0) return;
    Diagnostic("Processing grids.txt file");
    GridsWorkingList list;
    if (auto lines = LoadLogLines(ViewerFile("grids.txt"))) list.AddLines(*lines);
    marliskFolder_ = options_.marliskFolder.empty()
                         ? services_.store.ReadText(kOwnSection, "MarliskFolder", "")
                         : options_.marliskFolder;
    if (!marliskFolder_.empty()) {
        if (auto marlisk = LoadLogLines(fs::path(marliskFolder_) / "Marliskgrids.txt"))
            AddMarliskGrids(list, *marlisk);
    }
    gridsList_ = list.ToLogLines();
    {
        BusyScope busy(*this, "Checking grids for dups");
        RemoveGridDuplicates(gridsList_, [&](int percent) { services_.view.ShowProgress(true, percent); });
    }
    std::string error;
    if (!SaveLogLines(ViewerFile("grids.txt"), gridsList_, &error)) Report(" grids.txt ** ", error);
}

void StationEngine::BuildGridsFile() {
    Diagnostic("load_grids;");
    if (FileSize(ViewerFile(kJournalCopy)) < 0) return;
    StartGridsBuild(true);
}

void StationEngine::StartGridsBuild(bool showProgress) {
    if (FileSize(ViewerFile(kJournalCopy)) < 0) return;
    const fs::path journal = ViewerFile(kJournalCopy);
    LogLines existing;
    if (auto lines = LoadLogLines(ViewerFile("grids.txt"))) existing = std::move(*lines);
    const bool fileExisted = FileSize(ViewerFile("grids.txt")) >= 0;
    gridsState_.reset();
    if (showProgress) {
        services_.view.SetRegionVisible(Region::ProgressPanel, true);
        services_.view.ShowProgress(true, 0);
    }
    gridsJob_.Start(
        [journal, existing = std::move(existing)](const std::atomic<bool>& cancelled,
                                                  const std::function<void(int)>& progress) {
            return RunBuild(journal, existing, cancelled, progress);
        },
        [this, showProgress](int percent) {
            if (showProgress) services_.view.ShowProgress(true, percent);
        },
        [this, showProgress, fileExisted](GridsBuild build) {
            if (showProgress) services_.view.ShowProgress(false, 100);
            GridsBuildFinished(std::move(build), fileExisted);
        });
}

void StationEngine::GridsBuildFinished(GridsBuild build, bool fileExisted) {
    if (!build.ok()) {
        if (build.status != GridsBuildStatus::Stopped) Report(" grids.txt ** ", build.error);
        return;
    }
    options_.allCount = static_cast<int>(build.candidateCount);
    services_.view.ShowEntries(std::to_string(build.candidateCount));
    const bool grew = !fileExisted || build.list.size() != gridsList_.size();
    std::string error;
    if (grew && !SaveGrids(build.list, ViewerFile("grids.txt"), &error)) Report(" grids.txt ** ", error);
    gridsState_ = std::make_unique<GridsBuild>(std::move(build));
    if (!fileExisted) {
        FinishGridsLoad();
    } else if (grew) {
        gridsList_ = gridsState_->list.ToLogLines();
    }
    if (forceAfterBuild_) {
        forceAfterBuild_ = false;
        CompleteForcedGridsUpdate();
    }
}

void StationEngine::RefreshGrids() {
    if (gridsJob_.Running()) return;
    if (!gridsState_) {
        StartGridsBuild(false);
        return;
    }
    const fs::path journal = ViewerFile(kJournalCopy);
    // A journal that was erased and began again: scanned again from its start, in the background.
    if (FileSize(journal) < static_cast<std::int64_t>(gridsState_->journalOffset)) {
        StartGridsBuild(false);
        return;
    }
    std::size_t newEntries = 0;
    const GridsRefresh result = vantrel::RefreshGrids(*gridsState_, journal, &newEntries);
    if (result == GridsRefresh::Failed || result == GridsRefresh::Stopped) {
        gridsState_.reset();
        return;
    }
    options_.allCount = static_cast<int>(gridsState_->candidateCount);
    if (result == GridsRefresh::Rebuilt || newEntries > 0) {
        std::string error;
        if (!SaveGrids(gridsState_->list, ViewerFile("grids.txt"), &error)) Report(" grids.txt ** ", error);
        gridsList_ = gridsState_->list.ToLogLines();
    }
}

void StationEngine::ForceGridsUpdate() {
    const fs::path wsjtxJournal = CurrentWsjtxFiles().journal;
    if (FileSize(wsjtxJournal) > FileSize(ViewerFile(kJournalCopy))) CopyWsjtxFile(wsjtxJournal, kJournalCopy);
    forceAfterBuild_ = true;
    BuildGridsFile();
    if (!gridsJob_.Running()) {  // no journal copy: nothing to build
        forceAfterBuild_ = false;
        CompleteForcedGridsUpdate();
    }
}

void StationEngine::CompleteForcedGridsUpdate() {
    // The additions go into the build's own list, which stands for grids.txt, so later
    // refreshes keep them.
    GridsWorkingList loaded;
    GridsWorkingList& list = gridsState_ ? gridsState_->list : loaded;
    if (!gridsState_) {
        if (auto lines = LoadLogLines(ViewerFile("grids.txt"))) list.AddLines(*lines);
    }
    if (!marliskFolder_.empty()) {
        if (auto marlisk = LoadLogLines(fs::path(marliskFolder_) / "Marliskgrids.txt"))
            AddMarliskGrids(list, *marlisk);
    }
    AddLocalLogGrids(list, localLogLines_);
    std::string error;
    if (!SaveGrids(list, ViewerFile("grids.txt"), &error)) Report(" grids.txt ** ", error);
    gridsList_ = list.ToLogLines();
}

}  // namespace vantrel
