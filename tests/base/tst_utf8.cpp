#include "base/utf8.h"

#include <QTest>

// What is and is not UTF-8, at every place of a run the fast path takes sixteen bytes at a
// time, and the decoder agreeing with the check and with Qt's own decoder.
class TstUtf8 : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void validity_data();
    void validity();
    void lineBreaksAndTabs_data();
    void lineBreaksAndTabs();
};

void TstUtf8::validity_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("errorOffset"); // -1: valid
    QTest::addColumn<bool>("multiByte");
    QTest::newRow("empty") << QByteArray() << qsizetype(-1) << false;
    QTest::newRow("ASCII") << QByteArray("<p>abc</p>") << qsizetype(-1) << false;
    QTest::newRow("Polish two-byte") << QByteArray("za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87") << qsizetype(-1)
                                     << true;
    QTest::newRow("three-byte") << QByteArray("\xE2\x80\x94") << qsizetype(-1) << true;
    QTest::newRow("four-byte emoji") << QByteArray("\xF0\x9F\x98\x80") << qsizetype(-1) << true;
    QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << qsizetype(-1) << true;
    QTest::newRow("U+FFFF") << QByteArray("\xEF\xBF\xBF") << qsizetype(-1) << true;
    QTest::newRow("U+E000 after the surrogates") << QByteArray("\xEE\x80\x80") << qsizetype(-1) << true;
    QTest::newRow("Windows-1250 letter") << QByteArray("ab\xB9") << qsizetype(2) << false;
    QTest::newRow("lone continuation") << QByteArray("a\x80") << qsizetype(1) << false;
    QTest::newRow("overlong two-byte") << QByteArray("\xC0\xAF") << qsizetype(0) << false;
    QTest::newRow("C1 lead") << QByteArray("\xC1\xBF") << qsizetype(0) << false;
    QTest::newRow("overlong three-byte") << QByteArray("\xE0\x9F\xBF") << qsizetype(0) << false;
    QTest::newRow("encoded surrogate") << QByteArray("x\xED\xA0\x80") << qsizetype(1) << false;
    QTest::newRow("overlong four-byte") << QByteArray("\xF0\x8F\xBF\xBF") << qsizetype(0) << false;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << qsizetype(0) << false;
    QTest::newRow("F5") << QByteArray("\xF5\x80\x80\x80") << qsizetype(0) << false;
    QTest::newRow("FF") << QByteArray("\xFF") << qsizetype(0) << false;
    QTest::newRow("cut off at the end") << QByteArray("ab\xF0\x9F\x98") << qsizetype(2) << false;
    QTest::newRow("lead then ASCII") << QByteArray("\xC5z") << qsizetype(0) << false;
    // Past a first block of sixteen plain bytes, and straddling the block boundary.
    const QByteArray plain(16, 'x');
    QTest::newRow("valid after a block") << plain + "\xC5\xBC" + plain << qsizetype(-1) << true;
    QTest::newRow("pair over the boundary")
        << QByteArray(15, 'x') + "\xF0\x9F\x98\x80" + plain << qsizetype(-1) << true;
    // Blocks of ASCII and two-byte letters only, which are checked sixteen bytes at once.
    const QByteArray z("\xC5\xBC");
    QTest::newRow("two-byte letters") << z.repeated(12) << qsizetype(-1) << true;
    QTest::newRow("lead byte ends a block, continuation follows")
        << QByteArray(15, 'x') + z + plain << qsizetype(-1) << true;
    QTest::newRow("lead byte ends a block, ASCII follows")
        << QByteArray(15, 'x') + "\xC5" + plain << qsizetype(15) << false;
    QTest::newRow("stray continuation among letters")
        << z.repeated(4) + "\xBC" + z.repeated(6) << qsizetype(8) << false;
    QTest::newRow("C1 lead among letters")
        << z.repeated(4) + "\xC1\xBC" + z.repeated(6) << qsizetype(8) << false;
    QTest::newRow("three-byte among letters")
        << z.repeated(4) + "\xE2\x80\x94" + z.repeated(6) << qsizetype(-1) << true;
    QTest::newRow("error after a block") << plain + plain + "a\xA0" << qsizetype(33) << false;
    QTest::newRow("error over the boundary")
        << QByteArray(14, 'x') + "\xE2\x80" + "y" + plain << qsizetype(14) << false;
}

void TstUtf8::validity()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, errorOffset);
    QFETCH(bool, multiByte);
    const Utf8::Check c = Utf8::check(bytes);
    QCOMPARE(c.valid, errorOffset < 0);
    QCOMPARE(c.errorOffset, errorOffset);
    if (c.valid)
        QCOMPARE(c.multiByte, multiByte);

    QString text;
    qsizetype decodeError = -1;
    QCOMPARE(Utf8::decodeText(bytes, &text, 0, nullptr, &decodeError), c.valid);
    if (c.valid) {
        QCOMPARE(text, QString::fromUtf8(bytes));
        QCOMPARE(Utf8::encode(text), bytes);
    } else {
        QCOMPARE(decodeError, errorOffset);
        QVERIFY(!Utf8::decode(bytes));
    }
}

void TstUtf8::lineBreaksAndTabs_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("tabSpaces");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<qsizetype>>("counts"); // CR LF, LF, CR
    QTest::newRow("each kind") << QByteArray("a\r\nb\nc\rd") << 0 << QStringLiteral("a\nb\nc\nd")
                               << QList<qsizetype> { 1, 1, 1 };
    QTest::newRow("CR at the end") << QByteArray("a\r") << 0 << QStringLiteral("a\n")
                                   << QList<qsizetype> { 0, 0, 1 };
    QTest::newRow("LF CR is two") << QByteArray("\n\r") << 0 << QStringLiteral("\n\n")
                                  << QList<qsizetype> { 0, 1, 1 };
    QTest::newRow("tabs kept") << QByteArray("\t\xC5\xBC\t") << 0 << QStringLiteral("\tż\t")
                               << QList<qsizetype> { 0, 0, 0 };
    QTest::newRow("tabs expanded") << QByteArray("\t\xC5\xBC\t") << 3 << QStringLiteral("   ż   ")
                                   << QList<qsizetype> { 0, 0, 0 };
    // Breaks and tabs inside and right after runs the fast path copies.
    const QByteArray run("abcdefghijklmnop");
    QTest::newRow("after long runs") << run + "\r\n" + run + "\t" + run + "\r" << 2
                                     << QString::fromLatin1(run + "\n" + run + "  " + run + "\n")
                                     << QList<qsizetype> { 1, 0, 1 };
}

void TstUtf8::lineBreaksAndTabs()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, tabSpaces);
    QFETCH(QString, text);
    QFETCH(QList<qsizetype>, counts);
    QString decoded;
    LineBreakCounts breaks;
    QVERIFY(Utf8::decodeText(bytes, &decoded, tabSpaces, &breaks));
    QCOMPARE(decoded, text);
    QCOMPARE((QList<qsizetype> { breaks.crLf, breaks.lf, breaks.cr }), counts);
}

QTEST_GUILESS_MAIN(TstUtf8)
#include "tst_utf8.moc"
