#include "settings/stored_options.h"

#include <algorithm>

#include "base/time_text.h"

namespace vantrel {

namespace {

constexpr std::string_view kOmniRigSection = "IcomOmniRig";
constexpr int kShowCountMin = 2;
constexpr int kShowCountMax = 6;

std::string ColourKey(std::size_t index) { return "VantrelerColour" + std::to_string(index + 1); }

std::string BoolText(bool value) { return value ? "1" : "0"; }

}  // namespace

Placement LoadPlacement(SettingsStore& store, int defaultLeftTop) {
    const SettingsStore::ReadBatch batch(store);
    Placement p;
    p.left = store.ReadInteger(kOwnSection, "VantrelerLeft", defaultLeftTop);
    p.top = store.ReadInteger(kOwnSection, "VantrelerTop", defaultLeftTop);
    p.width = store.ReadInteger(kOwnSection, "VantrelerWidth", 660);
    p.height = store.ReadInteger(kOwnSection, "VantrelerHeight", 600);
    return p;
}

Palette LoadColours(SettingsStore& store) {
    const SettingsStore::ReadBatch batch(store);
    Palette colours = DefaultPalette();
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const std::string text = store.ReadText(kOwnSection, ColourKey(i), ColourToText(colours[i]));
        if (const auto colour = TextToColour(text)) colours[i] = *colour;
    }
    return colours;
}

void LoadAll(SettingsStore& s, StoredOptions& options, bool author, std::string_view now) {
    const SettingsStore::ReadBatch batch(s);  // one reading of the store for the whole load
    const StoredOptions defaults;
    const std::string_view own = kOwnSection;
    options.main = LoadPlacement(s, 30);
    options.brDist = s.ReadBool(own, "VantrelerBr_Dist", defaults.brDist);
    options.runs = s.ReadInteger(own, "VantrelerRuns", defaults.runs);
    options.allCount = s.ReadInteger(own, "VantrelerAllCount", defaults.allCount);
    options.datesRun = s.ReadBool(own, "VantrelerDatesRun", defaults.datesRun);
    options.autoShow = s.ReadBool(own, "VantrelerAutoShow", defaults.autoShow);
    options.showCount = std::clamp(s.ReadInteger(own, "VantrelerShowCount", defaults.showCount),
                                   kShowCountMin, kShowCountMax);
    options.rig = s.ReadText(own, "VantrelerRig", defaults.rig);
    options.ant = s.ReadText(own, "VantrelerAnt", defaults.ant);
    options.exportAdifCount =
        s.ReadInteger(own, "VantrelerExportADIFileCount", defaults.exportAdifCount);
    options.mapShow = s.ReadBool(own, "VantrelerMapShow", defaults.mapShow);
    options.searches = s.ReadText(own, "VantrelerSearches", defaults.searches);
    options.lastBackup = s.ReadText(own, "VantrelerLastbackup", now);
    // A time that cannot be read back (edited by hand, another format) counts as a backup now.
    if (!ParseDateTimeText(options.lastBackup)) options.lastBackup = std::string(now);
    options.showDetails = s.ReadBool(own, "VantrelerShowDetails", defaults.showDetails);
    options.searchAllTxt = s.ReadBool(own, "VantrelerSearchALLtxt", defaults.searchAllTxt);
    options.refreshAuto = s.ReadBool(own, "VantrelerRefreshAuto", defaults.refreshAuto);
    if (author) {
        options.antWarning = s.ReadBool(own, "VantrelerAntWarning", defaults.antWarning);
        options.antAutoChange = s.ReadBool(own, "VantrelerAntAutoChange", defaults.antAutoChange);
    }
    options.colours = LoadColours(s);
    options.always50 = s.ReadBool(own, "VantrelerAlways50", defaults.always50);
    options.showHeard = s.ReadBool(own, "VantrelerShowHeard", defaults.showHeard);
    options.answers = LoadAnswerOptions(s);
    options.showRev = s.ReadBool(own, "VantrelerShowRev", defaults.showRev);
    options.marliskFolder = s.ReadText(own, "MarliskFolder", "");
    options.omniRigName = s.ReadText(kOmniRigSection, "RigName", "");
    options.map = LoadMapPlacement(s);
}

