// A logged contact received as an ADIF record, turned into a local log line or an import line.
#pragma once

#include <string>
#include <string_view>

#include "adif/adif_reader.h"
#include "base/time_text.h"
#include "log/local_log_record.h"

namespace vantrel {

// The local log line for a contact that WSJT-X reported: the seventeen fields, each followed by
// ",". Dates become yyyy-mm-dd and times hh:mm:ss; an MFSK mode becomes its submode (FT4, FST4,
// Q65); the other operator's name is field 13. Commas are removed from every value but the
// antenna (whose band list in brackets holds them), line breaks and tabs become blanks and the
// other control bytes (NUL among them) are dropped, so the line always has its seventeen fields. The station's own callsign, grid, rig and antenna fill in
// what the record leaves absent or empty.
std::string AdifRecordToLine(const AdifRecord& record, const StationDetails& station);
std::string AdifRecordToLine(std::string_view recordText, const StationDetails& station);

// The line of an ADIF import: the same fields without the name and without defaults, so the
// station callsign is field 13 and the line has sixteen fields, each followed by ",".
std::string AdifRecordToImportLine(const AdifRecord& record);
std::string AdifRecordToImportLine(std::string_view recordText);

// "yyyymmdd" to "yyyy-mm-dd" and "hhmmss" (or "hhmm") to "hh:mm:ss"; other texts stay as they are.
std::string AdifDateToText(std::string_view value);
std::string AdifTimeToText(std::string_view value);

// The file that keeps every received datagram with "/RAWUDP": "RAWUDP yymmdd.txt".
std::string RawUdpFileName(const LocalTime& today);

}  // namespace vantrel
