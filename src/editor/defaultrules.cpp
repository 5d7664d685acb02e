#include "editor/defaultrules.h"

#include "base/inifile.h"

TDrawRules BuildDefaultColorRules(const IniFile &tags)
{
    TDrawRules rules;

    TColorRule &angle = rules.Add();
    angle.setKeyBegEndLst({ QStringLiteral("<;>;Navy") });

    TColorRule &quoted = rules.Add();
    quoted.setZOrder(200);
    quoted.setKeyBegEndLst({ QStringLiteral("\";\";Navy") });

    TColorRule &entity = rules.Add();
    entity.setKeyDrawingType(dtKeyShow);
    entity.setPartWord(true);
    entity.setKeywords({ QStringLiteral("&;Lime") });

    TColorRule &style = rules.Add();
    style.setZOrder(205);
    style.setKeyBegEndLst({ QStringLiteral("{;};Fuchsia") });

    TColorRule &script = rules.Add();
    script.setKeyDrawingType(dtKeyShow);
    script.setDefKeyColor(128);
    script.setKeyCase(false);
    script.setZOrder(201);
    script.setKeywords({ QStringLiteral("function"), QStringLiteral("="), QStringLiteral("var"),
        QStringLiteral("if"), QStringLiteral("else"), QStringLiteral("new") });

    const QStringList sections = tags.sections();
    for (const QString &name : sections) {
        if (name.isEmpty() || name.startsWith(QLatin1Char('_')) || name.startsWith(QLatin1Char('%')))
            continue;
        const QString group = tags.value(name, QStringLiteral("grp"), QStringLiteral("_Format"));
        const QString colour = tags.value(group, QStringLiteral("color"), QStringLiteral("Navy"));
        const QString upper = name.toUpper();
        // The second pair is meant for the other letter case: a section written in upper
        // case (as tags.ini writes them) would only repeat the first pair and leave tags
        // typed in lower case to the plain "<...>" rule.
        const QString other = name == upper ? name.toLower() : name;
        const QString tail = QStringLiteral(";>;") + colour;
        TColorRule &tag = rules.Add();
        tag.setWholeNames(true);
        tag.setKeyBegEndLst({ QLatin1Char('<') + upper + tail, QStringLiteral("</") + upper + tail,
            QLatin1Char('<') + other + tail, QStringLiteral("</") + other + tail });
    }

    // Comments after the tag rules, so that those keep their places. Above the tags'
    // order: markup inside a comment is not a tag and takes no tag colour, while quoted
    // values, style braces and script keywords keep their own (old pages hide scripts
    // and styles in comments).
    TColorRule &comment = rules.Add();
    comment.setZOrder(1);
    comment.setKeyBegEndLst({ QStringLiteral("<!--;-->;Gray") });
    return rules;
}

const TDrawRules &DefaultColorRules(const IniFile &tags)
{
    static const TDrawRules shared = BuildDefaultColorRules(tags);
    return shared;
}
