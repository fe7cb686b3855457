#include "app/engine/awards_part.h"

#include <algorithm>
#include <atomic>

#include "awards/confirmations.h"
#include "log/band_table.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

constexpr const char* kBuilding = "Building the award tables\u2026";

// The log line's fields as a cell's list shows them.
AwardContactRow ContactRow(std::string_view line, int column, bool confirmed) {
    AwardContactRow row;
    row.date = ExtractField(line, ',', 1);
    row.time = ExtractField(line, ',', 2);
    row.call = ExtractField(line, ',', 5);
    row.grid = ExtractField(line, ',', 6);
    row.mode = ExtractField(line, ',', 8);
    row.band = column >= 0 ? std::string(AwardBandName(column)) : BandFromFrequency(ExtractField(line, ',', 7));
    row.confirmed = confirmed;
    return row;
}

std::string RowTitle(const AwardTable& table, int rowKey) {
    for (const AwardRow& row : table.rows)
        if (row.key == rowKey) return row.entity == row.code ? row.entity : row.entity + " (" + row.code + ")";
    return std::to_string(rowKey);
}

}  // namespace

// What a job hands back: a model built or matched again, and what it was made from.
struct AwardsPart::Made {
    std::unique_ptr<AwardModel> model;
    std::shared_ptr<const CountryEntities> entities;
    std::shared_ptr<const ConfirmationIndex> index;
    std::optional<ConfirmationStore> loaded;  // the confirmations file, when the job read it
};

AwardsPart::AwardsPart(AwardsPartServices services) : services_(std::move(services)) {
    // The part follows the log, the confirmations and the country table on its own.
    services_.confirmations.OnChanged([this] {
        if (services_.confirmations.Index() == index_) return;  // the one just counted
        reconfirm_ = true;
        if (model_ && !job_.Running()) Reconfirm();
    });
    services_.log.OnAppended([this] { LogAppended(); });
    services_.log.OnRewritten([this] {
        if (!started_) return;
        rebuild_ = true;
        if (!job_.Running()) Build();
    });
    services_.countries.Subscribe([this](const CountryTablePtr&) {
        if (!started_) return;
        entities_.reset();  // a new cty.dat: its zones and continents too
        rebuild_ = true;
        if (!job_.Running()) Build();
    });
}

AwardsPart::~AwardsPart() { job_.Cancel(); }

void AwardsPart::Start() {
    if (started_) return;
    started_ = true;
    Build();
}

void AwardsPart::Open() {
    open_ = true;
    Start();
    if (model_) Show();
    else services_.view.ShowAwardsProgress(kBuilding);
}

void AwardsPart::Build() {
    rebuild_ = false;
    reconfirm_ = false;
    if (!model_) services_.view.ShowAwardsProgress(kBuilding);
    const bool loaded = services_.confirmations.Loaded();
    job_.Start(
        [lines = services_.log.Snapshot(), table = services_.countries.Current(), entities = entities_,
         store = services_.confirmations.Copy(), loaded,
         folder = services_.viewerFolder](const std::atomic<bool>& cancelled, const auto&) mutable {
            auto built = std::make_shared<Made>();
            if (!entities) {
                std::optional<CountryEntities> read = CountryEntities::Load(folder / "cty.dat");
                entities = std::make_shared<const CountryEntities>(read ? std::move(*read) : CountryEntities());
            }
            built->entities = entities;
            // A confirmations file that cannot be read counts as none; the download says why.
            if (!loaded && store.Load()) built->loaded = store;
            built->index = store.Index();
            built->model = std::make_unique<AwardModel>(table, entities);
            built->model->CatchUp(*lines, built->index.get(), &cancelled);
            return built;
        },
        [](int) {}, [this](std::shared_ptr<Made> built) { Ended(std::move(built)); });
}

void AwardsPart::Reconfirm() {
    reconfirm_ = false;
    // A copy is matched again; the tables in use stay as they are until it comes back.
    job_.Start(
        [model = std::make_shared<AwardModel>(*model_), lines = services_.log.Snapshot(),
         index = services_.confirmations.Index(), entities = entities_](const std::atomic<bool>&, const auto&) {
            auto built = std::make_shared<Made>();
            built->model = std::make_unique<AwardModel>(std::move(*model));
            built->model->Reconfirm(*lines, index.get());
            built->index = index;
            built->entities = entities;
            return built;
        },
        [](int) {}, [this](std::shared_ptr<Made> built) { Ended(std::move(built)); });
}

void AwardsPart::Ended(std::shared_ptr<Made> built) {
    model_ = std::move(built->model);
    entities_ = built->entities;
    index_ = built->index;
    if (built->loaded) services_.confirmations.TakeLoaded(std::move(*built->loaded));
    if (rebuild_) {
        Build();
        return;
    }
    if (reconfirm_ || services_.confirmations.Index() != index_) {
        Reconfirm();
        return;
    }
    services_.view.ShowAwardsProgress("");
    // The contacts appended while the job ran.
    LogAppended();
}

void AwardsPart::LogAppended() {
    if (!model_ || job_.Running()) return;  // the job's end catches up
    model_->CatchUp(services_.log.Lines(), index_.get());
    if (open_) Show();
}

void AwardsPart::Select(Award award, ModeFilter filter, int bandColumn) {
    award_ = award;
    filter_ = filter;
    bandColumn_ = bandColumn;
    if (model_) Show();
}

void AwardsPart::Show() {
    table_ = model_->Table(award_, filter_, bandColumn_);
    services_.view.ShowAwardTable(table_);
}

void AwardsPart::CellClicked(int rowKey, int bandColumn) {
    if (!model_) return;
    const LogLines& lines = services_.log.Lines();
    const std::vector<AwardContact>& places = model_->ContactPlaces();
    std::vector<AwardContactRow> rows;
    for (const std::uint32_t index : model_->CellContacts(award_, filter_, rowKey, bandColumn)) {
        if (index >= lines.size()) continue;
        const auto place = std::lower_bound(places.begin(), places.end(), index,
                                            [](const AwardContact& c, std::uint32_t line) { return c.line < line; });
        const bool found = place != places.end() && place->line == index;
        rows.push_back(ContactRow(lines[index], found ? place->column : -1, found && place->confirmed));
    }
    std::string title = std::string(AwardTitle(award_)) + " " + RowTitle(table_, rowKey) + ", " +
                        (bandColumn >= 0 ? std::string(AwardBandName(bandColumn)) : std::string("every band")) + ", " +
                        (filter_ == ModeFilter::All ? std::string("all modes") : std::string(ModeFilterName(filter_)));
    services_.view.ShowAwardContacts(title, rows);
}

std::optional<bool> AwardsPart::Needed(const std::string& call, const std::string& band) const {
    if (!model_ || call.empty()) return std::nullopt;
    const int column = AwardColumnOfBandRow(BandRowOfName(band));
    if (column < 0) return std::nullopt;
    int dxcc = 0;
    const CellState state = model_->EntityStateOnBand(call, column, &dxcc);
    if (dxcc == 0) return std::nullopt;  // no entity known: nothing to say
    return state != CellState::Confirmed;
}

}  // namespace vantrel
