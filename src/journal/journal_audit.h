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

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "log/local_log_record.h"

namespace vantrel {

// Seconds since 1970-01-01 UTC of a journal stamp "yyMMdd_hhmmss" (or "yyMMdd_hhmm"); -1 when the
// text is not such a stamp.
std::int64_t JournalStampSeconds(std::string_view stamp);

// One contact the journal shows was completed.
struct AuditExchange {
    std::int64_t start = 0, end = 0;  // its first and last line
    std::string call;                 // the other station, upper case
    int band = -1;                    // row of the band table
    std::string mode;                 // the journal's mode word ("FT8")
    std::string grid;                 // the locator they sent, when they sent one
    std::string reportSent, reportReceived;
    std::string logLine;              // the local log line the log-entry maker makes of its lines
};

class ExchangeFinder {
public:
    explicit ExchangeFinder(StationDetails station);

    // One journal line, without or with its line end. `before` may hold the journal text just
    // before the line: the other station's CQ is looked for there when an exchange begins, for
    // its grid.
    void AddLine(std::string_view line, std::string_view before = {});

    // The completed exchanges in the order they completed. An exchange stays open for its later
    // lines (a 73 after the RR73), which update its end.
    const std::vector<AuditExchange>& Exchanges() const { return exchanges_; }
    // The first and last stamp of a dated line seen; -1 before any.
    std::int64_t FirstStamp() const { return first_; }
    std::int64_t LastStamp() const { return last_; }
    // True when a line between the operator and `call` (upper case) on the band stands within
    // `window` seconds of `when`.
    bool HasTrace(const std::string& call, int band, std::int64_t when, std::int64_t window) const;
    const std::string& OperatorCall() const { return me_; }

private:
    struct Open {
        std::int64_t start = 0, last = 0;
        bool sentReport = false, receivedReport = false, receivedR = false, ended = false;
        std::size_t index = SIZE_MAX;  // into exchanges_ once completed
        std::string grid, reportSent, reportReceived;
        std::vector<std::string> rows;  // search forms, for the log-entry maker
    };
    void Consider(const std::string& other, bool fromMe, std::string_view extra, std::int64_t when,
                  int band, std::string_view mode, std::string_view line, std::string_view before);
    void Expire(std::int64_t now);

    StationDetails station_;
    std::string me_;
    std::int64_t first_ = -1, last_ = -1, lastExpiry_ = 0;
    std::vector<AuditExchange> exchanges_;
    std::unordered_map<std::string, std::vector<Open>> open_;  // by call + band + mode
    // Lines between the operator and each station: (band row, time), in journal order.
    std::unordered_map<std::string, std::vector<std::pair<int, std::int64_t>>> traces_;
};

// Reads the journal from `from` (a line start) to its last whole line into the finder; only the
// lines holding the operator's callsign are looked at. `end` receives the offset just past the
// last whole line read (where a refresh goes on). False with `error` set when the journal cannot
// be read, or when `cancelled` was set.
bool ReadJournalForAudit(const std::filesystem::path& journal, ExchangeFinder& finder,
                         const std::atomic<bool>* cancelled, std::string* error, std::uint64_t from = 0,
                         std::uint64_t* end = nullptr);

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

// Compares the finder's exchanges with the local log's lines. Only exchanges and log lines from
// `since` (seconds; 0 for all) are listed.
AuditResult AuditLog(const ExchangeFinder& journal, const std::vector<std::string_view>& logLines,
                     std::int64_t since = 0);

// "Journal 2024-01-03 … 2026-12-09: 41,233 exchanges, 41,180 in the log, 53 not logged, 4 twice,
// 9 without a trace".
std::string AuditSummary(const AuditResult& result);

// "2024-01-03" of a time in seconds.
std::string AuditDate(std::int64_t seconds);

}  // namespace vantrel
