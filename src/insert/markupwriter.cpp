#include "insert/markupwriter.h"

namespace {

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isHexDigit(QChar c) { return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// Whether text at i ('&') begins "&name;", "&#123;" or "&#x1F;".
bool startsReference(QStringView text, qsizetype i)
{
    qsizetype j = i + 1;
    qsizetype digits = 0;
    if (j < text.size() && text[j] == u'#') {
        ++j;
        const bool hex = j < text.size() && (text[j] == u'x' || text[j] == u'X');
        if (hex)
            ++j;
        for (; j < text.size() && (hex ? isHexDigit(text[j]) : isDigit(text[j])); ++j)
            ++digits;
    } else if (j < text.size() && isAsciiLetter(text[j])) {
        for (; j < text.size() && (isAsciiLetter(text[j]) || isDigit(text[j])); ++j)
            ++digits;
    }
    return digits > 0 && j < text.size() && text[j] == u';';
}

QString escape(QStringView text, bool attribute)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'&' && !startsReference(text, i))
            out += QStringLiteral("&amp;");
        else if (c == u'<')
            out += QStringLiteral("&lt;");
        else if (c == u'>')
            out += QStringLiteral("&gt;");
        else if (attribute && c == u'"')
            out += QStringLiteral("&quot;");
        else if (attribute && (c == u'\n' || c == u'\r' || c == u'\t'))
            out += QLatin1Char(' ');
        else
            out += c;
    }
    return out;
}

} // namespace

QString EscapeAttribute(QStringView value) { return escape(value, true); }

QString EscapeText(QStringView text) { return escape(text, false); }

TagWriter::TagWriter(QStringView name)
    : m_text(QLatin1Char('<') + name.toString())
{
}

TagWriter &TagWriter::attr(QStringView name, QStringView value)
{
    if (!value.trimmed().isEmpty())
        attrKept(name, value);
    return *this;
}

TagWriter &TagWriter::attrKept(QStringView name, QStringView value)
{
    m_text += QLatin1Char(' ') + name.toString() + QStringLiteral("=\"") + EscapeAttribute(value.trimmed())
        + QLatin1Char('"');
    return *this;
}

TagWriter &TagWriter::number(QStringView name, int value)
{
    if (value >= 0)
        attrKept(name, QString::number(value));
    return *this;
}

TagWriter &TagWriter::flag(QStringView name, bool on)
{
    if (on)
        m_text += QLatin1Char(' ') + name.toString();
    return *this;
}
