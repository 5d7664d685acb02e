#include "base/textaccess.h"
#include "tags/tagdefs.h"
#include "tags/tagmatch.h"

#include <QtTest>

namespace {

// A text access that counts the characters it hands out.
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

// Removes the marker characters from marked; positions[k] gets where markers[k] stood
// in the plain text (-1 when absent; a second occurrence goes to the next slot when
// the same character is listed twice).
QString unmark(const QString &marked, const QString &markers, QVector<int> *positions)
{
    positions->fill(-1, markers.size());
    QString plain;
    for (const QChar c : marked) {
        const int k = int(markers.indexOf(c));
        if (k < 0) {
            plain += c;
            continue;
        }
        int slot = k;
        while (slot < markers.size() && (markers.at(slot) != c || positions->at(slot) >= 0))
            ++slot;
        if (slot < markers.size())
            (*positions)[slot] = int(plain.size());
    }
    return plain;
}

} // namespace

class TstTagMatch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matchAt_data();
    void matchAt();
    void elementOutward_data();
    void elementOutward();
    void partnerTooFar_data();
    void partnerTooFar();
    void readsOnlyTheBudget();
    void rulesFromDefinitions();
};

// "|" caret, "^" where the expected partner starts, "$" where an element with an
// implied end ends.
void TstTagMatch::matchAt_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<int>("status");

    const int matched = TagMatch::Matched;
    const int implied = TagMatch::ImpliedEnd;
    QTest::newRow("outer start of nested") << QStringLiteral("|<div><div>x</div>^</div>") << matched;
    QTest::newRow("inner end of nested") << QStringLiteral("<div>^<div>x</d|iv></div>") << matched;
    QTest::newRow("caret just after the end tag") << QStringLiteral("^<b>x</b>|") << matched;
    QTest::newRow("tag at the caret wins over the one before") << QStringLiteral("<b>|<i>^</i></b>") << -1;
    QTest::newRow("names ignore case") << QStringLiteral("|<DIV>x^</div>") << matched;
    QTest::newRow("void elements inside")
        << QStringLiteral("|<p><img src=a.png><br>text<wbr/>^</p>") << matched;
    QTest::newRow("void element") << QStringLiteral("<p>x<b|r>y</p>") << int(TagMatch::Single);
    QTest::newRow("self-closing") << QStringLiteral("<p>x<span|/>y</p>") << int(TagMatch::Single);
    QTest::newRow("end tag of a void element") << QStringLiteral("x</b|r>") << int(TagMatch::NoPartner);
    QTest::newRow("li ended by the next li") << QStringLiteral("<ul><|li>one$\n<li>two</ul>") << implied;
    QTest::newRow("li ended by the list's end") << QStringLiteral("<ul><li>a<li|>b$</ul>") << implied;
    QTest::newRow("list end over unclosed items") << QStringLiteral("^<ul><li>a<li>b</u|l>") << matched;
    QTest::newRow("p ended by a div") << QStringLiteral("<|p>text$<div>x</div>") << implied;
    QTest::newRow("p with its end tag") << QStringLiteral("|<p>a<b>b</b>^</p>") << matched;
    QTest::newRow("td ended by the next td") << QStringLiteral("<tr><t|d>1$<td>2</tr>") << implied;
    QTest::newRow("tr with open cells ended by a tr")
        << QStringLiteral("<table><|tr><td>1<td>2$<tr><td>3</table>") << implied;
    QTest::newRow("li holding a whole list")
        << QStringLiteral("<ul><|li>a<ul><li>b</li></ul>$<li>c</ul>") << implied;
    QTest::newRow("p at the end of the text") << QStringLiteral("<|p>text$\n") << implied;
    QTest::newRow("comment skipped forward") << QStringLiteral("|<div><!-- </div> -->x^</div>") << matched;
    QTest::newRow("comment skipped backward") << QStringLiteral("^<div><!-- <div> -->x</div|>") << matched;
    QTest::newRow("caret on a comment") << QStringLiteral("<div><!-- x |--></div>") << int(TagMatch::Single);
    QTest::newRow("tag inside a comment")
        << QStringLiteral("<div><!-- <i>x</i> <b|> --></div>") << int(TagMatch::NoTag);
    QTest::newRow("script content skipped")
        << QStringLiteral("|<div><script>if (a<b) x = \"</div>\";</script>^</div>") << matched;
    QTest::newRow("script start to its end")
        << QStringLiteral("<sc|ript>if (a<b) x = \"</p>\";^</SCRIPT>") << matched;
    QTest::newRow("tag inside a script")
        << QStringLiteral("<script>var s = \"<d|iv>\";</script>") << int(TagMatch::NoTag);
    QTest::newRow("end tag of a script") << QStringLiteral("^<script>a = \"<b>\"</scri|pt>") << matched;
    QTest::newRow("script skipped backward")
        << QStringLiteral("^<div><script>document.write(\"<div>\")</script></d|iv>") << matched;
    QTest::newRow("style skipped backward") << QStringLiteral("^<p><style>a>b{}</style></p|>") << matched;
    QTest::newRow("doctype") << QStringLiteral("<!DOC|TYPE html><html>") << int(TagMatch::Single);
    QTest::newRow("quoted >") << QStringLiteral("|<a title=\"1>2\">x^</a>") << matched;
    QTest::newRow("quoted <") << QStringLiteral("<a title=\"x<y\" hr|ef=1>z^</a>") << -1;
    QTest::newRow("unclosed start tag") << QStringLiteral("|<div><p>x</p>") << int(TagMatch::NoPartner);
    QTest::newRow("stray end tag") << QStringLiteral("x</di|v>") << int(TagMatch::NoPartner);
    QTest::newRow("unclosed inner element") << QStringLiteral("|<div><b>x^</div>") << matched;
    QTest::newRow("stray inner end tag") << QStringLiteral("^<div>x</b></d|iv>") << matched;
    QTest::newRow("text") << QStringLiteral("te|xt") << int(TagMatch::NoTag);
    QTest::newRow("less-than in text") << QStringLiteral("a < b |c") << int(TagMatch::NoTag);
}

