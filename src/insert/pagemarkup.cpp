#include "insert/pagemarkup.h"

#include "insert/markupwriter.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>

#define S(x) QStringLiteral(x)

namespace {

bool isHex(QStringView t)
{
    for (QChar c : t)
        if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
            return false;
    return true;
}

// Attribute lines of the head and body are set one a line.
void addLine(QString &out, const QString &line)
{
    if (!line.isEmpty())
        out += line + QLatin1Char('\n');
}

} // namespace

const QStringList &HtmlColourNames()
{
    static const QStringList names
        = { S("black"), S("silver"), S("gray"), S("white"), S("maroon"), S("red"), S("purple"), S("fuchsia"),
              S("green"), S("lime"), S("olive"), S("yellow"), S("navy"), S("blue"), S("teal"), S("aqua") };
    return names;
}

std::optional<QString> NormalizeColour(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.isEmpty())
        return QString();
    const QStringView digits = t.startsWith(u'#') ? t.mid(1) : t;
    if (isHex(digits) && (digits.size() == 6 || (digits.size() == 3 && t.startsWith(u'#')))) {
        QString rgb;
        for (QChar c : digits)
            rgb += digits.size() == 3 ? QString(2, c) : QString(c);
        return QLatin1Char('#') + rgb.toUpper();
    }
    const QString lower = t.toString().toLower();
    if (HtmlColourNames().contains(lower))
        return lower;
    return std::nullopt;
}

bool BodyFields::operator==(const BodyFields &o) const
{
    return text == o.text && background == o.background && link == o.link && visited == o.visited
        && active == o.active && picture == o.picture && marginH == o.marginH && marginV == o.marginV;
}

ResolvedInsertion BuildBody(const BodyFields &f)
{
    TagWriter body(u"BODY");
    body.attr(u"TEXT", f.text)
        .attr(u"BGCOLOR", f.background)
        .attr(u"LINK", f.link)
        .attr(u"VLINK", f.visited)
        .attr(u"ALINK", f.active)
        .attr(u"BACKGROUND", f.picture)
        // Browsers read one pair or the other: both are written.
        .number(u"LEFTMARGIN", f.marginH)
        .number(u"MARGINWIDTH", f.marginH)
        .number(u"TOPMARGIN", f.marginV)
        .number(u"MARGINHEIGHT", f.marginV);
    return { InsertMode::Block, body.text() + QLatin1Char('\n'), S("</BODY>") };
}

bool HeadFields::operator==(const HeadFields &o) const
{
    return title == o.title && description == o.description && keywords == o.keywords && author == o.author
        && styleSheet == o.styleSheet && charset == o.charset;
}

QString CharsetDeclaration(bool iso)
{
    return S("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=")
        + (iso ? S("iso-8859-2") : S("windows-1250")) + S("\">");
}

ResolvedInsertion BuildHead(const HeadFields &f, bool isoCharset)
{
    QString out = S("<HEAD>\n");
    if (f.charset)
        addLine(out, CharsetDeclaration(isoCharset));
    if (!f.title.trimmed().isEmpty())
        addLine(out, S("<TITLE>") + EscapeText(f.title.trimmed()) + S("</TITLE>"));
    const auto meta = [](QStringView name, const QString &content) {
        if (content.trimmed().isEmpty())
            return QString();
        return TagWriter(u"META").attr(u"NAME", name).attr(u"CONTENT", content).text();
    };
    addLine(out, meta(u"description", f.description));
    addLine(out, meta(u"keywords", JoinKeywords(SplitKeywords(f.keywords))));
    addLine(out, meta(u"author", f.author));
    if (!f.styleSheet.trimmed().isEmpty())
        addLine(out,
            TagWriter(u"LINK")
                .attr(u"REL", u"Stylesheet")
                .attr(u"TYPE", u"text/css")
                .attr(u"HREF", f.styleSheet)
                .text());
    return { InsertMode::Block, out, S("</HEAD>") };
}

QStringList ParseKeywordList(const QString &text)
{
    QStringList words;
    for (const QStringView line : QStringView(text).split(u'\n')) {
        const QStringView word = line.trimmed();
        if (!word.isEmpty() && !word.startsWith(u';') && !word.startsWith(u'#'))
            words << word.toString();
    }
    return words;
}

QStringList ReadKeywordList(const QString &path, bool *ok)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = false;
        return {};
    }
    if (ok)
        *ok = true;
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        // A copy edited in an old Windows editor.
        QStringDecoder cp("windows-1250");
        text = cp.isValid() ? cp.decode(bytes) : QString::fromLatin1(bytes);
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return ParseKeywordList(text);
}

QStringList SplitKeywords(QStringView text)
{
    QStringList words;
    for (const QStringView part : text.split(u','))
        if (!part.trimmed().isEmpty())
            words << part.trimmed().toString();
    return words;
}

QString JoinKeywords(const QStringList &words)
{
    QStringList kept;
    QSet<QString> seen;
    for (const QString &w : words) {
        const QString word = w.trimmed();
        if (word.isEmpty() || seen.contains(word.toLower()))
            continue;
        seen.insert(word.toLower());
        kept << word;
    }
    return kept.join(S(", "));
}

bool MetaFields::operator==(const MetaFields &o) const
{
    return kind == o.kind && name == o.name && content == o.content;
}

ResolvedInsertion BuildMeta(const MetaFields &f)
{
    TagWriter meta(u"META");
    meta.attr(f.kind == MetaKind::HttpEquiv ? u"HTTP-EQUIV" : u"NAME", f.name)
        .attrKept(u"CONTENT", f.content);
    return { InsertMode::Pair, meta.text(), QString() };
}

QStringList MetaNames(MetaKind kind)
{
    if (kind == MetaKind::HttpEquiv)
        return { S("Refresh"), S("Content-Language"), S("Content-Type"), S("Content-Style-Type"),
            S("Content-Script-Type"), S("Expires"), S("Pragma"), S("Cache-Control"), S("Default-Style"),
            S("X-UA-Compatible") };
    return { S("description"), S("keywords"), S("author"), S("robots"), S("viewport"), S("generator"),
        S("copyright"), S("revisit-after"), S("rating"), S("theme-color") };
}

QStringList MetaValueSuggestions(QStringView name)
{
    const QString n = name.trimmed().toString().toLower();
    const struct
    {
        const char *name;
        QStringList values;
    } table[] = {
        { "refresh", { S("5"), S("5; URL=index.html"), S("0; URL=http://") } },
        { "content-language", { S("pl"), S("pl, en"), S("en") } },
        { "content-type",
            { S("text/html; charset=iso-8859-2"), S("text/html; charset=windows-1250"),
                S("text/html; charset=utf-8") } },
        { "content-style-type", { S("text/css") } },
        { "content-script-type", { S("text/javascript") } },
        { "expires", { S("0"), S("Thu, 01 Jan 1970 00:00:00 GMT") } },
        { "pragma", { S("no-cache") } },
        { "cache-control", { S("no-cache"), S("no-store"), S("max-age=3600") } },
        { "x-ua-compatible", { S("IE=edge") } },
        { "robots",
            { S("index, follow"), S("noindex, nofollow"), S("index, nofollow"), S("noindex, follow") } },
        { "viewport", { S("width=device-width, initial-scale=1") } },
        { "generator", { S("Markora") } },
        { "revisit-after", { S("7 days"), S("30 days") } },
        { "rating", { S("general") } },
    };
    for (const auto &row : table)
        if (n == QLatin1String(row.name))
            return row.values;
    return {};
}
