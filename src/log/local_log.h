// The local log's operations over the in-memory lists: creation from the WSJT-X log, the
// positional catch-up, the last-contact append and the old-layout repair.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "log/local_log_record.h"
#include "log/log_lines.h"

namespace vantrel {

// The local log made from the WSJT-X log: empty when it has fewer than two lines.
LogLines create_new_local_log(const LogLines& wsjtxLines, const StationDetails& station);

// Appends the WSJT-X lines from position local.size() on; the first lines count as merged
// whatever they hold. Returns how many lines were appended.
std::size_t update_local_with_new(LogLines& local, const LogLines& wsjtxLines,
                                  const StationDetails& station);

// A last-contact text without the operator's callsign is extended by ",,," and the four station
// values, which turns an eleven-field line into a complete record. A text that already has the
// seventeen fields of a complete record is never extended, whatever callsign it carries.
std::string CompleteLastContact(std::string text, const StationDetails& station);

// True when the first 60 characters of the line occur in any line of the log.
bool LocalLogHasContact(const LogLines& local, std::string_view line);

// Converts the lines of an old-layout local log (callsign at field 13): lines that already carry
// the callsign at field 14 are left out; the others become fields 1-12, an empty name, the
// current callsign, grid and rig, an empty antenna and the trailing separator.
LogLines RepairLocalLogColumns(const LogLines& oldLines, const StationDetails& station);

// The first line of the local log is in the old layout: field 14 differs from the callsign
// while field 13 equals it.
bool IsOldLayoutLine(std::string_view firstLine, std::string_view call);

}  // namespace vantrel
