// Ending a run in order, and the backups of the local log.
#include "app/engine/station_engine.h"
#include "base/file_io.h"

namespace vantrel {

void StationEngine::CloseMainWindow() {
    if (!startupBegun_ || quitRequested_ || closed_) return;
    // Contacts still waiting for the antenna warning's answer are logged, never dropped.
    LogPendingContacts();
    closed_ = true;
    running_ = false;
    WriteCallsInLog();

    // Dated copies of WSJT-X's logs, one per day.
    const LocalTime now = ToLocalTime(services_.clock.Now());
    const std::string date = FormatDdMmmYyyy(now);
    const WsjtxFiles files = CurrentWsjtxFiles();
    std::string error;
    if (FileSize(files.log) >= 0 &&
        !CopyFileReplacing(files.log, ViewerFile(("Wsjtx " + date + ".log").c_str()), &error))
        Trace(" Copy failed ** ", error);
    if (FileSize(files.adif) >= 0 &&
        !CopyFileReplacing(files.adif, ViewerFile(("Wsjtx_log " + date + ".adi").c_str()), &error))
        Trace(" Copy failed ** ", error);

    Trace(" Close", "");
    const bool traced = SaveLogLines(ViewerFile("tracer.txt"), trace_, &error);
    trace_.clear();
    services_.receiver.Stop();
    ReleaseLists();
    if (!traced) {
        // The settings are not saved by a close whose trace file failed.
        services_.view.ShowMessage("Error", "The trace file could not be written: " + error);
    } else {
        SaveSettings();
    }
    services_.store.WriteBool(kOwnSection, "VantrelerActive", false);
    CloseDiagnostics();
    if (HasSwitch("/PURGE")) PurgeSettings(services_.store);
}

void StationEngine::ExitCommand() {
    if (!startupBegun_ || quitRequested_ || closed_) return;
    LogPendingContacts();
    closed_ = true;
    running_ = false;
    ReleaseLists();
    CloseDiagnostics();
    SaveSettings();
    if (HasSwitch("/PURGE")) PurgeSettings(services_.store);
    services_.store.WriteBool(kOwnSection, "VantrelerActive", false);
    services_.view.Quit();
}

void StationEngine::ReleaseLists() {
    gridsJob_.Cancel();
    localLogLines_.clear();
    wsjtxLogLines_.clear();
    gridsList_.clear();
    gridsState_.reset();
}

void StationEngine::CloseDiagnostics() {
    if (diagnostics_) {
        std::fclose(diagnostics_);
        diagnostics_ = nullptr;
    }
}

void StationEngine::BackupLocalLog() {
    const LocalTime now = ToLocalTime(services_.clock.Now());
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%02d %02d%02d%02d", now.day, now.month,
                  now.year % 100, now.hour, now.minute, now.second);
    std::string error;
    if (!SaveLogLines(ViewerFile(("Backup " + std::string(stamp) + ".txt").c_str()), localLogLines_,
                      &error)) {
        services_.view.ShowMessage("Error", "The backup could not be written: " + error);
        return;
    }
    options_.lastBackup = FormatDateTimeText(now);
    services_.store.WriteText(kOwnSection, "VantrelerLastbackup", options_.lastBackup);
}

void StationEngine::BackupIfDue() {
    // A missing or unreadable last-backup time counts as now: the first backup comes 30 days
    // after the first run.
    const TimePoint now = services_.clock.Now();
    const std::string stored = services_.store.ReadText(kOwnSection, "VantrelerLastbackup", "");
    const auto last = ParseDateTimeText(stored);
    const TimePoint lastBackup = last ? FromLocalTime(*last) : now;
    if (now - std::chrono::hours(24 * 30) > lastBackup) BackupLocalLog();
}

}  // namespace vantrel
