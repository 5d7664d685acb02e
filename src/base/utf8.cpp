#include "base/utf8.h"
#include "base/largebuffer.h"

#include <QtAlgorithms>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// Validation runs a small automaton whose transitions for one byte sit in one 64-bit
// word, six bits a state: the next state is the word shifted right by the current one,
// so each byte costs one dependent shift and no branch.
enum State : unsigned {
    Accept = 0,
    Error = 6,
    Need1 = 12, // one continuation byte (80-BF) to go
    Need2 = 18,
    Need3 = 24,
    AfterE0 = 30, // A0-BF, then one more: no overlong three-byte form
    AfterED = 36, // 80-9F, then one more: no surrogates
    AfterF0 = 42, // 90-BF, then two more: no overlong four-byte form
    AfterF4 = 48, // 80-8F, then two more: nothing above U+10FFFF
};

constexpr std::uint64_t row(unsigned b)
{
    std::uint64_t out = 0;
    const auto next = [&](unsigned s, unsigned to) { out |= std::uint64_t(to) << s; };
    for (unsigned s : { Accept, Error, Need1, Need2, Need3, AfterE0, AfterED, AfterF0, AfterF4 }) {
        unsigned to = Error;
        if (s == Accept) {
            if (b < 0x80)
                to = Accept;
            else if (b >= 0xC2 && b <= 0xDF)
                to = Need1;
            else if (b == 0xE0)
                to = AfterE0;
            else if (b == 0xED)
                to = AfterED;
            else if (b >= 0xE1 && b <= 0xEF)
                to = Need2;
            else if (b == 0xF0)
                to = AfterF0;
            else if (b >= 0xF1 && b <= 0xF3)
                to = Need3;
            else if (b == 0xF4)
                to = AfterF4;
        } else if (s == Need1 || s == Need2 || s == Need3) {
            if (b >= 0x80 && b <= 0xBF)
                to = s == Need1 ? Accept : s - 6;
        } else if (s == AfterE0) {
            if (b >= 0xA0 && b <= 0xBF)
                to = Need1;
        } else if (s == AfterED) {
            if (b >= 0x80 && b <= 0x9F)
                to = Need1;
        } else if (s == AfterF0) {
            if (b >= 0x90 && b <= 0xBF)
                to = Need2;
        } else if (s == AfterF4) {
            if (b >= 0x80 && b <= 0x8F)
                to = Need2;
        }
        next(s, to);
    }
    return out;
}

constexpr std::array<std::uint64_t, 256> makeTable()
{
    std::array<std::uint64_t, 256> t {};
    for (unsigned b = 0; b < 256; ++b)
        t[b] = row(b);
    return t;
}

constexpr std::array<std::uint64_t, 256> kTransitions = makeTable();

// The state is the low six bits; the bits above are left over from the word and ignored.
// The processor takes a shift count modulo 64, so the mask costs nothing.
inline std::uint64_t step(std::uint64_t state, unsigned char b) { return kTransitions[b] >> (state & 63); }

// Bytes of a run of plain characters at s: neither above 0x7F nor a control below 0x0E
// (tab, LF, CR and their neighbours take the slow path). At most 16; needs 16 readable bytes.
inline int plainPrefix16(const unsigned char *s)
{
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    // Signed: bytes above 0x7F are negative and so below 0x0E too.
    const unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(0x0E))));
    return mask == 0 ? 16 : int(qCountTrailingZeroBits(mask));
#else
    int i = 0;
    while (i < 16 && s[i] >= 0x0E && s[i] < 0x80)
        ++i;
    return i;
#endif
}

// Widens 16 bytes to 16 UTF-16 units at d (all 16 written, whatever the caller keeps).
inline void widen16(const unsigned char *s, char16_t *d)
{
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    const __m128i zero = _mm_setzero_si128();
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(d + 8), _mm_unpackhi_epi8(v, zero));
#else
    for (int i = 0; i < 16; ++i)
        d[i] = s[i];
#endif
}

inline bool ascii16(const unsigned char *s)
{
    std::uint64_t a, b;
    std::memcpy(&a, s, 8);
    std::memcpy(&b, s + 8, 8);
    return ((a | b) & 0x8080808080808080ull) == 0;
}

