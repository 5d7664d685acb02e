#include "services/documentcodec.h"

#include "base/codepage.h"
#include "base/largebuffer.h"
#include "base/utf8.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16LEBom[] = "\xFF\xFE";
constexpr char kUtf16BEBom[] = "\xFE\xFF";

// The bytes [s, stop) through the table into d; both code pages agree with ASCII, so
// runs of ASCII are widened sixteen bytes at a time (vector code) without the table.
char16_t *translate(
    const unsigned char *s, const unsigned char *stop, char16_t *d, const std::array<char16_t, 256> &table)
{
    while (stop - s >= 16) {
        unsigned any = 0;
        for (int k = 0; k < 16; ++k)
            any |= s[k];
        if (any < 0x80) {
            for (int k = 0; k < 16; ++k)
                d[k] = s[k];
        } else {
            for (int k = 0; k < 16; ++k)
                d[k] = table[s[k]];
        }
        s += 16;
        d += 16;
    }
    while (s < stop)
        *d++ = table[*s++];
    return d;
}

// Decodes an 8-bit code page, turns CR LF and lone CR into '\n' and handles tabs in one
// pass, so a large file costs one allocation and one walk over its bytes: the stretches
// between carriage returns (and tabs) are found with memchr and translated whole.
DecodedDocument decodeEightBit(QByteArrayView bytes, CodePage::Id id, int tabSpaces)
{
    std::array<char16_t, 256> table;
    for (int b = 0; b < 256; ++b)
        table[b] = CodePage::toUnicode(static_cast<unsigned char>(b), id);
    const qsizetype tabs = tabSpaces > 1 ? std::count(bytes.begin(), bytes.end(), '\t') : 0;
    const qsizetype lineFeeds = std::count(bytes.begin(), bytes.end(), '\n');
    DecodedDocument result;
    QString out(bytes.size() + tabs * (tabSpaces - 1), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    char16_t *const begin = d;
    const unsigned char *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = s + bytes.size();
    const auto next = [end](const unsigned char *from, unsigned char c) {
        const void *at = from < end ? std::memchr(from, c, std::size_t(end - from)) : nullptr;
        return at ? static_cast<const unsigned char *>(at) : end;
    };
    const unsigned char *cr = next(s, '\r');
    const unsigned char *tab = tabSpaces > 0 ? next(s, '\t') : end; // tabs kept: no second search
    for (;;) {
        const unsigned char *stop = std::min(cr, tab);
        d = translate(s, stop, d, table);
        s = stop;
        if (s == end)
            break;
        ++s;
        if (stop == cr) {
            *d++ = u'\n';
            if (s < end && *s == '\n') {
                ++s;
                ++result.breaks.crLf;
            } else {
                ++result.breaks.cr;
            }
            cr = next(s, '\r');
        } else {
            d = std::fill_n(d, tabSpaces, u' ');
            tab = next(s, '\t');
        }
    }
    result.breaks.lf = lineFeeds - result.breaks.crLf;
    out.truncate(d - begin);
    result.text = std::move(out);
    result.ok = true;
    return result;
}

// Encodes an 8-bit code page with '\n' written as lineBreak, in one pass. Characters the
// code page cannot hold are written as CodePage::encode writes them (numeric references).
QByteArray encodeEightBit(QStringView text, CodePage::Id id, LineBreak lineBreak, int *unmappable)
{
    const qsizetype breaks = lineBreak == LineBreak::CrLf ? std::count(text.begin(), text.end(), u'\n') : 0;
    QByteArray out(text.size() + breaks, Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()));
    char *d = out.data();
    qsizetype w = 0;
    int bad = 0;
    const char breakChar = lineBreak == LineBreak::Cr ? '\r' : '\n';
    const char16_t *s = reinterpret_cast<const char16_t *>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            if (c == u'\n') {
                if (lineBreak == LineBreak::CrLf)
                    d[w++] = '\r';
                d[w++] = breakChar;
            } else {
                d[w++] = char(c);
            }
            continue;
        }
        const int b = CodePage::fromUnicode(c, id);
        if (b >= 0) {
            d[w++] = char(b);
            continue;
        }
        // Rare: a reference is longer than the character, so the buffer grows.
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]);
        const QByteArray ref = CodePage::encode(text.mid(i, pair ? 2 : 1), id);
        if (pair)
            ++i;
        out.resize(out.size() + ref.size() - (pair ? 2 : 1));
        d = out.data();
        std::copy(ref.cbegin(), ref.cend(), d + w);
        w += ref.size();
        ++bad;
    }
    out.truncate(w);
    if (unmappable)
        *unmappable = bad;
    return out;
}

template <QSysInfo::Endian E> char16_t unitAt(const char *p)
{
    return E == QSysInfo::LittleEndian ? qFromLittleEndian<quint16>(p) : qFromBigEndian<quint16>(p);
}

template <QSysInfo::Endian E> void putUnit(char *p, char16_t u)
{
    if (E == QSysInfo::LittleEndian)
        qToLittleEndian<quint16>(u, p);
    else
        qToBigEndian<quint16>(u, p);
}

