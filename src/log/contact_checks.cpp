#include "log/contact_checks.h"

#include <cstdio>

#include "log/band_table.h"
#include "log/extract_field.h"

namespace vantrel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int Number(std::string_view digits) {
    int value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    return digits.empty() ? -1 : value;
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                                   : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (length == 0 || text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

// A value as the trace shows it: at most 40 bytes, control and non-ASCII bytes as \xHH.
std::string Shown(std::string_view value) {
    std::string shown = "\"";
    for (char c : value.substr(0, 40)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            shown += hex;
        } else {
            shown += c;
        }
    }
    shown += value.size() > 40 ? "\"... (" + std::to_string(value.size()) + " bytes)" : "\"";
    return shown;
}

}  // namespace

bool IsCallsign(std::string_view text) {
    if (text.size() < 3 || text.size() > 20) return false;
    bool letter = false, digit = false;
    for (char c : text) {
        if (IsLetter(c)) letter = true;
        else if (IsDigit(c)) digit = true;
        else if (c != '/') return false;
    }
    return letter && digit;
}

bool IsCalendarDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
    const int year = Number(text.substr(0, 4)), month = Number(text.substr(5, 2)), day = Number(text.substr(8, 2));
    if (year < 1930 || month < 1 || month > 12 || day < 1) return false;
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

bool IsTimeOfDay(std::string_view text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return false;
    const int hours = Number(text.substr(0, 2)), minutes = Number(text.substr(3, 2)), seconds = Number(text.substr(6, 2));
    return hours >= 0 && hours < 24 && minutes >= 0 && minutes < 60 && seconds >= 0 && seconds < 60;
}

bool IsRadioFrequency(std::string_view megahertz) {
    const std::size_t point = megahertz.find('.');
    const std::string_view whole = megahertz.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : megahertz.substr(point + 1);
    if (whole.empty() || whole.size() > 5 || fraction.size() > 9) return false;
    if (Number(whole) < 0 || (!fraction.empty() && Number(fraction) < 0)) return false;
    if (point != std::string_view::npos && fraction.empty()) return false;
    bool aboveZero = false;
    for (char c : megahertz) aboveZero = aboveZero || (c >= '1' && c <= '9');
    return aboveZero && Number(whole) <= TopOfBandTableMHz();
}

std::string_view CapFreeText(std::string_view value) {
    if (value.size() <= kFreeTextLimit) return value;
    std::size_t cut = kFreeTextLimit;
    if (IsUtf8(value))
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
    return value.substr(0, cut);
}

std::string ReceivedLineProblem(std::string_view line) {
    const std::string_view call = ExtractFieldView(line, ',', 5);
    if (!IsCallsign(call)) return "the call " + Shown(call) + " is no callsign";
    for (int field : {1, 3}) {
        const std::string_view date = ExtractFieldView(line, ',', static_cast<std::uint8_t>(field));
        if ((field == 1 || !date.empty()) && !IsCalendarDate(date))
            return std::string(field == 1 ? "qso_date " : "qso_date_off ") + Shown(date) + " is no date";
    }
    for (int field : {2, 4}) {
        const std::string_view time = ExtractFieldView(line, ',', static_cast<std::uint8_t>(field));
        if ((field == 2 || !time.empty()) && !IsTimeOfDay(time))
            return std::string(field == 2 ? "time_on " : "time_off ") + Shown(time) + " is no time of day";
    }
    const std::string_view freq = ExtractFieldView(line, ',', 7);
    if (!freq.empty() && !IsRadioFrequency(freq)) return "freq " + Shown(freq) + " is no radio frequency in MHz";
    return {};
}

}  // namespace vantrel
