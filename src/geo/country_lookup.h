// Callsign to country through the country table (the ctybasic.txt lines in table order).
//
// A callsign is reduced first (portable designators /QRP, /LGT, /MM and /AM dropped; a foreign
// prefix before or after a "/" joined to the callsign's suffix: K1ABC/VE3 and VE3/K1ABC both read
// as VE3ABC). The country file's own rule then names the entry: an entry for exactly this callsign
// ("=" before it in the file) first; otherwise the entry with the longest PREFIX that the reduced
// callsign begins with (letter case ignored; among entries with the same PREFIX the first in table
// order). A text shorter than every PREFIX it could belong to, as the operator types it ("R"),
// takes the first entry in table order whose PREFIX begins with it, so that a country shows while
// the callsign is typed.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

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

// The lookup by a plain walk of the table: the reference for the indexed lookup. The index of the
// entry, or nothing.
std::optional<std::size_t> LookupCountryByWalk(const LogLines& table, std::string_view callsign);

// The three outputs read from one table entry.
CountryResult CountryFromEntry(std::string_view entry);

// The country table with an index built once: a lookup costs one hash probe per length of the
// callsign's leading characters (at most the longest PREFIX) and gives exactly the entry of the
// walk.
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
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view t) const { return std::hash<std::string_view>{}(t); }
    };
    using TextIndex = std::unordered_map<std::string, std::uint32_t, TextHash, std::equal_to<>>;

    LogLines lines_;
    TextIndex prefixes_;  // upper-cased PREFIX -> its first entry in table order
    TextIndex exact_;     // "=CALL" entries, first in table order
    std::size_t longestPrefix_ = 0;
    // Every PREFIX upper-cased with its entry, sorted: the entries a typed text begins are adjacent.
    std::vector<std::pair<std::string, std::uint32_t>> sortedPrefixes_;
};

}  // namespace vantrel
