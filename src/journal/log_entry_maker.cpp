#include "journal/log_entry_maker.h"

#include <charconv>

#include "log/line_text.h"

namespace vantrel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

// What the rows have given so far.
struct Exchange {
    std::string_view start, end, grid, report, rReport;
};

// Sorts one row's exchange into the values; the tests run one after another and each may
// apply. Positions past the end of the exchange match nothing.
void Classify(std::string_view ex, std::string_view stamp, Exchange& values) {
    auto at = [&](std::size_t i) { return i < ex.size() ? ex[i] : '\0'; };
    if (ex.size() == 4 && ex == "RR73") {
        values.end = stamp;
    } else if (ex.size() == 4 && IsLetter(ex[0]) && IsLetter(ex[1]) && IsDigit(ex[2]) && IsDigit(ex[3])) {
        values.grid = ex;
        values.start = stamp;
    }
    if ((at(0) == '+' || at(0) == '-') && IsDigit(at(1)) && IsDigit(at(2))) {
        values.report = ex;
        if (values.start.empty()) values.start = stamp;
    }
    if (at(0) == 'R' && (at(1) == '+' || at(1) == '-') && IsDigit(at(2)) && IsDigit(at(3))) values.rReport = ex;
    if (ex.starts_with("73")) values.end = stamp;
    if (ex.starts_with("RR73") && values.end.empty()) values.end = stamp;
    if (ex.starts_with("RRR") && values.end.empty()) values.end = stamp;
}

// Characters [from, from + count) that exist.
std::string_view Chars(std::string_view text, std::size_t from, std::size_t count) {
    return from < text.size() ? text.substr(from, count) : std::string_view();
}

std::optional<double> Number(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::string JournalStampToLogDateTime(std::string_view stamp) {
    const std::size_t underscore = stamp.find('_');
    const std::string_view date = stamp.substr(0, underscore);
    const std::string_view time = underscore == std::string_view::npos ? std::string_view() : stamp.substr(underscore + 1);
    std::string out = "20";
    out += Chars(date, 0, 2);
    out += '-';
    out += Chars(date, 2, 2);
    out += '-';
    out += Chars(date, 4, 2);
    out += ',';
    out += Chars(time, 0, 2);
    out += ':';
    out += Chars(time, 2, 2);
    out += ':';
    out += Chars(time, 4, 2);
    return out;
}

std::optional<std::string> LoggedFrequencyText(std::string_view mhz, std::string_view hz) {
    const auto megahertz = Number(mhz), hertz = Number(hz);
    if (!megahertz || !hertz) return std::nullopt;
    const double value = (*megahertz * 1000 + *hertz / 1000) / 1000;
    char text[64];
    // Fifteen significant digits, trailing zeros dropped, always with a point as the separator.
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return std::string(text, result.ptr);
}

bool ValidLogEntryLine(std::string_view text, std::string* reason) {
    if (TrimBlanks(text).empty()) {
        if (reason) *reason = "The entry line is empty.";
        return false;
    }
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        if (reason) *reason = "The entry line holds a line break, so it would not be one line of the log. Remove the line break and press \"Add to Log\" again.";
        return false;
    }
    return true;
}

LogEntry MakeLogEntryLine(const std::vector<JournalLine>& rows, const StationDetails& station) {
    Exchange values;
    std::string_view frequency, offset, mode, firstWord, secondWord;
    bool examined = false;
    const std::size_t taken = std::min(rows.size(), kLogEntryMaxRows);
    for (std::size_t r = 0; r < taken; ++r) {
        const JournalLine& row = rows[r];
        const std::string_view message = row.message;
        if (message.empty()) continue;
        examined = true;
        const std::size_t blank = message.find(' ');
        firstWord = blank == std::string_view::npos ? std::string_view() : TrimBlanks(message.substr(0, blank));
        // The rest starts at the first blank from the first word's last character on.
        const std::size_t restAt = message.find(' ', firstWord.empty() ? 0 : firstWord.size() - 1);
        const std::string_view rest = restAt == std::string_view::npos ? std::string_view() : TrimBlanks(message.substr(restAt));
        const std::size_t restBlank = rest.find(' ');
        secondWord = restBlank == std::string_view::npos ? std::string_view() : TrimBlanks(rest.substr(0, restBlank));
        const std::string sent = std::string(secondWord) + ' ';
        const std::size_t sentAt = message.find(sent);
        const std::string_view exchange =
            sentAt == std::string_view::npos ? std::string_view() : TrimBlanks(message.substr(sentAt + sent.size()));
        if (secondWord == station.call) {
            frequency = row.frequency;
            offset = row.offset;
            mode = row.mode;
        }
        Classify(exchange, row.date, values);
    }
    // Only a contact whose last row the operator sent is logged.
    if (!examined || station.call.empty() || secondWord.find(station.call) == std::string_view::npos) return {};
    const std::optional<std::string> frequencyText = LoggedFrequencyText(frequency, offset);
    if (!frequencyText) return {"", "No line sent by " + station.call + " in the selection"};

    const std::string reportSent(TrimBlanks(Chars(values.rReport, 1, 5)));
    const std::string_view reportReceived = values.report;
    std::string line;
    line += JournalStampToLogDateTime(values.start);
    line += ',';
    line += JournalStampToLogDateTime(values.end);
    for (std::string_view field : {firstWord, values.grid, std::string_view(*frequencyText), mode,
                                   std::string_view(reportSent), reportReceived, std::string_view()}) {
        line += ',';
        line += field;
    }
    line += ',';
    line += mode;
    line += "  Sent: ";
    line += reportSent;
    line += "  Rcvd: ";
    line += reportReceived;
    line += ',';  // the name stays empty
    line += StationSuffix(station);
    return {line, ""};
}

}  // namespace vantrel
