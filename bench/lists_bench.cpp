// The callsign list, the repairs of the local log and the contact index with the catch-up with
// WSJT-X's log on a heavy station, beside a plain pass over the same lines.
//
//   build/gen_station --out /tmp/vantrel-lists --contacts 300000 --journal-bytes 1000000
//   build/bench/lists_bench [STATION] [benchmark flags]      # STATION defaults to /tmp/vantrel-lists
//
// The local log is built in memory from STATION/WSJT-X/wsjtx.log, as the first start-up does.
// STATION is only read; the local log file benchmarks write in a folder of their own under /tmp.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "base/file_io.h"
#include "log/callsign_list.h"
#include "log/contact_identity.h"
#include "log/local_log.h"
#include "log/local_log_file.h"
#include "log/extract_field.h"
#include "log/local_log_record.h"
#include "log/log_maintenance.h"
#include "log/qso_lists.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

fs::path station = "/tmp/vantrel-lists";

const StationDetails kDetails{"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"};

const LogLines& WsjtxLog() {
    static const LogLines log = [] {
        auto wsjtx = LoadLogLines(station / "WSJT-X" / "wsjtx.log");
        if (!wsjtx) {
            std::fprintf(stderr, "no wsjtx.log in %s/WSJT-X (run gen_station first)\n", station.c_str());
            std::exit(1);
        }
        return std::move(*wsjtx);
    }();
    return log;
}

const LogLines& LocalLog() {
    static const LogLines log = [] {
        LogLines lines;
        for (const std::string_view line : WsjtxLog()) lines.push_back(LocalLineFromWsjtx(line, kDetails));
        return lines;
    }();
    return log;
}

// What every list pass costs at least: cut field 5 out of each line.
void BM_BaselineCallsignFieldScan(benchmark::State& state) {
    const LogLines& log = LocalLog();
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const std::string_view line : log) bytes += ExtractFieldView(line, ',', 5).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["contacts"] = static_cast<double>(log.size());
}

// Start-up: the list is empty and every entry is new.
void BM_CreateAndDisplayCallsignList(benchmark::State& state) {
    const LogLines& log = LocalLog();
    std::size_t entries = 0, lines = 0;
    for (auto _ : state) {
        CallsignList list;
        create_callsignlist(list, log);
        const auto shown = display_callsigns(list);
        entries = list.size();
        lines = shown.size();
        benchmark::DoNotOptimize(shown.data());
    }
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["box_lines"] = static_cast<double>(lines);
}

// A later rebuild ("CLR", a click in the display panel): the list holds the log already.
void BM_RebuildAndDisplayCallsignList(benchmark::State& state) {
    const LogLines& log = LocalLog();
    CallsignList list;
    create_callsignlist(list, log);
    for (auto _ : state) {
        create_callsignlist(list, log);
        benchmark::DoNotOptimize(display_callsigns(list).data());
    }
}

void BM_CallsInLogLines(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CallsInLogLines(LocalLog()).size());
}

void BM_ShowLastUtcDayAndLast50(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ShowLastUtcDay(LocalLog()).lines.data());
        benchmark::DoNotOptimize(ShowLast50(LocalLog()).lines.data());
    }
}

void BM_CheckGridsInLog(benchmark::State& state) {
    const LogLines& log = LocalLog();
    CallsignList list;
    create_callsignlist(list, log);
    const LogLines grids = list.Lines();
    std::size_t changed = 0;
    for (auto _ : state) changed = check_grids_in_log(log, grids).changed;
    state.counters["filled"] = static_cast<double>(changed);
}

void BM_CheckDatesInLog(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(check_dates_in_log(LocalLog()).changed);
}

void BM_ZapUserField(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ZapUserField(LocalLog()).changed);
}

void BM_RemoveLogJunk(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(RemoveLogJunk(LocalLog()).size());
}

void BM_CheckMyGrid(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(CheckMyGrid(LocalLog(), "QQ0XYZ").changed);
}

