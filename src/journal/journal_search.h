// The search of the journal copy for a callsign or any text, as the "Searching local ALL.TXT"
// panel lists it.
//
// A line is listed when, in its search form (upper case, trimmed), the search text stands at
// its start or right after a blank, and the line holds "FT8". The journal's last line is never
// examined (it may still be being written). An empty search text matches nothing.
//
// The journal is streamed and only the listed lines are kept. A search remembers where it
// stopped, so that when the journal has only grown since, a refresh reads only the new bytes and
// lists exactly what a search of the whole journal would.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_line.h"
#include "journal/journal_reader.h"

namespace vantrel {

// The listed lines, in journal order, each kept in its search form. Lines are kept in blocks
// that never move, so a list of millions of lines grows without being copied.
class JournalMatches {
public:
    std::size_t size() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    std::string_view Line(std::size_t i) const { return lines_[i]; }
    // The line cut into the panel's eight fields (views into this list).
    JournalLine Row(std::size_t i) const { return CutJournalLine(Line(i)); }

    // Adds a journal line (with or without its line end) in its search form.
    void AddLine(std::string_view line);
    // Keeps the first `count` lines.
    void Truncate(std::size_t count);

private:
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t used = 0, size = 0;
    };
    std::vector<Block> blocks_;
    std::deque<std::string_view> lines_;
};

// The text as the search takes it: trimmed, upper case.
std::string JournalSearchText(std::string_view typed);

// True when the journal line (with or without its line end) is listed for the search text
// (already in the form JournalSearchText gives).
bool JournalLineMatches(std::string_view line, std::string_view searchText);

enum class JournalSearchStatus {
    NoJournal,       // the journal copy is missing or empty: nothing is done
    TooFewLines,     // fewer than 2 lines: nothing is examined
    Searched,        // the whole journal was searched
    Appended,        // only the bytes added since the last search were read
    Unchanged,       // nothing was added since
    NeedsWholeSearch,  // a refresh cannot continue (another text, a shrunk or replaced journal)
    Failed,          // a read error (`error` says which)
    Stopped,         // cancelled
};

// A search and where it stopped.
struct JournalSearch {
    JournalSearchStatus status = JournalSearchStatus::NoJournal;
    std::string error;
    std::string text;  // the search text
    // Shared with the views that show them; a refresh appends to them.
    std::shared_ptr<JournalMatches> matches = std::make_shared<JournalMatches>();
    // The start of the journal's last line: every line before it has been examined.
    std::uint64_t examinedEnd = 0;
    std::uint64_t size = 0;  // the journal's size when it was read
    JournalSamples samples;  // its first bytes and those before examinedEnd

    // True when the search looked at the journal (even if nothing matched).
    bool Ran() const {
        return status == JournalSearchStatus::Searched || status == JournalSearchStatus::Appended ||
               status == JournalSearchStatus::Unchanged || status == JournalSearchStatus::TooFewLines;
    }
};

// Searches the whole journal. `cancelled` is looked at between reads.
JournalSearch SearchJournalFile(const std::filesystem::path& journal, std::string_view searchText,
                                const std::atomic<bool>* cancelled = nullptr);

// Brings a search up to date with the journal for the search text. When the text is the same,
// the search ran and the journal has only grown since, the new bytes are read and their
// listed lines appended to `search.matches`; otherwise NeedsWholeSearch and nothing changes.
// A read error leaves the search as it was.
JournalSearchStatus RefreshJournalSearch(JournalSearch& search, const std::filesystem::path& journal,
                                         std::string_view searchText);

}  // namespace vantrel
