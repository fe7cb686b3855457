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

}  // namespace

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
