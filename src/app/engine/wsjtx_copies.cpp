// The viewer's copies of WSJT-X's files: refreshed when the sizes differ, never replaced by a
// shorter file without keeping the longer one under a dated name first.
#include <system_error>

#include "app/engine/station_engine.h"
#include "base/file_io.h"

namespace vantrel {

void StationEngine::KeepLongerCopy(const fs::path& wsjtxFile, const fs::path& viewerCopy,
                                   const std::string& datedName) {
    const std::int64_t wsjtxSize = FileSize(wsjtxFile);
    const std::int64_t copySize = FileSize(viewerCopy);
    if (wsjtxSize < 0 || copySize < 0 || wsjtxSize >= copySize) return;
    std::string error;
    if (!CopyFileReplacing(viewerCopy, ViewerFile(datedName.c_str()), &error))
        Report(" Copy failed ** ", error);
}

bool StationEngine::CopyWsjtxFile(const fs::path& from, const char* copyName,
                                  const CopyProgress& progress) {
    const fs::path to = ViewerFile(copyName);
    if (FileSize(from) == FileSize(to)) return false;
    // WSJT-X only appends to its log and journal: when the copy is an earlier state of the file,
    // only the new bytes are copied.
    std::string error;
    const bool appendOnly = copyName == std::string_view(kLogCopy) || copyName == std::string_view(kJournalCopy);
    const bool copied = appendOnly ? RefreshAppendOnlyCopy(from, to, &error, progress) != CopyRefresh::Failed
                                   : CopyFileReplacing(from, to, &error, progress);
    // A failed copy leaves the previous copy as it was; a missing WSJT-X file is no failure.
    if (!copied && FileSize(from) >= 0) Report(" Copy failed ** ", error);
    return copied;
}

void StationEngine::CopyInWsjtxFiles() {
    const WsjtxFiles files = CurrentWsjtxFiles();
    // A WSJT-X file shorter than the copy (a log restarted, a journal erased) would replace the
    // longer copy: keep that one first under a dated name.
    KeepLongerCopy(files.log, ViewerFile(kLogCopy), DatedName("wsjtx", ".log"));
    KeepLongerCopy(files.journal, ViewerFile(kJournalCopy), DatedName("all", ".txt"));

    services_.view.SetRegionVisible(Region::ProgressPanel, true);
    services_.view.ShowProgress(true, 0);
    CopyWsjtxFile(files.log, kLogCopy);
    services_.view.ShowProgress(true, 33);
    CopyWsjtxFile(files.config, kConfigCopy);
    services_.view.ShowProgress(true, 66);
    CopyWsjtxFile(files.journal, kJournalCopy, [this](int percent) {
        services_.view.ShowProgress(true, 66 + percent * 34 / 100);
    });
    services_.view.ShowProgress(true, 100);
    services_.view.ShowProgress(false, 100);
    services_.view.SetRegionVisible(Region::ProgressPanel, false);
}

void StationEngine::RefreshWsjtxConfig() {
    Diagnostic("update_ini_file;");
    if (CopyWsjtxFile(CurrentWsjtxFiles().config, kConfigCopy)) ReadWsjtxConfig();
}

void StationEngine::ReadWsjtxConfig() {
    Diagnostic("get_local_wsjtxini_data;");
    LogLines lines;
    if (auto loaded = LoadLogLines(ViewerFile(kConfigCopy))) lines = std::move(*loaded);
    // Every line is read before the receiver is bound: WSJT-X writes its keys sorted, so the
    // broadcast switch comes before the host and port it applies to.
    const WsjtxConfig previous = config_;
    config_ = ReadWsjtxConfigLines(lines, previous.port, previous.broadcast);
    if (!config_.rejectedPort.empty())
        Report(" INI ** ", "N1MMServerPort=" + config_.rejectedPort +
                               " is not a port number; port " + std::to_string(config_.port) +
                               " is kept");
    station_.call = config_.call;
    station_.grid = config_.grid;

    // A receiver already listening on the same address keeps listening, so no datagram is
    // missed while the file is read again.
    const std::string address = config_.host + ":" + std::to_string(config_.port);
    if (WantsReceiver(config_) && !(services_.receiver.IsBound() && boundAddress_ == address)) {
        services_.receiver.Stop();
        std::string error;
        boundAddress_ = address;
        if (services_.receiver.Bind(config_.host, config_.port, &error))
            Trace(" UDP ** ", "listening on " + address);
        else
            Report(" UDP ** ", "Cannot receive logged contacts on " + address + ": " + error);
        services_.view.ShowN1mm(config_.host, std::to_string(config_.port));
        services_.view.SetRegionVisible(Region::N1mm, true);
    }
    services_.view.ShowStationDetails(station_.call, station_.grid);
}

void StationEngine::update_log_file() {
    Diagnostic("update_log_file;");
    if (!CopyWsjtxFile(CurrentWsjtxFiles().log, kLogCopy) || HasSwitch("/NLU")) return;
    if (auto lines = LoadLogLines(ViewerFile(kLogCopy))) wsjtxLogLines_ = std::move(*lines);
}

void StationEngine::update_all_file(const fs::path& journal) {
    Diagnostic("update_all_file;");
    CopyWsjtxFile(journal, kJournalCopy);
}

}  // namespace vantrel
