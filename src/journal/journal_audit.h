// The journal-to-log audit: the contacts the journal shows were completed on the air, compared
// with the local log.
//
// An exchange is a run of journal lines between the operator and one other station on one band
// and mode, within ten minutes of its first line, in which both sides sent a report and the
// operator either received RR73, RRR or 73, or sent RR73 or RRR after receiving an R-report. Who
// sent a line is read from its words ("TO FROM ..."), never from where it stands. A hashed
// callsign "<...>" in a line to or from the operator belongs to the exchange on that band and mode
// that was active last (within two minutes); "<K1ABC>" reads K1ABC.
//
// The finder is fed line by line and keeps its open exchanges, so a journal read in pieces (a
// refresh that reads only the appended bytes) finds exactly what one whole read finds.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "log/local_log_record.h"
#include "log/log_lines.h"

namespace vantrel {

// Seconds since 1970-01-01 UTC of a journal stamp "yyMMdd_hhmmss" (or "yyMMdd_hhmm"); -1 when the
// text is not such a stamp.
std::int64_t JournalStampSeconds(std::string_view stamp);

// One contact the journal shows was completed.
struct AuditExchange {
    std::int64_t start = 0, end = 0;  // its first and last line
    std::string call;                 // the other station, upper case
    std::uint32_t callNumber = 0;     // the finder's number of the call
    int band = -1;                    // row of the band table
    std::string mode;                 // the journal's mode word ("FT8")
    std::string grid;                 // the locator they sent, when they sent one
    std::string reportSent, reportReceived;
    // Where its lines stand in the journal (the other station's CQ first when the operator
    // answered it), for the log-entry maker: at most kAuditRows of them, the first and the last.
    std::array<std::uint64_t, 10> rows{};
    std::size_t rowCount = 0;
};

class JournalReader;

// The local log line the log-entry maker makes of the exchange's lines, read again from the
// journal; empty when they cannot be read or give no line.
std::string AuditLogLine(JournalReader& journal, const AuditExchange& exchange, const StationDetails& station);

class ExchangeFinder {
public:
    explicit ExchangeFinder(StationDetails station);

    // One journal line, without or with its line end, and its offset in the journal. `before` may
    // hold the journal text just before the line: the other station's CQ is looked for there when
    // an exchange begins, for its grid.
    void AddLine(std::string_view line, std::uint64_t offset, std::string_view before = {});

    // The completed exchanges in the order they completed. An exchange stays open for its later
    // lines (a 73 after the RR73), which update its end.
    const std::deque<AuditExchange>& Exchanges() const { return exchanges_; }
    // The first and last stamp of a dated line seen; -1 before any.
    std::int64_t FirstStamp() const { return first_; }
    std::int64_t LastStamp() const { return last_; }
    // The number the finder gives a callsign it met in a line to or from the operator (letter
    // case ignored); nothing for a call it never met.
    std::optional<std::uint32_t> CallNumber(std::string_view call) const;
    // True when a line between the operator and that call on the band stands within `window`
    // seconds of `when`.
    bool HasTrace(std::uint32_t call, int band, std::int64_t when, std::int64_t window) const;
    const std::string& OperatorCall() const { return me_; }

private:
    struct Open {
        std::uint64_t key = 0;  // call number, band and mode
        std::int64_t start = 0, last = 0;
        bool sentReport = false, receivedReport = false, receivedR = false, ended = false;
        std::size_t index = SIZE_MAX;  // into exchanges_ once completed
        std::string grid, reportSent, reportReceived;
        std::array<std::uint64_t, 10> rows{};
        std::size_t rowCount = 0;
    };
    std::uint32_t Number(std::string_view call);
    void Consider(std::uint32_t other, bool fromMe, std::string_view extra, std::int64_t when, int band,
                  std::size_t mode, std::uint64_t offset, std::string_view before);
    void Expire(std::int64_t now);

    StationDetails station_;
    std::string me_;
    std::int64_t first_ = -1, last_ = -1, lastExpiry_ = 0;
    std::deque<AuditExchange> exchanges_;
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> numbers_;  // upper-case calls
    std::vector<std::string> calls_;  // by number
    std::vector<std::string> modes_;  // a mode's number is its place here
    // The open exchanges (those of the last ten minutes: a few dozen at most).
    std::vector<Open> open_;
    // Lines between the operator and each station, by call number: (band row, time).
    std::vector<std::vector<std::pair<int, std::int64_t>>> traces_;
};

// Reads the journal from `from` (a line start) to its last whole line into the finder; only the
// lines holding the operator's callsign are looked at. `end` receives the offset just past the
// last whole line read (where a refresh goes on). False with `error` set when the journal cannot
// be read, or when `cancelled` was set.
// `readBytes`, when given, follows how far the reading got (for a progress line on another thread).
bool ReadJournalForAudit(const std::filesystem::path& journal, ExchangeFinder& finder,
                         const std::atomic<bool>* cancelled, std::string* error, std::uint64_t from = 0,
                         std::uint64_t* end = nullptr, std::atomic<std::uint64_t>* readBytes = nullptr);

// The audit's lists.
struct AuditResult {
    std::int64_t journalFirst = -1, journalLast = -1;
    std::size_t exchanges = 0, inLog = 0;
    std::vector<const AuditExchange*> notLogged;
    // Pairs of log lines: same call, band and mode within ten minutes.
    std::vector<std::pair<std::string, std::string>> twice;
    // Log lines within the journal's span without a line between the operator and that call on
    // that band within thirty minutes.
    std::vector<std::string> withoutTrace;
};

using LogSnapshot = std::shared_ptr<const LogLines>;

// The audit kept up to date. The log's index is made once for each log snapshot; each later
// update with the same snapshot only classifies the exchanges completed since and looks again at
// the log lines that new journal lines may have left a trace for.
class LogAudit {
public:
    // Exchanges and log lines from `since` (seconds; 0 for all) are listed.
    explicit LogAudit(std::int64_t since = 0) : since_(since) {}
    // The lists for the finder as it stands and the log (pointers into the finder's exchanges).
    const AuditResult& Update(const ExchangeFinder& journal, LogSnapshot log);

private:
    struct Logged {
        std::uint64_t key;
        std::int64_t when;
        std::uint32_t line;
    };
    void Index(LogSnapshot log);

    std::int64_t since_;
    LogSnapshot log_;
    std::vector<Logged> byCallBand_;                        // by call and band, then time
    std::vector<std::pair<std::int64_t, std::uint32_t>> byTime_;  // (time on, line), by time
    std::vector<int> bands_;
    std::size_t classified_ = 0;        // exchanges looked at
    std::int64_t spanChecked_ = -1;     // log lines up to this time were looked at for traces
    AuditResult result_;
};

// The same once, for lists of log lines.
AuditResult AuditLog(const ExchangeFinder& journal, const std::vector<std::string_view>& logLines,
                     std::int64_t since = 0);

// A row of a list: date, time, band, mode, call, grid, report sent, report received ("In the log
// twice" adds the second contact's time on).
using AuditRow = std::vector<std::string>;

struct AuditLists {
    std::vector<AuditRow> notLogged, twice, withoutTrace;
    std::string summary;
};

// The lists as the window and the command line show them.
AuditLists AuditListsOf(const AuditResult& result);

// "Journal 2024-01-03 … 2026-12-09: 41,233 exchanges, 41,180 in the log, 53 not logged, 4 twice,
// 9 without a trace".
std::string AuditSummary(const AuditResult& result);

// "2024-01-03" of a time in seconds.
std::string AuditDate(std::int64_t seconds);

}  // namespace vantrel
