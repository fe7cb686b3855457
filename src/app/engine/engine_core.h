// What every engine part shares: the outside services, the switches and folders, the trace,
// the operator's station and WSJT-X's configuration, the stored options, the local log and the
// rule that holds it while long work runs. Each part keeps the rest of its state to itself.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/engine/log_gate.h"
#include "base/services.h"
#include "app/engine/station_log.h"
#include "app/engine/station_model.h"
#include "app/engine/tracer.h"
#include "app/engine/views.h"
#include "base/data_folders.h"
#include "base/switches.h"
#include "geo/country_tables.h"
#include "log/local_log_record.h"
#include "log/log_lines.h"
#include "net/download_addresses.h"
#include "net/https_fetch.h"
#include "net/secret_store.h"
#include "settings/options_model.h"
#include "settings/settings_store.h"
#include "settings/stored_options.h"
#include "settings/wsjtx_ini.h"

namespace vantrel {

namespace fs = std::filesystem;

struct EngineServices {
    SettingsStore& store;
    Clock& clock;
    UdpReceiver& receiver;
    Desktop& desktop;
    FolderEnvironment environment;
    fs::path programFile;   // its date is the build date in the caption
    fs::path viewerFolder;  // the program's own data folder (where it was started)
    // False without a window: questions that nobody can answer are not asked.
    bool interactive = true;
    // The data the program ships (the places files, the map images); empty when not found.
    fs::path dataFolder;
    // Where the downloads come from and how they are fetched (tests use a server of their own).
    DownloadAddresses downloadAddresses = DownloadAddresses::FromBuildAndEnvironment();
    FetchSettings fetchSettings;
    // The receiver of WSJT-X's own UDP messages; none in tests that do not need it.
    MessageListener* listener = nullptr;
    // Where the LoTW login is kept; none: the desktop's secret store.
    SecretStore* secrets = nullptr;
};

// The desktop as the parts use it: a file, folder or address that the desktop cannot open is
// said to the operator, with the path or address to open by hand.
class OperatorDesktop : public Desktop {
public:
    OperatorDesktop(Desktop& desktop, NoticeView& notices) : desktop_(desktop), notices_(notices) {}
    bool OpenFile(const std::string& path) override;
    bool OpenUrl(const std::string& url) override;
    void CopyText(const std::string& text) override { desktop_.CopyText(text); }

private:
    Desktop& desktop_;
    NoticeView& notices_;
};

// Where the run stands. Work from outside is taken from the start of the start-up sequence until
// the close or a quit; "running" spans the exclusion check of the start-up to the close.
class RunState {
public:
    bool StartupBegun() const { return startupBegun_; }
    bool StartupDone() const { return startupDone_; }
    bool Closed() const { return closed_; }
    bool QuitRequested() const { return quitRequested_; }
    bool Running() const { return running_; }
    // True while entry points may run work.
    bool TakesWork() const { return startupBegun_ && !closed_ && !quitRequested_; }

    void BeginStartup() { startupBegun_ = true; }
    void StartRunning() { running_ = true; }
    void EndStartup() { startupDone_ = true; }
    void RequestQuit() { quitRequested_ = true; }
    void Close() {
        closed_ = true;
        running_ = false;
    }

private:
    bool startupBegun_ = false, startupDone_ = false, closed_ = false, quitRequested_ = false;
    bool running_ = false;
};

class EngineCore {
public:
    EngineCore(EngineServices services, NoticeView& notices, const std::vector<std::string>& arguments);

    const EngineServices& Services() const { return services_; }
    NoticeView& Notices() const { return notices_; }
    OperatorDesktop& Desktop() { return desktop_; }
    const fs::path& ViewerFolder() const { return viewerFolder_; }
    const fs::path& WsjtxFolder() const { return wsjtxFolder_; }
    // The models the parts share, each announcing its changes to whoever subscribed.
    StationLog& Log() { return log_; }
    const StationLog& Log() const { return log_; }
    CountryTables& Countries() { return countries_; }  // the table of cty.dat in use
    const CountryTables& Countries() const { return countries_; }
    // The copy of WSJT-X's own log, as the start-up read it.
    LogLines& WsjtxLogLines() { return wsjtxLogLines_; }
    const LogLines& WsjtxLogLines() const { return wsjtxLogLines_; }
    LogGate& Gate() { return gate_; }
    const LogGate& Gate() const { return gate_; }
    vantrel::Tracer& Tracer() { return tracer_; }
    RunState& State() { return state_; }
    const RunState& State() const { return state_; }
    // The last-contact box.
    const std::string& LastContact() const { return lastContact_; }
    void SetLastContact(std::string text) { lastContact_ = std::move(text); }
    // Ticks of the one-second schedule since the start-up ended.
    int Ticks() const { return ticks_; }
    void SetTicks(int ticks) { ticks_ = ticks; }
    // A part that follows the one-second schedule subscribes here; it is called on every tick
    // after the start-up, never while long work holds the log.
    void OnTick(std::function<void()> listener) { tickListeners_.push_back(std::move(listener)); }
    void AnnounceTick() const {
        for (const auto& listener : tickListeners_) listener();
    }

    // The options and the station as they stand, and their models: changed through the model,
    // every change announced to the parts that subscribed.
    const StoredOptions& Options() const { return options_.Get(); }
    const StationDetails& Station() const { return station_.Details(); }
    const WsjtxConfig& Config() const { return station_.Config(); }
    OptionsModel& LiveOptions() { return options_; }
    StationModel& LiveStation() { return station_; }
    void UpdateOptions(const OptionsEdit& change) { options_.Update(change); }

    bool HasSwitch(std::string_view name) const { return switches_.HasSwitch(name); }
    fs::path ViewerFile(std::string_view name) const { return viewerFolder_ / name; }
    WsjtxFiles CurrentWsjtxFiles() const;
    LocalTime Now() const { return ToLocalTime(services_.clock.Now()); }
    // stem + ddmmyyyy of today + extension.
    std::string DatedName(const char* stem, const char* extension) const;

    // With "/DEBUG", one line of the diagnostic log.
    void Diagnostic(std::string_view text);
    void Trace(std::string_view label, std::string_view text);
    // A trace line that the operator also sees on the status line.
    void Report(std::string_view label, std::string_view text);
    // The same for work that wrote a file: the text, then the file's path (on the status line it
    // opens the file's folder).
    void ReportFile(std::string_view label, const std::string& text, const fs::path& file);
    // Shows the number of contacts in the local log.
    void ShowEntriesCount(StationView& view) const;

private:
    EngineServices services_;
    NoticeView& notices_;
    OperatorDesktop desktop_;
    const Switches switches_;
    const fs::path viewerFolder_;
    const fs::path wsjtxFolder_;
    vantrel::Tracer tracer_;
    LogGate gate_;
    LogLines wsjtxLogLines_;
    StationLog log_;
    CountryTables countries_;
    std::string lastContact_;
    int ticks_ = 0;
    std::vector<std::function<void()>> tickListeners_;
    RunState state_;
    OptionsModel options_;
    StationModel station_;
};

}  // namespace vantrel
