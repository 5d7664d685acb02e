#include "textstats.h"

#include <QString>

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber(); }

// Length of the entity reference at i ("&name;" or "&#...;"), 0 when there is none.
qsizetype entityLength(QStringView s, qsizetype i)
{
    qsizetype j = i + 1;
    if (j < s.size() && s[j] == QLatin1Char('#'))
        ++j;
    const qsizetype start = j;
    while (j < s.size() && j - start < 32 && s[j].isLetterOrNumber())
        ++j;
    return j > start && j < s.size() && s[j] == QLatin1Char(';') ? j + 1 - i : 0;
}

// Index just past the ">" that ends the tag opened at i; quoted values may hold ">".
qsizetype tagEnd(QStringView s, qsizetype i)
{
    QChar quote;
    for (qsizetype j = i + 1; j < s.size(); ++j) {
        const QChar c = s[j];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if (c == QLatin1Char('>')) {
            return j + 1;
        }
    }
    return s.size();
}

qsizetype findFrom(QStringView s, qsizetype from, QStringView what)
{
    const qsizetype at = s.indexOf(what, from, Qt::CaseInsensitive);
    return at < 0 ? s.size() : at;
}

} // namespace

TextStats countText(QStringView s)
{
    TextStats stats;
    stats.characters = int(s.size());
    bool inWord = false;
    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (c == QLatin1Char('<')) {
            const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
            const QChar after = i + 2 < s.size() ? s[i + 2] : QChar();
            if (s.mid(i).startsWith(u"<!--")) {
                ++stats.comments;
                const qsizetype close = findFrom(s, i + 4, u"-->");
                i = std::min(s.size(), close + 3);
                inWord = false;
                continue;
            }
            if (next == QLatin1Char('!') || next == QLatin1Char('?')) {
                i = tagEnd(s, i);
                inWord = false;
                continue;
            }
            if (next.isLetter() || (next == QLatin1Char('/') && after.isLetter())) {
                ++stats.tags;
                const qsizetype nameStart = next == QLatin1Char('/') ? i + 2 : i + 1;
                qsizetype nameEnd = nameStart;
                while (nameEnd < s.size() && s[nameEnd].isLetterOrNumber())
                    ++nameEnd;
                const QStringView name = s.mid(nameStart, nameEnd - nameStart);
                i = tagEnd(s, i);
                inWord = false;
                // Script and style bodies are code, not words; their closing tag is counted next round.
                if (next != QLatin1Char('/')
                    && (name.compare(u"script", Qt::CaseInsensitive) == 0
                        || name.compare(u"style", Qt::CaseInsensitive) == 0)) {
                    const QString closing = QStringLiteral("</") + name.toString();
                    i = findFrom(s, i, closing);
                }
                continue;
            }
        }
        if (c == QLatin1Char('&')) {
            if (const qsizetype n = entityLength(s, i)) {
                if (!inWord)
                    ++stats.words;
                inWord = true;
                i += n;
                continue;
            }
        }
        if (isWordChar(c)) {
            if (!inWord)
                ++stats.words;
            inWord = true;
        } else {
            inWord = false;
        }
        ++i;
    }
    return stats;
}