void TstTagMatch::matchAt()
{
    QFETCH(QString, marked);
    QFETCH(int, status);
    QVector<int> at;
    const QString text = unmark(marked, QStringLiteral("|^$"), &at);
    const int caret = at[0];
    const int partner = at[1];
    const int end = at[2];
    if (status < 0) // rows whose partner is given by "^" alone
        status = TagMatch::Matched;

    StringTextAccess access(text);
    const TagMatch m = TagMatcher(access).matchAt(caret);
    QCOMPARE(int(m.status), status);
    if (status == TagMatch::NoTag) {
        QVERIFY(!m.tag.isValid());
        return;
    }
    QVERIFY(m.tag.start <= caret && caret <= m.tag.end);
    QCOMPARE(text.at(m.tag.start), QLatin1Char('<'));
    QCOMPARE(text.at(m.tag.end - 1), QLatin1Char('>'));
    if (status == TagMatch::Matched) {
        QCOMPARE(m.partner.start, partner);
        QCOMPARE(m.partner.name, m.tag.name);
        QCOMPARE(m.elementStart, std::min(m.tag.start, m.partner.start));
        QCOMPARE(m.elementEnd, std::max(m.tag.end, m.partner.end));
        // The partner's own partner is the tag at the caret.
        const TagMatch back = TagMatcher(access).matchAt(m.partner.start);
        QCOMPARE(int(back.status), int(TagMatch::Matched));
        QCOMPARE(back.partner.start, m.tag.start);
    } else if (status == TagMatch::ImpliedEnd) {
        QCOMPARE(m.elementStart, m.tag.start);
        QCOMPARE(m.elementEnd, end);
    }
}

