#include "awards/confirmations.h"

#include <algorithm>
#include <charconv>

#include "log/band_table.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

// A value without LoTW's "// comment", should its declared length have taken one in.
std::string_view Val(const AdifRecord& record, std::string_view name) {
    std::string_view v = record.Value(name);
    const std::size_t comment = v.find(" //");
    if (comment != std::string_view::npos) v = TrimBlanks(v.substr(0, comment));
    return v;
}

bool ContainsNoCase(std::string_view text, std::string_view needle) {
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(), [](char a, char b) {
               return FoldCase(static_cast<unsigned char>(a)) == FoldCase(static_cast<unsigned char>(b));
           }) != text.end();
}

bool IsYes(std::string_view v) { return v == "Y" || v == "y"; }

int ToInt(std::string_view t, int otherwise) {
    int value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    return !t.empty() && error == std::errc() && end == t.data() + t.size() ? value : otherwise;
}

bool AllDigits(std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

void AppendField(std::string& out, std::string_view name, std::string_view value, bool always = false) {
    if (value.empty() && !always) return;
    out.append("<").append(name).append(":").append(std::to_string(value.size())).append(">");
    out.append(value).append(" ");
}

}  // namespace

std::optional<std::int64_t> UtcSeconds(std::string_view date, std::string_view time) {
    if (date.size() != 8 || !AllDigits(date) || (time.size() != 6 && time.size() != 4) || !AllDigits(time))
        return std::nullopt;
    const int y = ToInt(date.substr(0, 4), 0), m = ToInt(date.substr(4, 2), 0), d = ToInt(date.substr(6, 2), 0);
    const int hh = ToInt(time.substr(0, 2), 99), mm = ToInt(time.substr(2, 2), 99);
    const int ss = time.size() == 6 ? ToInt(time.substr(4, 2), 99) : 0;
    if (m < 1 || m > 12 || d < 1 || d > 31 || hh > 23 || mm > 59 || ss > 59) return std::nullopt;
    return DaysFromCivil(y, m, d) * 86400 + hh * 3600 + mm * 60 + ss;
}

int Confirmation::BandRow() const {
    const int row = BandRowOfName(band);
    return row >= 0 ? row : BandRowOfFrequency(freq);
}

std::int64_t Confirmation::TimeOnSeconds() const { return UtcSeconds(qsoDate, timeOn).value_or(0); }

bool RecordIsConfirmed(const AdifRecord& record) {
    return IsYes(Val(record, "qsl_rcvd")) || IsYes(Val(record, "lotw_qsl_rcvd")) ||
           IsYes(Val(record, "eqsl_qsl_rcvd"));
}

std::optional<Confirmation> ConfirmationFromRecord(const AdifRecord& record, std::string_view source) {
    if (!RecordIsConfirmed(record)) return std::nullopt;
    Confirmation c;
    c.call = UpperCase(Val(record, "call"));
    c.qsoDate = Val(record, "qso_date");
    c.timeOn = Val(record, "time_on");
    if (c.call.empty() || !UtcSeconds(c.qsoDate, c.timeOn)) return std::nullopt;
    c.freq = Val(record, "freq");
    int row = BandRowOfName(Val(record, "band"));
    if (row < 0) row = BandRowOfFrequency(c.freq);
    if (row < 0) return std::nullopt;
    c.band = BandOfRow(row);
    c.mode = Val(record, "mode");
    c.submode = Val(record, "submode");
    c.gridsquare = Val(record, "gridsquare");
    c.stationCallsign = Val(record, "station_callsign");
    c.myGridsquare = Val(record, "my_gridsquare");
    c.qslrDate = Val(record, "qslrdate");
    if (c.qslrDate.empty()) c.qslrDate = Val(record, "lotw_qslrdate");
    if (c.qslrDate.empty()) c.qslrDate = Val(record, "eqsl_qslrdate");
    c.dxcc = ToInt(Val(record, "dxcc"), -1);
    c.cqZone = ToInt(Val(record, "cqz"), 0);
    if (c.cqZone < 1 || c.cqZone > 40) c.cqZone = 0;
    const std::string_view stored = Val(record, "app_vantrel_source");
    c.source = stored.empty() ? std::string(source) : std::string(stored);
    c.lotwRxQsl = Val(record, "app_lotw_rxqsl");
    return c;
}

