// The callsign search on a heavy local log beside a plain scan of the same bytes, and the
// country lookup against a full-size country table.
//
//   build/gen_station --out /tmp/vantrel-geo --contacts 300000 --journal-bytes 1000000 --cty-full
//   build/bench/geo_bench [/tmp/vantrel-geo/WSJT-X] [benchmark flags]
//
// The local log is built from the station's wsjtx.log with the program's own line maker; the
// country table from its cty.dat; the places list holds one line for every square of the world.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <iostream>

#include "base/file_io.h"
#include "geo/callsign_search.h"
#include "geo/country_file.h"
#include "geo/country_lookup.h"
#include "geo/locator.h"
#include "geo/place_finder.h"
#include "adif/adif_reader.h"
#include "log/extract_field.h"
#include "log/line_text.h"
#include "log/local_log_record.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

struct Data {
    LogLines log;
    LogLines table;
    CountryTable countries;
    LogLines places;
    std::unique_ptr<PlaceFinder> finder;
    SearchOptions options;
};

Data* data = nullptr;

bool Load(const fs::path& folder) {
    const auto wsjtx = ReadWholeFile(folder / "wsjtx.log");
    const auto cty = ReadWholeFile(folder / "cty.dat");
    if (!wsjtx || !cty) return false;
    data = new Data;
    const StationDetails station{"W9XYZ", "EN37", "IC-7300", "Dipole"};
    const LogLines wsjtxLines = LogLines::FromBytes(*wsjtx);
    data->log.reserve(wsjtxLines.size(), wsjtx->size() * 3 / 2);
    for (std::string_view line : wsjtxLines) data->log.push_back(LocalLineFromWsjtx(line, station));
    data->table = SortedCountryLines(ParseCountryFile(*cty));
    data->countries = CountryTable(data->table);
    std::vector<std::string> places;
    for (char a = 'A'; a <= 'R'; ++a)
        for (char b = 'A'; b <= 'R'; ++b)
            for (int c = 0; c < 100; ++c)
                places.push_back(std::string{a, b, static_cast<char>('0' + c / 10), static_cast<char>('0' + c % 10)} +
                                 ",Country " + a + b + ",Place " + std::to_string(c));
    data->places = LogLines(places);
    data->finder = std::make_unique<PlaceFinder>(data->places);
    data->options.bearingDistance = true;
    data->options.details = true;
    data->options.homeLocator = "EN37";
    std::cerr << data->log.size() << " contacts, " << data->log.Bytes().size() << " bytes; "
              << data->table.size() << " country lines; " << data->places.size() << " places\n";
    return true;
}

void PlainMemchrScan(benchmark::State& state) {
    const std::string_view bytes = data->log.Bytes();
    for (auto _ : state) {
        std::size_t lines = 0;
        for (const char* p = bytes.data(), *end = p + bytes.size();
             (p = static_cast<const char*>(std::memchr(p, '\n', end - p))) != nullptr; ++p)
            ++lines;
        benchmark::DoNotOptimize(lines);
    }
}

void PlainMemmemScan(benchmark::State& state, const char* text) {
    const std::string_view bytes = data->log.Bytes();
    const std::size_t len = std::strlen(text);
    for (auto _ : state) {
        std::size_t found = 0;
        for (const char* p = bytes.data(), *end = p + bytes.size();
             (p = static_cast<const char*>(memmem(p, end - p, text, len))) != nullptr; p += len)
            ++found;
        benchmark::DoNotOptimize(found);
    }
}

void Search(benchmark::State& state, const char* text, bool wild) {
    SearchOptions options = data->options;
    options.wild = wild;
    std::string lastCountry;
    std::size_t contacts = 0;
    for (auto _ : state) {
        const MatchList list = SearchLog(data->log, text, options, data->countries, data->finder.get(), lastCountry);
        // What a list view does to show it: every line's text and colour once.
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < list.size(); ++i) bytes += list.Text(i).size() + list.At(i).colour;
        benchmark::DoNotOptimize(bytes);
        contacts = list.contacts;
    }
    state.counters["matches"] = static_cast<double>(contacts);
}

void LookupIndexed(benchmark::State& state) {
    const char* calls[] = {"K1ABC", "VE3/K1ABC", "DL1XYZ/P", "JA1ABC", "ZZ9ZZZ", "3D2C", "PY2AAA/QRP", "VK2XX"};
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(data->countries.Lookup(calls[i++ % 8]));
}

void LookupByWalk(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(LookupCountryByWalk(data->table, "ZZ9ZZZ"));
}

// Every callsign of the real logs kept with the tests (one per contact), each looked up once per
// iteration in the country file WSJT-X 2.6.1 ships.
void LookupRealLogCalls(benchmark::State& state) {
    const fs::path testData = fs::path(VANTREL_SOURCE_DIR) / "tests/data";
    std::vector<std::string> calls;
    for (const auto& entry : fs::recursive_directory_iterator(testData)) {
        const auto bytes = ReadWholeFile(entry.path());
        if (!bytes) continue;
        if (entry.path().extension() == ".adi") {
            for (const AdifRecord& record : ReadAdifRecords(*bytes))
                if (!record.Value("call").empty()) calls.emplace_back(record.Value("call"));
        } else if (entry.path().extension() == ".log") {
            for (std::string_view line : LogLines::FromBytes(*bytes))
                if (const auto call = TrimBlanks(ExtractFieldView(line, ',', 5)); !call.empty()) calls.emplace_back(call);
        }
    }
    const auto cty = ReadWholeFile(testData / "cty/cty-wsjtx-2.6.1.dat");
    if (!cty || calls.empty()) {
        state.SkipWithError("no tests/data in the source tree");
        return;
    }
    const CountryTable countries(SortedCountryLines(ParseCountryFile(*cty)));
    for (auto _ : state)
        for (const std::string& call : calls) benchmark::DoNotOptimize(countries.Lookup(call));
    state.counters["calls"] = static_cast<double>(calls.size());
    state.counters["per_call"] = benchmark::Counter(static_cast<double>(calls.size()),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path folder = "/tmp/vantrel-geo/WSJT-X";
    if (argc > 1 && argv[1][0] != '-') {
        folder = argv[1];
        --argc;
        ++argv;
    }
    if (!Load(folder)) {
        std::cerr << "no wsjtx.log and cty.dat in " << folder << " (see the comment at the top)\n";
        return 1;
    }
    benchmark::RegisterBenchmark("PlainScan/memchr_lines", PlainMemchrScan)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PlainScan/memmem_K1A", PlainMemmemScan, "K1A")->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SearchLog/prefix_K1A_BD_Details", Search, "K1A", false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SearchLog/prefix_DL1_BD_Details", Search, "DL1", false)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("SearchLog/wild_K_BD_Details", Search, "K", true)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LookupCountry/indexed", LookupIndexed)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupCountry/walk", LookupByWalk)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("LookupCountry/real_log_calls", LookupRealLogCalls)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
