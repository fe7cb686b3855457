// The work done on the window's thread when a downloaded country file arrives: the check, both
// installs, ctybasic.txt rebuilt and the new country table indexed for the lookups.
//
//   build/gen_station --out /tmp/vantrel-geo --contacts 1000 --journal-bytes 1000 --cty-full
//   build/bench/cty_install_bench [/tmp/vantrel-geo/WSJT-X] [benchmark flags]
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>

#include "base/file_io.h"
#include "geo/country_file_update.h"
#include "geo/country_lookup.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

fs::path source = "/tmp/vantrel-geo/WSJT-X/cty.dat";

void BM_InstallDownloadedCountryFile(benchmark::State& state) {
    const fs::path work = fs::temp_directory_path() / "vantrel-cty-install-bench";
    fs::create_directories(work / "viewer");
    fs::create_directories(work / "WSJT-X");
    fs::copy_file(source, work / "viewer" / kNewCountryFile, fs::copy_options::overwrite_existing);
    // The generated file names fewer entities than a real one (110 of about 340).
    const CountryFileRules rules{1000, 100};
    for (auto _ : state) {
        CountryFileInstall done = InstallCountryFile(work / "viewer" / kNewCountryFile,
                                                     work / "viewer", work / "WSJT-X", rules);
        if (!done.installed || !done.table) {
            state.SkipWithError(done.problem.c_str());
            break;
        }
        CountryTable table(std::move(*done.table));
        benchmark::DoNotOptimize(table.size());
    }
    state.counters["bytes"] = static_cast<double>(FileSize(source));
    fs::remove_all(work);
}
BENCHMARK(BM_InstallDownloadedCountryFile)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (argc > 1) source = fs::path(argv[1]) / "cty.dat";
    if (FileSize(source) <= 0) {
        std::cerr << "no cty.dat at " << source << " (see the command at the top of this file)\n";
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
