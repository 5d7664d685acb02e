#include "base/textaccess.h"
#include "tags/tagassist.h"
#include "tags/taglookup.h"

#include <QtTest>

namespace {

// A text access that counts the characters it hands out, to see that a walk reads a
// stretch of a long line and not the whole of it.
class CountingAccess final : public TextAccess
{
public:
    explicit CountingAccess(const QString &text)
        : m_inner(text)
    {
    }
    int length() const override { return m_inner.length(); }
    int lineCount() const override { return m_inner.lineCount(); }
    int lineOf(int pos) const override { return m_inner.lineOf(pos); }
    int lineStart(int line) const override { return m_inner.lineStart(line); }
    int lineLength(int line) const override { return m_inner.lineLength(line); }
    QString lineText(int line) const override { return counted(m_inner.lineText(line)); }
    QString lineMid(int line, int from, int n) const override
    {
        return counted(m_inner.lineMid(line, from, n));
    }
    mutable qsizetype read = 0;

private:
    QString counted(const QString &s) const
    {
        read += s.size();
        return s;
    }
    StringTextAccess m_inner;
};

} // namespace

// The text with its "|" marker removed; *caret gets the marker's position.
static QString withCaret(const QString &marked, int *caret)
{
    *caret = int(marked.indexOf(QLatin1Char('|')));
    QString text = marked;
    text.remove(*caret, 1);
    return text;
}

class TstTagLookup : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void findTagAround_data();
    void findTagAround();
    void enclosingTagName_data();
    void enclosingTagName();
    void insideQuotedValue_data();
    void insideQuotedValue();
    void parInserterPosition_data();
    void parInserterPosition();
    void searchLimit();
    void middleOfLargeDocument();
    void longLineReadsOnlyAStretch_data();
    void longLineReadsOnlyAStretch();
};

void TstTagLookup::findTagAround_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<bool>("allowInside");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("start");

    QTest::newRow("caret just after x<b>y")
        << QStringLiteral("x<b>|y") << false << QStringLiteral("<b>") << 1;
    QTest::newRow("caret inside the name") << QStringLiteral("x<b|>y") << false << QStringLiteral("<b>") << 1;
    QTest::newRow("after a closing tag")
        << QStringLiteral("<b>x</b>|") << false << QStringLiteral("</b>") << 4;
    QTest::newRow("> between caret and <") << QStringLiteral("<b>x|") << false << QString() << -1;
    QTest::newRow("> between, allowInside") << QStringLiteral("<b>x|") << true << QStringLiteral("<b>") << 0;
    QTest::newRow("text start") << QStringLiteral("abc|<b>") << true << QString() << -1;
    QTest::newRow("caret at 0") << QStringLiteral("|<b>") << true << QString() << -1;
    QTest::newRow("never closed") << QStringLiteral("<b class=x|") << false << QString() << -1;
    QTest::newRow("multi-line tag") << QStringLiteral("<p>\n<a href=\"x.html\"\n   title=\"t\">|txt") << false
                                    << QStringLiteral("<a href=\"x.html\"\n   title=\"t\">") << 4;
    QTest::newRow("caret inside a value, line below")
        << QStringLiteral("<img\n src=\"a|.gif\">") << false << QStringLiteral("<img\n src=\"a.gif\">") << 0;
    QTest::newRow("comment") << QStringLiteral("<!-- a - b -->|") << false << QStringLiteral("<!-- a - b -->")
                             << 0;
    QTest::newRow("allowInside goes over lines")
        << QStringLiteral("<td>\n\n  text|") << true << QStringLiteral("<td>") << 0;
}

void TstTagLookup::findTagAround()
{
    QFETCH(QString, marked);
    QFETCH(bool, allowInside);
    QFETCH(QString, tag);
    QFETCH(int, start);
    int caret = 0;
    const QString text = withCaret(marked, &caret);
    StringTextAccess ta(text);
    TagRange r;
    QCOMPARE(GetTagAtCaret(ta, caret, allowInside, &r), tag);
    QCOMPARE(r.start, start);
    QCOMPARE(r.isValid() ? r.length : 0, int(tag.size()));
}

