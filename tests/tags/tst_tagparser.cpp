#include "tags/tagparser.h"

#include <QtTest>

// Writes the parsed arguments as NAME, NAME=v or NAME="v", joined by "|".
static QString describe(const TagText &t)
{
    QStringList parts;
    for (const auto &a : t.Args) {
        if (a.second.NoValue)
            parts << a.first;
        else if (a.second.Quoted)
            parts << a.first + QStringLiteral("=\"") + a.second.Value + QLatin1Char('"');
        else
            parts << a.first + QLatin1Char('=') + a.second.Value;
    }
    return parts.join(QLatin1Char('|'));
}

class TstTagParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parseTag_data();
    void parseTag();
    void remainder_data();
    void remainder();
    void noLengthCut();
};

void TstTagParser::parseTag_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("closing");
    QTest::addColumn<QString>("args");

    QTest::newRow("<b>") << QStringLiteral("<b>") << QStringLiteral("b") << false << QString();
    QTest::newRow("</TD>") << QStringLiteral("</TD>") << QStringLiteral("TD") << true << QString();
    QTest::newRow("img quoted, unquoted, bare")
        << QStringLiteral("<IMG src=\"a.gif\" border=0 ismap>") << QStringLiteral("IMG") << false
        << QStringLiteral("SRC=\"a.gif\"|\"|BORDER=0|ISMAP");
    QTest::newRow("empty quoted value") << QStringLiteral("<img alt=\"\" width=5>") << QStringLiteral("img")
                                        << false << QStringLiteral("ALT=\"\"|\"|WIDTH=5");
    QTest::newRow("quoted value with spaces and =")
        << QStringLiteral("<a href=\"x.php?a=1&b=2\" title=\"Strona główna = start\">") << QStringLiteral("a")
        << false << QStringLiteral("HREF=\"x.php?a=1&b=2\"|\"|TITLE=\"Strona główna = start\"|\"");
    QTest::newRow("spaces around =") << QStringLiteral("<td  colspan = 2   align =\"left\">")
                                     << QStringLiteral("td") << false
                                     << QStringLiteral("COLSPAN=2|ALIGN=\"left\"|\"");
    QTest::newRow("quote glued to the next name")
        << QStringLiteral("<p class=\"a\"id=x>") << QStringLiteral("p") << false
        << QStringLiteral("CLASS=\"a\"|\"ID=x");
    QTest::newRow("unterminated quote")
        << QStringLiteral("<a href=\"abc>") << QStringLiteral("a") << false << QStringLiteral("HREF=\"abc\"");
    QTest::newRow("comment") << QStringLiteral("<!-- uwaga -->") << QStringLiteral("!") << false
                             << QStringLiteral("--|UWAGA|--");
    QTest::newRow("doctype") << QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">")
                             << QStringLiteral("!DOCTYPE") << false
                             << QStringLiteral("HTML|PUBLIC|\"-//W3C//DTD|HTML|4.01//EN\"");
    QTest::newRow("name stops at -") << QStringLiteral("<x-tag a=1>") << QStringLiteral("x") << false
                                     << QStringLiteral("-TAG|A=1");
    QTest::newRow("empty") << QStringLiteral("<>") << QString() << false << QString();
    QTest::newRow("too short") << QStringLiteral("<") << QString() << false << QString();
    QTest::newRow("xhtml slash") << QStringLiteral("<br />") << QStringLiteral("br") << false
                                 << QStringLiteral("/");
    QTest::newRow("first name stops at quote")
        << QStringLiteral("<a\"b\">") << QStringLiteral("a\"b\"") << false << QString();
    QTest::newRow("multi-line, flattened")
        << FlattenTagText(QStringLiteral("<TABLE\n\tborder=1\r\n  summary=\"dwa\nwiersze\">"))
        << QStringLiteral("TABLE") << false << QStringLiteral("BORDER=1|SUMMARY=\"dwa wiersze\"|\"");
    QTest::newRow("polish names upper-cased")
        << QStringLiteral("<p żółw=1>") << QStringLiteral("p") << false << QStringLiteral("ŻÓŁW=1");
}

void TstTagParser::parseTag()
{
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(bool, closing);
    QFETCH(QString, args);
    const TagText t = ParseTag(text);
    QCOMPARE(t.Name, name);
    QCOMPARE(t.Closing, closing);
    QCOMPARE(describe(t), args);
}

void TstTagParser::remainder_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("remainder");
    QTest::newRow("lone quotes dropped") << QStringLiteral("<IMG src=\"a b.gif\" border=0 ismap alt=\"\">")
                                         << QStringLiteral("SRC=\"a b.gif\" BORDER=0 ISMAP ALT=\"\"");
    QTest::newRow("no args") << QStringLiteral("<P>") << QString();
    QTest::newRow("duplicates kept in order") << QStringLiteral("<p a=1 a=2>") << QStringLiteral("A=1 A=2");
}

void TstTagParser::remainder()
{
    QFETCH(QString, text);
    QFETCH(QString, remainder);
    QCOMPARE(RemainderText(ParseTag(text).Args), remainder);
}

void TstTagParser::noLengthCut()
{
    const QString longValue(1000, QLatin1Char('x'));
    const QString longName(300, QLatin1Char('N'));
    const TagText t = ParseTag(QStringLiteral("<") + longName + QStringLiteral(" title=\"") + longValue
        + QStringLiteral("\" alt=") + longValue + QStringLiteral(">"));
    QCOMPARE(t.Name, longName);
    QCOMPARE(t.Args.size(), 3);
    QCOMPARE(t.Args.at(0).second.Value, longValue);
    QCOMPARE(t.Args.at(2).second.Value, longValue);
    QCOMPARE(t.indexOf(QStringLiteral("ALT")), 2);
    QCOMPARE(t.indexOf(QStringLiteral("SRC")), -1);
}

QTEST_GUILESS_MAIN(TstTagParser)
#include "tst_tagparser.moc"
