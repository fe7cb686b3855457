// One line of WSJT-X's journal (ALL.TXT) and every way the program reads it.
//
// A line is 8-bit text ending at a line feed, with or without a carriage return before it.
//
// Dated form (any line holding "_"), columns counted from 1: 1-13 date and time
// (yyMMdd_hhmmss), 15-23 dial frequency in MHz, 25-26 direction ("Rx" or "Tx"), 28-31 mode,
// up to 37 the SNR, 38-42 DT, 43-47 audio offset in Hz, 49 on the message. Undated form (no
// "_"): the first word is the frequency and the other fields follow at fixed distances from the
// blank after it.
//
// Three views of a line, used by every reader of the journal:
// - the word view: runs of blanks count as one blank and the line is cut into words: 1 date and
//   time, 2 frequency, 3 direction, 4 mode, 5 SNR, 6 DT, 7 audio offset, 8 and on the message.
//   It does not depend on columns, so the unpadded Q65 mode, the short "yyMMdd_hhmm" stamp and a
//   decoder flag after the message ("a1", "q0": one more message word) all cut alike;
// - the same words cut fast from a read buffer of whole lines (whole-journal scans);
// - `JournalLine`, the eight fields of the search panel, cut by columns from the line's search
//   form (upper case, trimmed).
//
// Words are views into the line; nothing is allocated. Blanks are the space character only; a
// line that starts or ends with blanks has no empty first or last word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "base/simd.h"

namespace vantrel {

// The line without its line end (LF, with or without a CR before it).
std::string_view JournalLineText(std::string_view line);

// ---- The word view ----

// Word positions (counted from 1) of a journal line.
inline constexpr std::size_t kJournalDirectionWord = 3;
inline constexpr std::size_t kJournalFirstMessageWord = 8;

// Fills words[0 .. maxWords) with the first words of the line (word 1 in words[0]) and returns
// how many it found (at most maxWords).
std::size_t CutJournalWords(std::string_view line, std::string_view* words, std::size_t maxWords);

// The same for a line that may be read up to 64 bytes past its end (a padded read buffer):
// the bytes there are not taken into the words, only loaded. Faster on long runs of lines.
std::size_t CutJournalWordsPadded(std::string_view line, std::string_view* words,
                                  std::size_t maxWords);

// The first words of a line, kept together; word(n) counts from 1 and is empty past the last.
template <std::size_t N>
struct JournalWords {
    std::string_view words[N];
    std::size_t count = 0;

    explicit JournalWords(std::string_view line) : count(CutJournalWords(line, words, N)) {}
    std::string_view word(std::size_t n) const {
        return n >= 1 && n <= count ? words[n - 1] : std::string_view();
    }
    std::string_view direction() const { return word(kJournalDirectionWord); }
    // Message word n, counted from 1.
    std::string_view message(std::size_t n) const {
        return n >= 1 ? word(kJournalFirstMessageWord + n - 1) : std::string_view();
    }
};

// Bit i set when p[i] is a blank, for the 64 bytes from p.
inline std::uint64_t BlankMask64(const char* p) {
#if defined(VANTREL_SSE2)
    const __m128i blank = _mm_set1_epi8(' ');
    auto part = [&](int at) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        return static_cast<std::uint64_t>(
            static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blank))));
    };
    return part(0) | part(16) << 16 | part(32) << 32 | part(48) << 48;
#else
    std::uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) mask |= static_cast<std::uint64_t>(p[i] == ' ') << i;
    return mask;
#endif
}

// ---- Words of whole journals, cut from a read buffer ----

// A read buffer of journal lines must be readable this many bytes past its last byte, and
// those bytes must hold no line feed (zero them).
inline constexpr std::size_t kJournalPadding = 128;

// What a scan of the whole journal takes from a line: its direction (word 3) and the first four
// words of its message (words 8 to 11); empty where the line has fewer words.
struct JournalMessageWords {
    std::string_view direction;
    std::string_view message[4];
};

// Cuts a line (without its line end) that lies in a buffer readable kJournalPadding bytes past
// it. Gives what the word view gives.
inline void CutJournalMessageWords(const char* p, std::size_t length, JournalMessageWords& words);

