// The vector paths of the byte scans. On x86-64 the SSE2 paths are compiled in place of the plain
// loops (every x86-64 processor has SSE2) and the AVX2 paths are chosen at run time where the
// processor has AVX2; elsewhere (ARM, or a build with VANTREL_SCALAR_ONLY) only the plain loops
// are compiled. Every vectorised function gives the same result as its plain loop.
#pragma once

#if !defined(VANTREL_SCALAR_ONLY) && defined(__SSE2__) && defined(__x86_64__)
#define VANTREL_SSE2 1
#define VANTREL_AVX2 1
#include <immintrin.h>
// An AVX2 function is compiled for AVX2 and only called when HasAvx2() says so.
#define VANTREL_TARGET_AVX2 __attribute__((target("avx2")))
#endif

namespace vantrel {

enum class VectorLevel { Scalar, Sse2, Avx2 };

// The widest vector path compiled in and offered by this processor.
VectorLevel BestVectorLevel();
// The path the scans take now: the best one, unless a test lowered it to SSE2.
VectorLevel ActiveVectorLevel();
// True when the scans take their AVX2 paths (asked once per scan, not per byte).
inline bool HasAvx2() { return ActiveVectorLevel() == VectorLevel::Avx2; }

// Keeps the scans below AVX2 when given Sse2 (tests run each path against a plain loop); the
// best level again when given Avx2.
void LimitVectorLevel(VectorLevel level);

}  // namespace vantrel
