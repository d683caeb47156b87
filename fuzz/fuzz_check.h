#pragma once
// What a fuzz entry point asserts about a reader's result. A failed check aborts, which both
// libFuzzer and the replay test report with the input that caused it.
#include <QByteArrayView>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__,          \
                         __LINE__);                                                                \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace zx::fuzz {

inline std::string_view text(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline QByteArrayView bytes(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)};
}

} // namespace zx::fuzz
