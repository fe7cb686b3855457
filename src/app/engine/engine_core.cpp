#include "app/engine/engine_core.h"

namespace vantrel {

EngineCore::EngineCore(EngineServices s, NoticeView& n, const std::vector<std::string>& arguments)
    : services(std::move(s)),
      notices(n),
      switches(arguments),
      viewerFolder(services.viewerFolder),
      wsjtxFolder(ResolveWsjtxFolder(services.environment, switches.RigName())),
      tracer(services.clock),
      log(viewerFolder / kLocalLog) {
    // The counters of this run start at zero; the stored ones are loaded by the start-up.
    options.runs = 0;
    options.allCount = 0;
    options.datesRun = false;
    options.exportAdifCount = 0;
}

WsjtxFiles EngineCore::CurrentWsjtxFiles() const {
    return LocateWsjtxFiles(wsjtxFolder, services.environment, switches.RigName(), Now());
}

std::string EngineCore::DatedName(const char* stem, const char* extension) const {
    return std::string(stem) + FormatDdMmYyyy(Now()) + extension;
}

void EngineCore::Diagnostic(std::string_view text) {
    if (HasSwitch("/DEBUG")) tracer.WriteDiagnostic(text);
}

void EngineCore::Trace(std::string_view label, std::string_view text) { tracer.Trace(label, text); }

void EngineCore::Report(std::string_view label, std::string_view text) {
    Trace(label, text);
    notices.ShowStatus(std::string(text));
}

void EngineCore::ShowEntriesCount(StationView& view) const {
    view.ShowEntries(std::to_string(log.size()));
}

}  // namespace vantrel
