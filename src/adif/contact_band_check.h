// Whether the band of a received contact is one that the antenna in use covers.
#pragma once

#include <string_view>

namespace vantrel {

// The bands assumed when no rig and antenna are chosen.
inline constexpr std::string_view kDefaultBandList = "[0.4,1.8,3.5,5.3,7,10,14,18,21,24,28,50,144,432,1296,]";

// The band list to check against: the antenna text when both a rig and an antenna are chosen,
// else the default list; in either case only the text inside "[" ... "]" when it has them.
std::string_view BandListFor(std::string_view rig, std::string_view antenna);

// The whole megahertz of a frequency text: the text before the first "."; empty without ".".
std::string_view FrequencyWholePart(std::string_view frequency);

// True when an entry of the comma-separated band list equals the whole part. Entries are trimmed
// and "0.4", "1.8", "3.5", "5.3" stand for 0, 1, 3 and 5; the scan stops at the first empty
// entry (the list's trailing comma or its end), which an empty whole part matches.
bool BandListCovers(std::string_view bandList, std::string_view wholeMegahertz);

// The band check of a local log line (its field 7) against the rig and antenna in use.
bool ContactBandMatches(std::string_view localLine, std::string_view rig, std::string_view antenna);

}  // namespace vantrel
