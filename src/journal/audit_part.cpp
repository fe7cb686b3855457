#include "journal/audit_part.h"

#include <algorithm>

#include "base/data_folders.h"
#include "base/file_io.h"
#include "log/line_text.h"

namespace vantrel {

namespace fs = std::filesystem;

// The audit's state between two readings: what the journal showed up to `offset`, and the lists
// the last audit made of it.
struct AuditPart::State {
    explicit State(StationDetails station) : finder(std::move(station)) {}
    ExchangeFinder finder;
    std::uint64_t offset = 0;
    JournalSamples samples;  // tell an appended journal from a replaced one
    LogAudit audit;
    AuditResult result;
    AuditLists lists;
    std::string error;
    bool cancelled = false;
};

namespace {

// Brings the state up to date with the journal and the log (off the user-interface thread).
void Audit(AuditPart::State& state, const fs::path& journal, const StationDetails& station, LogSnapshot log,
           const std::atomic<bool>& cancelled, std::atomic<std::uint64_t>& read) {
    JournalReader reader;
    const bool readable = reader.Open(journal);
    // Another operator's callsign, or a journal that was not only appended to: read it whole.
    if (!SameTextNoCase(state.finder.OperatorCall(), station.call) || !readable || reader.Size() < state.offset ||
        (state.offset > 0 && !state.samples.Match(reader, state.offset)))
        state = AuditPart::State(station);
    if (readable && reader.Size() > state.offset) {
        std::uint64_t end = state.offset;
        state.error.clear();
        if (!ReadJournalForAudit(journal, state.finder, &cancelled, &state.error, state.offset, &end, &read)) {
            state.cancelled = cancelled.load();
            return;
        }
        state.offset = end;
        state.samples.Take(reader, end);
    }
    state.result = state.audit.Update(state.finder, std::move(log));
    state.lists = AuditListsOf(state.result);
}

}  // namespace

AuditPart::AuditPart(AuditPartServices services, fs::path viewerFolder)
    : services_(std::move(services)), journal_(std::move(viewerFolder) / kJournalCopy),
      state_(std::make_unique<State>(services_.station())) {}

AuditPart::~AuditPart() {
    if (cancel_) *cancel_ = true;
}

void AuditPart::Open() {
    open_ = true;
    if (!lists_.summary.empty()) services_.view.ShowAuditLists(lists_);
    Start();
}

void AuditPart::Close() {
    open_ = false;
    if (cancel_) *cancel_ = true;
}

void AuditPart::Tick() {
    if (pending_) {
        const std::uint64_t done = read_ ? read_->load(std::memory_order_relaxed) : 0;
        const int percent = reading_ > 0 ? static_cast<int>(std::min<std::uint64_t>(100, done * 100 / reading_)) : 0;
        services_.view.ShowAuditProgress("Reading the journal\xE2\x80\xA6 " + std::to_string(percent) + "%");
        return;
    }
    if (!open_ || !state_) return;
    const bool journalGrew = static_cast<std::uint64_t>(std::max<std::int64_t>(0, FileSize(journal_))) != state_->offset;
    if (logChanged_ || (++ticks_ >= kRefreshSeconds && journalGrew)) Start();
}

void AuditPart::Start() {
    if (pending_ || !state_) return;
    ticks_ = 0;
    logChanged_ = false;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    read_ = std::make_shared<std::atomic<std::uint64_t>>(0);
    reading_ = static_cast<std::uint64_t>(std::max<std::int64_t>(0, FileSize(journal_)));
    auto held = std::make_shared<std::unique_ptr<State>>(std::move(state_));
    auto work = [held, journal = journal_, station = services_.station(), log = services_.logLines(),
                 cancel = cancel_, read = read_] {
        Audit(**held, journal, station, log, *cancel, *read);
    };
    auto done = [this, held] { Finished(std::move(*held)); };
    pending_ = true;
    if (services_.runner)
        services_.runner(std::move(work), std::move(done));
    else {
        work();
        done();
    }
}

void AuditPart::Finished(std::unique_ptr<State> state) {
    pending_ = false;
    if (state->cancelled) {
        // What a cancelled reading left is not a whole journal's worth: the next audit starts over.
        state_ = std::make_unique<State>(services_.station());
        services_.view.ShowAuditProgress("Journal audit cancelled");
        return;
    }
    state_ = std::move(state);
    if (!state_->error.empty()) {
        services_.view.ShowAuditProgress(state_->error);
        return;
    }
    lists_ = state_->lists;
    services_.view.ShowAuditProgress("");
    if (open_) services_.view.ShowAuditLists(lists_);
}

void AuditPart::AddToLog(std::size_t row) {
    if (!state_ || pending_) {
        services_.view.ShowAuditMessage("The journal is still being read; try again when the audit is done.");
        return;
    }
    if (row >= state_->result.notLogged.size()) return;
    const AuditExchange& exchange = *state_->result.notLogged[row];
    JournalReader reader;
    const std::string line = reader.Open(journal_) ? AuditLogLine(reader, exchange, services_.station()) : std::string();
    if (line.empty()) {
        services_.view.ShowAuditMessage("No log line could be made of the journal's lines for " + exchange.call);
        return;
    }
    services_.view.ConfirmAddToLog(line);
}

void AuditPart::AddConfirmed(const std::string& line) {
    std::string error;
    if (!services_.addToLog(line, &error)) {
        services_.view.ShowAuditMessage(error.empty() ? "The line was not added to the log" : error);
        return;
    }
    logChanged_ = true;
    Start();
}

}  // namespace vantrel
