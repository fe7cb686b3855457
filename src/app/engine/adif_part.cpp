#include "app/engine/adif_part.h"

#include "app/engine/held_job.h"

namespace vantrel {

void AdifPart::ExportAdif(bool full) {
    if (full) core_.options.exportAdifCount = 0;
    const std::size_t counter = static_cast<std::size_t>(std::max(0, core_.options.exportAdifCount));
    StartHeldJob<Exported>(
        core_, exportJob_, "Progress",
        [log = core_.log.Lines(), counter, call = core_.station.call, grid = core_.station.grid,
         folder = core_.viewerFolder, today = core_.Now()](const std::atomic<bool>&,
                                                           const std::function<void(int)>& progress) {
            Exported out;
            out.exported = BuildAdifExport(log, counter, call, grid, progress);
            if (!WriteAdifExport(folder, today, counter, out.exported, &out.written, &out.error) && out.error.empty())
                out.error = "unknown failure";
            return out;
        },
        [this](Exported out) {
            if (!out.error.empty()) {
                core_.notices.ShowMessage("Error", "The ADIF export could not be written: " + out.error);
                return;
            }
            core_.options.exportAdifCount = static_cast<int>(out.exported.nextCounter);
            station_.ShowEntries(std::to_string(out.exported.records));
            core_.services.desktop.OpenFile(out.written.string());
        });
}

void AdifPart::AdifImport(const std::string& file) {
    if (file.empty()) return;
    StartHeldJob<Imported>(
        core_, importJob_, "Progress",
        [file, target = core_.ViewerFile(kAdifImportFileName)](const std::atomic<bool>&,
                                                               const std::function<void(int)>&) {
            Imported out;
            out.result = AdifImportFile(file, &out.error);
            if (out.result && !out.result->lines.empty() && SaveAdifImport(target, out.result->lines, &out.error))
                out.written = target;
            return out;
        },
        [this](Imported out) {
            if (!out.result) {
                core_.notices.ShowMessage("Error", out.error);
                return;
            }
            station_.ShowEntries(std::to_string(out.result->records));
            if (out.result->lines.empty()) return;
            if (out.written.empty()) {
                core_.notices.ShowMessage("Error", out.error);
                return;
            }
            core_.services.desktop.OpenFile(out.written.string());
        });
}

}  // namespace vantrel
