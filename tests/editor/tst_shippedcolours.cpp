#include "editor/colorengine.h"
#include "editor/defaultrules.h"
#include "tags/tagdefs.h"
#include "testsupport.h"

#include <QtTest>

// The shipped tags.ini through the editor's default rules: every tag, opening and
// closing, in upper and in lower case, starts in the colour of its own group, also where
// its name begins another's (B and BODY, HEAD and HEADER, DATA and DATALIST).
class TstShippedColours : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyTagInItsGroupColour();
};

void TstShippedColours::everyTagInItsGroupColour()
{
    TagDefs defs;
    QVERIFY(defs.load(testsupport::sourcePath(QStringLiteral("konfiguracja/tags.ini"))));
    const TDrawRules rules = BuildDefaultColorRules(defs.ini());
    TColorEngine engine;
    QStringList wrong;
    const QStringList tags = defs.tagNames();
    QVERIFY(tags.size() >= 90);
    auto groupColour = [&](const QString &tag) {
        return ColorFromText(
            defs.ini().value(defs.grp(tag), QStringLiteral("color"), QStringLiteral("Navy")));
    };
    for (const QString &tag : tags) {
        for (const QString &name : { tag.toUpper(), tag.toLower() }) {
            for (const QString &text : { QLatin1Char('<') + name + QStringLiteral(" x>"),
                     QStringLiteral("</") + name + QLatin1Char('>') }) {
                const TColor expected = groupColour(tag);
                TColorPassInput in;
                in.Text = text;
                in.Rules = &rules;
                const std::vector<TKeyDescr> &runs = engine.Run(in);
                // The tag's run starts at the "<" (script keywords such as VAR may cover
                // part of the name above it).
                if (runs.empty() || runs.front().BeginChar != 0 || runs.front().Color != expected)
                    wrong << text;
            }
        }
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
}

QTEST_GUILESS_MAIN(TstShippedColours)
#include "tst_shippedcolours.moc"
