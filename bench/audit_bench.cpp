// The journal-to-log audit on a heavy station, beside `grep -c` of the operator's callsign on the
// same journal in the same run (page cache warm):
//
//   build-release/bench/audit_bench [--benchmark_filter=...]
//
// VANTREL_BENCH_STATION names the station folder made by gen_station (default
// /tmp/vantrel-heavy-ro: its WSJT-X/ALL.TXT and WSJT-X/wsjtx.log are only read) and
// VANTREL_BENCH_OPERATOR the operator's callsign (default W9XYZ). The refresh works on a copy of
// the journal in a folder of its own under /tmp.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "base/data_folders.h"
#include "base/file_io.h"
#include "journal/audit_part.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

std::string Setting(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}
fs::path Station() { return Setting("VANTREL_BENCH_STATION", "/tmp/vantrel-heavy-ro"); }
std::string Operator() { return Setting("VANTREL_BENCH_OPERATOR", "W9XYZ"); }

struct View : AuditView {
    AuditLists lists;
    void ShowAuditLists(const AuditLists& shown) override { lists = shown; }
    void ShowAuditProgress(const std::string&) override {}
    void ConfirmAddToLog(const std::string&) override {}
    void ShowAuditMessage(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

LogSnapshot StationLog() {
    std::optional<LogLines> lines = LoadLogLines(Station() / "WSJT-X" / "wsjtx.log");
    return std::make_shared<const LogLines>(lines ? std::move(*lines) : LogLines());
}

// A folder holding the journal (a hard link, or else a copy) as the viewer folder holds it.
fs::path WorkFolder(bool copy) {
    const fs::path folder = fs::temp_directory_path() / ("vantrel-audit-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const fs::path journal = Station() / "WSJT-X" / "ALL.TXT";
    std::error_code ec;
    fs::remove(folder / kJournalCopy, ec);
    if (copy || (fs::create_hard_link(journal, folder / kJournalCopy, ec), ec))
        fs::copy_file(journal, folder / kJournalCopy, fs::copy_options::overwrite_existing);
    return folder;
}

double GrepMilliseconds() {
    const std::string command = "grep -c " + Operator() + " '" + (Station() / "WSJT-X" / "ALL.TXT").string() + "'";
    const auto start = std::chrono::steady_clock::now();
    FILE* pipe = ::popen(command.c_str(), "r");
    char out[64];
    while (pipe && std::fgets(out, sizeof out, pipe)) {
    }
    if (pipe) ::pclose(pipe);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void BM_FirstAudit(benchmark::State& state) {
    if (FileSize(Station() / "WSJT-X" / "ALL.TXT") <= 0) return state.SkipWithError("no station: set VANTREL_BENCH_STATION");
    const fs::path folder = WorkFolder(false);
    const auto log = StationLog();
    View view;
    double grep = 0;
    std::optional<AuditPart> part;
    for (auto _ : state) {
        state.PauseTiming();
        part.reset();  // not timed: freeing the last audit
        grep += GrepMilliseconds();
        part.emplace(AuditPartServices{view, [] { return StationDetails{Operator(), "EN37", "", ""}; },
                                       [&] { return log; }, {}, {}},
                     folder);
        state.ResumeTiming();
        part->Open();
    }
    part.reset();
    state.counters["grep_ms"] = grep / static_cast<double>(state.iterations());
    state.counters["not_logged"] = static_cast<double>(view.lists.notLogged.size());
    std::printf("%s\n", view.lists.summary.c_str());
    fs::remove_all(folder);
}
BENCHMARK(BM_FirstAudit)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RefreshAfter100KB(benchmark::State& state) {
    if (FileSize(Station() / "WSJT-X" / "ALL.TXT") <= 0) return state.SkipWithError("no station: set VANTREL_BENCH_STATION");
    const fs::path folder = WorkFolder(true);
    const fs::path copy = folder / kJournalCopy;
    const auto size = static_cast<std::uint64_t>(FileSize(copy));
    std::string tail(120000, '\0');
    {
        std::ifstream in(copy, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(size - tail.size()));
        in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    }
    tail = tail.substr(tail.find('\n', tail.size() - 102400) + 1);
    const auto log = StationLog();
    View view;
    std::optional<AuditPart> part;
    for (auto _ : state) {
        state.PauseTiming();
        part.reset();  // not timed: freeing the last audit
        if (::truncate(copy.c_str(), static_cast<off_t>(size - tail.size())) != 0) return state.SkipWithError("truncate");
        part.emplace(AuditPartServices{view, [] { return StationDetails{Operator(), "EN37", "", ""}; },
                                       [&] { return log; }, {}, {}},
                     folder);
        part->Open();
        if (!AppendFileDurable(copy, tail)) return state.SkipWithError("append failed");
        for (int tick = 1; tick < AuditPart::kRefreshSeconds; ++tick) part->Tick();
        state.ResumeTiming();
        part->Tick();
    }
    part.reset();
    state.counters["appended_KB"] = static_cast<double>(tail.size()) / 1024;
    fs::remove_all(folder);
}
BENCHMARK(BM_RefreshAfter100KB)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
