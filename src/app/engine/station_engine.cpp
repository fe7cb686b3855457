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
      messages_(core_, views.heard, feed_),
      places_(PlacesInputs(), views.places),
      info_(InfoInputs(), views.info),
      downloadsNotices_(views.notices, views.search),
      downloads_(DownloadInputs(), downloadsNotices_),
      map_(core_.services.store, core_.viewerFolder,
           core_.services.dataFolder.empty() ? fs::path() : core_.services.dataFolder / "maps", views.map,
           MapPart::OwnerActions{[this] {
                                     // No map image: "Map" is cleared, with its own action.
                                     window_.ReadOptions();
                                     core_.options.mapShow = false;
                                     views_.window.ApplyOptions(core_.options);
                                     FollowMapBox();
                                 },
                                 [this] { search_.UntickWildSearch(); }}),
      journal_(JournalServices(views.journal), core_.viewerFolder) {
    map_.Create();
    search_.UseMap(map_);
    window_.beforeSave = [this](StoredOptions& options) {
        options.map.autoClear = map_.AutoClear();
        options.map.onTop = map_.OnTop();
    };
    feed_.onContactsLogged = [this] { ContactsLogged(); };
    equipment_.onAntennaChosen = [this] { feed_.AntennaChosen(); };
    equipment_.onRotatorMismatch = [this] { feed_.RotatorMismatch(); };
    lists_.onReloadColours = [this] { window_.ReloadColours(); };
    search_.onRedrawCallsignList = [this] { lists_.RedrawCallsignList(); };
    repairs_.confirm = [this](const std::string& caption, const std::string& question, std::function<void()> work) {
        core_.notices.Ask(caption, question, [this, work = std::move(work)] { Enter(work); });
    };
    repairs_.onLogRewritten = [this] {
        lists_.LogRewritten();
        messages_.LogChanged();
    };
    files_.onConfigurationRead = [this](const LogLines& lines) {
        messages_.ConfigurationRead(lines);
        return messages_.ListeningAt();
    };
    messages_.onSearchFor = [this](const std::string& call, bool asTyped) { search_.SearchFor(call, asTyped); };
    // "ALL.TXT" and "Auto" follow every full load of the settings, and "Map" runs its action.
    window_.onOptionsApplied = [this] {
        journal_.ApplyOptions();
        FollowMapBox();
    };
    window_.ApplyStoredPlacement(150);
    // Until WSJT-X's configuration is read, the receiver's address is the default one.
    views.station.ShowN1mm("127.0.0.1", std::to_string(core_.config.port), "");
}

StationEngine::~StationEngine() = default;

PlacesPartInputs StationEngine::PlacesInputs() {
    return {PlacesFolders::Of(core_.viewerFolder, core_.services.dataFolder),
            [this] { return core_.station.grid; },
            [this]() -> const LogLines* {
                return &core_.countries.Current()->Lines();
            },
            [this](const std::string& text) { core_.services.desktop.CopyText(text); }};
}

InfoViewsInputs StationEngine::InfoInputs() {
    return {core_.viewerFolder, core_.services.store, core_.desktop, VersionText(),
            [this](const std::string& label, const std::string& text) { core_.Trace(label, text); }};
}

DownloadsInputs StationEngine::DownloadInputs() {
    DownloadsInputs inputs;
    inputs.viewerFolder = core_.viewerFolder;
    inputs.wsjtxFolder = core_.wsjtxFolder;
    inputs.versionText = VersionText();
    inputs.trace = [this](const std::string& label, const std::string& text) { core_.Trace(label, text); };
    // A newly installed cty.dat names the countries of the next search at once.
    inputs.countryTableReloaded = [this](std::unique_ptr<CountryTable> table) {
        if (table) core_.countries.Replace(std::move(table));
    };
    inputs.now = [this] { return core_.services.clock.Now(); };
    inputs.addresses = core_.services.downloadAddresses;
    inputs.fetch = core_.services.fetchSettings;
    return inputs;
}

