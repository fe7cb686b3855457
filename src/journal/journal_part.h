// The journal tools as one part of the station engine: the "Searching local ALL.TXT" panel
// (search, automatic refresh, clipboard, log-entry maker, "Add to Log") and the recent-activity
// extract. The part owns the search and its state; it shows them through JournalView and reaches
// the rest of the program through the functions it is given.
//
// What the engine calls, and when:
// - after each full settings load: ApplyOptions();
// - each tick of the one-second schedule: DrawAllTxtCaption() where the "ALL.TXT" caption is
//   drawn, RefreshIfChanged() where the journal search is refreshed (or Tick() for both);
// - Enter in "Places/call search:": PlacesSearchEntered(), and the places search when it
//   returns false; "ALL.TXT" toggled: SetSearchAllTxt();
// - the menu entry "Show recent RAW activity": ShowRecentActivity().
// The panel's own buttons call the part directly (JournalPanel::SetPart).
#pragma once

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "journal/journal_search.h"
#include "log/local_log_record.h"
#include "settings/options_model.h"

namespace vantrel {

// A cell of the result table: row and column counted from 0 (row 0 is the first listed line).
struct JournalCell {
    std::size_t row = 0;
    std::size_t column = 0;
    friend bool operator==(const JournalCell&, const JournalCell&) = default;
};

// The cells holding the operator's callsign are filled with `fill` and their text is drawn in
// `text`; with no callsign nothing is highlighted.
struct JournalHighlight {
    std::string callsign;
    Rgb text;  // palette colour 1
    Rgb fill;  // palette colour 2
};

// What the journal part shows. The panel widget implements it; tests substitute their own.
class JournalView {
public:
    virtual ~JournalView() = default;
    // The panel "Searching local ALL.TXT".
    virtual void ShowPanel(bool visible) = 0;
    // The text of the main window's "Places/call search:" field.
    virtual std::string SearchText() const = 0;
    // The table's rows, one per listed line (headings and one empty row when the list is empty).
    // Between two calls with the same list the list has only grown.
    virtual void ShowRows(std::shared_ptr<const JournalMatches> rows, const JournalHighlight& highlight) = 0;
    // The count label: "Entries :" and the number of listed lines, or empty.
    virtual void ShowCount(const std::string& text) = 0;
    // Scrolls the table so that `row` is its first row in view.
    virtual void ScrollToRow(std::size_t row) = 0;
    // The entry-line field: shown or hidden; its text and the note shown while it is empty.
    virtual void ShowEntryLineField(bool visible) = 0;
    virtual void SetEntryLine(const std::string& text, const std::string& note) = 0;
    // The field's text as the operator left it (it may be edited).
    virtual std::string EntryLineText() const = 0;
    virtual std::vector<JournalCell> SelectedCells() const = 0;
    // The main window's "ALL.TXT" check box caption: bold while ticked.
    virtual void ShowAllTxtCaptionBold(bool bold) = 0;
    // The panel's "Auto" check box.
    virtual void ShowAuto(bool ticked) = 0;
    // A message box with a caption and an OK button.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
};

// Runs `work` off the user-interface thread and then `done` on it. It must call `done` for
// every `work` it was given (a job cancelled at shutdown excepted).
using JournalRunner = std::function<void(std::function<void()> work, std::function<void()> done)>;

struct JournalPartServices {
    JournalView& view;
    // VantrelerSearchALLtxt ("ALL.TXT"), VantrelerRefreshAuto ("Auto") and the palette, as the
    // settings store keeps them; the "ALL.TXT" caption follows their changes.
    OptionsModel& options;
    // The operator's callsign and grid and the radio and antenna in use, as they stand.
    const StationDetails& station;
    std::function<void(const std::string& text)> copyText;  // the clipboard
    std::function<void(const std::string& path)> openFile;  // the desktop's program for the file
    // Appends one line to the local log durably (as a new contact is), shows the entries count
    // and brings the callsign list up to date; false with the reason when it could not.
    std::function<bool(const std::string& line, std::string* error)> addToLog;
    // Optional: the whole-journal search and the extract run through it. Without it they run at
    // once on the caller's thread.
    JournalRunner runner;    // Optional: the main window's status line.
    std::function<void(const std::string& text)> showStatus;
};

class JournalPart {
public:
    JournalPart(JournalPartServices services, std::filesystem::path viewerFolder);
    ~JournalPart();
    JournalPart(const JournalPart&) = delete;
    JournalPart& operator=(const JournalPart&) = delete;

    // Enter in "Places/call search:": with "ALL.TXT" ticked the journal search runs and this
    // returns true; otherwise false and Enter belongs to the places search.
    bool PlacesSearchEntered();
    // The search for the search field's text, the whole journal read again (Enter).
    void SearchJournal();
    // "Refresh": the search again, reading only what the journal copy gained when it can.
    void Refresh();
    // The one-second schedule: the "ALL.TXT" caption, then the automatic refresh.
    void Tick();
    // The "ALL.TXT" caption in bold while the box is ticked (drawn when it changed).
    void DrawAllTxtCaption();
    // With "Auto" ticked and the panel shown: searches again when the journal copy's
    // modification time differs from the one the last search saw. True when it searched.
    bool RefreshIfChanged();

    // The operator's clicks.
    void SetSearchAllTxt(bool ticked);  // "ALL.TXT"
    void SetAuto(bool ticked);          // "Auto"
    void Close();                       // "Close"
    void CopySelected();                // "Selected -->  Clipboard"
    void MakeLogEntryLine();            // "Make Log entry line"
    void CopyLine();                    // "Copy line"
    void AddToLog();                    // "Add to Log"
    void ShowRecentActivity();          // menu "Show recent RAW activity"
    // The stored options took effect (after the settings load): the check boxes follow them.
    void ApplyOptions();

    bool PanelVisible() const { return panelVisible_; }
    // A search or an extract is running through the runner.
    bool Busy() const { return searchPending_ || extractPending_; }
    const JournalMatches& Matches() const;
    std::filesystem::path JournalCopy() const;
    std::filesystem::path RecentListFile() const;

private:
    void StartSearch(bool continueLast);
    void SearchDone(JournalSearch result, std::optional<std::filesystem::file_time_type> stamp);
    void ShowResult();
    JournalHighlight Highlight() const;
    void Run(bool& pending, std::function<void()> work, std::function<void()> done);

    JournalPartServices services_;
    std::filesystem::path viewerFolder_;
    std::unique_ptr<JournalSearch> search_;
    // The journal copy's modification time as the last search saw it.
    std::optional<std::filesystem::file_time_type> stamp_;
    std::optional<bool> captionBold_;
    bool panelVisible_ = false;
    bool searchPending_ = false;
    bool extractPending_ = false;
    std::uint64_t job_ = 0;  // the latest job; results of earlier ones are dropped
    std::shared_ptr<std::atomic<bool>> cancel_;
    // Set when the part goes: a recent-activity extract still scanning stops.
    std::shared_ptr<std::atomic<bool>> extractCancel_ = std::make_shared<std::atomic<bool>>(false);
    // Jobs hand their results back only while the part exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// "Selected -->  Clipboard": the selected cells of each row, left to right, joined by TAB; the
// rows top to bottom, each ended by CR LF but the last.
std::string SelectedCellsText(const JournalMatches& matches, std::vector<JournalCell> cells);

}  // namespace vantrel
