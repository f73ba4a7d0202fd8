#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: report where, then abort so that libFuzzer keeps the input.
#define KELVARY_FUZZ_CHECK(condition)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);     \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
