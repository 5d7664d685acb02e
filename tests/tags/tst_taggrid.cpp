#include "tags/ui/taggrid.h"

#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QToolButton>
#include <QtTest>

namespace {

const char *const kDefs = "[%core]\n"
                          "args=ID,CLASS\n"
                          "ID=text;\"\n"
                          "CLASS=text;\"\n"
                          "[IMG]\n"
                          "Info=Obrazek.\n"
                          "args=SRC,%core,BORDER;ISMAP,ALIGN\n"
                          "SRC=file;\";Obrazy (*.gif)\n"
                          "BORDER=text\n"
                          "ISMAP=bool\n"
                          "ALIGN=choice;\";left,right\n"
                          "clr=clTeal\n"
                          "[TD]\n"
                          "Info=Komórka tabeli.\n"
                          "args=COLSPAN\n"
                          "COLSPAN=text\n"
                          "[Q]\n"
                          "Info=Cytat.\n"
                          "args=CITE,LANG\n"
                          "CITE=url;\"\n"
                          "LANG=text;\"\n";

} // namespace

class TstTagInspector : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void showsTagAndFillsRows();
    void editingRebuildsTheTag();
    void closingAndUnknownTags();
    void commentIsIgnored();
    void unknownKindReportsError();
    void realWorldTags_data();
    void realWorldTags();

private:
    TagDefs m_defs;
    TagDefs m_shipped;
};

void TstTagInspector::initTestCase()
{
    m_defs.parse(QString::fromUtf8(kDefs));
    QVERIFY(m_shipped.load(testsupport::sourcePath(QStringLiteral("konfiguracja/tags.ini"))));
}

