// Which contact a local log line records, whatever feed or file it came from: its date, time on,
// callsign and band. Two lines of the same contact can differ in their bytes (a comment read from
// another feed, the frequency written with other decimals, the station fields) and still name the
// same contact by these four.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "log/log_lines.h"

namespace vantrel {

// "2026-12-08 14:19:19 K1ABC 20m": field 1, field 2 (a one-digit hour gets its leading zero),
// field 5 trimmed and upper-cased, and the band of field 7 ("0" when it names none).
std::string ContactIdentity(std::string_view localLine);

// Follows a list of log lines that mostly grows at its end: tells which lines are new since the
// last call, or that the list was changed in another way (a repair, a reload) and must be read
// again from its start.
class LogLinesFollower {
public:
    struct Step {
        bool restart = false;   // the lines up to the last call changed: read every line again
        std::size_t first = 0;  // the first line not read yet
    };
    Step Next(const LogLines& lines);
    void Reset() { *this = LogLinesFollower(); }

private:
    std::size_t lines_ = 0;
    std::size_t bytes_ = 0;
    std::string lastLine_;
};

// The identities of the contacts in the local log, for telling at once whether a received
// contact is already there. Keeps 64-bit hashes of the identities.
class ContactIdentitySet {
public:
    // Adds the lines appended since the last call; starts over when the list changed otherwise.
    void CatchUp(const LogLines& lines);
    void Add(std::string_view localLine);
    bool Contains(std::string_view localLine) const;
    std::size_t size() const { return keys_.size(); }

private:
    // The hash of ContactIdentity(localLine), made without building that text.
    static std::uint64_t Key(std::string_view localLine);
    LogLinesFollower follower_;
    std::unordered_set<std::uint64_t> keys_;
};

}  // namespace vantrel