// The line at p in the buffer of lines [p, end) (padded as above): cuts it and returns its
// length with its line end; 0 when no line feed comes before `end` (a line still incomplete).
inline std::size_t NextJournalLine(const char* p, const char* end, JournalMessageWords& words);

// ---- The search panel's fields ----

// One journal line cut into the search panel's eight fields, each trimmed. Views into the
// line's search form.
struct JournalLine {
    static constexpr std::size_t kFieldCount = 8;
    std::string_view date;       // "Date": yyMMdd_hhmmss; always empty in the undated form
    std::string_view frequency;  // "Freq": dial frequency in MHz
    std::string_view direction;  // "Md": RX or TX
    std::string_view mode;       // "Em": the mode's first four characters
    std::string_view snr;        // "SNR": in dB; the line's fifth word in the dated form
    std::string_view dt;         // "DT"
    std::string_view offset;     // "Ofs HZ": audio offset in Hz
    std::string_view message;    // "Details": the message's first 30 characters

    // Field i counted from 0 in the order above; empty past the last.
    std::string_view Field(std::size_t i) const;
};

// A line holding "_" anywhere is cut in the dated form.
inline bool IsDatedJournalLine(std::string_view line) {
    return line.find('_') != std::string_view::npos;
}

// The search form of a line: without its line end, trimmed of blanks and control characters at
// both ends, the letters a-z in upper case.
std::string JournalSearchForm(std::string_view line);

// Cuts a line already in its search form. A column range that runs past the end of the line
// gives the characters there are, or empty text.
JournalLine CutJournalLine(std::string_view searchForm);

// ---- Inline bodies of the buffer cutter ----

namespace journal_detail {

#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
using Bits128 = unsigned __int128;

inline unsigned LowestBit(Bits128 bits) {
    const auto low = static_cast<std::uint64_t>(bits);
    return low ? static_cast<unsigned>(__builtin_ctzll(low))
               : 64 + static_cast<unsigned>(__builtin_ctzll(static_cast<std::uint64_t>(bits >> 64)));
}

// Blanks and line feeds among the 64 bytes from p.
struct ByteBits {
    std::uint64_t blanks, lineFeeds;
};
inline ByteBits Bits64(const char* p) {
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i lineFeed = _mm_set1_epi8('\n');
    ByteBits bits{0, 0};
    for (int at = 0; at < 64; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
        bits.blanks |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(
                           _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, blank)))) << at;
        bits.lineFeeds |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(
                              _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)))) << at;
    }
    return bits;
}

// The common shape of a line: seven words before column 49 and the message from column 49 on,
// the line ending within 64 bytes of it. Then word 3 is the third word start and message word 1
// starts at byte 48. `head` and `message` are the blanks of the 64 bytes from p and from p + 48.
// False when the line has another shape.
constexpr std::size_t kMessageAt = 48;
inline bool CutCommonShape(const char* p, std::size_t length, std::uint64_t head,
                           std::uint64_t message, JournalMessageWords& out) {
    if (length <= kMessageAt || length - kMessageAt >= 64) return false;
    if (length < 64) head |= ~std::uint64_t{0} << length;
    const std::uint64_t headStarts = ~head & (head << 1 | 1) & ((std::uint64_t{1} << kMessageAt) - 1);
    if ((head >> (kMessageAt - 1) & 3) != 1) return false;
    std::uint64_t left = headStarts & (headStarts - 1);
    left &= left - 1;
    const std::uint64_t third = left;
    for (int i = 0; i < 4; ++i) left &= left - 1;
    if (left == 0 || (left & (left - 1)) != 0) return false;  // not exactly seven words
    const unsigned at = static_cast<unsigned>(__builtin_ctzll(third));
    // Bit 47 is a blank, so word 3 ends before it.
    const unsigned atEnd = static_cast<unsigned>(__builtin_ctzll(head & (~std::uint64_t{0} << at)));
    out.direction = std::string_view(p + at, atEnd - at);
    // Bits past the line's end count as blanks; bit 63 is always one of them.
    const std::uint64_t blanks = message | ~std::uint64_t{0} << (length - kMessageAt);
    const std::uint64_t words = ~blanks;
    unsigned from = 0;
    for (std::string_view& word : out.message) {
        const std::uint64_t rest = from < 64 ? words & (~std::uint64_t{0} << from) : 0;
        if (!rest) {
            word = {};
            from = 64;
            continue;
        }
        const unsigned start = static_cast<unsigned>(__builtin_ctzll(rest));
        const unsigned end = static_cast<unsigned>(__builtin_ctzll(blanks & (~std::uint64_t{0} << start)));
        word = std::string_view(p + kMessageAt + start, end - start);
        from = end;
    }
    return true;
}
#endif

