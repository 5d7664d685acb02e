#include "tags/tagassist.h"

#include "base/textaccess.h"
#include "tags/tagdefs.h"
#include "tags/taglookup.h"

#include <algorithm>

QString BoolYes() { return QStringLiteral("[tak]"); }
QString BoolNo() { return QStringLiteral("[nie]"); }

QStringList ParameterEntries(const TagDefs &defs, const QString &tag)
{
    QStringList out;
    for (const TagArg &arg : defs.argList(tag)) {
        QString entry = arg.name;
        if (arg.desc.kind != QLatin1String("bool")) {
            entry += QLatin1Char('=');
            if (arg.desc.quoted)
                entry += QStringLiteral("\"\"");
        }
        out << entry;
    }
    return out;
}

QString HintText(const TagDefs &defs, const QString &tag)
{
    const QString info = defs.info(tag);
    const QStringList args = defs.args(tag);
    if (args.isEmpty())
        return info;
    return tag.toUpper() + QStringLiteral(": ") + args.join(QStringLiteral(", ")) + QLatin1Char('\n') + info;
}

bool TagNeedsClosing(
    const TagDefs &defs, const QString &tag, const std::function<bool(const QString &)> &optionalChoice)
{
    switch (defs.ends(tag)) {
    case 0:
        return false;
    case 1:
        return true;
    default:
        return optionalChoice ? optionalChoice(tag) : true;
    }
}

QString EnterInsertion(int mode, bool shift, const QString &indent)
{
    const QString nl = QStringLiteral("\n");
    switch (mode) {
    case EntryListItems:
        return nl + indent + QStringLiteral("<LI>");
    case EntryTableCells:
        if (shift)
            return QStringLiteral("</TD>") + nl + indent + QStringLiteral("</TR><TR>") + nl + indent
                + QStringLiteral("<TD>");
        return QStringLiteral("</TD>") + nl + indent + QStringLiteral("<TD>");
    default:
        return nl + indent;
    }
}

QString LeadingIndent(const QString &lineUpToCaret)
{
    int i = 0;
    while (i < lineUpToCaret.size()
        && (lineUpToCaret.at(i) == QLatin1Char(' ') || lineUpToCaret.at(i) == QLatin1Char('\t')))
        ++i;
    return lineUpToCaret.left(i);
}

QString LineIndentBefore(const TextAccess &text, int pos)
{
    const int line = text.lineOf(pos);
    const int upTo = std::min(pos - text.lineStart(line), text.lineLength(line));
    // Read by stretches: the blanks end long before the caret of a long line does.
    QString indent;
    for (int off = 0; off < upTo;) {
        const QString part = text.lineMid(line, off, std::min(256, upTo - off));
        if (part.isEmpty())
            break;
        const QString blanks = LeadingIndent(part);
        indent += blanks;
        if (blanks.size() < part.size())
            break;
        off += int(part.size());
    }
    return indent;
}

int ParInserterPosition(const TextAccess &text, int caret)
{
    const int end = std::min(text.length(), caret + kTagSearchLimit);
    // From inside a value, its closing quote ends it rather than opening another.
    bool quoted = IsInsideQuotedValue(text, caret);
    for (int pos = caret; pos < end;) {
        // A stretch at a time, never a whole line.
        const QString part = text.mid(pos, std::min(4096, end - pos));
        if (part.isEmpty())
            break;
        for (const QChar c : part) {
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            else if (!quoted && (c == QLatin1Char(' ') || c == QLatin1Char('>')))
                return pos;
            ++pos;
        }
    }
    return -1;
}

QString LowerCaseArgNames(const QString &remainder)
{
    QString out = remainder;
    const int n = int(out.size());
    int i = 0;
    while (i < n) {
        // a name, up to "=" or a space
        while (i < n && out.at(i) != QLatin1Char('=') && out.at(i) != QLatin1Char(' ')) {
            out[i] = out.at(i).toLower();
            ++i;
        }
        if (i < n && out.at(i) == QLatin1Char('=')) {
            ++i;
            if (i < n && out.at(i) == QLatin1Char('"')) {
                ++i;
                while (i < n && out.at(i) != QLatin1Char('"'))
                    ++i;
                ++i; // the closing quote
            } else {
                while (i < n && out.at(i) != QLatin1Char(' '))
                    ++i;
            }
        }
        while (i < n && out.at(i) == QLatin1Char(' '))
            ++i;
    }
    return out;
}

QString RebuildTag(
    const QString &openingHint, const QList<ArgRow> &rows, const QString &remainder, bool lowerCase)
{
    QString tag = lowerCase ? openingHint.toLower() : openingHint;
    tag.chop(1);
    for (const ArgRow &row : rows) {
        const QString name = lowerCase ? row.name.toLower() : row.name.toUpper();
        if (row.kind == QLatin1String("bool")) {
            if (row.value == BoolYes())
                tag += QLatin1Char(' ') + name;
        } else if (!row.value.isEmpty()) {
            tag += QLatin1Char(' ') + name + QLatin1Char('=');
            if (row.quoted)
                tag += QLatin1Char('"') + row.value + QLatin1Char('"');
            else
                tag += row.value;
        }
    }
    if (!remainder.isEmpty())
        tag += QLatin1Char(' ') + (lowerCase ? LowerCaseArgNames(remainder) : remainder);
    tag += QLatin1Char('>');
    return tag;
}
