#include "app/engine/grids_part.h"

#include <system_error>

#include "base/file_io.h"

namespace vantrel {

namespace {

GridsBuild RunBuild(const fs::path& journal, const LogLines& existing, const std::optional<GridsState>& kept,
                    const std::atomic<bool>& cancelled, const std::function<void(int)>& progress) {
    int lastPercent = -1;
    const GridsProgress report = [&](const GridsScanProgress& p) {
        if (cancelled) return false;
        const int percent = p.bytesTotal ? static_cast<int>(100 * p.bytesDone / p.bytesTotal) : 100;
        if (percent != lastPercent) progress(lastPercent = percent);
        return !cancelled;
    };
    return kept ? ContinueGrids(journal, existing, *kept, report) : BuildGrids(journal, existing, report);
}

}  // namespace

void GridsPart::LoadGrids() {
    gridsList_.clear();
    core_.Diagnostic("Checking for grids.txt file");
    if (FileSize(core_.ViewerFile("grids.txt")) < 0) {
        core_.Notices().ShowMessage(
            "Support file creation required",
            "Supporting file \"grids.txt\" needs to be created. It may take a while but its "
            "progress can be seen in the log entries count box.");
        const fs::path journal = core_.CurrentWsjtxFiles().journal;
        const std::int64_t size = FileSize(journal);
        if (size >= 0) {
            core_.Diagnostic("Load grids file if all.txt exists");
            if (FileSize(journal) == size) BuildGridsFile();
        }
        return;  // the build loads the list when it has written the file
    }
    // What the last run scanned of the journal, taken before grids.txt is thinned (which changes
    // it): the background then reads only what WSJT-X appended since. Without a state that
    // belongs to grids.txt, the journal is scanned whole once; from then on only the lines WSJT-X
    // appends are read.
    std::optional<GridsState> kept = LoadGridsState(core_.ViewerFile("grids.txt"));
    core_.Diagnostic("Processing grids.txt file");
    marliskFolder_ = core_.Options().marliskFolder.empty()
                         ? core_.Services().store.ReadText(kOwnSection, "MarliskFolder", "")
                         : core_.Options().marliskFolder;
    const fs::path marlisk = marliskFolder_.empty() ? fs::path() : fs::path(marliskFolder_) / "Marliskgrids.txt";
    // Loading, sorting and thinning a large list takes a while: the first screen does not need
    // it, so it is made on a thread of its own; what needs it waits for it (WithGridsList).
    loadJob_.Start(
        [grids = core_.ViewerFile("grids.txt"), marlisk](const std::atomic<bool>& cancelled,
                                                          const std::function<void(int)>&) {
            // A cancelled load (the close) ends at the next step; its result is dropped.
            ListLoad load;
            if (beforeLoadForTests) beforeLoadForTests(cancelled);
            if (cancelled) return load;
            const auto lines = LoadLogLines(grids);
            GridsWorkingList list;
            if (lines && !cancelled) list.AddLines(*lines);
            if (!marlisk.empty() && !cancelled)
                if (auto marliskLines = LoadLogLines(marlisk)) AddMarliskGrids(list, *marliskLines);
            if (cancelled) return load;
            load.list = list.ToLogLines();
            RemoveGridDuplicates(load.list, [](int) {});
            load.read = lines.has_value();
            load.changed = !lines || *lines != load.list;
            return load;
        },
        [](int) {}, [this, kept = std::move(kept)](ListLoad load) mutable { GridsLoaded(std::move(load), std::move(kept)); });
}

void GridsPart::GridsLoaded(ListLoad load, std::optional<GridsState> kept) {
    gridsList_ = std::move(load.list);
    if (load.changed) {  // else nothing was added or thinned: the file is left as it is
        std::string error;
        if (!SaveLogLines(core_.ViewerFile("grids.txt"), gridsList_, &error)) core_.Report(" grids.txt ** ", error);
    }
    core_.Trace(" grids.txt ", "grids list loaded: " + std::to_string(gridsList_.size()) + " entries");
    if (!load.read || gridsList_.empty()) kept.reset();  // grids.txt could not be read: its state says nothing
    StartGridsBuild(false, std::move(kept));
    std::vector<std::function<void()>> waiting;
    waiting.swap(waitingForList_);
    for (auto& work : waiting) work();
}

void GridsPart::WithGridsList(std::string_view label, std::string_view task, std::function<void()> work) {
    if (Loaded()) {
        work();
        return;
    }
    core_.Report(label, std::string(task) + ": loading grids…");
    waitingForList_.push_back(std::move(work));
}

void GridsPart::AddMarlisk(GridsWorkingList& list) const {
    if (marliskFolder_.empty()) return;
    if (auto marlisk = LoadLogLines(fs::path(marliskFolder_) / "Marliskgrids.txt")) AddMarliskGrids(list, *marlisk);
}

void GridsPart::FinishGridsLoad() {
    if (FileSize(core_.ViewerFile("grids.txt")) < 0) return;
    core_.Diagnostic("Processing grids.txt file");
    GridsWorkingList list;
    const auto lines = LoadLogLines(core_.ViewerFile("grids.txt"));
    if (lines) list.AddLines(*lines);
    marliskFolder_ = core_.Options().marliskFolder.empty()
                         ? core_.Services().store.ReadText(kOwnSection, "MarliskFolder", "")
                         : core_.Options().marliskFolder;
    AddMarlisk(list);
    gridsList_ = list.ToLogLines();
    RemoveGridDuplicates(gridsList_, [](int) {});
    if (lines && *lines == gridsList_) return;  // nothing added or thinned: left as it is
    std::string error;
    if (!SaveLogLines(core_.ViewerFile("grids.txt"), gridsList_, &error)) core_.Report(" grids.txt ** ", error);
}

void GridsPart::BuildGridsFile() {
    core_.Diagnostic("load_grids;");
    StartGridsBuild(true);
}

void GridsPart::StartGridsBuild(bool showProgress, std::optional<GridsState> kept) {
    const fs::path journal = core_.ViewerFile(kJournalCopy);
    if (FileSize(journal) < 0) return;
    // At start-up GridsList has just been loaded from grids.txt (and saved when thinned).
    LogLines existing;
    if (kept) existing = gridsList_;
    else if (auto lines = LoadLogLines(core_.ViewerFile("grids.txt"))) existing = std::move(*lines);
    const bool fileExisted = FileSize(core_.ViewerFile("grids.txt")) >= 0;
    state_.reset();
    if (showProgress) core_.Notices().ShowProgress(true, 0);
    job_.Start(
        [journal, existing = std::move(existing), kept = std::move(kept)](
            const std::atomic<bool>& cancelled, const std::function<void(int)>& progress) {
            return RunBuild(journal, existing, kept, cancelled, progress);
        },
        [this, showProgress](int percent) {
            if (showProgress) core_.Notices().ShowProgress(true, percent);
        },
        [this, showProgress, fileExisted](GridsBuild build) {
            if (showProgress) core_.Notices().ShowProgress(false, 100);
            GridsBuildFinished(std::move(build), fileExisted);
        });
}

void GridsPart::GridsBuildFinished(GridsBuild build, bool fileExisted) {
    if (!build.ok()) {
        if (build.status != GridsBuildStatus::Stopped) core_.Report(" grids.txt ** ", build.error);
        return;
    }
    core_.UpdateOptions([&](StoredOptions& options) { options.allCount = static_cast<int>(build.candidateCount); });
    station_.ShowEntries(std::to_string(build.candidateCount));
    const bool grew = !fileExisted || build.list.size() != gridsList_.size();
    std::string error;
    const bool saved = !grew || SaveGrids(build.list, core_.ViewerFile("grids.txt"), &error);
    if (!saved) core_.Report(" grids.txt ** ", error);
    state_ = std::make_unique<GridsBuild>(std::move(build));
    if (!fileExisted) {
        FinishGridsLoad();
    } else if (grew) {
        gridsList_ = state_->list.ToLogLines();
    }
    if (saved) SaveState();  // for grids.txt as it now stands
    if (forceAfterBuild_) {
        forceAfterBuild_ = false;
        CompleteForcedGridsUpdate();
    }
}

void GridsPart::RefreshGrids() {
    if (job_.Running() || !Loaded()) return;
    if (!state_) {
        StartGridsBuild(false);
        return;
    }
    const fs::path journal = core_.ViewerFile(kJournalCopy);
    // A journal that was erased and began again: scanned again from its start, in the background.
    if (FileSize(journal) < static_cast<std::int64_t>(state_->journalOffset)) {
        StartGridsBuild(false);
        return;
    }
    std::size_t newEntries = 0;
    const GridsRefresh result = vantrel::RefreshGrids(*state_, journal, &newEntries);
    if (result == GridsRefresh::Failed || result == GridsRefresh::Stopped) {
        state_.reset();
        return;
    }
    core_.UpdateOptions([&](StoredOptions& options) { options.allCount = static_cast<int>(state_->candidateCount); });
    if (result == GridsRefresh::Rebuilt || newEntries > 0) {
        std::string error;
        if (!SaveGrids(state_->list, core_.ViewerFile("grids.txt"), &error)) {
            core_.Report(" grids.txt ** ", error);
            return;
        }
        gridsList_ = state_->list.ToLogLines();
    }
    SaveState();
}

void GridsPart::SaveState() {
    // Written after grids.txt, and naming its size: a state whose grids.txt was not written is
    // not used, and the next start scans the journal whole.
    std::string error;
    if (state_ && !SaveGridsState(core_.ViewerFile("grids.txt"), StateOfBuild(*state_), &error))
        core_.Report(" grids.state ** ", error);
}

void GridsPart::StartJournalWatch() { stamp_ = fs::file_time_type::clock::now(); }

void GridsPart::RefreshGridsIfJournalChanged() {
    std::error_code ec;
    const auto changed = fs::last_write_time(core_.ViewerFile(kJournalCopy), ec);
    if (ec || changed == stamp_) return;
    RefreshGrids();
    stamp_ = changed;
    core_.Notices().SetIndicator(false);
    core_.ShowEntriesCount(station_);
}

void GridsPart::ForceGridsUpdate() {
    if (!Loaded()) {
        WithGridsList(" ForceGridsUpdate ", "Force update of grids.txt", [this] { ForceGridsUpdate(); });
        return;
    }
    const fs::path wsjtxJournal = core_.CurrentWsjtxFiles().journal;
    std::string error;
    if (FileSize(wsjtxJournal) > FileSize(core_.ViewerFile(kJournalCopy)) &&
        RefreshAppendOnlyCopy(wsjtxJournal, core_.ViewerFile(kJournalCopy), &error) == CopyRefresh::Failed)
        core_.Report(" Copy failed ** ", error);
    forceAfterBuild_ = true;
    BuildGridsFile();
    if (!job_.Running()) {  // no journal copy: nothing to build
        forceAfterBuild_ = false;
        CompleteForcedGridsUpdate();
    }
}

void GridsPart::CompleteForcedGridsUpdate() {
    // The additions go into the build's own list, which stands for grids.txt, so later
    // refreshes keep them.
    GridsWorkingList loaded;
    GridsWorkingList& list = state_ ? state_->list : loaded;
    if (!state_) {
        if (auto lines = LoadLogLines(core_.ViewerFile("grids.txt"))) list.AddLines(*lines);
    }
    AddMarlisk(list);
    AddLocalLogGrids(list, core_.Log().Lines());
    std::string error;
    if (!SaveGrids(list, core_.ViewerFile("grids.txt"), &error)) {
        core_.Report(" grids.txt ** ", error);
    } else if (state_) {
        SaveState();
    }
    gridsList_ = list.ToLogLines();
}

void GridsPart::Release() {
    loadJob_.Cancel();
    waitingForList_.clear();
    job_.Cancel();
    gridsList_.clear();
    state_.reset();
}

}  // namespace vantrel
