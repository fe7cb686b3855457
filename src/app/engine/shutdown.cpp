// Ending a run in order. The close waits for long work that holds the log, logs every contact
// still waiting at the sockets or for the antenna warning's answer and writes what a full disk
// kept in memory.
#include "app/engine/station_engine.h"
#include "base/file_io.h"

namespace vantrel {

void StationEngine::CloseMainWindow() {
    if (core_.State().Closed()) return;
    if (!core_.State().StartupBegun() || core_.State().QuitRequested()) {
        views_.window.Quit();
        return;
    }
    core_.Gate().WhenFree([this] {
        if (core_.State().Closed()) return;
        CloseNow();
        views_.window.Quit();
    });
}

void StationEngine::LogWaitingDatagrams() {
    // Contacts sent while the program was stopped or busy still wait at the sockets: they are
    // read to the end and logged as any other before the sockets close.
    UdpReceiver& receiver = core_.Services().receiver;
    MessageListener* listener = core_.Services().listener;
    const std::vector<std::string> contacts = receiver.TakeWaiting();
    const std::vector<std::string> messages = listener ? listener->TakeWaiting() : std::vector<std::string>();
    auto noteDrops = [this](std::uint64_t dropped, const char* socket) {
        if (dropped > 0)
            core_.Trace(" UDP ** ", std::to_string(dropped) + " datagrams dropped by the system at the " + socket +
                                        " socket while the program was busy");
    };
    noteDrops(receiver.DroppedSinceBind(), "N1MM");
    if (listener) noteDrops(listener->DroppedSinceBind(), "WSJT-X");
    if (!contacts.empty() || !messages.empty())
        core_.Trace(" Close ** ", std::to_string(contacts.size() + messages.size()) +
                                      " datagrams waiting at the sockets are read");
    if (!contacts.empty()) feed_.OnDatagrams(contacts);
    if (!messages.empty()) messages_.OnMessages(messages, /*contactsOnly=*/true);
}

void StationEngine::CloseNow() {
    LogWaitingDatagrams();
    feed_.LogPendingContacts("the program closed before the warning was answered");
    feed_.WriteUnsaved();
    core_.State().Close();
    lists_.WriteCallsInLog();

    // Dated copies of WSJT-X's logs, one per day; a copy made since WSJT-X last changed its file
    // is left as it is.
    const std::string date = FormatDdMmmYyyy(core_.Now());
    const WsjtxFiles files = core_.CurrentWsjtxFiles();
    std::string error;
    if (FileSize(files.log) >= 0 && !CopyFileIfChanged(files.log, core_.ViewerFile("Wsjtx " + date + ".log"), &error))
        core_.Trace(" Copy failed ** ", error);
    if (FileSize(files.adif) >= 0 &&
        !CopyFileIfChanged(files.adif, core_.ViewerFile("Wsjtx_log " + date + ".adi"), &error))
        core_.Trace(" Copy failed ** ", error);

    const bool traced = core_.Tracer().Trace(" Close", "", &error);
    core_.Tracer().End();
    core_.Services().receiver.Stop();
    ReleaseLists();
    if (!traced) {
        // The settings are not saved by a close whose trace file failed.
        core_.Notices().ShowMessage("Error", "The trace file could not be written: " + error);
    } else {
        window_.SaveSettings();
    }
    core_.Services().store.WriteBool(kOwnSection, "VantrelerActive", false);
    core_.Tracer().CloseDiagnostics();
    if (core_.HasSwitch("/PURGE")) PurgeSettings(core_.Services().store);
}

void StationEngine::ExitCommand() {
    LogWaitingDatagrams();
    feed_.LogPendingContacts("the program was left by EXIT before the warning was answered");
    feed_.WriteUnsaved();
    core_.State().Close();
    ReleaseLists();
    core_.Tracer().CloseDiagnostics();
    window_.SaveSettings();
    if (core_.HasSwitch("/PURGE")) PurgeSettings(core_.Services().store);
    core_.Services().store.WriteBool(kOwnSection, "VantrelerActive", false);
    views_.window.Quit();
}

void StationEngine::ReleaseLists() {
    messages_.Release();
    grids_.Release();
    core_.Log().Release();
    core_.WsjtxLogLines().clear();
    lists_.Release();
    search_.Release();
}

}  // namespace vantrel
