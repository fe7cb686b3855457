// The journal tools on a heavy station's journal, each beside `grep -c` of the same text on the
// same file in the same run (page cache warm):
//
//   build-release/bench/journal_bench [--benchmark_filter=...]
//
// VANTREL_BENCH_JOURNAL names the journal (default: the heavy station's
// /tmp/vantrel-heavy-ro/WSJT-X/ALL.TXT, 2 GB, made by gen_station); it is only read.
// VANTREL_BENCH_CALL is the station searched for (default UY3BN, about 150 lines) and
// VANTREL_BENCH_OPERATOR the operator's callsign (default W9XYZ, 1.7 million lines). The
// automatic refresh works on a copy of the journal in a folder of its own under /tmp.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "base/file_io.h"
#include "journal/journal_part.h"
#include "journal/journal_search.h"
#include "journal/recent_activity.h"

#ifdef VANTREL_BENCH_WIDGETS
#include <QApplication>

#include "app/gui/journal_panel.h"
#endif

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

std::string Setting(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}
fs::path Journal() { return Setting("VANTREL_BENCH_JOURNAL", "/tmp/vantrel-heavy-ro/WSJT-X/ALL.TXT"); }
std::string Call() { return Setting("VANTREL_BENCH_CALL", "UY3BN"); }
std::string Operator() { return Setting("VANTREL_BENCH_OPERATOR", "W9XYZ"); }

bool HaveJournal(benchmark::State& state) {
    if (FileSize(Journal()) > 0) return true;
    state.SkipWithError("no journal: set VANTREL_BENCH_JOURNAL (see the top of this file)");
    return false;
}

