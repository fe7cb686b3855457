// The award tables of the local log: DXCC entities, CQ zones (WAZ), continents (WAC) and 4-character
// grid squares, each by band and mode, every cell empty, worked or confirmed.
//
// The model is built once from the log's lines and then follows the log as lines are appended,
// reading only the new ones; a log changed in another way is read again. Confirmations come from
// a ConfirmationIndex: a contact is confirmed when one matches it (see confirmations.h), and a
// confirmation that carries a DXCC code or CQ zone gives the contact those. Qt-free; const
// methods may be called from several threads at once.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "awards/award_modes.h"
#include "awards/country_entities.h"
#include "geo/country_lookup.h"
#include "log/log_lines.h"
#include "log/log_lines_follower.h"

namespace vantrel {

class ConfirmationIndex;

enum class Award : unsigned char { Dxcc, Waz, Wac, Grids };
inline constexpr int kAwards = 4;
// "dxcc", "waz", "wac", "grids" (letter case ignored); nothing otherwise.
std::optional<Award> AwardFromName(std::string_view name);
std::string_view AwardTitle(Award award);  // "DXCC", "WAZ", "WAC", "Grids"

enum class CellState : unsigned char { Empty, Worked, Confirmed };
char CellLetter(CellState state);  // '-', 'W', 'C'

struct AwardRow {
    std::string entity;  // "Asiatic Russia", "Zone 14", "EU", "JO62"
    std::string code;    // DXCC code "15", zone "14", continent "EU", grid "JO62"
    int key = 0;         // the row's key in the model (DXCC code, zone, continent index, grid)
    std::array<CellState, kAwardBands> cells{};
    CellState overall = CellState::Empty;  // the best of the row over every band
};

struct AwardTotals {
    std::array<int, kAwardBands> workedOnBand{};
    std::array<int, kAwardBands> confirmedOnBand{};
    int worked = 0;     // rows worked on any band (or on the one band asked for)
    int confirmed = 0;  // rows confirmed on any band
};

struct AwardTable {
    Award award = Award::Dxcc;
    ModeFilter filter = ModeFilter::All;
    int bandColumn = -1;  // -1: every band
    // DXCC: every current entity plus the deleted ones worked; WAZ: zones 1-40; WAC: the six
    // continents (Antarctica when worked); grids: the grids worked. Ordered by code.
    std::vector<AwardRow> rows;
    AwardTotals totals;
};

// "DXCC: 187 worked, 141 confirmed".
std::string AwardSummaryText(const AwardTable& table);

// The place of one contact as the tables count it.
struct AwardContact {
    std::uint32_t line = 0;    // index in the log lines
    std::int16_t column = -1;  // band column; -1 outside 160m-70cm
    ModeGroup group = ModeGroup::Unknown;
    unsigned char modeFlags = 0;  // bit per ModeFilter the contact's mode passes
    std::int16_t dxcc = 0;
    std::int16_t placeDxcc = 0;  // the entity and zone the prefix file gives (a confirmation may
    std::int8_t placeZone = 0;   // give others)
    std::int8_t cqZone = 0;
    std::int8_t continent = -1;
    std::int32_t grid = -1;    // 4-character locator as a number (see GridKey); -1 without one
    bool confirmed = false;
};

// "JO62" as a number 0..32399, -1 when the text does not start with a valid locator (two letters
// A-R, two digits; a longer locator must go on validly).
int GridKey(std::string_view locator);
std::string GridOfKey(int key);

class AwardModel {
public:
    AwardModel(std::shared_ptr<const CountryTable> table, std::shared_ptr<const CountryEntities> entities);

    // Reads the lines appended since the last call (every line the first time, or when the log
    // changed otherwise); confirmations are looked up in `confirmations` (may be null).
    // `cancelled`, looked at now and then, stops the reading: a model left part-read is only fit
    // to be dropped.
    void CatchUp(const LogLines& lines, const ConfirmationIndex* confirmations = nullptr,
                 const std::atomic<bool>* cancelled = nullptr);
    // New confirmations: every contact is matched again. `lines` are the lines read so far (the
    // snapshot of the last CatchUp); only their callsign, date and time are read again.
    void Reconfirm(const LogLines& lines, const ConfirmationIndex* confirmations);

    // The table of an award for a mode filter; bandColumn -1 for every band, else the totals
    // count that band only (the rows and cells stay complete).
    AwardTable Table(Award award, ModeFilter filter = ModeFilter::All, int bandColumn = -1) const;
    // The line indexes of the contacts in one cell (row key as in AwardRow::key), in log order.
    std::vector<std::uint32_t> CellContacts(Award award, ModeFilter filter, int rowKey, int bandColumn) const;

    // Whether the DXCC entity of a callsign is confirmed, worked or neither on a band column
    // (all modes): "needed" means not confirmed there.
    CellState EntityStateOnBand(std::string_view callsign, int bandColumn, int* dxcc = nullptr) const;

    std::size_t Contacts() const { return contacts_.size(); }
    const std::vector<AwardContact>& ContactPlaces() const { return contacts_; }
    // The entity name shown for a DXCC code (cty.dat's name when the file has one, else ADIF's).
    std::string EntityName(int dxcc) const;
    const std::shared_ptr<const CountryTable>& Countries() const { return table_; }

private:
    struct Cell {
        std::uint32_t contacts = 0;
        std::uint32_t confirmed = 0;
    };
    // The cells of one row: per mode filter, per band column.
    using RowCells = std::array<std::array<Cell, kAwardBands>, kModeFilters>;
    struct AwardCells {
        std::vector<std::int32_t> slotOfKey;  // row key -> slot in `rows`; -1 before its first contact
        std::vector<int> keyOfSlot;
        std::vector<RowCells> rows;
        const Cell* Find(int key, ModeFilter filter, int column) const;
    };
    struct ModeInfo {
        ModeGroup group = ModeGroup::Unknown;
        unsigned char flags = 0;
    };
    void Clear();
    void Add(std::string_view line, std::uint32_t index, const ConfirmationIndex* confirmations);
    void Confirm(AwardContact& c, std::string_view upperCall, std::string_view date, std::string_view time,
                 const ConfirmationIndex& confirmations);
    void Count(const AwardContact& c, int sign);
    CallPlace PlaceOfCall(std::string_view upperCall);
    const ModeInfo& ModeOf(std::string_view mode);
    static int RowKey(Award award, const AwardContact& c);

    std::shared_ptr<const CountryTable> table_;
    std::shared_ptr<const CountryEntities> entities_;
    LogLinesFollower follower_;
    std::vector<AwardContact> contacts_;
    std::array<AwardCells, kAwards> cells_;
    std::vector<CallPlace> entryPlaces_;  // per table entry; filled as entries are met
    std::vector<bool> entryKnown_;
    std::unordered_map<std::string, ModeInfo> modes_;
    std::string lastMode_;  // consecutive lines mostly share their mode
    ModeInfo lastModeInfo_;
    std::string scratch_;
};

}  // namespace vantrel
