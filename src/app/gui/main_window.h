// The main window: shows what the station engine's parts tell it through their views and reports
// the operator's actions as signals. It holds no program state besides the palette it draws with.
#pragma once

#include <QColor>
#include <QMainWindow>
#include <QMessageBox>

#include "app/engine/views.h"
#include "app/gui/heard_panel.h"
#include "app/gui/info_panel_view.h"
#include "app/gui/main_window_parts.h"
#include "app/gui/places_panels.h"
#include "app/gui/map_window.h"
#include "app/gui/audit_window.h"
#include "app/gui/awards_window.h"
#include "app/gui/lotw_login_dialog.h"
#include "app/gui/journal_panel.h"

class QAction;
class QComboBox;
class QIcon;
class QLabel;
class QMenu;

namespace vantrel {

// The program's icon in every size it is drawn in (built into the program, so that a run from
// the build folder has it too).
QIcon ProgramIcon();

class MainWindow : public QMainWindow,
                   public NoticeView,
                   public WindowView,
                   public StationView,
                   public FeedView,
                   public EquipmentView,
                   public SearchView,
                   public ListsView {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The views the engine is handed.
    EngineViews Views() {
        return EngineViews{
            .notices = *this,
            .window = *this,
            .station = *this,
            .feed = *this,
            .equipment = *this,
            .search = *this,
            .lists = *this,
            .heard = *heard_,
            .places = *places_,
            .info = info_,
            .map = *map_,
            .journal = *parts_.allTxtPanel,
            .more = ViewSet().Add<AuditView>(*audit_).Add<AwardsView>(*awards_)};
    }
    // The map window, a window of its own beside this one.
    MapWindow& Map() { return *map_; }
    // The places row and its panels, whose actions the program connects to the engine.
    PlacesPanels& Places() { return *places_; }
    // The "Searching local ALL.TXT" panel, whose buttons the program connects to the engine.
    JournalPanel& Journal() { return *parts_.allTxtPanel; }
    // The "Journal audit" window (View menu), whose actions the program connects to the engine.
    AuditWindow& Audit() { return *audit_; }
    // The "Awards" window (View menu) and the "LoTW login" dialog (File menu), likewise.
    AwardsWindow& Awards() { return *awards_; }
    LotwLoginDialog& LotwLogin() { return *lotwLogin_; }

    // NoticeView
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void ShowFileStatus(const std::string& text, const std::string& path) override;
    void Ask(const std::string& caption, const std::string& text, std::function<void()> onYes) override;
    void ShowProgress(bool visible, int percent) override;
    void SetProgressTitle(const std::string& title) override;
    void SetIndicator(bool busy) override;
    // WindowView
    void SetCaption(const std::string& caption) override;
    void SetRegionVisible(Region region, bool visible) override;
    void ApplyPlacement(const Placement& placement) override;
    void ApplyColours(const Palette& palette) override;
    void ApplyOptions(const StoredOptions& options) override;
    bool CurrentPlacement(Placement& placement) const override;
    void Quit() override;
    // A stop signal: closes the open dialogs and lets the quit that follows end the program at once.
    void StopRequested();
    // StationView
    void ShowStationDetails(const std::string& call, const std::string& grid) override;
    void ShowN1mm(const std::string& host, const std::string& port, const std::string& problem) override;
    void ShowEntries(const std::string& text) override;
    void ShowLastContact(const std::string& text) override;
    // FeedView
    void ShowAntennaWarning(bool visible, const std::string& message) override;
    void OpenAntennaChoice() override;
    // EquipmentView
    void ShowEquipment(const std::vector<std::string>& rigs, const std::vector<std::string>& antennas,
                       const std::string& rig, const std::string& antenna) override;
    void SelectRig(const std::string& name) override;
    // SearchView
    void SetSearchText(const std::string& text) override;
    std::string SearchText() const override;
    void ShowMatchList(std::shared_ptr<const MatchList> list) override;
    void HideMatchList() override;
    bool MatchListVisible() const override;
    void ShowContactDetails(const std::vector<DetailsLine>& lines) override;
    void HideDetailsPanel() override;
    std::string ContactDetailsText(std::size_t maxCharacters) const override;
    void ShowCountryFileAge(const std::string& text, bool tooOld) override;
    void ResetCallsignListCaret() override;
    void ShowWildSearch(bool ticked) override;
    // ListsView
    void ShowCallsignList(const std::vector<ColouredLine>& lines) override;
    void ShowDisplayList(const std::string& title, const std::vector<ColouredLine>& lines) override;
    bool DetailsPanelVisible() const override;

    // The palette last applied. (The widget's own QPalette stays reachable as QWidget::palette().)
    const Palette& palette() const { return colours_; }
    // The folder the "ADIF Import" file dialog opens in.
    void SetAdifImportFolder(const QString& folder);

signals:
    // Once, when the window is first activated (or first shown where the platform has no
    // activation): the engine runs its start-up sequence then.
    void firstActivated();
    void shown();
    // The operator (or the system) asked the window to close. The window stays until the
    // engine has run its close and called Quit.
    void closing();
    void resetRegistryRequested();
    // The operator finished the colour chooser for palette entry index0 (0 for Colour1).
    // accepted is false when the chooser was cancelled; colour is then the unchanged colour.
    void colourChosen(int index0, bool accepted, QColor colour);
    // The operator changed an option control (a check box, the character count, the look-up
    // service): the edit writes the control's new value into the options. Not emitted for
    // ApplyOptions.
    void optionsEdited(vantrel::OptionsEdit edit);
    // A menu entry or button that the engine carries out.
    void commandRequested(vantrel::Command command);
    // File, "Download LoTW confirmations".
    void lotwDownloadRequested();
    // An entry of the "View" or "About" menu that shows or opens the program's own data.
    void infoRequested(vantrel::InfoCommand command);
    // One tick of the one-second schedule, and of the rig follower.
    void ticked();
    // The operator changed the search box's text by typing (not for SetSearchText); the text as
    // the box shows it, in upper case.
    void searchEdited(QString text);
    // The operator pressed Enter in the search box.
    void searchEntered(QString text);
    // The operator ticked or cleared "Wild Search".
    void wildSearchClicked(bool wild);
    // A left click in the callsign list: the line under the click and the caret's column there,
    // counted from 0.
    void callsignListClicked(QString lineText, int column);
    // A click in the match list: the row (0 is the search text's line; -1 below the last row),
    // and whether it was the left button (right and middle give false).
    void matchListClicked(int row, bool leftButton);
    // A left or right click in the yellow details box: the line, 0 being the top callsign line.
    void detailsClicked(int line, bool leftButton);
    // A left click in the last-contact box.
    void lastContactClicked();
    // The operator picked an entry or typed in the rig box or the antenna box: the box's text, an
    // entry with the bytes it has in its file, a typed text as UTF-8.
    void rigEdited(QByteArray text);
    void antennaEdited(QByteArray text);
    // The antenna list opened by OpenAntennaChoice closed; picked is false when no entry was chosen.
    void antennaChoiceClosed(bool picked);
    // The operator chose a file for "ADIF Import".
    void adifImportChosen(QString file);
    // A click on the path on the status line: the folder to open (bytes of the file system).
    void folderOpenRequested(QByteArray folder);
    // A click on a row of the stations heard.
    void heardClicked(int row);
    void heardDoubleClicked(int row);
    // The window's size changed.
    void resized();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void ConnectOptionControls();
    void ChooseColour(int index0);
    void ShowCount(int count);
    void EditOption(OptionsEdit edit);
    void NoteActivation();
    void ConnectCommands();
    void ConnectSearchControls();
    void ChooseAdifImportFile();
    void QuitWhenMessagesClosed();
    // Hides the details panel; the focus it held goes back to the search box.
    void HideDetails();
    // A box shown without a loop of its own; counted until closed.
    QMessageBox* OpenMessageBox(const std::string& caption, const std::string& text,
                                QMessageBox::StandardButtons buttons);
    // The bytes of a rig or antenna box's text (see rigEdited); `stored` when the text shows it.
    static std::string BoxBytes(const QComboBox* box, const std::string& stored);
    void ApplyListColours();
    // The lines as rich text, each in its palette colour made readable on the background.
    QString ColouredHtml(const std::vector<ColouredLine>& lines, const QColor& background) const;

    MainWindowParts parts_;
    QLabel* statusFile_ = nullptr;
    QByteArray statusFolder_;
    QString adifImportFolder_;
    Palette colours_ = DefaultPalette();
    PlacesPanels* places_ = nullptr;
    InfoPanelView info_{parts_, colours_, *this};
    QMenu* colourMenu_ = nullptr;
    QAction* checkMyGridAction_ = nullptr;
    QAction* always50Action_ = nullptr;
    QAction* heardAction_ = nullptr;
    class AnswerMenu* answerMenu_ = nullptr;
    HeardPanel* heard_ = nullptr;
    std::unique_ptr<MapWindow> map_;
    AuditWindow* audit_ = nullptr;
    AwardsWindow* awards_ = nullptr;
    LotwLoginDialog* lotwLogin_ = nullptr;
    bool applyingOptions_ = false;
    // The N1MM and radio panels as the engine wants them; the window's width may still hide them.
    bool n1mmWanted_ = false;
    bool radioWanted_ = false;
    bool activated_ = false;
    // Message boxes on the screen; a quit waits until the operator has closed them.
    int openMessages_ = 0;
    bool quitting_ = false;
    bool stopping_ = false;  // a stop signal came: the quit does not wait for open messages
    // The antenna list is open for the warning's answer; whether an entry was chosen in it.
    bool awaitingAntenna_ = false;
    bool antennaPicked_ = false;
};

}  // namespace vantrel