fs::path WorkFolder() {
    const fs::path folder = fs::temp_directory_path() / ("vantrel-journal-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

// grep -c TEXT JOURNAL through popen, as a baseline of the same run.
void GrepCount(benchmark::State& state, const std::string& text) {
    if (!HaveJournal(state)) return;
    const std::string command = "grep -c '" + text + "' '" + Journal().string() + "'";
    long count = 0;
    for (auto _ : state) {
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe || std::fscanf(pipe, "%ld", &count) != 1) state.SkipWithError("grep failed");
        if (pipe) ::pclose(pipe);
    }
    state.counters["lines"] = static_cast<double>(count);
}

void BM_GrepCountCall(benchmark::State& state) { GrepCount(state, Call()); }
BENCHMARK(BM_GrepCountCall)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_SearchJournal(benchmark::State& state) {
    if (!HaveJournal(state)) return;
    std::size_t listed = 0;
    for (auto _ : state) {
        const JournalSearch search = SearchJournalFile(Journal(), JournalSearchText(Call()));
        if (search.status != JournalSearchStatus::Searched) state.SkipWithError("search failed");
        listed = search.matches->size();
    }
    state.SetBytesProcessed(state.iterations() * FileSize(Journal()));
    state.counters["listed"] = static_cast<double>(listed);
}
BENCHMARK(BM_SearchJournal)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_GrepCountOperator(benchmark::State& state) { GrepCount(state, Operator()); }
BENCHMARK(BM_GrepCountOperator)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_RecentExtract(benchmark::State& state) {
    if (!HaveJournal(state)) return;
    const fs::path folder = WorkFolder();
    std::size_t lines = 0;
    for (auto _ : state) {
        std::string error;
        if (!WriteRecentList(Journal(), Operator(), folder / kRecentListFile, &error, &lines))
            state.SkipWithError(error.c_str());
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["file_MB"] = static_cast<double>(FileSize(folder / kRecentListFile)) / 1e6;
    fs::remove_all(folder);
}
BENCHMARK(BM_RecentExtract)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// The extract's peak memory above what the process held before it, measured in a child process
// (its high-water mark reset first), beside the bytes of the lines it kept.
long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    return -1;
}
void BM_RecentExtractPeakMemory(benchmark::State& state) {
    if (!HaveJournal(state)) return;
    const fs::path folder = WorkFolder();
    long grown = 0;
    for (auto _ : state) {
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return state.SkipWithError("pipe failed");
        const pid_t child = ::fork();
        if (child == 0) {
            { std::ofstream("/proc/self/clear_refs") << "5"; }
            const long before = StatusKilobytes("VmRSS:");
            WriteRecentList(Journal(), Operator(), folder / kRecentListFile);
            const long peak = StatusKilobytes("VmHWM:") - before;
            [[maybe_unused]] const auto n = ::write(pipeEnds[1], &peak, sizeof peak);
            ::_exit(0);
        }
        ::close(pipeEnds[1]);
        if (::read(pipeEnds[0], &grown, sizeof grown) != sizeof grown) state.SkipWithError("child failed");
        ::close(pipeEnds[0]);
        ::waitpid(child, nullptr, 0);
    }
    const double kept = static_cast<double>(FileSize(folder / kRecentListFile));
    state.counters["peak_growth_MB"] = static_cast<double>(grown) / 1024;
    state.counters["lines_kept_MB"] = kept / 1e6;
    state.counters["beyond_lines_MB"] = static_cast<double>(grown) / 1024 - kept / (1 << 20);
    fs::remove_all(folder);
}
BENCHMARK(BM_RecentExtractPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// The one-second schedule's refresh of the search panel after WSJT-X appended 100 KB to the
// journal copy: the part holds a search of the whole journal less its last 100 KB; the tick
// finds the changed copy and reads what was appended. The copy lives in a folder of its own.
struct View : JournalView {
    std::string text;
    std::size_t rows = 0;
    void ShowPanel(bool) override {}
    std::string SearchText() const override { return text; }
    void ShowRows(std::shared_ptr<const JournalMatches> r, const JournalHighlight&) override { rows = r->size(); }
    void ShowCount(const std::string&) override {}
    void ScrollToRow(std::size_t) override {}
    void ShowEntryLineField(bool) override {}
    void SetEntryLine(const std::string&, const std::string&) override {}
    std::string EntryLineText() const override { return {}; }
    std::vector<JournalCell> SelectedCells() const override { return {}; }
    void ShowAllTxtCaptionBold(bool) override {}
    void ShowAuto(bool) override {}
    void ShowMessage(const std::string&, const std::string& message) override { std::fprintf(stderr, "%s\n", message.c_str()); }
};

void BM_AutoRefreshAfter100KB(benchmark::State& state, const std::string& text) {
    if (!HaveJournal(state)) return;
    const fs::path folder = WorkFolder();
    const fs::path copy = folder / "all.txt";
    // The journal less its last 100 KB of whole lines, copied in the kernel; the tail kept aside.
    const std::uint64_t size = static_cast<std::uint64_t>(FileSize(Journal()));
    std::string tail(120000, '\0');
    {
        std::ifstream in(Journal(), std::ios::binary);
        in.seekg(static_cast<std::streamoff>(size - tail.size()));
        in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    }
    tail = tail.substr(tail.find('\n', tail.size() - 102400) + 1);
    const std::uint64_t base = size - tail.size();
    std::error_code copied;
    fs::copy_file(Journal(), copy, fs::copy_options::overwrite_existing, copied);
    if (copied) return state.SkipWithError("cannot copy the journal");

    OptionsModel options;
    options.Update([](StoredOptions& o) { o.refreshAuto = true; });
    StationDetails station{Operator(), "EN37", "", ""};
    View view;
    view.text = text;
    std::size_t before = 0;
    std::optional<JournalPart> part;
    for (auto _ : state) {
        state.PauseTiming();
        part.reset();  // not timed: freeing the last list
        if (::truncate(copy.c_str(), static_cast<off_t>(base)) != 0) return state.SkipWithError("truncate failed");
        part.emplace(JournalPartServices{view, options, station, {}, {}, {}, {}, {}}, folder);
        part->SearchJournal();
        before = view.rows;
        if (!AppendFileDurable(copy, tail)) return state.SkipWithError("append failed");
        fs::last_write_time(copy, fs::last_write_time(copy) + std::chrono::seconds(1));
        state.ResumeTiming();
        part->Tick();
    }
    state.counters["appended_KB"] = static_cast<double>(tail.size()) / 1024;
    state.counters["rows_before"] = static_cast<double>(before);
    state.counters["rows_added"] = static_cast<double>(view.rows - before);
    fs::remove_all(folder);
}
BENCHMARK_CAPTURE(BM_AutoRefreshAfter100KB, call, Call())->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_AutoRefreshAfter100KB, operator, Operator())->Unit(benchmark::kMillisecond)->Iterations(3);

#ifdef VANTREL_BENCH_WIDGETS
// Filling the panel's table with 100,000 listed lines: the model takes the list and the view
// lays out and draws the rows in sight, scrolled to the newest.
void BM_FillTable100k(benchmark::State& state) {
    auto matches = std::make_shared<JournalMatches>();
    for (int i = 0; i < 100000; ++i) {
        char line[96];
        std::snprintf(line, sizeof line, "2104%02d_%06d    14.074 Rx FT8    -10  0.1 %4d W9XYZ K1ABC -%02d", 10 + i / 20000,
                      i % 20000 * 3, 200 + i % 2800, i % 30);
        matches->AddLine(line);
    }
    JournalTableView table;
    table.resize(640, 400);
    table.show();
    const JournalHighlight highlight{Operator(), Rgb{0, 0, 255}, Rgb{0, 128, 0}};
    for (auto _ : state) {
        state.PauseTiming();
        table.Model()->SetRows(std::make_shared<JournalMatches>(), highlight);
        QApplication::processEvents();
        state.ResumeTiming();
        table.Model()->SetRows(matches, highlight);
        table.ScrollRowToTop(100000 - 10);
        benchmark::DoNotOptimize(table.viewport()->grab());
    }
    state.counters["rows"] = table.model()->rowCount();
}
BENCHMARK(BM_FillTable100k)->Unit(benchmark::kMillisecond)->Iterations(20);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef VANTREL_BENCH_WIDGETS
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
