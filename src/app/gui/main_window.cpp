#include "app/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSlider>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <utility>

#include "app/gui/answer_menu.h"
#include "app/gui/display_text.h"
#include "app/gui/palette_colours.h"

namespace vantrel {
namespace {

QString ToQString(const std::string& text) { return DisplayText(text); }

// Captions of the colour set-up entries, Colour1 first.
const char* const kColourCaptions[12] = {"Colour1", "Colour2", "Colour3", "Colour4",
                                         "Colour5", "Colour6", "Colour7", "Colour8",
                                         "Colour9", "Colour10", "Colour 11", "Colour12"};

// What each palette colour draws, shown in the status bar over its entry.
const char* const kColourTips[12] = {
    "Callsign list, Last 50, country and close lines of matches, details call; Today: 160m, 1.25m",
    "Callsign list, Last 50, match-list click hint, own call's cells in ALL.TXT; Today: 80m, 70cm",
    "Callsign list, Last 50, wildcard matches, details click hints; Today: 60m, 23cm",
    "Callsign list, match list and details text; Today: 40m",
    "Match-list background, captions and panel titles; Today: 30m",
    "Today list: 20m lines",
    "Today list: 17m lines",
    "Today list: 15m lines",
    "Today list: 12m lines",
    "Today list: 10m lines",
    "Today list: 6m lines and those below 1 MHz",
    "Today list: 2m lines"};

const char* InfoActionName(InfoCommand command) {
    switch (command) {
        case InfoCommand::ShowSettings: return "ShowRegistryAction";
        case InfoCommand::About: return "AboutAction";
        case InfoCommand::ShowLocalLog: return "ShowLocalLogAction";
        case InfoCommand::ShowWsjtxLog: return "ShowWsjtxLogAction";
        case InfoCommand::ShowGrids: return "ShowGridsAction";
        case InfoCommand::ShowWsjtxIni: return "ShowWsjtxIniAction";
        case InfoCommand::ShowViewerFolder: return "ShowViewerFolderAction";
    }
    return "InfoAction";
}

// Index of the palette colour used for captions and panel titles (navy by default).
constexpr int kCaptionColour = 4;

void SetServiceText(QComboBox* box, const QString& text) {
    if (text.isEmpty()) {
        box->setCurrentIndex(-1);
        return;
    }
    int index = box->findText(text, Qt::MatchExactly);
    if (index < 0) {
        // A service name this build does not list is kept rather than silently replaced.
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

}  // namespace

QIcon ProgramIcon() {
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/io.github.vantrel.Vantrel.png").arg(size), QSize(size, size));
    return icon;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Vantrel for WSJT-X"));
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    places_ = new PlacesPanels(*this, this);
    BuildMainWindowParts(central, parts_, *places_);
    // The journal search takes its text from "Places/call search:" and bolds the "ALL.TXT" caption.
    parts_.allTxtPanel->AttachSearchControls(places_->PlacesField(), parts_.allTxtCheck);
    setCentralWidget(central);
    setWindowIcon(ProgramIcon());
    map_ = std::make_unique<MapWindow>();
    map_->setWindowIcon(windowIcon());
    audit_ = new AuditWindow(this);
    audit_->setWindowIcon(windowIcon());
    awards_ = new AwardsWindow(this);
    awards_->setWindowIcon(windowIcon());
    lotwLogin_ = new LotwLoginDialog(this);
    heard_ = new HeardPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, heard_);
    heard_->setFloating(true);
    connect(heard_, &HeardPanel::rowClicked, this, &MainWindow::heardClicked);
    connect(heard_, &HeardPanel::rowDoubleClicked, this, &MainWindow::heardDoubleClicked);
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    // What was done with a file, its path a link that opens the file's folder.
    statusFile_ = new QLabel(statusBar());
    statusFile_->setObjectName(QStringLiteral("StatusFile"));
    statusFile_->setTextFormat(Qt::RichText);
    statusFile_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    statusFile_->setToolTip(QStringLiteral("Click the path to open its folder"));
    statusBar()->addWidget(statusFile_, 1);
    connect(statusFile_, &QLabel::linkActivated, this, [this] { emit folderOpenRequested(statusFolder_); });
    BuildMenus();
    ConnectOptionControls();
    ConnectCommands();
    ConnectSearchControls();
    ApplyListColours();
    ShowCount(parts_.countSlider->value());
    const Placement defaults;
    setMinimumWidth(430);
    resize(defaults.width, defaults.height);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("FileMenu"));
    auto command = [this](QMenu* menu, const char* caption, Command which, const char* name) {
        QAction* action = menu->addAction(QString::fromLatin1(caption));
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, which] { emit commandRequested(which); });
        return action;
    };
    command(file, "Create/edit Radios.txt", Command::EditRadios, "EditRadiosAction");
    command(file, "Create/edit Antennas.txt", Command::EditAntennas, "EditAntennasAction");
    file->addSeparator();
    command(file, "Full ADIF export", Command::FullAdifExport, "FullAdifExportAction");
    command(file, "New ADIF export", Command::NewAdifExport, "NewAdifExportAction");
    QAction* import = file->addAction(QStringLiteral("ADIF Import\u2026"));
    import->setObjectName(QStringLiteral("AdifImportAction"));
    connect(import, &QAction::triggered, this, &MainWindow::ChooseAdifImportFile);
    file->addSeparator();
    command(file, "Backup data", Command::BackupData, "BackupAction");
    command(file, "Check grids in log", Command::CheckGridsInLog, "CheckGridsAction");
    command(file, "Remove Log Junk", Command::RemoveLogJunk, "RemoveJunkAction");
    command(file, "Zap User field", Command::ZapUserField, "ZapUserAction");
    command(file, "Force update of grids.text", Command::ForceGridsUpdate, "ForceGridsAction");
    file->addSeparator();
    command(file, "Update CTY.DAT file", Command::UpdateCtyDat, "UpdateCtyAction");
    QAction* lotw = file->addAction(QStringLiteral("Download LoTW confirmations"));
    lotw->setObjectName(QStringLiteral("LotwDownloadAction"));
    lotw->setStatusTip(QStringLiteral("Fetches the confirmations LoTW received since the last download"));
    connect(lotw, &QAction::triggered, this, &MainWindow::lotwDownloadRequested);
    QAction* lotwLogin = file->addAction(QStringLiteral("LoTW login\u2026"));
    lotwLogin->setObjectName(QStringLiteral("LotwLoginAction"));
    lotwLogin->setStatusTip(QStringLiteral("The LoTW login and password, kept in the desktop's secret store"));
    connect(lotwLogin, &QAction::triggered, this, [this] { lotwLogin_->OpenLogin(); });
    file->addSeparator();
    QAction* reset = file->addAction(QStringLiteral("Reset stored settings"));
    reset->setObjectName(QStringLiteral("ResetRegistryAction"));
    connect(reset, &QAction::triggered, this, &MainWindow::resetRegistryRequested);
    // Filled by the log repairs; shown only for the maker's station.
    checkMyGridAction_ = command(file, "Check My Grid Details", Command::CheckMyGridDetails,
                                 "CheckMyGridAction");
    checkMyGridAction_->setVisible(false);
    file->addSeparator();
    QAction* exit = command(file, "EXIT", Command::Exit, "ExitAction");
    exit->setShortcut(QKeySequence(Qt::Key_F10));
    QAction* quit = file->addAction(QStringLiteral("Quit"));
    quit->setObjectName(QStringLiteral("QuitAction"));
    // Ctrl+Q on every desktop, also where the platform names no key for quitting.
    QList<QKeySequence> quitKeys = QKeySequence::keyBindings(QKeySequence::Quit);
    if (!quitKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_Q))) quitKeys.prepend(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quit->setShortcuts(quitKeys);
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("ViewMenu"));
    always50Action_ = view->addAction(QStringLiteral("Show last 50 QSOs"));
    always50Action_->setObjectName(QStringLiteral("Always50Action"));
    always50Action_->setCheckable(true);
    connect(always50Action_, &QAction::toggled, this, [this](bool on) {
        EditOption([on](StoredOptions& options) { options.always50 = on; });
        if (on) emit commandRequested(Command::Last50);
    });
    view->addSeparator();

    QMenu* about = nullptr;
    for (const InfoMenuEntry& entry : kInfoMenuEntries) {
        // "About" has a menu of its own; the rest show or open the program's data.
        QMenu* menu = view;
        if (entry.command == InfoCommand::About) {
            about = about ? about : new QMenu(QStringLiteral("&About"), this);
            menu = about;
        }
        QAction* action = menu->addAction(QString::fromLatin1(entry.caption));
        action->setObjectName(QString::fromLatin1(InfoActionName(entry.command)));
        const InfoCommand which = entry.command;
        connect(action, &QAction::triggered, this, [this, which] { emit infoRequested(which); });
    }

    // The journal lines that hold the operator's callsign, written to RecentList.txt and opened.
    QAction* recent = command(view, "Show recent RAW activity", Command::RecentActivity, "RecentActivityAction");
    const QString recentHint = QStringLiteral("Shows entriles in the WSJT-X All.txt file to match your callsign");
    recent->setToolTip(recentHint);
    recent->setStatusTip(recentHint);
    view->setToolTipsVisible(true);

    // The journal against the log: contacts made on the air and not logged, logged twice, or
    // logged without a trace in the journal.
    QAction* audit = view->addAction(QStringLiteral("Journal audit"));
    audit->setObjectName(QStringLiteral("AuditAction"));
    audit->setStatusTip(QStringLiteral("Compares the contacts WSJT-X's ALL.TXT shows were made with the local log"));
    connect(audit, &QAction::triggered, this, [this] { audit_->OpenAudit(); });

    // Worked and confirmed, per award, band and mode.
    QAction* awards = view->addAction(QStringLiteral("Awards"));
    awards->setObjectName(QStringLiteral("AwardsAction"));
    awards->setStatusTip(QStringLiteral("DXCC, WAZ, WAC and grids worked and confirmed, per band and mode"));
    connect(awards, &QAction::triggered, this, [this] { awards_->OpenAwards(); });

    // Offered once WSJT-X has decoded something; the operator's choice is stored.
    heardAction_ = view->addAction(QStringLiteral("Show stations heard"));
    heardAction_->setObjectName(QStringLiteral("HeardAction"));
    heardAction_->setCheckable(true);
    heardAction_->setChecked(true);
    heardAction_->setVisible(false);
    connect(heardAction_, &QAction::toggled, this, [this](bool on) {
        heard_->SetWanted(on);
        EditOption([on](StoredOptions& options) { options.showHeard = on; });
    });
    view->addSeparator();
    command(view, "Reset Map position and size", Command::ResetMapPlacement, "ResetMapAction");
    connect(heard_, &HeardPanel::offered, this, [this] {
        heardAction_->setVisible(true);
        // A floating panel first shows beside the main window.
        heard_->move(frameGeometry().topRight() + QPoint(8, 0));
        heard_->resize(420, height());
    });
    // Closed by its own close button: the same as clearing the entry.
    connect(heard_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (!visible && heard_->Offered() && !heard_->isVisible() && heardAction_->isChecked() && !quitting_)
            heardAction_->setChecked(false);
    });

    answerMenu_ = new AnswerMenu(menuBar()->addMenu(QStringLiteral("&WSJT-X")), this,
                                 [this](OptionsEdit edit) { EditOption(std::move(edit)); });
    colourMenu_ = menuBar()->addMenu(QStringLiteral("&Colour Setup"));
    colourMenu_->setObjectName(QStringLiteral("ColourSetupMenu"));
    for (int index = 0; index < 12; ++index) {
        // Each opens the colour chooser.
        QAction* entry = colourMenu_->addAction(QString::fromLatin1(kColourCaptions[index]) + QChar(0x2026));
        entry->setObjectName(QStringLiteral("ColourAction%1").arg(index + 1));
        entry->setStatusTip(QString::fromLatin1(kColourTips[index]));
        connect(entry, &QAction::triggered, this, [this, index] { ChooseColour(index); });
    }
    colourMenu_->menuAction()->setVisible(false);
    if (about) {
        about->setObjectName(QStringLiteral("AboutMenu"));
        menuBar()->addMenu(about);
    }
}

