// The local log line: the first thirteen fields of a WSJT-X log line followed by the operator's
// station details (callsign, grid, rig, antenna) and a trailing separator.
#pragma once

#include <string>
#include <string_view>

namespace vantrel {

struct StationDetails {
    std::string call, grid, rig, antenna;
};

// "," then callsign, grid, rig and antenna, each followed by ",".
std::string StationSuffix(const StationDetails& station);

// Fields 1-13 of a WSJT-X log line, joined by commas, whatever layout wrote it: 11 fields
// (oldest), 13, 14 (propagation mode) or 17 (also satellite, satellite mode and Rx frequency).
// Fields 1-11 stand as they are; the trailing fields of the newer layouts are not carried. When
// commas typed into the comment or name leave extra pieces, the last free-text piece is the
// name and the others, joined without their commas, the comment.
std::string WsjtxLineFields13(std::string_view wsjtxLine);

// A complete local log line for a WSJT-X log line.
std::string LocalLineFromWsjtx(std::string_view wsjtxLine, const StationDetails& station);

// True for the propagation modes WSJT-X writes (AS, AUE, ... TR).
bool IsPropagationMode(std::string_view text);

}  // namespace vantrel
