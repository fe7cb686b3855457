#include "awards/award_model.h"

#include <algorithm>
#include <map>

#include "awards/confirmations.h"
#include "awards/dxcc_entities.h"
#include "geo/country_lookup.h"
#include "log/band_table.h"
#include "log/extract_field.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

constexpr int kZones = 40;
constexpr std::string_view kContinentTitles[kContinents] = {"Africa", "Antarctica", "Asia", "Europe",
                                                            "North America", "Oceania", "South America"};

// How many row keys each award has: DXCC codes, zones 1-40, continents, 4-character grids.
constexpr int kKeys[kAwards] = {1024, kZones + 1, kContinents, 18 * 18 * 100};

bool Between(char c, char low, char high) { return c >= low && c <= high; }
char Up(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// "2024-03-05" and "10:15:00" of a log line as seconds since 1970; nothing when not in that form.
std::optional<std::int64_t> LineTimeSeconds(std::string_view date, std::string_view time) {
    date = TrimBlanks(date);
    time = TrimBlanks(time);
    if (date.size() != 10 || time.size() != 8) return std::nullopt;
    const char d[8] = {date[0], date[1], date[2], date[3], date[5], date[6], date[8], date[9]};
    const char t[6] = {time[0], time[1], time[3], time[4], time[6], time[7]};
    return UtcSeconds({d, 8}, {t, 6});
}

}  // namespace

std::optional<Award> AwardFromName(std::string_view name) {
    constexpr std::string_view names[kAwards] = {"dxcc", "waz", "wac", "grids"};
    for (int a = 0; a < kAwards; ++a)
        if (SameTextNoCase(TrimBlanks(name), names[a])) return static_cast<Award>(a);
    return std::nullopt;
}

std::string_view AwardTitle(Award award) {
    switch (award) {
    case Award::Dxcc: return "DXCC";
    case Award::Waz: return "WAZ";
    case Award::Wac: return "WAC";
    case Award::Grids: return "Grids";
    }
    return "";
}

char CellLetter(CellState state) {
    return state == CellState::Confirmed ? 'C' : state == CellState::Worked ? 'W' : '-';
}

std::string AwardSummaryText(const AwardTable& table) {
    return std::string(AwardTitle(table.award)) + ": " + std::to_string(table.totals.worked) + " worked, " +
           std::to_string(table.totals.confirmed) + " confirmed";
}

int GridKey(std::string_view locator) {
    locator = TrimBlanks(locator);
    if (locator.size() != 4 && locator.size() != 6 && locator.size() != 8) return -1;
    const char a = Up(locator[0]), b = Up(locator[1]);
    if (!Between(a, 'A', 'R') || !Between(b, 'A', 'R') || !Between(locator[2], '0', '9') ||
        !Between(locator[3], '0', '9'))
        return -1;
    if (locator.size() >= 6 && (!Between(Up(locator[4]), 'A', 'X') || !Between(Up(locator[5]), 'A', 'X')))
        return -1;
    if (locator.size() == 8 && (!Between(locator[6], '0', '9') || !Between(locator[7], '0', '9'))) return -1;
    return (((a - 'A') * 18 + (b - 'A')) * 10 + (locator[2] - '0')) * 10 + (locator[3] - '0');
}

std::string GridOfKey(int key) {
    if (key < 0 || key >= 18 * 18 * 100) return {};
    std::string grid(4, ' ');
    grid[3] = static_cast<char>('0' + key % 10);
    grid[2] = static_cast<char>('0' + key / 10 % 10);
    grid[1] = static_cast<char>('A' + key / 100 % 18);
    grid[0] = static_cast<char>('A' + key / 1800);
    return grid;
}

AwardModel::AwardModel(std::shared_ptr<const CountryTable> table, std::shared_ptr<const CountryEntities> entities)
    : table_(table ? std::move(table) : std::make_shared<const CountryTable>()),
      entities_(entities ? std::move(entities) : std::make_shared<const CountryEntities>()) {
    Clear();
}

void AwardModel::Clear() {
    contacts_.clear();
    for (int a = 0; a < kAwards; ++a) {
        cells_[a].slotOfKey.assign(static_cast<std::size_t>(kKeys[a]), -1);
        cells_[a].keyOfSlot.clear();
        cells_[a].rows.clear();
    }
    entryPlaces_.assign(table_->size(), CallPlace{});
    entryKnown_.assign(table_->size(), false);
    modes_.clear();
    lastMode_.clear();
    lastModeInfo_ = ModeInfo{};
}

CallPlace AwardModel::PlaceOfCall(std::string_view upperCall) {
    const std::optional<std::size_t> entry = table_->FindEntry(upperCall);
    if (!entry) return {};
    if (entryKnown_.size() != table_->size()) {
        entryPlaces_.assign(table_->size(), CallPlace{});
        entryKnown_.assign(table_->size(), false);
    }
    if (!entryKnown_[*entry]) {
        entryPlaces_[*entry] = entities_->PlaceOfEntry(table_->Lines()[*entry]);
        entryKnown_[*entry] = true;
    }
    return entryPlaces_[*entry];
}

