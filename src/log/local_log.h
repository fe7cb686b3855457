// The local log's operations over the in-memory lists: creation from the WSJT-X log, the
// catch-up with it by contact identity, the last-contact append and the old-layout repair.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <vector>

#include "log/contact_identity.h"
#include "log/local_log_record.h"
#include "log/log_lines.h"

namespace vantrel {

// What a catch-up with the WSJT-X log did.
struct WsjtxMerge {
    std::size_t appended = 0;  // contacts added to the local log
    // WSJT-X log lines that hold no contact (too few fields, no date or time on: binary junk,
    // lines cut short) and were left out; empty lines are not counted.
    std::size_t skipped = 0;
    std::vector<std::size_t> skippedLines;  // the first ten of them, counted from 1 in the list
    std::string firstSkipped;               // the first one, shortened, control bytes shown as "?"
};

// The trace text for the lines left out: empty when there were none.
std::string SkippedLinesTrace(const WsjtxMerge& merge);

// The local log made from the WSJT-X log: empty when it has fewer than two lines; otherwise its
// contacts, each once, as update_local_with_new adds them.
LogLines create_new_local_log(const LogLines& wsjtxLines, const StationDetails& station,
                              WsjtxMerge* merge = nullptr);

// Appends every contact of the WSJT-X log that the local log does not hold (by identity: date,
// time on, callsign and band), once, in the WSJT-X log's order, with the station details; lines
// that hold no contact are left out and counted. Leading control bytes (a run of NUL bytes left
// by a crash) are dropped from a line, and control bytes are removed from what is appended.
// `index` holds the local log's lines, or some of the first of them: it is brought up to date
// first and kept so.
WsjtxMerge update_local_with_new(LogLines& local, ContactIndex& index, const LogLines& wsjtxLines,
                                 const StationDetails& station);
// The same with an index made for the call.
WsjtxMerge update_local_with_new(LogLines& local, const LogLines& wsjtxLines,
                                 const StationDetails& station);

// A last-contact text without the operator's callsign is extended by ",,," and the four station
// values, which turns an eleven-field line into a complete record. A text that already has the
// seventeen fields of a complete record is never extended, whatever callsign it carries.
std::string CompleteLastContact(std::string text, const StationDetails& station);

// True when the first 60 characters of the line occur in any line of the log. A scan of the
// whole log: the index below answers the same question at once.
bool LocalLogHasContact(const LogLines& local, std::string_view line);
// True when the log indexed holds the line's contact (same identity; a line without one: the
// same text). An empty line counts as held, so it is never added.
bool LocalLogHasContact(const ContactIndex& index, std::string_view line);

// Converts the lines of an old-layout local log (callsign at field 13): lines that already carry
// the callsign at field 14 are left out; the others become fields 1-12, an empty name, the
// current callsign, grid and rig, an empty antenna and the trailing separator.
LogLines RepairLocalLogColumns(const LogLines& oldLines, const StationDetails& station);

// The first line of the local log is in the old layout: field 14 differs from the callsign
// while field 13 equals it.
bool IsOldLayoutLine(std::string_view firstLine, std::string_view call);

}  // namespace vantrel
