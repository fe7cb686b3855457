#include "journal/journal_audit.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <optional>

#include "base/byte_scan.h"
#include "journal/journal_line.h"
#include "journal/journal_reader.h"
#include "journal/log_entry_maker.h"
#include "log/band_table.h"
#include "log/contact_identity.h"
#include "log/extract_field.h"
#include "log/line_text.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

constexpr std::int64_t kExchangeSpan = 600;   // an exchange's lines lie within ten minutes
constexpr std::int64_t kHashedReach = 120;    // "<...>" joins the exchange active this recently
constexpr std::int64_t kLogSlack = 120;       // a logged time on within the exchange's span ± 2 min
constexpr std::int64_t kTwiceWindow = 600;
constexpr std::int64_t kTraceWindow = 1800;

// Days since 1970-01-01 of a civil date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool Digits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) return false;
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::int64_t Seconds(int year, int month, int day, int hour, int minute, int second) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 60) return -1;
    return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
           hour * 3600 + minute * 60 + second;
}

// A word without the angle brackets of a hashed callsign: "<K1ABC>" reads K1ABC.
std::string_view Callsign(std::string_view word) {
    if (word.size() > 2 && word.front() == '<' && word.back() == '>') return word.substr(1, word.size() - 2);
    return word;
}

// Call number, band row and mode number of an open exchange as one key; the low 16 bits hold the
// band and mode.
std::uint64_t OpenKey(std::uint32_t call, int band, std::size_t mode) {
    return static_cast<std::uint64_t>(call) << 16 | static_cast<std::uint64_t>(band + 1) << 8 | (mode & 0xFF);
}

bool IsReport(std::string_view w) {
    return w.size() == 3 && (w[0] == '-' || w[0] == '+') && w[1] >= '0' && w[1] <= '9' && w[2] >= '0' &&
           w[2] <= '9';
}
bool IsRReport(std::string_view w) { return w.size() == 4 && w[0] == 'R' && IsReport(w.substr(1)); }
bool IsLocator4(std::string_view w) {
    return w.size() == 4 && w[0] >= 'A' && w[0] <= 'R' && w[1] >= 'A' && w[1] <= 'R' && w[2] >= '0' &&
           w[2] <= '9' && w[3] >= '0' && w[3] <= '9' && w != "RR73";
}

std::string Thousands(std::size_t n) {
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

}  // namespace

std::int64_t JournalStampSeconds(std::string_view stamp) {
    int yy, mm, dd, h, m, s = 0;
    if (stamp.size() < 11 || stamp[6] != '_' || !Digits(stamp, 0, 2, yy) || !Digits(stamp, 2, 2, mm) ||
        !Digits(stamp, 4, 2, dd) || !Digits(stamp, 7, 2, h) || !Digits(stamp, 9, 2, m))
        return -1;
    if (stamp.size() >= 13 && !Digits(stamp, 11, 2, s)) return -1;
    return Seconds(2000 + yy, mm, dd, h, m, s);
}

std::string AuditDate(std::int64_t seconds) {
    const std::int64_t z = (seconds >= 0 ? seconds : seconds - 86399) / 86400 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(y), m, d);
    return text;
}

ExchangeFinder::ExchangeFinder(StationDetails station) : station_(std::move(station)), me_(UpperCase(station_.call)) {}

namespace {

// The call in upper case, in `buffer` when it fits there.
std::string_view UpperCall(std::string_view call, std::array<char, 24>& buffer, std::string& longer) {
    if (call.size() > buffer.size()) return longer = UpperCase(call);
    for (std::size_t i = 0; i < call.size(); ++i)
        buffer[i] = call[i] >= 'a' && call[i] <= 'z' ? static_cast<char>(call[i] - ('a' - 'A')) : call[i];
    return {buffer.data(), call.size()};
}

}  // namespace

std::uint32_t ExchangeFinder::Number(std::string_view call) {
    std::array<char, 24> buffer;
    std::string longer;
    const std::string_view upper = UpperCall(call, buffer, longer);
    const auto found = numbers_.find(upper);
    if (found != numbers_.end()) return found->second;
    const auto number = static_cast<std::uint32_t>(calls_.size());
    calls_.emplace_back(upper);
    traces_.emplace_back();
    numbers_.emplace(calls_.back(), number);
    return number;
}

std::optional<std::uint32_t> ExchangeFinder::CallNumber(std::string_view call) const {
    std::array<char, 24> buffer;
    std::string longer;
    const auto found = numbers_.find(UpperCall(call, buffer, longer));
    if (found == numbers_.end()) return std::nullopt;
    return found->second;
}

