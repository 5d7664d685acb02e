#include "tags/taglookup.h"

#include "base/textaccess.h"

#include <algorithm>

namespace {

// Sequential character access that reads a line a stretch at a time: a line of many
// megabytes costs only the characters the walk passes.
class LineCursor
{
public:
    explicit LineCursor(const TextAccess &text)
        : m_text(text)
        , m_length(text.length())
    {
    }

    int length() const { return m_length; }

    // The character at pos, '\n' at a line's end, a null QChar outside the text.
    QChar at(int pos)
    {
        if (pos < 0 || pos >= m_length)
            return QChar();
        if (m_line < 0 || pos < m_start || pos > m_start + m_lineLength) {
            if (m_line > 0 && pos == m_start - 1)
                load(m_line - 1);
            else if (m_line >= 0 && pos == m_start + m_lineLength + 1)
                load(m_line + 1);
            else
                load(m_text.lineOf(pos));
        }
        const int off = pos - m_start;
        if (off >= m_lineLength)
            return QLatin1Char('\n');
        if (off < m_stretchFrom || off >= m_stretchFrom + int(m_stretch.size()))
            read(off);
        return m_stretch.at(off - m_stretchFrom);
    }

private:
    static constexpr int kStretch = 4096;

    void load(int line)
    {
        m_line = line;
        m_start = m_text.lineStart(line);
        m_lineLength = m_text.lineLength(line);
        m_stretch.clear();
        m_stretchFrom = 0;
    }

    // The stretch holding off, reaching on in the direction the walk goes.
    void read(int off)
    {
        int from;
        if (m_stretch.isEmpty())
            from = off - kStretch / 2;
        else if (off < m_stretchFrom)
            from = off - kStretch + 1;
        else
            from = off;
        from = std::clamp(from, 0, std::max(0, m_lineLength - kStretch));
        m_stretch = m_text.lineMid(m_line, from, kStretch);
        m_stretchFrom = from;
    }

    const TextAccess &m_text;
    const int m_length;
    int m_line = -1;
    int m_start = 0;
    int m_lineLength = 0;
    int m_stretchFrom = 0;
    QString m_stretch;
};

// Position of the "<" before pos (searching from pos - 1 down), or -1. With
// endMayTouch a ">" right before pos is taken as the end of the tag being looked for,
// so a caret just after a tag finds that tag.
int findOpeningBefore(LineCursor &cur, int pos, bool allowInside, bool endMayTouch)
{
    const int from = std::min(pos, cur.length()) - 1;
    const int stop = std::max(0, pos - kTagSearchLimit);
    for (int i = from; i >= stop; --i) {
        const QChar c = cur.at(i);
        if (c == QLatin1Char('<'))
            return i;
        if (c == QLatin1Char('>') && !allowInside && !(endMayTouch && i == from))
            return -1;
    }
    return -1;
}

bool isNameDelimiter(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('-') || c == QLatin1Char('<') || c == QLatin1Char('>')
        || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString nameFrom(LineCursor &cur, int lt)
{
    const int stop = std::min(cur.length(), lt + kTagSearchLimit);
    int i = lt;
    while (i < stop && isNameDelimiter(cur.at(i)))
        ++i;
    QString name;
    for (; i < stop; ++i) {
        const QChar c = cur.at(i);
        if (isNameDelimiter(c))
            break;
        name += c;
    }
    return name;
}

} // namespace

TagRange FindTagAround(const TextAccess &text, int caret, bool allowInside)
{
    LineCursor cur(text);
    const int lt = findOpeningBefore(cur, caret, allowInside, true);
    if (lt < 0)
        return {};
    const int stop = std::min(cur.length(), lt + kTagSearchLimit);
    for (int i = lt + 1; i < stop; ++i)
        if (cur.at(i) == QLatin1Char('>'))
            return { lt, i - lt + 1 };
    return {};
}

QString GetTagAtCaret(const TextAccess &text, int caret, bool allowInside, TagRange *found)
{
    const TagRange r = FindTagAround(text, caret, allowInside);
    if (found)
        *found = r;
    return r.isValid() ? text.mid(r.start, r.length) : QString();
}

QString GetTagNameAt(const TextAccess &text, bool allowInside, int position)
{
    LineCursor cur(text);
    const int lt = findOpeningBefore(cur, position, allowInside, true);
    return lt < 0 ? QString() : nameFrom(cur, lt);
}

QString EnclosingTagName(const TextAccess &text, int pos)
{
    LineCursor cur(text);
    const int lt = findOpeningBefore(cur, pos, false, false);
    return lt < 0 ? QString() : nameFrom(cur, lt);
}

bool IsInsideQuotedValue(const TextAccess &text, int pos)
{
    LineCursor cur(text);
    const int lt = findOpeningBefore(cur, pos, false, false);
    if (lt < 0)
        return false;
    bool inside = false;
    for (int i = lt + 1; i < pos; ++i)
        if (cur.at(i) == QLatin1Char('"'))
            inside = !inside;
    return inside;
}
