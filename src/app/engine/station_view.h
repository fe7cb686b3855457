// What the station engine shows: the main window implements this, headless mode and the tests
// substitute their own. The engine calls it on the user-interface thread only.
#pragma once

#include <string>

#include "settings/stored_options.h"

namespace vantrel {

// Regions and controls of the main window whose visibility the engine switches.
enum class Region {
    CallsignList,     // richedit1
    SearchOptions,    // Panel1
    LoggedAs,         // Panel2
    N1mm,             // Panel3
    RadioGear,        // Panel4
    LastButtons,      // "Last 50" and "Today"
    MapCheck,         // check box "Map"
    MapButton,        // button "MAP"
    DetailsPanel,     // Panel6
    ProgressPanel,    // Panel5
    PlacesRow,        // places search row
    ExtendedCheck,    // check box "Extended"
    GridInfoPanel,    // Panel7
    PlacesPanel,      // Panel9
    AntennaWarning,   // Panel8
    AntWarningLabel,  // label "Ant Warning"
    EnabledCheck,     // check box "Enabled" (CheckBox5)
    AutochngCheck,    // check box "Autochng" (CheckBox10)
    AllTxtCheck,      // check box "ALL.TXT"
    AllTxtPanel,      // Panel10
    CheckMyGridMenu,  // menu entry "Check My Grid Details"
    ColourSetupMenu,  // menu "Colour Setup"
};

class StationView {
public:
    virtual ~StationView() = default;

    // A message box with a caption and an OK button; returns when the operator closed it.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // A short note for the status line (for example a UDP bind failure).
    virtual void ShowStatus(const std::string& text) = 0;
    // The progress panel; while it is visible the window keeps handling its events.
    virtual void ShowProgress(bool visible, int percent) = 0;
    virtual void SetRegionVisible(Region region, bool visible) = 0;

    virtual void SetCaption(const std::string& caption) = 0;
    virtual void ShowStationDetails(const std::string& call, const std::string& grid) = 0;  // Edit3, Edit4
    virtual void ShowN1mm(const std::string& host, const std::string& port) = 0;            // Edit6, Edit7
    virtual void ShowEntries(const std::string& text) = 0;                                  // Edit5
    virtual void ShowLastContact(const std::string& text) = 0;                              // Edit2

    // Stored settings taking effect: placement, colours, and the options' check boxes.
    virtual void ApplyPlacement(const Placement& placement) = 0;
    virtual void ApplyColours(const Palette& palette) = 0;
    virtual void ApplyOptions(const StoredOptions& options) = 0;
    // The operator's current choices in the option controls, copied into the options before
    // they are saved; headless has no controls and leaves them as they are.
    virtual void ReadOptions(StoredOptions& options) const { (void)options; }
    // The main window's current place and size, for saving; headless has none.
    virtual bool CurrentPlacement(Placement& placement) const = 0;
    // Ends the event loop (RequestQuit).
    virtual void Quit() = 0;
};

}  // namespace vantrel
