#include "editor/colorrule.h"

namespace {

struct NamedColor
{
    const char *name;
    TColor bgr;
};

// The 16 basic HTML colours, in BGR.
const NamedColor kNamedColors[] = {
    { "BLACK", 0x000000 },
    { "MAROON", 0x000080 },
    { "GREEN", 0x008000 },
    { "OLIVE", 0x008080 },
    { "NAVY", 0x800000 },
    { "PURPLE", 0x800080 },
    { "TEAL", 0x808000 },
    { "GRAY", 0x808080 },
    { "SILVER", 0xC0C0C0 },
    { "RED", 0x0000FF },
    { "LIME", 0x00FF00 },
    { "YELLOW", 0x00FFFF },
    { "BLUE", 0xFF0000 },
    { "FUCHSIA", 0xFF00FF },
    { "AQUA", 0xFFFF00 },
    { "WHITE", 0xFFFFFF },
};

constexpr TColor kUnreadable = 0xFFFFFF;

quint32 swapRedBlue(quint32 v) { return (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu); }

// An integer as the platform's string-to-integer conversion reads it when a "$" is
// present: optional sign, "$", 1 to 8 hexadecimal digits, nothing else.
bool readDollarInteger(const QString &s, quint32 &out)
{
    int i = 0;
    bool negative = false;
    if (i < s.size() && (s.at(i) == QLatin1Char('-') || s.at(i) == QLatin1Char('+'))) {
        negative = s.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i >= s.size() || s.at(i) != QLatin1Char('$'))
        return false;
    ++i;
    const int digits = int(s.size()) - i;
    if (digits < 1 || digits > 8)
        return false;
    quint32 v = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s.at(i).unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        else if (c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        if (d < 0)
            return false;
        v = (v << 4) | quint32(d);
    }
    out = negative ? quint32(0u - v) : v;
    return true;
}

} // namespace

TColor ColorFromText(const QString &text)
{
    QString s = text.trimmed().toUpper().left(10);
    for (const NamedColor &c : kNamedColors)
        if (s == QLatin1String(c.name))
            return c.bgr;
    const int hash = int(s.indexOf(QLatin1Char('#')));
    if (hash >= 0)
        s.remove(hash, 1);
    if (!s.contains(QLatin1Char('$')))
        s.prepend(QLatin1Char('$'));
    quint32 v = 0;
    if (!readDollarInteger(s, v))
        return kUnreadable;
    return swapRedBlue(v);
}

quint32 ColorToRgb(TColor color, quint32 windowRgb, quint32 windowTextRgb)
{
    if (color & 0x80000000u)
        return color == clWindow ? windowRgb : windowTextRgb;
    return swapRedBlue(color) & 0xFFFFFFu;
}

TColor ColorFromRgb(quint32 rgb) { return swapRedBlue(rgb) & 0xFFFFFFu; }

// ---------------------------------------------------------------------------------

void TColorRule::Assign(const TColorRule &other)
{
    m_drawingType = other.m_drawingType;
    m_zOrder = other.m_zOrder;
    m_keyMaxHeight = other.m_keyMaxHeight;
    m_keyCase = other.m_keyCase;
    m_enabled = other.m_enabled;
    m_partWord = other.m_partWord;
    m_defKeyColor = other.m_defKeyColor;
    m_keyBrushColor = other.m_keyBrushColor;
    m_wholeNames = other.m_wholeNames;
    m_keywords = other.m_keywords;
    m_lineEnd = other.m_lineEnd;
    m_begEnd = other.m_begEnd;
    Rebuild();
}

void TColorRule::setKeywords(const QStringList &lines)
{
    m_keywords = lines;
    rebuildKeywords();
}

void TColorRule::setKeyBegEndLst(const QStringList &lines)
{
    m_begEnd = lines;
    rebuildDelimiters();
}

void TColorRule::setKeyLineEndLst(const QStringList &lines)
{
    m_lineEnd = lines;
    rebuildDelimiters();
}

void TColorRule::setKeyDrawingType(TKeyDrawingType t)
{
    m_drawingType = t;
    rebuildDelimiters();
}

void TColorRule::setWholeNames(bool b)
{
    m_wholeNames = b;
    rebuildDelimiters();
}

void TColorRule::setKeyCase(bool b)
{
    m_keyCase = b;
    rebuildKeywords();
}

void TColorRule::setDefKeyColor(TColor c)
{
    m_defKeyColor = c;
    Rebuild();
}

