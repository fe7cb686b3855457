// Repairs of the local log: filling empty grids from the grids list, rewriting old date and time
// forms, cutting junk from the ends of lines, emptying the comment field and the maker-station
// repair of the operator's own callsign and grid.
//
// Each repair takes the lines and returns the new lines with what the caller shows; the caller
// saves them (atomically) and keeps the window alive through the progress callback, which is
// called with (lines done, line count) at the start, every kRepairProgressStep lines and at the
// end. Lines are examined once each, so a repair of 300,000 lines takes a fraction of a second.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "base/time_text.h"
#include "log/log_lines.h"

namespace vantrel {

using RepairProgress = std::function<void(std::size_t done, std::size_t total)>;
inline constexpr std::size_t kRepairProgressStep = 4096;

inline constexpr std::string_view kCheckGridsTitle = "Checking missing grids in log data";
inline constexpr std::string_view kCheckDatesTitle = "Checking dates in log data";
inline constexpr std::string_view kLogJunkFileName = "Viewer_local_log.csv - MOD";
inline constexpr std::string_view kCheckMyGridCaption = "Check My Grid function";
inline constexpr std::string_view kCheckMyGridNotApplicable = "Not applicable to your use.";

struct RepairResult {
    LogLines lines;
    std::size_t changed = 0;  // lines that the repair changed
};

// Fills an empty grid (field 6) from the first entry of the grids list ("CALL,GRID" lines) whose
// callsign equals the line's exactly, letter case included, and whose grid is not empty. The
// filled line is trimmed of blanks at both ends. Lines without a callsign are left unchanged.
RepairResult check_grids_in_log(const LogLines& localLog, const LogLines& gridsList,
                                const RepairProgress& progress = {});

// Rewrites lines whose start date (field 1) holds "/": both dates become yyyy-mm-dd and both
// times get their leading zero; the rest of the line from the callsign on is kept, trimmed. An
// end date already in the new form is kept as it is. Lines without a callsign are left
// unchanged. The caller saves the lines and sets the dates-run flag.
RepairResult check_dates_in_log(const LogLines& localLog, const RepairProgress& progress = {});

// d/m/yyyy gives yyyy-mm-dd; yyyy-m-d gives dd/mm/yyyy. One-character day and month get a "0".
std::string ConvertDate(std::string_view text);
// A seven-character time gets a leading "0" (9:05:00 gives 09:05:00); other texts are unchanged.
std::string PadTime(std::string_view text);

// The lines of "Viewer_local_log.csv - MOD" for the lines of the log file: a line whose antenna
// (field 17 on) holds "]" is cut after its first "]" there and ends in ","; any other line keeps
// fields 1 to 16 joined by ",". Empty lines carry no contact and are not written.
LogLines RemoveLogJunk(const LogLines& fileLines, const RepairProgress& progress = {});

// Empties the comment (field 12) of every line that has one; `changed` is shown in the entries box.
RepairResult ZapUserField(const LogLines& localLog, const RepairProgress& progress = {});

// The maker-station repair, applicable when the operator callsign begins with QQ0XYZ. It drops
// pieces beyond the antenna (field 17, whose band list in square brackets may hold commas),
// completes the grid RR99 or a missing grid to RR99XX for QQ0XYZ and QX0XYZ, and shortens long
// callsigns at RR99XX to QQ0XYZ or QX0XYZ; then sorts the log ignoring letter case. The caller
// first saves the log to the backup file MyGridBackupName(now) and shows the result's line count.
struct MyGridResult {
    bool applicable = false;  // false: show kCheckMyGridNotApplicable; `lines` is the log unchanged
    LogLines lines;
    std::size_t changed = 0;
};
MyGridResult CheckMyGrid(const LogLines& localLog, std::string_view operatorCallsign,
                         const RepairProgress& progress = {});
// "Viewer_local_log ddmmyy hhnnss.txt".
std::string MyGridBackupName(const LocalTime& now);

}  // namespace vantrel