void ExchangeFinder::AddLine(std::string_view line, std::uint64_t offset, std::string_view before) {
    const std::string_view text = JournalLineText(line);
    if (me_.empty() || !IsDatedJournalLine(text)) return;
    const JournalWords<11> words(text);
    const std::int64_t when = JournalStampSeconds(words.word(1));
    if (when < 0) return;
    if (first_ < 0 || when < first_) first_ = when;
    if (when > last_) last_ = when;
    const std::string_view to = Callsign(words.message(1)), from = Callsign(words.message(2));
    bool fromMe;
    std::string_view other;
    if (SameTextNoCase(from, me_) && !SameTextNoCase(to, "CQ") && !SameTextNoCase(to, "QRZ") &&
        !SameTextNoCase(to, "DE")) {
        fromMe = true;
        other = to;
    } else if (SameTextNoCase(to, me_)) {
        fromMe = false;
        other = from;
    } else {
        return;
    }
    if (SameTextNoCase(other, me_)) return;
    const int band = BandRowOfFrequency(words.word(2));
    const std::string_view modeWord = words.word(4);
    std::size_t mode = 0;
    while (mode < modes_.size() && !SameTextNoCase(modes_[mode], modeWord)) ++mode;
    if (mode == modes_.size()) modes_.push_back(UpperCase(modeWord));
    if (when > lastExpiry_ + 60) Expire(when);
    std::uint32_t number = 0;
    if (other == "..." || other.empty()) {
        // A hashed call: the exchange on this band and mode active last.
        const Open* latest = nullptr;
        for (const Open& open : open_)
            if ((open.key & 0xFFFF) == OpenKey(0, band, mode) && when - open.last <= kHashedReach &&
                (!latest || open.last > latest->last)) {
                latest = &open;
                number = static_cast<std::uint32_t>(open.key >> 16);
            }
        if (!latest) return;
    } else {
        number = Number(other);
    }
    // One trace a minute is enough for a window of half an hour.
    auto& traces = traces_[number];
    if (traces.empty() || traces.back().first != band || when - traces.back().second >= 60) traces.emplace_back(band, when);
    const std::string_view third = words.message(3);
    char extra[8] = {};
    const std::size_t extraSize = third.size() < sizeof extra ? third.size() : 0;
    for (std::size_t i = 0; i < extraSize; ++i) extra[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(third[i])));
    Consider(number, fromMe, std::string_view(extra, extraSize), when, band, mode, offset, before);
}

void ExchangeFinder::Consider(std::uint32_t other, bool fromMe, std::string_view extra, std::int64_t when, int band,
                              std::size_t mode, std::uint64_t offset, std::string_view before) {
    const std::string& call = calls_[other];
    const std::uint64_t key = OpenKey(other, band, mode);
    // The latest open exchange of this call, band and mode.
    Open* open = nullptr;
    for (auto it = open_.rbegin(); it != open_.rend() && !open; ++it)
        if (it->key == key) open = &*it;
    // A completed exchange takes only its closing words; anything else begins the next one (the
    // same station worked again a few minutes later).
    const bool closing = extra == "RR73" || extra == "RRR" || extra == "73";
    if (!open || when - open->start > kExchangeSpan || (open->index != SIZE_MAX && !closing)) {
        open = &open_.emplace_back();
        open->key = key;
        open->start = when;
        if (fromMe) {
            // The operator answered: their CQ, just before, holds their grid.
            const std::string_view b = before.substr(before.size() > 65536 ? before.size() - 65536 : 0);
            const std::uint64_t bStart = offset - b.size();
            std::size_t pos = b.size();
            for (int hits = 0; hits < 32 && pos > 0; ++hits) {
                pos = b.rfind(call, pos - 1);
                if (pos == std::string_view::npos) break;
                const std::size_t lf = b.rfind('\n', pos);
                const std::size_t lineStart = lf == std::string_view::npos ? 0 : lf + 1;
                const std::size_t lineEnd = std::min(b.find('\n', pos), b.size());
                const std::string_view cq = b.substr(lineStart, lineEnd - lineStart);
                const JournalWords<12> w(cq);
                const std::int64_t at = JournalStampSeconds(w.word(1));
                if (at >= 0 && when - at > kExchangeSpan) break;
                if (!SameTextNoCase(w.message(1), "CQ")) continue;
                const std::size_t n = w.count >= kJournalFirstMessageWord ? w.count - kJournalFirstMessageWord + 1 : 0;
                if (n >= 3 && SameTextNoCase(Callsign(w.message(n - 1)), call) &&
                    IsLocator4(UpperCase(w.message(n)))) {
                    open->grid = UpperCase(w.message(n));
                    open->rows[open->rowCount++] = bStart + lineStart;
                }
                break;
            }
        }
    }
    open->last = when;
    // The first line and the latest ones are kept.
    if (open->rowCount == open->rows.size()) {
        std::move(open->rows.begin() + 2, open->rows.end(), open->rows.begin() + 1);
        --open->rowCount;
    }
    open->rows[open->rowCount++] = offset;
    if (fromMe) {
        if (IsReport(extra) || IsRReport(extra)) {
            open->sentReport = true;
            open->reportSent = std::string(extra.substr(extra.size() - 3));
        } else if ((extra == "RR73" || extra == "RRR") && open->receivedR) {
            open->ended = true;
        }
    } else {
        if (IsReport(extra) || IsRReport(extra)) {
            open->receivedReport = true;
            open->reportReceived = std::string(extra.substr(extra.size() - 3));
            if (IsRReport(extra)) open->receivedR = true;
        } else if (closing) {
            open->ended = true;
        } else if (IsLocator4(extra)) {
            open->grid = std::string(extra);
        }
    }
    if (!(open->sentReport && open->receivedReport && open->ended)) return;
    if (open->index == SIZE_MAX) {
        open->index = exchanges_.size();
        AuditExchange& exchange = exchanges_.emplace_back();
        exchange.start = open->start;
        exchange.call = call;
        exchange.callNumber = other;
        exchange.band = band;
        exchange.mode = modes_[mode];
    }
    AuditExchange& exchange = exchanges_[open->index];
    exchange.end = when;
    exchange.grid = open->grid;
    exchange.reportSent = open->reportSent;
    exchange.reportReceived = open->reportReceived;
    exchange.rows = open->rows;
    exchange.rowCount = open->rowCount;
}

