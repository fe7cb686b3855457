#include "journal/journal_line.h"

#include <cstdint>
#include <cstring>

#include "log/line_text.h"

namespace vantrel {

namespace {

// Walks the line 64 bytes at a time: a word starts at a non-blank after a blank (or at the
// start) and ends at a blank after a non-blank (or at the end); the i-th start pairs with the
// i-th end.
template <bool kPadded>
std::size_t Cut(std::string_view line, std::string_view* words, std::size_t maxWords) {
    line = JournalLineText(line);
    const char* p = line.data();
    const std::size_t length = line.size();
    std::size_t found = 0;
    std::uint64_t carryBlank = 1;  // what precedes the window counts as a blank
    std::size_t openStart = std::string_view::npos;  // a word still running at a window's end

    for (std::size_t base = 0; base < length && found < maxWords; base += 64) {
        const std::size_t left = length - base;
        std::uint64_t blanks;
        if (kPadded || left >= 64) {
            blanks = BlankMask64(p + base);
        } else {
            char tail[64] = {};
            std::memcpy(tail, p + base, left);
            blanks = BlankMask64(tail);
        }
        if (left < 64) blanks |= ~std::uint64_t{0} << left;  // past the end counts as blank

        const std::uint64_t before = (blanks << 1) | carryBlank;
        std::uint64_t starts = ~blanks & before;
        std::uint64_t ends = blanks & ~before;
        carryBlank = blanks >> 63;

        if (openStart != std::string_view::npos) {
            if (!ends) continue;  // the word runs through this window too
            const std::size_t end = base + static_cast<std::size_t>(__builtin_ctzll(ends));
            ends &= ends - 1;
            words[found++] = std::string_view(p + openStart, end - openStart);
            openStart = std::string_view::npos;
        }
        while (starts && found < maxWords) {
            const std::size_t start = base + static_cast<std::size_t>(__builtin_ctzll(starts));
            starts &= starts - 1;
            if (!ends) {
                openStart = start;
                break;
            }
            const std::size_t end = base + static_cast<std::size_t>(__builtin_ctzll(ends));
            ends &= ends - 1;
            words[found++] = std::string_view(p + start, end - start);
        }
    }
    if (openStart != std::string_view::npos && found < maxWords)
        words[found++] = std::string_view(p + openStart, length - openStart);
    return found;
}

}  // namespace

std::string_view JournalLineText(std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    }
    return line;
}

std::size_t CutJournalWords(std::string_view line, std::string_view* words, std::size_t maxWords) {
    return Cut<false>(line, words, maxWords);
}

std::size_t CutJournalWordsPadded(std::string_view line, std::string_view* words,
                                  std::size_t maxWords) {
    return Cut<true>(line, words, maxWords);
}

std::string_view JournalLine::Field(std::size_t i) const {
    switch (i) {
        case 0: return date;
        case 1: return frequency;
        case 2: return direction;
        case 3: return mode;
        case 4: return snr;
        case 5: return dt;
        case 6: return offset;
        case 7: return message;
        default: return {};
    }
}

std::string JournalSearchForm(std::string_view line) {
    return UpperCase(TrimBlanks(JournalLineText(line)));
}

namespace {

// A whole number of decibels with an optional sign: "-8", "+03", "12".
bool IsReportNumber(std::string_view t) {
    if (!t.empty() && (t.front() == '-' || t.front() == '+')) t.remove_prefix(1);
    if (t.empty() || t.size() > 3) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}

// Columns from `at` (counted from 0), at most `length` of them, trimmed.
std::string_view Piece(std::string_view line, std::size_t at, std::size_t length) {
    return at < line.size() ? TrimBlanks(line.substr(at, length)) : std::string_view();
}

}  // namespace

JournalLine CutJournalLine(std::string_view line) {
    JournalLine cut;
    if (IsDatedJournalLine(line)) {
        cut.date = Piece(line, 0, 14);
        cut.frequency = Piece(line, 14, 9);
        cut.direction = Piece(line, 24, 2);
        cut.mode = Piece(line, 27, 4);
        // The SNR stands right-aligned to column 37, after the rest of a longer mode name
        // (MSK144) or right after an unpadded one (Q65): the line's fifth word.
        const JournalWords<5> words(line);
        if (IsReportNumber(words.word(5))) cut.snr = words.word(5);
        cut.dt = Piece(line, 38, 4);
        cut.offset = Piece(line, 42, 5);
        cut.message = Piece(line, 48, 30);
        return cut;
    }
    // p: the column (from 1) of the first blank, 0 when there is none.
    const std::size_t blank = line.find(' ');
    const std::size_t p = blank == std::string_view::npos ? 0 : blank + 1;
    cut.frequency = Piece(line, 0, p > 0 ? p - 1 : 0);
    cut.direction = Piece(line, p, 2);
    cut.mode = Piece(line, p + 3, 4);
    cut.snr = Piece(line, p + 8, 5);
    cut.dt = Piece(line, p + 13, 5);
    cut.offset = Piece(line, p + 18, 5);
    cut.message = Piece(line, p + 23, 30);
    return cut;
}

}  // namespace vantrel