void MainWindow::ConnectOptionControls() {
    // Each control writes its value into the options when the operator changes it.
    const std::pair<QCheckBox*, bool StoredOptions::*> boxes[] = {
        {parts_.brDist, &StoredOptions::brDist},           {parts_.autoShow, &StoredOptions::autoShow},
        {parts_.showDetails, &StoredOptions::showDetails}, {parts_.allTxtCheck, &StoredOptions::searchAllTxt},
        {parts_.mapCheck, &StoredOptions::mapShow},        {parts_.antEnabled, &StoredOptions::antWarning},
        {parts_.antAutochng, &StoredOptions::antAutoChange}};
    for (const auto& [box, value] : boxes)
        connect(box, &QCheckBox::toggled, this, [this, value](bool on) {
            EditOption([value, on](StoredOptions& options) { options.*value = on; });
        });

    // "Enabled" and "Autochng" exclude each other: the operator's click on either one sets the
    // other to its opposite. (Stored values are applied as they are.)
    connect(parts_.antEnabled, &QCheckBox::clicked, parts_.antAutochng, [this](bool on) { parts_.antAutochng->setChecked(!on); });
    connect(parts_.antAutochng, &QCheckBox::clicked, parts_.antEnabled, [this](bool on) { parts_.antEnabled->setChecked(!on); });

    QSlider* slider = parts_.countSlider;
    connect(slider, &QSlider::valueChanged, this, [this](int count) {
        ShowCount(count);
        EditOption([count](StoredOptions& options) { options.showCount = count; });
    });
    // The slider keeps the position within its range.
    connect(parts_.countDown, &QToolButton::clicked, slider, [slider] { slider->setValue(slider->value() - 1); });
    connect(parts_.countUp, &QToolButton::clicked, slider, [slider] { slider->setValue(slider->value() + 1); });

    connect(parts_.lookupService, &QComboBox::currentIndexChanged, this, [this] {
        const std::string service = parts_.lookupService->currentText().toStdString();
        EditOption([service](StoredOptions& options) { options.searches = service; });
    });
    // The rig and antenna boxes report their texts as rigEdited and antennaEdited.
}

