#include "insert/scriptmarkup.h"

#include "insert/markupwriter.h"

#include <QLocale>

#define S(x) QStringLiteral(x)

bool ScriptFields::operator==(const ScriptFields &o) const
{
    return fromFile == o.fromFile && file == o.file && type == o.type && defer == o.defer && async == o.async
        && hideInComment == o.hideInComment;
}

ResolvedInsertion BuildScript(const ScriptFields &f)
{
    TagWriter script(u"SCRIPT");
    script.attr(u"TYPE", f.type);
    if (f.fromFile) {
        script.attr(u"SRC", f.file).flag(u"DEFER", f.defer).flag(u"ASYNC", f.async);
        return { InsertMode::Block, script.text(), S("</SCRIPT>") };
    }
    if (f.hideInComment)
        return { InsertMode::Block, script.text() + S("\n<!--\n"), S("//-->\n</SCRIPT>") };
    return { InsertMode::Block, script.text() + QLatin1Char('\n'), S("</SCRIPT>") };
}

QStringList ScriptTypes() { return { S("text/javascript"), S("module"), S("text/vbscript"), QString() }; }

bool StyleFields::operator==(const StyleFields &o) const
{
    return fromFile == o.fromFile && file == o.file && media == o.media && selector == o.selector
        && font == o.font && size == o.size && colour == o.colour && background == o.background
        && align == o.align;
}

QString CssValue(QStringView text)
{
    QString out;
    for (QChar c : text)
        if (c != u'{' && c != u'}' && c != u';' && c != u'<' && c != u'>' && c != u'\n' && c != u'\r')
            out += c;
    return out.trimmed();
}

ResolvedInsertion BuildStyle(const StyleFields &f)
{
    if (f.fromFile) {
        TagWriter link(u"LINK");
        link.attr(u"REL", u"Stylesheet")
            .attr(u"TYPE", u"text/css")
            .attr(u"HREF", f.file)
            .attr(u"MEDIA", f.media);
        return { InsertMode::Pair, link.text(), QString() };
    }
    QString rule = CssValue(f.selector) + S(" {\n");
    const struct
    {
        const char *property;
        const QString &value;
    } properties[] = { { "font-family", f.font }, { "font-size", f.size }, { "color", f.colour },
        { "background-color", f.background }, { "text-align", f.align } };
    for (const auto &p : properties) {
        const QString value = CssValue(p.value);
        if (!value.isEmpty())
            rule += S("  ") + QLatin1String(p.property) + S(": ") + value + S(";\n");
    }
    rule += S("}\n");
    return { InsertMode::Block, S("<STYLE TYPE=\"text/css\">\n") + rule, S("</STYLE>") };
}

namespace {

// Polish names written by the program itself: a locale's own may differ from machine to
// machine, and the genitive of the months is what a date needs.
const char *const kMonthsGenitive[12] = { "stycznia", "lutego", "marca", "kwietnia", "maja", "czerwca",
    "lipca", "sierpnia", "września", "października", "listopada", "grudnia" };
const char *const kMonths[12] = { "styczeń", "luty", "marzec", "kwiecień", "maj", "czerwiec", "lipiec",
    "sierpień", "wrzesień", "październik", "listopad", "grudzień" };
const char *const kDays[7]
    = { "poniedziałek", "wtorek", "środa", "czwartek", "piątek", "sobota", "niedziela" };

QString capitalised(const QString &s) { return s.left(1).toUpper() + s.mid(1); }

} // namespace

QStringList DateTexts(const QDateTime &moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    const QString day = QString::fromUtf8(kDays[d.dayOfWeek() - 1]);
    const QString month = QString::fromUtf8(kMonths[d.month() - 1]);
    const QString dayMonthYear = QString::number(d.day()) + QLatin1Char(' ')
        + QString::fromUtf8(kMonthsGenitive[d.month() - 1]) + QLatin1Char(' ') + QString::number(d.year());
    const QString hm = t.toString(S("HH:mm"));
    const QLocale c = QLocale::c();
    return {
        d.toString(S("dd.MM.yyyy")),
        dayMonthYear,
        dayMonthYear + S(" r."),
        day + S(", ") + dayMonthYear,
        capitalised(day) + S(", ") + dayMonthYear + S(" r., godz. ") + hm,
        capitalised(month) + QLatin1Char(' ') + QString::number(d.year()),
        d.toString(S("yyyy-MM-dd")),
        d.toString(S("dd.MM.yyyy")) + S(", ") + hm,
        hm,
        t.toString(S("HH:mm:ss")),
        // Written with its offset, whichever kind of time the moment is.
        moment.toOffsetFromUtc(moment.offsetFromUtc()).toString(Qt::ISODate),
        c.toString(moment.toUTC(), S("ddd, dd MMM yyyy HH:mm:ss")) + S(" GMT"),
    };
}
