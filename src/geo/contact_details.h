// The details panel of one local-log contact, as lines for the panel widget, and the address of
// a callsign's page at the web lookup service.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct DetailsLine {
    std::string text;
    int colour = 4;  // palette number
    bool bold = true;
    bool underline = false;
};

// The panel's lines for a local-log line: the callsign with "    <-  weblink" (colour 1, bold,
// underlined), an empty line, the stored fields (colour 4) and the three click hints. The
// panel's background is yellow.
std::vector<DetailsLine> ContactDetails(std::string_view localLogLine);

// The number as the panel writes it: general decimal text with "." appended, cut after the
// character that follows the first "." ("152.0", "-27. ").
std::string DetailsNumberText(double value);

// The callsign of a click on the panel's top line: the line up to its first blank, trimmed.
std::string CallsignOfTopLine(std::string_view topLine);

// The services of the lookup box, in its order.
inline constexpr const char* kLookupServices[] = {"QRZ", "HamQTH", "QRZCQ"};

// The https address of the callsign's page at the service ("QRZ", "HamQTH" or "QRZCQ", exact
// text), the callsign percent-encoded (letters, digits and "-._~" kept). Empty for another
// service or an empty callsign (after trimming).
std::string LookupAddress(std::string_view service, std::string_view callsign);

}  // namespace vantrel
