// The repairs of the local log, each with the progress panel; while one runs the schedule
// waits, so nothing else changes the log underneath it.
#include <cstring>

#include "app/engine/station_engine.h"
#include "log/log_maintenance.h"

namespace vantrel {

namespace {

// True when some line holds "/" in its first field: an old day/month/year date.
bool HasOldDates(const LogLines& lines) {
    const std::string_view bytes = lines.Bytes();
    for (std::size_t at = bytes.find('/'); at != std::string_view::npos; at = bytes.find('/', at + 1)) {
        const std::size_t lineStart = at == 0 ? 0 : bytes.rfind('\n', at - 1) + 1;
        const std::size_t comma = bytes.find(',', lineStart);
        if (comma == std::string_view::npos || at < comma) return true;
    }
    return false;
}

}  // namespace

StationEngine::BusyScope::BusyScope(StationEngine& engine, std::string_view title)
    : engine_(engine), wasBusy_(engine.busy_) {
    engine_.busy_ = true;
    engine_.services_.view.SetProgressTitle(std::string(title));
    engine_.services_.view.ShowProgress(true, 0);
}

StationEngine::BusyScope::~BusyScope() {
    engine_.services_.view.ShowProgress(false, 100);
    engine_.services_.view.SetProgressTitle("Progress");
    engine_.busy_ = wasBusy_;
    if (!engine_.busy_ && !engine_.deferredDatagrams_.empty()) engine_.ProcessDeferredDatagrams();
}

RepairProgress StationEngine::BusyScope::Progress() const {
    StationView& view = engine_.services_.view;
    return [&view](std::size_t done, std::size_t total) {
        view.ShowProgress(true, total == 0 ? 100 : static_cast<int>(done * 100 / total));
    };
}

void StationEngine::RewriteLocalLog() {
    // Lines changed in place: the lists derived from the log read it again from the top.
    callsignLinesRead_ = 0;
    callsInLog_ = CallsignList();
    callsInLogLinesRead_ = 0;
    std::string error;
    if (!localLogFile_) localLogFile_ = std::make_unique<LocalLogFile>(ViewerFile(kLocalLog));
    if (!localLogFile_->Save(localLogLines_, &error)) {
        Trace(" Local log not saved ** ", error);
        services_.view.ShowMessage("Error", "The local log could not be written: " + error);
    }
}

void StationEngine::check_grids_in_log() {
    Diagnostic("check_grids_in_log;");
    RepairResult result;
    {
        BusyScope busy(*this, kCheckGridsTitle);
        result = vantrel::check_grids_in_log(localLogLines_, gridsList_, busy.Progress());
    }
    if (result.changed == 0) return;
    localLogLines_ = std::move(result.lines);
    RewriteLocalLog();
}

void StationEngine::check_dates_in_log() {
    Diagnostic("check_dates_in_log;");
    if (HasOldDates(localLogLines_)) {
        RepairResult result;
        {
            BusyScope busy(*this, kCheckDatesTitle);
            result = vantrel::check_dates_in_log(localLogLines_, busy.Progress());
        }
        if (result.changed > 0) {
            localLogLines_ = std::move(result.lines);
            RewriteLocalLog();
        }
    }
    options_.datesRun = true;
}

void StationEngine::RemoveLogJunk() {
    std::string error;
    auto fileLines = LoadLogLines(ViewerFile(kLocalLog), &error);
    if (!fileLines) {
        services_.view.ShowMessage("Error", error);
        return;
    }
    LogLines cut;
    {
        BusyScope busy(*this, "Progress");
        cut = vantrel::RemoveLogJunk(*fileLines, busy.Progress());
    }
    if (!SaveLogLines(ViewerFile(std::string(kLogJunkFileName).c_str()), cut, &error))
        services_.view.ShowMessage("Error", error);
    // The log itself is left as it is; the operator takes the cut file by hand.
    if (auto reloaded = localLogFile_->Load(&error)) localLogLines_ = std::move(*reloaded);
}

void StationEngine::ZapUserField() {
    std::string error;
    auto reloaded = localLogFile_->Load(&error);
    if (!reloaded) {
        services_.view.ShowMessage("Error", error);
        return;
    }
    localLogLines_ = std::move(*reloaded);
    RepairResult result;
    {
        BusyScope busy(*this, "Progress");
        result = vantrel::ZapUserField(localLogLines_, busy.Progress());
    }
    localLogLines_ = std::move(result.lines);
    RewriteLocalLog();
    services_.view.ShowEntries(std::to_string(result.changed));
}

void StationEngine::CheckMyGrid() {
    if (!station_.call.starts_with("QQ0XYZ")) {
        services_.view.ShowMessage(std::string(kCheckMyGridCaption),
                                   std::string(kCheckMyGridNotApplicable));
    } else {
        std::string error;
        const std::string backup = MyGridBackupName(ToLocalTime(services_.clock.Now()));
        if (!SaveLogLines(ViewerFile(backup.c_str()), localLogLines_, &error)) {
            services_.view.ShowMessage("Error", "The backup could not be written: " + error);
            return;
        }
        MyGridResult result;
        {
            BusyScope busy(*this, "Progress");
            result = vantrel::CheckMyGrid(localLogLines_, station_.call, busy.Progress());
        }
        localLogLines_ = std::move(result.lines);
        RewriteLocalLog();
    }
    services_.view.ShowEntries(std::to_string(localLogLines_.size()));
}

}  // namespace vantrel
