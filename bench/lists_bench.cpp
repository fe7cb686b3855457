// The callsign list and the repairs of the local log on a heavy station, beside a plain pass
// over the same lines.
//
//   build/gen_station --out /tmp/vantrel-lists --contacts 300000 --journal-bytes 1000000
//   build/bench/lists_bench [STATION] [benchmark flags]      # STATION defaults to /tmp/vantrel-lists
//
// The local log is built in memory from STATION/WSJT-X/wsjtx.log, as the first start-up does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "log/callsign_list.h"
#include "log/extract_field.h"
#include "log/local_log_record.h"
#include "log/log_maintenance.h"
#include "log/qso_lists.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

fs::path station = "/tmp/vantrel-lists";

const LogLines& LocalLog() {
    static const LogLines log = [] {
        LogLines lines;
        const auto wsjtx = LoadLogLines(station / "WSJT-X" / "wsjtx.log");
        if (!wsjtx) {
            std::fprintf(stderr, "no wsjtx.log in %s/WSJT-X (run gen_station first)\n", station.c_str());
            std::exit(1);
        }
        const StationDetails details{"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"};
        for (const std::string_view line : *wsjtx) lines.push_back(LocalLineFromWsjtx(line, details));
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
