// Answering WSJT-X against a heavy local log: a Decode datagram to the HighlightCallsign bytes
// that colour its call (the datagram read, the sender found, the status from the worked-before
// index of 300,000 contacts, the highlight kept, the request encoded), one at a time and as the
// burst of 50 decodes at the end of an FT8 period.
//
//   build-release/bench/answer_bench [WSJTX_FOLDER [CTY_FILE]] [benchmark flags]
//
// WSJTX_FOLDER holds the heavy station's wsjtx.log (default /tmp/vantrel-heavy-ro/WSJT-X); the
// country table comes from the full cty.dat kept with the tests unless CTY_FILE names another.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <memory>

#include "base/file_io.h"
#include "geo/country_file.h"
#include "log/extract_field.h"
#include "log/local_log_record.h"
#include "settings/answer_options.h"
#include "wsjtx/decoded_station.h"
#include "wsjtx/highlight_tracker.h"
#include "wsjtx/worked_before.h"
#include "wsjtx/wsjtx_commands.h"
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
const HighlightPalette kColours = DefaultHighlightPalette();

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
        const std::string call = i % 2 ? std::string(ExtractFieldView(data->log[i * 277 % data->log.size()], ',', 5))
                                       : "QZ" + std::to_string(i) + "XY";
        data->decodes.push_back(DecodeDatagram(43200000, "CQ " + call + " FN" + std::to_string(10 + i % 90)));
    }
    return true;
}

// What the answer part does with one decode, up to the bytes handed to the socket.
std::size_t DecodeToHighlight(const std::string& bytes, wsjtx::HighlightTracker& tracker, std::int64_t nowMs) {
    const wsjtx::Datagram datagram = wsjtx::ReadDatagram(bytes);
    const auto& decode = std::get<wsjtx::Decode>(datagram.message);
    const auto station = SenderInMessage(*decode.message, "W9XYZ");
    if (!station) return 0;
    const wsjtx::HighlightSubject subject{station->call, station->grid, "20m", "FT8"};
    const auto status = wsjtx::HighlightStatusOf(*data->index, subject.call, subject.grid, subject.band, subject.mode);
    std::vector<wsjtx::HighlightCommand> commands;
    tracker.Decoded(subject, kColours[static_cast<std::size_t>(status)], nowMs, commands);
    std::size_t sent = 0;
    for (const auto& command : commands) {
        const std::string out = wsjtx::EncodeHighlightCallsign(
            3, "WSJT-X", command.call, command.colours ? std::optional(command.colours->background) : std::nullopt,
            command.colours ? std::optional(command.colours->foreground) : std::nullopt);
        sent += out.size();
    }
    return sent;
}

void BM_DecodeToHighlight(benchmark::State& state) {
    std::size_t i = 0;
    std::int64_t now = 0;
    for (auto _ : state) {
        // A fresh tracker for each decode: every call is coloured, none only looked at.
        wsjtx::HighlightTracker tracker;
        benchmark::DoNotOptimize(DecodeToHighlight(data->decodes[i++ % data->decodes.size()], tracker, now++));
    }
}

void BM_BurstOf50DecodesToHighlights(benchmark::State& state) {
    // A tracker that holds its 100 calls, as in a busy band: the burst adds and drops.
    wsjtx::HighlightTracker tracker;
    std::size_t i = 0;
    std::int64_t now = 0;
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (int k = 0; k < 50; ++k) bytes += DecodeToHighlight(data->decodes[i++ % data->decodes.size()], tracker, now);
        now += 15000;
        benchmark::DoNotOptimize(bytes);
    }
}

}  // namespace

BENCHMARK(BM_DecodeToHighlight)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BurstOf50DecodesToHighlights)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    const auto [folder, cty] = TakeStationArguments(argc, argv);
    if (!Load(folder, cty)) {
        std::cerr << "answer_bench: cannot read " << folder / "wsjtx.log" << " or " << cty << "\n";
        return 1;
    }
    std::cerr << "answer_bench: " << data->log.size() << " contacts, " << data->countries->size()
              << " country table lines\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
