#include "tags/tagassist.h"
#include "tags/tagdefs.h"

#include <QtTest>

Q_DECLARE_METATYPE(ArgRow)

namespace {

const char *const kDefs = "[%core]\n"
                          "args=ID,CLASS\n"
                          "ID=text;\"\n"
                          "CLASS=text;\"\n"
                          "[IMG]\n"
                          "Info=Obrazek.\n"
                          "args=SRC,%core;BORDER,ISMAP,ALIGN\n"
                          "SRC=file;\"\n"
                          "BORDER=text\n"
                          "ISMAP=bool\n"
                          "ALIGN=choice;\";left,right\n"
                          "ends=0\n"
                          "[TD]\n"
                          "Info=Komórka.\n"
                          "ends=1\n"
                          "[P]\n"
                          "Info=Akapit.\n"
                          "ends=2\n"
                          "[X]\n"
                          "ends=7\n";

} // namespace

class TstTagAssist : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { m_defs.parse(QString::fromUtf8(kDefs)); }
    void parameterEntries();
    void hintText_data();
    void hintText();
    void needsClosing_data();
    void needsClosing();
    void enterInsertion_data();
    void enterInsertion();
    void leadingIndent_data();
    void leadingIndent();
    void rebuildTag_data();
    void rebuildTag();
    void lowerCaseArgNames_data();
    void lowerCaseArgNames();

private:
    TagDefs m_defs;
};

void TstTagAssist::parameterEntries()
{
    QCOMPARE(ParameterEntries(m_defs, QStringLiteral("img")),
        (QStringList { QStringLiteral("SRC=\"\""), QStringLiteral("ID=\"\""), QStringLiteral("CLASS=\"\""),
            QStringLiteral("BORDER="), QStringLiteral("ISMAP"), QStringLiteral("ALIGN=\"\"") }));
    QVERIFY(ParameterEntries(m_defs, QStringLiteral("TD")).isEmpty());
    QVERIFY(ParameterEntries(m_defs, QStringLiteral("NOSUCH")).isEmpty());
}

void TstTagAssist::hintText_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("hint");
    QTest::newRow("args expanded, space after commas")
        << QStringLiteral("img") << QStringLiteral("IMG: SRC, ID, CLASS, BORDER, ISMAP, ALIGN\nObrazek.");
    QTest::newRow("no args: only Info") << QStringLiteral("TD") << QStringLiteral("Komórka.");
    QTest::newRow("unknown") << QStringLiteral("BLINK") << QString();
    QTest::newRow("closing tag has no section") << QStringLiteral("/TD") << QString();
}

void TstTagAssist::hintText()
{
    QFETCH(QString, tag);
    QFETCH(QString, hint);
    QCOMPARE(HintText(m_defs, tag), hint);
}

void TstTagAssist::needsClosing_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("choice");
    QTest::addColumn<bool>("needs");
    QTest::addColumn<bool>("asked");
    QTest::newRow("ends=1") << QStringLiteral("td") << false << true << false;
    QTest::newRow("ends=0") << QStringLiteral("IMG") << true << false << false;
    QTest::newRow("missing ends") << QStringLiteral("NOSUCH") << true << false << false;
    QTest::newRow("optional, user says yes") << QStringLiteral("P") << true << true << true;
    QTest::newRow("optional, user says no") << QStringLiteral("P") << false << false << true;
    QTest::newRow("other value is optional") << QStringLiteral("X") << false << false << true;
}

void TstTagAssist::needsClosing()
{
    QFETCH(QString, tag);
    QFETCH(bool, choice);
    QFETCH(bool, needs);
    QFETCH(bool, asked);
    QString askedFor;
    const bool got = TagNeedsClosing(m_defs, tag, [&](const QString &name) {
        askedFor = name;
        return choice;
    });
    QCOMPARE(got, needs);
    QCOMPARE(askedFor, asked ? tag : QString());
}

void TstTagAssist::enterInsertion_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QString>("text");
    QTest::newRow("normal") << 0 << false << QStringLiteral("\n  \t");
    QTest::newRow("normal with shift") << 0 << true << QStringLiteral("\n  \t");
    QTest::newRow("list items") << 1 << false << QStringLiteral("\n  \t<LI>");
    QTest::newRow("table cells") << 2 << false << QStringLiteral("</TD>\n  \t<TD>");
    QTest::newRow("table cells, shift: new row")
        << 2 << true << QStringLiteral("</TD>\n  \t</TR><TR>\n  \t<TD>");
}

