#include "journal/log_entry_maker.h"

#include <algorithm>
#include <charconv>

#include "log/line_text.h"

namespace vantrel {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsFieldLetter(char c) { return c >= 'A' && c <= 'R'; }

// A journal message "TO FROM EXCHANGE": the station called (or CQ), the sender and the rest.
struct Message {
    std::string_view to, from, exchange;
};

// A word without the angle brackets of a hashed callsign: "<W9XYZ>" reads W9XYZ.
std::string_view Callsign(std::string_view word) {
    if (word.size() > 2 && word.front() == '<' && word.back() == '>') return word.substr(1, word.size() - 2);
    return word;
}

std::string_view NextWord(std::string_view& text) {
    text = TrimBlanks(text);
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    text = blank == std::string_view::npos ? std::string_view() : TrimBlanks(text.substr(blank));
    return word;
}

bool HasDigit(std::string_view word) {
    for (char c : word)
        if (IsDigit(c)) return true;
    return false;
}

Message ReadMessage(std::string_view text) {
    Message m;
    m.to = Callsign(NextWord(text));
    m.from = Callsign(NextWord(text));
    // "CQ DX K1ABC FN42": a word without a digit after CQ is what the call is for, not a callsign.
    if (m.to == "CQ" && !m.from.empty() && !HasDigit(m.from) && !text.empty()) m.from = Callsign(NextWord(text));
    m.exchange = text;
    return m;
}

bool IsLocator(std::string_view ex) {
    return ex.size() == 4 && ex != "RR73" && IsFieldLetter(ex[0]) && IsFieldLetter(ex[1]) && IsDigit(ex[2]) &&
           IsDigit(ex[3]);
}

// The report of an exchange ("-12", "+03", or acknowledged "R-08" read as "-08"); empty when it
// holds none.
std::string_view Report(std::string_view ex) {
    if (ex.size() >= 4 && ex[0] == 'R') ex.remove_prefix(1);
    if (ex.size() >= 3 && (ex[0] == '+' || ex[0] == '-') && IsDigit(ex[1]) && IsDigit(ex[2])) return ex.substr(0, 3);
    return {};
}

bool EndsTheContact(std::string_view ex) {
    return ex.starts_with("RR73") || ex.starts_with("RRR") || ex.starts_with("73");
}

// WSJT-X logs a contact when the operator's last transmission ends: 13 s into a 15 s FT8
// period, 5 s into a 7.5 s FT4 one. Other modes: the period's start.
int TransmissionSeconds(std::string_view mode) {
    if (mode == "FT8") return 13;
    if (mode == "FT4") return 5;
    return 0;
}

// A "yyMMdd_hhmmss" stamp moved on by a few seconds, over minute, hour, day, month and year ends.
// A stamp of another shape stays as it is.
std::string StampPlusSeconds(std::string_view stamp, int seconds) {
    if (seconds == 0 || stamp.size() != 13 || stamp[6] != '_') return std::string(stamp);
    int v[6];
    for (int i = 0; i < 6; ++i) {
        const std::size_t at = i < 3 ? 2 * i : 2 * i + 1;
        if (!IsDigit(stamp[at]) || !IsDigit(stamp[at + 1])) return std::string(stamp);
        v[i] = (stamp[at] - '0') * 10 + (stamp[at + 1] - '0');
    }
    int& year = v[0];
    int& month = v[1];
    int& day = v[2];
    v[5] += seconds;
    v[4] += v[5] / 60, v[5] %= 60;
    v[3] += v[4] / 60, v[4] %= 60;
    day += v[3] / 24, v[3] %= 24;
    const bool leap = (2000 + year) % 4 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month >= 1 && month <= 12 && day > days[month - 1]) {
        day = 1;
        if (++month > 12) month = 1, year = (year + 1) % 100;
    }
    std::string text;
    for (int i = 0; i < 6; ++i) {
        if (i == 3) text += '_';
        text += static_cast<char>('0' + v[i] / 10 % 10);
        text += static_cast<char>('0' + v[i] % 10);
    }
    return text;
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
    const std::string_view me = station.call;
    if (me.empty()) return {"", "No callsign of the operator in WSJT-X's configuration"};
    const std::size_t taken = std::min(rows.size(), kLogEntryMaxRows);
    std::vector<Message> messages(taken);
    for (std::size_t r = 0; r < taken; ++r) messages[r] = ReadMessage(rows[r].message);

    // The other station: the one of the last row between the operator and another station.
    std::string_view them;
    for (std::size_t r = taken; r-- > 0 && them.empty();) {
        const Message& m = messages[r];
        if (m.from == me && !m.to.empty() && m.to != "CQ" && m.to != me) them = m.to;
        else if (m.to == me && !m.from.empty() && m.from != me) them = m.from;
    }
    if (them.empty()) return {"", "No message from or to " + station.call + " in the selection"};

    std::string_view start, grid, sent, received;
    const JournalLine* mine = nullptr;         // the operator's last row to them
    const JournalLine* myEnd = nullptr;        // the operator's last RR73, RRR or 73 to them
    std::string_view theirEnd, lastStamp;
    for (std::size_t r = 0; r < taken; ++r) {
        const Message& m = messages[r];
        const JournalLine& row = rows[r];
        // Their own locator, in a CQ or in any message they sent.
        if (m.from == them && IsLocator(m.exchange)) grid = m.exchange;
        const bool fromMe = m.from == me && m.to == them;
        const bool fromThem = m.from == them && m.to == me;
        if (!fromMe && !fromThem) continue;
        if (start.empty()) start = row.date;
        lastStamp = row.date;
        const std::string_view report = Report(m.exchange);
        if (fromMe) {
            mine = &row;
            if (!report.empty()) sent = report;
            if (EndsTheContact(m.exchange)) myEnd = &row;
        } else {
            if (!report.empty()) received = report;
            if (EndsTheContact(m.exchange)) theirEnd = row.date;
        }
    }
    const std::string call(them);
    if (start.empty()) return {"", "No date and time of the contact with " + call + " in the selection"};
    if (received.empty()) return {"", "No report from " + call + " in the selection"};
    if (sent.empty()) return {"", "No report sent to " + call + " in the selection"};
    const std::optional<std::string> frequencyText =
        mine ? LoggedFrequencyText(mine->frequency, mine->offset) : std::nullopt;
    if (!frequencyText) return {"", "No line sent by " + station.call + " in the selection"};
    const std::string end = myEnd ? StampPlusSeconds(myEnd->date, TransmissionSeconds(myEnd->mode))
                                  : std::string(theirEnd.empty() ? lastStamp : theirEnd);
    const std::string_view mode = mine->mode;

    std::string line;
    line += JournalStampToLogDateTime(start);
    line += ',';
    line += JournalStampToLogDateTime(end);
    for (std::string_view field : {them, grid, std::string_view(*frequencyText), mode, sent, received, std::string_view()}) {
        line += ',';
        line += field;
    }
    line += ',';
    line += mode;
    line += "  Sent: ";
    line += sent;
    line += "  Rcvd: ";
    line += received;
    line += ',';  // the name stays empty
    line += StationSuffix(station);
    return {line, ""};
}

}  // namespace vantrel
