// Turning an ADIF file from any logger into comma-separated lines for inspection.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "awards/confirmations.h"

namespace vantrel {

inline constexpr std::string_view kAdifImportFileName = "ADIimport.txt";

struct AdifImportResult {
    // One import line per record that names a callsign, sorted ignoring letter case, each
    // distinct line once.
    std::vector<std::string> lines;
    std::size_t records = 0;           // records read (with or without a callsign)
    std::size_t distinctFileLines = 0; // distinct lines of the file, letter case ignored
    // The records marked as confirmed (QSL_RCVD, LOTW_QSL_RCVD or EQSL_QSL_RCVD = Y), in file
    // order, for the confirmations store.
    std::vector<Confirmation> confirmations;
};

// Reads the records as ADIF defines them: any letter case, type indicators, fields spread over
// several lines, a header ended by "<eoh>" or none.
AdifImportResult AdifImport(std::string_view fileBytes);
std::optional<AdifImportResult> AdifImportFile(const std::filesystem::path& file, std::string* error = nullptr);

// Writes the lines, each ended by CR LF, replacing the file in one step.
bool SaveAdifImport(const std::filesystem::path& file, const std::vector<std::string>& lines,
                    std::string* error = nullptr);

}  // namespace vantrel
