#pragma once

#include <cstdio>
#include <cstdlib>

// A property that every input must keep, beyond not crashing: a broken one ends the program as a
// crash, which libFuzzer keeps as a finding and the replay test reports by name.
#define FUZZ_CHECK(condition)                                                                    \
    ((condition) ? (void)0                                                                       \
                 : (std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition), \
                    std::abort()))
