// The start-up sequence, run once at the first activation of the main window. Its steps bring
// every file and list into a usable state; a check that ends the program shows its message and
// stops the sequence where it stands.
#include <cstdlib>
#include <system_error>

#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "log/local_log.h"
#include "settings/equipment_lists.h"

namespace vantrel {

namespace {

std::string ProgramDate(const fs::path& programFile) {
    std::error_code ec;
    const auto written = fs::last_write_time(programFile, ec);
    if (ec) return "";
    const auto system = std::chrono::file_clock::to_sys(written);
    return FormatDdMmmYy(ToLocalTime(std::chrono::time_point_cast<TimePoint::duration>(system)));
}

}  // namespace

void StationEngine::RunStartupSequence() {
    StationView& view = services_.view;
    SettingsStore& store = services_.store;
    const TimePoint now = services_.clock.Now();

    // Folders and diagnostics.
    std::error_code ec;
    viewerFolder_ = fs::current_path(ec);
    if (HasSwitch("/DEBUG")) {
        diagnostics_ = std::fopen(ViewerFile("errorlog.txt").c_str(), "w");
        WriteDiagnostic("Started at " + FormatDateTimeText(ToLocalTime(now)));
    }

    // The sibling logger and this program share WSJT-X's files: only one of them may run.
    if (store.ReadBool("Wexo/General", "Wexo_Active", false)) {
        view.ShowMessage("Vantrel resource error",
                         "Only Wexo ++ OR ++ Vantrel can run at any one time. Terminating Vantrel "
                         "now - you can restart it after closing Wexo !!");
        RequestQuit();
        return;
    }
    store.WriteBool(kOwnSection, "VantrelerActive", true);
    running_ = true;

    lastContact_.clear();
    trace_.clear();
    SaveLogLines(ViewerFile("tracer.txt"), trace_);

    const bool author = HasSwitch("/AUTHOR");
    view.SetRegionVisible(Region::CheckMyGridMenu, author);
    view.SetRegionVisible(Region::AntWarningLabel, author);
    if (!author) {
        options_.antAutoChange = false;
        options_.antWarning = false;
        view.SetRegionVisible(Region::AutochngCheck, false);
        view.SetRegionVisible(Region::EnabledCheck, false);
    }
    view.SetRegionVisible(Region::ColourSetupMenu, HasSwitch("/SETCOLO"));

    view.SetRegionVisible(Region::ExtendedCheck, FileSize(ViewerFile("allplaces.txt")) >= 0);
    LoadPlacesList4();
    copyStamp_ = gridsStamp_ = fs::file_time_type::clock::now();

    lastAntennaSelection_ = store.ReadText(kOwnSection, "RotHFAntSel", "");
    marliskFolder_.clear();

    if (HasSwitch("/PURGE")) {
        PurgeSettings(store);
        RequestQuit();
        return;
    }

    fs::remove(ViewerFile("maplog.txt"), ec);
    ApplyStoredPlacement(150);
    view.SetCaption("Vantrel for WSJT-X - Version " + VersionText() + "  Build: " +
                    ProgramDate(services_.programFile));

    if (store.ReadText(kOwnSection, "VantrelerCall", "") == "QQ0XYZ" || author)
        WriteReleaseVersionFile();

    LoadEquipmentLists();

    // WSJT-X's configuration: callsign, grid and the logged-contact receiver.
    Diagnostic("Updating INI file");
    RefreshWsjtxConfig();
    Diagnostic("Processing INI file");
    ReadWsjtxConfig();
    if (!config_.broadcast && config_.hostPresent) {
        view.ShowMessage("WSJT-X UDP support option not enabled",
                         "Enable N1MM Logger + Broadcast support in WSJT-X : \"File /Settings "
                         "/Reporting /Enable Logged Contact ADIF reporting\" for this software to "
                         "operate. Terminating.");
        RequestQuit();
        return;
    }

    // The run counters are taken from the store here, so the run count grows from start to
    // start: maintenance then runs every fifth start and the dates pass stops once done. The
    // copies are brought up to date at every start (only new bytes are copied), so the merge
    // below always sees what WSJT-X logged while the program was closed.
    options_.runs = store.ReadInteger(kOwnSection, "VantrelerRuns", 0);
    options_.allCount = store.ReadInteger(kOwnSection, "VantrelerAllCount", 100);
    options_.datesRun = store.ReadBool(kOwnSection, "VantrelerDatesRun", false);
    if (FileSize(ViewerFile(kLogCopy)) < 0) options_.runs = 0;
    CopyInWsjtxFiles();  // keeps a longer copy under a dated name before replacing it
    ++options_.runs;

    const bool map = FileSize(ViewerFile("world600x300.png")) >= 0;
    view.SetRegionVisible(Region::MapCheck, map);
    if (!map) view.SetRegionVisible(Region::MapButton, false);

    LoadLocalLog();

    Diagnostic("Creating callsign list");
    create_callsignlist();
    display_callsigns();

    LoadCountryTable();

    // The radio and antenna of the last run.
    station_.rig = RigFromBoxText(store.ReadText(kOwnSection, "VantrelerRig", ""));
    station_.antenna = store.ReadText(kOwnSection, "VantrelerAnt", "");
    view.ShowEquipment(rigs_, antennas_, station_.rig, station_.antenna);

    LoadGrids();

    // Maintenance: the grids repair every fifth run, the dates pass on odd runs until done.
    if (options_.runs % 5 == 0) check_grids_in_log();
    if (options_.runs % 2 == 1 && !options_.datesRun) check_dates_in_log();

    if (HasSwitch("/DEBUG") && diagnostics_) std::fflush(diagnostics_);
    ShowEntriesCount();

    BackupIfDue();
    tickCounter_ = 0;
    ApplyFullLoad();
    if (HasSwitch("/UDP_ECHO")) echoPort_ = config_.port + 1;
    store.WriteBool(kOwnSection, "VantrelerActive", true);
    if (!localLogLines_.empty()) WriteCallsInLog();
    startupDone_ = true;
}

void StationEngine::LoadLocalLog() {
    wsjtxLogLines_.clear();
    if (!HasSwitch("/NLU")) {
        Diagnostic("Checking for local WSJTX log file");
        if (auto lines = LoadLogLines(ViewerFile(kLogCopy))) wsjtxLogLines_ = std::move(*lines);
        RemoveEmptyLines(wsjtxLogLines_);
    }

    localLogLines_.clear();
    Diagnostic("Checking for local log file");
    localLogFile_ = std::make_unique<LocalLogFile>(ViewerFile(kLocalLog));
    const bool exists = FileSize(ViewerFile(kLocalLog)) >= 0;
    std::string error;
    std::optional<LogLines> loaded;
    if (exists) loaded = localLogFile_->Load(&error);
    // A line in the old layout carries the callsign at field 13; the converted lines go to a
    // file of their own for the operator. Without a callsign nothing can be recognised.
    if (loaded && !loaded->empty() && !station_.call.empty() &&
        IsOldLayoutLine(loaded->front(), station_.call)) {
        services_.view.ShowEntries("1");
        if (!SaveLogLines(ViewerFile("Viewer_local_log.err"),
                          RepairLocalLogColumns(*loaded, station_), &error))
            Report(" Repair ** ", error);
        services_.view.ShowEntries("Done");
    }

    std::size_t firstNew = 0;
    if (exists) {
        if (loaded) {
            localLogLines_ = std::move(*loaded);
        } else {
            // Never start a new log over one that could not be read.
            Report(" Local log ** ", error);
            services_.view.ShowMessage("Error", "The local log could not be read: " + error);
        }
        firstNew = localLogLines_.size();
    } else {
        Diagnostic("Creating new local log file");
        Diagnostic("create_new_local_log;");
        localLogLines_ = create_new_local_log(wsjtxLogLines_, station_);
        localLogFile_->Save(localLogLines_, &error);
        firstNew = localLogLines_.size();
    }

    if (localLogLines_.size() < wsjtxLogLines_.size() && (loaded || !exists)) {
        Diagnostic("Update local log with new");
        if (!HasSwitch("/NLU")) {
            Diagnostic("update_local_with_new;");
            update_local_with_new(localLogLines_, wsjtxLogLines_, station_);
            SaveLocalLog(firstNew);
        }
    }

    ShowEntriesCount();
    RemoveEmptyLines(localLogLines_);
    if (localLogLines_.empty()) {
        lastContact_.clear();
        services_.view.ShowLastContact("");
    } else {
        SetLastContact(std::string(localLogLines_.back()));
    }
}

void StationEngine::WriteReleaseVersionFile() {
    // The release version file goes to the folder named by VANTREL_RELEASE_DIR, else to
    // "release" in the viewer folder.
    const char* dir = std::getenv("VANTREL_RELEASE_DIR");
    const fs::path folder = dir && *dir ? fs::path(dir) : ViewerFile("release");
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::string error;
    if (!WriteFileAtomic(folder / "version.txt", VersionText() + "\r\n", &error))
        Report(" Release ** ", error);
}

}  // namespace vantrel
