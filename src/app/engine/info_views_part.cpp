#include "app/engine/info_views_part.h"

#include "base/file_io.h"
#include "base/data_folders.h"
#include "refdata/places_files.h"
#include "settings/settings_listing.h"

namespace vantrel {

const std::array<InfoMenuEntry, 7> kInfoMenuEntries = {{
    {"Show Registry values", InfoCommand::ShowSettings, nullptr},
    {"About", InfoCommand::About, nullptr},
    {"Show Vantrel data file", InfoCommand::ShowLocalLog, kLocalLog},
    {"Show WSJTX.log file", InfoCommand::ShowWsjtxLog, kLogCopy},
    {"Show grids.txt file", InfoCommand::ShowGrids, "grids.txt"},
    {"Show WSJT-X.ini file", InfoCommand::ShowWsjtxIni, kConfigCopy},
    {"Show Viewer data folder", InfoCommand::ShowViewerFolder, ""},
}};

std::vector<InfoLine> AboutLines(const std::string& versionText) {
    constexpr int kTitle = 1, kText = 4, kNotice = 3;
    return {
        {"This software adds onto the WSJT-X program by giving easy access to previously "
         "logged data.",
         kTitle, true},
        {"", kText},
        {"", kText},
        {"The current version number (" + versionText +
             ") is shown at the top of the application window; updates are published on the "
             "Vantrel software web page.",
         kText},
        {"", kText},
        {"Updated CTY.DAT files for WSJT-X are published by the Contest Country Files at "
         "https://www.country-files.com/ (see its WSJT-X page) and go into the WSJT-X data "
         "folder; \"Update CTY.DAT file\" in the File menu fetches the current one into both "
         "folders.",
         kText},
        {"", kText},
        // The data the program ships or fetches, with the credit each asks for.
        {"Country data: CTY.DAT, the Contest Country Files (country-files.com), used with the "
         "publisher's permission.",
         kText},
        // Map images.
        {"Map data: Natural Earth (public domain).", kText},
        // Places lists.
        {std::string(kPlacesCredit) + ".", kText},
        {"", kText},
        {"Vantrel comes with no warranty of any kind: keep backups of your logs.", kNotice, true},
    };
}

InfoViewsPart::InfoViewsPart(InfoViewsInputs inputs, InfoViewsView& view)
    : inputs_(std::move(inputs)), view_(view) {}

void InfoViewsPart::Trace(const std::string& label, const std::string& text) {
    if (inputs_.trace) inputs_.trace(label, text);
}

void InfoViewsPart::Run(InfoCommand command) {
    for (const InfoMenuEntry& entry : kInfoMenuEntries) {
        if (entry.command != command) continue;
        switch (command) {
            case InfoCommand::ShowSettings: ShowSettingsListing(); return;
            case InfoCommand::About: ShowAbout(); return;
            case InfoCommand::ShowViewerFolder: OpenViewerFolder(); return;
            default: OpenViewerFile(entry.file); return;
        }
    }
}

void InfoViewsPart::ShowSettingsListing() {
    // Only listed: the window keeps its own state (the map, the ticks, its place).
    InfoPanel panel;
    panel.heading = "Registry settings:";
    panel.background = kSettingsListingBackground;
    const std::vector<std::string> lines = SettingsListingLines(inputs_.store);
    for (const std::string& line : lines) panel.lines.push_back({line});
    view_.ShowInfoPanel(panel);
    std::string error;
    if (!WriteSettingsListing(inputs_.viewerFolder / kSettingsListingFile, lines, &error)) {
        Trace(" RegValues ** ", error);
        view_.ShowStatus("RegValues.txt not written: " + error);
    }
}

void InfoViewsPart::ShowAbout() {
    view_.ShowInfoPanel({"Vantrel source information", std::nullopt, AboutLines(inputs_.versionText)});
}

void InfoViewsPart::OpenViewerFile(const char* name) {
    const std::filesystem::path file = inputs_.viewerFolder / name;
    if (FileSize(file) < 0) {
        view_.ShowStatus(std::string(name) + " not found in " + inputs_.viewerFolder.string());
        return;
    }
    inputs_.desktop.OpenFile(file.string());
}

void InfoViewsPart::OpenViewerFolder() { inputs_.desktop.OpenFile(inputs_.viewerFolder.string()); }

}  // namespace vantrel
