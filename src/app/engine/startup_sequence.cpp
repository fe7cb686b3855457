// The start-up sequence, run once at the first activation of the main window. Its steps bring
// every file and list into a usable state; a check that ends the program shows its message and
// stops the sequence where it stands. The sequence holds the local log until it ends: a contact
// that arrives meanwhile is logged, in order, right after it.
#include <cstdlib>
#include <system_error>

#include "app/engine/station_engine.h"
#include "base/file_io.h"
#include "journal/recent_activity.h"
#include "log/local_log.h"

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

void StationEngine::MainWindowActivated() {
    if (core_.State().StartupBegun()) return;
    core_.State().BeginStartup();
    core_.Gate().Hold();
    RunStartupSequence();
}

void StationEngine::RunStartupSequence() {
    SettingsStore& store = core_.Services().store;
    // The settings the start-up reads come from one reading of the store.
    const SettingsStore::ReadBatch settingsBatch(store);
    WindowView& window = views_.window;

    if (core_.HasSwitch("/DEBUG")) {
        core_.Tracer().OpenDiagnostics(core_.ViewerFile("errorlog.txt"));
        core_.Tracer().WriteDiagnostic("Started at " + FormatDateTimeText(core_.Now()));
    }

    // The sibling logger and this program share WSJT-X's files: only one of them may run.
    if (store.ReadBool("Wexo/General", "Wexo_Active", false)) {
        core_.Notices().ShowMessage("Vantrel resource error",
                                  "Only Wexo ++ OR ++ Vantrel can run at any one time. Terminating Vantrel "
                                  "now - you can restart it after closing Wexo !!");
        window_.RequestQuit();
        return;
    }
    store.WriteBool(kOwnSection, "VantrelerActive", true);
    core_.State().StartRunning();

    core_.SetLastContact({});
    core_.Tracer().Begin(core_.ViewerFolder());
    // A write that a crash cut short leaves its file beside the target, which holds its old
    // content: the leftovers go.
    RemoveLeftoverWritesIn(core_.ViewerFolder());
    RemoveOldRecentListLeftovers(core_.ViewerFolder());

    const bool author = core_.HasSwitch("/AUTHOR");
    window.SetRegionVisible(Region::CheckMyGridMenu, author);
    window.SetRegionVisible(Region::AntWarningLabel, author);
    if (!author) {
        core_.UpdateOptions([](StoredOptions& options) {
            options.antAutoChange = false;
            options.antWarning = false;
        });
        window.SetRegionVisible(Region::AutochngCheck, false);
        window.SetRegionVisible(Region::EnabledCheck, false);
    }
    window.SetRegionVisible(Region::ColourSetupMenu, core_.HasSwitch("/SETCOLO"));

    // "Extended" and PlacesList4; the callsign search's "Details" reads the same list.
    if (const std::string problem = places_.PrepareAtStart(); !problem.empty()) core_.Trace(" Places ** ", problem);
    search_.UsePlacesList4(places_.List4());
    files_.StartJournalWatch();
    grids_.StartJournalWatch();
    equipment_.NoteRotatorSelection();

    if (core_.HasSwitch("/PURGE")) {
        PurgeSettings(store);
        window_.RequestQuit();
        return;
    }

    map_.DeleteMapLogAtStart();
    window_.ApplyStoredPlacement(150);
    window.SetCaption("Vantrel for WSJT-X - Version " + VersionText() + "  Build: " +
                      ProgramDate(core_.Services().programFile));

    if (store.ReadText(kOwnSection, "VantrelerCall", "") == "QQ0XYZ" || author) WriteReleaseVersionFile();
    // The release check answers later; the start-up does not wait for it.
    downloads_.StartReleaseCheck(core_.HasSwitch("/NVC"));

    equipment_.LoadEquipmentLists();

    // WSJT-X's configuration: callsign, grid and the logged-contact receiver.
    core_.Diagnostic("Updating INI file");
    files_.RefreshWsjtxConfig();
    core_.Diagnostic("Processing INI file");
    files_.ReadWsjtxConfig();
    // Without N1MM reporting the program has nothing to do, unless WSJT-X's own messages bring
    // the contacts it logs.
    if (!core_.Config().broadcast && core_.Config().hostPresent && !messages_.Listening()) {
        core_.Notices().ShowMessage("WSJT-X UDP support option not enabled",
                                  "Enable N1MM Logger + Broadcast support in WSJT-X : \"File /Settings "
                                  "/Reporting /Enable Logged Contact ADIF reporting\" for this software to "
                                  "operate. Terminating.");
        window_.RequestQuit();
        return;
    }

    // The run counters are taken from the store here, so the run count grows from start to
    // start: maintenance then runs every fifth start and the dates pass stops once done. The
    // copies are brought up to date at every start (only new bytes are copied), so the merge
    // below always sees what WSJT-X logged while the program was closed.
    core_.UpdateOptions([&](StoredOptions& options) {
        options.runs = store.ReadInteger(kOwnSection, "VantrelerRuns", 0);
        options.allCount = store.ReadInteger(kOwnSection, "VantrelerAllCount", 100);
        options.datesRun = store.ReadBool(kOwnSection, "VantrelerDatesRun", false);
        if (FileSize(core_.ViewerFile(kLogCopy)) < 0) options.runs = 0;
    });
    files_.CopyInWsjtxFiles([this] { ContinueAfterCopyIn(); });
}

