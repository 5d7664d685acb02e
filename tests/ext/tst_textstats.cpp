#include "textstats.h"

#include <QTest>

// The example plug-in's counts: what is a word and what is a tag.
class TestTextStats : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void count_data()
    {
        QTest::addColumn<QString>("html");
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("tags");
        QTest::addColumn<int>("comments");
        QTest::newRow("empty") << QString() << 0 << 0 << 0;
        QTest::newRow("plain words") << QStringLiteral("Ala ma  kota\n") << 3 << 0 << 0;
        QTest::newRow("tags are no words")
            << QStringLiteral("<P ALIGN=center>Ala <B>ma</B> kota</P>") << 3 << 4 << 0;
        QTest::newRow("a tag ends a word") << QStringLiteral("jeden<BR>dwa") << 2 << 1 << 0;
        QTest::newRow("quoted >") << QStringLiteral("<A TITLE=\"a > b\" HREF='x>y'>link</A>") << 1 << 2 << 0;
        QTest::newRow("comment holds nothing") << QStringLiteral("a<!-- <B>b c</B> -->d") << 2 << 0 << 1;
        QTest::newRow("unterminated comment") << QStringLiteral("a <!-- b c") << 1 << 0 << 1;
        QTest::newRow("doctype and processing")
            << QStringLiteral("<!DOCTYPE HTML PUBLIC \"x\"><?php echo 1; ?>a") << 1 << 0 << 0;
        QTest::newRow("script body") << QStringLiteral("<SCRIPT>var a = b < c;</script>x") << 1 << 2 << 0;
        QTest::newRow("style body lower case")
            << QStringLiteral("<style>p { color: red }</STYLE>") << 0 << 2 << 0;
        QTest::newRow("lone less-than is text") << QStringLiteral("a < b <1") << 3 << 0 << 0;
        QTest::newRow("entity inside a word") << QString::fromUtf8("Zaż&oacute;łć gęślą") << 2 << 0 << 0;
        QTest::newRow("numeric entity alone") << QStringLiteral("a &#243; b") << 3 << 0 << 0;
        QTest::newRow("ampersand without entity") << QStringLiteral("a & b &c") << 3 << 0 << 0;
        QTest::newRow("unterminated tag") << QStringLiteral("a <B b c") << 1 << 1 << 0;
        QTest::newRow("digits are words") << QStringLiteral("rok 2024, 3.5") << 4 << 0 << 0;
    }
    void count()
    {
        QFETCH(QString, html);
        QFETCH(int, words);
        QFETCH(int, tags);
        QFETCH(int, comments);
        const TextStats stats = countText(html);
        QCOMPARE(stats.words, words);
        QCOMPARE(stats.tags, tags);
        QCOMPARE(stats.comments, comments);
        QCOMPARE(stats.characters, int(html.size()));
    }
};

QTEST_GUILESS_MAIN(TestTextStats)
#include "tst_textstats.moc"
