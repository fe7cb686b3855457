#include "app/engine/station_engine.h"

namespace vantrel {

StationEngine::StationEngine(EngineServices services, EngineViews views, const std::vector<std::string>& arguments)
    : core_(std::move(services), views.notices, arguments),
      views_(views),
      window_(core_, views.window),
      files_(core_, views.station, views.window),
      equipment_(core_, views.equipment, views.window),
      feed_(core_, views.feed, views.station),
      lists_(core_, views.lists),
      search_(core_, views.search, views.window),
      grids_(core_, views.station),
      repairs_(core_, views.station),
      adif_(core_, views.station),
      backups_(core_),
      messages_(core_, views.heard, feed_) {
    feed_.onContactsLogged = [this] { ContactsLogged(); };
    equipment_.onAntennaChosen = [this] { feed_.AntennaChosen(); };
    equipment_.onRotatorMismatch = [this] { feed_.RotatorMismatch(); };
    lists_.onReloadColours = [this] { window_.ReloadColours(); };
    search_.onRedrawCallsignList = [this] { lists_.RedrawCallsignList(); };
    repairs_.onLogRewritten = [this] {
        lists_.LogRewritten();
        messages_.LogChanged();
    };
    files_.onConfigurationRead = [this](const LogLines& lines) {
        messages_.ConfigurationRead(lines);
        return messages_.ListeningAt();
    };
    messages_.onSearchFor = [this](const std::string& call, bool asTyped) { search_.SearchFor(call, asTyped); };
    window_.ApplyStoredPlacement(150);
    // Until WSJT-X's configuration is read, the receiver's address is the default one.
    views.station.ShowN1mm("127.0.0.1", std::to_string(core_.config.port), "");
}

StationEngine::~StationEngine() = default;

const std::string& StationEngine::VersionText() const {
    static const std::string version = VANTREL_VERSION_TEXT;
    return version;
}

void StationEngine::Enter(std::function<void()> work) {
    if (!core_.startupBegun || core_.closed || core_.quitRequested) return;
    core_.gate.WhenFree([this, work = std::move(work)] {
        if (!core_.closed && !core_.quitRequested) work();
    });
}

void StationEngine::MainWindowShown() { window_.ApplyStoredPlacement(150); }

void StationEngine::Run(Command command) {
    Enter([this, command] {
        switch (command) {
            case Command::Exit: ExitCommand(); return;
            case Command::BackupData: backups_.BackupLocalLog(); return;
            case Command::CheckGridsInLog: repairs_.check_grids_in_log(grids_.GridsList()); return;
            case Command::RemoveLogJunk: repairs_.RemoveLogJunk(); return;
            case Command::ZapUserField: repairs_.ZapUserField(); return;
            case Command::CheckMyGridDetails: repairs_.CheckMyGrid(); return;
            case Command::ForceGridsUpdate: grids_.ForceGridsUpdate(); return;
            case Command::Last50: lists_.ShowLast50(); return;
            case Command::Today: lists_.ShowLastUtcDay(); return;
            case Command::AntennaYes: feed_.AntennaWarningYes(); return;
            case Command::AntennaNo: feed_.AntennaWarningNo(); return;
            case Command::Clear:
                window_.ReloadColours();
                search_.ClearResults();
                return;
            case Command::Look: search_.Look(); return;
            case Command::EditRadios: equipment_.EditEquipment(true); return;
            case Command::EditAntennas: equipment_.EditEquipment(false); return;
            case Command::FullAdifExport: adif_.ExportAdif(true); return;
            case Command::NewAdifExport: adif_.ExportAdif(false); return;
        }
    });
}

void StationEngine::SearchLog() {
    Enter([this] { search_.SearchLog(); });
}
void StationEngine::SearchEdited(const std::string& text) {
    Enter([this, text] { search_.SearchEdited(text); });
}
void StationEngine::SetWildSearch(bool wild) {
    Enter([this, wild] { search_.SetWildSearch(wild); });
}
void StationEngine::LastContactClicked() {
    Enter([this] { search_.LastContactClicked(); });
}
void StationEngine::CallsignListClicked(const std::string& line, int column) {
    Enter([this, line, column] { search_.CallsignListClicked(line, column); });
}
void StationEngine::MatchListClicked(int row, bool leftButton) {
    Enter([this, row, leftButton] { search_.MatchListClicked(row, leftButton); });
}
void StationEngine::DetailsClicked(int line, bool leftButton) {
    Enter([this, line, leftButton] { search_.DetailsClicked(line, leftButton); });
}
void StationEngine::CheckCountryFileAge() { search_.CheckCountryFileAge(); }

void StationEngine::OnDatagrams(std::vector<std::string> datagrams) {
    // Datagrams that arrive while the start-up or a repair holds the log wait for it, in order.
    Enter([this, datagrams = std::move(datagrams)] { feed_.OnDatagrams(datagrams); });
}
void StationEngine::OnWsjtxMessages(std::vector<std::string> datagrams) {
    Enter([this, datagrams = std::move(datagrams)] { messages_.OnMessages(datagrams); });
}
void StationEngine::HeardClicked(int row) {
    Enter([this, row] {
        if (row >= 0) messages_.HeardClicked(static_cast<std::size_t>(row));
    });
}
void StationEngine::N1mmPortChanged(const std::string& text) {
    Enter([this, text] { files_.N1mmPortChanged(text); });
}
void StationEngine::RigChanged(const std::string& boxText) {
    Enter([this, boxText] { equipment_.RigChanged(boxText); });
}
void StationEngine::AntennaChanged(const std::string& boxText) {
    Enter([this, boxText] { equipment_.AntennaChanged(boxText); });
}
void StationEngine::AntennaChoiceClosed(bool picked) {
    Enter([this, picked] { feed_.AntennaChoiceClosed(picked); });
}
void StationEngine::SetLastContact(const std::string& text) {
    Enter([this, text] { feed_.SetLastContact(text); });
}
void StationEngine::AdifImport(const std::string& file) {
    Enter([this, file] { adif_.AdifImport(file); });
}

void StationEngine::ContactsLogged() {
    lists_.ContactLogged();
    messages_.LogChanged();
    window_.ReadOptions();
    if (core_.options.autoShow && core_.tickCounter > 1) {
        search_.AutoShowFill();
        lists_.create_callsignlist();
        lists_.WriteCallsInLog();
    }
}

void StationEngine::ResetRegistryValues() {
    Enter([this] { window_.ResetRegistryValues(); });
}
void StationEngine::ColourChosen(int index, std::optional<Rgb> colour) {
    Enter([this, index, colour] { window_.ColourChosen(index, colour); });
}
void StationEngine::OptionsEdited() {
    Enter([this] {
        const int count = core_.options.showCount;
        window_.ReadOptions();
        if (core_.startupDone) search_.OptionsChanged(count);
    });
}

void StationEngine::RigFollowerTick() { equipment_.RigFollowerTick(); }

}  // namespace vantrel