void StationEngine::ContinueAfterCopyIn() {
    if (core_.State().QuitRequested() || core_.State().Closed()) return;
    core_.UpdateOptions([](StoredOptions& options) { ++options.runs; });

    const bool map = map_.MapAvailable();
    views_.window.SetRegionVisible(Region::MapCheck, map);
    if (!map) views_.window.SetRegionVisible(Region::MapButton, false);

    // The radio and antenna of the last run are in use before any contact is merged, so the
    // contacts that WSJT-X logged while the program was closed carry them.
    equipment_.ApplyStoredEquipment();
    LoadLocalLog();

    core_.Diagnostic("Creating callsign list");
    lists_.RedrawCallsignList();
    search_.LoadCountryTable();
    grids_.LoadGrids();
    LoadPlacesListInBackground();
    RunMaintenance();
}

void StationEngine::LoadPlacesListInBackground() {
    // The grid lookup's list is not needed for the first screen: it is read on a thread of its
    // own, and a lookup asked for meanwhile is answered when it is there.
    places_.BeginPlacesListLoad();
    auto load = std::make_shared<PlacesListLoad>();
    placesJobs_.Run([load, folders = places_.Folders()] { *load = vantrel::LoadPlacesList(folders); },
                    [this, load] {
                        if (core_.State().Closed()) return;
                        const std::string problem = places_.TakePlacesList(std::move(*load));
                        if (!problem.empty()) core_.Trace(" Places ** ", problem);
                    });
}

void StationEngine::RunMaintenance() {
    // The grids repair every fifth run, the dates pass on odd runs until done; each on its own
    // thread, the start-up going on when it has ended.
    const int runs = core_.Options().runs;
    const bool grids = runs % 5 == 0, dates = runs % 2 == 1 && !core_.Options().datesRun;
    auto finish = [this] { FinishStartup(); };
    auto datesThenFinish = [this, dates, finish] {
        if (dates) repairs_.check_dates_in_log(finish);
        else finish();
    };
    // The grids list loads in the background: a repair due before it is there runs once it is,
    // after the start-up.
    if (grids && grids_.Loaded()) repairs_.check_grids_in_log(grids_.GridsList(), datesThenFinish);
    else datesThenFinish();
    if (grids && !grids_.Loaded()) CheckGridsInLog();
}

void StationEngine::CheckGridsInLog() {
    grids_.WithGridsList(" check_grids_in_log ", "Check grids in log", [this] {
        Enter([this] { repairs_.check_grids_in_log(grids_.GridsList()); });
    });
}

