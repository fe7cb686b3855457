// The journal-to-log audit as one part of the station engine: the "Journal audit" window's three
// lists and summary, kept up to date as the journal grows and the log changes, and "Add to Log"
// for a contact the journal shows and the log lacks.
//
// The first audit reads the whole journal copy off the user-interface thread (the window shows
// how far it got and can cancel it); later audits read only what the journal gained since (a
// replaced or shrunk journal is read whole again). The finder and its place in the journal move
// into the work and come back with its result, so no state is shared with the worker.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "journal/journal_audit.h"
#include "journal/journal_part.h"
#include "journal/journal_reader.h"
#include "log/local_log_record.h"

namespace vantrel {

class AuditView {
public:
    virtual ~AuditView() = default;
    virtual void ShowAuditLists(const AuditLists&) {}
    // "Reading the journal… 42%" while an audit reads; empty when done.
    virtual void ShowAuditProgress(const std::string&) {}
    // Shows the line "Add to Log" would append and asks to go on; the answer comes back through
    // AuditPart::AddConfirmed.
    virtual void ConfirmAddToLog(const std::string&) {}
    virtual void ShowAuditMessage(const std::string&) {}
};

struct AuditPartServices {
    AuditView& view;
    // The operator's callsign and grid and the radio and antenna in use, as they stand.
    std::function<StationDetails()> station;
    // The local log's lines as they stand: a snapshot the work may keep, the same one as long as
    // the log has not changed (the audit's index of the log is then kept).
    std::function<LogSnapshot()> logLines;
    // Appends one line to the local log durably, unless a contact with its identity is there
    // already; false with the reason when nothing was appended.
    std::function<bool(const std::string& line, std::string* error)> addToLog;
    // Optional: where the reading runs. Without it, at once on the caller's thread.
    JournalRunner runner;
};

class AuditPart {
public:
    AuditPart(AuditPartServices services, std::filesystem::path viewerFolder);
    ~AuditPart();
    AuditPart(const AuditPart&) = delete;
    AuditPart& operator=(const AuditPart&) = delete;

    // The window was opened: the first audit starts (or the lists are shown again).
    void Open();
    // The window was closed: a running audit is cancelled.
    void Close();
    // The one-second schedule: the progress line; every `kRefreshSeconds` ticks (and after the
    // log changed) an audit of what the journal gained.
    void Tick();
    // The local log gained or lost lines: the lists are made again on the next tick.
    void LogChanged() { logChanged_ = true; }
    // "Add to Log" on row `row` of "On the air, not in the log": the line is shown first.
    void AddToLog(std::size_t row);
    // The operator's answer to the line shown.
    void AddConfirmed(const std::string& line);

    bool Busy() const { return pending_; }
    bool IsOpen() const { return open_; }
    const AuditLists& Lists() const { return lists_; }

    static constexpr int kRefreshSeconds = 30;
    // What the audit read and made (kept between readings; moved into the work while it runs).
    struct State;

private:
    void Start();
    void Finished(std::unique_ptr<State> state);

    AuditPartServices services_;
    std::filesystem::path journal_;
    std::unique_ptr<State> state_;  // null while an audit holds it
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::shared_ptr<std::atomic<std::uint64_t>> read_;  // bytes the running audit has read
    std::uint64_t reading_ = 0;                          // of this many
    AuditLists lists_;
    bool open_ = false, pending_ = false, logChanged_ = false;
    int ticks_ = 0;
};

}  // namespace vantrel
