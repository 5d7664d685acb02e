#include "editor/textaccess.h"

#include <QVector>
#include <algorithm>

QString TextAccess::mid(int pos, int n) const
{
    const int len = length();
    if (pos < 0) {
        n += pos;
        pos = 0;
    }
    if (n <= 0 || pos >= len)
        return QString();
    n = std::min(n, len - pos);
    QString out;
    out.reserve(n);
    int line = lineOf(pos);
    int at = pos;
    while (int(out.size()) < n && line < lineCount()) {
        const int start = lineStart(line);
        const QString text = lineText(line);
        const int from = at - start;
        out += QStringView(text).mid(from, std::min<int>(int(text.size()) - from, n - int(out.size())));
        if (int(out.size()) < n && line + 1 < lineCount())
            out += QLatin1Char('\n');
        at = lineStart(line + 1 < lineCount() ? line + 1 : line);
        ++line;
    }
    return out;
}

QChar TextAccess::at(int pos) const
{
    if (pos < 0 || pos >= length())
        return QChar();
    const int line = lineOf(pos);
    const QString text = lineText(line);
    const int off = pos - lineStart(line);
    return off < text.size() ? text.at(off) : QLatin1Char('\n');
}

StringTextAccess::StringTextAccess(const QString &text) : m_text(text)
{
    m_starts.append(0);
    for (int i = 0; i < text.size(); ++i)
        if (text.at(i) == QLatin1Char('\n'))
            m_starts.append(i + 1);
}

int StringTextAccess::lineOf(int pos) const
{
    auto it = std::upper_bound(m_starts.begin(), m_starts.end(), pos);
    return std::max(0, int(it - m_starts.begin()) - 1);
}

int StringTextAccess::lineStart(int line) const
{
    if (line < 0)
        return 0;
    if (line >= m_starts.size())
        return length();
    return m_starts[line];
}

QString StringTextAccess::lineText(int line) const
{
    if (line < 0 || line >= m_starts.size())
        return QString();
    const int start = m_starts[line];
    const int end = line + 1 < m_starts.size() ? m_starts[line + 1] - 1 : length();
    return m_text.mid(start, end - start);
}
