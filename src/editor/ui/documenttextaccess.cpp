#include "editor/ui/documenttextaccess.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace {

constexpr int kWholeLineLimit = 16 * 1024;

} // namespace

int DocumentTextAccess::length() const { return m_doc->characterCount() - 1; }

int DocumentTextAccess::lineCount() const { return m_doc->blockCount(); }

int DocumentTextAccess::lineOf(int pos) const { return m_doc->findBlock(pos).blockNumber(); }

int DocumentTextAccess::lineStart(int line) const
{
    if (line >= m_doc->blockCount())
        return length();
    return m_doc->findBlockByNumber(line).position();
}

QString DocumentTextAccess::lineText(int line) const { return m_doc->findBlockByNumber(line).text(); }

int DocumentTextAccess::lineLength(int line) const
{
    const QTextBlock b = m_doc->findBlockByNumber(line);
    return b.isValid() ? b.length() - 1 : 0;
}

QString DocumentTextAccess::lineMid(int line, int from, int n) const
{
    const QTextBlock b = m_doc->findBlockByNumber(line);
    if (!b.isValid())
        return QString();
    const int len = b.length() - 1;
    from = std::clamp(from, 0, len);
    n = std::clamp(n, 0, len - from);
    if (n == 0)
        return QString();
    if (len <= LongLine)
        return b.text().mid(from, n);
    return DocumentMid(m_doc, b.position() + from, n);
}

QString DocumentTextAccess::mid(int pos, int n) const
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
    QTextBlock b = m_doc->findBlock(pos);
    int from = pos - b.position();
    while (b.isValid() && int(out.size()) < n) {
        const int lineLength = b.length() - 1;
        const int take = std::min(lineLength - from, n - int(out.size()));
        if (take > 0)
            out += lineLength <= kWholeLineLimit ? b.text().mid(from, take)
                                                 : DocumentMid(m_doc, b.position() + from, take);
        if (int(out.size()) < n)
            out += QLatin1Char('\n');
        b = b.next();
        from = 0;
    }
    return out;
}

QString DocumentMid(const QTextDocument *doc, int from, int n)
{
    QString out;
    if (n <= 0)
        return out;
    out.resize(n);
    QChar *p = out.data();
    for (int i = 0; i < n; ++i) {
        const QChar c = doc->characterAt(from + i);
        p[i] = c == QChar::ParagraphSeparator ? QChar(QLatin1Char('\n')) : c;
    }
    return out;
}
