// What the engine parts show. Each part talks to the window through the small interface of its
// own; the main window implements them, headless mode and the tests substitute their own. The
// engine calls them on the user-interface thread only, and none of them may run an event loop
// of its own: a message box is shown and the call returns at once.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "geo/callsign_search.h"
#include "geo/contact_details.h"
#include "journal/journal_part.h"
#include "log/coloured_line.h"
#include "map/map_view.h"
#include "app/engine/info_views_part.h"
#include "app/engine/view_set.h"
#include "refdata/places_part.h"
#include "settings/options_model.h"
#include "wsjtx/heard_list.h"

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
    UpdateCtyDat,        // "Update CTY.DAT file"
    ResetMapPlacement,   // "Reset Map position and size"
    RecentActivity,      // "Show recent RAW activity"
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

// Messages, the status line, the progress panel and the journal indicator: every part's.
class NoticeView {
public:
    virtual ~NoticeView() = default;
    // A message box with a caption and an OK button. Shown without waiting for the operator.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // A short note for the status line (for example a UDP bind failure).
    virtual void ShowStatus(const std::string& text) = 0;
    // What was done with a file, on the status line: the text followed by the file's path, which
    // opens the file's folder when clicked.
    virtual void ShowFileStatus(const std::string& text, const std::string& path) { ShowStatus(text + path); }
    // A question with "Yes" and "No", shown without waiting for the answer: `onYes` runs later,
    // from the event loop, and only when the operator answers "Yes".
    virtual void Ask(const std::string& caption, const std::string& text, std::function<void()> onYes) = 0;
    // The progress panel and its bar.
    virtual void ShowProgress(bool visible, int percent) = 0;
    // The progress panel's label ("Progress", or the title of the work in hand).
    virtual void SetProgressTitle(const std::string& title) = 0;
    // The indicator square: green while the journal copy is refreshed, white otherwise.
    virtual void SetIndicator(bool busy) = 0;
};

// The window itself: caption, regions, stored placement, colours and option controls.
class WindowView {
public:
    virtual ~WindowView() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetRegionVisible(Region region, bool visible) = 0;
    virtual void ApplyPlacement(const Placement& placement) = 0;
    virtual void ApplyColours(const Palette& palette) = 0;
    // The option controls show the options (after the settings load and after every change
    // the operator did not make in them); the operator's changes come back as OptionsEdits.
    virtual void ApplyOptions(const StoredOptions& options) = 0;
    // The main window's current place and size, for saving; false when there is none.
    virtual bool CurrentPlacement(Placement& placement) const = 0;
    // Ends the event loop once the messages shown are closed.
    virtual void Quit() = 0;
};

// The station boxes: who is logging, where contacts arrive, how many there are, the last one.
class StationView {
public:
    virtual ~StationView() = default;
    virtual void ShowStationDetails(const std::string& call, const std::string& grid) = 0;  // Edit3, Edit4
    // Edit6, Edit7; `problem` says why no contact can be received there (empty when listening).
    virtual void ShowN1mm(const std::string& host, const std::string& port, const std::string& problem) = 0;
    virtual void ShowEntries(const std::string& text) = 0;      // Edit5
    virtual void ShowLastContact(const std::string& text) = 0;  // Edit2
};

// The antenna warning of the contact feed and the rotator check.
class FeedView {
public:
    virtual ~FeedView() = default;
    virtual void ShowAntennaWarning(bool visible, const std::string& message) = 0;
    // Focus on the antenna box with its list open ("Yes" to the antenna warning).
    virtual void OpenAntennaChoice() = 0;
};

// The rig and antenna boxes.
class EquipmentView {
public:
    virtual ~EquipmentView() = default;
    virtual void ShowEquipment(const std::vector<std::string>& rigs, const std::vector<std::string>& antennas,
                               const std::string& rig, const std::string& antenna) = 0;
    // Selects the rig box entry equal to the name (letter case ignored); none when none matches.
    virtual void SelectRig(const std::string& name) = 0;
};

// The callsign search: the search box, the match list, the yellow details box.
class SearchView {
public:
    virtual ~SearchView() = default;
    // The search box's text, set by the program; the window does not report it as an edit.
    virtual void SetSearchText(const std::string& text) = 0;
    virtual std::string SearchText() const = 0;
    // The match list under "Matching entries list", drawn over the callsign list; kept until
    // the next one or until hidden.
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
    // Ticks or clears "Wild Search" without reporting it as the operator's click.
    virtual void ShowWildSearch(bool ticked) = 0;
};

// The callsign list box and the display panel's contact lists.
class ListsView {
public:
    virtual ~ListsView() = default;
    // One line per first character.
    virtual void ShowCallsignList(const std::vector<ColouredLine>& lines) = 0;
    // "Last 50", "Today": the yellow details box is hidden while the list shows.
    virtual void ShowDisplayList(const std::string& title, const std::vector<ColouredLine>& lines) = 0;
    virtual bool DetailsPanelVisible() const = 0;
};

// The stations heard in the last two decode periods with their worked-before status.
class HeardView {
public:
    virtual ~HeardView() = default;
    // The rows, newest first. The first call (the first decode) makes the panel available.
    virtual void ShowHeard(const std::vector<HeardRow>& rows) = 0;
};

// Every view of the main window, as the engine is handed them.
struct EngineViews {
    NoticeView& notices;
    WindowView& window;
    StationView& station;
    FeedView& feed;
    EquipmentView& equipment;
    SearchView& search;
    ListsView& lists;
    HeardView& heard;
    // The "Gridsquare info:" and "Places Lookup:" panels and the places row.
    PlacesView& places;
    // The settings listing and the About text in the details panel.
    InfoViewsView& info;
    // The map window.
    MapView& map;
    // The "Searching local ALL.TXT" panel and the "ALL.TXT" caption.
    JournalView& journal;
    // The views of the capabilities with windows of their own ("Journal audit": AuditView).
    ViewSet more{};
};

}  // namespace vantrel
