#include "support/engine_station.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace vantrel::test {

const char* const kStationIni =
    "[Configuration]\nBroadcastToN1MM=true\nMyCall=W9XYZ\nMyGrid=EN37\nN1MMServer=127.0.0.1\n"
    "N1MMServerPort=2334\n";

bool FakeReceiver::Bind(const std::string& host, int port, std::string* error) {
    binds.push_back(host + ":" + std::to_string(port));
    bound = !fail;
    if (fail && error) *error = "address in use";
    return bound;
}

bool RunEventsUntil(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

bool WaitForBackground(const StationEngine& engine) {
    return RunEventsUntil([&] { return !engine.BackgroundWorkRunning(); });
}

std::string RecordingView::ContactDetailsText(std::size_t maxCharacters) const {
    std::string text;
    for (const DetailsLine& line : contactDetails) {
        if (&line != &contactDetails.front()) text += '\n';
        text += line.text;
    }
    return text.substr(0, maxCharacters);
}

std::string Datagram(const std::string& call, const std::string& freq, const std::string& time) {
    auto field = [](const std::string& name, const std::string& value) {
        return "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
    };
    return field("call", call) + field("gridsquare", "FN42") + field("mode", "FT8") + field("rst_sent", "-15") +
           field("rst_rcvd", "-12") + field("qso_date", "20261208") + field("time_on", time) +
           field("qso_date_off", "20261208") + field("time_off", time) + field("band", "20m") +
           field("freq", freq) + field("station_callsign", "W9XYZ") + field("my_gridsquare", "EN37") + "<eor>";
}

std::string WsjtxLine(int i) {
    return "2026-12-0" + std::to_string(1 + i % 7) + ",10:00:" + std::to_string(10 + i % 50) +
           ",2026-12-01,10:01:00,K" + std::to_string(i) + "ABC,FN42,14.075500,FT8,-10,-12,100,,,";
}

std::string WsjtxLog(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += WsjtxLine(i) + "\n";
    return text;
}

EngineStation::EngineStation() { std::filesystem::create_directories(viewer()); }

void EngineStation::Write(int contacts, const char* ini) {
    WriteFile(wsjtx() / "wsjtx.log", WsjtxLog(contacts));
    WriteFile(wsjtx() / "WSJT-X.ini", ini);
    WriteFile(wsjtx() / "ALL.TXT", "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42\n");
}

EngineServices EngineStation::Services() {
    FolderEnvironment env{root.path().string(), "", (root / "config").string(), root.path().string()};
    return EngineServices{store,       clock,      receiver,          desktop,       env,     "/bin/sh", viewer(),
                          interactive, dataFolder, downloadAddresses, fetchSettings, listener};
}

std::unique_ptr<StationEngine> EngineStation::StartWithAntenna(const std::string& antenna,
                                                               std::vector<std::string> arguments) {
    Write(3);
    WriteFile(viewer() / "Radios.txt", "IC-7300\n");
    WriteFile(viewer() / "Antennas.txt", antenna + "\n");
    store.Write(std::string(kOwnSection), "VantrelerRig", "IC-7300");
    store.Write(std::string(kOwnSection), "VantrelerAnt", antenna);
    return Start(std::move(arguments));
}

std::unique_ptr<StationEngine> EngineStation::Start(std::vector<std::string> arguments) {
    auto engine = std::make_unique<StationEngine>(Services(), view.Views(), arguments);
    engine->onStartupDone = [this] { entriesAtStart = view.entries; };
    engine->MainWindowActivated();
    RunEventsUntil([&] { return engine->StartupDone() || engine->QuitRequested(); });
    return engine;
}

LogLines EngineStation::LocalLog() const { return *LoadLogLines(viewer() / "Viewer_local_log.csv"); }

std::string EngineStation::Trace() const { return ReadFile(viewer() / "tracer.txt"); }

}  // namespace vantrel::test
