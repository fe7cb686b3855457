// ADIF files: the full and the new export, and the import of another logger's file for
// inspection. Each result is opened for the operator.
#include "adif/adif_export.h"
#include "adif/adif_import.h"
#include "app/engine/station_engine.h"

namespace vantrel {

void StationEngine::ExportAdif(bool full) {
    if (full) options_.exportAdifCount = 0;
    const std::size_t counter = static_cast<std::size_t>(std::max(0, options_.exportAdifCount));
    AdifExport exported;
    {
        BusyScope busy(*this, "Progress");
        exported = BuildAdifExport(localLogLines_, counter, station_.call, station_.grid,
                                   [&](int percent) { services_.view.ShowProgress(true, percent); });
    }
    fs::path written;
    std::string error;
    if (!WriteAdifExport(viewerFolder_, ToLocalTime(services_.clock.Now()), counter, exported, &written,
                         &error)) {
        services_.view.ShowMessage("Error", "The ADIF export could not be written: " + error);
        return;
    }
    options_.exportAdifCount = static_cast<int>(exported.nextCounter);
    services_.view.ShowEntries(std::to_string(exported.records));
    services_.desktop.OpenFile(written.string());
}

void StationEngine::AdifImport() {
    const std::string file = services_.view.ChooseFile("ADIF Import", "ADIF files (*.adi *.adif *.ADI);;All files (*)");
    if (file.empty()) return;
    std::string error;
    const auto imported = AdifImportFile(file, &error);
    if (!imported) {
        services_.view.ShowMessage("Error", error);
        return;
    }
    services_.view.ShowEntries(std::to_string(imported->records));
    if (imported->lines.empty()) return;
    const fs::path target = ViewerFile(std::string(kAdifImportFileName).c_str());
    if (!SaveAdifImport(target, imported->lines, &error)) {
        services_.view.ShowMessage("Error", error);
        return;
    }
    services_.desktop.OpenFile(target.string());
}

}  // namespace vantrel
