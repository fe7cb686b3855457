// What the station engine shows: the main window implements this, headless mode and the tests
// substitute their own. The engine calls it on the user-interface thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "geo/callsign_search.h"
#include "geo/contact_details.h"
#include "log/coloured_line.h"
#include "settings/stored_options.h"

namespace vantrel {


// What the operator asks for through the menus and buttons.
enum class Command {
    Exit,                // "EXIT" (F10)
    BackupData,          // "Backup data"
    CheckGridsInLog,     // "Check grids in log"
    RemoveLogJunk,       // "Remove Log Junk"
    ZapUserField,        // "Zap User field"
    CheckMyGridDetails,  // "Check My Grid Details"
    ForceGridsUpdate,    // "Force update of grids.text"
    Last50,              // button "Last 50"
    Today,               // button "Today"
    AntennaYes,          // "Yes" on the antenna warning
    AntennaNo,           // "No" on the antenna warning
    Clear,               // button "CLR"
    Look,                // button "Look"
    EditRadios,          // "Create/edit Radios.txt"
    EditAntennas,        // "Create/edit Antennas.txt"
    FullAdifExport,      // "Full ADIF export"
    NewAdifExport,       // "New ADIF export"
    AdifImport,          // "ADIF Import"
};

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
    // The progress panel's label ("Progress", or the title of the work in hand).
    virtual void SetProgressTitle(const std::string& title) = 0;
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
    // The callsign list box, one line per first character.
    virtual void ShowCallsignList(const std::vector<ColouredLine>& lines) = 0;
    // The display panel with a contact list ("Last 50", "Today"); the yellow details box is
    // hidden while it shows.
    virtual void ShowDisplayList(const std::string& title, const std::vector<ColouredLine>& lines) = 0;
    virtual bool DetailsPanelVisible() const = 0;
    // The indicator square: green while the journal copy is refreshed, white otherwise.
    virtual void SetIndicator(bool busy) = 0;
    // The antenna warning panel with its message, or hidden.
    virtual void ShowAntennaWarning(bool visible, const std::string& message) = 0;
    // Focus on the antenna box with its list open ("Yes" to the antenna warning).
    virtual void OpenAntennaChoice() = 0;
    // The rig and antenna boxes: their lists and current texts.
    virtual void ShowEquipment(const std::vector<std::string>& rigs,
                               const std::vector<std::string>& antennas, const std::string& rig,
                               const std::string& antenna) = 0;
    // Selects the rig box entry equal to the name (letter case ignored); none when none matches.
    virtual void SelectRig(const std::string& name) = 0;
    // The search box's text, set by the program (automatic fill, callsign-list click); the
    // window does not report this change back as an edit.
    virtual void SetSearchText(const std::string& text) = 0;
    virtual std::string SearchText() const = 0;
    // The match list under its title "Matching entries list"; it draws only the visible lines,
    // in bold, on palette colour 5. The list is kept until the next one or until it is hidden.
    virtual void ShowMatchList(std::shared_ptr<const MatchList> list) = 0;
    virtual void HideMatchList() = 0;
    virtual bool MatchListVisible() const = 0;
    // The yellow details box of one contact in the details panel, scrolled to its top.
    virtual void ShowContactDetails(const std::vector<DetailsLine>& lines) = 0;
    // Hides the details panel (with the contact lists and the details box).
    virtual void HideDetailsPanel() = 0;
    // The first characters of the details box's text, for the clipboard.
    virtual std::string ContactDetailsText(std::size_t maxCharacters) const = 0;
    // The date of cty.dat under the callsign list; red when too old.
    virtual void ShowCountryFileAge(const std::string& text, bool tooOld) = 0;
    // Moves the callsign list's caret to its start and scrolls there.
    virtual void ResetCallsignListCaret() = 0;
    // A file chosen by the operator in the file-open dialog; empty when cancelled.
    virtual std::string ChooseFile(const std::string& caption, const std::string& filter) = 0;
    // The map window (a later window; none yet).
    virtual bool MapWindowVisible() const { return false; }
    // The operator's current choices in the option controls, copied into the options before
    // they are saved; headless has no controls and leaves them as they are.
    virtual void ReadOptions(StoredOptions& options) const { (void)options; }
    // The main window's current place and size, for saving; headless has none.
    virtual bool CurrentPlacement(Placement& placement) const = 0;
    // Ends the event loop (RequestQuit).
    virtual void Quit() = 0;
};

}  // namespace vantrel
