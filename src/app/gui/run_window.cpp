#include "app/gui/run_window.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>

#include <cstdio>

#include "app/engine/feed_connections.h"
#include "app/engine/station_engine.h"
#include "app/engine/stop_signals.h"
#include "app/gui/main_window.h"
#include "app/gui/qt_desktop.h"
#include "feed/qt_udp_receiver.h"
#include "app/gui/desktop_notifier.h"
#include "feed/wsjtx_listener.h"
#include "settings/settings_store.h"

namespace vantrel {

namespace {

// The places row and its panels: the operator's actions to the engine.
void ConnectPlaces(PlacesPanels& places, StationEngine& engine) {
    auto text = [](const QString& value) { return value.toStdString(); };
    QObject::connect(&places, &PlacesPanels::lookupRequested,
                     [&engine, text](const QString& value) { engine.Call(&PlacesPart::LookupGrid, text(value)); });
    QObject::connect(&places, &PlacesPanels::gridInfoCloseClicked, [&engine] { engine.Call(&PlacesPart::CloseGridInfo); });
    QObject::connect(&places, &PlacesPanels::gridListPressed, [&engine] { engine.Call(&PlacesPart::GridListPressed); });
    QObject::connect(&places, &PlacesPanels::gridListReleased, [&engine] { engine.Call(&PlacesPart::GridListReleased); });
    QObject::connect(&places, &PlacesPanels::bearingDoubleClicked, [&engine] { engine.Call(&PlacesPart::BearingDoubleClicked); });
    QObject::connect(&places, &PlacesPanels::placesTextEdited, [&engine] { engine.Call(&PlacesPart::PlacesTextEdited); });
    QObject::connect(&places, &PlacesPanels::placesEntered, [&engine, text](const QString& value, bool extended) {
        engine.PlacesSearchEntered(text(value), extended);
    });
    QObject::connect(&places, &PlacesPanels::placesCloseRequested, [&engine] { engine.Call(&PlacesPart::ClosePlaces); });
    QObject::connect(&places, &PlacesPanels::copyPlacesRequested, [&engine] { engine.Call(&PlacesPart::CopyPlacesToClipboard); });
}

}  // namespace

void SetDesktopIdentity() {
    // The name without blanks is the window class the desktop groups windows by; the desktop file
    // name ties the windows to the menu entry and its icon.
    QApplication::setApplicationName(QStringLiteral("Vantrel"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vantrel.Vantrel"));
    QApplication::setWindowIcon(ProgramIcon());
}

int RunWindowed(int argc, char** argv, const std::vector<std::string>& arguments,
                const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder) {
    QApplication app(argc, argv);
    SetDesktopIdentity();

    MainWindow window;
    window.setWindowTitle("Vantrel for WSJT-X");
    SystemClock clock;
    QtUdpReceiver receiver;
    WsjtxListener listener;
    QtDesktop desktop;
    DesktopNotifier notifier;
    EngineViews views = window.Views();
    views.more.Add<Notifier>(notifier);
    IniSettingsStore store(DefaultSettingsFile(), [](const std::string& note) {
        std::fprintf(stderr, "vantrel: %s\n", note.c_str());
    });
    StationEngine engine(EngineServices{store, clock, receiver, desktop, FolderEnvironment::FromProcess(),
                                        QCoreApplication::applicationFilePath().toStdString(), viewerFolder, true,
                                        dataFolder, DownloadAddresses::FromBuildAndEnvironment(), FetchSettings{},
                                        &listener},
                         views, arguments);
    window.Map().Attach(engine.Map());
    auto text = [](const QString& value) { return value.toStdString(); };
    ConnectFeeds(receiver, listener, engine);
    QObject::connect(&window, &MainWindow::heardClicked, [&](int row) { engine.Call(&WsjtxMessagesPart::HeardClicked, row); });
    QObject::connect(&window, &MainWindow::heardDoubleClicked, [&](int row) { engine.Call(&WsjtxAnswerPart::ReplyToRow, row); });
    // A kill, Ctrl+C or the end of the session closes the window's run in order too.
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, [&] {
        window.StopRequested();
        engine.CloseMainWindow();
    });
    QObject::connect(&window, &MainWindow::searchEdited, [&](const QString& value) { engine.Call(&SearchPart::SearchEdited, text(value)); });
    QObject::connect(&window, &MainWindow::searchEntered, [&](const QString& value) {
        if (!value.trimmed().isEmpty()) engine.Call(&SearchPart::SearchLog);
    });
    QObject::connect(&window, &MainWindow::wildSearchClicked, [&](bool wild) { engine.Call(&SearchPart::SetWildSearch, wild); });
    QObject::connect(&window, &MainWindow::callsignListClicked,
                     [&](const QString& line, int column) { engine.Call(&SearchPart::CallsignListClicked, text(line), column); });
    QObject::connect(&window, &MainWindow::matchListClicked,
                     [&](int row, bool left) { engine.Call(&SearchPart::MatchListClicked, row, left); });
    QObject::connect(&window, &MainWindow::detailsClicked,
                     [&](int line, bool left) { engine.Call(&SearchPart::DetailsClicked, line, left); });
    QObject::connect(&window, &MainWindow::lastContactClicked, [&] { engine.Call(&SearchPart::LastContactClicked); });
    QObject::connect(&window, &MainWindow::rigEdited, [&](const QByteArray& value) { engine.Call(&EquipmentPart::RigChanged, value.toStdString()); });
    QObject::connect(&window, &MainWindow::antennaEdited,
                     [&](const QByteArray& value) { engine.Call(&EquipmentPart::AntennaChanged, value.toStdString()); });
    QObject::connect(&window, &MainWindow::folderOpenRequested,
                     [&](const QByteArray& folder) { engine.OpenFolder(folder.toStdString()); });
    window.SetAdifImportFolder(QFile::decodeName(QByteArray::fromStdString(engine.AdifImportFolder().string())));
    QObject::connect(&window, &MainWindow::antennaChoiceClosed, [&](bool picked) { engine.Call(&FeedPart::AntennaChoiceClosed, picked); });
    QObject::connect(&window, &MainWindow::adifImportChosen,
                     [&](const QString& file) { engine.Call(&AdifPart::AdifImport, QFile::encodeName(file).toStdString()); });
    QObject::connect(&window, &MainWindow::resized, [&] { engine.CheckCountryFileAge(); });

    QObject::connect(&window, &MainWindow::shown, [&] { engine.MainWindowShown(); });
    QObject::connect(&window, &MainWindow::firstActivated, [&] { engine.MainWindowActivated(); });
    QObject::connect(&window, &MainWindow::closing, [&] { engine.CloseMainWindow(); });
    QObject::connect(&window, &MainWindow::resetRegistryRequested,
                     [&] { engine.Call(&WindowPart::ResetRegistryValues); });
    QObject::connect(&window, &MainWindow::optionsEdited, [&](OptionsEdit edit) { engine.OptionsEdited(std::move(edit)); });
    QObject::connect(&window, &MainWindow::commandRequested, [&](Command command) { engine.Run(command); });
    QObject::connect(&window, &MainWindow::infoRequested, [&](InfoCommand command) { engine.RunInfo(command); });
    ConnectPlaces(window.Places(), engine);
    window.Journal().SetActionRunner([&engine](JournalPanel::Action action) { engine.With<JournalPart>(std::move(action)); });
    window.Audit().SetActionRunner([&engine](AuditWindow::Action action) { engine.With<AuditPart>(std::move(action)); });
    window.Awards().SetActionRunner([&engine](AwardsWindow::Action action) { engine.With<AwardsPart>(std::move(action)); });
    window.LotwLogin().SetActionRunner(
        [&engine](LotwLoginDialog::Action action) { engine.With<LotwPart>(std::move(action)); });
    QObject::connect(&window, &MainWindow::lotwDownloadRequested, [&] { engine.Call(&LotwPart::Download); });
    QObject::connect(&window, &MainWindow::ticked, [&] {
        engine.Tick();
        engine.RigFollowerTick();
    });
    QObject::connect(&window, &MainWindow::colourChosen,
                     [&](int index, bool accepted, const QColor& colour) {
                         std::optional<Rgb> chosen;
                         if (accepted)
                             chosen = Rgb{static_cast<std::uint8_t>(colour.red()),
                                          static_cast<std::uint8_t>(colour.green()),
                                          static_cast<std::uint8_t>(colour.blue())};
                         engine.Call(&WindowPart::ColourChosen, index, chosen);
                     });
    window.show();
    const int code = app.exec();
    return engine.QuitRequested() ? 0 : code;
}

int ShowStartProblem(int argc, char** argv, const std::string& problem) {
    QApplication app(argc, argv);
    SetDesktopIdentity();
    QMessageBox::critical(nullptr, "Vantrel", QString::fromStdString(problem));
    return 1;
}

int ShowAlreadyActive(int argc, char** argv) {
    QApplication app(argc, argv);
    SetDesktopIdentity();
    QMessageBox::information(nullptr, "Vantrel", "Vantrel Application is already active");
    return 1;
}

}  // namespace vantrel
