// A temporary station for engine tests: a WSJT-X folder, a viewer folder that is the working
// directory while the test runs, an in-memory settings store, a settable clock and a fake
// receiver.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/engine/headless_view.h"
#include "app/engine/station_engine.h"
#include "support/memory_store.h"
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

extern const char* const kStationIni;
// A WSJT-X log line numbered i (distinct callsign and time per i).
std::string WsjtxLine(int i);
std::string WsjtxLog(int count);

class EngineStation {
public:
    EngineStation();
    ~EngineStation();
    std::filesystem::path wsjtx() const { return root / "WSJT-X"; }
    std::filesystem::path viewer() const { return root / "viewer"; }
    // wsjtx.log with `contacts` lines, WSJT-X.ini and a one-line journal.
    void Write(int contacts, const char* ini = kStationIni);
    std::unique_ptr<StationEngine> Start(std::vector<std::string> arguments = {});
    LogLines LocalLog() const;

    TempFolder root;
    MemoryStore store;
    HeadlessView view;
    HeadlessDesktop desktop;
    SettableClock clock;
    bool interactive = true;
    FakeReceiver receiver;

private:
    std::filesystem::path previous_;
};

}  // namespace vantrel::test
