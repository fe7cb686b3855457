// The grids.txt build on a heavy station's journal, beside `wc -l` of the same file measured
// in the same run; the incremental refresh after 100 KB appended; the duplicate thinning.
//
//   VANTREL_BENCH_JOURNAL=/tmp/vantrel-grids/WSJT-X/ALL.TXT build/bench/grids_bench
//
// Make the journal with: build/gen_station --out /tmp/vantrel-grids --contacts 300000
// --journal-bytes 2000000000. The journal is only read; the refresh works on a small file of its
// own (the journal's first 16 MB plus 100 KB of its next lines) with the full build's entries
// as its grids.txt, so the list it merges into has the size it has on the heavy station.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "base/file_io.h"
#include "refdata/grids_builder.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

fs::path Journal() {
    const char* path = std::getenv("VANTREL_BENCH_JOURNAL");
    return path ? fs::path(path) : fs::path("/tmp/vantrel-grids/WSJT-X/ALL.TXT");
}

bool HaveJournal(benchmark::State& state) {
    if (FileSize(Journal()) > 0) return true;
    state.SkipWithError("no journal: set VANTREL_BENCH_JOURNAL or run gen_station (see the top of this file)");
    return false;
}

void BM_WcLines(benchmark::State& state) {
    if (!HaveJournal(state)) return;
    const std::string command = "wc -l < '" + Journal().string() + "'";
    long lines = 0;
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe || std::fscanf(pipe, "%ld", &lines) != 1) state.SkipWithError("wc failed");
        if (pipe) ::pclose(pipe);
    }
    state.SetBytesProcessed(state.iterations() * FileSize(Journal()));
    state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_WcLines)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_FullGridsBuild(benchmark::State& state) {
    if (!HaveJournal(state)) return;
    std::size_t entries = 0;
    std::uint64_t count = 0;
    for (auto _ : state) {
        GridsBuild build = BuildGrids(Journal(), {});
        if (!build.ok()) state.SkipWithError(build.error.c_str());
        build.list.Sorted();
        entries = build.list.size();
        count = build.candidateCount;
    }
    state.SetBytesProcessed(state.iterations() * FileSize(Journal()));
    state.counters["entries"] = static_cast<double>(entries);
    state.counters["candidates"] = static_cast<double>(count);
}
BENCHMARK(BM_FullGridsBuild)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

struct RefreshSetup {
    fs::path folder = fs::temp_directory_path() / ("vantrel-grids-bench-" + std::to_string(::getpid()));
    fs::path journal = folder / "all.txt";
    fs::path grids = folder / "grids.txt";
    std::string head, added;
    LogLines fullEntries;

    bool Prepare() {
        fs::create_directories(folder);
        std::ifstream in(Journal(), std::ios::binary);
        std::string bytes(16u << 20 | 200000, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
        const std::size_t headEnd = bytes.rfind('\n', 16u << 20);
        const std::size_t addedEnd = bytes.rfind('\n', headEnd + 100000);
        if (headEnd == std::string::npos || addedEnd <= headEnd) return false;
        head = bytes.substr(0, headEnd + 1);
        added = bytes.substr(headEnd + 1, addedEnd - headEnd);
        GridsBuild full = BuildGrids(Journal(), {});
        // Leave out what the appended lines give, so the refresh has new entries to merge.
        GridsWorkingList appended;
        for (std::size_t at = 0; at < added.size();) {
            const std::size_t end = added.find('\n', at);
            const JournalGridWord word = GridWordOfLine(std::string_view(added).substr(at, end - at));
            if (word.accepted) appended.Add(word.call, word.grid);
            at = end + 1;
        }
        for (std::string_view line : full.list.Sorted())
            if (!appended.Contains(line)) fullEntries.push_back(line);
        return full.ok();
    }
    ~RefreshSetup() { fs::remove_all(folder); }
};

void BM_RefreshAfter100KB(benchmark::State& state) {
    if (!HaveJournal(state)) return;
    RefreshSetup setup;
    if (!setup.Prepare()) return state.SkipWithError("cannot prepare the refresh");
    const bool save = state.range(0) != 0;
    std::size_t newEntries = 0;
    for (auto _ : state) {
        state.PauseTiming();
        WriteFileAtomic(setup.journal, setup.head);
        GridsBuild kept = BuildGrids(setup.journal, setup.fullEntries);
        kept.list.Sorted();
        AppendFileDurable(setup.journal, setup.added);
        state.ResumeTiming();
        if (RefreshGrids(kept, setup.journal, &newEntries) != GridsRefresh::Appended)
            state.SkipWithError("refresh did not append");
        if (save) SaveGrids(kept.list, setup.grids);
        else kept.list.Sorted();
    }
    state.counters["appended_bytes"] = static_cast<double>(setup.added.size());
    state.counters["entries"] = static_cast<double>(setup.fullEntries.size());
    state.counters["new_entries"] = static_cast<double>(newEntries);
}
// 0: scan and merge into the sorted list; 1: and save grids.txt (atomic, flushed to disk).
BENCHMARK(BM_RefreshAfter100KB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(20);

// 500,000 sorted entries of which 50,000 are contained in their successor ("CALL," before
// "CALL,GRID", "CALL,GRID" before "CALL,GRID6").
void BM_RemoveGridDuplicates(benchmark::State& state) {
    std::mt19937 random(7);
    GridsWorkingList list;
    const char* letters = "ABCDEFGHIJKLMNOPQR";
    std::size_t removable = 0;
    for (std::size_t i = 0; list.size() < 500000; ++i) {
        std::string call = std::to_string(i);
        call.insert(call.begin(), 'K');
        call += "XY";
        std::string grid = {letters[random() % 18], letters[random() % 18],
                            static_cast<char>('0' + random() % 10), static_cast<char>('0' + random() % 10)};
        list.Add(call, grid);
        if (i % 9 == 0 && list.size() < 500000) {
            list.Add(call, grid + "ab");
            ++removable;
        }
    }
    const LogLines sorted = list.ToLogLines();
    std::size_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LogLines grids = sorted;
        state.ResumeTiming();
        RemoveGridDuplicates(grids);
        kept = grids.size();
    }
    state.counters["entries"] = static_cast<double>(sorted.size());
    state.counters["removed"] = static_cast<double>(sorted.size() - kept);
    state.counters["removable"] = static_cast<double>(removable);
}
BENCHMARK(BM_RemoveGridDuplicates)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
