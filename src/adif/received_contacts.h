// Logged contacts that WSJT-X reports as ADIF text, from either of its two feeds, turned into
// local log lines.
//
// The N1MM datagram carries Latin-1 bytes whose field lengths count bytes. The LoggedADIF message
// of WSJT-X's own UDP protocol carries the same record (after a short header) as UTF-8 whose
// lengths count characters: WSJT-X counts the UTF-16 units of its text. That text is first turned
// into the bytes WSJT-X's datagram holds for it — each character up to U+00FF as its Latin-1 byte,
// every other UTF-16 unit as "?" — and then read by the datagram's rule. So the same contact gives
// the same local log line from both feeds, byte for byte, and the local log keeps Latin-1 text from
// either feed, as it always has from the datagram. A LoggedADIF text that is not UTF-8 (WSJT-X
// 2.6.1 puts its Latin-1 bytes there) is read as it stands.
//
// Every record of the text is read, and a record whose declared lengths do not fit (a length
// that runs past the end of the text or of the record) is unreadable: it gives no line, only the
// reason, and the records after it are still read.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "log/local_log_record.h"

namespace vantrel {

enum class ReceivedFeed {
    N1mmDatagram,  // the whole datagram of WSJT-X's N1MM broadcast
    LoggedAdif,    // the ADIF text field of a LoggedADIF message
};

struct ReceivedContact {
    std::string line;     // the local log line; empty when the record is unreadable
    std::string problem;  // empty when the contact can be logged; otherwise why not, for the trace
    bool readable() const { return problem.empty(); }
};

// The records of the text in order; none when it holds no ADIF field at all. A record without a
// callsign names no contact, and one whose call, date, time or frequency is not valid is no
// contact to log: it keeps its line for the trace but carries a problem naming the field.
std::vector<ReceivedContact> ReadReceivedContacts(std::string_view text, ReceivedFeed feed,
                                                  const StationDetails& station);

// The Latin-1 bytes of a UTF-8 text as WSJT-X converts its text for the N1MM datagram: one byte per
// character up to U+00FF, "?" for every other UTF-16 unit (two for a character beyond U+FFFF).
// Nothing when the text is not UTF-8 (a stray byte, an overlong form, a surrogate).
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

}  // namespace vantrel
