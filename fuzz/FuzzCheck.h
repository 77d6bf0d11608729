#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

// A broken property is a crash to libFuzzer: it keeps the input that broke it.
#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            const std::string fuzzDetail = (detail);                                               \
            std::fprintf(stderr, "%s:%d: %s failed\n%s\n", __FILE__, __LINE__, #condition,         \
                         fuzzDetail.c_str());                                                      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
