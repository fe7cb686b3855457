// Which contact a log line records: the date and time it began, the other station's callsign and
// the band. Two lines with the same identity are the same contact whatever else they hold
// (station details, a grid filled in later, a comment, the time it ended), so the local log and
// WSJT-X's log are compared by identity, never by line position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "base/huge_page_allocator.h"
#include "log/log_lines.h"

namespace vantrel {

struct ContactIdentity {
    std::uint32_t date = 0;    // yyyymmdd
    std::uint32_t timeOn = 0;  // hhmmss
    int band = -1;             // row of the band table (BandRowOfFrequency); -1 outside it
    std::string call;          // letters upper-cased
    friend bool operator==(const ContactIdentity&, const ContactIdentity&) = default;
};

// A date as log lines hold it, "yyyy-mm-dd" (or the older day/month/year form "5/3/2024"), as
// the number yyyymmdd; 0 when the text is not such a date.
std::uint32_t LogDateNumber(std::string_view text);
// A time "hh:mm:ss" (or the older "9:05:00") as the number hhmmss; -1 when it is not a time.
std::int32_t LogTimeNumber(std::string_view text);

// The identity of a local or WSJT-X log line (fields 1, 2, 5 and 7: date, time on, callsign and
// frequency); nothing when field 1 is not a date or field 2 not a time.
std::optional<ContactIdentity> ContactIdentityOf(std::string_view line);

// A WSJT-X log line that records a contact: at least 11 fields (the oldest layout), a date and a
// time on. Binary junk and lines cut short are not.
bool IsWsjtxContactLine(std::string_view line);

// The identities of a list of log lines, kept in step with the list as lines are appended. A line
// without an identity (junk kept in an old local log) counts by its exact text. A lookup is one
// or two hash probes; building it for 300,000 lines takes tens of milliseconds.
class ContactIndex {
public:
    ContactIndex() = default;
    explicit ContactIndex(const LogLines& lines) { Extend(lines, 0); }

    // Adds the lines from the first one not yet indexed (IndexedLines()) to the end.
    void Extend(const LogLines& lines) { Extend(lines, indexedLines_); }
    // Adds the lines from `from` on; IndexedLines() becomes lines.size(). Adding a line that is
    // already known changes nothing.
    void Extend(const LogLines& lines, std::size_t from);
    // Forgets everything and indexes the lines: after lines were changed or removed in place.
    void Rebuild(const LogLines& lines);
    void clear();

    // Adds one line; true when its contact (or text) was not known before. Empty lines are not
    // added. Does not count towards IndexedLines().
    bool Add(std::string_view line);

    // True when a line with the same identity (for a line without one: the same text) was added.
    bool Contains(std::string_view line) const;
    bool Contains(const ContactIdentity& identity) const;
    // Contains for each of `count` lines (at most 64) into held[]; the lines are looked up
    // together, which hides most of the memory waits of a long run of lookups.
    void ContainsEach(const std::string_view* lines, std::size_t count, bool* held) const;

    // How many lines of the list Extend has taken in.
    std::size_t IndexedLines() const { return indexedLines_; }
    // Distinct contacts and distinct other lines known.
    std::size_t size() const { return entries_.size() + otherLines_.size(); }

private:
    struct Key {
        std::uint32_t date = 0, timeOn = 0;
        int band = -1;
        std::string_view call;  // as the line holds it; compared with letter case folded
    };
    struct Entry {
        std::uint32_t date, timeOn, callAt, callLength : 24, bandPlusOne : 8;
    };

    static std::optional<Key> KeyOf(std::string_view line);
    static std::uint64_t Hash(const Key& key);
    std::uint64_t HashOf(const Entry& entry) const;
    bool Matches(const Entry& entry, const Key& key) const;
    // The slot holding the key, or the empty slot where it goes.
    std::size_t SlotOf(const Key& key, std::uint64_t hash) const;
    bool Insert(const Key& key);
    bool Insert(const Key& key, std::uint64_t hash);
    void Reserve(std::size_t entries);

    // Open addressing: each slot holds the upper half of the hash and the entry number + 1.
    std::vector<std::uint64_t, HugePageAllocator<std::uint64_t>> slots_;
    std::vector<Entry, HugePageAllocator<Entry>> entries_;
    std::string calls_;  // every entry's callsign, upper-cased, one after the other
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::unordered_set<std::string, TextHash, std::equal_to<>> otherLines_;
    std::size_t indexedLines_ = 0;
};

}  // namespace vantrel
