// A temporary station for engine tests: a WSJT-X folder, a viewer folder, an in-memory settings
// store, a settable clock, a fake receiver and views that record what they were shown.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/engine/station_engine.h"
#include "support/memory_store.h"
#include "support/recording_view.h"
#include "support/temp_folder.h"

namespace vantrel::test {

class SettableClock : public Clock {
public:
    TimePoint Now() const override { return now; }
    void Set(const LocalTime& t) { now = FromLocalTime(t); }
    void Advance(std::chrono::milliseconds by) { now += by; }
    TimePoint now = FromLocalTime({2026, 12, 8, 12, 0, 0, 0});
};

class FakeReceiver : public UdpReceiver {
public:
    bool Bind(const std::string& host, int port, std::string* error) override;
    void Stop() override { bound = false; }
    bool IsBound() const override { return bound; }
    void Echo(const std::string& bytes, const std::string& host, int port) override {
        echoes.push_back(host + ":" + std::to_string(port) + " " + bytes);
    }
    std::vector<std::string> echoes;
    std::vector<std::string> binds;
    bool fail = false;
    bool bound = false;
};

// Runs the event loop until `done` holds (results of background work are handed over through
// it); false when it did not within the time.
bool RunEventsUntil(const std::function<bool()>& done, int milliseconds = 60000);
// Until no work of the background (a repair, an export, the grids scan) is running.
bool WaitForBackground(const StationEngine& engine);

extern const char* const kStationIni;
// A logged-contact datagram as WSJT-X sends it.
std::string Datagram(const std::string& call, const std::string& freq, const std::string& time = "141919");
// A WSJT-X log line numbered i (distinct callsign and time per i).
std::string WsjtxLine(int i);
std::string WsjtxLog(int count);

class EngineStation {
public:
    EngineStation();
    std::filesystem::path wsjtx() const { return root / "WSJT-X"; }
    std::filesystem::path viewer() const { return root / "viewer"; }
    // wsjtx.log with `contacts` lines, WSJT-X.ini and a one-line journal.
    void Write(int contacts, const char* ini = kStationIni);
    // The station's services for an engine of the test's own making.
    EngineServices Services();
    // Creates the engine and runs its start-up to its end (or to the quit it asked for).
    std::unique_ptr<StationEngine> Start(std::vector<std::string> arguments = {});
    // Three contacts, with the IC-7300 and the antenna stored as the last run's choice.
    std::unique_ptr<StationEngine> StartWithAntenna(const std::string& antenna, std::vector<std::string> arguments = {});
    LogLines LocalLog() const;
    // The trace file of the run.
    std::string Trace() const;

    TempFolder root;
    MemoryStore store;
    RecordingView view;
    std::string entriesAtStart;  // the entries box as the start-up left it
    RecordingDesktop desktop;
    SettableClock clock;
    bool interactive = true;
    FakeReceiver receiver;
    MessageListener* listener = nullptr;  // WSJT-X's own messages, for tests that hear them
    // The shipped data (none unless a test gives it) and the downloads' addresses: nothing on
    // the internet, an address on the loopback that refuses, no release check.
    std::filesystem::path dataFolder;
    DownloadAddresses downloadAddresses{"https://127.0.0.1:9/cty/cty.dat", ""};
    FetchSettings fetchSettings;
};

}  // namespace vantrel::test
