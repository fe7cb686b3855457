// The station engine: the program's state (data folders, switches, station details, the local
// log and its lists, counters, flags) and its operations, driven by the main window or, without
// a display, by headless mode and the tests.
#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/engine/background_job.h"
#include "app/engine/services.h"
#include "app/engine/station_view.h"
#include "base/data_folders.h"
#include "base/file_io.h"
#include "base/switches.h"
#include "geo/callsign_search.h"
#include "geo/contact_details.h"
#include "geo/country_lookup.h"
#include "geo/place_finder.h"
#include "log/callsign_list.h"
#include "log/local_log_file.h"
#include "log/log_maintenance.h"
#include "refdata/grids_builder.h"
#include "log/local_log_record.h"
#include "log/log_lines.h"
#include "settings/settings_store.h"
#include "settings/stored_options.h"
#include "settings/wsjtx_ini.h"

namespace vantrel {

namespace fs = std::filesystem;

struct EngineServices {
    SettingsStore& store;
    StationView& view;
    Clock& clock;
    UdpReceiver& receiver;
    Desktop& desktop;
    FolderEnvironment environment;
    fs::path programFile;  // its date is the build date in the caption
    // False without a window: questions that nobody can answer are not asked.
    bool interactive = true;
};

class StationEngine {
public:
    // The main window has been created: placement and colours applied, switches read,
    // WSJT-X's folder fixed, defaults set.
    StationEngine(EngineServices services, const std::vector<std::string>& arguments);
    ~StationEngine();
    StationEngine(const StationEngine&) = delete;
    StationEngine& operator=(const StationEngine&) = delete;

    // Each time the main window is shown: the stored placement and colours again.
    void MainWindowShown();
    // The first activation runs the start-up sequence; later activations do nothing.
    void MainWindowActivated();
    // Closing: the dated copies of WSJT-X's logs, the trace file, the receiver, the settings and
    // the running flag.
    void CloseMainWindow();
    // "EXIT": the lists, the settings and the running flag only.
    void ExitCommand();
    // "Backup data", and the start-up check every 30 days.
    void BackupLocalLog();

    // A menu entry or button.
    void Run(Command command);

    // The callsign list and its files, and the display panel's contact lists.
    void create_callsignlist();
    void display_callsigns();
    void WriteCallsInLog();
    void ShowLast50();
    void ShowLastUtcDay();

    // Repairs of the local log.
    void check_grids_in_log();
    void check_dates_in_log();
    void RemoveLogJunk();
    void ZapUserField();
    void CheckMyGrid();

    // The callsign search and what hangs on it.
    void SearchLog();
    void SearchEdited(const std::string& text);
    void SetWildSearch(bool wild);
    void LastContactClicked();
    void CallsignListClicked(const std::string& line, int column);
    void MatchListClicked(int row, bool leftButton);
    void ShowContactDetails(std::size_t logIndex);
    void DetailsClicked(int line, bool leftButton);
    void OpenLookupPage(const std::string& callsign);
    void CheckCountryFileAge();
    const CountryTable* Countries() const { return countryTable_.get(); }

    // The live feed of logged contacts, and the radio and antenna in use.
    void OnDatagram(const std::string& bytes);
    void N1mmPortChanged(const std::string& text);
    void RigChanged(const std::string& boxText);
    void AntennaChanged(const std::string& boxText);
    const std::vector<std::string>& PendingContacts() const { return pendingContacts_; }

    // grids.txt: built from the journal copy, refreshed from its new lines.
    void BuildGridsFile();
    void ForceGridsUpdate();
    void RefreshGrids();
    const LogLines& GridsList() const { return gridsList_; }
    // Waits for the grids build of the background to hand its result over (tests, benchmarks).
    void WaitForBackgroundWork() { gridsJob_.Wait(); }
    const CallsignList& Callsigns() const { return callsignList_; }

    // The one-second schedule and the rig follower; both timers tick once a second.
    void Tick();
    void RigFollowerTick();
    // Answers to the antenna warning.
    void AntennaWarningYes();
    void AntennaWarningNo();

    bool HasSwitch(std::string_view name) const { return switches_.HasSwitch(name); }
    void WriteDiagnostic(const std::string& text);
    void RequestQuit();
    bool QuitRequested() const { return quitRequested_; }
    bool StartupDone() const { return startupDone_; }

    // The trace list: "hhnnss.zzz" then the label and the text.
    void Trace(const std::string& label, const std::string& text);
    const LogLines& TraceList() const { return trace_; }

    // Operator actions on the settings.
    void ResetRegistryValues();
    void ColourChosen(int index, std::optional<Rgb> colour);
    void OptionsEdited();

    // The last-contact box: a new text is added to the local log unless it is already there.
    void SetLastContact(const std::string& text);
    void AddLastContact();

    // WSJT-X's configuration: the copy is refreshed when the sizes differ, then read.
    void ReadWsjtxConfig();
    void RefreshWsjtxConfig();
    // The copies of wsjtx.log and the journal.
    void update_log_file();
    void update_all_file(const fs::path& journal);  // WSJT-X's journal as located

