#pragma once

#include <cstdio>
#include <cstdlib>

// A broken rule ends the process, so that libFuzzer keeps the input that broke it.
#define FUZZ_CHECK(condition)                                                  \
  do {                                                                         \
    if (!(condition)) {                                                        \
      std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                            \
    }                                                                          \
  } while (false)
