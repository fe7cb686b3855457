// The checks a contact passes before it enters the local log: a callsign, a real date and time,
// a frequency on the radio spectrum the band table knows, and free text of a length other
// loggers accept.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

// The longest free-text value a log line keeps, in bytes.
inline constexpr std::size_t kFreeTextLimit = 255;

// Letters, digits and "/", 3 to 20 characters, at least one letter and one digit.
bool IsCallsign(std::string_view text);
// "yyyy-mm-dd", a day that exists (years from 1930, as ADIF has them).
bool IsCalendarDate(std::string_view text);
// "hh:mm:ss" within a day.
bool IsTimeOfDay(std::string_view text);
// Megahertz as a decimal number with a point, above 0 and within the band table's top band.
bool IsRadioFrequency(std::string_view megahertz);

// The value cut to kFreeTextLimit bytes; a UTF-8 text is never cut inside a character.
std::string_view CapFreeText(std::string_view value);

// Why a received contact's local log line may not be logged, naming the field ("the call
// "K1 AB" is no callsign"); empty when it may. The date and time the contact began are needed,
// its end and frequency may be empty.
std::string ReceivedLineProblem(std::string_view line);

}  // namespace vantrel
