// The station engine: the parts of the running program composed, their entry points for the
// window (or, without a display, headless mode and the tests), the start-up sequence, the
// one-second schedule and the close. Every entry point that touches the local log goes through
// one rule: while long work holds the log, it waits and runs in its turn afterwards.
#pragma once

#include <memory>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "app/engine/adif_part.h"
#include "app/engine/awards_part.h"
#include "app/engine/confirmations_model.h"
#include "app/engine/backups_part.h"
#include "app/engine/engine_core.h"
#include "app/engine/equipment_part.h"
#include "app/engine/feed_part.h"
#include "app/engine/grids_part.h"
#include "app/engine/job_runner.h"
#include "app/engine/lists_part.h"
#include "app/engine/lotw_part.h"
#include "app/engine/needed_heard_view.h"
#include "app/engine/repairs_part.h"
#include "app/engine/search_part.h"
#include "app/engine/window_part.h"
#include "app/engine/wsjtx_files_part.h"
#include "app/engine/wsjtx_answer_part.h"
#include "app/engine/wsjtx_messages_part.h"
#include "map/map_part.h"
#include "journal/audit_part.h"
#include "journal/journal_part.h"
#include "net/downloads_part.h"
#include "app/engine/info_views_part.h"
#include "refdata/places_part.h"

namespace vantrel {

// The downloads say what they have to say on the window's message boxes, status line and
// cty.dat age line.
class DownloadsNotices : public DownloadsView {
public:
    DownloadsNotices(NoticeView& notices, SearchView& search) : notices_(notices), search_(search) {}
    void ShowMessage(const std::string& caption, const std::string& text) override {
        notices_.ShowMessage(caption, text);
    }
    void ShowStatus(const std::string& text) override { notices_.ShowStatus(text); }
    void ShowCountryFileAge(const std::string& text, bool tooOld) override {
        search_.ShowCountryFileAge(text, tooOld);
    }

private:
    NoticeView& notices_;
    SearchView& search_;
};

class StationEngine {
public:
    // The main window has been created: placement and colours applied, switches read,
    // WSJT-X's folder fixed.
    StationEngine(EngineServices services, EngineViews views, const std::vector<std::string>& arguments);
    ~StationEngine();
    StationEngine(const StationEngine&) = delete;
    StationEngine& operator=(const StationEngine&) = delete;

    // Each time the main window is shown: the stored placement and colours again.
    void MainWindowShown();
    // The first activation runs the start-up sequence; later activations do nothing.
    void MainWindowActivated();
    // Closing: the waiting contacts, the dated copies of WSJT-X's logs, the trace file, the
    // receiver, the settings and the running flag; then the program ends.
    void CloseMainWindow();
    // A menu entry or button.
    void Run(Command command);
    // An entry of the "View" or "About" menu.
    void RunInfo(InfoCommand command);

    // An operator action on a part, in its turn: at once when the log is free, else after the
    // long work that holds it (datagrams, clicks and searches wait in the order they came).
    // Nothing runs before the start-up has begun or once the window closes.
    //   engine.Call(&SearchPart::SearchEdited, text);
    template <typename Part, typename... Params, typename... Args>
    void Call(void (Part::*action)(Params...), Args&&... args) {
        Enter([this, action, ... args = std::decay_t<Args>(std::forward<Args>(args))]() mutable {
            (std::get<Part&>(reachable_).*action)(args...);
        });
    }
    // The same for a piece of work on one part (a panel hands over its own action).
    template <typename Part>
    void With(std::function<void(Part&)> action) {
        Enter([this, action = std::move(action)] { action(std::get<Part&>(reachable_)); });
    }
    // Work from outside that touches the log: now, or after the long work holding it.
    void Enter(std::function<void()> work);

    // The live feed of logged contacts and WSJT-X's own UDP messages, in their order.
    void OnDatagram(const std::string& bytes) { OnDatagrams({bytes}); }
    void OnDatagrams(std::vector<std::string> datagrams);
    void OnWsjtxMessages(std::vector<std::string> datagrams);
    // The same with the address and port each came from: WSJT-X is answered there.
    void OnWsjtxMessages(std::vector<SourcedDatagram> datagrams);
    // Enter in "Places/call search:": the places search while "ALL.TXT" is unticked.
    void PlacesSearchEntered(const std::string& text, bool extended);
    // Where the "ADIF Import" file dialog opens: WSJT-X's folder (its wsjtx_log.adi), or the
    // viewer folder while WSJT-X has none.
    fs::path AdifImportFolder() const;
    // A click on the path shown on the status line: the folder opened by the desktop.
    void OpenFolder(const std::string& folder);
    // The window was resized: the age line of cty.dat is checked again.
    void CheckCountryFileAge();

    // The operator changed an option control: its value into the options.
    void OptionsEdited(OptionsEdit edit);

    // The one-second schedule and the rig follower; both timers tick once a second.
    void Tick();
    void RigFollowerTick();