void TColorRule::Rebuild()
{
    rebuildDelimiters();
    rebuildKeywords();
}

TColor TColorRule::entryColor(const QString &text) const
{
    const QString t = text.trimmed();
    return t.isEmpty() ? m_defKeyColor : ColorFromText(t);
}

void TColorRule::rebuildDelimiters()
{
    for (TDelimiter &d : m_delims)
        d = TDelimiter();
    const bool lineEnd = m_drawingType == dtBeginLineEnd;
    const QStringList &lines = lineEnd ? m_lineEnd : m_begEnd;
    if (m_drawingType != dtBeginEnd && !lineEnd) {
        m_delimUsed = 0;
        return;
    }
    const int n = std::min<int>(int(lines.size()), DelimiterCount);
    for (int i = 0; i < n; ++i) {
        const QString &line = lines.at(i);
        TDelimiter &d = m_delims[i];
        const int semi = int(line.indexOf(QLatin1Char(';')));
        if (!lineEnd) {
            // begin;end;colour — a line without a ';' after its first character stays empty.
            if (semi < 1)
                continue;
            d.Begin = line.left(semi);
            const int semi2 = int(line.indexOf(QLatin1Char(';'), semi + 1));
            d.End = semi2 < 0 ? line.mid(semi + 1) : line.mid(semi + 1, semi2 - semi - 1);
            d.Color = entryColor(semi2 < 0 ? QString() : line.mid(semi2 + 1));
        } else {
            // begin;colour — ";;colour" has ';' as its begin, a lone leading ';' is text.
            QString colour;
            if (line.startsWith(QLatin1String(";;"))) {
                d.Begin = QStringLiteral(";");
                colour = line.mid(2);
            } else if (semi < 0 || (semi == 0 && line.indexOf(QLatin1Char(';'), 1) < 0)) {
                d.Begin = line;
            } else {
                d.Begin = line.left(semi);
                colour = line.mid(semi + 1);
            }
            d.Color = entryColor(colour);
        }
        if (!m_wholeNames) {
            d.Begin.truncate(DelimiterLength);
            d.End.truncate(DelimiterLength);
        }
    }
    m_delimUsed = 0;
    while (m_delimUsed < DelimiterCount && !m_delims[m_delimUsed].Begin.isEmpty())
        ++m_delimUsed;
}

void TColorRule::rebuildKeywords()
{
    m_keywordTable.clear();
    m_palette.clear();
    for (const QString &raw : m_keywords) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const int semi = int(line.indexOf(QLatin1Char(';')));
        QString word = (semi < 0 ? line : line.left(semi)).trimmed();
        // An empty keyword would match everywhere; it is no keyword.
        if (word.isEmpty())
            continue;
        word.truncate(KeywordLength);
        if (!m_keyCase)
            for (QChar &c : word)
                c = c.toUpper();
        const TColor colour = entryColor(semi < 0 ? QString() : line.mid(semi + 1));
        TKeyword k;
        k.Text = word;
        const int found = int(m_palette.indexOf(colour));
        if (found >= 0)
            k.Palette = quint8(found + 1);
        else if (m_palette.size() < PaletteSize) {
            m_palette.append(colour);
            k.Palette = quint8(m_palette.size());
        }
        // A colour beyond a full palette gets no index: the keyword shows in DefKeyColor.
        m_keywordTable.append(k);
    }
}

TColor TColorRule::KeywordColor(const TKeyword &k) const
{
    return k.Palette > 0 && k.Palette <= m_palette.size() ? m_palette.at(k.Palette - 1) : m_defKeyColor;
}

// ---------------------------------------------------------------------------------

void TDrawRules::Assign(const TDrawRules &other)
{
    m_items.clear();
    m_items.reserve(other.m_items.size());
    for (const TColorRule &r : other.m_items)
        Add().Assign(r);
    m_needsRebuild = true;
}

TColorRule &TDrawRules::Add()
{
    m_items.append(TColorRule());
    return m_items.last();
}

void TDrawRules::Clear()
{
    m_items.clear();
    m_needsRebuild = true;
}

void TDrawRules::RebuildIfNeeded()
{
    if (!m_needsRebuild)
        return;
    bool any = false;
    for (TColorRule &r : m_items) {
        r.Rebuild();
        any = any || r.HasEntries();
    }
    if (any)
        m_needsRebuild = false;
}
