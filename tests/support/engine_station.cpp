#include "support/engine_station.h"

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

std::string WsjtxLine(int i) {
    return "2026-12-0" + std::to_string(1 + i % 7) + ",10:00:" + std::to_string(10 + i % 50) +
           ",2026-12-01,10:01:00,K" + std::to_string(i) + "ABC,FN42,14.075500,FT8,-10,-12,100,,,";
}

std::string WsjtxLog(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += WsjtxLine(i) + "\n";
    return text;
}

EngineStation::EngineStation() {
    previous_ = std::filesystem::current_path();
    std::filesystem::create_directories(viewer());
    std::filesystem::current_path(viewer());
    view.echo = false;
}

EngineStation::~EngineStation() { std::filesystem::current_path(previous_); }

void EngineStation::Write(int contacts, const char* ini) {
    WriteFile(wsjtx() / "wsjtx.log", WsjtxLog(contacts));
    WriteFile(wsjtx() / "WSJT-X.ini", ini);
    WriteFile(wsjtx() / "ALL.TXT", "261208_120015    14.074 Rx FT8     -8  0.1 1200 CQ K1ABC FN42\n");
}

std::unique_ptr<StationEngine> EngineStation::Start(std::vector<std::string> arguments) {
    FolderEnvironment env{root.path().string(), "", (root / "config").string(), root.path().string()};
    auto engine = std::make_unique<StationEngine>(
        EngineServices{store, view, clock, receiver, desktop, env, "/bin/sh", interactive}, arguments);
    engine->MainWindowActivated();
    return engine;
}

LogLines EngineStation::LocalLog() const { return *LoadLogLines(viewer() / "Viewer_local_log.csv"); }

}  // namespace vantrel::test
