// The viewer's copies of WSJT-X's files and what is read from them: the log and journal copies
// (only their new bytes are copied), WSJT-X's configuration with the operator's station and the
// logged-contact receiver bound to the address it names.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "jobs/background_job.h"
#include "app/engine/engine_core.h"

namespace vantrel {

class WsjtxFilesPart {
public:
    // The "Logged as:" boxes follow the callsign and grid of WSJT-X's configuration.
    WsjtxFilesPart(EngineCore& core, StationView& station, WindowView& window);

    // The start-up's copy-in, on a thread of its own: a WSJT-X file shorter than its copy (a log
    // restarted, a journal erased) has the longer copy kept under a dated name first; then the
    // log, the configuration and the journal are brought up to date. `done` runs afterwards.
    void CopyInWsjtxFiles(std::function<void()> done);

    // WSJT-X's configuration: copied and read again when it changed (its time or size moved and
    // its content differs from the copy's).
    void RefreshWsjtxConfig();
    // Reads the copy: the operator's callsign and grid, and the receiver on the N1MM address.
    void ReadWsjtxConfig();
    // The operator typed another N1MM port.
    void N1mmPortChanged(const std::string& text);
    // The copy of wsjtx.log, and WsjtxLogLines from it.
    void update_log_file();
    // The copy of the journal (WSJT-X's journal as located).
    void update_all_file(const fs::path& journal);
    // The copy check of the schedule: the indicator shows while the copy is refreshed. A journal
    // changed before the watch started (the start-up copied it) is not copied again.
    void StartJournalWatch();
    void RefreshJournalCopyIfChanged();
    // The receiver's problem as last said (empty while it listens).
    const std::string& ReceiverProblem() const { return problem_; }

    // Called with the configuration's lines each time they are read, before the N1MM receiver
    // is bound; answers where logged contacts arrive besides (empty when nowhere).
    std::function<std::string(const LogLines& lines)> onConfigurationRead;

private:
    bool CopyWsjtxFile(const fs::path& from, const char* copyName);
    void Bind(const std::string& address);
    void SayReceiverState(const std::string& problem);

    EngineCore& core_;
    StationView& station_;
    WindowView& window_;
    std::string boundAddress_;  // host:port of the last binding
    std::string problem_;
    struct Stamp {
        fs::file_time_type time{};
        std::int64_t size = -2;
        bool operator==(const Stamp&) const = default;
    };
    Stamp configStamp_;                  // WSJT-X's configuration as last looked at
    fs::file_time_type journalStamp_{};  // WSJT-X's journal as last copied
    struct CopyIn {
        std::vector<std::string> failures;
    };
    BackgroundJob<CopyIn> copyJob_;
};

}  // namespace vantrel
