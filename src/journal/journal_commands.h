// The journal tools from the command line: they read the viewer folder's journal copy as the
// window does, print to standard output and take no lock (they only read, apart from
// RecentList.txt, which the window also writes whole in one step).
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

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

// The operator's callsign from the viewer folder's copy of WSJT-X's configuration; empty when
// there is none.
std::string ViewerCallsign(const std::filesystem::path& viewerFolder);

}  // namespace vantrel
