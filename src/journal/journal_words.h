// The word view of a journal line: every run of blanks counts as one blank and the line is cut
// into words at the blanks. In a WSJT-X line the words are, in order: 1 date and time,
// 2 dial frequency, 3 direction ("Rx" or "Tx"), 4 mode, 5 SNR, 6 DT, 7 audio offset, and from 8
// on the words of the message. The view does not depend on columns, so the unpadded Q65 mode,
// the short "yyMMdd_hhmm" stamp and a decoder flag after the message ("a1", "q0": one more
// message word) all cut alike.
//
// Words are views into the line; nothing is allocated. Blanks are the space character only; a
// line that starts or ends with blanks has no empty first or last word.
#pragma once

#include <cstdint>

#include "base/simd.h"

#include <cstddef>
#include <string_view>

namespace vantrel {

// Word positions (counted from 1) of a journal line.
inline constexpr std::size_t kJournalDirectionWord = 3;
inline constexpr std::size_t kJournalFirstMessageWord = 8;

// The line without its line end (LF, with or without a CR before it).
std::string_view JournalLineText(std::string_view line);

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

}  // namespace vantrel
