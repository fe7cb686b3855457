// Where WSJT-X keeps its files on this computer, and which of them the program mirrors.
#pragma once

#include <filesystem>
#include <string>

#include "base/time_text.h"

namespace vantrel {

namespace fs = std::filesystem;

// The environment values that decide the folders (empty when unset).
struct FolderEnvironment {
    std::string localAppData;   // LOCALAPPDATA
    std::string xdgDataHome;    // XDG_DATA_HOME
    std::string xdgConfigHome;  // XDG_CONFIG_HOME
    std::string home;           // HOME
    static FolderEnvironment FromProcess();
};

// WSJT-X's data folder: $LOCALAPPDATA/WSJT-X when LOCALAPPDATA is set, else
// $XDG_DATA_HOME/WSJT-X (default ~/.local/share/WSJT-X). A rig name gives "WSJT-X - NAME".
fs::path ResolveWsjtxFolder(const FolderEnvironment& env, const std::string& rigName);

// The WSJT-X files, found without regard to letter case. A missing file keeps its usual name
// in the data folder (its size then reads as -1).
struct WsjtxFiles {
    fs::path log;      // wsjtx.log
    fs::path adif;     // wsjtx_log.adi
    fs::path config;   // WSJT-X.ini: in the data folder when there, else in $XDG_CONFIG_HOME
    // ALL.TXT, or the current period's yyyy-ALL.TXT / yyyy-MM-ALL.TXT when the configuration
    // splits the journal per year or month.
    fs::path journal;
};

WsjtxFiles LocateWsjtxFiles(const fs::path& wsjtxFolder, const FolderEnvironment& env,
                            const std::string& rigName, const LocalTime& now);

// The folder of the data the program ships (the places files, the map images): "../share/vantrel"
// beside the program's folder when the program is installed, else the source tree's "data"
// folder when the program runs from the build folder it was built in (or a folder inside it);
// empty when neither is found.
fs::path FindShippedDataFolder(const fs::path& programFolder);
// The same with the build folder and the source tree's data folder given.
fs::path FindShippedDataFolder(const fs::path& programFolder, const fs::path& buildFolder,
                               const fs::path& sourceDataFolder);

// The viewer's own names for its copies.
inline constexpr const char* kLogCopy = "wsjtx.log";
inline constexpr const char* kConfigCopy = "wsjt-x.ini";
inline constexpr const char* kJournalCopy = "all.txt";
inline constexpr const char* kLocalLog = "Viewer_local_log.csv";

}  // namespace vantrel
