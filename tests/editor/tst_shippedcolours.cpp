#include "editor/colorengine.h"
#include "editor/defaultrules.h"
#include "tags/tagdefs.h"
#include "testsupport.h"

#include <QtTest>

// The shipped tags.ini through the editor's default rules: every tag, opening and
// closing, in upper and in lower case, starts in the colour of its group. Delimiters
// are cut to six characters and the later rule wins, so where two tags share a cut
// delimiter ("</BASE" of BASE and BASEFONT) the later section's group is expected.
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
        return ColorFromText(defs.ini().value(defs.grp(tag), QStringLiteral("color"), QStringLiteral("Navy")));
    };
    for (const QString &tag : tags) {
        for (const QString &name : {tag.toUpper(), tag.toLower()}) {
            for (const QString &text : {QLatin1Char('<') + name + QStringLiteral(" x>"),
                                        QStringLiteral("</") + name + QLatin1Char('>')}) {
                const bool closing = text.startsWith(QStringLiteral("</"));
                const QString open = closing ? QStringLiteral("</") : QStringLiteral("<");
                const QString own = (open + name).left(6);
                // A shorter tag that is only a prefix (B before BODY) must not win.
                TColor expected = 0;
                for (const QString &other : tags) {
                    const QString cased = name == tag.toUpper() ? other.toUpper() : other.toLower();
                    if ((open + cased).left(6) == own)
                        expected = groupColour(other);
                }
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