void ExchangeFinder::Expire(std::int64_t now) {
    lastExpiry_ = now;
    std::erase_if(open_, [&](const Open& open) { return now - open.start > kExchangeSpan; });
}

std::string AuditLogLine(JournalReader& journal, const AuditExchange& exchange, const StationDetails& station) {
    std::vector<std::string> forms;
    for (std::size_t i = 0; i < exchange.rowCount; ++i) {
        const std::uint64_t at = exchange.rows[i];
        if (at >= journal.Size()) return {};
        std::string bytes;
        if (!journal.ReadAt(at, static_cast<std::size_t>(std::min<std::uint64_t>(512, journal.Size() - at)), bytes))
            return {};
        forms.push_back(JournalSearchForm(bytes.substr(0, bytes.find('\n'))));
    }
    std::vector<JournalLine> rows;
    for (const std::string& form : forms) rows.push_back(CutJournalLine(form));
    return MakeLogEntryLine(rows, station).line;
}

bool ExchangeFinder::HasTrace(std::uint32_t call, int band, std::int64_t when, std::int64_t window) const {
    if (call >= traces_.size()) return false;
    for (const auto& [lineBand, at] : traces_[call])
        if (lineBand == band && at >= when - window && at <= when + window) return true;
    return false;
}

bool ReadJournalForAudit(const std::filesystem::path& journal, ExchangeFinder& finder,
                         const std::atomic<bool>* cancelled, std::string* error, std::uint64_t from,
                         std::uint64_t* end, std::atomic<std::uint64_t>* readBytes) {
    JournalReader reader;
    if (!reader.Open(journal, error)) return false;
    const std::string& me = finder.OperatorCall();
    const JournalReader::ScanEnd scan = reader.Scan(
        from,
        [&](std::string_view block, std::uint64_t offset) {
            if (cancelled && cancelled->load(std::memory_order_relaxed)) return false;
            if (readBytes) readBytes->store(offset + block.size(), std::memory_order_relaxed);
            std::size_t pos = 0;
            for (;;) {
                const std::size_t hit = me.empty() ? std::string_view::npos : FindTextNoCase(block, me, pos);
                if (hit == std::string_view::npos) break;
                const std::size_t lf = hit == 0 ? std::string_view::npos : block.rfind('\n', hit - 1);
                const std::size_t lineStart = lf == std::string_view::npos || lf < pos ? pos : lf + 1;
                const std::size_t lineEnd = block.find('\n', hit);
                finder.AddLine(block.substr(lineStart, lineEnd - lineStart), offset + lineStart, block.substr(0, lineStart));
                pos = lineEnd + 1;
            }
            return true;
        },
        error);
    if (end) *end = scan.linesEnd;
    if (scan.status == JournalReader::Status::Stopped && error) *error = "the audit was cancelled";
    return scan.status == JournalReader::Status::Done;
}