// The contact index of the whole log, as start-up builds it.
void BM_ContactIndexBuild(benchmark::State& state) {
    const LogLines& log = LocalLog();
    std::size_t contacts = 0;
    for (auto _ : state) {
        ContactIndex index(log);
        contacts = index.size();
        benchmark::DoNotOptimize(contacts);
    }
    state.counters["contacts"] = static_cast<double>(contacts);
}

// One duplicate test of a received contact: half of them in the log, half new.
void BM_ContactIndexLookup(benchmark::State& state) {
    const LogLines& log = LocalLog();
    const ContactIndex index(log);
    std::vector<std::string> probes;
    for (std::size_t i = 0; i < 1000; ++i) {
        std::string line(log[(i * 7919) % log.size()]);
        if (i % 2) line.replace(0, 4, "2031");  // a contact not in the log
        probes.push_back(std::move(line));
    }
    std::size_t i = 0, found = 0;
    for (auto _ : state) {
        found += LocalLogHasContact(index, probes[i++ % probes.size()]);
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

// The same test as a search through the whole log, as before the index (a new contact is
// looked for everywhere).
void BM_BaselineDuplicateTestByScan(benchmark::State& state) {
    const LogLines& log = LocalLog();
    std::string line(log[log.size() / 2]);
    line.replace(0, 4, "2031");
    for (auto _ : state) benchmark::DoNotOptimize(LocalLogHasContact(log, line));
}

// Start-up catch-up: the local log lacks WSJT-X's newest contacts (state.range(0) of them); the
// index is built and every WSJT-X line looked up. The copy of the local log is not timed.
void BM_StartupCatchUp(benchmark::State& state) {
    const LogLines& wsjtx = WsjtxLog();
    const std::size_t missing = static_cast<std::size_t>(state.range(0));
    LogLines older;
    for (std::size_t i = 0; i + missing < LocalLog().size(); ++i) older.push_back(LocalLog()[i]);
    std::size_t appended = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LogLines local = older;
        state.ResumeTiming();
        ContactIndex index(local);
        appended = update_local_with_new(local, index, wsjtx, kDetails).appended;
        benchmark::DoNotOptimize(local.Bytes().data());
    }
    state.counters["appended"] = static_cast<double>(appended);
}

// The local log file on a /tmp folder of its own: 300,000 lines.
struct LogFileFolder {
    fs::path folder;
    LogFileFolder() {
        std::string pattern = "/tmp/vantrel-lists-bench-XXXXXX";
        folder = ::mkdtemp(pattern.data());
    }
    ~LogFileFolder() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
};

// A save after another program appended a contact to the file: read again, merge, append.
void BM_SaveAfterAnotherWriterAppended(benchmark::State& state) {
    LogFileFolder temp;
    const fs::path file = temp.folder / "Viewer_local_log.csv";
    LogLines lines = LocalLog();
    std::size_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        lines = LocalLog();
        fs::remove(file);
        LocalLogFile writer(file);
        writer.Save(lines);
        std::string other(lines[0]);
        other.replace(0, 4, "2031");
        AppendFileDurable(file, other + "\r\n");
        lines.push_back(std::string(lines[1]).replace(0, 4, "2032"));
        state.ResumeTiming();
        kept = writer.SaveGrown(lines, lines.size() - 1).keptFromFile;
    }
    state.counters["kept"] = static_cast<double>(kept);
}

}  // namespace

BENCHMARK(BM_BaselineCallsignFieldScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateAndDisplayCallsignList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildAndDisplayCallsignList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CallsInLogLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowLastUtcDayAndLast50)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CheckGridsInLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckDatesInLog)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZapUserField)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RemoveLogJunk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckMyGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContactIndexBuild)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContactIndexLookup)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_BaselineDuplicateTestByScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupCatchUp)->Arg(0)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveAfterAnotherWriterAppended)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (argc > 1 && argv[1][0] != '-') {
        station = argv[1];
        for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
        --argc;
    }
    benchmark::Initialize(&argc, argv);
    LocalLog();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
