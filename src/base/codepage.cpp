#include "base/codepage.h"
#include "base/largebuffer.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Upper halves (bytes 0x80-0xFF) of the published code page tables; 0xFFFF marks a
// byte the code page leaves undefined. The lower half is ASCII in both.
constexpr std::array<char16_t, 128> kWindows1250 = {
    0x20AC, 0xFFFF, 0x201A, 0xFFFF, 0x201E, 0x2026, 0x2020, 0x2021,
    0xFFFF, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0xFFFF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFF, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

constexpr std::array<char16_t, 128> kIso8859_2 = {
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087,
    0x0088, 0x0089, 0x008A, 0x008B, 0x008C, 0x008D, 0x008E, 0x008F,
    0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F,
    0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A, 0x00A7,
    0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B,
    0x00B0, 0x0105, 0x02DB, 0x0142, 0x00B4, 0x013E, 0x015B, 0x02C7,
    0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

const std::array<char16_t, 128> &upperHalf(CodePage::Id id)
{
    return id == CodePage::Iso8859_2 ? kIso8859_2 : kWindows1250;
}

// Reverse map for the upper half: Unicode -> byte, built once per code page.
struct Reverse {
    std::array<unsigned char, 65536> byte{};
    explicit Reverse(const std::array<char16_t, 128> &t)
    {
        for (int b = 0; b < 128; ++b)
            if (t[b] != 0xFFFF)
                byte[t[b]] = static_cast<unsigned char>(0x80 + b);
    }
};

const Reverse &reverse(CodePage::Id id)
{
    static const Reverse win(kWindows1250);
    static const Reverse iso(kIso8859_2);
    return id == CodePage::Iso8859_2 ? iso : win;
}

} // namespace

namespace CodePage {

char16_t toUnicode(unsigned char byte, Id id)
{
    if (byte < 0x80)
        return byte;
    const char16_t c = upperHalf(id)[byte - 0x80];
    // An undefined byte keeps its value as a C1 control / Latin-1 code point, so it
    // survives a load and save unchanged.
    return c == 0xFFFF ? char16_t(byte) : c;
}

QString decode(QByteArrayView bytes, Id id)
{
    QString out(bytes.size(), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    const auto &t = upperHalf(id);
    const unsigned char *s = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0, n = bytes.size(); i < n; ++i) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            d[i] = b;
        } else {
            const char16_t c = t[b - 0x80];
            d[i] = c == 0xFFFF ? char16_t(b) : c;
        }
    }
    return out;
}

int fromUnicode(char16_t c, Id id)
{
    if (c < 0x80)
        return c;
    const unsigned char b = reverse(id).byte[c];
    if (b)
        return b;
    // The undefined bytes come back to themselves (see toUnicode).
    if (c < 0x100 && upperHalf(id)[c - 0x80] == 0xFFFF)
        return c;
    return -1;
}

QByteArray encode(QStringView text, Id id, int *unmappable)
{
    const qsizetype n = text.size();
    // One byte per character, grown only when a numeric reference needs more room.
    QByteArray out(n, Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(n));
    char *d = out.data();
    qsizetype w = 0;
    int bad = 0;
    const auto &rev = reverse(id).byte;
    const auto &t = upperHalf(id);
    const char16_t *s = reinterpret_cast<const char16_t *>(text.data());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            d[w++] = char(c);
            continue;
        }
        unsigned char b = rev[c];
        if (!b && c < 0x100 && t[c - 0x80] == 0xFFFF)
            b = static_cast<unsigned char>(c);
        if (b) {
            d[w++] = char(b);
            continue;
        }
        // Not in the code page: written as a numeric character reference so that
        // nothing is lost (a surrogate pair gives one reference).
        char32_t cp = c;
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1])) {
            cp = QChar::surrogateToUcs4(c, s[i + 1]);
            ++i;
        }
        const QByteArray ref = "&#" + QByteArray::number(quint32(cp)) + ';';
        const qsizetype needed = w + ref.size() + (n - i - 1);
        if (needed > out.size()) {
            out.resize(std::max(needed, out.size() + out.size() / 2));
            d = out.data();
        }
        std::memcpy(d + w, ref.constData(), std::size_t(ref.size()));
        w += ref.size();
        ++bad;
    }
    out.resize(w);
    if (unmappable)
        *unmappable = bad;
    return out;
}

} // namespace CodePage
