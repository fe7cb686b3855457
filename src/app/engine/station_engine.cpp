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
      search_(core_, views.search),
      grids_(core_, views.station),
      repairs_(core_, views.station),
      adif_(core_, views.station),
      backups_(core_),
      heardNeeded_(views.heard, awards_),
      messages_(core_, heardNeeded_, feed_),
      places_(PlacesInputs(), views.places),
      info_(InfoInputs(), views.info),
      downloadsNotices_(views.notices, views.search),
      downloads_(DownloadInputs(), downloadsNotices_),
      map_(core_.Services().store, core_.ViewerFolder(),
           core_.Services().dataFolder.empty() ? fs::path() : core_.Services().dataFolder / "maps", views.map,
           MapPart::OwnerActions{[this] {
                                     // No map image: "Map" is cleared, with its own action.
                                     core_.UpdateOptions([](StoredOptions& options) { options.mapShow = false; });
                                 },
                                 [this] { search_.UntickWildSearch(); },
                                 [this](std::function<void(const LogLines&)> work) {
                                     Enter([this, work = std::move(work)] { work(core_.Log().Lines()); });
                                 }}),
      journal_(JournalServices(views.journal), core_.ViewerFolder()),
      audit_(AuditServices(views.more.Get<AuditView>()), core_.ViewerFolder()),
      answer_(core_, messages_, views.more.Get<Notifier>()),
      confirmations_(core_.ViewerFolder()),
      desktopSecrets_(core_.Services().secrets ? nullptr : MakeDesktopSecretStore()),
      lotw_(LotwInputs(), confirmations_, views.notices),
      awards_(AwardsPartServices{views.more.Get<AwardsView>(), core_.Log(), core_.Countries(), confirmations_,
                                 core_.ViewerFolder()}) {
    // The award tables are built once the start-up has loaded the log (the first tick), then
    // follow the log, the confirmations and the country table on their own.
    core_.OnTick([this] { awards_.Start(); });
    // The audit's lists follow every change of the log.
    core_.Log().OnAppended([this] { audit_.LogChanged(); });
    core_.Log().OnRewritten([this] { audit_.LogChanged(); });
    // With its window open, the audit follows the journal and the log.
    core_.OnTick([this] { audit_.Tick(); });
    // The "Map" box's own action runs before the parts that redraw after a change of options.
    core_.LiveOptions().SubscribeEarly([this](const OptionsChange& change) {
        if (change.Changed(&StoredOptions::mapShow)) FollowMapBox();
    });
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
        core_.Notices().Ask(caption, question, [this, work = std::move(work)] { Enter(work); });
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
    views.station.ShowN1mm("127.0.0.1", std::to_string(core_.Config().port), "");
}

StationEngine::~StationEngine() = default;

LotwPartInputs StationEngine::LotwInputs() {
    SecretStore& secrets = core_.Services().secrets ? *core_.Services().secrets : *desktopSecrets_;
    return {core_.ViewerFolder(), core_.Services().downloadAddresses.lotwReport, core_.Services().fetchSettings,
            secrets, std::nullopt,
            [this](const std::string& label, const std::string& text) { core_.Trace(label, text); }};
}

PlacesPartInputs StationEngine::PlacesInputs() {
    return {PlacesFolders::Of(core_.ViewerFolder(), core_.Services().dataFolder),
            [this] { return core_.Station().grid; },
            [this] {
                const CountryTablePtr table = core_.Countries().Current();
                return std::shared_ptr<const LogLines>(table, &table->Lines());
            },
            [this](const std::string& text) { core_.Services().desktop.CopyText(text); }};
}

InfoViewsInputs StationEngine::InfoInputs() {
    return {core_.ViewerFolder(), core_.Services().store, core_.Desktop(), VersionText(),
            [this](const std::string& label, const std::string& text) { core_.Trace(label, text); }};
}

DownloadsInputs StationEngine::DownloadInputs() {
    DownloadsInputs inputs;
    inputs.viewerFolder = core_.ViewerFolder();
    inputs.wsjtxFolder = core_.WsjtxFolder();
    inputs.versionText = VersionText();
    inputs.trace = [this](const std::string& label, const std::string& text) { core_.Trace(label, text); };
    // A newly installed cty.dat names the countries of the next search at once.
    inputs.countryTableReloaded = [this](std::unique_ptr<CountryTable> table) {
        if (table) core_.Countries().Replace(std::move(table));
    };
    inputs.now = [this] { return core_.Services().clock.Now(); };
    inputs.addresses = core_.Services().downloadAddresses;
    inputs.fetch = core_.Services().fetchSettings;
    return inputs;
}

