// The one-second schedule: keyed to the second of the clock, it keeps the copies of WSJT-X's
// files, the grids file and the displays in step while the program runs; and the antenna
// warning with its answers.
#include <system_error>

#include "app/engine/station_engine.h"
#include "base/file_io.h"

namespace vantrel {

namespace {

std::optional<fs::file_time_type> ModifiedAt(const fs::path& file) {
    std::error_code ec;
    const auto time = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return time;
}

}  // namespace

void StationEngine::Tick() {
    if (!startupDone_ || closed_ || busy_) return;
    const int previous = tickCounter_++;
    if (previous == 0 && !services_.view.MapWindowVisible()) ApplyFullLoad();

    const TimePoint now = services_.clock.Now();
    const int slot = ToLocalTime(now).second;
    switch (slot) {
        case 1: case 16: case 31: case 46:
            update_log_file();
            break;
        case 2: case 17: case 32: case 47:
            RefreshJournalCopyIfChanged();
            break;
        case 14: case 29: case 44: case 59:
            RefreshWsjtxConfig();
            break;
        case 52: case 53:
            RefreshGridsIfJournalChanged();
            break;
        case 54:
            ShowEntriesCount();
            break;
        default:
            break;
    }
    if (slot % 4 == 0 && diagnostics_) std::fflush(diagnostics_);
    if (HasSwitch("/AUTHOR")) {
        RotatorCheck();
        AntennaFollow();
    }
    RefreshLast50(now);
}

void StationEngine::RefreshJournalCopyIfChanged() {
    // The copy check keeps a time stamp of its own (the WSJT-X journal's), so the grids check
    // still sees the copy change that this refresh makes.
    const fs::path journal = CurrentWsjtxFiles().journal;
    const auto changed = ModifiedAt(journal);
    if (!changed || *changed == copyStamp_) return;
    services_.view.SetIndicator(true);
    update_all_file(journal);
    copyStamp_ = *changed;
    services_.view.SetIndicator(false);
}

void StationEngine::RefreshGridsIfJournalChanged() {
    const auto changed = ModifiedAt(ViewerFile(kJournalCopy));
    if (!changed || *changed == gridsStamp_) return;
    RefreshGrids();
    gridsStamp_ = *changed;
    services_.view.SetIndicator(false);
    services_.view.ShowEntries(std::to_string(localLogLines_.size()));
}

void StationEngine::RotatorCheck() {
    const std::string selection = services_.store.ReadText(kOwnSection, "RotHFAntSel", "");
    if (selection.empty() || selection == lastAntennaSelection_) return;
    if (!options_.antWarning || options_.antAutoChange) return;
    if (station_.antenna.find(selection) == std::string::npos) {
        services_.view.ShowAntennaWarning(true,
                                          "The antenna does not match Turnmast selection. Change ?");
        rotatorWarning_ = true;
    }
    lastAntennaSelection_ = selection;
}

void StationEngine::AntennaFollow() {
    if (!options_.antAutoChange || options_.antWarning) return;
    const int number = services_.store.ReadInteger(kOwnSection, "Ant1Sel", 1);
    // A number past the list leaves no antenna selected.
    station_.antenna = number >= 1 && number <= static_cast<int>(antennas_.size())
                           ? antennas_[static_cast<std::size_t>(number - 1)]
                           : "";
    services_.view.ShowEquipment(rigs_, antennas_, station_.rig, station_.antenna);
}

void StationEngine::RigFollowerTick() {
    const std::string name = services_.store.ReadText("IcomOmniRig", "RigName", "");
    if (name.empty() || name == options_.omniRigName || options_.omniRigName.empty()) return;
    services_.view.SelectRig(name);
    options_.omniRigName = name;
}

void StationEngine::AntennaWarningYes() {
    services_.view.OpenAntennaChoice();
    reselectPending_ = true;
    services_.view.ShowAntennaWarning(false, "");
}

void StationEngine::AntennaWarningNo() {
    if (!rotatorWarning_) {
        // The contacts received since the warning was raised are logged as they came.
        if (pendingContacts_.empty()) AddLastContact();
        LogPendingContacts();
    }
    services_.view.ShowAntennaWarning(false, "");
    reselectPending_ = false;
    rotatorWarning_ = false;
}

void StationEngine::RefreshLast50(TimePoint now) {
    if (options_.always50 && !services_.view.DetailsPanelVisible() && last50Wanted_) ShowLast50();
    if (now - last50Time_ > std::chrono::seconds(10) && options_.always50 &&
        services_.view.DetailsPanelVisible()) {
        last50Time_ = now;
        if (!last50Drawn_) {
            ShowLast50();
            last50Drawn_ = true;
        }
    }
}

}  // namespace vantrel
