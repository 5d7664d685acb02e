#include "tags/tagrules.h"

#include "tags/tagdefs.h"

#include <QStringList>

namespace {

QSet<QString> setOf(const char *words)
{
    const QStringList list = QString::fromLatin1(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return QSet<QString>(list.begin(), list.end());
}

// Start tags that end an open element whose end tag was left out, by that element.
struct Ender
{
    const char *open;
    const char *enders;
};

const Ender kEnders[] = {
    { "li", "li" },
    { "dt", "dt dd" },
    { "dd", "dt dd" },
    { "p",
        "address article aside blockquote center details dialog dir div dl fieldset figcaption figure "
        "footer form h1 h2 h3 h4 h5 h6 header hgroup hr main menu nav ol p pre search section table ul" },
    { "rt", "rt rp" },
    { "rp", "rt rp" },
    { "optgroup", "optgroup hr" },
    { "option", "option optgroup hr" },
    { "colgroup", "colgroup caption thead tbody tfoot tr" },
    { "caption", "colgroup thead tbody tfoot tr" },
    { "thead", "tbody tfoot" },
    { "tbody", "tbody tfoot" },
    { "tfoot", "tbody" },
    { "tr", "tr thead tbody tfoot" },
    { "td", "td th tr thead tbody tfoot" },
    { "th", "td th tr thead tbody tfoot" },
    { "head", "body" },
};

bool isTagName(const QString &name) { return !name.isEmpty() && name.at(0).isLetter(); }

} // namespace

HtmlTagRules HtmlTagRules::standard()
{
    // Built once: a matcher is made for every move of the caret.
    static const HtmlTagRules rules = [] {
        HtmlTagRules r;
        r.m_void
            = setOf("area base basefont bgsound br col embed frame hr image img input isindex keygen link "
                    "meta nextid param source track wbr");
        r.m_optionalEnd
            = setOf("html head body li dt dd p rt rp optgroup option colgroup caption thead tbody "
                    "tfoot tr td th");
        // Raw and escapable raw text: everything up to the element's own end tag is text.
        r.m_rawText = setOf("script style textarea title xmp");
        for (const Ender &e : kEnders)
            r.m_enders.insert(QString::fromLatin1(e.open), setOf(e.enders));
        return r;
    }();
    return rules;
}

HtmlTagRules HtmlTagRules::withDefs(const TagDefs &defs)
{
    HtmlTagRules r = standard();
    for (const QString &tag : defs.tagNames()) {
        if (!isTagName(tag))
            continue;
        const int ends = defs.ends(tag);
        if (ends == 0)
            r.addVoid(tag);
        else if (ends != 1)
            r.addOptionalEnd(tag);
    }
    return r;
}

bool HtmlTagRules::startEnds(const QString &open, const QString &next) const
{
    const QString o = open.toLower();
    if (!m_optionalEnd.contains(o))
        return false;
    const auto it = m_enders.constFind(o);
    return it != m_enders.constEnd() && it->contains(next.toLower());
}
