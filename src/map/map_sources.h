// The files the map replots from and the map log it keeps, all in the viewer's data folder:
// maplog.txt (CALL,GRID per station shown) and calls.txt (CALL,GRID per callsign-list entry);
// and the local log's lines (date in field 1, callsign in field 5, grid in field 6) as the
// engine holds them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/time_text.h"
#include "log/log_lines.h"

namespace vantrel {

inline constexpr std::string_view kMapLogFile = "maplog.txt";

struct MapStation {
    std::string call;
    std::string grid;
};

struct MapSource {
    enum class State { Read, Missing, Failed };
    State state = State::Missing;
    std::vector<MapStation> stations;  // in file order
    std::string error;                 // with Failed
};

// Appends "CALL,GRID" and a line end, flushed and closed; the file is created when missing.
bool AppendMapLog(const std::filesystem::path& viewerFolder, std::string_view call, std::string_view grid,
                  std::string* error);
void DeleteMapLog(const std::filesystem::path& viewerFolder);

// Every line of maplog.txt, an empty grid included.
MapSource ReadMapLog(const std::filesystem::path& viewerFolder);
// The lines of calls.txt that have a grid.
MapSource ReadCallsList(const std::filesystem::path& viewerFolder);
// The contacts of the local log whose field 1 is exactly the date text.
MapSource ContactsOfDate(const LogLines& localLog, std::string_view dateText);

// "yyyy-mm-dd" of the local date, daysBefore days before the day of now.
std::string LocalDateText(TimePoint now, int daysBefore = 0);

}  // namespace vantrel
