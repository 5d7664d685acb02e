#include "services/charsetdeclaration.h"

#include <QtAlgorithms>
#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

// The markers are ASCII, so folding A-Z is all the case-insensitivity needed: no other
// character of either code page, nor of Unicode, lower-cases to an ASCII letter.
inline unsigned foldAscii(unsigned c) { return c - 'A' < 26u ? c + ('a' - 'A') : c; }

inline bool isBlank(unsigned c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

inline bool isNameChar(unsigned c)
{
    return (c - 'a' < 26u) || (c - 'A' < 26u) || (c - '0' < 10u) || c == '-' || c == '_' || c == '.'
        || c == ':';
}

// Inline, since a page has a '<' every few bytes and a call per tag would cost more
// than the search.
inline qsizetype findChar(const unsigned char *text, qsizetype from, qsizetype n, char c)
{
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i needle = _mm_set1_epi8(c);
    for (; n - i >= 16; i += 16) {
        const unsigned mask = unsigned(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i)), needle)));
        if (mask)
            return i + qCountTrailingZeroBits(mask);
    }
#endif
    for (; i < n; ++i)
        if (text[i] == static_cast<unsigned char>(c))
            return i;
    return -1;
}

inline qsizetype findChar(const char16_t *text, qsizetype from, qsizetype n, char c)
{
    return QStringView(text, n).indexOf(QLatin1Char(c), from);
}

// The lower-case ASCII word at text[at...], letter case ignored.
template <typename Char> bool wordAt(const Char *text, qsizetype at, qsizetype n, const char *word)
{
    for (; *word; ++word, ++at)
        if (at >= n || foldAscii(unsigned(text[at])) != unsigned(*word))
            return false;
    return true;
}

// The charset names inside the tag [begin, end).
template <typename Char>
void scanTag(const Char *text, qsizetype begin, qsizetype end, std::vector<CharsetDeclaration> &out)
{
    for (qsizetype i = begin; i + 7 <= end; ++i) {
        if (foldAscii(unsigned(text[i])) != 'c' || !wordAt(text, i, end, "charset"))
            continue;
        if (i > begin && isNameChar(unsigned(text[i - 1])))
            continue;
        qsizetype j = i + 7;
        while (j < end && isBlank(unsigned(text[j])))
            ++j;
        if (j >= end || text[j] != Char('='))
            continue;
        ++j;
        while (j < end && isBlank(unsigned(text[j])))
            ++j;
        if (j < end && (text[j] == Char('"') || text[j] == Char('\'')))
            ++j;
        const qsizetype start = j;
        while (j < end && isNameChar(unsigned(text[j])))
            ++j;
        if (j == start)
            continue;
        CharsetDeclaration d;
        d.nameStart = start;
        d.nameLength = j - start;
        for (qsizetype k = start; k < j; ++k)
            d.name += QChar(char16_t(text[k]));
        out.push_back(std::move(d));
        i = j - 1;
    }
}

template <typename Char> std::vector<CharsetDeclaration> findDeclarations(const Char *text, qsizetype n)
{
    std::vector<CharsetDeclaration> out;
    for (qsizetype lt = findChar(text, 0, n, '<'); lt >= 0; lt = findChar(text, lt + 1, n, '<')) {
        if (wordAt(text, lt + 1, n, "/head")
            && (lt + 6 >= n || text[lt + 6] == Char('>') || isBlank(unsigned(text[lt + 6]))))
            break;
        if (!wordAt(text, lt + 1, n, "meta"))
            continue;
        const qsizetype after = lt + 5;
        if (after < n && !isBlank(unsigned(text[after])) && text[after] != Char('/')
            && text[after] != Char('>'))
            continue; // <metadata> and the like
        qsizetype gt = findChar(text, after, n, '>');
        if (gt < 0)
            gt = n;
        scanTag(text, after, gt, out);
        lt = std::max(lt, gt - 1);
    }
    return out;
}

bool namesEqual(QStringView name, const char *candidate)
{
    return name.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0;
}

} // namespace

std::vector<CharsetDeclaration> FindCharsetDeclarations(QStringView text)
{
    return findDeclarations(reinterpret_cast<const char16_t *>(text.data()), text.size());
}

std::vector<CharsetDeclaration> FindCharsetDeclarations(QByteArrayView bytes)
{
    return findDeclarations(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
}

std::optional<DocumentEncoding::Id> CodePageOfCharset(QStringView name)
{
    if (namesEqual(name, "utf-8") || namesEqual(name, "utf8"))
        return DocumentEncoding::Utf8;
    if (namesEqual(name, "iso-8859-2") || namesEqual(name, "latin2"))
        return DocumentEncoding::Iso8859_2;
    if (namesEqual(name, "windows-1250") || namesEqual(name, "cp1250"))
        return DocumentEncoding::Windows1250;
    return std::nullopt;
}

std::optional<DocumentEncoding::Id> DeclaredCodePage(QByteArrayView bytes)
{
    bool iso = false, windows = false, utf8 = false;
    for (const CharsetDeclaration &d : FindCharsetDeclarations(bytes)) {
        const auto id = CodePageOfCharset(d.name);
        iso |= id == DocumentEncoding::Iso8859_2;
        windows |= id == DocumentEncoding::Windows1250;
        utf8 |= id == DocumentEncoding::Utf8;
    }
    if (iso)
        return DocumentEncoding::Iso8859_2;
    if (windows)
        return DocumentEncoding::Windows1250;
    if (utf8)
        return DocumentEncoding::Utf8;
    return std::nullopt;
}

std::vector<CharsetDeclaration> ContradictingDeclarations(QStringView text, DocumentEncoding encoding)
{
    std::vector<CharsetDeclaration> out;
    for (CharsetDeclaration &d : FindCharsetDeclarations(text)) {
        const auto id = CodePageOfCharset(d.name);
        const bool same = encoding.isUtf16() ? d.name.startsWith(QLatin1String("utf-16"), Qt::CaseInsensitive)
                                             : id == encoding.codePage;
        if (!same)
            out.push_back(std::move(d));
    }
    return out;
}

QString RewriteCharsetDeclarations(QStringView text, DocumentEncoding encoding)
{
    QString out;
    out.reserve(text.size());
    qsizetype from = 0;
    const QString name = encoding.charsetName();
    for (const CharsetDeclaration &d : ContradictingDeclarations(text, encoding)) {
        out += text.mid(from, d.nameStart - from);
        out += name;
        from = d.nameStart + d.nameLength;
    }
    out += text.mid(from);
    return out;
}
