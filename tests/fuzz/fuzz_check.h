#pragma once
// Checked in every build type: a broken property aborts, which libFuzzer reports as a crash and
// saves the input for.

#include <cstdio>
#include <cstdlib>

#define PELLIX_FUZZ_CHECK(condition)                                                     \
  do {                                                                                   \
    if (!(condition)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                      \
    }                                                                                    \
  } while (false)
