// WSJT-X.ini and cty.dat of the generated station, and what growth reads back from the files
// already there.
#pragma once

#include <cstdint>
#include <string>

#include "gen_station.h"

namespace gen_station {

bool WriteIni(const fs::path& path, const Options& o);
bool WriteCty(const fs::path& path, const Options& o);

// The last line of a file (line ends removed); empty when it cannot be read.
std::string LastLine(const fs::path& path);
int64_t CountLines(const fs::path& path);
// Seconds of a wsjtx.log line's date and time off; -1 when unreadable.
int64_t LogLineEnd(const std::string& line);
// Seconds of a journal line's time stamp (both the full and the short form); -1 when unreadable.
int64_t JournalLineTime(const std::string& line);

}  // namespace gen_station
