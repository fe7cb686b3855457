// The station a decoded message names, for the list of stations heard: a station calling CQ (or
// QRZ), plain or directed ("CQ DX", "CQ POTA", "CQ 290"), and a station calling the operator
// (the message begins with the operator's own callsign). Other messages name no station of
// interest.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Other: the sender of a message to another station (only coloured in WSJT-X, never listed).
enum class HeardRole { CqCaller, CallingOperator, Other };

struct HeardStation {
    std::string call;  // upper case, "<...>" marks removed
    std::string grid;  // the 4-character locator the message carries, else empty
    HeardRole role = HeardRole::CqCaller;
};

// The message as WSJT-X shows it may carry decoder marks after a run of blanks ("? a1", "q0");
// they are not part of the message. A callsign sent only as a hash ("<...>") names nobody.
std::optional<HeardStation> StationInMessage(std::string_view message, std::string_view ownCall);

// The station that sent the message: the one StationInMessage names, else the second word of a
// message between two others ("K1ABC W9XYZ R-08" is W9XYZ's).
std::optional<HeardStation> SenderInMessage(std::string_view message, std::string_view ownCall);

// The message without the decoder's marks, which follow it after two or more blanks.
std::string_view DecodedMessageText(std::string_view message);

// Two letters A-R and two digits, not "RR73".
bool IsGridWord(std::string_view word);
// At least three characters of letters, digits and "/", with a letter and a digit among them.
bool LooksLikeCallsign(std::string_view word);

}  // namespace vantrel
