// Feeds arbitrary bytes to every reader of the journal: the word view and the read-buffer cutter
// (which must agree), the search panel's columns, the streamed search and its refresh after an
// append (which must list what the plain rules list), the log-entry maker, the recent-activity
// extract and the grids build with its refresh (which must equal a full build).
//
// The first input byte chooses where the journal is split for the refresh; the second line of the
// input is the search text and the callsign.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "journal/journal_line.h"
#include "journal/journal_search.h"
#include "journal/log_entry_maker.h"
#include "journal/recent_activity.h"
#include "refdata/grids_builder.h"

namespace {

using namespace vantrel;

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

// A file in memory, named by its /proc path so the readers open it as they open the journal.
class MemoryFile {
public:
    MemoryFile() : fd_(::memfd_create("journal", 0)), path_("/proc/self/fd/" + std::to_string(fd_)) {}
    ~MemoryFile() { ::close(fd_); }
    void Write(std::string_view bytes) {
        Check(::ftruncate(fd_, 0) == 0);
        Append(bytes);
    }
    void Append(std::string_view bytes) {
        Check(::pwrite(fd_, bytes.data(), bytes.size(), ::lseek(fd_, 0, SEEK_END)) == static_cast<ssize_t>(bytes.size()));
    }
    const std::string& Path() const { return path_; }

private:
    int fd_;
    std::string path_;
};

// The search rules over the whole text, written plainly.
std::vector<std::string> PlainSearch(std::string_view bytes, std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\n', at);
        if (end == std::string_view::npos) end = bytes.size();
        lines.push_back(bytes.substr(at, end - at));
        at = end + 1;
    }
    std::vector<std::string> found;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i)
        if (JournalLineMatches(lines[i], text)) found.push_back(JournalSearchForm(lines[i]));
    return found;
}

std::vector<std::string> Listed(const JournalSearch& search) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < search.matches->size(); ++i) lines.emplace_back(search.matches->Line(i));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t splitChoice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    // Line by line: the views, the columns and the cutters.
    std::string padded;
    std::vector<std::string> forms;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;

        const JournalWords<12> words(line);
        for (std::size_t i = 1; i <= words.count; ++i) Check(!words.word(i).empty() && Inside(words.word(i), line));
        std::string_view more[40];
        const std::size_t count = CutJournalWords(line, more, 40);
        Check(count >= words.count);
        for (std::size_t i = 0; i < words.count; ++i) Check(more[i] == words.words[i]);

        forms.push_back(JournalSearchForm(line));
        const JournalLine cut = CutJournalLine(forms.back());
        for (std::size_t f = 0; f < JournalLine::kFieldCount; ++f) Check(Inside(cut.Field(f), forms.back()));
        Check(cut.message.size() <= 30);

        // The read-buffer cutter on the same line gives the word view's words.
        padded.assign(line);
        padded += '\n';
        padded.append(kJournalPadding, '\0');
        JournalMessageWords fast;
        const std::size_t bytes = NextJournalLine(padded.data(), padded.data() + line.size() + 1, fast);
        Check(bytes == line.size() + 1);
        const std::string withEnd = std::string(line) + "\n";
        const JournalWords<12> plain(withEnd);
        Check(fast.direction == plain.direction());
        for (std::size_t i = 0; i < 4; ++i) Check(fast.message[i] == plain.message(i + 1));
        const JournalGridWord grid = GridWordOfLine(line);
        const JournalGridWord gridFast = GridWordOfLineInBuffer(line);
        Check(grid.candidate == gridFast.candidate && grid.accepted == gridFast.accepted);
        Check(grid.call == gridFast.call && grid.grid == gridFast.grid);
    }

    // The maker over the lines' rows, with the second line's first word as the operator.
    std::string_view second = forms.size() > 1 ? std::string_view(forms[1]) : std::string_view();
    const std::string call(second.substr(0, second.find(' ')));
    std::vector<JournalLine> rows;
    for (const std::string& form : forms) rows.push_back(CutJournalLine(form));
    const LogEntry entry = MakeLogEntryLine(rows, StationDetails{call, "EN37", "IC-7300", "Vertical"});
    Check(entry.line.empty() || entry.line.back() == ',');
    Check(entry.line.empty() || entry.note.empty());
    if (!entry.line.empty() && call.find_first_of("\r\n,") == std::string::npos) {
        std::size_t commas = 0;
        for (char c : entry.line) commas += c == ',';
        Check(commas >= 17);
    }
    LoggedFrequencyText(rows.empty() ? "" : rows[0].frequency, rows.empty() ? "" : rows[0].offset);

    // The streamed search and its refresh after an append at the chosen point.
    MemoryFile journal;
    const std::size_t split = text.empty() ? 0 : splitChoice * text.size() / 255;
    const std::string searchText = JournalSearchText(call);
    journal.Write(text.substr(0, split));
    JournalSearch search = SearchJournalFile(journal.Path(), searchText);
    if (split > 0) Check(Listed(search) == PlainSearch(text.substr(0, split), searchText));
    journal.Append(text.substr(split));
    const JournalSearchStatus refreshed = RefreshJournalSearch(search, journal.Path(), searchText);
    const JournalSearch whole = SearchJournalFile(journal.Path(), searchText);
    if (!text.empty()) Check(Listed(whole) == PlainSearch(text, searchText));
    if (refreshed != JournalSearchStatus::NeedsWholeSearch) Check(Listed(search) == Listed(whole));

    // The extract: the two header lines, and lines holding the callsign.
    std::size_t headers = 0;
    ExtractRecentActivity(journal.Path(), call, [&](std::string_view line) {
        const bool header = line == kRecentListHeader1 || line == kRecentListHeader2;
        headers += header;
        Check(header || (!call.empty() && line.find(call) != std::string_view::npos));
    });
    Check(headers == 2);

    // The grids build and its refresh after the same append.
    journal.Write(text.substr(0, split));
    GridsBuild grids = BuildGrids(journal.Path(), {});
    journal.Append(text.substr(split));
    RefreshGrids(grids, journal.Path());
    const GridsBuild full = BuildGrids(journal.Path(), {});
    Check(grids.candidateCount == full.candidateCount);
    Check(grids.list.Sorted() == full.list.Sorted());
    return 0;
}
