#include "journal/journal_audit.h"

#include <algorithm>
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

std::string Upper(std::string_view word) {
    if (word.size() > 2 && word.front() == '<' && word.back() == '>') word = word.substr(1, word.size() - 2);
    return UpperCase(word);
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

std::string Key(std::string_view call, int band, std::string_view mode) {
    std::string key(call);
    key += '\x1f';
    key += std::to_string(band);
    key += '\x1f';
    key += mode;
    return key;
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

ExchangeFinder::ExchangeFinder(StationDetails station) : station_(std::move(station)), me_(Upper(station_.call)) {}

void ExchangeFinder::AddLine(std::string_view line, std::string_view before) {
    const std::string_view text = JournalLineText(line);
    if (me_.empty() || !IsDatedJournalLine(text)) return;
    const JournalWords<11> words(text);
    const std::int64_t when = JournalStampSeconds(words.word(1));
    if (when < 0) return;
    if (first_ < 0 || when < first_) first_ = when;
    if (when > last_) last_ = when;
    const std::string to = Upper(words.message(1)), from = Upper(words.message(2));
    bool fromMe;
    std::string other;
    if (from == me_ && to != "CQ" && to != "QRZ" && to != "DE") {
        fromMe = true;
        other = to;
    } else if (to == me_) {
        fromMe = false;
        other = from;
    } else {
        return;
    }
    const int band = BandRowOfFrequency(words.word(2));
    const std::string mode = UpperCase(words.word(4));
    if (when > lastExpiry_ + 60) Expire(when);
    if (other == "..." || other.empty()) {
        // A hashed call: the exchange on this band and mode active last.
        const Open* latest = nullptr;
        for (const auto& [key, opens] : open_)
            for (const Open& open : opens)
                if (key.ends_with('\x1f' + std::to_string(band) + '\x1f' + mode) && when - open.last <= kHashedReach &&
                    (!latest || open.last > latest->last)) {
                    latest = &open;
                    other = key.substr(0, key.find('\x1f'));
                }
        if (!latest) return;
    }
    if (other == me_) return;
    traces_[other].emplace_back(band, when);
    Consider(other, fromMe, UpperCase(words.message(3)), when, band, mode, text, before);
}

void ExchangeFinder::Consider(const std::string& other, bool fromMe, std::string_view extra, std::int64_t when,
                              int band, std::string_view mode, std::string_view line, std::string_view before) {
    std::vector<Open>& opens = open_[Key(other, band, mode)];
    // A completed exchange takes only its closing words; anything else begins the next one (the
    // same station worked again a few minutes later).
    const bool closing = extra == "RR73" || extra == "RRR" || extra == "73";
    if (opens.empty() || when - opens.back().start > kExchangeSpan ||
        (opens.back().index != SIZE_MAX && !closing)) {
        opens.emplace_back();
        Open& open = opens.back();
        open.start = when;
        if (fromMe) {
            // The operator answered: their CQ, just before, holds their grid.
            const std::string_view b = before.substr(before.size() > 65536 ? before.size() - 65536 : 0);
            std::size_t pos = b.size();
            for (int hits = 0; hits < 32 && pos > 0; ++hits) {
                pos = b.rfind(other, pos - 1);
                if (pos == std::string_view::npos) break;
                const std::size_t lineStart = b.rfind('\n', pos) == std::string_view::npos ? 0 : b.rfind('\n', pos) + 1;
                const std::size_t lineEnd = std::min(b.find('\n', pos), b.size());
                const std::string_view cq = b.substr(lineStart, lineEnd - lineStart);
                const JournalWords<12> w(cq);
                const std::int64_t at = JournalStampSeconds(w.word(1));
                if (at >= 0 && when - at > kExchangeSpan) break;
                if (Upper(w.message(1)) != "CQ") continue;
                const std::size_t n = w.count >= kJournalFirstMessageWord ? w.count - kJournalFirstMessageWord + 1 : 0;
                if (n >= 3 && Upper(w.message(n - 1)) == other && IsLocator4(UpperCase(w.message(n)))) {
                    open.grid = UpperCase(w.message(n));
                    open.rows.push_back(JournalSearchForm(cq));
                }
                break;
            }
        }
    }
    Open& open = opens.back();
    open.last = when;
    if (open.rows.size() >= kLogEntryMaxRows) open.rows.erase(open.rows.begin() + 1);
    open.rows.push_back(JournalSearchForm(line));
    if (fromMe) {
        if (IsReport(extra) || IsRReport(extra)) {
            open.sentReport = true;
            open.reportSent = std::string(extra.substr(extra.size() - 3));
        } else if ((extra == "RR73" || extra == "RRR") && open.receivedR) {
            open.ended = true;
        }
    } else {
        if (IsReport(extra) || IsRReport(extra)) {
            open.receivedReport = true;
            open.reportReceived = std::string(extra.substr(extra.size() - 3));
            if (IsRReport(extra)) open.receivedR = true;
        } else if (extra == "RR73" || extra == "RRR" || extra == "73") {
            open.ended = true;
        } else if (IsLocator4(extra)) {
            open.grid = std::string(extra);
        }
    }
    if (!(open.sentReport && open.receivedReport && open.ended)) return;
    if (open.index == SIZE_MAX) {
        open.index = exchanges_.size();
        exchanges_.emplace_back();
    }
    AuditExchange& exchange = exchanges_[open.index];
    exchange.start = open.start;
    exchange.end = when;
    exchange.call = other;
    exchange.band = band;
    exchange.mode = std::string(mode);
    exchange.grid = open.grid;
    exchange.reportSent = open.reportSent;
    exchange.reportReceived = open.reportReceived;
    std::vector<JournalLine> rows;
    rows.reserve(open.rows.size());
    for (const std::string& row : open.rows) rows.push_back(CutJournalLine(row));
    exchange.logLine = MakeLogEntryLine(rows, station_).line;
}

void ExchangeFinder::Expire(std::int64_t now) {
    lastExpiry_ = now;
    for (auto it = open_.begin(); it != open_.end();) {
        auto& opens = it->second;
        std::erase_if(opens, [&](const Open& open) { return now - open.start > kExchangeSpan; });
        it = opens.empty() ? open_.erase(it) : std::next(it);
    }
}

bool ExchangeFinder::HasTrace(const std::string& call, int band, std::int64_t when, std::int64_t window) const {
    const auto found = traces_.find(call);
    if (found == traces_.end()) return false;
    for (const auto& [lineBand, at] : found->second)
        if (lineBand == band && at >= when - window && at <= when + window) return true;
    return false;
}

bool ReadJournalForAudit(const std::filesystem::path& journal, ExchangeFinder& finder,
                         const std::atomic<bool>* cancelled, std::string* error, std::uint64_t from,
                         std::uint64_t* end) {
    JournalReader reader;
    if (!reader.Open(journal, error)) return false;
    const std::string& me = finder.OperatorCall();
    const JournalReader::ScanEnd scan = reader.Scan(
        from,
        [&](std::string_view block, std::uint64_t) {
            if (cancelled && cancelled->load(std::memory_order_relaxed)) return false;
            std::size_t pos = 0;
            for (;;) {
                const std::size_t hit = me.empty() ? std::string_view::npos : FindTextNoCase(block, me, pos);
                if (hit == std::string_view::npos) break;
                const std::size_t lf = hit == 0 ? std::string_view::npos : block.rfind('\n', hit - 1);
                const std::size_t lineStart = lf == std::string_view::npos || lf < pos ? pos : lf + 1;
                const std::size_t lineEnd = block.find('\n', hit);
                finder.AddLine(block.substr(lineStart, lineEnd - lineStart), block.substr(0, lineStart));
                pos = lineEnd + 1;
            }
            return true;
        },
        error);
    if (end) *end = scan.linesEnd;
    if (scan.status == JournalReader::Status::Stopped && error) *error = "the audit was cancelled";
    return scan.status == JournalReader::Status::Done;
}

AuditResult AuditLog(const ExchangeFinder& journal, const std::vector<std::string_view>& logLines,
                     std::int64_t since) {
    struct Logged {
        std::int64_t when;
        std::string_view line;
    };
    std::unordered_map<std::string, std::vector<Logged>> byCallBand, byCallBandMode;
    AuditResult result;
    result.journalFirst = journal.FirstStamp();
    result.journalLast = journal.LastStamp();
    for (std::string_view line : logLines) {
        const std::optional<ContactIdentity> identity = ContactIdentityOf(line);
        if (!identity) continue;
        const std::int64_t when =
            Seconds(static_cast<int>(identity->date / 10000), static_cast<int>(identity->date / 100 % 100),
                    static_cast<int>(identity->date % 100), static_cast<int>(identity->timeOn / 10000),
                    static_cast<int>(identity->timeOn / 100 % 100), static_cast<int>(identity->timeOn % 100));
        if (when < 0) continue;
        const std::string call = UpperCase(identity->call);
        byCallBand[Key(call, identity->band, "")].push_back({when, line});
        byCallBandMode[Key(call, identity->band, UpperCase(ExtractFieldView(line, ',', 8)))].push_back({when, line});
        if (when >= since && result.journalFirst >= 0 && when >= result.journalFirst && when <= result.journalLast &&
            !journal.HasTrace(call, identity->band, when, kTraceWindow))
            result.withoutTrace.emplace_back(line);
    }
    for (const AuditExchange& exchange : journal.Exchanges()) {
        if (exchange.start < since) continue;
        ++result.exchanges;
        const auto found = byCallBand.find(Key(exchange.call, exchange.band, ""));
        const bool logged = found != byCallBand.end() &&
                            std::any_of(found->second.begin(), found->second.end(), [&](const Logged& l) {
                                return l.when >= exchange.start - kLogSlack && l.when <= exchange.end + kLogSlack;
                            });
        if (logged)
            ++result.inLog;
        else
            result.notLogged.push_back(&exchange);
    }
    std::vector<std::pair<std::int64_t, std::pair<std::string, std::string>>> twice;
    for (auto& [key, entries] : byCallBandMode) {
        std::stable_sort(entries.begin(), entries.end(), [](const Logged& a, const Logged& b) { return a.when < b.when; });
        for (std::size_t i = 1; i < entries.size(); ++i)
            if (entries[i].when - entries[i - 1].when <= kTwiceWindow && entries[i].when >= since)
                twice.push_back({entries[i - 1].when, {std::string(entries[i - 1].line), std::string(entries[i].line)}});
    }
    std::sort(twice.begin(), twice.end());
    for (auto& pair : twice) result.twice.push_back(std::move(pair.second));
    return result;
}

std::string AuditSummary(const AuditResult& result) {
    std::string text = "Journal ";
    text += result.journalFirst < 0 ? std::string("without dated lines")
                                    : AuditDate(result.journalFirst) + " \xE2\x80\xA6 " + AuditDate(result.journalLast);
    text += ": " + Thousands(result.exchanges) + " exchanges, " + Thousands(result.inLog) + " in the log, " +
            Thousands(result.notLogged.size()) + " not logged, " + Thousands(result.twice.size()) + " twice, " +
            Thousands(result.withoutTrace.size()) + " without a trace";
    return text;
}

}  // namespace vantrel
