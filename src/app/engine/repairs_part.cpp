#include "app/engine/repairs_part.h"

#include "app/engine/held_job.h"

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

RepairProgress ToPercent(const std::function<void(int)>& progress) {
    return [progress](std::size_t done, std::size_t total) { progress(Percent(done, total)); };
}

}  // namespace

bool RepairsPart::Rewrite(LogLines lines) {
    std::string error;
    const bool saved = core_.Log().Replace(std::move(lines), &error);
    if (!saved) {
        core_.Trace(" Local log not saved ** ", error);
        core_.Notices().ShowMessage("Error", "The local log could not be written: " + error);
    }
    return saved;
}

void RepairsPart::check_grids_in_log(const LogLines& gridsList, std::function<void()> done) {
    core_.Diagnostic("check_grids_in_log;");
    StartHeldJob<RepairResult>(
        core_, job_, std::string(kCheckGridsTitle),
        [log = core_.Log().Snapshot(), grids = gridsList](const std::atomic<bool>&, const std::function<void(int)>& progress) {
            return vantrel::check_grids_in_log(*log, grids, ToPercent(progress));
        },
        [this, done = std::move(done)](RepairResult result) {
            const std::size_t changed = result.changed;
            if (changed > 0) {
                if (Rewrite(std::move(result.lines)))
                    core_.ReportFile(" check_grids_in_log ", "Check grids in log: " + std::to_string(changed) +
                                                             " grids filled in ", core_.Log().File());
            } else {
                core_.Report(" check_grids_in_log ", "Check grids in log: no missing grid could be filled");
            }
            if (done) done();
        });
}

void RepairsPart::check_dates_in_log(std::function<void()> done) {
    core_.Diagnostic("check_dates_in_log;");
    core_.UpdateOptions([](StoredOptions& options) { options.datesRun = true; });
    if (!HasOldDates(core_.Log().Lines())) {
        if (done) done();
        return;
    }
    StartHeldJob<RepairResult>(
        core_, job_, std::string(kCheckDatesTitle),
        [log = core_.Log().Snapshot()](const std::atomic<bool>&, const std::function<void(int)>& progress) {
            return vantrel::check_dates_in_log(*log, ToPercent(progress));
        },
        [this, done = std::move(done)](RepairResult result) {
            const std::size_t changed = result.changed;
            if (changed > 0 && Rewrite(std::move(result.lines))) {
                core_.ReportFile(" check_dates_in_log ", "Dates rewritten in " + std::to_string(changed) + " lines of ",
                                 core_.Log().File());
            }
            if (done) done();
        });
}

void RepairsPart::RemoveLogJunk() {
    std::string error;
    auto fileLines = LoadLogLines(core_.Log().File(), &error);
    if (!fileLines) {
        core_.Notices().ShowMessage("Error", error);
        return;
    }
    StartHeldJob<LogLines>(
        core_, junkJob_, "Progress",
        [lines = std::move(*fileLines)](const std::atomic<bool>&, const std::function<void(int)>& progress) {
            return vantrel::RemoveLogJunk(lines, ToPercent(progress));
        },
        [this](LogLines cut) {
            // The log itself is left as it is; the operator takes the cut file by hand.
            std::string error;
            const fs::path file = core_.ViewerFile(kLogJunkFileName);
            if (!SaveLogLines(file, cut, &error)) core_.Notices().ShowMessage("Error", error);
            else core_.ReportFile(" Remove Log Junk ", "Remove Log Junk: the cut lines are in ", file);
        });
}

void RepairsPart::Confirm(const std::string& caption, const std::string& question, std::function<void()> work) {
    if (confirm)
        confirm(caption, question, std::move(work));
    else
        work();
}

bool RepairsPart::KeepDatedCopy(fs::path* copy) {
    std::string error;
    if (!core_.Log().Flush(&error)) {
        core_.Notices().ShowMessage("Error", "The local log could not be written: " + error);
        return false;
    }
    *copy = core_.ViewerFile(MyGridBackupName(core_.Now()));
    if (!SaveLogLines(*copy, core_.Log().Lines(), &error)) {
        core_.Notices().ShowMessage("Error", "The backup could not be written: " + error);
        return false;
    }
    return true;
}

void RepairsPart::ZapUserField() {
    Confirm("Zap User field",
            "Empty the comment (user) field of every contact in the local log?\n\n"
            "A dated copy of the log is kept first.",
            [this] { ZapUserFieldConfirmed(); });
}

void RepairsPart::ZapUserFieldConfirmed() {
    fs::path copy;
    if (!KeepDatedCopy(&copy)) return;
    StartHeldJob<RepairResult>(
        core_, job_, "Progress",
        [log = core_.Log().Snapshot()](const std::atomic<bool>&, const std::function<void(int)>& progress) {
            return vantrel::ZapUserField(*log, ToPercent(progress));
        },
        [this, copy](RepairResult result) {
            const std::size_t changed = result.changed;
            if (!Rewrite(std::move(result.lines))) return;
            station_.ShowEntries(std::to_string(changed));
            core_.ReportFile(" Zap User field ", "Zap User field: comments emptied in " + std::to_string(changed) +
                                                     " contacts; the log as it was is kept in ",
                             copy);
        });
}

void RepairsPart::CheckMyGrid() {
    if (!core_.Station().call.starts_with("QQ0XYZ")) {
        core_.Notices().ShowMessage(std::string(kCheckMyGridCaption), std::string(kCheckMyGridNotApplicable));
        core_.ShowEntriesCount(station_);
        return;
    }
    Confirm(std::string(kCheckMyGridCaption),
            "Repair the own callsign and grid of every contact in the local log?\n\n"
            "A dated copy of the log is kept first.",
            [this] { CheckMyGridConfirmed(); });
}

void RepairsPart::CheckMyGridConfirmed() {
    fs::path copy;
    if (!KeepDatedCopy(&copy)) return;
    StartHeldJob<MyGridResult>(
        core_, myGridJob_, "Progress",
        [log = core_.Log().Snapshot(), call = core_.Station().call](const std::atomic<bool>&,
                                                             const std::function<void(int)>& progress) {
            return vantrel::CheckMyGrid(*log, call, ToPercent(progress));
        },
        [this, copy](MyGridResult result) {
            const std::size_t changed = result.changed;
            const bool saved = Rewrite(std::move(result.lines));
            core_.ShowEntriesCount(station_);
            if (!saved) return;
            core_.ReportFile(" Check My Grid ", std::string(kCheckMyGridCaption) + ": " + std::to_string(changed) +
                                                    " lines repaired; the log as it was is kept in ",
                             copy);
        });
}

}  // namespace vantrel