namespace {

std::uint64_t CallBandKey(std::string_view call, int band) {
    return HashNoCase()(call) * 0x9E3779B97F4A7C15ull ^ static_cast<std::uint64_t>(band + 1);
}

std::int64_t LogSeconds(const ContactIdentity& identity) {
    return Seconds(static_cast<int>(identity.date / 10000), static_cast<int>(identity.date / 100 % 100),
                   static_cast<int>(identity.date % 100), static_cast<int>(identity.timeOn / 10000),
                   static_cast<int>(identity.timeOn / 100 % 100), static_cast<int>(identity.timeOn % 100));
}

}  // namespace

void LogAudit::Index(LogSnapshot log) {
    log_ = std::move(log);
    static const LogLines none;
    const LogLines& lines = log_ ? *log_ : none;
    byCallBand_.clear();
    byTime_.clear();
    bands_.assign(lines.size(), -1);
    classified_ = 0;
    spanChecked_ = -1;
    result_ = AuditResult();
    // Twice: the same call, band and mode within ten minutes (a hash of the three sorts them
    // together; where two meet they are compared in full).
    std::vector<Logged> byCallBandMode;
    byCallBandMode.reserve(lines.size());
    byCallBand_.reserve(lines.size());
    for (std::uint32_t i = 0; i < lines.size(); ++i) {
        const std::optional<ContactIdentity> identity = ContactIdentityOf(lines[i]);
        if (!identity) continue;
        const std::int64_t when = LogSeconds(*identity);
        if (when < 0) continue;
        bands_[i] = identity->band;
        byCallBand_.push_back({CallBandKey(identity->call, identity->band), when, i});
        byTime_.emplace_back(when, i);
        byCallBandMode.push_back(
            {CallBandKey(identity->call, identity->band) ^ HashNoCase()(ExtractFieldView(lines[i], ',', 8)) << 1, when, i});
    }
    const auto byKeyAndTime = [](const Logged& a, const Logged& b) {
        return a.key != b.key ? a.key < b.key : a.when != b.when ? a.when < b.when : a.line < b.line;
    };
    std::sort(byCallBand_.begin(), byCallBand_.end(), byKeyAndTime);
    std::sort(byTime_.begin(), byTime_.end());
    std::sort(byCallBandMode.begin(), byCallBandMode.end(), byKeyAndTime);
    std::vector<std::pair<std::int64_t, std::pair<std::uint32_t, std::uint32_t>>> twice;
    for (std::size_t i = 1; i < byCallBandMode.size(); ++i) {
        const Logged& a = byCallBandMode[i - 1];
        const Logged& b = byCallBandMode[i];
        if (a.key != b.key || b.when - a.when > kTwiceWindow || b.when < since_) continue;
        const std::string_view x = lines[a.line], y = lines[b.line];
        if (bands_[a.line] == bands_[b.line] &&
            SameTextNoCase(ExtractFieldView(x, ',', 5), ExtractFieldView(y, ',', 5)) &&
            SameTextNoCase(ExtractFieldView(x, ',', 8), ExtractFieldView(y, ',', 8)))
            twice.push_back({a.when, {a.line, b.line}});
    }
    std::sort(twice.begin(), twice.end());
    for (const auto& [when, pair] : twice) result_.twice.emplace_back(std::string(lines[pair.first]), std::string(lines[pair.second]));
}

