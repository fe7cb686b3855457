// What every engine part shares: the outside services, the switches and folders, the trace,
// the operator's station and WSJT-X's configuration, the stored options, the local log and the
// rule that holds it while long work runs. Each part keeps the rest of its state to itself.
#pragma once

#include <filesystem>
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

class EngineCore {
public:
    EngineCore(EngineServices services, NoticeView& notices, const std::vector<std::string>& arguments);

    EngineServices services;
    NoticeView& notices;
    OperatorDesktop desktop;
    const Switches switches;
    const fs::path viewerFolder;
    const fs::path wsjtxFolder;
    Tracer tracer;
    LogGate gate;
    LogLines wsjtxLogLines;
    StationLog log;
    CountryTables countries;  // the table of cty.dat in use; replaced whole by an update
    std::string lastContact;  // the last-contact box
    int tickCounter = 0;
    bool startupBegun = false, startupDone = false, closed = false, quitRequested = false;
    bool running = false;  // from the start-up's exclusion check until the close

    // The options and the station as they stand, and their models: changed through the model,
    // every change announced to the parts that subscribed.
    const StoredOptions& Options() const { return options_.Get(); }
    const StationDetails& Station() const { return station_.Details(); }
    const WsjtxConfig& Config() const { return station_.Config(); }
    OptionsModel& LiveOptions() { return options_; }
    StationModel& LiveStation() { return station_; }
    void UpdateOptions(const OptionsEdit& change) { options_.Update(change); }

    bool HasSwitch(std::string_view name) const { return switches.HasSwitch(name); }
    fs::path ViewerFile(std::string_view name) const { return viewerFolder / name; }
    WsjtxFiles CurrentWsjtxFiles() const;
    LocalTime Now() const { return ToLocalTime(services.clock.Now()); }
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
    OptionsModel options_;
    StationModel station_;
};

}  // namespace vantrel