void TstTagAssist::enterInsertion()
{
    QFETCH(int, mode);
    QFETCH(bool, shift);
    QFETCH(QString, text);
    QCOMPARE(EnterInsertion(mode, shift, QStringLiteral("  \t")), text);
}

void TstTagAssist::leadingIndent_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("indent");
    QTest::newRow("mixed") << QStringLiteral(" \t <td>a b") << QStringLiteral(" \t ");
    QTest::newRow("none") << QStringLiteral("<td>  ") << QString();
    QTest::newRow("only blanks") << QStringLiteral("   ") << QStringLiteral("   ");
    QTest::newRow("empty") << QString() << QString();
}

void TstTagAssist::leadingIndent()
{
    QFETCH(QString, line);
    QFETCH(QString, indent);
    QCOMPARE(LeadingIndent(line), indent);
}

void TstTagAssist::rebuildTag_data()
{
    QTest::addColumn<QList<ArgRow>>("rows");
    QTest::addColumn<QString>("remainder");
    QTest::addColumn<bool>("lower");
    QTest::addColumn<QString>("tag");

    const QList<ArgRow> rows { { QStringLiteral("SRC"), QStringLiteral("Kot Ala.gif"), QStringLiteral("file"),
                                   true },
        { QStringLiteral("border"), QStringLiteral("0"), QStringLiteral("text"), false },
        { QStringLiteral("ISMAP"), QStringLiteral("[tak]"), QStringLiteral("bool"), false },
        { QStringLiteral("ALT"), QString(), QStringLiteral("text"), true },
        { QStringLiteral("NOHREF"), QStringLiteral("[nie]"), QStringLiteral("bool"), false },
        { QStringLiteral("TITLE"), QStringLiteral("a = b"), QStringLiteral("text"), true } };
    QTest::newRow("upper") << rows << QString() << false
                           << QStringLiteral("<IMG SRC=\"Kot Ala.gif\" BORDER=0 ISMAP TITLE=\"a = b\">");
    QTest::newRow("lower keeps values")
        << rows << QString() << true
        << QStringLiteral("<img src=\"Kot Ala.gif\" border=0 ismap title=\"a = b\">");
    QTest::newRow("remainder") << QList<ArgRow> {} << QStringLiteral("DATA-X=\"Ala\" FOO=Bar NOWRAP") << false
                               << QStringLiteral("<IMG DATA-X=\"Ala\" FOO=Bar NOWRAP>");
    QTest::newRow("remainder, lower names only")
        << QList<ArgRow> {} << QStringLiteral("DATA-X=\"Ala Ma\" FOO=Bar NOWRAP") << true
        << QStringLiteral("<img data-x=\"Ala Ma\" foo=Bar nowrap>");
    QTest::newRow("nothing set") << QList<ArgRow> { rows.at(3), rows.at(4) } << QString() << false
                                 << QStringLiteral("<IMG>");
    const QString longValue(400, QLatin1Char('v'));
    QTest::newRow("no length cut") << QList<ArgRow> {
        { QStringLiteral("ALT"), longValue, QStringLiteral("text"), true }
    } << QString() << false << QStringLiteral("<IMG ALT=\"") + longValue + QStringLiteral("\">");
}

void TstTagAssist::rebuildTag()
{
    QFETCH(QList<ArgRow>, rows);
    QFETCH(QString, remainder);
    QFETCH(bool, lower);
    QFETCH(QString, tag);
    QCOMPARE(RebuildTag(QStringLiteral("<IMG>"), rows, remainder, lower), tag);
}

void TstTagAssist::lowerCaseArgNames_data()
{
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("all forms") << QStringLiteral("A=\"X Y=Z\" B=Q C") << QStringLiteral("a=\"X Y=Z\" b=Q c");
    QTest::newRow("unterminated quote") << QStringLiteral("A=\"X Y") << QStringLiteral("a=\"X Y");
    QTest::newRow("polish") << QStringLiteral("ŻÓŁW=Ą") << QStringLiteral("żółw=Ą");
    QTest::newRow("empty value") << QStringLiteral("A=\"\" B") << QStringLiteral("a=\"\" b");
}

void TstTagAssist::lowerCaseArgNames()
{
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(LowerCaseArgNames(in), out);
}

QTEST_GUILESS_MAIN(TstTagAssist)
#include "tst_tagassist.moc"
