// Every value of the program's own settings section with its default, and the groups of keys
// that are loaded, saved and purged together.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/answer_options.h"
#include "settings/rgb.h"
#include "settings/settings_store.h"

namespace vantrel {


// The twelve palette colours, Colour1 at index 0.
using Palette = std::array<Rgb, 12>;
Palette DefaultPalette();

// Six upper-case hexadecimal digits RRGGBB.
std::string ColourToText(Rgb colour);
// Characters 1-2 red, 3-4 green, 5-6 blue; later characters are ignored. Nothing when the text
// is shorter than six characters or a pair is not hexadecimal.
std::optional<Rgb> TextToColour(std::string_view text);

struct Placement {
    int left = 150, top = 150, width = 660, height = 600;
    friend bool operator==(const Placement&, const Placement&) = default;
};

struct MapPlacement {
    int left = 100, top = 100, width = 660, height = 375, scale = 33;
    bool autoClear = true, onTop = false;
    friend bool operator==(const MapPlacement&, const MapPlacement&) = default;
};

// The values of the store that the program keeps in memory.
struct StoredOptions {
    Placement main;
    bool brDist = false;            // VantrelerBr_Dist, "B/D"
    int runs = 0;                   // VantrelerRuns
    int allCount = 100;             // VantrelerAllCount
    bool datesRun = false;          // VantrelerDatesRun
    bool autoShow = true;           // VantrelerAutoShow
    int showCount = 3;              // VantrelerShowCount, held within 2..6
    std::string rig;                // VantrelerRig
    std::string ant;                // VantrelerAnt
    int exportAdifCount = 0;        // VantrelerExportADIFileCount
    bool mapShow = false;           // VantrelerMapShow
    std::string searches = "QRZ";   // VantrelerSearches, the lookup service
    std::string lastBackup;         // VantrelerLastbackup, date-time text
    bool showDetails = false;       // VantrelerShowDetails
    bool searchAllTxt = false;      // VantrelerSearchALLtxt
    bool refreshAuto = false;       // VantrelerRefreshAuto
    bool antWarning = false;        // VantrelerAntWarning (read only with /AUTHOR)
    bool antAutoChange = false;     // VantrelerAntAutoChange (read only with /AUTHOR)
    Palette colours = DefaultPalette();
    bool always50 = false;          // VantrelerAlways50
    bool showHeard = true;          // VantrelerShowHeard, the stations heard
    bool showRev = false;           // VantrelerShowRev
    std::string marliskFolder;      // MarliskFolder (never written)
    std::string omniRigName;        // "RigName" of section "IcomOmniRig"
    MapPlacement map;               // the map window's keys
    AnswerOptions answers;          // colouring WSJT-X's decodes and the alerts
    friend bool operator==(const StoredOptions&, const StoredOptions&) = default;
};

// Values that SaveAll writes from the running program rather than from the options.
struct SaveContext {
    std::string call;      // VantrelerCall
    std::string location;  // VantrelerLocation (ViewerFolder)
    bool active = false;   // VantrelerActive
};

Placement LoadPlacement(SettingsStore& store, int defaultLeftTop = 150);
Palette LoadColours(SettingsStore& store);
// The full load, in the stored order. "now" is the date-time text that a missing
// VantrelerLastbackup reads as. The AntWarning keys are read only when author is true.
// VantrelerShowCount is held within 2..6; a VantrelerLastbackup that is missing or is not a
// date-time text reads as "now"; the map window's keys are loaded into options.map as well.
void LoadAll(SettingsStore& store, StoredOptions& options, bool author, std::string_view now);
// The save functions write their keys in one step where the store allows it; false when the
// store could not be written.
bool SaveAll(SettingsStore& store, const StoredOptions& options, const SaveContext& context);
bool SaveMapPlacement(SettingsStore& store, const MapPlacement& map);
MapPlacement LoadMapPlacement(SettingsStore& store);
// Deletes the window and counter keys; every other key survives.
bool PurgeSettings(SettingsStore& store);

}  // namespace vantrel
