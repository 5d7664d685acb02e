#include "tags/tagparser.h"

namespace {

// Reads a token: skips every character of delims, then takes characters up to the
// next one of delims (which is left unread).
QString readToken(QStringView s, int &pos, QStringView delims)
{
    const int n = int(s.size());
    while (pos < n && delims.contains(s.at(pos)))
        ++pos;
    const int start = pos;
    while (pos < n && !delims.contains(s.at(pos)))
        ++pos;
    return s.mid(start, pos - start).toString();
}

void skip(QStringView s, int &pos, QStringView chars)
{
    while (pos < int(s.size()) && chars.contains(s.at(pos)))
        ++pos;
}

} // namespace

int TagText::indexOf(const QString &upperName) const
{
    for (int i = 0; i < Args.size(); ++i)
        if (Args.at(i).first == upperName)
            return i;
    return -1;
}

bool IsLoneQuoteArg(const QString &name) { return name == QLatin1String("\""); }

QString FlattenTagText(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return text;
}

TagText ParseTag(QStringView text)
{
    static const QString nameDelims = QStringLiteral(" -");
    static const QString firstArgDelims = QStringLiteral(" \"=");
    static const QString argDelims = QStringLiteral(" =");
    static const QString spaces = QStringLiteral(" ");
    static const QString spacesAndEq = QStringLiteral(" =");
    static const QString quote = QStringLiteral("\"");

    TagText tag;
    if (text.size() < 2)
        return tag;
    const QStringView s = text.mid(1, text.size() - 2);
    const int n = int(s.size());
    int pos = 0;

    tag.Name = readToken(s, pos, nameDelims);
    if (tag.Name.startsWith(QLatin1Char('/'))) {
        tag.Closing = true;
        tag.Name.remove(0, 1);
    }

    QString name = readToken(s, pos, firstArgDelims);
    while (!name.isEmpty()) {
        TArgVal v;
        skip(s, pos, spaces);
        if (pos < n && s.at(pos) == QLatin1Char('=')) {
            skip(s, pos, spacesAndEq);
            if (pos < n && s.at(pos) == QLatin1Char('"')) {
                if (pos + 1 < n && s.at(pos + 1) == QLatin1Char('"'))
                    ++pos; // name="": empty value, the closing quote is next
                else
                    v.Value = readToken(s, pos, quote);
                v.Quoted = true;
            } else {
                v.Value = readToken(s, pos, spaces);
            }
        } else {
            v.NoValue = true;
        }
        v.Written = name;
        tag.Args.append(qMakePair(name.toUpper(), v));
        name = readToken(s, pos, argDelims);
    }
    return tag;
}

QString RemainderText(const QList<QPair<QString, TArgVal>> &args)
{
    QStringList parts;
    for (const auto &a : args) {
        if (IsLoneQuoteArg(a.first))
            continue;
        if (a.second.NoValue)
            parts << a.first;
        else if (a.second.Quoted)
            parts << a.first + QStringLiteral("=\"") + a.second.Value + QLatin1Char('"');
        else
            parts << a.first + QLatin1Char('=') + a.second.Value;
    }
    return parts.join(QLatin1Char(' '));
}