JournalPartServices StationEngine::JournalServices(JournalView& view) {
    return {view,
            core_.LiveOptions(),
            core_.Station(),
            [this](const std::string& text) { core_.Services().desktop.CopyText(text); },
            [this](const std::string& path) { core_.Desktop().OpenFile(path); },
            [this](const std::string& line, std::string* reason) { return AddJournalLine(line, reason); },
            [this](std::function<void()> work, std::function<void()> done) {
                journalJobs_.Run(std::move(work), std::move(done));
            },
            [this](const std::string& text) { core_.Notices().ShowStatus(text); }};
}

AuditPartServices StationEngine::AuditServices(AuditView& view) {
    return {view,
            [this] { return core_.Station(); },
            [this] { return core_.Log().Snapshot(); },
            [this](const std::string& line, std::string* reason) { return AddJournalLine(line, reason); },
            [this](std::function<void()> work, std::function<void()> done) {
                auditJobs_.Run(std::move(work), std::move(done));
            }};
}

bool StationEngine::AddJournalLine(const std::string& line, std::string* reason) {
    if (!core_.State().StartupDone() || core_.State().Closed()) {
        if (reason) *reason = "the local log is not open";
        return false;
    }
    if (!feed_.LogReadyLine(line, reason)) return false;
    // The new contact is listed and counted like one that WSJT-X logged.
    lists_.RedrawCallsignList();
    lists_.WriteCallsInLog();
    return true;
}

const std::string& StationEngine::VersionText() const {
    static const std::string version = VANTREL_VERSION_TEXT;
    return version;
}

void StationEngine::Enter(std::function<void()> work) {
    if (!core_.State().TakesWork()) return;
    core_.Gate().WhenFree([this, work = std::move(work)] {
        if (core_.State().TakesWork()) work();
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

void StationEngine::PlacesSearchEntered(const std::string& text, bool extended) {
    Enter([this, text, extended] {
        // With "ALL.TXT" ticked, Enter searches the journal instead.
        if (journal_.PlacesSearchEntered()) return;
        places_.SearchPlaces(text, extended);
    });
}

void StationEngine::CheckCountryFileAge() { search_.CheckCountryFileAge(); }

void StationEngine::OnDatagrams(std::vector<std::string> datagrams) {
    // Datagrams that arrive while the start-up or a repair holds the log wait for it, in order.
    Enter([this, datagrams = std::move(datagrams)] { feed_.OnDatagrams(datagrams); });
}
void StationEngine::OnWsjtxMessages(std::vector<std::string> datagrams) {
    Enter([this, datagrams = std::move(datagrams)] { messages_.OnMessages(datagrams); });
}

void StationEngine::OnWsjtxMessages(std::vector<SourcedDatagram> datagrams) {
    Enter([this, datagrams = std::move(datagrams)] { messages_.OnMessages(datagrams); });
}

fs::path StationEngine::AdifImportFolder() const {
    std::error_code ec;
    return fs::is_directory(core_.WsjtxFolder(), ec) ? core_.WsjtxFolder() : core_.ViewerFolder();
}

void StationEngine::OpenFolder(const std::string& folder) {
    if (!core_.State().Closed() && !folder.empty()) core_.Desktop().OpenFile(folder);
}

void StationEngine::ContactsLogged() {
    if (core_.Options().autoShow && core_.Ticks() > 1) {
        search_.AutoShowFill();
        lists_.create_callsignlist();
        lists_.WriteCallsInLog();
    }
}

void StationEngine::OptionsEdited(OptionsEdit edit) {
    // The parts that show or use an option follow its change themselves.
    Enter([this, edit = std::move(edit)] { core_.UpdateOptions(edit); });
}

void StationEngine::FollowMapBox() {
    const bool ticked = core_.Options().mapShow;
    if (ticked == mapBoxTicked_) return;
    mapBoxTicked_ = ticked;
    // Ticked, the first tick of the schedule does not load the settings again.
    if (ticked) core_.SetTicks(2);
    map_.SetShown(ticked);
}

void StationEngine::RigFollowerTick() { equipment_.RigFollowerTick(); }

}  // namespace vantrel