void StationEngine::FinishStartup() {
    if (core_.State().QuitRequested() || core_.State().Closed()) return;
    const SettingsStore::ReadBatch settingsBatch(core_.Services().store);
    core_.Tracer().FlushDiagnostics();
    core_.ShowEntriesCount(views_.station);
    if (core_.Options().mapShow) map_.ShowWindow();
    backups_.BackupIfDue();
    core_.SetTicks(0);
    window_.ApplyFullLoad();
    core_.Services().store.WriteBool(kOwnSection, "VantrelerActive", true);
    if (core_.Log().size() > 0) lists_.WriteCallsInLog();
    core_.State().EndStartup();
    messages_.StartIndex();
    core_.Gate().Release();
    if (onStartupDone) onStartupDone();
}

void StationEngine::LoadLocalLog() {
    core_.WsjtxLogLines().clear();
    if (!core_.HasSwitch("/NLU")) {
        core_.Diagnostic("Checking for local WSJTX log file");
        if (auto lines = LoadLogLines(core_.ViewerFile(kLogCopy))) core_.WsjtxLogLines() = std::move(*lines);
        RemoveEmptyLines(core_.WsjtxLogLines());
    }

    core_.Diagnostic("Checking for local log file");
    const fs::path file = core_.ViewerFile(kLocalLog);
    const bool exists = FileSize(file) >= 0;
    std::string error;
    std::optional<LogLines> loaded;
    if (exists) loaded = core_.Log().Load(&error);
    // A line in the old layout carries the callsign at field 13; the converted lines go to a
    // file of their own for the operator. Without a callsign nothing can be recognised.
    const StationDetails& station = core_.Station();
    if (loaded && !loaded->empty() && !station.call.empty() && IsOldLayoutLine(loaded->front(), station.call)) {
        views_.station.ShowEntries("1");
        if (!SaveLogLines(core_.ViewerFile("Viewer_local_log.err"), RepairLocalLogColumns(*loaded, station), &error))
            core_.Report(" Repair ** ", error);
        views_.station.ShowEntries("Done");
    }

    if (exists) {
        if (!loaded) {
            // Never start a new log over one that could not be read.
            core_.Report(" Local log ** ", error);
            core_.Notices().ShowMessage("Error", "The local log could not be read: " + error);
        }
        const std::size_t onDisk = loaded ? loaded->size() : 0;
        core_.Log().Take(loaded ? std::move(*loaded) : LogLines(), onDisk);
    } else {
        core_.Diagnostic("Creating new local log file");
        core_.Diagnostic("create_new_local_log;");
        WsjtxMerge merge;
        if (!core_.Log().Replace(create_new_local_log(core_.WsjtxLogLines(), station, &merge), &error))
            core_.Report(" Local log not saved ** ", error);
        const std::string skipped = SkippedLinesTrace(merge);
        if (!skipped.empty()) core_.Trace(" wsjtx.log ** ", skipped);
    }

    // Every WSJT-X contact that the local log lacks is added once, wherever it stands in either
    // log (contacts imported, made from the journal or received only by the feed make the local
    // log longer); lines that hold no contact are skipped.
    if ((loaded || !exists) && !core_.HasSwitch("/NLU")) {
        core_.Diagnostic("Update local log with new");
        core_.Diagnostic("update_local_with_new;");
        const WsjtxMerge merge = core_.Log().MergeWsjtx(core_.WsjtxLogLines(), station);
        const std::string skipped = SkippedLinesTrace(merge);
        if (!skipped.empty()) core_.Trace(" wsjtx.log ** ", skipped);
        if (!core_.Log().Flush(&error)) core_.Report(" Local log not saved ** ", error);
    }

    core_.ShowEntriesCount(views_.station);
    core_.SetLastContact({});
    if (core_.Log().size() == 0) {
        views_.station.ShowLastContact("");
    } else {
        feed_.SetLastContact(std::string(core_.Log().Lines().back()));
    }
}

void StationEngine::WriteReleaseVersionFile() {
    // The release version file goes to the folder named by VANTREL_RELEASE_DIR, else to
    // "release" in the viewer folder.
    const char* dir = std::getenv("VANTREL_RELEASE_DIR");
    const fs::path folder = dir && *dir ? fs::path(dir) : core_.ViewerFile("release");
    std::error_code ec;
    fs::create_directories(folder, ec);
    std::string error;
    if (!WriteFileAtomic(folder / "version.txt", VersionText() + "\r\n", &error)) core_.Report(" Release ** ", error);
}

}  // namespace vantrel
