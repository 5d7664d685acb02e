#include "base/documents.h"
#include "insert/insertion.h"

#include <QTest>

class TestInsertion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lowerCaseTags_data();
    void lowerCaseTags();
    void pairAroundSelection_data();
    void pairAroundSelection();
    void snapshotFollowsFlag();
    void blockPositions_data();
    void blockPositions();
    void plainReplacesSelection();
};

void TestInsertion::lowerCaseTags_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("<A HREF=\"X\">Ą</A>")
        << QStringLiteral("<A HREF=\"X\">Ą</A>") << QStringLiteral("<a href=\"X\">Ą</a>");
    QTest::newRow("Polish letters in a tag") << QStringLiteral("<ŁĄKA ŚĆŻŹĘÓŃ=\"ŻÓŁW\">ŻÓŁW</ŁĄKA>")
                                             << QStringLiteral("<łąka śćżźęóń=\"ŻÓŁW\">ŻÓŁW</łąka>");
    QTest::newRow("other Windows-1250 letters") << QStringLiteral("<ŠŤŽŔÁÂĂÄĹĽÇČÉËĚÍÎĎĐŇÔŐÖŘŮÚŰÜÝŢŞ>")
                                                << QStringLiteral("<šťžŕáâăäĺľçčéëěíîďđňôőöřůúűüýţş>");
    QTest::newRow("starts inside a tag")
        << QStringLiteral("ALERT(\"TEKST\");") << QStringLiteral("alert(\"TEKST\");");
    QTest::newRow("closing after a value") << QStringLiteral("\"></A>") << QStringLiteral("\"></a>");
    QTest::newRow("text between tags kept") << QStringLiteral("<TABLE BORDER=\"2\">\n<TR>\nTEKST</TR>")
                                            << QStringLiteral("<table border=\"2\">\n<tr>\nTEKST</tr>");
    QTest::newRow("quote in text does not stop the next tag")
        << QStringLiteral("<P>DYSK 5\"</P><B>") << QStringLiteral("<p>DYSK 5\"</p><b>");
    QTest::newRow("unclosed quote") << QStringLiteral("<A HREF=\"X") << QStringLiteral("<a href=\"X");
    QTest::newRow("empty") << QString() << QString();
}

void TestInsertion::lowerCaseTags()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    const QString out = LowerCaseTags(input);
    QCOMPARE(out, expected);
    QCOMPARE(out.size(), input.size());
}

void TestInsertion::pairAroundSelection_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("lowerCase");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("newStart");
    QTest::newRow("bold around a word") << 4 << 4 << false << QStringLiteral("abc <B>word</B> def") << 7;
    QTest::newRow("no selection") << 4 << 0 << false << QStringLiteral("abc <B></B>word def") << 7;
    QTest::newRow("at the end") << 12 << 0 << false << QStringLiteral("abc word def<B></B>") << 15;
    QTest::newRow("lower case") << 0 << 3 << true << QStringLiteral("<b>abc</b> word def") << 3;
}

void TestInsertion::pairAroundSelection()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(bool, lowerCase);
    QFETCH(QString, text);
    QFETCH(int, newStart);
    StringDocument doc(1, QStringLiteral("abc word def"));
    doc.setSelection(start, length);
    const InsertionResult r
        = InsertPair(doc, QStringLiteral("<B>"), QStringLiteral("</B>"), InsertOptions { lowerCase, true });
    QCOMPARE(doc.text(), text);
    QCOMPARE(doc.selStart(), newStart);
    QCOMPARE(doc.selLength(), length);
    QCOMPARE(r.selStart, newStart);
    QCOMPARE(r.opening, lowerCase ? QStringLiteral("<b>") : QStringLiteral("<B>"));
    QVERIFY(r.interpret);
}

void TestInsertion::snapshotFollowsFlag()
{
    StringDocument doc(1, QStringLiteral("abc word def"));
    doc.setSelection(4, 4);
    InsertPair(doc, QStringLiteral("<I>"), QStringLiteral("</I>"), InsertOptions { false, false });
    QVERIFY(!doc.state().hasSnapshot());

    InsertPair(doc, QStringLiteral("<B>"), QStringLiteral("</B>"), InsertOptions { false, true });
    QVERIFY(doc.undoSnapshot());
    QCOMPARE(doc.text(), QStringLiteral("abc <I>word</I> def"));
    QCOMPARE(doc.selStart(), 7);
    QCOMPARE(doc.selLength(), 4);
}

void TestInsertion::blockPositions_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("closing");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("newStart");
    QTest::newRow("selected word") << 4 << 4 << QStringLiteral("</FORM>")
                                   << QStringLiteral("abc \n<FORM>word\n</FORM> def") << 11;
    QTest::newRow("no selection") << 0 << 0 << QStringLiteral("</FORM>")
                                  << QStringLiteral("\n<FORM>\n</FORM>abc word def") << 7;
    QTest::newRow("no closing") << 4 << 4 << QString() << QStringLiteral("abc \n<FORM>word def") << 11;
}

void TestInsertion::blockPositions()
{
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, closing);
    QFETCH(QString, text);
    QFETCH(int, newStart);
    StringDocument doc(1, QStringLiteral("abc word def"));
    doc.setSelection(start, length);
    InsertBlock(doc, QStringLiteral("<FORM>"), closing, InsertOptions());
    QCOMPARE(doc.text(), text);
    QCOMPARE(doc.selStart(), newStart);
    QCOMPARE(doc.selLength(), length);
    QCOMPARE(doc.selectedText(), text.mid(newStart, length));
}

void TestInsertion::plainReplacesSelection()
{
    StringDocument doc(1, QStringLiteral("abc word def"));
    doc.setSelection(4, 4);
    InsertPlain(doc, QStringLiteral("&NBSP;"));
    QCOMPARE(doc.text(), QStringLiteral("abc &NBSP; def")); // never lower-cased
    QCOMPARE(doc.selStart(), 10);
    QCOMPARE(doc.selLength(), 0);
    QVERIFY(doc.undoSnapshot());
    QCOMPARE(doc.text(), QStringLiteral("abc word def"));
}

QTEST_GUILESS_MAIN(TestInsertion)
#include "tst_insertion.moc"
