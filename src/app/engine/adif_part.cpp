#include "app/engine/adif_part.h"

#include "app/engine/held_job.h"

namespace vantrel {

namespace {

std::string Contacts(std::size_t count) {
    return std::to_string(count) + (count == 1 ? " contact" : " contacts");
}

}  // namespace

void AdifPart::ExportAdif(bool full) {
    if (full) core_.UpdateOptions([](StoredOptions& options) { options.exportAdifCount = 0; });
    const std::size_t counter = static_cast<std::size_t>(std::max(0, core_.Options().exportAdifCount));
    StartHeldJob<AdifExportRun>(
        core_, exportJob_, "Progress",
        [log = core_.Log().Snapshot(), counter, call = core_.Station().call, grid = core_.Station().grid,
         folder = core_.ViewerFolder(), today = core_.Now()](const std::atomic<bool>&,
                                                           const std::function<void(int)>& progress) {
            // Written as it is made: the export never holds the whole file in memory.
            return ExportLocalLogAsAdif(folder, *log, false, static_cast<int>(counter), call, grid, today,
                                        std::chrono::system_clock::now(), progress);
        },
        [this](AdifExportRun out) {
            if (!out.ok) {
                core_.Notices().ShowMessage("Error", "The ADIF export could not be written: " + out.error);
                return;
            }
            core_.UpdateOptions([&](StoredOptions& options) { options.exportAdifCount = out.nextCounter; });
            station_.ShowEntries(std::to_string(out.records));
            const std::string path = out.written.string();
            core_.ReportFile(" ADIF export ", Contacts(out.records) + " exported to ", out.written);
            core_.Notices().ShowMessage("Export ADIF File completed", "The Exported ADIF File " + path +
                                                                        " can be found in folder " +
                                                                        out.written.parent_path().string());
            core_.Desktop().OpenFile(path);
        });
}

void AdifPart::AdifImport(const std::string& file) {
    if (file.empty()) return;
    StartHeldJob<Imported>(
        core_, importJob_, "Progress",
        [file, target = core_.ViewerFile(kAdifImportFileName)](const std::atomic<bool>& cancelled,
                                                               const std::function<void(int)>&) {
            Imported out;
            out.result = AdifImportFile(file, &out.error);
            if (cancelled) return out;  // dropped: nothing more is written
            if (out.result && !out.result->lines.empty() && SaveAdifImport(target, out.result->lines, &out.error))
                out.written = target;
            return out;
        },
        [this, file](Imported out) {
            if (!out.result) {
                core_.Notices().ShowMessage("Error", out.error);
                return;
            }
            station_.ShowEntries(std::to_string(out.result->records));
            if (onConfirmations && !out.result->confirmations.empty())
                onConfirmations(std::move(out.result->confirmations));
            if (out.result->lines.empty()) {
                // An earlier ADIimport.txt is not shown as if it were this file's.
                core_.ReportFile(" ADIF Import ", "ADIF Import: no contact found in ", file);
                return;
            }
            if (out.written.empty()) {
                core_.Notices().ShowMessage("Error", out.error);
                return;
            }
            core_.ReportFile(" ADIF Import ", Contacts(out.result->lines.size()) + " of " + fs::path(file).filename().string() +
                                                  " converted into ", out.written);
            core_.Desktop().OpenFile(out.written.string());
        });
}

}  // namespace vantrel