void TstTagInspector::showsTagAndFillsRows()
{
    TagInspector insp(&m_defs);
    QSignalSpy shown(&insp, &TagInspector::tagShown);
    QSignalSpy rebuilt(&insp, &TagInspector::tagRebuilt);
    insp.ShowTagInInspector(QStringLiteral("<img src=\"a b.gif\"\r\n   border=0 ismap data-x=\"Q R\" foo>"));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(rebuilt.count(), 0); // filling is not an edit
    QCOMPARE(insp.title(), QStringLiteral("Tag: <IMG>"));
    QCOMPARE(insp.titleHint(), QStringLiteral("<IMG>"));
    QCOMPARE(insp.description(), QStringLiteral("Obrazek."));
    // data-* (and aria-*, role) are rows of their own, named as written.
    const QStringList names { QStringLiteral("SRC"), QStringLiteral("ID"), QStringLiteral("CLASS"),
        QStringLiteral("BORDER"), QStringLiteral("ISMAP"), QStringLiteral("ALIGN"),
        QStringLiteral("data-x") };
    const QStringList values { QStringLiteral("a b.gif"), QString(), QString(), QStringLiteral("0"),
        QStringLiteral("[tak]"), QString(), QStringLiteral("Q R") };
    QCOMPARE(insp.rowCount(), names.size());
    QCOMPARE(insp.grid()->rowCount(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(insp.rowName(i), names.at(i));
        QCOMPARE(insp.grid()->item(i, 0)->text(), names.at(i));
        QCOMPARE(insp.grid()->item(i, 0)->foreground().color(), QColor(0x00, 0x80, 0x80));
        QCOMPARE(insp.rowValue(i), values.at(i));
    }
    QCOMPARE(insp.remainder(), QStringLiteral("FOO"));
    QVERIFY(qobject_cast<QLineEdit *>(insp.rowEditor(6)));
    // Editors by kind.
    QVERIFY(insp.rowEditor(0)->findChild<QLineEdit *>());
    QVERIFY(insp.rowEditor(0)->findChild<QToolButton *>());
    QVERIFY(qobject_cast<QLineEdit *>(insp.rowEditor(3)));
    auto *boolBox = qobject_cast<QComboBox *>(insp.rowEditor(4));
    QVERIFY(boolBox);
    QCOMPARE(boolBox->count(), 2);
    QCOMPARE(boolBox->itemText(0), QStringLiteral("[tak]"));
    QCOMPARE(boolBox->itemText(1), QStringLiteral("[nie]"));
    auto *choice = qobject_cast<QComboBox *>(insp.rowEditor(5));
    QVERIFY(choice);
    QCOMPARE(choice->count(), 3); // empty, left, right
    QVERIFY(!insp.setRowValue(5, QStringLiteral("middle")));

    // A second tag replaces the rows.
    insp.ShowTagInInspector(QStringLiteral("<TD colspan=3>"));
    QCOMPARE(insp.rowCount(), 1);
    QCOMPARE(insp.rowValue(0), QStringLiteral("3"));
    QCOMPARE(insp.remainder(), QString());
}

void TstTagInspector::editingRebuildsTheTag()
{
    TagInspector insp(&m_defs);
    QSignalSpy rebuilt(&insp, &TagInspector::tagRebuilt);
    insp.ShowTagInInspector(QStringLiteral("<img src=\"a.gif\" border=0 ismap data-x=\"Q\">"));

    auto *border = qobject_cast<QLineEdit *>(insp.rowEditor(3));
    border->selectAll();
    QTest::keyClicks(border, QStringLiteral("12"));
    QVERIFY(rebuilt.count() >= 1);
    QCOMPARE(
        rebuilt.last().at(0).toString(), QStringLiteral("<IMG SRC=\"a.gif\" BORDER=12 ISMAP DATA-X=\"Q\">"));

    QVERIFY(insp.setRowValue(5, QStringLiteral("right")));
    QCOMPARE(rebuilt.last().at(0).toString(),
        QStringLiteral("<IMG SRC=\"a.gif\" BORDER=12 ISMAP ALIGN=\"right\" DATA-X=\"Q\">"));

    QVERIFY(insp.setRowValue(4, QStringLiteral("[nie]")));
    QCOMPARE(rebuilt.last().at(0).toString(),
        QStringLiteral("<IMG SRC=\"a.gif\" BORDER=12 ALIGN=\"right\" DATA-X=\"Q\">"));

    insp.setLowerCaseEditing(true);
    QVERIFY(insp.setRowValue(1, QStringLiteral("Logo")));
    QCOMPARE(rebuilt.last().at(0).toString(),
        QStringLiteral("<img src=\"a.gif\" id=\"Logo\" border=12 align=\"right\" data-x=\"Q\">"));

    // Clearing a value drops the argument.
    QVERIFY(insp.setRowValue(0, QString()));
    QCOMPARE(rebuilt.last().at(0).toString(),
        QStringLiteral("<img id=\"Logo\" border=12 align=\"right\" data-x=\"Q\">"));
    QCOMPARE(insp.rebuiltTag(), rebuilt.last().at(0).toString());
}

void TstTagInspector::closingAndUnknownTags()
{
    TagInspector insp(&m_defs);
    insp.ShowTagInInspector(QStringLiteral("</td>"));
    QCOMPARE(insp.title(), QStringLiteral("Tag: <TD>  (kończący)"));
    QCOMPARE(insp.titleHint(), QStringLiteral("<TD>  (kończący)"));
    QCOMPARE(insp.description(), QStringLiteral("Komórka tabeli."));
    QCOMPARE(insp.rowCount(), 0);

    insp.ShowTagInInspector(QStringLiteral("<blink speed=2>"));
    QCOMPARE(insp.title(), QStringLiteral("Tag: <BLINK>"));
    QCOMPARE(insp.description(), QStringLiteral("Ten znacznik nie jest obsługiwany."));
    QCOMPARE(insp.rowCount(), 0);
}

void TstTagInspector::commentIsIgnored()
{
    TagInspector insp(&m_defs);
    QSignalSpy shown(&insp, &TagInspector::tagShown);
    insp.ShowTagInInspector(QStringLiteral("<TD colspan=2>"));
    insp.ShowTagInInspector(QStringLiteral("<!-- komentarz -->"));
    QCOMPARE(shown.count(), 1);
    QCOMPARE(insp.title(), QStringLiteral("Tag: <TD>"));
    QCOMPARE(insp.rowValue(0), QStringLiteral("2"));
}

void TstTagInspector::unknownKindReportsError()
{
    TagInspector insp(&m_defs);
    QStringList reports;
    insp.setErrorReporter([&](const QString &caption, const QString &text) { reports << caption << text; });
    insp.ShowTagInInspector(QStringLiteral("<q cite=\"x\" lang=pl>"));
    QCOMPARE(reports,
        (QStringList { QStringLiteral("Tagi: błąd"),
            QStringLiteral("TAGS.INI: [q],CITE - niewłaściwy typ kontrolki / inny błąd:url") }));
    // The row stays, without an editor; the other row works.
    QCOMPARE(insp.rowCount(), 2);
    QVERIFY(!insp.rowEditor(0));
    QCOMPARE(insp.rowValue(1), QStringLiteral("pl"));
}

void TstTagInspector::realWorldTags_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("rebuilt");
    // The tag's own arguments first, then the global ones, then the event handlers.
    QTest::newRow("link with target and script")
        << QStringLiteral("<a href=\"index.php?a=1&amp;b=2\" target=_blank onclick=\"return f('x y');\">")
        << QStringLiteral(
               "<A HREF=\"index.php?a=1&amp;b=2\" TARGET=\"_blank\" ONCLICK=\"return f('x y');\">");
    QTest::newRow("checked=\"checked\" stays checked")
        << QStringLiteral("<input type=checkbox checked=\"checked\" name=zgoda>")
        << QStringLiteral("<INPUT TYPE=\"checkbox\" NAME=\"zgoda\" CHECKED>");
    QTest::newRow("multi-line cell") << QStringLiteral("<td\n\tcolspan=2\n\tnowrap\n\tclass=\"c d\">")
                                     << QStringLiteral("<TD COLSPAN=2 NOWRAP CLASS=\"c d\">");
    QTest::newRow("ordered list type A is not a")
        << QStringLiteral("<ol type=A start=3>") << QStringLiteral("<OL TYPE=\"A\" START=3>");
    QTest::newRow("unknown value of a choice kept")
        << QStringLiteral("<div align=middle>") << QStringLiteral("<DIV ALIGN=\"middle\">");
    QTest::newRow("a value alone stays alone") << QStringLiteral("<a href=\"plik.pdf\" download>")
                                               << QStringLiteral("<A HREF=\"plik.pdf\" DOWNLOAD>");
    QTest::newRow("choice value keeps its letter case")
        << QStringLiteral("<p dir=RTL align=Center>") << QStringLiteral("<P ALIGN=\"Center\" DIR=\"RTL\">");
    QTest::newRow("data-, aria- and role as rows")
        << QStringLiteral("<nav aria-label=\"Menu\" role=navigation data-x>")
        << QStringLiteral("<NAV ARIA-LABEL=\"Menu\" ROLE=\"navigation\" DATA-X>");
    QTest::newRow("meta with = in a value")
        << QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">")
        << QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">");
}

void TstTagInspector::realWorldTags()
{
    QFETCH(QString, tag);
    QFETCH(QString, rebuilt);
    TagInspector insp(&m_shipped);
    insp.ShowTagInInspector(tag);
    QVERIFY(insp.rowCount() > 0);
    QCOMPARE(insp.rebuiltTag(), rebuilt);
}

QTEST_MAIN(TstTagInspector)
#include "tst_taggrid.moc"
