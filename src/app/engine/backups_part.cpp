#include "app/engine/backups_part.h"

#include <cstdio>

namespace vantrel {

void BackupsPart::BackupLocalLog() {
    const LocalTime now = core_.Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%02d %02d%02d%02d", now.day, now.month, now.year % 100, now.hour,
                  now.minute, now.second);
    const fs::path file = core_.ViewerFile("Backup " + std::string(stamp) + ".txt");
    std::string error;
    if (!SaveLogLines(file, core_.Log().Lines(), &error)) {
        core_.Notices().ShowMessage("Error", "The backup could not be written: " + error);
        return;
    }
    core_.UpdateOptions([&](StoredOptions& options) { options.lastBackup = FormatDateTimeText(now); });
    core_.Services().store.WriteText(kOwnSection, "VantrelerLastbackup", core_.Options().lastBackup);
    core_.ReportFile(" Backup ", "Local log (" + std::to_string(core_.Log().size()) + " lines) backed up to ", file);
}

void BackupsPart::BackupIfDue() {
    // A missing or unreadable last-backup time counts as now: the first backup comes 30 days
    // after the first run.
    const TimePoint now = core_.Services().clock.Now();
    const std::string stored = core_.Services().store.ReadText(kOwnSection, "VantrelerLastbackup", "");
    const auto last = ParseDateTimeText(stored);
    const TimePoint lastBackup = last ? FromLocalTime(*last) : now;
    if (now - std::chrono::hours(24 * 30) > lastBackup) BackupLocalLog();
}

}  // namespace vantrel
