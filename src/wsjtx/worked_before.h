// What the local log says about a station heard: whether its country was ever worked, on this
// band, in this mode, and how often and when the station itself was worked.
//
// The index is built once from the local log lines and then follows the log as lines are
// appended, reading only the new lines; a log changed in another way (a repair, a reload) is read
// again. Countries come from the country table (CTY.DAT); a callsign that no entry names has no
// country, and only its own contacts count for it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "geo/country_lookup.h"
#include "log/log_lines_follower.h"
#include "log/log_lines.h"

namespace vantrel {

enum class WorkedKind {
    NewCountry,    // no contact with the station's country
    NewOnBand,     // the country was worked, never on this band
    NewOnMode,     // the country was worked on this band, never in this mode (on any band)
    WorkedBefore,  // the station itself was worked (its country on this band and mode too)
    NotWorked,     // the station was never worked; its country was, on this band and mode
};

struct WorkedStatus {
    WorkedKind kind = WorkedKind::NotWorked;
    std::size_t count = 0;  // contacts with this callsign, on every band and mode
    std::string lastDate;   // the date of the latest of them, "yyyy-mm-dd"; empty without one
    friend bool operator==(const WorkedStatus&, const WorkedStatus&) = default;
};

// "New country", "New band", "New mode", "Worked 3 times, last 2026-12-01", "Worked once,
// 2026-12-01", "Not worked".
std::string WorkedStatusText(const WorkedStatus& status);

class WorkedIndex {
public:
    // The index holds the table it reads; a null or empty table gives no countries.
    explicit WorkedIndex(std::shared_ptr<const CountryTable> countries = nullptr) : countries_(std::move(countries)) {}
    // A new table: the next CatchUp reads the whole log again.
    void SetCountryTable(std::shared_ptr<const CountryTable> countries);
    const std::shared_ptr<const CountryTable>& Countries() const { return countries_; }

    // Reads the lines appended since the last call (all of them the first time, or when the log
    // changed otherwise). Call after every change of the local log. `cancelled`, looked at every
    // few thousand lines, stops the reading: an index left part-read is only fit to be dropped.
    void CatchUp(const LogLines& localLines, const std::atomic<bool>* cancelled = nullptr);

    // The status of a callsign heard on a band ("20m", as BandFromFrequency names it) in a mode
    // ("FT8"); letter case does not matter.
    WorkedStatus Status(std::string_view call, std::string_view band, std::string_view mode) const;

    // True when the station was worked on this band in this mode.
    bool WorkedOn(std::string_view call, std::string_view band, std::string_view mode) const;
    // True when a contact was logged in the grid square (its first four characters count).
    bool GridWorked(std::string_view grid) const;

    std::size_t Contacts() const { return contacts_; }
    // The country the table gives the callsign ("Brazil (SA )"); empty when none.
    std::string CountryOf(std::string_view call) const;

private:
    static constexpr std::int32_t kNoCountry = -1;
    struct CallStats {
        std::uint32_t count = 0;
        std::int32_t country = kNoCountry;
        std::uint32_t bands = 0;  // band ids below 32 this station was worked on
        std::uint64_t modes = 0;  // mode ids below 64 likewise
        std::string lastDate;
        std::vector<std::uint64_t> bandModes;  // band id << 32 | mode id, each worked once at least
    };
    static constexpr std::uint32_t kNone = 0xffffffff;
    void Clear();
    void Add(std::string_view line);
    // Ids are handed out on first sight; a query adds at most the country of a table entry.
    std::int32_t CountryId(std::string_view upperCall) const;
    static std::uint32_t Intern(std::unordered_map<std::string, std::uint32_t>& ids, std::string_view name);
    static std::uint64_t Pair(std::int32_t country, std::uint32_t other) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(country)) << 32 | other;
    }

    std::shared_ptr<const CountryTable> countries_;
    LogLinesFollower follower_;
    std::size_t contacts_ = 0;
    std::unordered_map<std::string, CallStats> calls_;
    mutable std::unordered_map<std::string, std::uint32_t> countryIds_;
    std::unordered_map<std::string, std::uint32_t> bandIds_, modeIds_;
    mutable std::vector<std::int32_t> entryCountry_;  // country id of each table entry, -2 unknown
    std::unordered_set<std::int32_t> countriesWorked_;
    std::unordered_set<std::uint64_t> countryBands_, countryModes_;
    std::unordered_set<std::string> gridsWorked_;
    // The band and mode of the line read last, and a buffer for the callsign.
    std::string lastWhole_, lastMode_, scratch_;
    std::uint32_t lastBand_ = kNone, lastModeId_ = kNone;
};

}  // namespace vantrel
