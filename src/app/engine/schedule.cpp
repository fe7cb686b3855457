// The one-second schedule: keyed to the second of the clock, it keeps the copies of WSJT-X's
// files, the grids file and the displays in step while the program runs. A tick that comes
// while long work holds the log is skipped, not caught up.
#include "app/engine/station_engine.h"

namespace vantrel {

void StationEngine::Tick() {
    if (core_.State().Closed()) return;
    // The places panel's timers run while long work holds the log: they do not touch it.
    places_.Tick();
    if (!core_.State().StartupDone() || core_.Gate().Held()) return;
    const int previous = core_.Ticks();
    core_.SetTicks(previous + 1);
    if (previous == 0 && !map_.Visible()) window_.ApplyFullLoad();
    // Contacts that a full disk kept in memory are written as soon as the disk takes them.
    feed_.WriteUnsaved();

    const TimePoint now = core_.Services().clock.Now();
    const int slot = ToLocalTime(now).second;
    journal_.DrawAllTxtCaption();
    switch (slot) {
        case 1: case 16: case 31: case 46:
            files_.update_log_file();
            break;
        case 2: case 17: case 32: case 47:
            files_.RefreshJournalCopyIfChanged();
            break;
        case 14: case 29: case 44: case 59:
            files_.RefreshWsjtxConfig();
            break;
        case 52: case 53:
            grids_.RefreshGridsIfJournalChanged();
            break;
        case 54:
            core_.ShowEntriesCount(views_.station);
            break;
        default:
            break;
    }
    if (slot % 4 == 0) core_.Tracer().FlushDiagnostics();
    if (core_.HasSwitch("/AUTHOR")) {
        equipment_.RotatorCheck();
        equipment_.AntennaFollow();
    }
    // With "Auto" and the panel shown, the journal search follows a changed journal copy.
    journal_.RefreshIfChanged();
    // The parts that follow the schedule on their own.
    core_.AnnounceTick();
    lists_.RefreshLast50(now);
}

}  // namespace vantrel