// "|" the caret (or two: a selection); the rows give the texts of the elements that
// successive calls select, each call starting from the one before.
void TstTagMatch::elementOutward_data()
{
    QTest::addColumn<QString>("marked");
    QTest::addColumn<QStringList>("elements");

    QTest::newRow("caret in text") << QStringLiteral("<div><p>a|b</p></div>")
                                   << QStringList { QStringLiteral("<p>ab</p>"),
                                          QStringLiteral("<div><p>ab</p></div>") };
    QTest::newRow("caret in a start tag") << QStringLiteral("<div><p c|lass=x>a</p><br></div>")
                                          << QStringList { QStringLiteral("<p class=x>a</p>"),
                                                 QStringLiteral("<div><p class=x>a</p><br></div>") };
    QTest::newRow("caret in an end tag")
        << QStringLiteral("<ul><li><b>x</b></l|i></ul>")
        << QStringList { QStringLiteral("<li><b>x</b></li>"), QStringLiteral("<ul><li><b>x</b></li></ul>") };
    QTest::newRow("items without end tags")
        << QStringLiteral("<ul><li>a\n<li>b|c\n<li>d</ul>")
        << QStringList { QStringLiteral("<li>bc"), QStringLiteral("<ul><li>a\n<li>bc\n<li>d</ul>") };
    QTest::newRow("two siblings selected") << QStringLiteral("<div><b>x</b>|<i>y</i>|</div>")
                                           << QStringList { QStringLiteral("<div><b>x</b><i>y</i></div>") };
    QTest::newRow("inside a comment") << QStringLiteral("<div><!-- <b>x|</b> --></div>")
                                      << QStringList { QStringLiteral("<div><!-- <b>x</b> --></div>") };
    QTest::newRow("inside a script") << QStringLiteral("<div><script>var a = \"<p>|\";</script></div>")
                                     << QStringList { QStringLiteral("<script>var a = \"<p>\";</script>"),
                                            QStringLiteral("<div><script>var a = \"<p>\";</script></div>") };
    QTest::newRow("void element at the caret") << QStringLiteral(
        "<p>a|<br>b</p>") << QStringList { QStringLiteral("<br>"), QStringLiteral("<p>a<br>b</p>") };
    QTest::newRow("unclosed element passed over")
        << QStringLiteral("<div><font>a|b</div>") << QStringList { QStringLiteral("<div><font>ab</div>") };
    QTest::newRow("top level") << QStringLiteral("a|b") << QStringList();
}

void TstTagMatch::elementOutward()
{
    QFETCH(QString, marked);
    QFETCH(QStringList, elements);
    QVector<int> at;
    const QString text = unmark(marked, QStringLiteral("||"), &at);
    StringTextAccess access(text);
    const TagMatcher matcher(access);
    int a = at[0];
    int b = at[1] >= 0 ? at[1] : a;
    for (const QString &expected : elements) {
        const ElementRange e = matcher.elementAround(a, b);
        QCOMPARE(int(e.status), int(ElementRange::Found));
        QCOMPARE(text.mid(e.start, e.end - e.start), expected);
        QCOMPARE(e.open.start, e.start);
        a = e.start;
        b = e.end;
    }
    QCOMPARE(int(matcher.elementAround(a, b).status), int(ElementRange::None));
}

// A pair further apart than the budget says TooFar; the same pair within the budget
// matches, and a missing partner within it says NoPartner.
void TstTagMatch::partnerTooFar_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("budget");
    QTest::addColumn<int>("status");

    const QString filler = QStringLiteral("<p>lorem <b>ipsum</b> dolor</p>\n").repeated(2000);
    const QString pair = QStringLiteral("<div>") + filler + QStringLiteral("</div>");
    const int last = int(pair.size()) - 2;
    QTest::newRow("forward, small budget") << pair << 1 << 10000 << int(TagMatch::TooFar);
    QTest::newRow("forward, large budget") << pair << 1 << 1000000 << int(TagMatch::Matched);
    QTest::newRow("backward, small budget") << pair << last << 10000 << int(TagMatch::TooFar);
    QTest::newRow("backward, large budget") << pair << last << 1000000 << int(TagMatch::Matched);
    QTest::newRow("missing, large budget")
        << QStringLiteral("<div>") + filler << 1 << 1000000 << int(TagMatch::NoPartner);
    QTest::newRow("missing, small budget")
        << QStringLiteral("<div>") + filler << 1 << 10000 << int(TagMatch::TooFar);
    QTest::newRow("long comment, small budget")
        << QStringLiteral("<div><!--") + filler + QStringLiteral("--></div>") << 1 << 10000
        << int(TagMatch::TooFar);
    QTest::newRow("long script, small budget")
        << QStringLiteral("<div><script>") + filler + QStringLiteral("</script></div>") << 1 << 10000
        << int(TagMatch::TooFar);
}

