#include "geo/text_find.h"

#include <cstring>

#include "base/simd.h"

namespace vantrel {

namespace {

#if defined(VANTREL_SSE2)
// True with `i` at the occurrence; false with `i` at the first position not yet examined.
VANTREL_TARGET_AVX2 bool FindAvx2(const char* h, std::size_t size, const char* n,
                                              std::size_t len, std::size_t& i) {
    const __m256i first = _mm256_set1_epi8(n[0]), last = _mm256_set1_epi8(n[len - 1]);
    for (; i + len - 1 + 32 <= size; i += 32) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(h + i + len - 1));
        unsigned mask = static_cast<unsigned>(
            _mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, first), _mm256_cmpeq_epi8(b, last))));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(h + at + 1, n + 1, len - 2) == 0) {
                i = at;
                return true;
            }
            mask &= mask - 1;
        }
    }
    return false;
}

bool FindSse2(const char* h, std::size_t size, const char* n, std::size_t len, std::size_t& i) {
    const __m128i first = _mm_set1_epi8(n[0]), last = _mm_set1_epi8(n[len - 1]);
    for (; i + len - 1 + 16 <= size; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + len - 1));
        unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (std::memcmp(h + at + 1, n + 1, len - 2) == 0) {
                i = at;
                return true;
            }
            mask &= mask - 1;
        }
    }
    return false;
}
#endif

}  // namespace

std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from) {
    const std::size_t size = haystack.size(), len = needle.size();
    if (len == 0 || from > size || size - from < len) return std::string_view::npos;
    const char* h = haystack.data();
    if (len == 1) {
        const void* at = std::memchr(h + from, needle[0], size - from);
        return at ? static_cast<const char*>(at) - h : std::string_view::npos;
    }
    std::size_t i = from;
#if defined(VANTREL_SSE2)
    if (HasAvx2() && FindAvx2(h, size, needle.data(), len, i)) return i;
    if (FindSse2(h, size, needle.data(), len, i)) return i;
#endif
    return haystack.find(needle, i);
}

}  // namespace vantrel