// UTF-16 after its mark. Every unit is taken as it is, lone surrogates too, so that the
// file goes back unchanged; only an odd byte at the end cannot be read.
template <QSysInfo::Endian E>
DecodedDocument decodeUtf16(QByteArrayView bytes, qsizetype offset, int tabSpaces)
{
    DecodedDocument result;
    if ((bytes.size() - offset) % 2 != 0) {
        result.errorOffset = bytes.size() - 1;
        return result;
    }
    const qsizetype units = (bytes.size() - offset) / 2;
    const char *s = bytes.data() + offset;
    qsizetype tabs = 0;
    if (tabSpaces > 1)
        for (qsizetype i = 0; i < units; ++i)
            tabs += unitAt<E>(s + 2 * i) == u'\t';
    QString out(units + tabs * (tabSpaces - 1), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    char16_t *const begin = d;
    for (qsizetype i = 0; i < units; ++i) {
        const char16_t c = unitAt<E>(s + 2 * i);
        if (c == u'\r') {
            *d++ = u'\n';
            if (i + 1 < units && unitAt<E>(s + 2 * i + 2) == u'\n') {
                ++i;
                ++result.breaks.crLf;
            } else {
                ++result.breaks.cr;
            }
        } else if (c == u'\n') {
            *d++ = u'\n';
            ++result.breaks.lf;
        } else if (c == u'\t' && tabSpaces > 0) {
            d = std::fill_n(d, tabSpaces, u' ');
        } else {
            *d++ = c;
        }
    }
    out.truncate(d - begin);
    result.text = std::move(out);
    result.ok = true;
    return result;
}

template <QSysInfo::Endian E> QByteArray encodeUtf16(QStringView text, LineBreak lineBreak)
{
    const QByteArrayView bom
        = E == QSysInfo::LittleEndian ? QByteArrayView(kUtf16LEBom) : QByteArrayView(kUtf16BEBom);
    const qsizetype breaks = lineBreak == LineBreak::CrLf ? std::count(text.begin(), text.end(), u'\n') : 0;
    QByteArray out(bom.size() + 2 * (text.size() + breaks), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()));
    std::copy(bom.begin(), bom.end(), out.data());
    char *d = out.data() + bom.size();
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == u'\n') {
            if (lineBreak == LineBreak::CrLf) {
                putUnit<E>(d, u'\r');
                d += 2;
            }
            putUnit<E>(d, lineBreak == LineBreak::Cr ? u'\r' : u'\n');
        } else {
            putUnit<E>(d, c);
        }
        d += 2;
    }
    return out;
}

} // namespace

QByteArrayView ByteOrderMark(DocumentEncoding encoding)
{
    switch (encoding.codePage) {
    case DocumentEncoding::Utf8:
        return encoding.bom ? QByteArrayView(kUtf8Bom) : QByteArrayView();
    case DocumentEncoding::Utf16LE:
        return QByteArrayView(kUtf16LEBom);
    case DocumentEncoding::Utf16BE:
        return QByteArrayView(kUtf16BEBom);
    default:
        return QByteArrayView();
    }
}

DecodedDocument DecodeDocument(QByteArrayView bytes, DocumentEncoding encoding, int tabSpaces)
{
    tabSpaces = std::max(tabSpaces, 0);
    const QByteArrayView bom = ByteOrderMark(encoding);
    const qsizetype skip = !bom.isEmpty() && bytes.startsWith(bom) ? bom.size() : 0;
    switch (encoding.codePage) {
    case DocumentEncoding::Windows1250:
    case DocumentEncoding::Iso8859_2:
        return decodeEightBit(bytes, encoding.table(), tabSpaces);
    case DocumentEncoding::Utf8: {
        DecodedDocument result;
        qsizetype error = -1;
        result.ok = Utf8::decodeText(bytes.sliced(skip), &result.text, tabSpaces, &result.breaks, &error);
        if (!result.ok) {
            result.text.clear();
            result.errorOffset = skip + error;
        }
        return result;
    }
    case DocumentEncoding::Utf16LE:
        return decodeUtf16<QSysInfo::LittleEndian>(bytes, skip, tabSpaces);
    case DocumentEncoding::Utf16BE:
        return decodeUtf16<QSysInfo::BigEndian>(bytes, skip, tabSpaces);
    }
    return DecodedDocument();
}

QByteArray EncodeDocument(
    QStringView text, DocumentEncoding encoding, LineBreak lineBreak, EncodeCounts *counts)
{
    EncodeCounts local;
    EncodeCounts &c = counts ? *counts : local;
    c = EncodeCounts();
    switch (encoding.codePage) {
    case DocumentEncoding::Windows1250:
    case DocumentEncoding::Iso8859_2:
        return encodeEightBit(text, encoding.table(), lineBreak, &c.unmappable);
    case DocumentEncoding::Utf8:
        if (encoding.bom) // rare enough that the one copy does not matter
            return QByteArray(kUtf8Bom) + Utf8::encode(text, lineBreak, &c.replaced);
        return Utf8::encode(text, lineBreak, &c.replaced);
    case DocumentEncoding::Utf16LE:
        return encodeUtf16<QSysInfo::LittleEndian>(text, lineBreak);
    case DocumentEncoding::Utf16BE:
        return encodeUtf16<QSysInfo::BigEndian>(text, lineBreak);
    }
    return QByteArray();
}