void TstTagMatch::partnerTooFar()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, budget);
    QFETCH(int, status);
    StringTextAccess access(text);
    const TagMatcher matcher(access, HtmlTagRules::standard(), budget);
    const TagMatch m = matcher.matchAt(caret);
    QCOMPARE(int(m.status), status);
    QCOMPARE(m.tag.name, QStringLiteral("div"));
    if (status == TagMatch::TooFar)
        QCOMPARE(int(matcher.elementAround(caret, caret).status), int(ElementRange::TooFar));
}

// In a long document a query reads about its budget, not the text.
void TstTagMatch::readsOnlyTheBudget()
{
    const QString text = QStringLiteral("<body>")
        + QStringLiteral("<p>lorem <b>ipsum</b> dolor</p>\n").repeated(200000) + QStringLiteral("</body>");
    CountingAccess access(text);
    const int budget = 256 * 1024;
    const TagMatcher matcher(access, HtmlTagRules::standard(), budget);
    const int middle = int(text.indexOf(QLatin1String("<b>"), text.size() / 2));
    QCOMPARE(int(matcher.matchAt(1).status), int(TagMatch::TooFar));
    QCOMPARE(int(matcher.matchAt(int(text.size()) - 2).status), int(TagMatch::TooFar));
    QCOMPARE(int(matcher.matchAt(middle).status), int(TagMatch::Matched));
    QCOMPARE(int(matcher.elementAround(middle + 4, middle + 4).status), int(ElementRange::Found));
    QVERIFY2(access.read < 5 * 4 * budget, qPrintable(QString::number(access.read)));
}

// The tag definitions add void elements and optional end tags of their own.
void TstTagMatch::rulesFromDefinitions()
{
    TagDefs defs;
    defs.parse(QStringLiteral("[SPACER]\nends=0\n[ITEM]\nends=2\n[BOX]\nends=1\n"));
    const HtmlTagRules rules = HtmlTagRules::withDefs(defs);
    QVERIFY(rules.isVoid(QStringLiteral("spacer")));
    QVERIFY(rules.hasOptionalEnd(QStringLiteral("Item")));
    QVERIFY(!rules.isVoid(QStringLiteral("box")) && !rules.hasOptionalEnd(QStringLiteral("box")));
    QVERIFY(rules.isVoid(QStringLiteral("br")) && rules.hasOptionalEnd(QStringLiteral("li")));

    const QString text = QStringLiteral("<box><spacer><item>a</box>");
    StringTextAccess access(text);
    QCOMPARE(int(TagMatcher(access, rules).matchAt(0).status), int(TagMatch::Matched));
    QCOMPARE(int(TagMatcher(access, rules).matchAt(6).status), int(TagMatch::Single));
    const TagMatch item = TagMatcher(access, rules).matchAt(14);
    QCOMPARE(int(item.status), int(TagMatch::ImpliedEnd));
    QCOMPARE(item.elementEnd, int(text.indexOf(QLatin1String("</box>"))));
    // Without them <spacer> is an element whose end tag is missing.
    QCOMPARE(int(TagMatcher(access).matchAt(6).status), int(TagMatch::NoPartner));
}

QTEST_GUILESS_MAIN(TstTagMatch)
#include "tst_tagmatch.moc"
