// The map window on real sizes: decoding the largest map, "Log" over a heavy station's
// callsign list, and the one label that follows a search.
//
//   build-release/bench/map_bench [CALLS_TXT] [benchmark flags]
//
// CALLS_TXT defaults to /tmp/vantrel-map-bench/calls.txt; when missing it is made from the heavy
// station's wsjtx.log (/tmp/vantrel-heavy-ro/WSJT-X, or VANTREL_HEAVY_WSJTX) the way the program
// makes calls.txt from the local log. The window runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "log/callsign_list.h"
#include "log/local_log_record.h"
#include "app/gui/map_window.h"
#include "map/map_part.h"
#include "map/png_loader.h"
#include "settings/settings_store.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

const fs::path kShippedMaps = fs::path(VANTREL_SOURCE_DIR) / "data/maps";
fs::path callsFile = "/tmp/vantrel-map-bench/calls.txt";

class NoStore : public SettingsStore {
public:
    std::optional<std::string> Read(std::string_view, std::string_view) override { return std::nullopt; }
    bool Write(std::string_view, std::string_view, std::string_view) override { return true; }
    bool DeleteValue(std::string_view, std::string_view) override { return true; }
};

void MakeCallsFile() {
    if (fs::exists(callsFile)) return;
    const char* heavy = std::getenv("VANTREL_HEAVY_WSJTX");
    const fs::path wsjtx = fs::path(heavy ? heavy : "/tmp/vantrel-heavy-ro/WSJT-X") / "wsjtx.log";
    const auto log = LoadLogLines(wsjtx);
    if (!log) {
        std::fprintf(stderr, "no %s to make calls.txt from\n", wsjtx.c_str());
        std::exit(1);
    }
    LogLines local;
    const StationDetails details{"W9XYZ", "EN37", "IC-7300", "Vertical"};
    for (const std::string_view line : *log) local.push_back(LocalLineFromWsjtx(line, details));
    CallsignList list;
    create_callsignlist(list, local);
    fs::create_directories(callsFile.parent_path());
    std::string error;
    if (!SaveCallsignList(callsFile, list, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
}

// A shown map window over a viewer folder holding calls.txt.
struct ShownMap {
    ShownMap() : part(store, callsFile.parent_path(), kShippedMaps, window) {
        window.Attach(part);
        part.Create();
        part.SetShown(true);
        QApplication::processEvents();
        part.Activated();
        QApplication::processEvents();
    }
    NoStore store;
    MapWindow window;
    MapPart part;
};

void BM_DecodeLargestMap(benchmark::State& state) {
    for (auto _ : state) {
        Picture picture;
        std::string error;
        if (!LoadPngBitmap(kShippedMaps / "world1723x1307.png", picture, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(picture.bgr.data());
    }
}
BENCHMARK(BM_DecodeLargestMap)->Unit(benchmark::kMillisecond);

// Decoded and made the window's picture (no labels), as a reload does.
void BM_DecodeIntoWindowImage(benchmark::State& state) {
    ShownMap map;
    for (auto _ : state) {
        auto picture = std::make_shared<Picture>();
        std::string error;
        LoadPngBitmap(kShippedMaps / "world1723x1307.png", *picture, &error);
        map.window.ShowPicture(picture, {}, {});
        benchmark::DoNotOptimize(map.window.RenderedPicture().constBits());
    }
}
BENCHMARK(BM_DecodeIntoWindowImage)->Unit(benchmark::kMillisecond);

// "Log": reload, read calls.txt, one label per entry with a grid, the window repainted.
void BM_LogOnHeavyCallsList(benchmark::State& state) {
    ShownMap map;
    int repaints = 0;
    for (auto _ : state) {
        const int before = map.window.RepaintRequests();
        map.part.Log();
        QApplication::processEvents();
        repaints = map.window.RepaintRequests() - before;
    }
    state.counters["labels"] = static_cast<double>(map.part.Labels().size());
    state.counters["repaints"] = repaints;
}
BENCHMARK(BM_LogOnHeavyCallsList)->Unit(benchmark::kMillisecond)->Iterations(5);

// The station of a search: callsign and grid set, the label drawn, the map log appended and
// the window repainted.
void BM_OneLabelAfterSearch(benchmark::State& state) {
    ShownMap map;
    int i = 0;
    for (auto _ : state) {
        const std::string grid = {static_cast<char>('A' + i % 18), static_cast<char>('A' + i / 18 % 18),
                                  static_cast<char>('0' + i % 10), static_cast<char>('0' + i / 10 % 10)};
        std::string call = "K";
        call += std::to_string(i);
        call += "ABC";
        map.part.ShowStation(call, grid);
        QApplication::processEvents();
        ++i;
    }
}
BENCHMARK(BM_OneLabelAfterSearch)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (argc > 1 && argv[1][0] != '-') callsFile = argv[1];
    MakeCallsFile();
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
