#include "base/inifile.h"

#include <QtTest>

class TstIniFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void windowsSemantics();
    void missingFile();
};

void TstIniFile::windowsSemantics()
{
    IniFile ini;
    ini.parse(QStringLiteral("stray=ignored\r\n"
                             "; comment\r\n"
                             "[TABLE]\r\n"
                             " args = border,%core ,width \r\n"
                             "ARGS=second\r\n"
                             "  ;indented comment=x\r\n"
                             "[%core]\r\n"
                             "args=id,class\r\n"
                             "[table]\r\n"
                             "info=never read\r\n"
                             "[_Tabele]\r\n"
                             "color=#008080\r\n"));
    QCOMPARE(ini.sections(),
        (QStringList { QStringLiteral("TABLE"), QStringLiteral("%core"), QStringLiteral("_Tabele") }));
    // Case-insensitive names, first key wins, values trimmed, commas kept as text.
    QCOMPARE(
        ini.value(QStringLiteral("table"), QStringLiteral("Args")), QStringLiteral("border,%core ,width"));
    QCOMPARE(ini.value(QStringLiteral("%CORE"), QStringLiteral("args")), QStringLiteral("id,class"));
    // A repeated section is never read.
    QVERIFY(!ini.hasKey(QStringLiteral("TABLE"), QStringLiteral("info")));
    QCOMPARE(
        ini.value(QStringLiteral("TABLE"), QStringLiteral("info"), QStringLiteral("d")), QStringLiteral("d"));
    QCOMPARE(ini.keys(QStringLiteral("TABLE")), QStringList { QStringLiteral("args") });
    QCOMPARE(ini.intValue(QStringLiteral("_tabele"), QStringLiteral("color"), 7), 7);
    // Lines count from 1, comments and stray lines included; the first key's line wins.
    QCOMPARE(ini.line(QStringLiteral("table"), QStringLiteral("ARGS")), 4);
    QCOMPARE(ini.line(QStringLiteral("%core"), QStringLiteral("args")), 8);
    QCOMPARE(ini.line(QStringLiteral("_Tabele"), QStringLiteral("color")), 12);
    QCOMPARE(ini.line(QStringLiteral("TABLE"), QStringLiteral("info")), 0);
    QCOMPARE(ini.line(QStringLiteral("NOSUCH"), QStringLiteral("args")), 0);
}

void TstIniFile::missingFile()
{
    IniFile ini;
    QVERIFY(!ini.load(QStringLiteral("/nonexistent/tags.ini")));
    QVERIFY(ini.sections().isEmpty());
    QCOMPARE(ini.value(QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("x")), QStringLiteral("x"));
}

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