const AuditResult& LogAudit::Update(const ExchangeFinder& journal, LogSnapshot log) {
    if (log != log_ || !log_ || journal.Exchanges().size() < classified_) Index(std::move(log));
    static const LogLines none;
    const LogLines& lines = log_ ? *log_ : none;
    // The exchanges completed since the last update.
    const auto& exchanges = journal.Exchanges();
    for (; classified_ < exchanges.size(); ++classified_) {
        const AuditExchange& exchange = exchanges[classified_];
        if (exchange.start < since_) continue;
        ++result_.exchanges;
        const Logged from{CallBandKey(exchange.call, exchange.band), exchange.start - kLogSlack, 0};
        const auto found = std::lower_bound(byCallBand_.begin(), byCallBand_.end(), from, [](const Logged& a, const Logged& b) {
            return a.key != b.key ? a.key < b.key : a.when < b.when;
        });
        // Equal hashes of two calls are told apart by the call itself.
        bool logged = false;
        for (auto it = found; !logged && it != byCallBand_.end() && it->key == from.key && it->when <= exchange.end + kLogSlack; ++it)
            logged = SameTextNoCase(ExtractFieldView(lines[it->line], ',', 5), exchange.call);
        if (logged)
            ++result_.inLog;
        else
            result_.notLogged.push_back(&exchange);
    }
    // Without a trace: the lines listed before (new journal lines may hold their trace) and the
    // lines the journal's span has newly come to cover.
    result_.journalFirst = journal.FirstStamp();
    result_.journalLast = journal.LastStamp();
    const auto hasTrace = [&](std::uint32_t line, std::int64_t when) {
        const std::optional<ContactIdentity> identity = ContactIdentityOf(lines[line]);
        const std::optional<std::uint32_t> number = identity ? journal.CallNumber(identity->call) : std::nullopt;
        return number && journal.HasTrace(*number, bands_[line], when, kTraceWindow);
    };
    std::vector<std::string> still;
    for (std::string& line : result_.withoutTrace) {
        const std::optional<ContactIdentity> identity = ContactIdentityOf(line);
        const std::optional<std::uint32_t> number = identity ? journal.CallNumber(identity->call) : std::nullopt;
        if (!(number && journal.HasTrace(*number, identity->band, LogSeconds(*identity), kTraceWindow)))
            still.push_back(std::move(line));
    }
    result_.withoutTrace = std::move(still);
    if (result_.journalFirst >= 0) {
        const std::int64_t from = std::max({spanChecked_ + 1, result_.journalFirst, since_});
        auto it = std::lower_bound(byTime_.begin(), byTime_.end(), std::make_pair(from, std::uint32_t{0}));
        for (; it != byTime_.end() && it->first <= result_.journalLast; ++it)
            if (!hasTrace(it->second, it->first)) result_.withoutTrace.emplace_back(lines[it->second]);
        spanChecked_ = result_.journalLast;
    }
    return result_;
}

AuditResult AuditLog(const ExchangeFinder& journal, const std::vector<std::string_view>& logLines, std::int64_t since) {
    LogAudit audit(since);
    return audit.Update(journal, std::make_shared<const LogLines>(LogLines(std::vector<std::string>(logLines.begin(), logLines.end()))));
}

namespace {

AuditRow RowOfLogLine(std::string_view line) {
    std::string_view f[10];
    CutFirstFields(line, ',', f, 10);
    return {std::string(f[0]), std::string(f[1]), std::string(BandOfRow(BandRowOfFrequency(f[6]))), std::string(f[7]),
            std::string(f[4]), std::string(f[5]), std::string(f[8]), std::string(f[9])};
}

AuditRow RowOfExchange(const AuditExchange& exchange) {
    char time[16];
    const std::int64_t second = exchange.start % 86400;
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", static_cast<int>(second / 3600),
                  static_cast<int>(second / 60 % 60), static_cast<int>(second % 60));
    return {AuditDate(exchange.start), time, std::string(BandOfRow(exchange.band)), exchange.mode, exchange.call,
            exchange.grid, exchange.reportSent, exchange.reportReceived};
}

}  // namespace

AuditLists AuditListsOf(const AuditResult& result) {
    AuditLists lists;
    for (const AuditExchange* exchange : result.notLogged) lists.notLogged.push_back(RowOfExchange(*exchange));
    for (const auto& [first, again] : result.twice) {
        AuditRow row = RowOfLogLine(first);
        row.push_back(std::string(ExtractFieldView(again, ',', 2)));  // "Again at"
        lists.twice.push_back(std::move(row));
    }
    for (const std::string& line : result.withoutTrace) lists.withoutTrace.push_back(RowOfLogLine(line));
    lists.summary = AuditSummary(result);
    return lists;
}

std::string AuditSummary(const AuditResult& result) {
    std::string text = "Journal ";
    text += result.journalFirst < 0 ? std::string("without dated lines")
                                    : AuditDate(result.journalFirst) + " \xE2\x80\xA6 " + AuditDate(result.journalLast);
    text += ": " + Thousands(result.exchanges) + (result.exchanges == 1 ? " exchange, " : " exchanges, ") + Thousands(result.inLog) + " in the log, " +
            Thousands(result.notLogged.size()) + " not logged, " + Thousands(result.twice.size()) + " twice, " +
            Thousands(result.withoutTrace.size()) + " without a trace";
    return text;
}

}  // namespace vantrel
