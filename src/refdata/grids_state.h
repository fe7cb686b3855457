// grids.state: where the grids build stopped in the journal copy, kept beside grids.txt so that
// the next start reads only what WSJT-X appended since. It holds the journal offset, the journal
// bytes sampled there (a replaced or shrunk journal no longer matches them), the candidate count
// and the size of the grids.txt it belongs to: a state whose grids.txt was changed or not
// written is not used, and the journal is scanned whole as without it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "journal/journal_reader.h"

namespace vantrel {

struct GridsState {
    std::uint64_t gridsSize = 0;  // bytes of grids.txt when the state was written
    std::uint64_t journalOffset = 0;
    std::uint64_t candidateCount = 0;
    JournalSamples samples;
};

std::string GridsStateText(const GridsState& state);
std::optional<GridsState> ParseGridsState(std::string_view text);

// The state beside `gridsFile`, when it is readable and belongs to grids.txt as it stands.
std::optional<GridsState> LoadGridsState(const std::filesystem::path& gridsFile);
// Writes the state for grids.txt as it stands now (call it after grids.txt is written). Left
// alone when it already holds the same.
bool SaveGridsState(const std::filesystem::path& gridsFile, GridsState state, std::string* error = nullptr);
std::filesystem::path GridsStateFile(const std::filesystem::path& gridsFile);

}  // namespace vantrel
