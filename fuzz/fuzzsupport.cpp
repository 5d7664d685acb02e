#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

const char *currentInput = nullptr;

void fail(const char *file, int line, const char *what)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    if (currentInput)
        std::fprintf(stderr, "input: %s\n", currentInput);
    std::fflush(stderr);
    std::abort();
}

QString fromWtf8(const char *data, size_t size)
{
    const auto *s = reinterpret_cast<const unsigned char *>(data);
    QString out;
    out.reserve(qsizetype(size));
    size_t i = 0;
    const auto continuation = [&](size_t k) { return k < size && (s[k] & 0xC0) == 0x80; };
    while (i < size) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out += QChar(char16_t(b));
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF && continuation(i + 1)) {
            out += QChar(char16_t(((b & 0x1F) << 6) | (s[i + 1] & 0x3F)));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && continuation(i + 1) && continuation(i + 2)
            && (b != 0xE0 || s[i + 1] >= 0xA0)) {
            // Surrogates (ED A0..BF) are taken as they are: that is the point of WTF-8.
            out += QChar(char16_t(((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F)));
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4 && continuation(i + 1) && continuation(i + 2)
            && continuation(i + 3)) {
            const char32_t cp = ((b & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) | ((s[i + 2] & 0x3Fu) << 6)
                | (s[i + 3] & 0x3Fu);
            if (cp >= 0x10000 && cp <= 0x10FFFF) {
                out += QChar(QChar::highSurrogate(cp));
                out += QChar(QChar::lowSurrogate(cp));
            } else {
                out += QChar(QChar::ReplacementCharacter);
            }
            i += 4;
        } else {
            out += QChar(QChar::ReplacementCharacter);
            ++i;
        }
    }
    return out;
}

std::vector<QByteArray> split(const uint8_t *data, size_t size, char sep, int parts)
{
    std::vector<QByteArray> out;
    const char *p = reinterpret_cast<const char *>(data);
    size_t from = 0;
    for (size_t i = 0; i < size && int(out.size()) + 1 < parts; ++i)
        if (p[i] == sep) {
            out.emplace_back(p + from, qsizetype(i - from));
            from = i + 1;
        }
    out.emplace_back(p + from, qsizetype(size - from));
    while (int(out.size()) < parts)
        out.emplace_back();
    return out;
}

} // namespace fuzz