const AwardModel::ModeInfo& AwardModel::ModeOf(std::string_view mode) {
    mode = TrimBlanks(mode);
    if (mode == lastMode_ && lastModeInfo_.group != ModeGroup::Unknown) return lastModeInfo_;
    lastMode_.assign(mode);
    auto found = modes_.find(lastMode_);
    if (found != modes_.end()) return lastModeInfo_ = found->second;
    ModeInfo info;
    info.group = ModeGroupOf(mode);
    for (int f = 0; f < kModeFilters; ++f)
        if (ModeFilterTakes(static_cast<ModeFilter>(f), mode)) info.flags |= static_cast<unsigned char>(1u << f);
    return lastModeInfo_ = modes_.emplace(std::string(mode), info).first->second;
}

void AwardModel::CatchUp(const LogLines& lines, const ConfirmationIndex* confirmations,
                         const std::atomic<bool>* cancelled) {
    const LogLinesFollower::Step step = follower_.Next(lines);
    if (step.restart || step.first == 0) {
        Clear();
        contacts_.reserve(lines.size());
    }
    if (confirmations && confirmations->size() == 0) confirmations = nullptr;
    for (std::size_t i = step.first; i < lines.size(); ++i) {
        if (cancelled && i % 4096 == 0 && cancelled->load(std::memory_order_relaxed)) return;
        Add(lines[i], static_cast<std::uint32_t>(i), confirmations);
    }
}

void AwardModel::Add(std::string_view line, std::uint32_t index, const ConfirmationIndex* confirmations) {
    std::string_view f[8];
    CutFirstFields(line, ',', f, 8);
    const std::string_view call = TrimBlanks(f[4]);
    if (call.empty()) return;
    AwardContact c;
    c.line = index;
    c.column = static_cast<std::int16_t>(AwardColumnOfBandRow(BandRowOfFrequency(f[6])));
    const ModeInfo& mode = ModeOf(f[7]);
    c.group = mode.group;
    c.modeFlags = mode.flags;
    c.grid = GridKey(f[5]);
    scratch_.assign(call);
    for (char& ch : scratch_) ch = Up(ch);
    const CallPlace place = PlaceOfCall(scratch_);
    c.dxcc = c.placeDxcc = static_cast<std::int16_t>(place.dxcc);
    c.cqZone = c.placeZone = static_cast<std::int8_t>(place.cqZone);
    c.continent = static_cast<std::int8_t>(place.continent);
    if (confirmations) Confirm(c, scratch_, f[0], f[1], *confirmations);
    contacts_.push_back(c);
    Count(c, 1);
}

void AwardModel::Confirm(AwardContact& c, std::string_view upperCall, std::string_view date,
                         std::string_view time, const ConfirmationIndex& confirmations) {
    const auto seconds = LineTimeSeconds(date, time);
    if (!seconds || c.column < 0) return;
    const Confirmation* match =
        confirmations.Match(upperCall, c.column + kFirstAwardBandRow, c.group, *seconds);
    if (!match) return;
    c.confirmed = true;
    // What the confirmation says of the station's entity and zone stands over the prefix file.
    if (match->dxcc > 0 && DxccEntityByCode(match->dxcc)) c.dxcc = static_cast<std::int16_t>(match->dxcc);
    if (match->cqZone > 0) c.cqZone = static_cast<std::int8_t>(match->cqZone);
}

int AwardModel::RowKey(Award award, const AwardContact& c) {
    switch (award) {
    case Award::Dxcc: return c.dxcc > 0 && c.dxcc < kKeys[0] ? c.dxcc : -1;
    case Award::Waz: return c.cqZone >= 1 && c.cqZone <= kZones ? c.cqZone : -1;
    case Award::Wac: return c.continent;
    case Award::Grids: return c.grid;
    }
    return -1;
}

void AwardModel::Count(const AwardContact& c, int sign) {
    if (c.column < 0) return;
    for (int a = 0; a < kAwards; ++a) {
        const int key = RowKey(static_cast<Award>(a), c);
        if (key < 0) continue;
        AwardCells& award = cells_[a];
        std::int32_t& slot = award.slotOfKey[static_cast<std::size_t>(key)];
        if (slot < 0) {
            slot = static_cast<std::int32_t>(award.rows.size());
            award.rows.emplace_back();
            award.keyOfSlot.push_back(key);
        }
        RowCells& row = award.rows[static_cast<std::size_t>(slot)];
        for (int f = 0; f < kModeFilters; ++f) {
            if (!(c.modeFlags & (1u << f))) continue;
            Cell& cell = row[f][static_cast<std::size_t>(c.column)];
            cell.contacts += static_cast<std::uint32_t>(sign);
            if (c.confirmed) cell.confirmed += static_cast<std::uint32_t>(sign);
        }
    }
}

