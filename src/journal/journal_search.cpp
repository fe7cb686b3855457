#include "journal/journal_search.h"

#include <string.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/byte_scan.h"
#include "log/line_text.h"

namespace vantrel {

namespace {

inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (UpperAscii(text[i]) != UpperAscii(start[i])) return false;
    return true;
}

// Reads the journal from `from` (a line start) and lists the matching lines. Returns the scan's
// end with `examinedEnd` set to the start of the journal's last line (whose match, if any, is
// taken back off the list).
struct ScanResult {
    JournalReader::ScanEnd end;
    std::uint64_t lastLineStart = 0;
};
ScanResult ScanFrom(JournalReader& reader, std::uint64_t from, std::string_view text,
                    JournalMatches& matches, const std::atomic<bool>* cancelled, std::string* error) {
    std::uint64_t lastWholeLineStart = from;
    std::uint64_t lastMatchStart = UINT64_MAX;
    ScanResult result;
    result.end = reader.Scan(
        from,
        [&](std::string_view block, std::uint64_t offset) {
            if (cancelled && cancelled->load(std::memory_order_relaxed)) return false;
            const char* data = block.data();
            std::size_t pos = 0;  // a line start
            for (;;) {
                const std::size_t hit = FindTextNoCase(block, text, pos);
                if (hit == std::string_view::npos) break;
                const void* lf = ::memrchr(data + pos, '\n', hit - pos);
                const std::size_t lineStart = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1 : pos;
                const std::size_t lineEnd = static_cast<std::size_t>(
                    static_cast<const char*>(std::memchr(data + hit, '\n', block.size() - hit)) - data);
                const std::string_view line = block.substr(lineStart, lineEnd - lineStart);
                if (JournalLineMatches(line, text)) {
                    matches.AddLine(line);
                    lastMatchStart = offset + lineStart;
                }
                pos = lineEnd + 1;
            }
            const void* lf = block.size() > 1 ? ::memrchr(data, '\n', block.size() - 1) : nullptr;
            lastWholeLineStart = offset + (lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1 : 0);
            return true;
        },
        error);
    // The last line: the one still without its line feed, or else the last whole line.
    result.lastLineStart = result.end.fileEnd > result.end.linesEnd ? result.end.linesEnd : lastWholeLineStart;
    if (lastMatchStart == result.lastLineStart) matches.Truncate(matches.size() - 1);
    return result;
}

}  // namespace

void JournalMatches::AddLine(std::string_view line) {
    const std::string_view text = TrimBlanks(JournalLineText(line));
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < text.size()) {
        // Blocks grow from 16 KB to 1 MB, so a short list holds little.
        constexpr std::size_t kBlockBytes = 1u << 20;
        const std::size_t bytes = std::max(std::min(kBlockBytes, (std::size_t{16} << 10) << std::min<std::size_t>(blocks_.size(), 6)), text.size());
        blocks_.push_back({std::unique_ptr<char[]>(new char[bytes]), 0, bytes});
    }
    Block& block = blocks_.back();
    char* kept = block.bytes.get() + block.used;
    for (std::size_t i = 0; i < text.size(); ++i) kept[i] = UpperAscii(text[i]);
    block.used += text.size();
    lines_.emplace_back(kept, text.size());
}

void JournalMatches::Truncate(std::size_t count) {
    while (lines_.size() > count) {
        // Lines lie in the blocks in list order: the last line is at the end of the last block
        // that holds any.
        const std::string_view last = lines_.back();
        while (!blocks_.empty() && (last.data() < blocks_.back().bytes.get() ||
                                    last.data() >= blocks_.back().bytes.get() + blocks_.back().size))
            blocks_.pop_back();
        if (!blocks_.empty()) blocks_.back().used = static_cast<std::size_t>(last.data() - blocks_.back().bytes.get());
        lines_.pop_back();
    }
}

std::string JournalSearchText(std::string_view typed) { return UpperCase(TrimBlanks(typed)); }

bool JournalLineMatches(std::string_view line, std::string_view searchText) {
    if (searchText.empty()) return false;
    const std::string_view text = TrimBlanks(JournalLineText(line));
    if (FindTextNoCase(text, "FT8") == std::string_view::npos) return false;
    if (StartsWithNoCase(text, searchText)) return true;
    for (std::size_t at = 1; (at = FindTextNoCase(text, searchText, at)) != std::string_view::npos; ++at)
        if (text[at - 1] == ' ') return true;
    return false;
}

JournalSearch SearchJournalFile(const std::filesystem::path& journal, std::string_view searchText,
                                const std::atomic<bool>* cancelled) {
    JournalSearch search;
    search.text = std::string(searchText);
    JournalReader reader;
    if (!reader.Open(journal, &search.error)) {
        search.status = errno == ENOENT ? JournalSearchStatus::NoJournal : JournalSearchStatus::Failed;
        return search;
    }
    if (reader.Size() == 0) {
        search.status = JournalSearchStatus::NoJournal;
        return search;
    }
    const ScanResult scan = ScanFrom(reader, 0, search.text, *search.matches, cancelled, &search.error);
    if (scan.end.status != JournalReader::Status::Done) {
        search.matches = std::make_shared<JournalMatches>();
        search.status = scan.end.status == JournalReader::Status::Stopped ? JournalSearchStatus::Stopped
                                                                         : JournalSearchStatus::Failed;
        return search;
    }
    search.examinedEnd = scan.lastLineStart;
    search.size = scan.end.fileEnd;
    if (!search.samples.Take(reader, search.examinedEnd)) {
        search.matches = std::make_shared<JournalMatches>();
        search.error = "Cannot read " + journal.string();
        search.status = JournalSearchStatus::Failed;
        return search;
    }
    search.status = search.examinedEnd == 0 ? JournalSearchStatus::TooFewLines : JournalSearchStatus::Searched;
    return search;
}

JournalSearchStatus RefreshJournalSearch(JournalSearch& search, const std::filesystem::path& journal,
                                         std::string_view searchText) {
    if (!search.Ran() || searchText != search.text) return JournalSearchStatus::NeedsWholeSearch;
    JournalReader reader;
    if (!reader.Open(journal) || reader.Size() < search.size ||
        !search.samples.Match(reader, search.examinedEnd))
        return JournalSearchStatus::NeedsWholeSearch;
    if (reader.Size() == search.size) return JournalSearchStatus::Unchanged;

    JournalMatches& matches = *search.matches;
    const std::size_t listed = matches.size();
    std::string error;
    const ScanResult scan = ScanFrom(reader, search.examinedEnd, search.text, matches, nullptr, &error);
    JournalSamples samples;
    if (scan.end.status != JournalReader::Status::Done || !samples.Take(reader, scan.lastLineStart)) {
        matches.Truncate(listed);
        search.error = error.empty() ? "Cannot read " + journal.string() : error;
        return JournalSearchStatus::Failed;
    }
    search.examinedEnd = scan.lastLineStart;
    search.size = scan.end.fileEnd;
    search.samples = std::move(samples);
    search.status = search.examinedEnd == 0 ? JournalSearchStatus::TooFewLines : JournalSearchStatus::Appended;
    return search.status;
}

}  // namespace vantrel
