// Writing the local log as an ADIF file, with a comma-separated check file of the same fields.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "base/file_io.h"
#include "base/time_text.h"
#include "log/log_lines.h"

namespace vantrel {

inline constexpr std::string_view kAdifCheckFileName = "ADIF check data.csv";

// "Vantrel 07Dec26.ADI" for an export from the first contact (counter 0), else
// "Vantrel NEW 07Dec26.ADI".
std::string AdifExportFileName(const LocalTime& today, std::size_t counter);

// The lines before the first record, each ended by CR LF: a free-text first line (so that ADIF
// readers see a header), the program's version and program fields, ADIF's own ADIF_VER (3.1.6)
// and CREATED_TIMESTAMP (UTC, "yyyymmdd hhmmss"), "<EOH>" and an empty line.
std::string AdifExportHeader(TimePoint created);
std::string AdifCreatedTimestamp(TimePoint created);

// Appends the record of one local log line (all fields on one line, ended by CR LF) to `adif`
// and its check-file line (the same nineteen pieces joined by commas, CR LF) to `check`.
// The operator's callsign and grid stand in for empty fields 14 and 15. The stored mode is
// written as ADIF's mode enumeration has it (FT4 as MODE MFSK and SUBMODE FT4), and the date
// off (field 3) as QSO_DATE_OFF before TIME_OFF.
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
// The header is stamped with `created`, or with the present time.
AdifExport BuildAdifExport(const LogLines& lines, std::size_t counter, std::string_view operatorCall,
                           std::string_view operatorGrid, TimePoint created,
                           const std::function<void(int percent)>& progress = {});
AdifExport BuildAdifExport(const LogLines& lines, std::size_t counter, std::string_view operatorCall,
                           std::string_view operatorGrid,
                           const std::function<void(int percent)>& progress = {});

// Writes the export file (named by date and counter) in `folder` and the check file beside it,
// each replaced in one step. The written export file's path goes to `written`.
bool WriteAdifExport(const std::filesystem::path& folder, const LocalTime& today, std::size_t counter,
                     const AdifExport& exported, std::filesystem::path* written = nullptr,
                     std::string* error = nullptr);

// An export written as its records come, never held whole: the header first, then one record
// per Add, gathered in a small buffer; both files (the export, named by date and counter, and the
// check file) replace their targets at Finish. Nothing is replaced when any step fails.
class AdifExportWriter {
public:
    AdifExportWriter(const std::filesystem::path& folder, const LocalTime& today, std::size_t counter,
                     std::string_view operatorCall, std::string_view operatorGrid, TimePoint created);
    bool Open(std::string* error = nullptr);
    // One local log line; an empty line is not a contact and is passed by.
    bool Add(std::string_view localLine, std::string* error = nullptr);
    bool Finish(std::filesystem::path* written = nullptr, std::string* error = nullptr);
    std::size_t Records() const { return records_; }

private:
    bool Flush(std::string* error);

    std::filesystem::path file_;
    std::string call_, grid_;
    TimePoint created_;
    NewFileWriter adifFile_, checkFile_;
    std::string adif_, check_;
    std::size_t records_ = 0;
};

struct AdifExportRun {
    bool ok = false;
    std::filesystem::path written;  // the export file
    std::size_t records = 0;
    int nextCounter = 0;  // the counter to store (VantrelerExportADIFileCount); unchanged on failure
    std::string error;
};

// A whole export as the menu entries make it: "Full ADIF export" (`full`, from the first line)
// or "New ADIF export" (from `storedCounter`), both files written in the viewer folder with
// `today`'s date in the name and `created` as the creation time. Written as it is read.
AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, const LogLines& localLines,
                                   bool full, int storedCounter, std::string_view operatorCall,
                                   std::string_view operatorGrid, const LocalTime& today, TimePoint created,
                                   const std::function<void(int percent)>& progress = {});
// The same with today's date taken from `now` (local time).
AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, const LogLines& localLines,
                                   bool full, int storedCounter, std::string_view operatorCall,
                                   std::string_view operatorGrid, TimePoint now,
                                   const std::function<void(int percent)>& progress = {});
// The same for the command line: the local log is read from Viewer_local_log.csv in the folder
// piece by piece (empty lines dropped, as the window loads it) and never held whole. It reads
// the log as it stood when the export began: lines appended meanwhile wait for the next one.
// A missing or unreadable log fails with its reason.
AdifExportRun ExportLocalLogAsAdif(const std::filesystem::path& viewerFolder, bool full, int storedCounter,
                                   std::string_view operatorCall, std::string_view operatorGrid, TimePoint now);

}  // namespace vantrel