std::string ConfirmationRecordLine(const Confirmation& c) {
    std::string out;
    out.reserve(256);
    AppendField(out, "call", c.call, true);
    AppendField(out, "gridsquare", c.gridsquare);
    AppendField(out, "mode", c.mode, true);
    AppendField(out, "submode", c.submode);
    AppendField(out, "qso_date", c.qsoDate, true);
    AppendField(out, "time_on", c.timeOn, true);
    AppendField(out, "band", c.band, true);
    AppendField(out, "freq", c.freq);
    AppendField(out, "station_callsign", c.stationCallsign);
    AppendField(out, "my_gridsquare", c.myGridsquare);
    AppendField(out, "qsl_rcvd", "Y");
    AppendField(out, "qslrdate", c.qslrDate);
    if (c.dxcc >= 0) AppendField(out, "dxcc", std::to_string(c.dxcc));
    if (c.cqZone > 0) AppendField(out, "cqz", std::to_string(c.cqZone));
    AppendField(out, "app_lotw_rxqsl", c.lotwRxQsl);
    AppendField(out, "app_vantrel_source", c.source);
    out.append("<eor>\r\n");
    return out;
}

std::uint64_t ConfirmationIndex::KeyOf(std::string_view call, int bandRow, ModeGroup group) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    const auto mix = [&](unsigned char c) { hash = (hash ^ c) * 1099511628211ull; };
    for (const char c : TrimBlanks(call)) mix(c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c);
    mix('\t');
    mix(static_cast<unsigned char>(bandRow + 1));
    mix(static_cast<unsigned char>(group));
    return hash;
}

bool ConfirmationIndex::SameKey(const Entry& entry, std::string_view call, int bandRow, ModeGroup group) const {
    return entry.bandRow == bandRow && entry.group == group && SameTextNoCase(all_[entry.index].call, TrimBlanks(call));
}

bool ConfirmationIndex::Holds(const Confirmation& confirmation) const {
    const std::int64_t time = confirmation.TimeOnSeconds();
    const int bandRow = confirmation.BandRow();
    const ModeGroup group = confirmation.Group();
    const auto found = byKey_.find(KeyOf(confirmation.call, bandRow, group));
    if (found == byKey_.end()) return false;
    const auto& entries = found->second;
    auto at = std::lower_bound(entries.begin(), entries.end(), time,
                               [](const Entry& e, std::int64_t t) { return e.time < t; });
    for (; at != entries.end() && at->time == time; ++at)
        if (SameKey(*at, confirmation.call, bandRow, group)) return true;
    return false;
}

bool ConfirmationIndex::Add(Confirmation confirmation) {
    confirmation.call = UpperCase(TrimBlanks(confirmation.call));
    if (Holds(confirmation)) return false;
    const std::int64_t time = confirmation.TimeOnSeconds();
    const int bandRow = confirmation.BandRow();
    const ModeGroup group = confirmation.Group();
    auto& entries = byKey_[KeyOf(confirmation.call, bandRow, group)];
    const auto at = std::lower_bound(entries.begin(), entries.end(), time,
                                     [](const Entry& e, std::int64_t t) { return e.time < t; });
    entries.insert(at, Entry{time, static_cast<std::uint32_t>(all_.size()), static_cast<std::int16_t>(bandRow), group});
    if (confirmation.source == kSourceLotw && confirmation.lotwRxQsl > lastLotwQsl_)
        lastLotwQsl_ = confirmation.lotwRxQsl;
    all_.push_back(std::move(confirmation));
    return true;
}

