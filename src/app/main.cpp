// Program entry: one running copy per viewer folder and rig, the switches, and either the main
// window or, with /HEADLESS, the same station engine without any window; or one of the one-shot
// commands of the terminal.
#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/engine/feed_connections.h"
#include "app/engine/headless_view.h"
#include "app/engine/lotw_command.h"
#include "app/engine/query_commands.h"
#include "app/engine/single_instance.h"
#include "app/engine/station_engine.h"
#include "app/engine/stop_signals.h"
#include "awards/award_commands.h"
#include "base/command_line.h"
#include "base/data_folder_switch.h"
#include "feed/qt_udp_receiver.h"
#include "feed/wsjtx_listener.h"
#include "net/update_cty_command.h"
#include "settings/settings_store.h"

#ifdef VANTREL_GUI
#include "app/gui/run_window.h"
#endif

namespace {

// The folder of the running program file.
std::filesystem::path ProgramFolder(const char* argv0) {
    std::error_code ec;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) program = std::filesystem::absolute(argv0, ec);
    return program.parent_path();
}

int RunHeadless(int argc, char** argv, const std::vector<std::string>& arguments,
                const std::filesystem::path& viewerFolder, const std::filesystem::path& dataFolder) {
    using namespace vantrel;
    QCoreApplication app(argc, argv);
    HeadlessView view;
    SystemClock clock;
    QtUdpReceiver receiver;
    WsjtxListener listener;
    HeadlessDesktop desktop;
    IniSettingsStore store(DefaultSettingsFile(), [](const std::string& note) {
        std::fprintf(stderr, "vantrel: %s\n", note.c_str());
    });
    StationEngine engine(EngineServices{store, clock, receiver, desktop, FolderEnvironment::FromProcess(),
                                        QCoreApplication::applicationFilePath().toStdString(), viewerFolder, false,
                                        dataFolder, DownloadAddresses::FromBuildAndEnvironment(), FetchSettings{},
                                        &listener},
                         view.Views(), arguments);
    ConnectFeeds(receiver, listener, engine);
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
    // Anything the program does not know starts nothing.
    if (const std::string problem = vantrel::CommandLineProblem(arguments); !problem.empty()) {
        std::fprintf(stderr, "vantrel: %s\n%s\n", problem.c_str(), vantrel::kUsageLine);
        return 2;
    }
    // Started with --data-folder (as the desktop menu does): move into the program's own data
    // folder before the lock or the window looks at the working directory.
    bool named = false;
    if (const auto folder = vantrel::TakeDataFolderSwitch(arguments, vantrel::FolderEnvironment::FromProcess(), &named)) {
        // A file named as the folder is a slip of the command line.
        if (const std::string usage = named ? vantrel::DataFolderUsageProblem(*folder) : std::string(); !usage.empty()) {
            std::fprintf(stderr, "vantrel: %s\n%s\n", usage.c_str(), vantrel::kUsageLine);
            return 2;
        }
        const std::string problem = vantrel::EnterDataFolder(*folder);
        if (!problem.empty()) {
            std::fprintf(stderr, "vantrel: %s\n", problem.c_str());
            return 1;
        }
    }
    // The program keeps its files in the folder it is started in.
    std::error_code ec;
    const std::filesystem::path viewerFolder = std::filesystem::current_path(ec);
    if (ec) {
        std::fprintf(stderr, "vantrel: no working folder: %s\n", ec.message().c_str());
        return 1;
    }
    const std::filesystem::path dataFolder = vantrel::FindShippedDataFolder(ProgramFolder(argv[0]));
    // The queries only read: they run beside a running program.
    const vantrel::OneShotCommand oneShot = vantrel::FindOneShotCommand(arguments);
    if (oneShot == vantrel::OneShotCommand::Grid || oneShot == vantrel::OneShotCommand::Places)
        return vantrel::RunPlacesQuery(oneShot, arguments, viewerFolder, dataFolder,
                                       vantrel::FolderEnvironment::FromProcess(), stdout, stderr);
    if (oneShot == vantrel::OneShotCommand::Call)
        return vantrel::RunCallQuery(arguments, viewerFolder, vantrel::FolderEnvironment::FromProcess(), std::cout,
                                     std::cerr);
    if (oneShot == vantrel::OneShotCommand::Worked)
        return vantrel::RunWorkedQuery(arguments, viewerFolder, vantrel::FolderEnvironment::FromProcess(), std::cout,
                                       std::cerr);
    // RecentList.txt is --recent's own output, written whole in one step as the menu entry does.
    if (oneShot == vantrel::OneShotCommand::Journal || oneShot == vantrel::OneShotCommand::Recent ||
        oneShot == vantrel::OneShotCommand::Audit)
        return vantrel::RunJournalQuery(oneShot, arguments, viewerFolder, vantrel::FolderEnvironment::FromProcess(),
                                        std::cout, std::cerr);
    const vantrel::AwardCommand award = vantrel::FindAwardCommand(arguments);
    if (award == vantrel::AwardCommand::Awards || award == vantrel::AwardCommand::Needed)
        return vantrel::RunAwardCommand(award, arguments, viewerFolder, vantrel::FolderEnvironment::FromProcess(),
                                        std::cout, std::cerr);

    const vantrel::Switches switches(arguments);
    const std::string lockName = switches.RigName().empty() ? "Vantrel" : "Vantrel - " + switches.RigName();
    vantrel::SingleInstance instance(lockName, viewerFolder);
    const bool headless = switches.HasSwitch("/HEADLESS");
    const bool lotw = vantrel::WantsLotwDownload(arguments);
    // A folder the program cannot write in is no running copy: say so.
    if (!instance.Acquired() && !instance.Problem().empty()) {
        std::fprintf(stderr, "vantrel: %s\n", instance.Problem().c_str());
#ifdef VANTREL_GUI
        if (!headless && oneShot == vantrel::OneShotCommand::None && award == vantrel::AwardCommand::None && !lotw)
            return vantrel::ShowStartProblem(argc, argv, instance.Problem());
#endif
        return 1;
    }
    if (award == vantrel::AwardCommand::ImportConfirmations) {
        // It appends to the confirmations a running program holds in memory.
        if (!instance.Acquired()) {
            std::fputs("vantrel: Vantrel Application is already active: use \"ADIF Import\" in its File menu\n",
                       stderr);
            return 1;
        }
        return vantrel::RunAwardCommand(award, arguments, viewerFolder, vantrel::FolderEnvironment::FromProcess(),
                                        std::cout, std::cerr);
    }
    if (lotw) {
        // It merges into the confirmations a running program holds in memory.
        if (!instance.Acquired()) {
            std::fputs("vantrel: Vantrel Application is already active: use \"Download LoTW confirmations\" in its "
                       "File menu\n",
                       stderr);
            return 1;
        }
        return vantrel::RunDownloadLotwCommand(argc, argv);
    }
    if (oneShot == vantrel::OneShotCommand::UpdateCty) {
        // It writes cty.dat and ctybasic.txt: not beside a running program, which has the menu entry.
        if (!instance.Acquired()) {
            std::fputs("vantrel: Vantrel Application is already active: use \"Update CTY.DAT file\" in its File menu\n",
                       stderr);
            return 1;
        }
        return vantrel::RunUpdateCtyCommand(argc, argv, arguments);
    }
    if (oneShot == vantrel::OneShotCommand::ExportAdif) {
        // It writes the export files and the counter that a running program keeps in memory.
        if (!instance.Acquired()) {
            std::fputs("vantrel: Vantrel Application is already active: use \"Full ADIF export\" or \"New ADIF "
                       "export\" in its File menu\n",
                       stderr);
            return 1;
        }
        vantrel::IniSettingsStore store(vantrel::DefaultSettingsFile(), [](const std::string& note) {
            std::fprintf(stderr, "vantrel: %s\n", note.c_str());
        });
        return vantrel::RunExportAdifCommand(arguments, viewerFolder, vantrel::FolderEnvironment::FromProcess(), store,
                                             std::chrono::system_clock::now(), std::cout, std::cerr);
    }
    if (!instance.Acquired()) {
#ifdef VANTREL_GUI
        if (!headless) return vantrel::ShowAlreadyActive(argc, argv);
#endif
        std::fputs("Vantrel Application is already active\n", stderr);
        return 1;
    }
#ifdef VANTREL_GUI
    if (!headless) return vantrel::RunWindowed(argc, argv, arguments, viewerFolder, dataFolder);
#endif
    if (!headless) {
        std::fputs("vantrel: this build has no windows; start it with /HEADLESS\n", stderr);
        return 2;
    }
    return RunHeadless(argc, argv, arguments, viewerFolder, dataFolder);
}