void AwardModel::Reconfirm(const LogLines& lines, const ConfirmationIndex* confirmations) {
    if (confirmations && confirmations->size() == 0) confirmations = nullptr;
    for (AwardCells& award : cells_)
        for (RowCells& row : award.rows) row = RowCells{};
    for (AwardContact& c : contacts_) {
        c.dxcc = c.placeDxcc;
        c.cqZone = c.placeZone;
        c.confirmed = false;
        if (confirmations && c.line < lines.size()) {
            std::string_view f[5];
            CutFirstFields(lines[c.line], ',', f, 5);
            scratch_.assign(TrimBlanks(f[4]));
            for (char& ch : scratch_) ch = Up(ch);
            Confirm(c, scratch_, f[0], f[1], *confirmations);
        }
        Count(c, 1);
    }
}

std::string AwardModel::EntityName(int dxcc) const {
    if (const CountryEntity* e = entities_->ByCode(dxcc)) return e->name;
    const DxccEntity* entity = DxccEntityByCode(dxcc);
    return entity ? std::string(entity->name) : std::string();
}

AwardTable AwardModel::Table(Award award, ModeFilter filter, int bandColumn) const {
    AwardTable table;
    table.award = award;
    table.filter = filter;
    table.bandColumn = bandColumn >= 0 && bandColumn < kAwardBands ? bandColumn : -1;
    std::map<int, AwardRow> rows;
    switch (award) {
    case Award::Dxcc:
        for (const DxccEntity& e : DxccEntities())
            if (!e.deleted) rows[e.code].key = e.code;
        break;
    case Award::Waz:
        for (int zone = 1; zone <= kZones; ++zone) rows[zone].key = zone;
        break;
    case Award::Wac:
        for (int continent = 0; continent < kContinents; ++continent)
            if (ContinentName(continent) != "AN") rows[continent].key = continent;
        break;
    case Award::Grids: break;
    }
    const AwardCells& cells = cells_[static_cast<int>(award)];
    for (std::size_t slot = 0; slot < cells.rows.size(); ++slot) {
        const auto& counts = cells.rows[slot][static_cast<int>(filter)];
        for (int column = 0; column < kAwardBands; ++column) {
            const Cell& cell = counts[static_cast<std::size_t>(column)];
            if (cell.contacts == 0) continue;
            AwardRow& row = rows[cells.keyOfSlot[slot]];
            row.key = cells.keyOfSlot[slot];
            row.cells[column] = cell.confirmed > 0 ? CellState::Confirmed : CellState::Worked;
        }
    }
    table.rows.reserve(rows.size());
    for (auto& [key, row] : rows) {
        switch (award) {
        case Award::Dxcc:
            row.entity = EntityName(key);
            row.code = std::to_string(key);
            break;
        case Award::Waz:
            row.entity = "Zone " + std::to_string(key);
            row.code = std::to_string(key);
            break;
        case Award::Wac:
            row.entity = kContinentTitles[key];
            row.code = ContinentName(key);
            break;
        case Award::Grids:
            row.entity = row.code = GridOfKey(key);
            break;
        }
        for (int column = 0; column < kAwardBands; ++column) {
            const CellState state = row.cells[column];
            row.overall = std::max(row.overall, state);
            if (state != CellState::Empty) ++table.totals.workedOnBand[column];
            if (state == CellState::Confirmed) ++table.totals.confirmedOnBand[column];
        }
        const CellState counted = table.bandColumn >= 0 ? row.cells[table.bandColumn] : row.overall;
        if (counted != CellState::Empty) ++table.totals.worked;
        if (counted == CellState::Confirmed) ++table.totals.confirmed;
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<std::uint32_t> AwardModel::CellContacts(Award award, ModeFilter filter, int rowKey, int bandColumn) const {
    std::vector<std::uint32_t> lines;
    const unsigned flag = 1u << static_cast<int>(filter);
    for (const AwardContact& c : contacts_)
        if (c.column == bandColumn && (c.modeFlags & flag) && RowKey(award, c) == rowKey) lines.push_back(c.line);
    return lines;
}

CellState AwardModel::EntityStateOnBand(std::string_view callsign, int bandColumn, int* dxcc) const {
    const CallPlace place = entities_->PlaceOf(*table_, UpperCase(TrimBlanks(callsign)));
    if (dxcc) *dxcc = place.dxcc;
    if (place.dxcc <= 0 || bandColumn < 0 || bandColumn >= kAwardBands) return CellState::Empty;
    const Cell* cell = cells_[static_cast<int>(Award::Dxcc)].Find(place.dxcc, ModeFilter::All, bandColumn);
    if (!cell || cell->contacts == 0) return CellState::Empty;
    return cell->confirmed > 0 ? CellState::Confirmed : CellState::Worked;
}

const AwardModel::Cell* AwardModel::AwardCells::Find(int key, ModeFilter filter, int column) const {
    if (key < 0 || static_cast<std::size_t>(key) >= slotOfKey.size()) return nullptr;
    const std::int32_t slot = slotOfKey[static_cast<std::size_t>(key)];
    if (slot < 0) return nullptr;
    return &rows[static_cast<std::size_t>(slot)][static_cast<int>(filter)][static_cast<std::size_t>(column)];
}

}  // namespace vantrel