bool SaveAll(SettingsStore& store, const StoredOptions& o, const SaveContext& context) {
    SettingsStore::Values values = {
        {"VantrelerLeft", std::to_string(o.main.left)},
        {"VantrelerTop", std::to_string(o.main.top)},
        {"VantrelerWidth", std::to_string(o.main.width)},
        {"VantrelerHeight", std::to_string(o.main.height)},
        {"VantrelerRuns", std::to_string(o.runs)},
        {"VantrelerAllCount", std::to_string(o.allCount)},
        {"VantrelerDatesRun", BoolText(o.datesRun)},
        {"VantrelerAutoShow", BoolText(o.autoShow)},
        {"VantrelerShowCount", std::to_string(o.showCount)},
        {"VantrelerExportADIFileCount", std::to_string(o.exportAdifCount)},
        {"VantrelerSearches", o.searches},
        {"VantrelerCall", context.call},
        {"VantrelerLocation", context.location},
        {"VantrelerBr_Dist", BoolText(o.brDist)},
        {"VantrelerRig", o.rig},
        {"VantrelerAnt", o.ant},
        {"VantrelerMapShow", BoolText(o.mapShow)},
        {"VantrelerMapClear", BoolText(o.map.autoClear)},
        {"VantrelerAntWarning", BoolText(o.antWarning)},
        {"VantrelerMapOnTop", BoolText(o.map.onTop)},
        {"VantrelerLastbackup", o.lastBackup},
        {"VantrelerShowDetails", BoolText(o.showDetails)},
        {"VantrelerSearchALLtxt", BoolText(o.searchAllTxt)},
        {"VantrelerRefreshAuto", BoolText(o.refreshAuto)},
        {"VantrelerAntAutoChange", BoolText(o.antAutoChange)},
        {"VantrelerAlways50", BoolText(o.always50)},
        {"VantrelerShowRev", BoolText(o.showRev)},
    };
    for (std::size_t i = 0; i < o.colours.size(); ++i)
        values.emplace_back(ColourKey(i), ColourToText(o.colours[i]));
    values.emplace_back("VantrelerActive", BoolText(context.active));
    // Keys of the program's later windows come after the others.
    values.emplace_back("VantrelerShowHeard", BoolText(o.showHeard));
    AppendAnswerOptions(o.answers, values);
    return store.WriteMany(kOwnSection, values);
}

bool SaveMapPlacement(SettingsStore& store, const MapPlacement& map) {
    return store.WriteMany(kOwnSection, {
                                            {"VantrelerMapLeft", std::to_string(map.left)},
                                            {"VantrelerMapTop", std::to_string(map.top)},
                                            {"VantrelerMapWidth", std::to_string(map.width)},
                                            {"VantrelerMapHeight", std::to_string(map.height)},
                                            {"VantrelerMapScale", std::to_string(map.scale)},
                                        });
}

MapPlacement LoadMapPlacement(SettingsStore& store) {
    const SettingsStore::ReadBatch batch(store);
    MapPlacement map;
    const std::string_view own = kOwnSection;
    map.autoClear = store.ReadBool(own, "VantrelerMapClear", true);
    map.onTop = store.ReadBool(own, "VantrelerMapOnTop", false);
    map.left = store.ReadInteger(own, "VantrelerMapLeft", 100);
    map.top = store.ReadInteger(own, "VantrelerMapTop", 100);
    map.width = store.ReadInteger(own, "VantrelerMapWidth", 660);
    map.height = store.ReadInteger(own, "VantrelerMapHeight", 375);
    map.scale = store.ReadInteger(own, "VantrelerMapScale", 33);
    return map;
}

bool PurgeSettings(SettingsStore& store) {
    return store.DeleteMany(kOwnSection, {
        "VantrelerLeft", "VantrelerTop", "VantrelerWidth", "VantrelerHeight", "VantrelerRuns",
        "VantrelerAllCount", "VantrelerDatesRun", "VantrelerAutoShow", "VantrelerShowCount",
        "VantrelerExportADIFileCount", "VantrelerRig", "VantrelerAnt", "VantrelerMapShow",
        "VantrelerBr_Dist", "VantrelerMapClear", "VantrelerMapOnTop", "VantrelerMapLeft",
        "VantrelerMapTop", "VantrelerMapWidth", "VantrelerMapHeight", "VantrelerMapScale",
        "VantrelerMapFont",
    });
}

}  // namespace vantrel
