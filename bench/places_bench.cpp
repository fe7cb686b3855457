// The places lookup on the shipped places files (data/places, or the folder named by
// VANTREL_BENCH_PLACES): loading the places list at start-up, the grid lookup in the world's
// slowest square of a 140,000-entry places list, and the places search over allplaces.txt.
//
//   build-release/bench/places_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "base/file_io.h"
#include "log/log_lines.h"
#include "refdata/grid_lookup.h"
#include "refdata/places_files.h"
#include "refdata/places_list.h"
#include "refdata/places_search.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

fs::path Shipped() {
    const char* path = std::getenv("VANTREL_BENCH_PLACES");
    return path ? fs::path(path) : fs::path(VANTREL_SOURCE_DIR) / "data" / "places";
}

bool HavePlaces(benchmark::State& state) {
    if (fs::is_regular_file(Shipped() / kWorldCitiesCsv)) return true;
    state.SkipWithError("no places files: set VANTREL_BENCH_PLACES to the data/places folder");
    return false;
}

// A viewer folder whose worldcities.txt was made from the shipped worldcities.csv.
const fs::path& ViewerWithWorldCities() {
    static const fs::path folder = [] {
        const fs::path viewer = fs::temp_directory_path() / "vantrel-places-bench";
        fs::create_directories(viewer);
        fs::remove(viewer / kWorldCitiesText);
        LoadPlacesList({viewer, Shipped()});
        return viewer;
    }();
    return folder;
}

// The shipped list filled up to 140,000 entries with places spread over the inhabited
// latitudes.
const PlacesList& List140k() {
    static const PlacesList list = [] {
        LogLines lines = *LoadLogLines(ViewerWithWorldCities() / kWorldCitiesText);
        std::mt19937 random(7);
        std::uniform_real_distribution<double> lat(-45, 65), lon(-180, 180);
        for (int i = 0; lines.size() < 140000; ++i)
            lines.push_back(std::to_string(lat(random)) + "," + std::to_string(lon(random)) +
                            ",Filler,Place " + std::to_string(i));
        return PlacesList(std::move(lines));
    }();
    return list;
}

// Every square timed once; the slowest is the one benchmarked.
const std::string& SlowestSquare() {
    static const std::string square = [] {
        std::string slowest;
        auto worst = std::chrono::nanoseconds::zero();
        for (char a = 'A'; a <= 'R'; ++a)
            for (char b = 'A'; b <= 'R'; ++b)
                for (char c = '0'; c <= '9'; ++c)
                    for (char d = '0'; d <= '9'; ++d) {
                        const std::string locator{a, b, c, d};
                        auto took = std::chrono::nanoseconds::max();
                        for (int run = 0; run < 5; ++run) {  // the quickest of 5, to see past noise
                            const auto start = std::chrono::steady_clock::now();
                            benchmark::DoNotOptimize(LookupGrid(locator, "JO62", nullptr, List140k()));
                            took = std::min(took, std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                      std::chrono::steady_clock::now() - start));
                        }
                        if (took > worst) worst = took, slowest = locator;
                    }
        return slowest;
    }();
    return square;
}

void BM_LoadPlacesList(benchmark::State& state) {
    if (!HavePlaces(state)) return;
    const PlacesFolders folders{ViewerWithWorldCities(), Shipped()};
    for (auto _ : state) benchmark::DoNotOptimize(LoadPlacesList(folders));
    state.counters["entries"] = static_cast<double>(LoadPlacesList(folders).list.size());
}
BENCHMARK(BM_LoadPlacesList)->Unit(benchmark::kMillisecond);

void BM_ConvertWorldCitiesAtFirstStart(benchmark::State& state) {
    if (!HavePlaces(state)) return;
    const fs::path viewer = fs::temp_directory_path() / "vantrel-places-bench-first";
    fs::create_directories(viewer);
    for (auto _ : state) {
        fs::remove(viewer / kWorldCitiesText);
        benchmark::DoNotOptimize(LoadPlacesList({viewer, Shipped()}));
    }
    fs::remove_all(viewer);
}
BENCHMARK(BM_ConvertWorldCitiesAtFirstStart)->Unit(benchmark::kMillisecond);

void BM_LookupGridSlowestSquare(benchmark::State& state) {
    if (!HavePlaces(state)) return;
    const std::string& square = SlowestSquare();
    for (auto _ : state) benchmark::DoNotOptimize(LookupGrid(square, "JO62", nullptr, List140k()));
    state.SetLabel(square + ", " + std::to_string(List140k().size()) + " entries, " +
                   std::to_string(FindPlacesNearby(List140k(), square).scans) + " scans");
}
BENCHMARK(BM_LookupGridSlowestSquare)->Unit(benchmark::kMicrosecond);

void BM_LookupGridEverySquare(benchmark::State& state) {
    if (!HavePlaces(state)) return;
    for (auto _ : state)
        for (char a = 'A'; a <= 'R'; ++a)
            for (char b = 'A'; b <= 'R'; ++b)
                for (char c = '0'; c <= '9'; ++c)
                    for (char d = '0'; d <= '9'; ++d)
                        benchmark::DoNotOptimize(LookupGrid(std::string{a, b, c, d}, "JO62", nullptr, List140k()));
}
BENCHMARK(BM_LookupGridEverySquare)->Unit(benchmark::kMillisecond);

// The grid lookup as the program runs it with the shipped SomePlaces.txt: the file read and
// the square's lines taken.
void BM_LookupGridSomePlaces(benchmark::State& state) {
    if (!HavePlaces(state)) return;
    const PlacesList none;
    for (auto _ : state) {
        const auto lines = LoadLogLines(Shipped() / kSomePlacesFile);
        benchmark::DoNotOptimize(LookupGrid("JO62", "JO65", &*lines, none));
    }
}
BENCHMARK(BM_LookupGridSomePlaces)->Unit(benchmark::kMillisecond);

// The places search over allplaces.txt, held as the places part holds it after its first
// search: prefixes, matches found, sorted and shaped for the list.
void SearchAllPlaces(benchmark::State& state, const char* text) {
    if (!HavePlaces(state)) return;
    const LogLines table{"EA,Spain,EU {40.32^3.43}", "SM,Sweden,EU {61.20^-14.57}", "K,United States,NA {37.53^91.67}"};
    const PlacesText places(*ReadWholeFile(Shipped() / kAllPlacesFile));
    std::size_t matches = 0;
    for (auto _ : state) {
        const auto result = SearchPlaces(text, &places, table);
        matches = result->matches;
        benchmark::DoNotOptimize(result);
    }
    state.counters["matches"] = static_cast<double>(matches);
}

// The first search: the file read and folded as well.
void BM_SearchPlacesFirstSearch(benchmark::State& state) {
    if (!HavePlaces(state)) return;
    const LogLines table;
    for (auto _ : state) {
        const PlacesText places(*ReadWholeFile(Shipped() / kAllPlacesFile));
        benchmark::DoNotOptimize(SearchPlaces("san", &places, table));
    }
}
BENCHMARK(BM_SearchPlacesFirstSearch)->Unit(benchmark::kMillisecond);
void BM_SearchPlacesBerlin(benchmark::State& state) { SearchAllPlaces(state, "Berlin"); }
void BM_SearchPlacesSan(benchmark::State& state) { SearchAllPlaces(state, "san"); }
void BM_SearchPlacesA(benchmark::State& state) { SearchAllPlaces(state, "a"); }
BENCHMARK(BM_SearchPlacesBerlin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchPlacesSan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchPlacesA)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
