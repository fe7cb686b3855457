#include "refdata/grids_builder.h"

#include <algorithm>
#include <cerrno>

#include "journal/journal_line.h"

namespace vantrel {

namespace {

constexpr std::uint64_t kProgressBytes = 8u << 20;  // progress every this many bytes

inline bool InRange(char c, char low, char high) { return c >= low && c <= high; }

// Two letters A-R and two digits, and not "RR73".
inline bool IsGridWord(std::string_view g) {
    return g.size() == 4 && InRange(g[0], 'A', 'R') && InRange(g[1], 'A', 'R') &&
           InRange(g[2], '0', '9') && InRange(g[3], '0', '9') && g != "RR73";
}

// At least 3 characters and no hash marks ("<...>", "<K1ABC>").
inline bool IsCallWord(std::string_view c) {
    return c.size() >= 3 && c.find_first_of("<>") == std::string_view::npos;
}

// The grid word of a received line, from the first four words of its message.
inline JournalGridWord GridWordOfMessage(const std::string_view* m) {
    JournalGridWord result;
    if (m[0].size() <= 4) {
        result.call = m[1];
        result.grid = m[2];
    } else {
        result.call = m[0];
        result.grid = m[1];
    }
    const std::string_view g = result.grid;
    if (g.size() == 4 && g != "RR73" && g.find_first_of("+-") == std::string_view::npos) {
        result.candidate = true;
        result.accepted = InRange(g[0], 'A', 'R') && InRange(g[1], 'A', 'R') &&
                          InRange(g[2], '0', '9') && InRange(g[3], '0', '9') && result.call.size() >= 3;
        if (result.accepted) return result;
    }
    // A directed CQ (CQ DX CALL GRID) or the answer to a CQ (CALL1 CALL2 GRID).
    if (m[0] == "CQ" && IsGridWord(m[3]) && IsCallWord(m[2])) {
        result.call = m[2];
        result.grid = m[3];
        result.accepted = true;
    } else if (IsGridWord(m[2]) && IsCallWord(m[1])) {
        result.call = m[1];
        result.grid = m[2];
        result.accepted = true;
    } else {
        result.accepted = false;
    }
    return result;
}

inline JournalGridWord GridWordOfWords(const JournalMessageWords& words) {
    if (words.direction != "Rx") return {};
    return GridWordOfMessage(words.message);
}

// Reads the journal from `state.journalOffset` to its end and takes every complete line into
// the state.
JournalReader::Status ScanJournal(JournalReader& reader, GridsBuild& state, std::size_t* newEntries,
                                  const GridsProgress& progress) {
    std::size_t added = 0;
    constexpr std::size_t kPending = 16;
    GridsWorkingList::Prepared pending[kPending];
    const std::uint64_t total = reader.Size();
    std::uint64_t nextProgress = state.journalOffset + kProgressBytes;

    const JournalReader::ScanEnd end = reader.Scan(
        state.journalOffset,
        [&](std::string_view block, std::uint64_t offset) {
            std::size_t pendingCount = 0;
            const char* p = block.data();
            const char* blockEnd = p + block.size();
            while (p < blockEnd) {
                JournalMessageWords words;
                const std::size_t bytes = NextJournalLine(p, blockEnd, words);
                if (bytes == 0) break;
                p += bytes;
                const JournalGridWord word = GridWordOfWords(words);
                state.candidateCount += word.candidate;
                if (word.accepted) {
                    // Added a few entries later, once its slot has been fetched.
                    auto& slot = pending[pendingCount++ % kPending];
                    if (pendingCount > kPending && state.list.Add(slot)) ++added;
                    slot = state.list.Prepare(word.call, word.grid);
                }
            }
            // The views point into the block: add what is still pending before it moves.
            for (std::size_t i = pendingCount > kPending ? pendingCount - kPending : 0; i < pendingCount; ++i) {
                if (state.list.Add(pending[i % kPending])) ++added;
            }
            const std::uint64_t done = offset + block.size();
            state.journalOffset = done;
            if (progress && done >= nextProgress) {
                nextProgress = done + kProgressBytes;
                if (!progress({done, total, state.candidateCount})) return false;
            }
            return true;
        },
        &state.error);
    if (newEntries) *newEntries = added;
    if (end.status == JournalReader::Status::Done && progress &&
        !progress({end.fileEnd, std::max(total, end.fileEnd), state.candidateCount}))
        return JournalReader::Status::Stopped;
    return end.status;
}

// Scans the whole journal on top of the entries the state holds.
void FullScan(JournalReader& reader, GridsBuild& state, const GridsProgress& progress,
              const std::filesystem::path& journal) {
    state.candidateCount = 0;
    state.journalOffset = 0;
    state.samples.clear();
    const JournalReader::Status end = ScanJournal(reader, state, nullptr, progress);
    if (end == JournalReader::Status::Done && !state.samples.Take(reader, state.journalOffset)) {
        state.error = "Cannot read " + journal.string();
        state.status = GridsBuildStatus::Failed;
        return;
    }
    state.status = end == JournalReader::Status::Done     ? GridsBuildStatus::Built
                   : end == JournalReader::Status::Failed ? GridsBuildStatus::Failed
                                                          : GridsBuildStatus::Stopped;
}

}  // namespace

JournalGridWord GridWordOfLine(std::string_view line) {
    constexpr std::size_t kWords = kJournalFirstMessageWord + 3;
    const JournalWords<kWords> cut(line);
    JournalMessageWords words;
    words.direction = cut.direction();
    for (std::size_t i = 0; i < 4; ++i) words.message[i] = cut.message(i + 1);
    return GridWordOfWords(words);
}

JournalGridWord GridWordOfLineInBuffer(std::string_view line) {
    line = JournalLineText(line);
    std::string padded(line);
    padded += '\n';
    padded.append(kJournalPadding, '\0');
    JournalMessageWords words;
    NextJournalLine(padded.data(), padded.data() + line.size() + 1, words);
    JournalGridWord word = GridWordOfWords(words);
    // The views point into the copy: move them back onto the line.
    auto back = [&](std::string_view v) {
        return v.empty() ? v : line.substr(static_cast<std::size_t>(v.data() - padded.data()), v.size());
    };
    word.call = back(word.call);
    word.grid = back(word.grid);
    return word;
}

GridsBuild BuildGrids(const std::filesystem::path& journal, const LogLines& existingGrids,
                      const GridsProgress& progress) {
    GridsBuild state;
    JournalReader reader;
    if (!reader.Open(journal, &state.error)) {
        state.status = errno == ENOENT ? GridsBuildStatus::NoJournal : GridsBuildStatus::Failed;
        return state;
    }
    state.list.reserve(existingGrids.size() + 1024);
    state.list.AddLines(existingGrids);
    FullScan(reader, state, progress, journal);
    return state;
}

GridsRefresh RefreshGrids(GridsBuild& state, const std::filesystem::path& journal,
                          std::size_t* newEntries, const GridsProgress& progress) {
    if (newEntries) *newEntries = 0;
    JournalReader reader;
    if (!reader.Open(journal, &state.error))
        return errno == ENOENT ? GridsRefresh::NoJournal : GridsRefresh::Failed;
    const std::uint64_t size = reader.Size();
    if (state.ok() && size >= state.journalOffset && state.samples.Match(reader, state.journalOffset)) {
        if (size == state.journalOffset) return GridsRefresh::Unchanged;
        GridsBuild grown;  // scanned apart, so a failed read leaves the state as it was
        grown.journalOffset = state.journalOffset;
        grown.candidateCount = state.candidateCount;
        grown.list = std::move(state.list);
        std::size_t added = 0;
        const JournalReader::Status end = ScanJournal(reader, grown, &added, progress);
        if (end != JournalReader::Status::Done ||
            (grown.journalOffset != state.journalOffset && !grown.samples.Take(reader, grown.journalOffset))) {
            // The entries added so far stay: they are true entries a later scan adds again.
            state.list = std::move(grown.list);
            if (end == JournalReader::Status::Stopped) return GridsRefresh::Stopped;
            state.error = grown.error.empty() ? "Cannot read " + journal.string() : grown.error;
            return GridsRefresh::Failed;
        }
        state.list = std::move(grown.list);
        if (grown.journalOffset == state.journalOffset) return GridsRefresh::Unchanged;
        state.candidateCount = grown.candidateCount;
        state.journalOffset = grown.journalOffset;
        state.samples = std::move(grown.samples);
        if (newEntries) *newEntries = added;
        return GridsRefresh::Appended;
    }
    const std::size_t before = state.list.size();
    FullScan(reader, state, progress, journal);
    if (newEntries) *newEntries = state.list.size() - before;
    switch (state.status) {
        case GridsBuildStatus::Built: return GridsRefresh::Rebuilt;
        case GridsBuildStatus::Stopped: return GridsRefresh::Stopped;
        default: return GridsRefresh::Failed;
    }
}

GridsBuild ContinueGrids(const std::filesystem::path& journal, const LogLines& existingGrids,
                         const GridsState& from, const GridsProgress& progress) {
    GridsBuild state;
    state.list.reserve(existingGrids.size() + 1024);
    state.list.AddLines(existingGrids);
    state.status = GridsBuildStatus::Built;
    state.journalOffset = from.journalOffset;
    state.candidateCount = from.candidateCount;
    state.samples = from.samples;
    switch (RefreshGrids(state, journal, nullptr, progress)) {
        case GridsRefresh::Unchanged:
        case GridsRefresh::Appended:
        case GridsRefresh::Rebuilt: state.status = GridsBuildStatus::Built; break;
        case GridsRefresh::NoJournal: state.status = GridsBuildStatus::NoJournal; break;
        case GridsRefresh::Failed: state.status = GridsBuildStatus::Failed; break;
        case GridsRefresh::Stopped: state.status = GridsBuildStatus::Stopped; break;
    }
    return state;
}

bool SaveGrids(const GridsWorkingList& list, const std::filesystem::path& gridsFile,
               std::string* error) {
    return SaveLogLinesIfChanged(gridsFile, list.ToLogLines(), error);
}

GridsState StateOfBuild(const GridsBuild& build) {
    GridsState state;
    state.journalOffset = build.journalOffset;
    state.candidateCount = build.candidateCount;
    state.samples = build.samples;
    return state;
}

}  // namespace vantrel
