// Callsign to country through the country table (the ctybasic.txt lines in table order).
//
// A callsign is reduced first (portable designators /QRP, /LGT, /MM and /AM dropped; a foreign
// prefix before or after a "/" joined to the callsign's suffix: K1ABC/VE3 and VE3/K1ABC both read
// as VE3ABC). Its first four characters are then compared with each entry's PREFIX: the match
// level is the number of leading positions, at most 4, in which they agree (a position past the
// end of either text holds an end marker, and two end markers agree). The result is the first
// entry in table order that reaches the highest level; level 0 never counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "log/log_lines.h"

namespace vantrel {

struct CountryResult {
    std::string country;    // "Brazil (SA )"
    std::string latitude;   // as the table holds it: "-10.00"
    std::string longitude;  // east positive, NumberText: "-53"
};

// The callsign after the portable designators and the foreign-prefix rule; nothing when the
// lookup has no result whatever the table holds (a designator after "/" shorter than two
// characters).
std::optional<std::string> ReduceCallsign(std::string_view callsign);

// Exact-callsign entries ("=" before the callsign, as the country file marks them) are looked up
// by the whole callsign first; every other entry is a prefix of the walk below.
// The lookup by the table walk itself: the reference for the indexed lookup. The index of the
// entry, or nothing.
std::optional<std::size_t> LookupCountryByWalk(const LogLines& table, std::string_view callsign);

// The three outputs read from one table entry.
CountryResult CountryFromEntry(std::string_view entry);

// The country table with an index built once: a lookup costs four hash probes and gives exactly
// the entry of the walk.
class CountryTable {
public:
    CountryTable() = default;
    explicit CountryTable(LogLines lines);

    const LogLines& Lines() const { return lines_; }
    bool empty() const { return lines_.empty(); }
    std::size_t size() const { return lines_.size(); }

    std::optional<std::size_t> FindEntry(std::string_view callsign) const;
    // Empty outputs when nothing matches (or the callsign is empty).
    CountryResult Lookup(std::string_view callsign) const;

private:
    LogLines lines_;
    std::unordered_map<std::uint64_t, std::uint32_t> firstByKey_;
    std::unordered_map<std::string, std::uint32_t> exact_;  // "=CALL" entries, first in table order
};

}  // namespace vantrel
