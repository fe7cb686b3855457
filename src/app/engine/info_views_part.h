// The "View" and "About" menus: the stored settings listed in the details panel and written to
// RegValues.txt, the About text, and the program's data files and folder opened by the desktop's
// own programs.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/services.h"
#include "settings/settings_store.h"
#include "settings/stored_options.h"

namespace vantrel {

// One line of the details panel's text: palette colour 1 to 12, or 0 for the box's own text
// colour.
struct InfoLine {
    std::string text;
    int colour = 0;
    bool bold = false;
    friend bool operator==(const InfoLine&, const InfoLine&) = default;
};

// What the details panel shows: its heading label and its rich-text box.
struct InfoPanel {
    std::string heading;
    std::optional<Rgb> background;  // none: the box's usual background
    std::vector<InfoLine> lines;
};

class InfoViewsView {
public:
    virtual ~InfoViewsView() = default;
    // Shows the details panel with the heading and the text, replacing what it showed.
    virtual void ShowInfoPanel(const InfoPanel& panel) = 0;
    // A short note for the status line.
    virtual void ShowStatus(const std::string& text) = 0;
};

enum class InfoCommand {
    ShowSettings,      // "Show Registry values"
    About,             // "About"
    ShowLocalLog,      // "Show Vantrel data file"
    ShowWsjtxLog,      // "Show WSJTX.log file"
    ShowGrids,         // "Show grids.txt file"
    ShowWsjtxIni,      // "Show WSJT-X.ini file"
    ShowViewerFolder,  // "Show Viewer data folder"
};

// The menu entries and what each opens: a file of the viewer folder in the text editor, the
// folder itself in the file manager (an empty name), or a view in the details panel (none).
struct InfoMenuEntry {
    const char* caption;
    InfoCommand command;
    const char* file;  // nullptr for the two views
};
extern const std::array<InfoMenuEntry, 7> kInfoMenuEntries;

struct InfoViewsInputs {
    std::filesystem::path viewerFolder;
    SettingsStore& store;
    Desktop& desktop;
    std::string versionText;
    std::function<void(const std::string& label, const std::string& text)> trace;
};

// The pale green behind the settings listing.
inline constexpr Rgb kSettingsListingBackground{0xC0, 0xDC, 0xC0};

// The About text's lines.
std::vector<InfoLine> AboutLines(const std::string& versionText);

class InfoViewsPart {
public:
    InfoViewsPart(InfoViewsInputs inputs, InfoViewsView& view);

    void Run(InfoCommand command);
    // "Show Registry values": the listing in the details panel and in RegValues.txt.
    void ShowSettingsListing();
    void ShowAbout();
    // A file of the viewer folder in the desktop's text editor; a missing one is only noted.
    void OpenViewerFile(const char* name);
    // The viewer folder in the desktop's file manager.
    void OpenViewerFolder();

private:
    void Trace(const std::string& label, const std::string& text);

    InfoViewsInputs inputs_;
    InfoViewsView& view_;
};

}  // namespace vantrel
