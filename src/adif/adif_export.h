// Writing the local log as an ADIF file, with a comma-separated check file of the same fields.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "base/time_text.h"
#include "log/log_lines.h"

namespace vantrel {

inline constexpr std::string_view kAdifCheckFileName = "ADIF check data.csv";

// "Vantrel 07Dec26.ADI" for an export from the first contact (counter 0), else
// "Vantrel NEW 07Dec26.ADI".
std::string AdifExportFileName(const LocalTime& today, std::size_t counter);

// The lines before the first record, each ended by CR LF: a free-text first line (so that ADIF
// readers see a header), the version and program fields, "<EOH>" and an empty line.
std::string AdifExportHeader();

// Appends the record of one local log line (all fields on one line, ended by CR LF) to `adif`
// and its check-file line (the same seventeen pieces joined by commas, CR LF) to `check`.
// The operator's callsign and grid stand in for empty fields 14 and 15.
void AppendAdifExportRecord(std::string_view localLine, std::string_view operatorCall,
                            std::string_view operatorGrid, std::string& adif, std::string& check);

struct AdifExport {
    std::string adif;            // the whole ADIF file
    std::string check;           // the whole check file
    std::size_t records = 0;     // contacts written
    std::size_t nextCounter = 0; // where the next new export starts: the line count less one
};

// Exports the lines from position `counter` on (empty lines skipped). A counter at or past the
// line count gives the header alone. `progress` (optional) is told the per cent done now and then.
AdifExport BuildAdifExport(const LogLines& lines, std::size_t counter, std::string_view operatorCall,
                           std::string_view operatorGrid,
                           const std::function<void(int percent)>& progress = {});

// Writes the export file (named by date and counter) in `folder` and the check file beside it,
// each replaced in one step. The written export file's path goes to `written`.
bool WriteAdifExport(const std::filesystem::path& folder, const LocalTime& today, std::size_t counter,
                     const AdifExport& exported, std::filesystem::path* written = nullptr,
                     std::string* error = nullptr);

}  // namespace vantrel
