// Program entry: one running copy, the switches, and either the main window or, with
// /HEADLESS, the same station engine without any window.
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/engine/headless_view.h"
#include "app/engine/station_engine.h"
#include "app/engine/single_instance.h"
#include "feed/qt_udp_receiver.h"
#include "settings/settings_store.h"

#ifdef VANTREL_GUI
#include "app/gui/run_window.h"
#endif

namespace {

int signalPipe[2] = {-1, -1};

void OnStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
}

int RunHeadless(int argc, char** argv, const std::vector<std::string>& arguments) {
    using namespace vantrel;
    QCoreApplication app(argc, argv);
    HeadlessView view;
    SystemClock clock;
    QtUdpReceiver receiver;
    HeadlessDesktop desktop;
    IniSettingsStore store(DefaultSettingsFile(), [](const std::string& note) {
        std::fprintf(stderr, "vantrel: %s\n", note.c_str());
    });
    StationEngine engine(
        EngineServices{store, view, clock, receiver, desktop, FolderEnvironment::FromProcess(),
                       QCoreApplication::applicationFilePath().toStdString(), false},
        arguments);
    QObject::connect(&receiver, &QtUdpReceiver::datagramReceived,
                     [&](const QByteArray& bytes) { engine.OnDatagram(bytes.toStdString()); });

    // SIGTERM and SIGINT end the run through the event loop, so the shutdown runs in order.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return 1;
    QSocketNotifier notifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, [&] {
        char byte;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &byte, 1);
        engine.CloseMainWindow();
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    engine.MainWindowActivated();
    if (engine.QuitRequested()) return 0;
    QTimer schedule;
    QObject::connect(&schedule, &QTimer::timeout, [&] {
        engine.Tick();
        engine.RigFollowerTick();
    });
    schedule.start(1000);
    std::fprintf(stderr, "vantrel: running without a window in %s; %zu contacts in the local log\n",
                 engine.ViewerFolder().c_str(), engine.LocalLogLines().size());
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
    const vantrel::Switches switches(arguments);
    const std::string lockName =
        switches.RigName().empty() ? "Vantrel" : "Vantrel - " + switches.RigName();
    vantrel::SingleInstance instance(lockName);
    const bool headless = switches.HasSwitch("/HEADLESS");
    if (!instance.Acquired()) {
#ifdef VANTREL_GUI
        if (!headless) return vantrel::ShowAlreadyActive(argc, argv);
#endif
        std::fputs("Vantrel Application is already active\n", stderr);
        return 1;
    }
#ifdef VANTREL_GUI
    if (!headless) return vantrel::RunWindowed(argc, argv, arguments);
#endif
    if (!headless) {
        std::fputs("vantrel: this build has no windows; start it with /HEADLESS\n", stderr);
        return 2;
    }
    return RunHeadless(argc, argv, arguments);
}