inline bool continuation(unsigned char b) { return (b & 0xC0) == 0x80; }

#ifdef __SSE2__
// Sixteen bytes of ASCII and two-byte characters only (most Latin text, Polish too),
// checked at once: every continuation byte follows a lead byte C2-DF and every such lead
// byte is followed by one. The state is Accept or Need1 (a lead byte ended the block
// before) on entry and on exit. False, with the state unchanged, for anything else: the
// automaton reads those bytes, errors included.
inline bool twoByteBlock(const unsigned char *s, std::uint64_t &state)
{
    const unsigned st = unsigned(state & 63);
    if (st != Accept && st != Need1)
        return false;
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    // Signed bytes: 80-BF are -128..-65, C2-DF are -62..-33.
    const unsigned high = unsigned(_mm_movemask_epi8(v));
    const unsigned cont = unsigned(_mm_movemask_epi8(_mm_cmplt_epi8(v, _mm_set1_epi8(-64))));
    const unsigned lead = unsigned(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(-63)), _mm_cmplt_epi8(v, _mm_set1_epi8(-32)))));
    if ((cont | lead) != high || (((lead << 1) | (st == Need1 ? 1u : 0u)) & 0xFFFFu) != cont)
        return false;
    state = (lead & 0x8000u) ? Need1 : Accept;
    return true;
}
#endif

// Units of a run of ASCII characters other than '\n' at s: at most 8; needs 8 units.
inline int asciiPrefix8(const char16_t *s)
{
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    const __m128i special = _mm_or_si128(
        _mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), _mm_cmpeq_epi16(v, _mm_set1_epi16(10)));
    const unsigned mask
        = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(special, _mm_setzero_si128()))) ^ 0xFFFFu;
    return mask == 0 ? 8 : int(qCountTrailingZeroBits(mask)) / 2;
#else
    int i = 0;
    while (i < 8 && s[i] < 0x80 && s[i] != u'\n')
        ++i;
    return i;
#endif
}

// Narrows 8 ASCII units to 8 bytes at d (all 8 written).
inline void narrow8(const char16_t *s, char *d)
{
#ifdef __SSE2__
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s));
    _mm_storel_epi64(reinterpret_cast<__m128i *>(d), _mm_packus_epi16(v, v));
#else
    for (int i = 0; i < 8; ++i)
        d[i] = char(s[i]);
#endif
}

// Bytes beyond one a unit that text takes in UTF-8 with a line break of breakBytes. A
// surrogate pair (a high surrogate right before a low one) is four bytes, a lone
// surrogate three (U+FFFD).
qsizetype extraBytes(const char16_t *s, qsizetype n, int breakBytes)
{
    qsizetype extra = 0;
    qsizetype i = 0;
#ifdef __SSE2__
    // Sixteen-bit lane counts, summed before they could overflow. Each mask adds -1.
    const __m128i zero = _mm_setzero_si128();
    const __m128i ones = _mm_set1_epi16(1);
    const __m128i lineFeed = _mm_set1_epi16(10);
    const __m128i countLineFeeds = breakBytes == 2 ? _mm_set1_epi16(-1) : zero;
    const __m128i surrogateBits = _mm_set1_epi16(short(0xFC00));
    const auto sum = [&](__m128i v) {
        alignas(16) qint32 parts[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(parts), _mm_madd_epi16(v, ones));
        return qsizetype(parts[0]) + parts[1] + parts[2] + parts[3];
    };
    // Each step also reads the unit after its eight, to see pairs across the edge.
    while (n - i >= 9) {
        __m128i count = zero; // -1 for ASCII, -1 again below U+0800, +1 for a line feed, +2 for a pair
        const qsizetype steps = std::min<qsizetype>((n - i - 1) / 8, 4096);
        for (qsizetype k = 0; k < steps; ++k, i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + 1));
            count = _mm_add_epi16(
                count, _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), zero));
            count = _mm_add_epi16(
                count, _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xF800))), zero));
            count = _mm_sub_epi16(count, _mm_and_si128(_mm_cmpeq_epi16(v, lineFeed), countLineFeeds));
            const __m128i pair = _mm_and_si128(
                _mm_cmpeq_epi16(_mm_and_si128(v, surrogateBits), _mm_set1_epi16(short(0xD800))),
                _mm_cmpeq_epi16(_mm_and_si128(next, surrogateBits), _mm_set1_epi16(short(0xDC00))));
            count = _mm_add_epi16(count, _mm_add_epi16(pair, pair));
        }
        extra += 2 * 8 * steps + sum(count);
    }
