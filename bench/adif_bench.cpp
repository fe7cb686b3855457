// ADIF export of a heavy station's log, reading of received datagrams and import of a large file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "adif/adif_contact.h"
#include "adif/adif_export.h"
#include "adif/adif_import.h"
#include "base/file_io.h"

namespace {

using namespace vantrel;

const LogLines& HeavyLog() {
    static const LogLines lines = [] {
        const char* const modes[] = {"FT8", "FT4", "Q65", "JT65"};
        const char* const freqs[] = {"14.075500", "7.075500", "28.075600", "50.314000", "144.174753", "3.574000"};
        LogLines built;
        built.reserve(300000, 300000 * 110);
        char line[256];
        for (int i = 0; i < 300000; ++i) {
            std::snprintf(line, sizeof line,
                          "20%02d-%02d-%02d,%02d:%02d:%02d,20%02d-%02d-%02d,%02d:%02d:%02d,QZ%dAB%c,FN%02d,%s,%s,-%02d,-%02d,"
                          "100,,,QQ0XYZ,JO62QM,IC-7300,Vertical [7,14,21],",
                          20 + i % 7, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60, 20 + i % 7, 1 + i % 12,
                          1 + i % 28, i % 24, (i + 1) % 60, i % 60, i % 10, 'A' + i % 26, i % 100, freqs[i % 6],
                          modes[i % 4], i % 30, (i + 7) % 30);
            built.push_back(line);
        }
        return built;
    }();
    return lines;
}

void BM_AdifExport300k(benchmark::State& state) {
    const LogLines& lines = HeavyLog();
    for (auto _ : state) {
        AdifExport exported = BuildAdifExport(lines, 0, "QQ0XYZ", "JO62QM", [](int) {});
        benchmark::DoNotOptimize(exported.adif.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_AdifExport300k)->Unit(benchmark::kMillisecond);

// The whole export as the menu runs it: both files written as the records are made, durably.
void BM_AdifExport300kToFiles(benchmark::State& state) {
    const LogLines& lines = HeavyLog();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "vantrel-adif-bench";
    std::filesystem::create_directories(folder);
    for (auto _ : state) {
        const AdifExportRun run = ExportLocalLogAsAdif(folder, lines, true, 0, "QQ0XYZ", "JO62QM",
                                                       std::chrono::system_clock::now());
        if (!run.ok) state.SkipWithError("write failed");
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_AdifExport300kToFiles)->Unit(benchmark::kMillisecond);

void BM_DatagramToLine(benchmark::State& state) {
    const std::string datagram =
        "<call:5>K1ABC <gridsquare:4>FN42 <mode:3>FT8 <rst_sent:3>-15 <rst_rcvd:3>-12 <qso_date:8>20261208 "
        "<time_on:6>141919 <qso_date_off:8>20261208 <time_off:6>141919 <band:3>20m <freq:9>14.075500 "
        "<station_callsign:5>W9XYZ <my_gridsquare:4>EN37 <tx_pwr:3>100 <comment:10>a,b,c caf\xE9 "
        "<name:9>Jo, Smith <eor>";
    const StationDetails station{"W9XYZ", "EN37", "IC-7300", "Vertical [7,14,21]"};
    for (auto _ : state) benchmark::DoNotOptimize(AdifRecordToLine(datagram, station));
}
BENCHMARK(BM_DatagramToLine);

// The ADIF conformance test file (6,191 records, one field per line) kept with the tests.
void BM_ImportConformanceFile(benchmark::State& state) {
    const std::filesystem::path data = std::filesystem::path(__FILE__).parent_path().parent_path() / "tests" / "data";
    const std::filesystem::path file = data / "adif" / "ADIF_316_test_QSOs_2025_08_27.adi";
    const std::optional<std::string> bytes = ReadWholeFile(file);
    if (!bytes) {
        state.SkipWithError("the shared test data is not beside the checkout");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(AdifImport(*bytes).lines.size());
}
BENCHMARK(BM_ImportConformanceFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
