// The stations heard against a heavy local log: the worked-before index over 300,000 contacts,
// one decode to its row with status, a burst of 50 decodes at the end of a period, and the rows
// brought up to date after a contact is logged. Beside them: the plain cut of the callsign field
// of every line, and the identity set that tells a contact already logged.
//
//   build-release/bench/heard_bench [WSJTX_FOLDER [CTY_FILE]] [benchmark flags]
//
// WSJTX_FOLDER holds the heavy station's wsjtx.log (default /tmp/vantrel-heavy-ro/WSJT-X); the
// country table comes from the full cty.dat kept with the tests unless CTY_FILE names another.
#include <memory>
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <iostream>

#include "base/file_io.h"
#include "geo/country_file.h"
#include "log/contact_identity.h"
#include "log/extract_field.h"
#include "log/local_log_record.h"
#include "wsjtx/heard_list.h"
#include "wsjtx/worked_before.h"
#include "wsjtx/wsjtx_message.h"
#include "station_arguments.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

struct Data {
    LogLines log;
    std::shared_ptr<const CountryTable> countries;
    std::unique_ptr<WorkedIndex> index;
    std::vector<std::string> decodes;  // Decode datagrams: CQ calls of logged and new stations
};

Data* data = nullptr;

bool Load(const fs::path& folder, const fs::path& cty) {
    auto log = LoadStationLog(folder);
    const auto table = ReadWholeFile(cty);
    if (!log || !table) return false;
    data = new Data;
    data->log = std::move(*log);
    data->countries = std::make_shared<const CountryTable>(SortedCountryLines(ParseCountryFile(*table)));
    data->index = std::make_unique<WorkedIndex>(data->countries);
    data->index->CatchUp(data->log);
    // Every other decode names a station of the log, the others stations never worked.
    for (std::size_t i = 0; i < 1000; ++i) {
        const std::string call =
            i % 2 ? std::string(ExtractFieldView(data->log[i * 277 % data->log.size()], ',', 5))
                  : "QZ" + std::to_string(i) + "XY";
        data->decodes.push_back(DecodeDatagram(0, "CQ " + call + " FN42"));
    }
    return true;
}

wsjtx::Status TwentyMetresFt8() {
    wsjtx::Status status;
    status.dialFrequencyHz = 14074000;
    status.mode = "FT8";
    status.deCall = "W9XYZ";
    status.deGrid = "EN37";
    return status;
}

// The decode datagram `i` set in the period `periodMs`.
std::string InPeriod(std::size_t i, std::uint32_t periodMs) {
    std::string bytes = data->decodes[i % data->decodes.size()];
    for (int k = 0; k < 4; ++k) bytes[23 + k] = static_cast<char>(periodMs >> (8 * (3 - k)));
    return bytes;
}

void BM_BaselineCallsignFieldScan(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (std::string_view line : data->log) bytes += ExtractFieldView(line, ',', 5).size();
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_BuildWorkedIndex(benchmark::State& state) {
    for (auto _ : state) {
        WorkedIndex index(data->countries);
        index.CatchUp(data->log);
        benchmark::DoNotOptimize(index.Contacts());
    }
}

void BM_DecodeToRowWithStatus(benchmark::State& state) {
    HeardList heard(data->countries, data->index.get());
    heard.OnStatus(TwentyMetresFt8());
    std::uint32_t period = 0;
    std::size_t i = 0;
    for (auto _ : state) {
        if (i % 50 == 0) period = (period + 15000) % 86400000;
        const wsjtx::Datagram datagram = wsjtx::ReadDatagram(InPeriod(i++, period));
        benchmark::DoNotOptimize(heard.OnDecode(std::get<wsjtx::Decode>(datagram.message)));
    }
}

void BM_BurstOf50Decodes(benchmark::State& state) {
    std::vector<std::string> burst;
    std::uint32_t period = 0;
    for (auto _ : state) {
        state.PauseTiming();
        HeardList heard(data->countries, data->index.get());
        heard.OnStatus(TwentyMetresFt8());
        burst.clear();
        period = (period + 15000) % 86400000;
        for (std::size_t i = 0; i < 50; ++i) burst.push_back(InPeriod(period / 15000 * 50 + i, period));
        state.ResumeTiming();
        for (const std::string& bytes : burst) {
            const wsjtx::Datagram datagram = wsjtx::ReadDatagram(bytes);
            heard.OnDecode(std::get<wsjtx::Decode>(datagram.message));
        }
        benchmark::DoNotOptimize(heard.Rows().size());
    }
}

// A contact logged while 100 stations are listed: the index reads the new line, every row's
// status is looked at again.
void BM_ContactLoggedRowsRefreshed(benchmark::State& state) {
    LogLines log = data->log;
    WorkedIndex index(data->countries);
    index.CatchUp(log);
    HeardList heard(data->countries, &index);
    heard.OnStatus(TwentyMetresFt8());
    for (std::size_t i = 0; i < 100; ++i)
        heard.OnDecode(std::get<wsjtx::Decode>(wsjtx::ReadDatagram(InPeriod(i, 15000)).message));
    std::size_t n = 0;
    for (auto _ : state) {
        log.push_back("2026-12-08,12:00:00,2026-12-08,12:01:00,QZ" + std::to_string(n++ % 1000) +
                      "XY,FN42,14.075500,FT8,-10,-12,100,,,W9XYZ,EN37,IC-7300,Dipole,");
        index.CatchUp(log);
        benchmark::DoNotOptimize(heard.Refresh());
    }
}

void BM_BuildIdentitySet(benchmark::State& state) {
    for (auto _ : state) {
        ContactIndex set(data->log);
        benchmark::DoNotOptimize(set.size());
    }
}

void BM_ReceivedContactAlreadyLogged(benchmark::State& state) {
    ContactIndex set(data->log);
    std::size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(set.Contains(data->log[(i++ * 7919) % data->log.size()]));
}

}  // namespace

BENCHMARK(BM_BaselineCallsignFieldScan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildWorkedIndex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeToRowWithStatus)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BurstOf50Decodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContactLoggedRowsRefreshed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildIdentitySet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceivedContactAlreadyLogged)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    const auto [folder, cty] = TakeStationArguments(argc, argv);
    if (!Load(folder, cty)) {
        std::cerr << "heard_bench: cannot read " << folder / "wsjtx.log" << " or " << cty << "\n";
        return 1;
    }
    std::cerr << "heard_bench: " << data->log.size() << " contacts, " << data->countries->size()
              << " country table lines\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
