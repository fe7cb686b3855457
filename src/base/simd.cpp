#include "base/simd.h"

#include <algorithm>
#include <atomic>

namespace vantrel {

namespace {
std::atomic<VectorLevel> limit{VectorLevel::Avx2};
}  // namespace

VectorLevel BestVectorLevel() {
#if defined(VANTREL_AVX2)
    static const VectorLevel best = __builtin_cpu_supports("avx2") ? VectorLevel::Avx2 : VectorLevel::Sse2;
    return best;
#else
    return VectorLevel::Scalar;
#endif
}

VectorLevel ActiveVectorLevel() { return std::min(BestVectorLevel(), limit.load(std::memory_order_relaxed)); }

void LimitVectorLevel(VectorLevel level) { limit.store(level, std::memory_order_relaxed); }

}  // namespace vantrel
