// ADIF files: the full and the new export, and the import of another logger's file for
// inspection. Each runs on a thread of its own with the progress panel; the result is opened
// for the operator.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "adif/adif_export.h"
#include "adif/adif_import.h"
#include "jobs/background_job.h"
#include "app/engine/engine_core.h"

namespace vantrel {

class AdifPart {
public:
    AdifPart(EngineCore& core, StationView& station) : core_(core), station_(station) {}

    // "Full ADIF export" (full) and "New ADIF export": the contacts since the last export.
    void ExportAdif(bool full);
    // "ADIF Import" of the file the operator chose.
    void AdifImport(const std::string& file);
    // Told, on the engine's thread, of the confirmed records an import found (the import itself
    // goes on as before): the awards take them into the confirmations store.
    std::function<void(std::vector<Confirmation>)> onConfirmations;

private:
    struct Imported {
        std::optional<AdifImportResult> result;
        fs::path written;
        std::string error;
    };

    EngineCore& core_;
    StationView& station_;
    BackgroundJob<AdifExportRun> exportJob_;
    BackgroundJob<Imported> importJob_;
};

}  // namespace vantrel
