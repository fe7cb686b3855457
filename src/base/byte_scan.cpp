#include "base/byte_scan.h"

#include "base/simd.h"

namespace vantrel {

namespace {

#if defined(VANTREL_SSE2)
// One body for both vector widths: byte counters in vector lanes (each match subtracts -1 from
// its lane), summed before 255 rounds could overflow them.
#define VANTREL_SCANNERS(SUFFIX, ATTR, VEC, WIDTH, LOAD, SET1, ZERO, EQ, SUB, AND, ANDNOT, SUM)   \
    ATTR const char* CountVectors##SUFFIX(const char* p, const char* end, char byte,             \
                                          std::size_t& count) {                                 \
        const VEC needle = SET1(byte);                                                          \
        while (end - p >= WIDTH) {                                                              \
            VEC counters = ZERO();                                                              \
            for (int round = 0; round < 255 && end - p >= WIDTH; ++round, p += WIDTH)           \
                counters = SUB(counters, EQ(LOAD(p), needle));                                  \
            count += SUM(counters);                                                             \
        }                                                                                       \
        return p;                                                                               \
    }                                                                                           \
    ATTR const char* ScanVectors##SUFFIX(const char* p, const char* end, LineEnds& ends) {       \
        const VEC lf = SET1('\n'), cr = SET1('\r');                                             \
        while (end - p >= WIDTH) {                                                              \
            VEC lfs = ZERO(), crs = ZERO(), bare = ZERO(), emptyLf = ZERO(), emptyCrLf = ZERO(); \
            for (int round = 0; round < 255 && end - p >= WIDTH; ++round, p += WIDTH) {         \
                const VEC chunk = LOAD(p), before = LOAD(p - 1), before2 = LOAD(p - 2);         \
                const VEC isLf = EQ(chunk, lf);                                                 \
                const VEC crBefore = EQ(before, cr);                                            \
                lfs = SUB(lfs, isLf);                                                           \
                crs = SUB(crs, EQ(chunk, cr));                                                  \
                bare = SUB(bare, ANDNOT(crBefore, isLf));                                       \
                emptyLf = SUB(emptyLf, AND(isLf, EQ(before, lf)));                              \
                emptyCrLf = SUB(emptyCrLf, AND(AND(isLf, crBefore), EQ(before2, lf)));          \
            }                                                                                   \
            ends.lf += SUM(lfs);                                                                \
            ends.cr += SUM(crs);                                                                \
            ends.bareLf += SUM(bare);                                                           \
            ends.emptyLf += SUM(emptyLf);                                                       \
            ends.emptyCrLf += SUM(emptyCrLf);                                                   \
        }                                                                                       \
        return p;                                                                               \
    }

inline __m128i Load128(const char* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
inline std::size_t Sum128(__m128i counters) {
    const __m128i s = _mm_sad_epu8(counters, _mm_setzero_si128());
    return static_cast<std::size_t>(_mm_cvtsi128_si32(s)) +
           static_cast<std::size_t>(_mm_extract_epi16(s, 4));
}
VANTREL_SCANNERS(Sse2, , __m128i, 16, Load128, _mm_set1_epi8, _mm_setzero_si128, _mm_cmpeq_epi8,
                 _mm_sub_epi8, _mm_and_si128, _mm_andnot_si128, Sum128)

VANTREL_TARGET_AVX2 inline __m256i Load256(const char* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
VANTREL_TARGET_AVX2 inline std::size_t Sum256(__m256i counters) {
    const __m256i s = _mm256_sad_epu8(counters, _mm256_setzero_si256());
    return static_cast<std::size_t>(_mm256_extract_epi64(s, 0) + _mm256_extract_epi64(s, 1) +
                                    _mm256_extract_epi64(s, 2) + _mm256_extract_epi64(s, 3));
}
VANTREL_SCANNERS(Avx2, VANTREL_TARGET_AVX2, __m256i, 32, Load256, _mm256_set1_epi8, _mm256_setzero_si256,
                 _mm256_cmpeq_epi8, _mm256_sub_epi8, _mm256_and_si256, _mm256_andnot_si256, Sum256)

#endif

inline bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
inline char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

inline bool EqualNoCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

#if defined(VANTREL_SSE2)
// Candidate positions are those where the needle's first and last bytes match (a letter in
// either case: the byte with bit 5 set equals the lower-case letter); each is checked whole.
// True with `i` at the occurrence; false with `i` at the first position not yet examined.
#define VANTREL_FIND_NO_CASE(SUFFIX, ATTR, VEC, WIDTH, LOAD, SET1, EQ, AND, OR, MOVEMASK)          \
    ATTR bool FindNoCase##SUFFIX(const char* h, std::size_t size, const char* n, std::size_t len, \
                                 std::size_t& i) {                                               \
        const char f = n[0], l = n[len - 1];                                                     \
        const char fBit = IsAsciiLetter(f) ? 0x20 : 0, lBit = IsAsciiLetter(l) ? 0x20 : 0;       \
        const VEC first = SET1(static_cast<char>(f | fBit)), last = SET1(static_cast<char>(l | lBit)); \
        const VEC firstBit = SET1(fBit), lastBit = SET1(lBit);                                   \
        for (; i + len - 1 + WIDTH <= size; i += WIDTH) {                                        \
            const VEC a = OR(LOAD(h + i), firstBit);                                             \
            const VEC b = OR(LOAD(h + i + len - 1), lastBit);                                    \
            unsigned mask = static_cast<unsigned>(MOVEMASK(AND(EQ(a, first), EQ(b, last))));     \
            while (mask) {                                                                       \
                const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));        \
                if (len < 3 || EqualNoCase(h + at + 1, n + 1, len - 2)) {                        \
                    i = at;                                                                      \
                    return true;                                                                 \
                }                                                                                \
                mask &= mask - 1;                                                                \
            }                                                                                    \
        }                                                                                        \
        return false;                                                                            \
    }