// The starts and ends of all words of a line shorter than 128 bytes are found at once as bit
// masks, and only words 3 and 8 to 11 are taken out of them; longer lines take the word view.
inline void CutOtherShape(const char* p, std::size_t length, JournalMessageWords& out) {
#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
    if (length < 128) {
        std::uint64_t low = BlankMask64(p);
        std::uint64_t high = length > 64 ? BlankMask64(p + 64) : ~std::uint64_t{0};
        if (length < 64) low |= ~std::uint64_t{0} << length;
        else if (length > 64) high |= ~std::uint64_t{0} << (length - 64);
        const Bits128 blanks = static_cast<Bits128>(high) << 64 | low;
        const Bits128 before = blanks << 1 | 1;
        Bits128 starts = ~blanks & before;  // every word ends before bit 127, a blank
        Bits128 ends = blanks & ~before;
        auto skip = [&] {
            starts &= starts - 1;
            ends &= ends - 1;
        };
        auto take = [&] {
            if (!starts) return std::string_view();
            const unsigned start = LowestBit(starts), end = LowestBit(ends);
            skip();
            return std::string_view(p + start, end - start);
        };
        skip();
        skip();
        out.direction = take();
        for (std::size_t i = kJournalDirectionWord + 1; i < kJournalFirstMessageWord; ++i) skip();
        for (std::string_view& word : out.message) word = take();
        return;
    }
#endif
    constexpr std::size_t kWords = kJournalFirstMessageWord + 3;
    std::string_view words[kWords];
    const std::size_t count = CutJournalWordsPadded(std::string_view(p, length), words, kWords);
    auto word = [&](std::size_t n) { return n <= count ? words[n - 1] : std::string_view(); };
    out.direction = word(kJournalDirectionWord);
    for (std::size_t i = 0; i < 4; ++i) out.message[i] = word(kJournalFirstMessageWord + i);
}

}  // namespace journal_detail

inline void CutJournalMessageWords(const char* p, std::size_t length, JournalMessageWords& words) {
#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
    using namespace journal_detail;
    if (CutCommonShape(p, length, BlankMask64(p), BlankMask64(p + kMessageAt), words)) return;
#endif
    journal_detail::CutOtherShape(p, length, words);
}

inline std::size_t NextJournalLine(const char* p, const char* end, JournalMessageWords& words) {
#if defined(VANTREL_SSE2) && defined(__SIZEOF_INT128__)
    using namespace journal_detail;
    // Most lines end within 112 bytes: their line feed and words come from one set of loads.
    // (The padding after the buffer holds no line feed.)
    const ByteBits head = Bits64(p);
    const ByteBits message = Bits64(p + kMessageAt);
    if ((head.lineFeeds & ((std::uint64_t{1} << kMessageAt) - 1)) == 0 && message.lineFeeds) {
        std::size_t length = kMessageAt + static_cast<std::size_t>(__builtin_ctzll(message.lineFeeds));
        const std::size_t bytes = length + 1;
        if (p[length - 1] == '\r') --length;
        if (!CutCommonShape(p, length, head.blanks, message.blanks, words))
            CutOtherShape(p, length, words);
        return bytes;
    }
#endif
    const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
    if (!lf) return 0;
    std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lf) - p);
    const std::size_t bytes = length + 1;
    if (length > 0 && p[length - 1] == '\r') --length;
    journal_detail::CutOtherShape(p, length, words);
    return bytes;
}

}  // namespace vantrel