#endif
    for (; i < n; ++i) {
        const char16_t c = s[i];
        extra += qsizetype(c >= 0x80) + qsizetype(c >= 0x800) + qsizetype(c == u'\n') * (breakBytes - 1);
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]))
            extra -= 2;
    }
    return extra;
}

} // namespace

namespace Utf8 {

Check check(QByteArrayView bytes)
{
    Check result;
    const unsigned char *const begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = begin + bytes.size();
    const unsigned char *s = begin;
    std::uint64_t state = Accept;
    unsigned seen = 0;
    while (s < end) {
        if ((state & 63) == Accept)
            while (end - s >= 16 && ascii16(s))
                s += 16;
#ifdef __SSE2__
        if (end - s >= 16 && twoByteBlock(s, state)) {
            seen = 0x80;
            s += 16;
            continue;
        }
#endif
        const unsigned char *const block = s;
        const std::uint64_t before = state;
        const unsigned char *const stop = std::min(end, s + 16);
        for (; s < stop; ++s) {
            seen |= *s;
            state = step(state, *s);
        }
        if ((state & 63) == Error) {
            // Find the byte within the block that failed.
            std::uint64_t st = before;
            for (s = block; (step(st, *s) & 63) != Error; ++s)
                st = step(st, *s);
            // Within a sequence, the sequence is what cannot be read: report its lead byte.
            if ((st & 63) != Accept) {
                do
                    --s;
                while (s > begin && continuation(*s));
            }
            result.valid = false;
            result.errorOffset = s - begin;
            return result;
        }
    }
    if ((state & 63) != Accept) {
        // Cut off by the end: the sequence's lead byte is the first that does not belong.
        const unsigned char *lead = end - 1;
        while (lead > begin && continuation(*lead))
            --lead;
        result.valid = false;
        result.errorOffset = lead - begin;
        return result;
    }
    result.multiByte = (seen & 0x80) != 0;
    return result;
}

bool decodeText(
    QByteArrayView bytes, QString *text, int tabSpaces, LineBreakCounts *breaks, qsizetype *errorOffset)
{
    const unsigned char *const begin = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = begin + bytes.size();
    const qsizetype tabs = tabSpaces > 1 ? std::count(bytes.begin(), bytes.end(), '\t') : 0;
    // A character never takes more UTF-16 units than UTF-8 bytes, so this is enough;
    // the fast path may write up to 16 units past what it keeps, which this room covers
    // as long as 16 input bytes remain.
    QString out(bytes.size() + tabs * (tabSpaces - 1), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    char16_t *const dBegin = d;
    LineBreakCounts counts;
    const unsigned char *s = begin;
    const auto fail = [&]() {
        if (errorOffset)
            *errorOffset = s - begin;
        return false;
    };
    while (s < end) {
        if (end - s >= 16) {
            const int plain = plainPrefix16(s);
            widen16(s, d);
            s += plain;
            d += plain;
            if (plain == 16)
                continue;
        }
        if (s >= end)
            break;
        const unsigned b = *s;
        if (b < 0x80) {
            ++s;
            if (b == '\r') {
                *d++ = u'\n';
                if (s < end && *s == '\n') {
                    ++s;
                    ++counts.crLf;
                } else {
                    ++counts.cr;
                }
            } else if (b == '\n') {
                *d++ = u'\n';
                ++counts.lf;
            } else if (b == '\t' && tabSpaces > 0) {
                d = std::fill_n(d, tabSpaces, u' ');
            } else {
                *d++ = char16_t(b);
            }
            continue;
        }
        // Off the fast path: stay here while characters above ASCII follow.
        do {
            const unsigned lead = *s;
            if (lead < 0xE0) {
                if (lead < 0xC2 || end - s < 2 || !continuation(s[1]))
                    return fail();
                *d++ = char16_t((lead & 0x1F) << 6 | (s[1] & 0x3F));
                s += 2;
            } else if (lead < 0xF0) {
                if (end - s < 3 || !continuation(s[1]) || !continuation(s[2]) || (lead == 0xE0 && s[1] < 0xA0)
                    || (lead == 0xED && s[1] > 0x9F))
                    return fail();
                *d++ = char16_t((lead & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F));
                s += 3;
            } else {
                if (lead > 0xF4 || end - s < 4 || !continuation(s[1]) || !continuation(s[2])
                    || !continuation(s[3]) || (lead == 0xF0 && s[1] < 0x90) || (lead == 0xF4 && s[1] > 0x8F))
                    return fail();
                const char32_t cp = char32_t(lead & 0x07) << 18 | char32_t(s[1] & 0x3F) << 12
                    | char32_t(s[2] & 0x3F) << 6 | char32_t(s[3] & 0x3F);
                *d++ = QChar::highSurrogate(cp);
                *d++ = QChar::lowSurrogate(cp);
                s += 4;
            }
        } while (s < end && *s >= 0x80);
    }
    out.truncate(d - dBegin);
    *text = std::move(out);
    if (breaks)
        *breaks = counts;
    return true;
}

std::optional<QString> decode(QByteArrayView bytes)
{
    if (!check(bytes).valid)
        return std::nullopt;
    return QString::fromUtf8(bytes);
}

QByteArray encode(QStringView text, LineBreak lineBreak, int *replaced)
{
    const char16_t *const begin = reinterpret_cast<const char16_t *>(text.data());
    const qsizetype n = text.size();
    const int breakBytes = lineBreak == LineBreak::CrLf ? 2 : 1;
    // The exact size first, so that a large text is written into one buffer of its size.
    const qsizetype extra = extraBytes(begin, n, breakBytes);
    QByteArray out(n + extra, Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()));
    char *d = out.data();
    const char16_t *s = begin;
    const char16_t *const end = begin + n;
    int bad = 0;
    const char breakChar = lineBreak == LineBreak::Cr ? '\r' : '\n';
    while (s < end) {
        if (end - s >= 8) {
            // Every unit takes at least one byte, so 8 bytes of room are there.
            const int plain = asciiPrefix8(s);
            narrow8(s, d);
            s += plain;
            d += plain;
            if (plain == 8)
                continue;
        }
        if (s >= end)
            break;
        // Off the fast path: stay here while characters above ASCII follow.
        do {
            const char16_t c = *s++;
            if (c < 0x80) {
                if (c == u'\n') {
                    if (lineBreak == LineBreak::CrLf)
                        *d++ = '\r';
                    *d++ = breakChar;
                } else {
                    *d++ = char(c);
                }
            } else if (c < 0x800) {
                *d++ = char(0xC0 | c >> 6);
                *d++ = char(0x80 | (c & 0x3F));
            } else if (!QChar::isSurrogate(c)) {
                *d++ = char(0xE0 | c >> 12);
                *d++ = char(0x80 | (c >> 6 & 0x3F));
                *d++ = char(0x80 | (c & 0x3F));
            } else if (QChar::isHighSurrogate(c) && s < end && QChar::isLowSurrogate(*s)) {
                const char32_t cp = QChar::surrogateToUcs4(c, *s++);
                *d++ = char(0xF0 | cp >> 18);
                *d++ = char(0x80 | (cp >> 12 & 0x3F));
                *d++ = char(0x80 | (cp >> 6 & 0x3F));
                *d++ = char(0x80 | (cp & 0x3F));
            } else {
                // U+FFFD
                *d++ = char(0xEF);
                *d++ = char(0xBF);
                *d++ = char(0xBD);
                ++bad;
            }
        } while (s < end && *s >= 0x80);
    }
    Q_ASSERT(d == out.data() + out.size());
    if (replaced)
        *replaced = bad;
    return out;
}

} // namespace Utf8
