// The log-entry maker: the journal lines of one contact, as the search panel lists them, turned
// into a ready local log line, so that a contact that only the journal holds can be logged.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_line.h"
#include "log/local_log_record.h"

namespace vantrel {

// The maker takes at most this many rows.
inline constexpr std::size_t kLogEntryMaxRows = 10;

struct LogEntry {
    std::string line;  // the local log line; empty when the rows give none
    std::string note;  // shown in the empty entry-line field: why there is no line
};

// Builds the local log line from the rows, top to bottom (the first kLogEntryMaxRows). A message
// is "TO FROM EXCHANGE". The other station is the one of the last row between the operator and
// another station; the contact's rows are those between the two. Its start is the first of them;
// its end the moment the operator's last RR73, RRR or 73 to them went out (WSJT-X logs then),
// else their last RR73, RRR or 73, else the last row. The grid is the locator the other station
// sent (to the operator or in a CQ); the report received comes from their rows to the operator,
// the report sent, the frequency, audio offset and mode from the operator's rows to them. Without
// a start stamp, the other station, either report or a frequency there is no line, and the note
// says what is missing ("No report from IW7SYW in the selection").
LogEntry MakeLogEntryLine(const std::vector<JournalLine>& rows, const StationDetails& station);

// A journal stamp as the log's date and time fields: "210412_123445" gives
// "2021-04-12,12:34:45". Missing characters are left out: an empty stamp gives "20--,::".
std::string JournalStampToLogDateTime(std::string_view stamp);

// The logged frequency: the dial frequency in MHz plus the audio offset in Hz, in MHz, in the
// shortest decimal form ("14.074" and "1234" give "14.075234"). Nothing when either is not a
// number.
std::optional<std::string> LoggedFrequencyText(std::string_view mhz, std::string_view hz);

// True when "Add to Log" may append the text as one line of the local log: it is not empty and
// holds no line break (which would split it into lines of another layout). `reason` says why not.
bool ValidLogEntryLine(std::string_view text, std::string* reason = nullptr);

}  // namespace vantrel
