// What a fuzz target promises is checked with Check: a failed check names its line and
// condition before it stops the run, so the fuzzer keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define Check(condition)                                                                   \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "check failed at line %d: %s\n", __LINE__, #condition);   \
            std::abort();                                                                  \
        }                                                                                  \
    } while (false)
