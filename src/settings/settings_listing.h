// The listing of the stored settings that "Show Registry values" shows and writes to
// RegValues.txt: 23 lines, the sixth empty, values as the store holds them after a full load.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace vantrel {

inline constexpr const char* kSettingsListingFile = "RegValues.txt";

// The listing read from the store: the main window's place with the full load's defaults
// (30, 30, 660 x 600), the counters and options, and the map window's keys with the defaults the
// map window itself starts from (200, 200, 660 x 375, 33 %, font size "12").
std::vector<std::string> SettingsListingLines(SettingsStore& store);

// Replaces the file with the lines, each followed by CR LF, in one step.
bool WriteSettingsListing(const std::filesystem::path& file, const std::vector<std::string>& lines,
                          std::string* error = nullptr);

}  // namespace vantrel
