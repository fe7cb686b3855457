#include "app/engine/wsjtx_files_part.h"

#include <system_error>

#include "app/engine/held_job.h"
#include "base/file_io.h"

namespace vantrel {

WsjtxFilesPart::WsjtxFilesPart(EngineCore& core, StationView& station, WindowView& window)
    : core_(core), station_(station), window_(window) {
    core_.LiveStation().Subscribe([this](const StationChange& change) {
        if (change.CallOrGridChanged()) station_.ShowStationDetails(change.now.call, change.now.grid);
    });
}

namespace {

std::optional<fs::file_time_type> ModifiedAt(const fs::path& file) {
    std::error_code ec;
    const auto time = fs::last_write_time(file, ec);
    if (ec) return std::nullopt;
    return time;
}

bool IsAppendOnly(std::string_view copyName) { return copyName == kLogCopy || copyName == kJournalCopy; }

// Brings one copy up to date; WSJT-X only appends to its log and journal, so of those only the
// new bytes are copied. A failed copy leaves the previous copy as it was; a missing WSJT-X file
// is no failure.
bool RefreshCopy(const fs::path& from, const fs::path& to, std::string_view copyName, std::string* error,
                 const CopyProgress& progress = {}) {
    // A log or journal of the same size may still be another file (replaced): its sampled bytes
    // tell.
    bool copied = false;
    if (IsAppendOnly(copyName)) {
        const CopyRefresh refresh = RefreshAppendOnlyCopy(from, to, error, progress);
        if (refresh == CopyRefresh::Unchanged) return false;
        copied = refresh != CopyRefresh::Failed;
    } else {
        if (FileSize(from) == FileSize(to)) return false;
        copied = CopyFileReplacing(from, to, error, progress);
    }
    if (!copied && FileSize(from) < 0) error->clear();
    return copied;
}

}  // namespace

void WsjtxFilesPart::CopyInWsjtxFiles(std::function<void()> done) {
    const WsjtxFiles files = core_.CurrentWsjtxFiles();
    const fs::path viewer = core_.ViewerFolder();
    const std::string datedLog = core_.DatedName("wsjtx", ".log");
    const std::string datedJournal = core_.DatedName("all", ".txt");
    StartHeldJob<CopyIn>(
        core_, copyJob_, "Progress",
        [files, viewer, datedLog, datedJournal](const std::atomic<bool>&, const std::function<void(int)>& progress) {
            CopyIn result;
            std::string error;
            auto fail = [&] {
                if (!error.empty()) result.failures.push_back(error);
                error.clear();
            };
            // A WSJT-X file shorter than the copy would replace the longer copy: keep that one.
            for (auto [wsjtx, copy, dated] : {std::tuple{files.log, kLogCopy, datedLog},
                                              std::tuple{files.journal, kJournalCopy, datedJournal}}) {
                const std::int64_t wsjtxSize = FileSize(wsjtx), copySize = FileSize(viewer / copy);
                if (wsjtxSize >= 0 && copySize >= 0 && wsjtxSize < copySize &&
                    !CopyFileReplacing(viewer / copy, viewer / dated, &error))
                    fail();
            }
            RefreshCopy(files.log, viewer / kLogCopy, kLogCopy, &error);
            fail();
            progress(33);
            RefreshCopy(files.config, viewer / kConfigCopy, kConfigCopy, &error);
            fail();
            progress(66);
            RefreshCopy(files.journal, viewer / kJournalCopy, kJournalCopy, &error,
                        [&](int percent) { progress(66 + percent * 34 / 100); });
            fail();
            return result;
        },
        [this, done = std::move(done)](CopyIn result) {
            for (const std::string& failure : result.failures) core_.Report(" Copy failed ** ", failure);
            done();
        });
}

bool WsjtxFilesPart::CopyWsjtxFile(const fs::path& from, const char* copyName) {
    std::string error;
    const bool copied = RefreshCopy(from, core_.ViewerFile(copyName), copyName, &error);
    if (!copied && !error.empty()) core_.Report(" Copy failed ** ", error);
    return copied;
}

void WsjtxFilesPart::RefreshWsjtxConfig() {
    core_.Diagnostic("update_ini_file;");
    // A change of the same byte size (a port 46100 -> 46101, a callsign letter) is seen by its
    // time; a file touched without a change is not read again.
    const fs::path from = core_.CurrentWsjtxFiles().config;
    const Stamp stamp{ModifiedAt(from).value_or(fs::file_time_type{}), FileSize(from)};
    if (stamp == configStamp_) return;
    configStamp_ = stamp;
    if (stamp.size < 0) return;  // no configuration: the copy stays as it is
    const fs::path copy = core_.ViewerFile(kConfigCopy);
    if (stamp.size == FileSize(copy) && ReadWholeFile(from) == ReadWholeFile(copy)) return;
    std::string error;
    if (!CopyFileReplacing(from, copy, &error)) {
        core_.Report(" Copy failed ** ", error);
        return;
    }
    ReadWsjtxConfig();
}

void WsjtxFilesPart::ReadWsjtxConfig() {
    core_.Diagnostic("get_local_wsjtxini_data;");
    LogLines lines;
    if (auto loaded = LoadLogLines(core_.ViewerFile(kConfigCopy))) lines = std::move(*loaded);
    // Every line is read before the receiver is bound: WSJT-X writes its keys sorted, so the
    // broadcast switch comes before the host and port it applies to.
    const WsjtxConfig previous = core_.Config();
    core_.LiveStation().SetConfig(ReadWsjtxConfigLines(lines, previous.port, previous.broadcast));
    const WsjtxConfig& config = core_.Config();
    if (!config.rejectedPort.empty())
        core_.Report(" INI ** ", "N1MMServerPort=" + config.rejectedPort + " is not a port number; port " +
                                     std::to_string(config.port) + " is kept");
    const std::string otherFeed = onConfigurationRead ? onConfigurationRead(lines) : std::string();

    const std::string address = config.host + ":" + std::to_string(config.port);
    if (WantsReceiver(config)) {
        // A receiver already listening on the same address keeps listening, so no datagram is
        // missed while the file is read again.
        if (!(core_.Services().receiver.IsBound() && boundAddress_ == address)) Bind(address);
        return;
    }
    // Nothing can be received: said at once and kept in the N1MM panel until a receiver listens.
    core_.Services().receiver.Stop();
    boundAddress_.clear();
    if (!otherFeed.empty()) {
        // WSJT-X's own messages bring every logged contact: nothing is missed.
        if (problem_ != "-") core_.Trace(" UDP ** ", "no N1MM reporting; logged contacts come from WSJT-X's messages at " + otherFeed);
        problem_ = "-";
        station_.ShowN1mm(config.host.empty() ? "127.0.0.1" : config.host, std::to_string(config.port), "");
        window_.SetRegionVisible(Region::N1mm, true);
        return;
    }
    const std::string file = core_.CurrentWsjtxFiles().config.string();
    const std::string why = config.broadcast     ? "N1MM port 0 in "
                            : config.hostPresent ? "N1MM Logger+ broadcast switched off in "
                                                 : "No N1MM logged-contact reporting in ";
    SayReceiverState(why + file + ": contacts logged in WSJT-X are not received");
}

void WsjtxFilesPart::Bind(const std::string& address) {
    const WsjtxConfig& config = core_.Config();
    core_.Services().receiver.Stop();
    boundAddress_ = address;
    std::string error;
    if (core_.Services().receiver.Bind(config.host, config.port, &error)) {
        core_.Trace(" UDP ** ", "listening on " + address);
        SayReceiverState("");
    } else {
        SayReceiverState("Cannot receive logged contacts on " + address + ": " + error);
    }
}

void WsjtxFilesPart::SayReceiverState(const std::string& problem) {
    const WsjtxConfig& config = core_.Config();
    station_.ShowN1mm(config.host.empty() ? "127.0.0.1" : config.host, std::to_string(config.port), problem);
    window_.SetRegionVisible(Region::N1mm, true);
    if (problem == problem_) return;
    problem_ = problem;
    if (!problem.empty()) core_.Report(" UDP ** ", problem);
}

void WsjtxFilesPart::N1mmPortChanged(const std::string& text) {
    if (text.empty()) return;
    int port = 0;
    try {
        std::size_t used = 0;
        port = std::stoi(text, &used);
        if (used != text.size() || port <= 0 || port > 65535) throw std::invalid_argument(text);
    } catch (const std::exception&) {
        core_.Report(" UDP ** ", "N1MM port \"" + text + "\" is not a port number; the receiver keeps " +
                                     std::to_string(core_.Config().port));
        return;
    }
    core_.LiveStation().SetPort(port);
    Bind(core_.Config().host + ":" + std::to_string(port));
}

void WsjtxFilesPart::update_log_file() {
    core_.Diagnostic("update_log_file;");
    if (!CopyWsjtxFile(core_.CurrentWsjtxFiles().log, kLogCopy) || core_.HasSwitch("/NLU")) return;
    if (auto lines = LoadLogLines(core_.ViewerFile(kLogCopy))) core_.WsjtxLogLines() = std::move(*lines);
}

void WsjtxFilesPart::update_all_file(const fs::path& journal) {
    core_.Diagnostic("update_all_file;");
    CopyWsjtxFile(journal, kJournalCopy);
}

void WsjtxFilesPart::StartJournalWatch() { journalStamp_ = fs::file_time_type::clock::now(); }

void WsjtxFilesPart::RefreshJournalCopyIfChanged() {
    // The copy check keeps a time stamp of its own (the WSJT-X journal's), so the grids check
    // still sees the copy change that this refresh makes.
    const fs::path journal = core_.CurrentWsjtxFiles().journal;
    const auto changed = ModifiedAt(journal);
    if (!changed || *changed == journalStamp_) return;
    core_.Notices().SetIndicator(true);
    update_all_file(journal);
    journalStamp_ = *changed;
    core_.Notices().SetIndicator(false);
}

}  // namespace vantrel
