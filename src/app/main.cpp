// Program entry: one running copy per viewer folder and rig, the switches, and either the main
// window or, with /HEADLESS, the same station engine without any window.
#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/engine/headless_view.h"
#include "app/engine/single_instance.h"
#include "app/engine/station_engine.h"
#include "app/engine/stop_signals.h"
#include "base/data_folder_switch.h"
#include "feed/qt_udp_receiver.h"
#include "settings/settings_store.h"

#ifdef VANTREL_GUI
#include "app/gui/run_window.h"
#endif

namespace {

int RunHeadless(int argc, char** argv, const std::vector<std::string>& arguments,
                const std::filesystem::path& viewerFolder) {
    using namespace vantrel;
    QCoreApplication app(argc, argv);
    HeadlessView view;
    SystemClock clock;
    QtUdpReceiver receiver;
    HeadlessDesktop desktop;
    IniSettingsStore store(DefaultSettingsFile(), [](const std::string& note) {
        std::fprintf(stderr, "vantrel: %s\n", note.c_str());
    });
    StationEngine engine(EngineServices{store, clock, receiver, desktop, FolderEnvironment::FromProcess(),
                                        QCoreApplication::applicationFilePath().toStdString(), viewerFolder, false},
                         view.Views(), arguments);
    QObject::connect(&receiver, &QtUdpReceiver::datagramsReceived,
                     [&](const std::vector<std::string>& datagrams) { engine.OnDatagrams(datagrams); });
    StopSignals stop;
    QObject::connect(&stop, &StopSignals::stopRequested, [&] { engine.CloseMainWindow(); });

    QTimer schedule;
    QObject::connect(&schedule, &QTimer::timeout, [&] {
        engine.Tick();
        engine.RigFollowerTick();
    });
    engine.onStartupDone = [&] {
        schedule.start(1000);
        std::fprintf(stderr, "vantrel: running without a window in %s; %zu contacts in the local log\n",
                     engine.ViewerFolder().c_str(), engine.LocalLogLines().size());
    };
    engine.MainWindowActivated();
    return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            std::fputs(vantrel::SwitchHelp().c_str(), stdout);
            return 0;
        }
        if (argument == "--version") {
            std::puts("Vantrel " VANTREL_VERSION_TEXT);
            return 0;
        }
    }
    // Started with --data-folder (as the desktop menu does): move into the program's own data
    // folder before the lock or the window looks at the working directory.
    if (const auto folder = vantrel::TakeDataFolderSwitch(arguments, vantrel::FolderEnvironment::FromProcess())) {
        const std::string problem = vantrel::EnterDataFolder(*folder);
        if (!problem.empty()) {
            std::fprintf(stderr, "vantrel: %s\n", problem.c_str());
            return 1;
        }
    }
    // The program keeps its files in the folder it is started in.
    std::error_code ec;
    const std::filesystem::path viewerFolder = std::filesystem::current_path(ec);
    const vantrel::Switches switches(arguments);
    const std::string lockName = switches.RigName().empty() ? "Vantrel" : "Vantrel - " + switches.RigName();
    vantrel::SingleInstance instance(lockName, viewerFolder);
    const bool headless = switches.HasSwitch("/HEADLESS");
    if (!instance.Acquired()) {
#ifdef VANTREL_GUI
        if (!headless) return vantrel::ShowAlreadyActive(argc, argv);
#endif
        std::fputs("Vantrel Application is already active\n", stderr);
        return 1;
    }
#ifdef VANTREL_GUI
    if (!headless) return vantrel::RunWindowed(argc, argv, arguments, viewerFolder);
#endif
    if (!headless) {
        std::fputs("vantrel: this build has no windows; start it with /HEADLESS\n", stderr);
        return 2;
    }
    return RunHeadless(argc, argv, arguments, viewerFolder);
}
