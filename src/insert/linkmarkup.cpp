#include "insert/linkmarkup.h"

#include "insert/markupwriter.h"

#include <QUrl>

#define S(x) QStringLiteral(x)

bool LinkFields::operator==(const LinkFields &o) const
{
    return kind == o.kind && address == o.address && text == o.text && title == o.title && target == o.target;
}

QString LinkHref(LinkKind kind, QStringView address)
{
    const QStringView a = address.trimmed();
    switch (kind) {
    case LinkKind::Mail:
        if (a.startsWith(u"mailto:", Qt::CaseInsensitive))
            return a.toString();
        return S("mailto:") + a.toString();
    case LinkKind::Anchor: {
        const QStringView name = a.startsWith(u'#') ? a.mid(1) : a;
        // What a fragment may hold as it is; "%" stays, a name may be encoded already.
        return QLatin1Char('#')
            + QString::fromLatin1(QUrl::toPercentEncoding(name.toString(), "!$&'()*+,;=:@/?%"));
    }
    case LinkKind::Address:
        break;
    }
    return a.toString();
}

ResolvedInsertion BuildLink(const LinkFields &f)
{
    TagWriter a(u"A");
    a.attr(u"HREF", LinkHref(f.kind, f.address)).attr(u"TITLE", f.title).attr(u"TARGET", f.target);
    return { InsertMode::Pair, a.text() + EscapeText(f.text), S("</A>") };
}

QStringList LinkTargets() { return { QString(), S("_blank"), S("_self"), S("_parent"), S("_top") }; }

bool ImageFields::operator==(const ImageFields &o) const
{
    return source == o.source && alt == o.alt && decorative == o.decorative && width == o.width
        && height == o.height && border == o.border && align == o.align;
}

ResolvedInsertion BuildImage(const ImageFields &f)
{
    TagWriter img(u"IMG");
    img.attr(u"SRC", f.source);
    if (f.decorative)
        img.attrKept(u"ALT", QString());
    else
        img.attr(u"ALT", f.alt);
    img.number(u"WIDTH", f.width)
        .number(u"HEIGHT", f.height)
        .number(u"BORDER", f.border)
        .attr(u"ALIGN", f.align);
    return { InsertMode::Pair, img.text(), QString() };
}

QStringList ImageAlignments()
{
    return { QString(), S("Left"), S("Right"), S("Top"), S("Middle"), S("Bottom") };
}
