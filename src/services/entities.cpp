#include "services/entities.h"

#include "services/entitytable.h"

#include <QHash>
#include <algorithm>

namespace {

// The longest name of the table has 31 letters; a longer run is no name.
constexpr int kLongestName = 32;

// What numeric references 128 to 159 stand for: HTML reads them as Windows-1252 (0: the
// five codes that table leaves undefined).
const char16_t kWindows1252[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, //
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178, //
};

bool isAsciiAlnum(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

int hexValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Markup characters: references to them stay references.
bool isKept(char32_t cp) { return cp == U'<' || cp == U'>' || cp == U'&' || cp == U'"'; }

bool isNoncharacter(char32_t cp) { return (cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE; }

quint32 keyOf(char16_t first, char16_t second) { return quint32(first) << 16 | second; }

QString charsOf(const EntityTableEntry &e)
{
    QString s(QChar(e.units[0]));
    if (e.units[1])
        s += QChar(e.units[1]);
    return s;
}

// strcmp of an ASCII name and a view that may hold anything.
int compareName(const char *a, QStringView b)
{
    qsizetype i = 0;
    for (; a[i] && i < b.size(); ++i) {
        const char16_t x = char16_t(static_cast<unsigned char>(a[i]));
        const char16_t y = b[i].unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (!a[i] && i == b.size())
        return 0;
    return a[i] ? 1 : -1;
}

int findName(QStringView name)
{
    const EntityTableEntry *end = kEntityTable + kEntityTableSize;
    const EntityTableEntry *it = std::lower_bound(kEntityTable, end, name,
        [](const EntityTableEntry &e, QStringView n) { return compareName(e.name, n) < 0; });
    return it != end && compareName(it->name, name) == 0 ? int(it - kEntityTable) : -1;
}

// Characters (one or two code units) -> the entry of their preferred name.
const QHash<quint32, int> &preferredNames()
{
    static const QHash<quint32, int> names = [] {
        QHash<quint32, int> h;
        h.reserve(kEntityTableSize);
        for (int i = 0; i < kEntityTableSize; ++i)
            if (kEntityTable[i].flags & Preferred)
                h.insert(keyOf(kEntityTable[i].units[0], kEntityTable[i].units[1]), i);
        return h;
    }();
    return names;
}

// The reference starting with the "&" at i: its characters in *out and the index after
// it in *end. False when there is none there, or one that is left as it is.
bool decodeAt(QStringView text, qsizetype i, QString *out, qsizetype *end)
{
    const qsizetype n = text.size();
    qsizetype j = i + 1;
    if (j < n && text[j] == QLatin1Char('#')) {
        ++j;
        const bool hex = j < n && (text[j] == QLatin1Char('x') || text[j] == QLatin1Char('X'));
        if (hex)
            ++j;
        const qsizetype digits = j;
        char32_t value = 0;
        bool tooBig = false;
        for (; j < n; ++j) {
            const char16_t c = text[j].unicode();
            const int d = hex ? hexValue(c) : (c >= u'0' && c <= u'9' ? c - u'0' : -1);
            if (d < 0)
                break;
            value = value * (hex ? 16 : 10) + char32_t(d);
            if (value > 0x10FFFF) {
                tooBig = true;
                value = 0x110000; // stays out of range while the digits run on
            }
        }
        if (j == digits || tooBig)
            return false;
        if (j < n && text[j] == QLatin1Char(';'))
            ++j;
        else if (j < n && isAsciiAlnum(text[j].unicode()))
            return false;
        if (value >= 0x80 && value <= 0x9F) {
            value = kWindows1252[value - 0x80];
            if (!value)
                return false;
        }
        if (value == 0 || (value >= 0xD800 && value <= 0xDFFF) || isNoncharacter(value) || value == 0x7F
            || (value < 0x20 && value != u'\t' && value != u'\n') || isKept(value))
            return false;
        *out = QString::fromUcs4(&value, 1);
        *end = j;
        return true;
    }
    qsizetype k = j;
    while (k < n && k - j <= kLongestName && isAsciiAlnum(text[k].unicode()))
        ++k;
    if (k == j || k - j > kLongestName)
        return false;
    const int index = findName(text.mid(j, k - j));
    if (index < 0)
        return false;
    const EntityTableEntry &e = kEntityTable[index];
    if (!e.units[1] && isKept(e.units[0]))
        return false;
    if (k < n && text[k] == QLatin1Char(';')) {
        *end = k + 1;
    } else {
        if (!(e.flags & NoSemicolon) || (k < n && text[k] == QLatin1Char('=')))
            return false;
        *end = k;
    }
    *out = charsOf(e);
    return true;
}

void appendNumeric(QString &out, char32_t cp)
{
    out += QLatin1String("&#");
    out += QString::number(uint(cp));
    out += QLatin1Char(';');
}

void appendNamed(QString &out, int index)
{
    out += QLatin1Char('&');
    out += QLatin1String(kEntityTable[index].name);
    out += QLatin1Char(';');
}

} // namespace

QString HtmlEntities::encode(QStringView text, Form form, int *count)
{
    int written = 0;
    if (count)
        *count = 0;
    const qsizetype n = text.size();
    const char16_t *s = text.utf16();
    if (std::all_of(s, s + n, [](char16_t c) { return c < 0x80; }))
        return text.toString();
    const bool named = form == Form::Named;
    const QHash<quint32, int> &names = preferredNames();
    const auto nameOf = [&](char16_t a, char16_t b) {
        const auto it = names.constFind(keyOf(a, b));
        return it == names.constEnd() ? -1 : *it;
    };
    QString out;
    out.reserve(n + n / 4);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        const char16_t next = i + 1 < n ? s[i + 1] : 0;
        // A character with its combining mark may have a name of its own ("&nvlt;").
        if (named && next >= 0x80 && !QChar::isSurrogate(next)) {
            const int pair = nameOf(c, next);
            if (pair >= 0) {
                appendNamed(out, pair);
                ++written;
                ++i;
                continue;
            }
        }
        if (c < 0x80 || (c >= 0x80 && c <= 0x9F)) {
            out += QChar(c); // ASCII, or a C1 control that no reference can stand for
            continue;
        }
        if (QChar::isSurrogate(c)) {
            if (!QChar::isHighSurrogate(c) || !QChar::isLowSurrogate(next)) {
                out += QChar(c); // a lone half of a pair: no character to refer to
                continue;
            }
            const int index = named ? nameOf(c, next) : -1;
            if (index >= 0)
                appendNamed(out, index);
            else
                appendNumeric(out, QChar::surrogateToUcs4(c, next));
            ++written;
            ++i;
            continue;
        }
        const int index = named ? nameOf(c, 0) : -1;
        if (index >= 0)
            appendNamed(out, index);
        else
            appendNumeric(out, c);
        ++written;
    }
    if (count)
        *count = written;
    return out;
}

QString HtmlEntities::decode(QStringView text, int *count)
{
    int replaced = 0;
    QString out;
    qsizetype copied = 0;
    const qsizetype n = text.size();
    QString chars;
    qsizetype end = 0;
    for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i < n;
         i = text.indexOf(QLatin1Char('&'), i + 1)) {
        if (!decodeAt(text, i, &chars, &end))
            continue;
        if (out.isNull())
            out.reserve(n);
        out += text.mid(copied, i - copied);
        out += chars;
        copied = end;
        i = end - 1;
        ++replaced;
    }
    if (count)
        *count = replaced;
    if (!replaced)
        return text.toString();
    out += text.mid(copied);
    return out;
}

QString HtmlEntities::characters(QStringView name)
{
    const int index = findName(name);
    return index < 0 ? QString() : charsOf(kEntityTable[index]);
}

QString HtmlEntities::nameFor(QStringView chars)
{
    if (chars.isEmpty() || chars.size() > 2)
        return QString();
    const auto it
        = preferredNames().constFind(keyOf(chars[0].unicode(), chars.size() > 1 ? chars[1].unicode() : 0));
    return it == preferredNames().constEnd() ? QString() : QString(QLatin1String(kEntityTable[*it].name));
}

int HtmlEntities::count() { return kEntityTableSize; }

QString HtmlEntities::nameAt(int i) { return QLatin1String(kEntityTable[i].name); }

QString HtmlEntities::charactersAt(int i) { return charsOf(kEntityTable[i]); }

bool HtmlEntities::validWithoutSemicolon(int i) { return kEntityTable[i].flags & NoSemicolon; }