JournalPartServices StationEngine::JournalServices(JournalView& view) {
    return {view,
            core_.options,
            core_.station,
            [this](const std::string& text) { core_.services.desktop.CopyText(text); },
            [this](const std::string& path) { core_.desktop.OpenFile(path); },
            [this](const std::string& line, std::string* reason) { return AddJournalLine(line, reason); },
            [this](std::function<void()> work, std::function<void()> done) {
                journalJobs_.Run(std::move(work), std::move(done));
            },
            [this](const std::string& text) { core_.notices.ShowStatus(text); }};
}

bool StationEngine::AddJournalLine(const std::string& line, std::string* reason) {
    if (!core_.startupDone || core_.closed) {
        if (reason) *reason = "the local log is not open";
        return false;
    }
    if (!feed_.LogReadyLine(line, reason)) return false;
    // The new contact is searched, listed and counted like one that WSJT-X logged.
    lists_.ContactLogged();
    messages_.LogChanged();
    lists_.RedrawCallsignList();
    lists_.WriteCallsInLog();
    return true;
}

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
            case Command::CheckGridsInLog: CheckGridsInLog(); return;
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
                places_.ClearPlacesField();
                return;
            case Command::Look: search_.Look(); return;
            case Command::EditRadios: equipment_.EditEquipment(true); return;
            case Command::EditAntennas: equipment_.EditEquipment(false); return;
            case Command::FullAdifExport: adif_.ExportAdif(true); return;
            case Command::NewAdifExport: adif_.ExportAdif(false); return;
            case Command::UpdateCtyDat: downloads_.UpdateCtyDat(); return;
            case Command::ResetMapPlacement: map_.ResetMapPlacement(); return;
            case Command::RecentActivity: journal_.ShowRecentActivity(); return;
        }
    });
}

void StationEngine::RunInfo(InfoCommand command) {
    Enter([this, command] { info_.Run(command); });
}

void StationEngine::LookupGrid(const std::string& fieldText) {
    Enter([this, fieldText] { places_.LookupGrid(fieldText); });
}
void StationEngine::CloseGridInfo() {
    Enter([this] { places_.CloseGridInfo(); });
}
void StationEngine::GridListPressed() {
    Enter([this] { places_.GridListPressed(); });
}
void StationEngine::GridListReleased() {
    Enter([this] { places_.GridListReleased(); });
}
void StationEngine::BearingDoubleClicked() {
    Enter([this] { places_.BearingDoubleClicked(); });
}
void StationEngine::PlacesTextEdited() {
    Enter([this] { places_.PlacesTextEdited(); });
}
void StationEngine::PlacesSearchEntered(const std::string& text, bool extended) {
    Enter([this, text, extended] {
        window_.ReadOptions();
        // With "ALL.TXT" ticked, Enter searches the journal instead.
        if (journal_.PlacesSearchEntered()) return;
        places_.SearchPlaces(text, extended);
    });
}
void StationEngine::ClosePlaces() {
    Enter([this] { places_.ClosePlaces(); });
}
void StationEngine::CopyPlacesToClipboard() {
    Enter([this] { places_.CopyPlacesToClipboard(); });
}
void StationEngine::JournalAction(std::function<void(JournalPart&)> action) {
    Enter([this, action = std::move(action)] { action(journal_); });
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

fs::path StationEngine::AdifImportFolder() const {
    std::error_code ec;
    return fs::is_directory(core_.wsjtxFolder, ec) ? core_.wsjtxFolder : core_.viewerFolder;
}

void StationEngine::OpenFolder(const std::string& folder) {
    if (!core_.closed && !folder.empty()) core_.desktop.OpenFile(folder);
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
        FollowMapBox();
        if (core_.startupDone) search_.OptionsChanged(count);
        // "ALL.TXT" ticked or cleared: its caption follows at once.
        journal_.DrawAllTxtCaption();
    });
}

void StationEngine::FollowMapBox() {
    const bool ticked = core_.options.mapShow;
    if (ticked == mapBoxTicked_) return;
    mapBoxTicked_ = ticked;
    // Ticked, the first tick of the schedule does not load the settings again.
    if (ticked) core_.tickCounter = 2;
    map_.SetShown(ticked);
}

void StationEngine::RigFollowerTick() { equipment_.RigFollowerTick(); }

}  // namespace vantrel
