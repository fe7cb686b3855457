#include "settings/settings_listing.h"

#include "base/file_io.h"
#include "settings/stored_options.h"

namespace vantrel {

namespace {

std::string YesNo(bool value) { return value ? "Yes" : "No"; }

}  // namespace

std::vector<std::string> SettingsListingLines(SettingsStore& store) {
    StoredOptions o;
    LoadAll(store, o, false, "");
    const std::string_view own = kOwnSection;
    const auto number = [&](std::string_view key, int def) {
        return std::to_string(store.ReadInteger(own, key, def));
    };
    return {
        "Main program window sizes",
        "Left position: " + std::to_string(o.main.left),
        "Top position: " + std::to_string(o.main.top),
        "Width: " + std::to_string(o.main.width),
        "Height: " + std::to_string(o.main.height),
        "",
        "Times software run: " + std::to_string(o.runs),
        "Last entry count from ALL.TXT: " + std::to_string(o.allCount),
        "Date checking in log file run: " + YesNo(o.datesRun),
        "Autoshow checked :" + YesNo(o.autoShow),
        "Chars show count: " + std::to_string(o.showCount),
        "Radio selected: " + o.rig,
        "Antenna selected: " + o.ant,
        "ADIF Export Count: " + std::to_string(o.exportAdifCount),
        "Map show selected: " + YesNo(o.mapShow),
        "Map Clear selected: " + YesNo(store.ReadBool(own, "VantrelerMapClear", true)),
        "Map ON TOP selected: " + YesNo(store.ReadBool(own, "VantrelerMapOnTop", false)),
        "Map Left: " + number("VantrelerMapLeft", 200),
        "Map Top : " + number("VantrelerMapTop", 200),
        "Map Width : " + number("VantrelerMapWidth", 660),
        "Map Height: " + number("VantrelerMapHeight", 375),
        "Map Scale: " + number("VantrelerMapScale", 33) + "%",
        "Map Font size: " + store.ReadText(own, "VantrelerMapFont", "12"),
    };
}

bool WriteSettingsListing(const std::filesystem::path& file, const std::vector<std::string>& lines,
                          std::string* error) {
    std::string bytes;
    for (const std::string& line : lines) bytes.append(line).append("\r\n");
    return WriteFileAtomic(file, bytes, error);
}

}  // namespace vantrel
