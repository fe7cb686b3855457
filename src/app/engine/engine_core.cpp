#include "app/engine/engine_core.h"

#include <system_error>

namespace vantrel {

bool OperatorDesktop::OpenFile(const std::string& path) {
    if (desktop_.OpenFile(path)) return true;
    std::error_code ec;
    if (fs::is_directory(path, ec))
        notices_.ShowMessage("No program to open the folder",
                             "This desktop has no file manager that opens the folder. Open it by hand:\n" + path);
    else
        notices_.ShowMessage("No program to open the file",
                             "This desktop has no program that opens the file. Open it by hand:\n" + path);
    return false;
}

bool OperatorDesktop::OpenUrl(const std::string& url) {
    if (desktop_.OpenUrl(url)) return true;
    notices_.ShowMessage("No web browser",
                         "This desktop has no program that opens web addresses. Open the address by hand:\n" + url);
    return false;
}

EngineCore::EngineCore(EngineServices s, NoticeView& n, const std::vector<std::string>& arguments)
    : services_(std::move(s)),
      notices_(n),
      desktop_(services_.desktop, n),
      switches_(arguments),
      viewerFolder_(services_.viewerFolder),
      wsjtxFolder_(ResolveWsjtxFolder(services_.environment, switches_.RigName())),
      tracer_(services_.clock),
      log_(viewerFolder_ / kLocalLog) {
    // The counters of this run start at zero; the stored ones are loaded by the start-up.
    options_.Update([](StoredOptions& options) {
        options.runs = 0;
        options.allCount = 0;
        options.datesRun = false;
        options.exportAdifCount = 0;
    });
}

WsjtxFiles EngineCore::CurrentWsjtxFiles() const {
    return LocateWsjtxFiles(wsjtxFolder_, services_.environment, switches_.RigName(), Now());
}

std::string EngineCore::DatedName(const char* stem, const char* extension) const {
    return std::string(stem) + FormatDdMmYyyy(Now()) + extension;
}

void EngineCore::Diagnostic(std::string_view text) {
    if (HasSwitch("/DEBUG")) tracer_.WriteDiagnostic(text);
}

void EngineCore::Trace(std::string_view label, std::string_view text) { tracer_.Trace(label, text); }

void EngineCore::Report(std::string_view label, std::string_view text) {
    Trace(label, text);
    notices_.ShowStatus(std::string(text));
}

void EngineCore::ReportFile(std::string_view label, const std::string& text, const fs::path& file) {
    Trace(label, text + file.string());
    notices_.ShowFileStatus(text, file.string());
}

void EngineCore::ShowEntriesCount(StationView& view) const {
    view.ShowEntries(std::to_string(log_.size()));
}

}  // namespace vantrel
