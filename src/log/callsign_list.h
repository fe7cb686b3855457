// The callsign list: every callsign of the local log with its grid ("CALL,GRID", field 5, a comma
// and field 6 of a log line, untrimmed), sorted and free of duplicates, both ignoring letter
// case. It only grows while the program runs: each rebuild adds the entries it has not seen.
// Saved as calls.txt for the map; drawn in the main window as coloured groups of callsigns.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "log/coloured_line.h"
#include "log/line_text.h"
#include "log/log_lines.h"

namespace vantrel {

class CallsignList {
public:
    // Adds the entry unless one equal to it, ignoring letter case, is present. True when added.
    bool Add(std::string_view entry);
    // Adds many entries at once (faster than one by one); returns how many were new.
    std::size_t AddMany(const std::vector<std::string_view>& entries);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    const std::string& operator[](std::size_t i) const { return *entries_[i]; }
    bool Contains(std::string_view entry) const { return known_.find(entry) != known_.end(); }

    // The entries one per line, as calls.txt holds them.
    LogLines Lines() const;

private:
    // The texts live in the set's nodes, which never move; the sorted order points at them.
    std::unordered_set<std::string, HashNoCase, EqualNoCase> known_;
    std::vector<const std::string*> entries_;
};

// "field 5,field 6" of a local log line.
std::string CallsignEntry(std::string_view line);

// The rebuild: adds the entry of every line of the log. Returns how many entries were new.
std::size_t create_callsignlist(CallsignList& list, const LogLines& localLog, std::size_t first = 0);

// calls.txt, replaced in one step.
bool SaveCallsignList(const std::filesystem::path& file, const CallsignList& list,
                      std::string* error = nullptr);

// The callsign list box: one line per run of callsigns that share their first character (letter
// case ignored), each callsign followed by ", ". Lines cycle through Colour2, Colour3, Colour4,
// Colour1, ...; the last line takes the colour after the one in force. A list of fewer than two
// callsigns shows nothing. Entries with an empty callsign (a log line without one) are left out:
// they name no station and have no first character to group by. A callsign listed with several
// grids is shown once.
std::vector<ColouredLine> display_callsigns(const CallsignList& list);

// calls_in_log.txt: every distinct callsign of the log (field 5 with blanks trimmed, empty ones
// left out), followed by ",", sorted and deduplicated ignoring letter case.
LogLines CallsInLogLines(const LogLines& localLog);
// The same kept as a list that grows: adds the "CALL," entries of the lines from `first` on and
// returns how many were new; its Lines() are calls_in_log.txt.
std::size_t AddCallsInLog(CallsignList& calls, const LogLines& localLog, std::size_t first = 0);
bool WriteCallsInLog(const std::filesystem::path& file, const LogLines& localLog,
                     std::string* error = nullptr);

}  // namespace vantrel
