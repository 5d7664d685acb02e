#include "tags/tagassist.h"

#include "base/textaccess.h"
#include "tags/tagdefs.h"
#include "tags/taglookup.h"
#include "tags/tagmatch.h"

#include <algorithm>

QString BoolYes() { return QStringLiteral("[tak]"); }
QString BoolNo() { return QStringLiteral("[nie]"); }

QStringList ParameterEntries(const TagDefs &defs, const QString &tag)
{
    QStringList out;
    for (const TagArg &arg : defs.offeredArgs(tag)) {
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

bool IsLowerCaseName(const QString &name)
{
    bool letter = false;
    for (const QChar c : name) {
        if (c.isUpper())
            return false;
        letter = letter || c.isLower();
    }
    return letter;
}

QString InTagCase(const QString &text, const QString &tagName)
{
    return IsLowerCaseName(tagName) ? text.toLower() : text.toUpper();
}

namespace {

constexpr int kOpaqueReach = 16 * 1024;

} // namespace

QString ClosingForGreater(const TagDefs &defs, const TextAccess &text, int gt,
    const std::function<bool(const QString &)> &optionalChoice)
{
    const QString name = EnclosingTagName(text, gt);
    if (name.isEmpty() || (gt > 0 && text.at(gt - 1) == QLatin1Char('/')))
        return QString();
    if (!TagNeedsClosing(defs, name, optionalChoice))
        return QString();
    // Only now, for the tags that would be closed: in a comment or a script nothing is.
    // Looked for in the stretch before the tag (a comment or script opened farther back
    // counts as closed).
    const TagRange tag = FindTagAround(text, gt + 1, false);
    if (tag.isValid() && TagMatcher(text, HtmlTagRules::standard(), 4 * kOpaqueReach).inOpaqueText(tag.start))
        return QString();
    return QStringLiteral("</") + name + QLatin1Char('>');
}

namespace {

bool isAttributeNameChar(QChar c)
{
    return !(c.isSpace() || c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('"')
        || c == QLatin1Char('\'') || c == QLatin1Char('=') || c == QLatin1Char('/'));
}

} // namespace

QString AttributeNameBefore(const TextAccess &text, int pos)
{
    constexpr int kLongestName = 128;
    const QString before = text.mid(std::max(0, pos - kLongestName), std::min(pos, kLongestName));
    int i = int(before.size());
    while (i > 0 && isAttributeNameChar(before.at(i - 1)))
        --i;
    if (i == int(before.size()) || (i == 0 && pos > kLongestName))
        return QString();
    // A name follows white space; right after "<" it is the tag's own name.
    if (i == 0 || !before.at(i - 1).isSpace())
        return QString();
    return before.mid(i);
}

QStringList ValueEntries(const TagDefs &defs, const QString &tag, const QString &arg)
{
    return defs.argDescriptor(tag, arg).choices();
}

QString TypedValuePrefix(const TextAccess &text, int valueFrom, int caret)
{
    QString typed = text.mid(valueFrom, std::clamp(caret - valueFrom, 0, 256));
    if (typed.startsWith(QLatin1Char('"')))
        typed.remove(0, 1);
    return typed;
}

ValueEdit ValueInsertion(const TextAccess &text, int valueFrom, int caret, const QString &value, bool quoted)
{
    ValueEdit edit;
    edit.start = valueFrom;
    edit.length = std::max(0, caret - valueFrom);
    const bool openedQuote = edit.length > 0 && text.at(valueFrom) == QLatin1Char('"');
    if (quoted || openedQuote) {
        edit.text = QLatin1Char('"') + value + QLatin1Char('"');
        if (openedQuote && text.at(caret) == QLatin1Char('"'))
            ++edit.length;
    } else {
        edit.text = value;
    }
    edit.caret = edit.start + int(edit.text.size());
    return edit;
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
        const QString name = lowerCase ? row.name.toLower() : row.keepCase ? row.name : row.name.toUpper();
        if (row.kind == QLatin1String("bool")) {
            if (row.value == BoolYes())
                tag += QLatin1Char(' ') + name;
        } else if (!row.value.isEmpty()) {
            tag += QLatin1Char(' ') + name + QLatin1Char('=');
            if (row.quoted)
                tag += QLatin1Char('"') + row.value + QLatin1Char('"');
            else
                tag += row.value;
        } else if (row.bare) {
            tag += QLatin1Char(' ') + name;
        }
    }
    if (!remainder.isEmpty())
        tag += QLatin1Char(' ') + (lowerCase ? LowerCaseArgNames(remainder) : remainder);
    tag += QLatin1Char('>');
    return tag;
}
