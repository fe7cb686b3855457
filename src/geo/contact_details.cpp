#include "geo/contact_details.h"
#include "log/line_text.h"

#include "geo/locator.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

std::string Field(std::string_view line, std::uint8_t n) { return ExtractField(line, ',', n); }

// The non-empty ones of two texts, joined by ", ".
std::string Pair(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a + b;
    return a + ", " + b;
}

// The antenna: the line from field 17 on without the line's final comma, since an antenna's
// band list may hold commas ("Vertical [7,14,21]").
std::string Antenna(std::string_view line) {
    std::size_t at = 0;
    for (int comma = 0; comma < 16; ++comma) {
        at = line.find(',', at);
        if (at == std::string_view::npos) return {};
        ++at;
    }
    std::string_view rest = line.substr(at);
    if (rest.ends_with(',')) rest.remove_suffix(1);
    return std::string(rest);
}

}  // namespace

std::string DetailsNumberText(double value) {
    std::string text = NumberText(value);
    const std::size_t point = text.find('.');
    // One decimal, cut rather than rounded; a whole number gets its ".0".
    if (point == std::string::npos) return text + ".0";
    return text.substr(0, point + 2);
}

std::vector<DetailsLine> ContactDetails(std::string_view line) {
    std::vector<DetailsLine> out;
    out.push_back({Field(line, 5) + "    <-  weblink", 1, true, true});
    out.push_back({"", 1, true, false});
    const auto add = [&](std::string text, int colour = 4) { out.push_back({std::move(text), colour, true, false}); };
    add("Name: " + Field(line, 13));
    const std::string grid = Field(line, 6);
    if (!grid.empty()) {
        add("Gridsquare: " + grid);
        const Position p = LocatorToPosition(grid);
        add("Lat: " + DetailsNumberText(p.latitude) + "  Long : " + DetailsNumberText(p.longitude));
    }
    add("QSO date: " + Field(line, 1) + " UTC");
    add("Starting: " + Field(line, 2) + " UTC");
    add("Freq: " + Field(line, 7));
    add("Mode: " + Field(line, 8));
    add("Report sent: " + Field(line, 9));
    add("Report back: " + Field(line, 10));
    add("");
    add("Tx power: " + Field(line, 11));
    add("Comments: " + Field(line, 12));
    add("My Call/Grid: " + Pair(Field(line, 14), Field(line, 15)));
    add("My Rig/Ant: " + Pair(Field(line, 16), Antenna(line)));
    add("");
    add("SINGLE LEFT CLICK on top callsign line to start weblink", 3);
    add("SINGLE LEFT CLICK anywhere else to close", 3);
    add("RIGHT CLICK to allow copy details to clipboard", 1);
    return out;
}

std::string CallsignOfTopLine(std::string_view topLine) {
    return std::string(TrimBlanks(topLine.substr(0, topLine.find(' '))));
}

std::string LookupAddress(std::string_view service, std::string_view callsign) {
    callsign = TrimBlanks(callsign);
    if (callsign.empty()) return {};
    std::string address;
    if (service == "HamQTH") address = "https://www.hamqth.com/";
    else if (service == "QRZCQ") address = "https://www.qrzcq.com/call/";
    else if (service == "QRZ") address = "https://www.qrz.com/db/";
    else return {};
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : callsign) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            address.push_back(c);
        } else {
            address.push_back('%');
            address.push_back(kHex[u >> 4]);
            address.push_back(kHex[u & 15]);
        }
    }
    return address;
}

}  // namespace vantrel