    // State, for the views and the tests.
    bool HasSwitch(std::string_view name) const { return core_.HasSwitch(name); }
    bool QuitRequested() const { return core_.State().QuitRequested(); }
    bool StartupDone() const { return core_.State().StartupDone(); }
    // True while long work holds the local log (entry points wait for it).
    bool Busy() const { return core_.Gate().Held(); }
    // True while any work of the background runs (the grids scan included).
    bool BackgroundWorkRunning() const {
        return core_.Gate().Held() || grids_.Building() || messages_.Indexing() || placesJobs_.Running() > 0;
    }
    const fs::path& WsjtxFolder() const { return core_.WsjtxFolder(); }
    const fs::path& ViewerFolder() const { return core_.ViewerFolder(); }
    const StationDetails& Station() const { return core_.Station(); }
    const WsjtxConfig& Config() const { return core_.Config(); }
    const LogLines& WsjtxLogLines() const { return core_.WsjtxLogLines(); }
    const LogLines& LocalLogLines() const { return core_.Log().Lines(); }
    const std::string& LastContact() const { return core_.LastContact(); }
    const StoredOptions& Options() const { return core_.Options(); }
    int RunCounter() const { return core_.Options().runs; }
    const std::vector<std::string>& PendingContacts() const { return feed_.PendingContacts(); }
    const CountryTablePtr& Countries() const { return core_.Countries().Current(); }
    const CallsignList& Callsigns() const { return lists_.Callsigns(); }
    const LogLines& GridsList() const { return grids_.GridsList(); }
    const HeardList& Heard() const { return messages_.Heard(); }
    const PlacesPart& Places() const { return places_; }
    const DownloadsPart& Downloads() const { return downloads_; }
    // The map window's part: the window reports the operator's actions on it to the part.
    MapPart& Map() { return map_; }
    const JournalPart& Journal() const { return journal_; }
    // True while a journal search or the recent-activity extract runs off this thread.
    bool JournalBusy() const { return journal_.Busy(); }
    const AuditPart& Audit() const { return audit_; }
    const AwardsPart& Awards() const { return awards_; }
    const LotwPart& Lotw() const { return lotw_; }
    const ConfirmationsModel& Confirmations() const { return confirmations_; }
    const std::string& VersionText() const;

    // Called once the start-up sequence has ended (not when it stopped the program).
    std::function<void()> onStartupDone;

private:
    PlacesPartInputs PlacesInputs();
    InfoViewsInputs InfoInputs();
    DownloadsInputs DownloadInputs();
    JournalPartServices JournalServices(JournalView& view);
    AuditPartServices AuditServices(AuditView& view);
    LotwPartInputs LotwInputs();
    // "Add to Log": the journal's entry line into the local log, the lists following.
    bool AddJournalLine(const std::string& line, std::string* reason);
    // "Check grids in log": with the grids list, once it is loaded.
    void CheckGridsInLog();
    void LoadPlacesListInBackground();
    void RunStartupSequence();
    void ContinueAfterCopyIn();
    void RunMaintenance();
    void FinishStartup();
    void LoadLocalLog();
    void WriteReleaseVersionFile();
    void ContactsLogged();
    void CloseNow();
    void LogWaitingDatagrams();
    void ExitCommand();
    void ReleaseLists();
    // The "Map" box's own action when its state changed: the map window shown at its stored
    // place, or its place stored and the window hidden.
    void FollowMapBox();

    EngineCore core_;
    EngineViews views_;
    WindowPart window_;
    WsjtxFilesPart files_;
    EquipmentPart equipment_;
    FeedPart feed_;
    ListsPart lists_;
    SearchPart search_;
    GridsPart grids_;
    RepairsPart repairs_;
    AdifPart adif_;
    BackupsPart backups_;
    // The heard rows pass the award tables' "needed" on their way to the window.
    NeededHeardView heardNeeded_;
    WsjtxMessagesPart messages_;
    PlacesPart places_;
    InfoViewsPart info_;
    DownloadsNotices downloadsNotices_;
    DownloadsPart downloads_;
    MapPart map_;
    bool mapBoxTicked_ = false;
    // The journal's searches and extracts run here; declared before the part, so the part (which
    // cancels its search) goes first and the jobs are waited for after.
    JobRunner journalJobs_;
    JournalPart journal_;
    JobRunner placesJobs_;  // the places list's load at start-up
    // The journal audit's readings run here; declared before the part, which cancels its reading.
    JobRunner auditJobs_;
    AuditPart audit_;
    WsjtxAnswerPart answer_;
    // The confirmations (confirmations.adi), the LoTW download that adds to them, and the award
    // tables that count them. The secret store is the services' one, else the desktop's.
    ConfirmationsModel confirmations_;
    std::unique_ptr<SecretStore> desktopSecrets_;
    LotwPart lotw_;
    AwardsPart awards_;
    // The parts that the window's actions reach through Call and With.
    std::tuple<SearchPart&, PlacesPart&, JournalPart&, EquipmentPart&, FeedPart&, AdifPart&, WindowPart&,
               WsjtxFilesPart&, WsjtxMessagesPart&, AuditPart&, WsjtxAnswerPart&, LotwPart&, AwardsPart&>
        reachable_{search_, places_, journal_, equipment_, feed_,  adif_, window_,
                   files_,  messages_, audit_, answer_, lotw_, awards_};
};

}  // namespace vantrel
