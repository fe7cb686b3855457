// Building grids.txt from the journal copy: every received journal line whose message carries a
// callsign and a 4-character locator gives a "CALL,GRID" entry; the entries join those grids.txt
// already held, sorted without regard to letter case, each distinct line once.
//
// The journal is read as a stream in large chunks (it can be several gigabytes) and cut with the
// word view of journal/journal_line.h. A build keeps where it stopped, so that after WSJT-X appends to
// the journal only the new lines are read, and the result is the one a full build would give.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "journal/journal_reader.h"
#include "log/log_lines.h"
#include "refdata/grids_list.h"
#include "refdata/grids_state.h"

namespace vantrel {

// What one journal line gives. The line's direction (word 3) must be "Rx". Of its message, the
// callsign is word 1, or word 2 when word 1 has at most 4 characters (CQ, QRZ, DE), and the grid
// word follows the callsign. The grid word is a candidate when it has 4 characters, is not
// "RR73" and holds neither "+" nor "-". A candidate is accepted when it is two letters A-R and two
// digits and the callsign has at least 3 characters.
//
// A line whose grid word is not accepted may still give an entry from the two commonest
// messages that carry a grid: the directed CQ "CQ WORD CALL GRID" (CQ DX, CQ NA, CQ POTA, ...)
// gives CALL,GRID, and the answer to a CQ "CALL1 CALL2 GRID" gives CALL2,GRID (the sender's
// grid). There GRID must be two letters A-R and two digits and not "RR73", and the callsign at
// least 3 characters without hash marks ("<...>"). These lines are not counted as candidates:
// the count stays that of the grid word above.
struct JournalGridWord {
    bool candidate = false;  // counts towards the candidate count
    bool accepted = false;   // gives the entry call "," grid
    std::string_view call;  // views into the line
    std::string_view grid;
};
JournalGridWord GridWordOfLine(std::string_view line);
// The same, taken the way the build takes lines from its read buffer (for tests).
JournalGridWord GridWordOfLineInBuffer(std::string_view line);

// Progress of a scan: called every few megabytes. Returning false stops the scan; the build
// then reports Stopped and its state must not be used for a refresh.
struct GridsScanProgress {
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
    std::uint64_t candidateCount = 0;
};
using GridsProgress = std::function<bool(const GridsScanProgress&)>;

enum class GridsBuildStatus { Built, NoJournal, Failed, Stopped };

// The result of a build, and the state a refresh continues from. The engine keeps it between
// timer ticks. `list` stands for grids.txt: save it (SaveGrids) after every build or refresh
// that changed it, and make further additions (the sibling grids file, the local log) to it.
struct GridsBuild {
    GridsBuildStatus status = GridsBuildStatus::Failed;
    std::string error;
    GridsWorkingList list;             // every entry, grids.txt's old lines included
    std::uint64_t candidateCount = 0;  // candidate grid words in the journal's complete lines

    // Where the scan stopped: the end of the last complete line. A line still being written
    // (no line end yet) is taken when its line end arrives.
    std::uint64_t journalOffset = 0;
    JournalSamples samples;  // the journal's first bytes and those just before journalOffset

    bool ok() const { return status == GridsBuildStatus::Built; }
};

// Scans the whole journal. `existingGrids` is the content of grids.txt (empty when missing).
GridsBuild BuildGrids(const std::filesystem::path& journal, const LogLines& existingGrids,
                      const GridsProgress& progress = {});

// Continues from the state an earlier run kept: `existingGrids` (grids.txt) already holds the
// entries of the journal up to the state's offset, so only the bytes after it are read, unless
// the journal shrank or its sampled bytes differ: then the whole journal is scanned, as by
// BuildGrids.
GridsBuild ContinueGrids(const std::filesystem::path& journal, const LogLines& existingGrids,
                         const GridsState& from, const GridsProgress& progress = {});

enum class GridsRefresh {
    Unchanged,  // no new complete line: nothing to save
    Appended,   // new lines scanned; `newEntries` tells whether grids.txt needs saving
    Rebuilt,    // the journal shrank or its start changed: scanned again from the start
    NoJournal,  // the journal is gone; the state is kept
    Failed,     // read error; the state is kept
    Stopped,    // the rescan was stopped by the progress callback; the state must be rebuilt
};

// Brings a finished build up to date with the journal. When the journal grew, only the bytes
// after `journalOffset` are read; when it shrank or its sampled bytes differ, the whole journal
// is scanned again on top of the state's entries (what grids.txt holds). The count is the one
// a full build of the journal as it stands would give.
GridsRefresh RefreshGrids(GridsBuild& state, const std::filesystem::path& journal,
                          std::size_t* newEntries = nullptr, const GridsProgress& progress = {});

// Writes the entries, sorted, to grids.txt in one step; a grids.txt that already holds them is
// left as it is.
bool SaveGrids(const GridsWorkingList& list, const std::filesystem::path& gridsFile,
               std::string* error = nullptr);
// The part of a finished build that grids.state keeps.
GridsState StateOfBuild(const GridsBuild& build);

}  // namespace vantrel
