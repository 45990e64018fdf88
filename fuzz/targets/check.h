#pragma once

// A property that every input must keep. A broken one stops the run with the condition on
// stderr, and libFuzzer keeps the input that broke it (crash-<hash>).

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void fuzzCheckFailed(const char *condition, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : fuzzCheckFailed(#condition, __FILE__, __LINE__))
