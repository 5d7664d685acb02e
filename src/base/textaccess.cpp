#include "base/textaccess.h"

#include <QVector>
#include <algorithm>

int TextAccess::lineLength(int line) const { return int(lineText(line).size()); }

QString TextAccess::lineMid(int line, int from, int n) const { return lineText(line).mid(from, n); }

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
        const int from = at - start;
        out += lineMid(line, from, std::min(lineLength(line) - from, n - int(out.size())));
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
    const int off = pos - lineStart(line);
    return off < lineLength(line) ? lineMid(line, off, 1).at(0) : QLatin1Char('\n');
}

StringTextAccess::StringTextAccess(const QString &text)
    : m_text(text)
{
    m_starts.append(0);
    // indexOf() scans with vector instructions: a 50 MB text is indexed in milliseconds.
    const QStringView view(text);
    for (qsizetype i = view.indexOf(QLatin1Char('\n')); i >= 0; i = view.indexOf(QLatin1Char('\n'), i + 1))
        m_starts.append(int(i + 1));
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

QString StringTextAccess::lineText(int line) const { return lineMid(line, 0, lineLength(line)); }

int StringTextAccess::lineLength(int line) const
{
    if (line < 0 || line >= m_starts.size())
        return 0;
    const int end = line + 1 < m_starts.size() ? m_starts[line + 1] - 1 : length();
    return end - m_starts[line];
}

QString StringTextAccess::lineMid(int line, int from, int n) const
{
    const int len = lineLength(line);
    from = std::clamp(from, 0, len);
    n = std::clamp(n, 0, len - from);
    return n > 0 ? m_text.mid(m_starts[line] + from, n) : QString();
}