void TstTagLookup::enclosingTagName_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QString>("enclosing");
    QTest::addColumn<QString>("nameAt"); // GetTagNameAt(allowInside false)

    QTest::newRow("<TD|") << QStringLiteral("<TD|") << QStringLiteral("TD") << QStringLiteral("TD");
    QTest::newRow("<TD>|") << QStringLiteral("<TD>|") << QString() << QStringLiteral("TD");
    QTest::newRow("<TD>x|") << QStringLiteral("<TD>x|") << QString() << QString();
    QTest::newRow("after an argument")
        << QStringLiteral("<A HREF=\"x\" |") << QStringLiteral("A") << QStringLiteral("A");
    QTest::newRow("closing keeps /") << QStringLiteral("</TD|") << QStringLiteral("/TD")
                                     << QStringLiteral("/TD");
    QTest::newRow("plain text") << QStringLiteral("tekst |") << QString() << QString();
    QTest::newRow("over a line break")
        << QStringLiteral("<TABLE\n  border=1\n  |") << QStringLiteral("TABLE") << QStringLiteral("TABLE");
    QTest::newRow("name ends at line break")
        << QStringLiteral("<TR\n|") << QStringLiteral("TR") << QStringLiteral("TR");
    QTest::newRow("comment") << QStringLiteral("<!-- |") << QStringLiteral("!") << QStringLiteral("!");
    QTest::newRow("name after the caret")
        << QStringLiteral("<|DIV>") << QStringLiteral("DIV") << QStringLiteral("DIV");
}

void TstTagLookup::enclosingTagName()
{
    QFETCH(QString, marked);
    QFETCH(QString, enclosing);
    QFETCH(QString, nameAt);
    int caret = 0;
    const QString text = withCaret(marked, &caret);
    StringTextAccess ta(text);
    QCOMPARE(EnclosingTagName(ta, caret), enclosing);
    QCOMPARE(GetTagNameAt(ta, false, caret), nameAt);
}

void TstTagLookup::insideQuotedValue_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<bool>("inside");
    QTest::newRow("open value") << QStringLiteral("<A HREF=\"x |") << true;
    QTest::newRow("closed value") << QStringLiteral("<A HREF=\"x\" |") << false;
    QTest::newRow("second value") << QStringLiteral("<A B=\"1\" C=\"|") << true;
    QTest::newRow("value over lines") << QStringLiteral("<A TITLE=\"a\nb |") << true;
    QTest::newRow("outside any tag") << QStringLiteral("x=\"a |") << false;
    QTest::newRow("after the tag") << QStringLiteral("<A B=\"1>\" |") << false;
}

void TstTagLookup::insideQuotedValue()
{
    QFETCH(QString, marked);
    QFETCH(bool, inside);
    int caret = 0;
    const QString text = withCaret(marked, &caret);
    StringTextAccess ta(text);
    QCOMPARE(IsInsideQuotedValue(ta, caret), inside);
}

void TstTagLookup::parInserterPosition_data()
{
    QTest::addColumn<QString>("marked"); // "|" caret, "^" expected position (removed first)
    QTest::newRow("steps over a quoted value") << QStringLiteral("<A |HREF=\"a b>c\"^ X>");
    QTest::newRow("space right at caret") << QStringLiteral("<IMG|^ SRC>");
    QTest::newRow("up to >") << QStringLiteral("<B|^>");
    QTest::newRow("over lines") << QStringLiteral("<B|\nC=\"1\n2\"^>");
    QTest::newRow("none") << QStringLiteral("<B|");
    QTest::newRow("from inside a value") << QStringLiteral("<A HREF=\"a |b\"^ TITLE=\"c d\">");
}

void TstTagLookup::parInserterPosition()
{
    QFETCH(QString, marked);
    QString m = marked;
    const int expect = int(m.indexOf(QLatin1Char('^')));
    if (expect >= 0)
        m.remove(expect, 1);
    int caret = 0;
    const QString text = withCaret(m, &caret);
    StringTextAccess ta(text);
    QCOMPARE(ParInserterPosition(ta, caret), expect < 0 ? -1 : expect - 1);
}

