#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

// Shared by the fuzz entry points: each file defines LLVMFuzzerTestOneInput and
// GeneratedInputs(); libFuzzer drives the first, and the replay program (replay.cpp)
// runs both in the ordinary build, over the checked-in corpus.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fuzz {

// Inputs too large to keep in the corpus, built by the target; the replay runs them
// after the corpus files. Empty for most targets.
std::vector<QByteArray> GeneratedInputs();

// What the replay is running, for the failure message (null under libFuzzer, which
// writes the input out itself).
extern const char *currentInput;

// Reports a broken invariant and aborts, so that libFuzzer keeps the input.
[[noreturn]] void fail(const char *file, int line, const char *what);

// UTF-8 read the way WTF-8 writes it: an encoded surrogate (ED A0..BF xx) gives that
// lone UTF-16 unit, so a corpus file can hold text no valid UTF-8 can carry. Any other
// byte that is not UTF-8 gives U+FFFD.
QString fromWtf8(const char *data, size_t size);

// Splits at the byte sep into at most parts pieces (the last keeps the rest).
std::vector<QByteArray> split(const uint8_t *data, size_t size, char sep, int parts);

} // namespace fuzz

#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond))                                                                                         \
            ::fuzz::fail(__FILE__, __LINE__, #cond);                                                         \
    } while (false)
