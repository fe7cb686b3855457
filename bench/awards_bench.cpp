// The award tables of a heavy station: the model built over 300,000 contacts (with and without
// confirmations), the tables read from it, one appended contact, and a LoTW report of 100,000
// confirmations read and merged into an empty confirmations file.
//
//   build-release/bench/awards_bench [WSJTX_FOLDER [CTY_FILE]] [benchmark flags]
//
// WSJTX_FOLDER holds the heavy station's wsjtx.log (default /tmp/vantrel-heavy-ro/WSJT-X); the
// country table comes from the full cty.dat kept with the tests unless CTY_FILE names another.
// The report is made from the log: every third contact confirmed, written as LoTW writes it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <unistd.h>

#include "awards/award_model.h"
#include "awards/confirmation_store.h"
#include "awards/confirmations.h"
#include "base/file_io.h"
#include "geo/country_file.h"
#include "log/band_table.h"
#include "log/extract_field.h"
#include "log/local_log_record.h"
#include "station_arguments.h"

namespace fs = std::filesystem;
using namespace vantrel;

namespace {

struct Data {
    LogLines log;
    std::shared_ptr<const CountryTable> countries;
    std::shared_ptr<const CountryEntities> entities;
    std::string report;  // 100,000 confirmations in LoTW's form
    std::shared_ptr<const ConfirmationIndex> confirmations;
    fs::path scratch;
};

Data* data = nullptr;

std::string Field(std::string_view name, std::string_view value, std::string_view comment = {}) {
    std::string f = "<" + std::string(name) + ":" + std::to_string(value.size()) + ">" + std::string(value);
    if (!comment.empty()) f += " // " + std::string(comment);
    return f + "\n";
}

std::string MakeReport(const LogLines& log, std::size_t records) {
    std::string body;
    std::size_t made = 0;
    for (std::size_t i = 0; i < log.size() && made < records; i += 3) {
        std::string_view f[8];
        CutFirstFields(log[i], ',', f, 8);
        std::string date(f[0]), time(f[1]);
        std::erase(date, '-');
        std::erase(time, ':');
        body += "\n" + Field("APP_LoTW_OWNCALL", "W9XYZ") + Field("CALL", f[4]) +
                Field("BAND", BandFromFrequency(f[6])) + Field("FREQ", f[6]) + Field("MODE", f[7]) +
                Field("QSO_DATE", date) + Field("TIME_ON", time) + Field("QSL_RCVD", "Y") +
                Field("QSLRDATE", "20230101") +
                Field("APP_LoTW_RXQSL", "2023-01-01 12:00:00", "QSL record matched/modified at LoTW") +
                Field("GRIDSQUARE", f[5]) + "<eor>\n";
        ++made;
    }
    return "ARRL Logbook of the World Status Report\n<PROGRAMID:4>LoTW\n" +
           Field("APP_LoTW_LASTQSL", "2023-01-01 12:00:00") + Field("APP_LoTW_NUMREC", std::to_string(made)) +
           "<eoh>\n" + body + "\n<APP_LoTW_EOF>\n";
}

bool Load(const fs::path& folder, const fs::path& cty) {
    auto log = LoadStationLog(folder);
    const auto table = ReadWholeFile(cty);
    if (!log || !table) return false;
    data = new Data;
    data->log = std::move(*log);
    data->countries = std::make_shared<const CountryTable>(SortedCountryLines(ParseCountryFile(*table)));
    data->entities = std::make_shared<const CountryEntities>(CountryEntities::FromCountryFile(*table));
    data->report = MakeReport(data->log, 100000);
    auto index = std::make_shared<ConfirmationIndex>();
    for (Confirmation& c : ParseLotwReport(data->report).confirmations) index->Add(std::move(c));
    data->confirmations = index;
    data->scratch = fs::temp_directory_path() / ("awards_bench." + std::to_string(getpid()));
    fs::create_directories(data->scratch);
    return true;
}

void BM_BuildAwardModel(benchmark::State& state) {
    for (auto _ : state) {
        AwardModel model(data->countries, data->entities);
        model.CatchUp(data->log);
        benchmark::DoNotOptimize(model.Contacts());
    }
}

void BM_BuildAwardModelWithConfirmations(benchmark::State& state) {
    for (auto _ : state) {
        AwardModel model(data->countries, data->entities);
        model.CatchUp(data->log, data->confirmations.get());
        benchmark::DoNotOptimize(model.Contacts());
    }
}

void BM_AllFourTables(benchmark::State& state) {
    AwardModel model(data->countries, data->entities);
    model.CatchUp(data->log, data->confirmations.get());
    for (auto _ : state)
        for (const Award award : {Award::Dxcc, Award::Waz, Award::Wac, Award::Grids})
            benchmark::DoNotOptimize(model.Table(award).totals.worked);
}

void BM_ContactAppended(benchmark::State& state) {
    AwardModel model(data->countries, data->entities);
    LogLines log = data->log;
    model.CatchUp(log, data->confirmations.get());
    std::size_t i = 0;
    for (auto _ : state) {
        log.push_back(data->log[(i++ * 7919) % data->log.size()]);
        model.CatchUp(log, data->confirmations.get());
    }
    benchmark::DoNotOptimize(model.Contacts());
}

void BM_Reconfirm(benchmark::State& state) {
    AwardModel model(data->countries, data->entities);
    model.CatchUp(data->log);
    for (auto _ : state) model.Reconfirm(data->log, data->confirmations.get());
}

void BM_ParseLotwReport100k(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ParseLotwReport(data->report).confirmations.size());
}

void BM_MergeLotwReport100kIntoEmptyStore(benchmark::State& state) {
    std::size_t added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(data->scratch / kConfirmationsFileName);
        state.ResumeTiming();
        ConfirmationStore store(data->scratch);
        store.Load();
        const LotwReport report = ParseLotwReport(data->report);
        added = store.Merge(report.confirmations).added;
    }
    state.counters["added"] = static_cast<double>(added);
}

void BM_MergeLotwReport100kAgain(benchmark::State& state) {
    fs::remove(data->scratch / kConfirmationsFileName);
    {
        ConfirmationStore first(data->scratch);
        first.Merge(ParseLotwReport(data->report).confirmations);
    }
    for (auto _ : state) {
        ConfirmationStore store(data->scratch);
        store.Load();
        benchmark::DoNotOptimize(store.Merge(ParseLotwReport(data->report).confirmations).added);
    }
}

}  // namespace

BENCHMARK(BM_BuildAwardModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildAwardModelWithConfirmations)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AllFourTables)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContactAppended)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Reconfirm)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseLotwReport100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeLotwReport100kIntoEmptyStore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MergeLotwReport100kAgain)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    const auto [folder, cty] = TakeStationArguments(argc, argv);
    if (!Load(folder, cty)) {
        std::cerr << "awards_bench: cannot read " << folder / "wsjtx.log" << " or " << cty << "\n";
        return 1;
    }
    std::cerr << "awards_bench: " << data->log.size() << " contacts, " << data->confirmations->size()
              << " confirmations held, report of " << data->report.size() / 1000000 << " MB\n";
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    fs::remove_all(data->scratch);
    return 0;
}