VANTREL_FIND_NO_CASE(Sse2, , __m128i, 16, Load128, _mm_set1_epi8, _mm_cmpeq_epi8, _mm_and_si128,
                     _mm_or_si128, _mm_movemask_epi8)
VANTREL_FIND_NO_CASE(Avx2, VANTREL_TARGET_AVX2, __m256i, 32, Load256, _mm256_set1_epi8, _mm256_cmpeq_epi8,
                     _mm256_and_si256, _mm256_or_si256, _mm256_movemask_epi8)
#endif

}  // namespace

std::size_t FindTextNoCase(std::string_view haystack, std::string_view needle, std::size_t from) {
    const std::size_t size = haystack.size(), len = needle.size();
    if (len == 0 || from > size || size - from < len) return std::string_view::npos;
    const char* h = haystack.data();
    const char* n = needle.data();
    std::size_t i = from;
#if defined(VANTREL_SSE2)
    if (HasAvx2() && FindNoCaseAvx2(h, size, n, len, i)) return i;
    if (FindNoCaseSse2(h, size, n, len, i)) return i;
#endif
    for (; i + len <= size; ++i)
        if (EqualNoCase(h + i, n, len)) return i;
    return std::string_view::npos;
}

std::size_t CountByte(std::string_view bytes, char byte) {
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    std::size_t count = 0;
#if defined(VANTREL_SSE2)
    if (HasAvx2()) p = CountVectorsAvx2(p, end, byte, count);
    else p = CountVectorsSse2(p, end, byte, count);
#endif
    for (; p < end; ++p) count += *p == byte;
    return count;
}

std::size_t FindNthByte(std::string_view bytes, char byte, std::size_t n) {
    if (n == 0) return std::string_view::npos;
    // Whole 4 KB stretches are counted and skipped; the stretch holding the n-th is walked.
    constexpr std::size_t kStretch = 4096;
    std::size_t at = 0;
    while (bytes.size() - at > kStretch) {
        const std::size_t here = CountByte(bytes.substr(at, kStretch), byte);
        if (here >= n) break;
        n -= here;
        at += kStretch;
    }
    for (; at < bytes.size(); ++at)
        if (bytes[at] == byte && --n == 0) return at;
    return std::string_view::npos;
}

std::size_t FindNthByteFromEnd(std::string_view bytes, char byte, std::size_t n) {
    if (n == 0) return std::string_view::npos;
    constexpr std::size_t kStretch = 4096;
    std::size_t end = bytes.size();
    while (end > kStretch) {
        const std::size_t here = CountByte(bytes.substr(end - kStretch, kStretch), byte);
        if (here >= n) break;
        n -= here;
        end -= kStretch;
    }
    while (end > 0)
        if (bytes[--end] == byte && --n == 0) return end;
    return std::string_view::npos;
}

LineEnds ScanLineEnds(std::string_view bytes) {
    LineEnds ends;
    const char* start = bytes.data();
    const char* p = start;
    const char* end = p + bytes.size();
    // Every byte is looked at with the two before it; the first two bytes by hand.
    auto one = [&](const char* q) {
        if (*q == '\n') {
            ++ends.lf;
            const bool crBefore = q > start && q[-1] == '\r';
            ends.bareLf += !crBefore;
            ends.emptyLf += q == start || q[-1] == '\n';
            ends.emptyCrLf += crBefore && (q - 1 == start || q[-2] == '\n');
        }
        ends.cr += *q == '\r';
    };
    for (; p < end && p < start + 2; ++p) one(p);
#if defined(VANTREL_SSE2)
    if (HasAvx2()) p = ScanVectorsAvx2(p, end, ends);
    else p = ScanVectorsSse2(p, end, ends);
#endif
    for (; p < end; ++p) one(p);
    return ends;
}

}  // namespace vantrel
