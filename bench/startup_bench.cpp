// Start-up of a heavy station on its second run, the last-contact append and the journal
// refresh, each beside a plain read of the same files.
//
//   startup_bench --prepare STATION   first run on STATION/WSJT-X: makes STATION/viewer
//   startup_bench STATION [benchmark flags]
//
// bench/run_startup_bench.sh generates the station, prepares it, grows WSJT-X's files and runs
// this. Every timed start-up begins from the prepared viewer state: the viewer's files are cut
// back to their prepared sizes while the clock is paused (they only ever grow at the end).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include <QCoreApplication>
#include <QElapsedTimer>

#include "app/engine/headless_view.h"
#include "app/engine/station_engine.h"
#include "base/file_io.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

fs::path station;
const char* kViewerFiles[] = {"wsjtx.log", "all.txt", "wsjt-x.ini", "Viewer_local_log.csv",
                              "grids.txt"};

class NoReceiver : public UdpReceiver {
public:
    bool Bind(const std::string&, int, std::string*) override { return true; }
    void Stop() override {}
    bool IsBound() const override { return true; }
    void Echo(const std::string&, const std::string&, int) override {}
};

class MinuteClock : public Clock {
public:
    TimePoint Now() const override { return now; }
    TimePoint now = std::chrono::system_clock::now();
};

// Runs the event loop until `done` holds: the engine's work of the background hands its results
// over through it.
void RunUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 600000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

struct Station {
    HeadlessView view;
    MinuteClock clock;
    NoReceiver receiver;
    HeadlessDesktop desktop;
    IniSettingsStore store{station / "settings.ini"};
    std::unique_ptr<StationEngine> engine;

    Station() {
        FolderEnvironment env{station.string(), "", (station / "config").string(), station.string()};
        engine = std::make_unique<StationEngine>(
            EngineServices{store, clock, receiver, desktop, env, "/proc/self/exe", station / "viewer", false, {},
                           DownloadAddresses{"", ""}, FetchSettings{}},
            view.Views(), std::vector<std::string>{"/NVC"});
        engine->MainWindowActivated();
        RunUntil([this] { return engine->StartupDone() || engine->QuitRequested(); });
    }
    void WaitForBackground() {
        RunUntil([this] { return !engine->BackgroundWorkRunning(); });
    }
};

std::map<std::string, std::int64_t> PreparedSizes() {
    std::map<std::string, std::int64_t> sizes;
    std::ifstream in(station / "viewer-sizes.txt");
    std::string name;
    std::int64_t size;
    while (in >> name >> size) sizes[name] = size;
    return sizes;
}

void RestoreViewer(const std::map<std::string, std::int64_t>& sizes) {
    for (const auto& [name, size] : sizes) {
        const fs::path file = station / "viewer" / name;
        if (FileSize(file) != size && ::truncate(file.c_str(), size) != 0)
            std::fprintf(stderr, "cannot restore %s\n", file.c_str());
    }
}

std::int64_t ReadLikeCat(const fs::path& file) {
    static std::vector<char> buffer(1 << 17);
    const int fd = ::open(file.c_str(), O_RDONLY);
    std::int64_t total = 0;
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) total += n;
    ::close(fd);
    return total;
}

void BM_BaselineReadOfBothLogs(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadLikeCat(station / "viewer" / "wsjtx.log") +
                                 ReadLikeCat(station / "viewer" / "Viewer_local_log.csv"));
    }
}

void BM_StartupSecondRun(benchmark::State& state) {
    const auto sizes = PreparedSizes();
    std::size_t contacts = 0;
    for (auto _ : state) {
        state.PauseTiming();
        RestoreViewer(sizes);
        state.ResumeTiming();
        auto run = std::make_unique<Station>();
        // The start-up ends here; the work it leaves to the background and the engine's end
        // are not part of it.
        state.PauseTiming();
        contacts = run->engine->LocalLogLines().size();
        if (!run->engine->StartupDone()) state.SkipWithError("start-up did not finish");
        run.reset();
        state.ResumeTiming();
    }
    state.counters["contacts"] = static_cast<double>(contacts);
    RestoreViewer(sizes);
}

void BM_AddLastContact(benchmark::State& state) {
    Station run;
    int serial = 0;
    for (auto _ : state) {
        char line[160];
        std::snprintf(line, sizeof line,
                      "2026-12-09,%02d:%02d:%02d,2026-12-09,%02d:%02d:%02d,K%dBEN,FN42,14.075500,FT8,"
                      "-10,-12,100,,",
                      serial / 3600 % 24, serial / 60 % 60, serial % 60, serial / 3600 % 24,
                      serial / 60 % 60, serial % 60, serial);
        ++serial;
        run.engine->Call(&FeedPart::SetLastContact, line);
    }
    state.counters["contacts"] = static_cast<double>(run.engine->LocalLogLines().size());
    RestoreViewer(PreparedSizes());
}

