#include "services/charsetdetect.h"

#include "base/utf8.h"
#include "services/charsetdeclaration.h"

#include <algorithm>
#include <array>

namespace {

// The markers are ASCII, so folding A-Z is all the case-insensitivity needed: no
// other character lower-cases to an ASCII letter in either code page.
inline unsigned foldAscii(unsigned c) { return c - 'A' < 26u ? c + ('a' - 'A') : c; }

// Index of the first occurrence of the lower-case ASCII needle in [0, n), or -1.
template <typename Char> qsizetype findFolded(const Char *text, qsizetype n, const char *needle)
{
    const qsizetype m = qsizetype(qstrlen(needle));
    if (m == 0 || n < m)
        return m == 0 ? 0 : -1;
    const auto pred = [](Char a, char b) { return foldAscii(unsigned(a)) == unsigned(b); };
    // Boyer-Moore-Horspool over the text: a 50 MB document without the markers is
    // scanned in a few tens of milliseconds, and no lower-cased copy is made.
    const auto last = unsigned(needle[m - 1]);
    std::array<qsizetype, 128> shift;
    shift.fill(m);
    for (qsizetype i = 0; i < m - 1; ++i)
        shift[unsigned(needle[i])] = m - 1 - i;
    qsizetype pos = 0;
    while (pos <= n - m) {
        const unsigned c = foldAscii(unsigned(text[pos + m - 1]));
        if (c == last) {
            qsizetype k = m - 2;
            while (k >= 0 && pred(text[pos + k], needle[k]))
                --k;
            if (k < 0)
                return pos;
        }
        pos += c < 128 ? shift[c] : m;
    }
    return -1;
}

template <typename Char> bool detect(const Char *text, qsizetype n, int mode, bool defaultIso)
{
    if (mode == 1)
        return false;
    if (mode == 2)
        return true;
    const qsizetype head = findFolded(text, n, "</head>");
    // Only a charset standing before "</head>" counts, so the rest need not be searched.
    const qsizetype limit = head < 0 ? n : std::min(n, head + qsizetype(qstrlen("charset=windows-1250")));
    const auto before = [&](const char *marker) {
        const qsizetype at = findFolded(text, limit, marker);
        return at >= 0 && (head < 0 || at < head);
    };
    if (before("charset=iso-8859-2"))
        return true;
    if (before("charset=windows-1250"))
        return false;
    return defaultIso;
}

} // namespace

EncodingDetection DetectEncoding(QByteArrayView bytes, int mode, DocumentEncoding defaultEncoding)
{
    const bool utf8Bom = bytes.startsWith("\xEF\xBB\xBF");
    switch (mode) {
    case ForceWindows1250:
        return { DocumentEncoding::fromIso(false), EncodingSource::Forced };
    case ForceIso8859_2:
        return { DocumentEncoding::fromIso(true), EncodingSource::Forced };
    case ForceUtf8:
        return { DocumentEncoding::utf8(utf8Bom), EncodingSource::Forced };
    default:
        break;
    }
    if (utf8Bom)
        return { DocumentEncoding::utf8(true), EncodingSource::ByteOrderMark };
    if (bytes.startsWith("\xFF\xFE"))
        return { { DocumentEncoding::Utf16LE, true }, EncodingSource::ByteOrderMark };
    if (bytes.startsWith("\xFE\xFF"))
        return { { DocumentEncoding::Utf16BE, true }, EncodingSource::ByteOrderMark };
    if (const auto declared = DeclaredCodePage(bytes))
        return { { *declared, false }, EncodingSource::Declaration };
    const Utf8::Check utf8 = Utf8::check(bytes);
    if (utf8.valid && utf8.multiByte)
        return { DocumentEncoding::utf8(), EncodingSource::Content };
    if (defaultEncoding.codePage == DocumentEncoding::Utf8 && !utf8.valid)
        return { DocumentEncoding::fromIso(false), EncodingSource::Default };
    if (defaultEncoding.isUtf16()) // never without the mark
        defaultEncoding = DocumentEncoding::fromIso(false);
    return { defaultEncoding, EncodingSource::Default };
}

bool DetectIso(QStringView text, int mode, bool defaultIso)
{
    return detect(reinterpret_cast<const char16_t *>(text.data()), text.size(), mode, defaultIso);
}

bool DetectIso(QByteArrayView bytes, int mode, bool defaultIso)
{
    return detect(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size(), mode, defaultIso);
}

QString ExpandTabs(QStringView text, int tabWidth)
{
    const qsizetype tabs = text.count(u'\t');
    if (tabs == 0)
        return text.toString();
    const qsizetype width = std::max(tabWidth, 1);
    QString out(text.size() + tabs * (width - 1), Qt::Uninitialized);
    QChar *d = out.data();
    for (const QChar c : text) {
        if (c == u'\t') {
            std::fill_n(d, width, QLatin1Char(' '));
            d += width;
        } else {
            *d++ = c;
        }
    }
    return out;
}
