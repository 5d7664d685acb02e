#include "services/linediff.h"

#include <QRandomGenerator>
#include <QTest>

Q_DECLARE_METATYPE(std::vector<LineDiff::Change>)

namespace {
using Changes = std::vector<LineDiff::Change>;

QStringList linesOf(const QString &text)
{
    QStringList lines;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype nl = text.indexOf(u'\n', from);
        const qsizetype end = nl < 0 ? text.size() : nl + 1;
        lines << text.mid(from, end - from);
        from = end;
    }
    return lines;
}

// The changes applied to before's lines; the number of lines they touch goes to *changed.
QStringList applied(const QString &before, const QString &after, const Changes &changes, int *changed)
{
    const QStringList a = linesOf(before);
    const QStringList b = linesOf(after);
    QStringList rebuilt;
    int next = 0;
    *changed = 0;
    for (const LineDiff::Change &c : changes) {
        if (c.oldFrom < next)
            return { QStringLiteral("changes out of order") };
        rebuilt += a.mid(next, c.oldFrom - next);
        rebuilt += b.mid(c.newFrom, c.newCount);
        next = c.oldFrom + c.oldCount;
        *changed += c.oldCount + c.newCount;
    }
    rebuilt += a.mid(next);
    return rebuilt;
}

// Length of the longest common subsequence of lines, by the textbook table.
int commonLines(const QStringList &a, const QStringList &b)
{
    std::vector<std::vector<int>> t(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (int i = int(a.size()) - 1; i >= 0; --i)
        for (int j = int(b.size()) - 1; j >= 0; --j)
            t[i][j] = a[i] == b[j] ? t[i + 1][j + 1] + 1 : std::max(t[i + 1][j], t[i][j + 1]);
    return t[0][0];
}
} // namespace

class TstLineDiff : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void compare_data();
    void compare();
    void unified_data();
    void unified();
    void randomTextsGiveShortestCorrectDifference();
    void pastTheWorkBudgetStillCorrect();
};

void TstLineDiff::compare_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<Changes>("expected");
    QTest::newRow("equal") << QStringLiteral("a\nb\n") << QStringLiteral("a\nb\n") << Changes {};
    QTest::newRow("both empty") << QString() << QString() << Changes {};
    QTest::newRow("from nothing") << QString() << QStringLiteral("a\nb\n") << Changes { { 0, 0, 0, 2 } };
    QTest::newRow("to nothing") << QStringLiteral("a\n") << QString() << Changes { { 0, 1, 0, 0 } };
    QTest::newRow("one line replaced")
        << QStringLiteral("a\nb\nc\n") << QStringLiteral("a\nX\nc\n") << Changes { { 1, 1, 1, 1 } };
    QTest::newRow("inserted and deleted apart")
        << QStringLiteral("a\nb\nc\nd\ne\n") << QStringLiteral("a\nN\nb\nc\ne\n")
        << Changes { { 1, 0, 1, 1 }, { 3, 1, 4, 0 } };
    QTest::newRow("last line loses its break")
        << QStringLiteral("a\nb\n") << QStringLiteral("a\nb") << Changes { { 1, 1, 1, 1 } };
    QTest::newRow("repeated lines") << QStringLiteral("x\nx\nx\n") << QStringLiteral("x\nx\n")
                                    << Changes { { 2, 1, 2, 0 } };
}

void TstLineDiff::compare()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(Changes, expected);
    const Changes got = LineDiff::Compare(before, after);
    QCOMPARE(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
        QVERIFY2(got[i] == expected[i],
            qPrintable(QStringLiteral("change %1: %2,%3 -> %4,%5")
                           .arg(i)
                           .arg(got[i].oldFrom)
                           .arg(got[i].oldCount)
                           .arg(got[i].newFrom)
                           .arg(got[i].newCount)));
}

void TstLineDiff::unified_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("expected");
    QTest::newRow("equal") << QStringLiteral("a\n") << QStringLiteral("a\n") << 3 << QString();
    QTest::newRow("one change with context")
        << QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n") << QStringLiteral("1\n2\n3\n4\nV\n6\n7\n8\n") << 2
        << QStringLiteral("--- a\n+++ b\n@@ -3,5 +3,5 @@\n 3\n 4\n-5\n+V\n 6\n 7\n");
    QTest::newRow("far changes make two hunks")
        << QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8\n9\n") << QStringLiteral("X\n2\n3\n4\n5\n6\n7\n8\nY\n") << 1
        << QStringLiteral("--- a\n+++ b\n@@ -1,2 +1,2 @@\n-1\n+X\n 2\n@@ -8,2 +8,2 @@\n 8\n-9\n+Y\n");
    QTest::newRow("near changes share a hunk")
        << QStringLiteral("1\n2\n3\n4\n5\n") << QStringLiteral("X\n2\n3\nY\n5\n") << 1
        << QStringLiteral("--- a\n+++ b\n@@ -1,5 +1,5 @@\n-1\n+X\n 2\n 3\n-4\n+Y\n 5\n");
    QTest::newRow("into an empty text")
        << QString() << QStringLiteral("a\n") << 3 << QStringLiteral("--- a\n+++ b\n@@ -0,0 +1 @@\n+a\n");
    QTest::newRow("no line break at the end")
        << QStringLiteral("a\nb") << QStringLiteral("a\nb\n") << 3
        << QStringLiteral("--- a\n+++ b\n@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n");
}

void TstLineDiff::unified()
{
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(int, context);
    QFETCH(QString, expected);
    QCOMPARE(LineDiff::Unified(before, after, QStringLiteral("a"), QStringLiteral("b"), context), expected);
}

// Applying the changes to the old lines gives the new ones, and no difference is
// shorter than the one found (old + new - 2 x common lines).
void TstLineDiff::randomTextsGiveShortestCorrectDifference()
{
    QRandomGenerator random(19);
    for (int round = 0; round < 300; ++round) {
        auto text = [&random](int lines) {
            QString t;
            for (int i = 0; i < lines; ++i)
                t += QString(QChar(u'a' + random.bounded(4))) + u'\n';
            return t;
        };
        const QString before = text(random.bounded(25));
        const QString after = text(random.bounded(25));
        int changed = 0;
        QCOMPARE(applied(before, after, LineDiff::Compare(before, after), &changed), linesOf(after));
        QCOMPARE(changed,
            int(linesOf(before).size() + linesOf(after).size())
                - 2 * commonLines(linesOf(before), linesOf(after)));
    }
}

// Texts of the same lines in another order run out of the work allowed: the difference is
// then coarser, but applying it still gives the new text.
void TstLineDiff::pastTheWorkBudgetStillCorrect()
{
    QString before;
    QString after;
    for (int i = 0; i < 40000; ++i) {
        before += QString::number(i % 5000) + u'\n';
        after += QString::number((39999 - i) % 5000) + u'\n';
    }
    int changed = 0;
    QCOMPARE(applied(before, after, LineDiff::Compare(before, after), &changed), linesOf(after));
    QVERIFY(changed <= 80000);
}

QTEST_GUILESS_MAIN(TstLineDiff)
#include "tst_linediff.moc"
