// The journal tools from the command line: they read the viewer folder's journal copy as the
// window does, print to standard output and take no lock (they only read, apart from
// RecentList.txt, which the window also writes whole in one step).
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "log/local_log_record.h"

namespace vantrel {

// vantrel --journal TEXT: the rows the search panel lists for TEXT, one per line, the eight
// fields of each separated by TAB. Returns 0 when the journal was searched (even when nothing
// matched), 1 when the journal copy is missing, empty or unreadable (said on `err`).
int RunJournalCommand(const std::filesystem::path& viewerFolder, std::string_view text,
                      std::ostream& out, std::ostream& err);

// vantrel --recent: writes RecentList.txt for the operator's callsign as the menu entry does and
// prints its path. Returns 0 when written, 1 when the journal copy cannot be read or the file
// cannot be written (said on `err`).
int RunRecentCommand(const std::filesystem::path& viewerFolder, std::string_view callsign,
                     std::ostream& out, std::ostream& err);

// vantrel --audit [--since DATE]: the journal-to-log audit of the journal copy against the local
// log: three lists, each under a heading line, TAB between the fields, then the summary line.
// `station` is the operator's (callsign and grid). `since` is empty or a date "yyyy-mm-dd" from which on exchanges and log lines are listed.
// Returns 0 when every exchange is in the log, 1 when one is not or the journal, the log or the
// operator's callsign cannot be read (said on `err`), 2 when `since` is not a date.
int RunAuditCommand(const std::filesystem::path& viewerFolder, const StationDetails& station, std::string_view since,
                    std::ostream& out, std::ostream& err);

// The operator's callsign from the viewer folder's copy of WSJT-X's configuration; empty when
// there is none.
std::string ViewerCallsign(const std::filesystem::path& viewerFolder);

}  // namespace vantrel