void TstTagLookup::searchLimit()
{
    // The backward walk is bounded: a "<" farther back than the limit is not found.
    const QString near = QStringLiteral("<A ") + QString(1000, QLatin1Char('x'));
    const QString far = QStringLiteral("<A ") + QString(kTagSearchLimit + 10, QLatin1Char('x'));
    StringTextAccess nearTa(near), farTa(far);
    QCOMPARE(EnclosingTagName(nearTa, int(near.size())), QStringLiteral("A"));
    QCOMPARE(EnclosingTagName(farTa, int(far.size())), QString());
}

void TstTagLookup::middleOfLargeDocument()
{
    QString doc;
    for (int i = 0; i < 20000; ++i)
        doc += QStringLiteral("<p class=\"x\">akapit %1</p>\n").arg(i);
    const int mid = int(doc.size());
    doc += QStringLiteral("<td\n colspan=2 title=\"a b");
    const int inValue = int(doc.size());
    doc += QStringLiteral("\">\n");
    for (int i = 0; i < 20000; ++i)
        doc += QStringLiteral("<p>%1</p>\n").arg(i);
    StringTextAccess ta(doc);
    QCOMPARE(EnclosingTagName(ta, inValue), QStringLiteral("td"));
    QVERIFY(IsInsideQuotedValue(ta, inValue));
    QVERIFY(!IsInsideQuotedValue(ta, mid - 3));
    QCOMPARE(GetTagAtCaret(ta, inValue, false), QStringLiteral("<td\n colspan=2 title=\"a b\">"));
    QVERIFY(IsInsideQuotedValue(ta, int(doc.lastIndexOf(QStringLiteral("\"x\""), mid)) + 1));
    QCOMPARE(ParInserterPosition(ta, mid + 5), mid + 14);
}

void TstTagLookup::longLineReadsOnlyAStretch_data()
{
    QTest::addColumn<int>("walk");
    QTest::addColumn<QString>("expected");
    QTest::newRow("enclosing tag") << 0 << QStringLiteral("IMG");
    QTest::newRow("inside a quoted value") << 1 << QStringLiteral("1");
    QTest::newRow("tag at the caret") << 2 << QStringLiteral("<IMG ALT=\"a b\" SRC=\"x.gif\">");
    QTest::newRow("parameter position") << 3 << QStringLiteral("3");
    QTest::newRow("indent before the caret") << 4 << QStringLiteral("  ");
}

void TstTagLookup::longLineReadsOnlyAStretch()
{
    QFETCH(int, walk);
    QFETCH(QString, expected);
    // One line of 2 MB (minified markup), the caret inside a tag in its middle.
    const QString filler = QStringLiteral("<p class=\"x\">tekst akapitu</p>");
    QString text = QStringLiteral("  ");
    while (text.size() < 1000 * 1000)
        text += filler;
    const int tagStart = int(text.size());
    text += QStringLiteral("<IMG ALT=\"a b\" SRC=\"x.gif\">");
    const int caret = tagStart + 11; // between "a" and " b"
    while (text.size() < 2000 * 1000)
        text += filler;
    CountingAccess ta(text);
    QString got;
    switch (walk) {
    case 0:
        got = EnclosingTagName(ta, caret);
        break;
    case 1:
        got = IsInsideQuotedValue(ta, caret) ? QStringLiteral("1") : QStringLiteral("0");
        break;
    case 2:
        got = GetTagAtCaret(ta, caret, false);
        break;
    case 3:
        got = QString::number(ParInserterPosition(ta, caret) - caret);
        break;
    default:
        got = LineIndentBefore(ta, caret);
        break;
    }
    QCOMPARE(got, expected);
    QVERIFY2(ta.read < 64 * 1024, qPrintable(QStringLiteral("%1 characters read").arg(ta.read)));
}

QTEST_GUILESS_MAIN(TstTagLookup)
#include "tst_taglookup.moc"
