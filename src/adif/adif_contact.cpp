#include "adif/adif_contact.h"

#include <cstdio>

#include "log/contact_checks.h"

namespace vantrel {

namespace {

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// Appends the value and ",": commas dropped (unless kept), line breaks and tabs turned into
// blanks, NUL and the other control bytes dropped, so no value can break the line's layout; a
// value longer than other loggers accept is cut.
void AppendField(std::string& line, std::string_view value, bool keepCommas = false) {
    for (char c : CapFreeText(value)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ',' && !keepCommas) continue;
        if (c == '\r' || c == '\n' || c == '\t')
            line.push_back(' ');
        else if (byte >= 0x20 && byte != 0x7F)
            line.push_back(c);
    }
    line.push_back(',');
}

std::string_view ModeOf(const AdifRecord& record) {
    const std::string_view mode = record.Value("mode");
    if (mode.find("MFSK") != std::string_view::npos) {
        const std::string_view submode = record.Value("submode");
        if (!submode.empty()) return submode;
    }
    return mode;
}

std::string_view Or(std::string_view value, std::string_view fallback) {
    return value.empty() ? fallback : value;
}

// Fields 1-12, shared by the log line and the import line.
void AppendContactFields(std::string& line, const AdifRecord& record) {
    AppendField(line, AdifDateToText(record.Value("qso_date")));
    AppendField(line, AdifTimeToText(record.Value("time_on")));
    AppendField(line, AdifDateToText(record.Value("qso_date_off")));
    AppendField(line, AdifTimeToText(record.Value("time_off")));
    AppendField(line, record.Value("call"));
    AppendField(line, record.Value("gridsquare"));
    AppendField(line, record.Value("freq"));
    AppendField(line, ModeOf(record));
    AppendField(line, record.Value("rst_sent"));
    AppendField(line, record.Value("rst_rcvd"));
    AppendField(line, record.Value("tx_pwr"));
    AppendField(line, record.Value("comment"));
}

}  // namespace

std::string AdifDateToText(std::string_view value) {
    if (value.size() != 8 || !AllDigits(value)) return std::string(value);
    std::string text;
    text.reserve(10);
    text.append(value.substr(0, 4)).append("-").append(value.substr(4, 2)).append("-").append(value.substr(6, 2));
    return text;
}

std::string AdifTimeToText(std::string_view value) {
    if ((value.size() != 6 && value.size() != 4) || !AllDigits(value)) return std::string(value);
    std::string text;
    text.reserve(8);
    text.append(value.substr(0, 2)).append(":").append(value.substr(2, 2)).append(":");
    text.append(value.size() == 6 ? value.substr(4, 2) : std::string_view("00"));
    return text;
}

std::string AdifRecordToLine(const AdifRecord& record, const StationDetails& station) {
    std::string line;
    line.reserve(160);
    AppendContactFields(line, record);
    AppendField(line, record.Value("name"));
    AppendField(line, Or(record.Value("station_callsign"), station.call));
    AppendField(line, Or(record.Value("my_gridsquare"), station.grid));
    AppendField(line, Or(record.Value("rig"), station.rig));
    AppendField(line, Or(record.Value("my_antenna"), station.antenna), /*keepCommas=*/true);
    return line;
}

std::string AdifRecordToLine(std::string_view recordText, const StationDetails& station) {
    return AdifRecordToLine(ReadFirstAdifRecord(recordText), station);
}

std::string AdifRecordToImportLine(const AdifRecord& record) {
    std::string line;
    line.reserve(160);
    AppendContactFields(line, record);
    AppendField(line, record.Value("station_callsign"));
    AppendField(line, record.Value("my_gridsquare"));
    AppendField(line, record.Value("rig"));
    AppendField(line, record.Value("my_antenna"), /*keepCommas=*/true);
    return line;
}

std::string AdifRecordToImportLine(std::string_view recordText) {
    return AdifRecordToImportLine(ReadFirstAdifRecord(recordText));
}

std::string RawUdpFileName(const LocalTime& today) {
    char name[64];
    std::snprintf(name, sizeof name, "RAWUDP %02d%02d%02d.txt", today.year % 100, today.month, today.day);
    return name;
}

}  // namespace vantrel