const Confirmation* ConfirmationIndex::Match(std::string_view call, int bandRow, ModeGroup group,
                                             std::int64_t time) const {
    if (all_.empty()) return nullptr;
    const auto found = byKey_.find(KeyOf(call, bandRow, group));
    if (found == byKey_.end()) return nullptr;
    const auto& entries = found->second;
    auto at = std::lower_bound(entries.begin(), entries.end(), time - kConfirmationWindowSeconds,
                               [](const Entry& e, std::int64_t t) { return e.time < t; });
    const Entry* best = nullptr;
    for (; at != entries.end() && at->time <= time + kConfirmationWindowSeconds; ++at)
        if ((!best || std::llabs(at->time - time) < std::llabs(best->time - time)) && SameKey(*at, call, bandRow, group))
            best = &*at;
    return best ? &all_[best->index] : nullptr;
}

const Confirmation* ConfirmationIndex::Match(const Confirmation& contact) const {
    return Match(contact.call, contact.BandRow(), contact.Group(), contact.TimeOnSeconds());
}

std::vector<Confirmation> ConfirmationsInAdif(std::string_view bytes, std::string_view source) {
    std::vector<Confirmation> out;
    AdifRecordReader reader(bytes);
    AdifRecord record;
    while (reader.Next(record))
        if (record.ended)
            if (auto c = ConfirmationFromRecord(record, source)) out.push_back(std::move(*c));
    return out;
}

LotwReport ParseLotwReport(std::string_view bytes) {
    LotwReport report;
    if (ContainsNoCase(bytes.substr(0, 4096), "<html") || ContainsNoCase(bytes.substr(0, 4096), "<!doctype")) {
        report.status = LotwReport::Status::HtmlPage;
        report.problem = "LoTW answered with a web page, not a report (a wrong login or password, or LoTW is busy)";
        return report;
    }
    if (!ContainsNoCase(bytes, "<eoh>")) {
        report.status = LotwReport::Status::NotAdif;
        report.problem = "The answer is not an ADIF report";
        return report;
    }
    AdifRecordReader reader(bytes);
    AdifRecord record;
    bool endMark = false;
    while (reader.Next(record)) {
        if (!record.ended) {
            // What follows the last "<eor>": LoTW's end mark, or a record cut off.
            for (const AdifField& f : record.fields)
                if (AdifNamesEqual(f.name, "app_lotw_eof")) endMark = true;
            if (!endMark) ++report.records;
            continue;
        }
        ++report.records;
        if (!IsYes(Val(record, "qsl_rcvd"))) continue;
        if (auto c = ConfirmationFromRecord(record, kSourceLotw)) report.confirmations.push_back(std::move(*c));
    }
    // The end mark has no length, so the reader does not see it as a field: look for it as text.
    if (!endMark) endMark = ContainsNoCase(bytes.substr(bytes.size() > 256 ? bytes.size() - 256 : 0), "<app_lotw_eof>");
    for (const AdifField& f : reader.Header()) {
        if (AdifNamesEqual(f.name, "app_lotw_lastqsl")) report.lastQsl = TrimBlanks(f.value);
        if (AdifNamesEqual(f.name, "app_lotw_numrec")) report.numRec = ToInt(TrimBlanks(f.value), -1);
    }
    if (!endMark) {
        report.status = LotwReport::Status::Truncated;
        report.problem = "The report from LoTW was cut off (its end mark is missing)";
    } else if (report.numRec >= 0 && report.records != static_cast<std::size_t>(report.numRec)) {
        report.status = LotwReport::Status::Truncated;
        report.problem = "The report from LoTW holds " + std::to_string(report.records) + " records, not the " +
                         std::to_string(report.numRec) + " it announces";
    } else {
        report.status = LotwReport::Status::Complete;
    }
    return report;
}

}  // namespace vantrel