void MainWindow::EditOption(OptionsEdit edit) {
    if (!applyingOptions_) emit optionsEdited(std::move(edit));
}

void MainWindow::ShowCount(int count) { parts_.countLabel->setText(QStringLiteral("%1ch").arg(count)); }

void MainWindow::ChooseColour(int index0) {
    // Without a loop of its own: the program goes on while the chooser is open.
    const QColor current = ToQColor(colours_[static_cast<std::size_t>(index0)]);
    auto* dialog = new QColorDialog(current, this);
    dialog->setObjectName(QStringLiteral("ColourChooser"));
    dialog->setWindowTitle(QString::fromLatin1(kColourCaptions[index0]));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::finished, this, [this, dialog, index0, current](int result) {
        const bool accepted = result == QDialog::Accepted;
        emit colourChosen(index0, accepted, accepted ? dialog->selectedColor() : current);
    });
    dialog->open();
}

QMessageBox* MainWindow::OpenMessageBox(const std::string& caption, const std::string& text,
                                        QMessageBox::StandardButtons buttons) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, ToQString(caption), ToQString(text), buttons, this);
    box->setObjectName(QStringLiteral("MessageBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Paths and addresses in a message can be copied.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ++openMessages_;
    connect(box, &QMessageBox::finished, this, [this] {
        --openMessages_;
        if (quitting_) QuitWhenMessagesClosed();
    });
    return box;
}

void MainWindow::ShowMessage(const std::string& caption, const std::string& text) {
    if (qEnvironmentVariableIsSet("VANTREL_NO_MODAL")) return;
    // Shown without a loop of its own: the program goes on while the operator reads it.
    OpenMessageBox(caption, text, QMessageBox::Ok)->open();
}

void MainWindow::Ask(const std::string& caption, const std::string& text, std::function<void()> onYes) {
    if (qEnvironmentVariableIsSet("VANTREL_NO_MODAL")) return;
    QMessageBox* box = OpenMessageBox(caption, text, QMessageBox::Yes | QMessageBox::No);
    box->setObjectName(QStringLiteral("Question"));
    box->setIcon(QMessageBox::Question);
    box->setDefaultButton(QMessageBox::No);
    connect(box, &QMessageBox::finished, this, [box, onYes = std::move(onYes)] {
        if (box->clickedButton() == box->button(QMessageBox::Yes) && onYes) onYes();
    });
    box->open();
}

void MainWindow::SetAdifImportFolder(const QString& folder) { adifImportFolder_ = folder; }

void MainWindow::ChooseAdifImportFile() {
    if (qEnvironmentVariableIsSet("VANTREL_NO_MODAL")) return;
    // Without a loop of its own, like the message boxes.
    auto* dialog = new QFileDialog(this, QStringLiteral("ADIF Import"), adifImportFolder_,
                                   QStringLiteral("ADIF files (*.adi *.adif *.ADI *.ADIF);;All files (*)"));
    dialog->setObjectName(QStringLiteral("AdifImportDialog"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setDefaultSuffix(QStringLiteral("adi"));
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        if (!file.isEmpty()) emit adifImportChosen(file);
    });
    dialog->open();
}

void MainWindow::ShowStatus(const std::string& text) {
    statusFile_->clear();
    statusFolder_.clear();
    statusBar()->showMessage(ToQString(text));
}

void MainWindow::ShowFileStatus(const std::string& text, const std::string& path) {
    statusBar()->clearMessage();
    const QString file = QFile::decodeName(QByteArray::fromStdString(path));
    statusFolder_ = QFile::encodeName(QFileInfo(file).absolutePath());
    statusFile_->setText(ToQString(text).toHtmlEscaped() +
                         QStringLiteral("<a href=\"folder\">%1</a>").arg(file.toHtmlEscaped()));
}

void MainWindow::ShowProgress(bool visible, int percent) {
    parts_.progressBar->setValue(std::clamp(percent, 0, 100));
    parts_.progressPanel->setVisible(visible);
}

void MainWindow::SetRegionVisible(Region region, bool visible) {
    switch (region) {
        case Region::CallsignList: parts_.callsignList->setVisible(visible); return;
        case Region::SearchOptions: parts_.searchOptions->setVisible(visible); return;
        case Region::LoggedAs: parts_.loggedAs->setVisible(visible && width() >= 460); return;
        case Region::N1mm:
            n1mmWanted_ = visible;
            parts_.n1mm->setVisible(visible && width() >= 650);
            return;
        case Region::RadioGear:
            radioWanted_ = visible;
            parts_.radioGear->setVisible(visible && width() >= 580);
            return;
        case Region::LastButtons:
            parts_.last50->setVisible(visible);
            parts_.today->setVisible(visible);
            return;
        case Region::MapCheck: parts_.mapCheck->setVisible(visible); return;
        case Region::MapButton: parts_.mapButton->setVisible(visible); return;
        case Region::DetailsPanel:
            if (visible) parts_.detailsPanel->show();
            else HideDetails();
            return;
        case Region::ProgressPanel: parts_.progressPanel->setVisible(visible); return;
        case Region::PlacesRow: places_->Row()->setVisible(visible); return;
        case Region::ExtendedCheck: places_->ExtendedCheck()->setVisible(visible); return;
        case Region::GridInfoPanel: places_->GridInfoPanel()->setVisible(visible); return;
        case Region::PlacesPanel: places_->PlacesPanel()->setVisible(visible); return;
        case Region::AntennaWarning: parts_.antWarningPanel->setVisible(visible); return;
        case Region::AntWarningLabel: parts_.antWarningLabel->setVisible(visible); return;
        case Region::EnabledCheck: parts_.antEnabled->setVisible(visible); return;
        case Region::AutochngCheck: parts_.antAutochng->setVisible(visible); return;
        case Region::AllTxtCheck: parts_.allTxtCheck->setVisible(visible); return;
        case Region::AllTxtPanel: parts_.allTxtPanel->setVisible(visible); return;
        case Region::CheckMyGridMenu: checkMyGridAction_->setVisible(visible); return;
        case Region::ColourSetupMenu: colourMenu_->menuAction()->setVisible(visible); return;
    }
}

void MainWindow::SetCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

void MainWindow::ShowStationDetails(const std::string& call, const std::string& grid) {
    parts_.call->setText(ToQString(call));
    parts_.grid->setText(ToQString(grid));
}

void MainWindow::ShowN1mm(const std::string& host, const std::string& port, const std::string& problem) {
    parts_.n1mmHost->setText(ToQString(host));
    parts_.n1mmPort->setText(ToQString(port));
    // Until a receiver listens, the panel says why no contact can arrive.
    const QString hint = problem.empty() ? QStringLiteral("Logged contacts from WSJT-X arrive here")
                                         : ToQString(problem);
    for (QWidget* widget : {static_cast<QWidget*>(parts_.n1mm), static_cast<QWidget*>(parts_.n1mmHost),
                            static_cast<QWidget*>(parts_.n1mmPort)})
        widget->setToolTip(hint);
    // Dark red on a light box, a red that still reads on a dark one.
    const QString red = TextColourOn(Rgb{0xB0, 0x00, 0x00}, parts_.n1mmHost->palette().color(QPalette::Base)).name();
    const QString style = problem.empty() ? QString() : QStringLiteral("QLineEdit { color: %1; }").arg(red);
    parts_.n1mmHost->setStyleSheet(style);
    parts_.n1mmPort->setStyleSheet(style);
}

void MainWindow::ShowEntries(const std::string& text) { parts_.entries->setText(ToQString(text)); }

void MainWindow::ShowLastContact(const std::string& text) {
    parts_.lastContact->setPlainText(ToQString(text));
}

void MainWindow::ApplyPlacement(const Placement& placement) {
    QRect wanted(placement.left, placement.top, placement.width, placement.height);
    // A place stored for a screen that is no longer attached would leave the window unreachable.
    const auto screens = QGuiApplication::screens();
    const bool onScreen = std::any_of(screens.begin(), screens.end(), [&](const QScreen* screen) {
        return screen->availableGeometry().intersects(wanted);
    });
    if (!onScreen && QGuiApplication::primaryScreen())
        wanted.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    // Left and top place the frame, width and height size the window's inside.
    move(wanted.topLeft());
    resize(wanted.size());
}

bool MainWindow::CurrentPlacement(Placement& placement) const {
    // A maximised window is saved at its normal place and size.
    const QRect inside = (isMaximized() || isFullScreen()) ? normalGeometry() : geometry();
    const QPoint frameOffset = geometry().topLeft() - pos();
    placement.left = inside.x() - frameOffset.x();
    placement.top = inside.y() - frameOffset.y();
    placement.width = inside.width();
    placement.height = inside.height();
    return true;
}

void MainWindow::ApplyColours(const Palette& palette) {
    colours_ = palette;
    for (QLabel* caption : parts_.captions) {
        QPalette colours = caption->palette();
        colours.setColor(QPalette::WindowText,
                         TextColourOn(colours_[kCaptionColour], colours.color(QPalette::Window)));
        caption->setPalette(colours);
    }
    parts_.callsignList->viewport()->update();
    parts_.details->viewport()->update();
    ApplyListColours();
}

void MainWindow::ApplyOptions(const StoredOptions& options) {
    const QScopedValueRollback<bool> quiet(applyingOptions_, true);
    parts_.brDist->setChecked(options.brDist);
    parts_.autoShow->setChecked(options.autoShow);
    parts_.showDetails->setChecked(options.showDetails);
    parts_.allTxtCheck->setChecked(options.searchAllTxt);
    parts_.mapCheck->setChecked(options.mapShow);
    parts_.antEnabled->setChecked(options.antWarning);
    parts_.antAutochng->setChecked(options.antAutoChange);
    always50Action_->setChecked(options.always50);
    heardAction_->setChecked(options.showHeard);
    heard_->SetLegend(options.answers.colours);
    answerMenu_->Apply(options.answers);
    parts_.countSlider->setValue(options.showCount);
    ShowCount(parts_.countSlider->value());
    SetServiceText(parts_.lookupService, ToQString(options.searches));
    for (auto [box, text] : {std::pair{parts_.rig, &options.rig}, std::pair{parts_.antenna, &options.ant}}) {
        // A box that already shows the text is left as it is (with the caret where it stands).
        if (BoxBytes(box, *text) == *text) continue;
        box->setCurrentText(ToQString(*text));
        box->lineEdit()->setCursorPosition(0);  // long antenna names show their start
    }
}

void MainWindow::Quit() {
    quitting_ = true;
    // From here on the map window closes with the program instead of refusing.
    map_->AllowClose();
    QuitWhenMessagesClosed();
}

void MainWindow::StopRequested() {
    // A kill, Ctrl+C or the end of the session cannot wait for the operator: open dialogs are
    // dismissed as if cancelled, and the program ends without waiting for its messages.
    stopping_ = true;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
    if (quitting_) QuitWhenMessagesClosed();
}

void MainWindow::QuitWhenMessagesClosed() {
    // A message shown just before the end (why the program stops) is read before it ends;
    // queued, so a quit asked for before the event loop runs still ends it. exit() rather than
    // quit(): quit() would ask every window to close first and give up when the map refuses.
    if (openMessages_ > 0 && !stopping_) return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void MainWindow::NoteActivation() {
    if (activated_) return;
    activated_ = true;
    emit firstActivated();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    emit shown();
    // Platforms without window activation (offscreen, some compositors) still start the program
    // once the window is up.
    if (!activated_) QTimer::singleShot(0, this, &MainWindow::NoteActivation);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) NoteActivation();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (quitting_) {
        event->accept();
        return;
    }
    // The engine closes in order (after long work that holds the log) and then ends the program.
    event->ignore();
    emit closing();
}

}  // namespace vantrel
