#include "app/engine/station_engine.h"

#include <fstream>

#include "base/file_io.h"
#include "log/local_log.h"

namespace vantrel {

StationEngine::StationEngine(EngineServices services, const std::vector<std::string>& arguments)
    : services_(std::move(services)), switches_(arguments) {
    ApplyStoredPlacement(150);
    wsjtxFolder_ = ResolveWsjtxFolder(services_.environment, switches_.RigName());
    options_.runs = 0;
    options_.allCount = 0;
    options_.datesRun = false;
    options_.exportAdifCount = 0;
}

StationEngine::~StationEngine() {
    if (diagnostics_) std::fclose(diagnostics_);
}

const std::string& StationEngine::VersionText() const {
    static const std::string version = VANTREL_VERSION_TEXT;
    return version;
}

void StationEngine::MainWindowShown() { ApplyStoredPlacement(150); }

void StationEngine::MainWindowActivated() {
    if (startupBegun_) return;
    startupBegun_ = true;
    RunStartupSequence();
}

void StationEngine::ApplyStoredPlacement(int defaultLeftTop) {
    options_.main = LoadPlacement(services_.store, defaultLeftTop);
    options_.colours = LoadColours(services_.store);
    services_.view.ApplyPlacement(options_.main);
    services_.view.ApplyColours(options_.colours);
}

void StationEngine::ApplyFullLoad() {
    const std::string now = FormatDateTimeText(ToLocalTime(services_.clock.Now()));
    // The run counters were taken from the store at start-up and are counted in memory since.
    const int runs = options_.runs, allCount = options_.allCount;
    const bool datesRun = options_.datesRun;
    LoadAll(services_.store, options_, HasSwitch("/AUTHOR"), now);
    if (startupBegun_) {
        options_.runs = runs;
        options_.allCount = allCount;
        options_.datesRun = datesRun;
    }
    services_.view.ApplyPlacement(options_.main);
    services_.view.ApplyOptions(options_);
    services_.view.ApplyColours(options_.colours);
}

void StationEngine::SaveSettings() {
    services_.view.ReadOptions(options_);
    services_.view.CurrentPlacement(options_.main);
    SaveAll(services_.store, options_,
            SaveContext{station_.call, viewerFolder_.empty() ? "" : viewerFolder_.string() + "/",
                        running_});
}

void StationEngine::WriteDiagnostic(const std::string& text) {
    if (!diagnostics_) return;
    std::fputs(text.c_str(), diagnostics_);
    std::fputc('\n', diagnostics_);
    std::fflush(diagnostics_);
}

void StationEngine::Diagnostic(const char* text) {
    if (HasSwitch("/DEBUG")) WriteDiagnostic(text);
}

void StationEngine::Trace(const std::string& label, const std::string& text) {
    trace_.push_back(FormatHhnnssZzz(ToLocalTime(services_.clock.Now())) + label + text);
}

void StationEngine::Report(const std::string& label, const std::string& text) {
    Trace(label, text);
    services_.view.ShowStatus(text);
}

void StationEngine::RequestQuit() {
    services_.store.WriteBool(kOwnSection, "VantrelerActive", false);
    quitRequested_ = true;
    services_.view.Quit();
}

void StationEngine::ResetRegistryValues() {
    PurgeSettings(services_.store);
    ApplyFullLoad();
}

void StationEngine::ColourChosen(int index, std::optional<Rgb> colour) {
    if (index >= 0 && index < static_cast<int>(options_.colours.size()) && colour)
        options_.colours[static_cast<std::size_t>(index)] = *colour;
    // A cancelled choice still saves every setting.
    SaveSettings();
    services_.view.ApplyColours(options_.colours);
}

void StationEngine::OptionsEdited() {
    const int count = options_.showCount;
    services_.view.ReadOptions(options_);
    if (!startupDone_) return;
    if (options_.showCount != count && options_.autoShow && !lastContact_.empty()) {
        // The character count moved: the search takes that many characters of the last contact.
        AutoShowFill();
    } else if (services_.view.MatchListVisible()) {
        // "B/D" and "Details" change what the match list shows.
        SearchLog();
    }
}

WsjtxFiles StationEngine::CurrentWsjtxFiles() const {
    return LocateWsjtxFiles(wsjtxFolder_, services_.environment, switches_.RigName(),
                            ToLocalTime(services_.clock.Now()));
}

std::string StationEngine::DatedName(const char* stem, const char* extension) const {
    return std::string(stem) + FormatDdMmYyyy(ToLocalTime(services_.clock.Now())) + extension;
}

void StationEngine::ShowEntriesCount() {
    if (!localLogLines_.empty())
        services_.view.ShowEntries(std::to_string(localLogLines_.size() - 1));
}

void StationEngine::SaveLocalLog(std::size_t firstNew) {
    std::string error;
    if (!localLogFile_) localLogFile_ = std::make_unique<LocalLogFile>(ViewerFile(kLocalLog));
    if (!localLogFile_->SaveGrown(localLogLines_, firstNew, &error)) {
        Trace(" Local log not saved ** ", error);
        services_.view.ShowMessage("Error", "The local log could not be written: " + error);
    }
}

void StationEngine::SetLastContact(const std::string& text) {
    // The same text again is no change: nothing is handled.
    if (text == lastContact_) return;
    lastContact_ = text;
    services_.view.ShowLastContact(text);
    last50Wanted_ = true;
    last50Drawn_ = false;
    Trace(" Edit2 Change ", text);
    AddLastContact();
    services_.view.ReadOptions(options_);
    if (options_.autoShow && tickCounter_ > 1) {
        AutoShowFill();
        create_callsignlist();
        WriteCallsInLog();
    }
}

void StationEngine::AddLastContact() {
    Trace(" Add new ** ", lastContact_);
    const std::string line = CompleteLastContact(lastContact_, station_);
    const std::size_t before = localLogLines_.size();
    if (!LocalLogHasContact(localLogLines_, line)) localLogLines_.push_back(line);
    // An unchanged log is already on disk as it stands; only new lines are written.
    SaveLocalLog(before);
    services_.view.ShowEntries(std::to_string(static_cast<long>(localLogLines_.size()) - 1));
}

}  // namespace vantrel

namespace vantrel {

void StationEngine::Run(Command command) {
    if (!startupDone_ || closed_ || busy_) return;
    switch (command) {
        case Command::Exit: ExitCommand(); return;
        case Command::BackupData: BackupLocalLog(); return;
        case Command::CheckGridsInLog: check_grids_in_log(); return;
        case Command::RemoveLogJunk: RemoveLogJunk(); return;
        case Command::ZapUserField: ZapUserField(); return;
        case Command::CheckMyGridDetails: CheckMyGrid(); return;
        case Command::ForceGridsUpdate: ForceGridsUpdate(); return;
        case Command::Last50: ShowLast50(); return;
        case Command::Today: ShowLastUtcDay(); return;
        case Command::AntennaYes: AntennaWarningYes(); return;
        case Command::AntennaNo: AntennaWarningNo(); return;
        case Command::Clear: ClearResults(); return;
        case Command::Look: Look(); return;
        case Command::EditRadios: EditEquipment(true); return;
        case Command::EditAntennas: EditEquipment(false); return;
        case Command::FullAdifExport: ExportAdif(true); return;
        case Command::NewAdifExport: ExportAdif(false); return;
        case Command::AdifImport: AdifImport(); return;
    }
}

}  // namespace vantrel