    // State, for the views and the tests.
    const fs::path& WsjtxFolder() const { return wsjtxFolder_; }
    const fs::path& ViewerFolder() const { return viewerFolder_; }
    WsjtxFiles CurrentWsjtxFiles() const;
    const StationDetails& Station() const { return station_; }
    const WsjtxConfig& Config() const { return config_; }
    const LogLines& WsjtxLogLines() const { return wsjtxLogLines_; }
    const LogLines& LocalLogLines() const { return localLogLines_; }
    const std::string& LastContact() const { return lastContact_; }
    const StoredOptions& Options() const { return options_; }
    int RunCounter() const { return options_.runs; }
    const std::string& VersionText() const;

private:
    // Long work on the user-interface thread: the progress panel with its title, and the
    // schedule waits until it ends.
    class BusyScope {
    public:
        BusyScope(StationEngine& engine, std::string_view title);
        ~BusyScope();
        RepairProgress Progress() const;

    private:
        StationEngine& engine_;
        bool wasBusy_;
    };

    void RunStartupSequence();
    void RewriteLocalLog();
    void LoadGrids();
    void FinishGridsLoad();
    void StartGridsBuild(bool showProgress);
    void GridsBuildFinished(GridsBuild build, bool fileExisted);
    void CompleteForcedGridsUpdate();
    void LoadPlacesList4();
    void LoadCountryTable();
    void AutoShowFill();
    void RedrawCallsignList();
    void Look();
    void ClearResults();
    void LogPendingContacts();
    void ProcessDeferredDatagrams();
    void LoadEquipmentLists();
    void EditEquipment(bool radios);
    void ExportAdif(bool full);
    void AdifImport();
    void BackupIfDue();
    void ReleaseLists();
    void CloseDiagnostics();
    void RefreshJournalCopyIfChanged();
    void RefreshGridsIfJournalChanged();
    void RotatorCheck();
    void AntennaFollow();
    void RefreshLast50(TimePoint now);
    void ApplyStoredPlacement(int defaultLeftTop);
    void ApplyFullLoad();
    void SaveSettings();
    void SaveLocalLog(std::size_t firstNew);
    void ShowEntriesCount();
    void CopyInWsjtxFiles();
    void KeepLongerCopy(const fs::path& wsjtxFile, const fs::path& viewerCopy,
                        const std::string& datedName);
    bool CopyWsjtxFile(const fs::path& from, const char* copyName,
                       const CopyProgress& progress = {});
    void LoadLocalLog();
    void WriteReleaseVersionFile();
    std::string DatedName(const char* stem, const char* extension) const;
    fs::path ViewerFile(const char* name) const { return viewerFolder_ / name; }
    void Diagnostic(const char* text);
    void Report(const std::string& label, const std::string& text);

    EngineServices services_;
    Switches switches_;
    fs::path wsjtxFolder_;
    fs::path viewerFolder_;
    StationDetails station_;
    WsjtxConfig config_;
    std::string boundAddress_;  // host:port of the last binding
    StoredOptions options_;
    LogLines wsjtxLogLines_;
    LogLines localLogLines_;
    std::unique_ptr<LocalLogFile> localLogFile_;
    std::string lastContact_;
    std::string lastAntennaSelection_;
    std::string marliskFolder_;
    LogLines trace_;
    std::FILE* diagnostics_ = nullptr;
    bool running_ = false;
    bool closed_ = false;
    bool busy_ = false;  // long work on this thread: timer ticks wait
    int tickCounter_ = 0;
    // Modification times last acted on: the WSJT-X journal by the copy check, the viewer's copy
    // by the grids check.
    fs::file_time_type copyStamp_{};
    fs::file_time_type gridsStamp_{};
    bool rotatorWarning_ = false;
    bool reselectPending_ = false;
    bool last50Wanted_ = false;
    bool last50Drawn_ = false;
    TimePoint last50Time_{};
    CallsignList callsignList_;
    std::size_t callsignLinesRead_ = 0;  // local log lines already in the callsign list
    CallsignList callsInLog_;            // calls_in_log.txt
    std::size_t callsInLogLinesRead_ = 0;
    std::unique_ptr<CountryTable> countryTable_;
    LogLines placesList4_;
    std::unique_ptr<PlaceFinder> placeFinder_;
    std::shared_ptr<const MatchList> matchList_;
    std::vector<DetailsLine> detailsLines_;
    std::string lastCountry_;
    bool wildSearch_ = false;
    std::vector<std::string> pendingContacts_;    // received, waiting for the warning's answer
    std::vector<std::string> deferredDatagrams_;  // arrived while a repair held the log
    int echoPort_ = 2334;
    LogLines gridsList_;
    // The state of the last grids build, which the schedule continues from; none until the
    // background build of this run has finished.
    std::unique_ptr<GridsBuild> gridsState_;
    BackgroundJob<GridsBuild> gridsJob_;
    bool forceAfterBuild_ = false;
    std::vector<std::string> rigs_;
    std::vector<std::string> antennas_;
    bool startupBegun_ = false;
    bool startupDone_ = false;
    bool quitRequested_ = false;
};

}  // namespace vantrel