// A contact logged in WSJT-X: the datagram received, converted, logged durably, and the
// automatic search shown (the callsign list and its files follow, as every new contact does).
void BM_DatagramOnHeavyStation(benchmark::State& state) {
    Station run;
    run.WaitForBackground();
    run.engine->Tick();
    run.engine->Tick();  // the timer has ticked: the automatic search runs
    int serial = 0;
    for (auto _ : state) {
        char datagram[400];
        const std::string call = std::string("K").append(std::to_string(serial)).append("DG");
        std::snprintf(datagram, sizeof datagram,
                      "<call:%zu>%s <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-15 <rst_rcvd:3>-12 "
                      "<qso_date:8>20261209 <time_on:6>%02d%02d%02d <qso_date_off:8>20261209 "
                      "<time_off:6>%02d%02d%02d <band:3>20m <freq:9>14.075500 <eor>",
                      call.size(), call.c_str(), serial / 3600 % 24, serial / 60 % 60, serial % 60,
                      serial / 3600 % 24, serial / 60 % 60, serial % 60);
        ++serial;
        run.engine->OnDatagram(datagram);
        if (!run.view.MatchListVisible()) state.SkipWithError("no automatic search");
    }
    state.counters["contacts"] = static_cast<double>(run.engine->LocalLogLines().size());
    RestoreViewer(PreparedSizes());
}

// The last bytes before `end` (the journal is never read whole).
std::string ReadTail(const fs::path& file, std::int64_t end, std::size_t bytes) {
    std::string tail(bytes, '\0');
    const int fd = ::open(file.c_str(), O_RDONLY);
    const ssize_t n = ::pread(fd, tail.data(), bytes, end - static_cast<std::int64_t>(bytes));
    ::close(fd);
    tail.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return tail;
}

// A minute of the one-second schedule while WSJT-X logs 10 contacts and its journal grows by
// 100 KB: the longest tick is what the window waits for at most.
void BM_ScheduleMinute(benchmark::State& state) {
    Station run;
    run.WaitForBackground();
    const fs::path log = station / "WSJT-X" / "wsjtx.log";
    const fs::path journal = LocateWsjtxFiles(station / "WSJT-X", {}, "", {}).journal;
    const std::int64_t logSize = FileSize(log), journalSize = FileSize(journal);
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        {
            const std::string tail = ReadTail(log, logSize, 1000);
            AppendFileDurable(log, tail.substr(tail.find('\n') + 1));
            const std::string decodes = ReadTail(journal, journalSize, 100'000);
            AppendFileDurable(journal, decodes.substr(decodes.find('\n') + 1));
        }
        state.ResumeTiming();
        const TimePoint minute = std::chrono::time_point_cast<std::chrono::minutes>(std::chrono::system_clock::now());
        for (int second = 0; second < 60; ++second) {
            run.clock.now = minute + std::chrono::seconds(second);
            const auto start = std::chrono::steady_clock::now();
            run.engine->Tick();
            longest = std::max(longest, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
    }
    state.counters["longest_tick_ms"] = longest;
    if (::truncate(log.c_str(), logSize) != 0 || ::truncate(journal.c_str(), journalSize) != 0)
        state.SkipWithError("cannot restore the WSJT-X files");
    RestoreViewer(PreparedSizes());
}

void BM_JournalRefreshAfter100KB(benchmark::State& state) {
    const fs::path journal = LocateWsjtxFiles(station / "WSJT-X", {}, "", {}).journal;
    const fs::path copy = station / "viewer" / "all.txt";
    const std::int64_t full = FileSize(journal);
    RefreshAppendOnlyCopy(journal, copy);  // the copy equals the journal before each cut
    for (auto _ : state) {
        state.PauseTiming();
        if (::truncate(copy.c_str(), full - 100'000) != 0) state.SkipWithError("cannot cut the copy");
        state.ResumeTiming();
        if (RefreshAppendOnlyCopy(journal, copy) != CopyRefresh::Appended)
            state.SkipWithError("the journal copy was not appended to");
    }
    state.counters["journal_MB"] = static_cast<double>(full) / 1e6;
    RestoreViewer(PreparedSizes());
}

BENCHMARK(BM_BaselineReadOfBothLogs)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_StartupSecondRun)->Unit(benchmark::kMillisecond)->MinTime(5);
BENCHMARK(BM_AddLastContact)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_DatagramOnHeavyStation)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ScheduleMinute)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_JournalRefreshAfter100KB)->Unit(benchmark::kMillisecond)->MinTime(2);

int Prepare() {
    fs::create_directories(station / "viewer");
    fs::remove(station / "viewer" / "Viewer_local_log.csv");
    Station first;
    first.WaitForBackground();
    std::ofstream out(station / "viewer-sizes.txt");
    for (const char* name : kViewerFiles) out << name << ' ' << FileSize(station / "viewer" / name) << '\n';
    std::printf("prepared %s: %zu contacts in the local log\n", station.c_str(),
                first.engine->LocalLogLines().size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the engine hands background results over through it
    if (argc >= 3 && std::string(argv[1]) == "--prepare") {
        station = fs::absolute(argv[2]);
        return Prepare();
    }
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: %s [--prepare] STATION [benchmark flags]\n", argv[0]);
        return 2;
    }
    station = fs::absolute(argv[1]);
    argv[1] = argv[0];
    --argc;
    ++argv;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident memory of the run: %ld MB\n", usage.ru_maxrss / 1024);
    return 0;
}
