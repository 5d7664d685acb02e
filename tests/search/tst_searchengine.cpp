#include "base/documents.h"
#include "search/findresults.h"
#include "search/searchengine.h"

#include <QRegularExpression>
#include <QtTest>

using Positions = QVector<int>;

class TestSearchEngine : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void prepareLiteralOrRegex_data();
    void prepareLiteralOrRegex();
    void emojiIsTwoPositionsNeverSplit_data();
    void emojiIsTwoPositionsNeverSplit();
    void compileErrorText();
    void errorPositionInTypedText_data();
    void errorPositionInTypedText();
    void findNextDoesNotWrap();
    void replaceOnlyExactSelection_data();
    void replaceOnlyExactSelection();
    void replaceSelectsInsertedText();
    void replaceAllTemplate_data();
    void replaceAllTemplate();
    void replaceAllRowPositionsJump();
    void replaceAllNoMatch();
    void replaceAllUndo();
    void replaceAllInSelection();
    void replaceAllWholeLongReplacement();
    void replaceAllLongText_data();
    void replaceAllLongText();
    void findAllDocuments();
    void findAllInSelection();
    void cancelStopsEachDocument();
    void cancelledReplaceKeepsRest();
    void progressTexts();
    void history_data();
    void history();
    void jumpToClosedOrSummary();
    void resultsModel();
};

namespace {

Positions findAllPositions(const QString &findText, bool regex, const QString &text)
{
    StringDocumentSet docs;
    docs.add(text, QStringLiteral("/tmp/a.html"));
    SearchOptions o;
    o.regularExpression = regex;
    const Regex re = SearchEngine::prepare(findText, o);
    SearchEngine engine;
    engine.setPollInterval(0);
    const auto r = engine.findAll(re, docs, o, findText);
    Positions p;
    for (const FindResultRow &row : r.rows)
        if (row.image == FindResultRow::Found)
            p << int(row.position);
    return p;
}

} // namespace

void TestSearchEngine::prepareLiteralOrRegex_data()
{
    QTest::addColumn<QString>("findText");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Positions>("positions");

    QTest::newRow("x.y literal") << QStringLiteral("x.y") << false << QStringLiteral("xay x.y xby")
                                 << Positions { 4 };
    QTest::newRow("x.y regex") << QStringLiteral("x.y") << true << QStringLiteral("xay x.y xby")
                               << Positions { 0, 4, 8 };
    QTest::newRow("brackets literal")
        << QStringLiteral("a[1](b)") << false << QStringLiteral("a1b a[1](b)") << Positions { 4 };
    QTest::newRow("case ignored") << QStringLiteral("Ąb") << false << QStringLiteral("ąB ĄB")
                                  << Positions { 0, 3 };
    QTest::newRow("dot takes line breaks by default")
        << QStringLiteral("a.b") << true << QStringLiteral("a\nb") << Positions { 0 };
}

void TestSearchEngine::prepareLiteralOrRegex()
{
    QFETCH(QString, findText);
    QFETCH(bool, regex);
    QFETCH(QString, text);
    QFETCH(Positions, positions);
    QCOMPARE(findAllPositions(findText, regex, text), positions);
}

// Positions are QString indexes: a character outside the Basic Multilingual Plane is two
// of them, and no match starts or ends between the two.
void TestSearchEngine::emojiIsTwoPositionsNeverSplit_data()
{
    QTest::addColumn<QString>("findText");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Positions>("positions");
    QTest::addColumn<QStringList>("matches");
    const QString e = QStringLiteral("\U0001F600");
    QTest::newRow("dot") << QStringLiteral(".") << true << QStringLiteral("a") + e + QStringLiteral("b")
                         << Positions { 0, 1, 3 }
                         << QStringList { QStringLiteral("a"), e, QStringLiteral("b") };
    QTest::newRow("two dots") << QStringLiteral("..") << true << e + e + QStringLiteral("c")
                              << Positions { 0 } << QStringList { e + e };
    QTest::newRow("negated class") << QStringLiteral("[^a]") << true << QStringLiteral("a") + e
                                   << Positions { 1 } << QStringList { e };
    QTest::newRow("class beside an emoji") << QStringLiteral("[a-z]+") << true << e + QStringLiteral("ab") + e
                                           << Positions { 2 } << QStringList { QStringLiteral("ab") };
    QTest::newRow("literal after emoji") << QStringLiteral("b") << false << e + e + QStringLiteral("b")
                                         << Positions { 4 } << QStringList { QStringLiteral("b") };
    QTest::newRow("the emoji itself")
        << e << false << QStringLiteral("x") + e + e << Positions { 1, 3 } << QStringList { e, e };
}

void TestSearchEngine::emojiIsTwoPositionsNeverSplit()
{
    QFETCH(QString, findText);
    QFETCH(bool, regex);
    QFETCH(QString, text);
    QFETCH(Positions, positions);
    QFETCH(QStringList, matches);
    StringDocumentSet docs;
    docs.add(text, QStringLiteral("/tmp/a.html"));
    SearchOptions o;
    o.regularExpression = regex;
    SearchEngine engine;
    engine.setPollInterval(0);
    const auto r = engine.findAll(SearchEngine::prepare(findText, o), docs, o, findText);
    Positions found;
    QStringList texts;
    for (const FindResultRow &row : r.rows) {
        if (row.image != FindResultRow::Found)
            continue;
        found << int(row.position);
        texts << row.text;
        QCOMPARE(text.mid(row.position, row.text.size()), row.text);
    }
    QCOMPARE(found, positions);
    QCOMPARE(texts, matches);
}

void TestSearchEngine::compileErrorText()
{
    SearchOptions o;
    o.regularExpression = true;
    const Regex re = SearchEngine::prepare(QStringLiteral("("), o);
    QVERIFY(!re.isValid());
    QCOMPARE(SearchTexts::compileError(re),
        QStringLiteral("Błąd w wyrażeniu regularnym.\nNieparzyste nawiasy ()."));
    // Without regular expressions the same text is an ordinary character.
    o.regularExpression = false;
    QVERIFY(SearchEngine::prepare(QStringLiteral("("), o).isValid());
}

void TestSearchEngine::errorPositionInTypedText_data()
{
    QTest::addColumn<QString>("findText");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<int>("offset");
    const QChar lone(0xD800);
    QTest::newRow("lone surrogate first") << QString(lone) + QStringLiteral("ab") << false << 0;
    QTest::newRow("after one quoted") << QStringLiteral(".a") + lone << false << 2;
    QTest::newRow("after two quoted") << QStringLiteral("(.") + lone << false << 2;
    QTest::newRow("between quoted") << QStringLiteral("a\\") + lone + QStringLiteral("$^") << false << 2;
    QTest::newRow("regex counts as typed") << QStringLiteral("\\.") + lone << true << 2;
}

void TestSearchEngine::errorPositionInTypedText()
{
    QFETCH(QString, findText);
    QFETCH(bool, regex);
    QFETCH(int, offset);
    SearchOptions o;
    o.regularExpression = regex;
    const Regex re = SearchEngine::prepare(findText, o);
    QVERIFY(!re.isValid());
    QCOMPARE(re.errorOffset(), offset);
    QCOMPARE(findText.at(offset), QChar(0xD800));
}

void TestSearchEngine::findNextDoesNotWrap()
{
    StringDocument doc(1, QStringLiteral("abc abc"));
    const Regex re = SearchEngine::prepare(QStringLiteral("abc"), SearchOptions());
    QVERIFY(SearchEngine::findNext(re, doc).found);
    QCOMPARE(doc.selStart(), 0);
    QCOMPARE(doc.selLength(), 3);
    QVERIFY(SearchEngine::findNext(re, doc).found);
    QCOMPARE(doc.selStart(), 4);
    const auto last = SearchEngine::findNext(re, doc);
    QVERIFY(!last.found);
    QVERIFY(last.error.isEmpty());
    QCOMPARE(doc.selStart(), 4); // selection untouched, no wrap to the first match
    QCOMPARE(doc.selLength(), 3);
    doc.setSelection(7, 0);
    QVERIFY(!SearchEngine::findNext(re, doc).found);
    QCOMPARE(doc.selStart(), 7);
}

void TestSearchEngine::replaceOnlyExactSelection_data()
{
    QTest::addColumn<QString>("findText");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<int>("nextStart"); // -1: no match after the selection

    // text: "xx abc xx abc"
    QTest::newRow("selection holds a match and more") << QStringLiteral("abc") << 2 << 5 << 10;
    QTest::newRow("selection is part of a match") << QStringLiteral("abc") << 3 << 2 << 10;
    QTest::newRow("first match shorter than selection") << QStringLiteral("x") << 0 << 2 << 7;
    QTest::newRow("match not at selection start") << QStringLiteral("abc") << 2 << 4 << 10;
    QTest::newRow("caret only") << QStringLiteral("abc") << 11 << 0 << -1;
}

void TestSearchEngine::replaceOnlyExactSelection()
{
    QFETCH(QString, findText);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(int, nextStart);
    const QString text = QStringLiteral("xx abc xx abc");
    StringDocument doc(1, text);
    doc.setSelection(selStart, selLength);
    const Regex re = SearchEngine::prepare(findText, SearchOptions());
    const auto r = SearchEngine::replace(re, doc, QStringLiteral("Z"), false);
    QVERIFY(!r.replaced);
    QCOMPARE(doc.text(), text);
    QVERIFY(!doc.isModified());
    QCOMPARE(r.found, nextStart >= 0);
    if (nextStart >= 0)
        QCOMPARE(doc.selStart(), nextStart);
}

void TestSearchEngine::replaceSelectsInsertedText()
{
    StringDocument doc(1, QStringLiteral("ab ab"));
    doc.setSelection(0, 2);
    SearchOptions o;
    o.regularExpression = true;
    const Regex re = SearchEngine::prepare(QStringLiteral("(a)(b)"), o);
    auto r = SearchEngine::replace(re, doc, QStringLiteral("$2$1$1"), true);
    QVERIFY(r.replaced);
    QVERIFY(r.found);
    QCOMPARE(doc.text(), QStringLiteral("baa ab"));
    QCOMPARE(doc.selStart(), 4); // the next match
    QVERIFY(doc.isModified());
    r = SearchEngine::replace(re, doc, QStringLiteral("$2$1$1"), true);
    QVERIFY(r.replaced);
    QVERIFY(!r.found);
    QCOMPARE(doc.text(), QStringLiteral("baa baa"));
    QCOMPARE(doc.selStart(), 4); // no next match: the inserted text stays selected
    QCOMPARE(doc.selLength(), 3);
    QVERIFY(doc.undoSnapshot());
    QCOMPARE(doc.text(), QStringLiteral("baa ab"));
}

void TestSearchEngine::replaceAllTemplate_data()
{
    QTest::addColumn<QString>("findText");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("special");
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("xax with UzSS") << QStringLiteral("x") << false << true << QStringLiteral("[$&]")
                                   << QStringLiteral("xax") << QStringLiteral("[x]a[x]");
    QTest::newRow("xax without UzSS") << QStringLiteral("x") << false << false << QStringLiteral("[$&]")
                                      << QStringLiteral("xax") << QStringLiteral("[$&]a[$&]");
    QTest::newRow("groups swapped") << QStringLiteral("(\\w+)=(\\w+)") << true << true
                                    << QStringLiteral("$2=$1") << QStringLiteral("a=b; cc=dd")
                                    << QStringLiteral("b=a; dd=cc");
    QTest::newRow("empty matches step on") << QStringLiteral("x*") << true << false << QStringLiteral("-")
                                           << QStringLiteral("axb") << QStringLiteral("-a--b-");
    QTest::newRow("delete") << QStringLiteral("<b>") << false << false << QString()
                            << QStringLiteral("<b>a<B>b") << QStringLiteral("ab");
}

void TestSearchEngine::replaceAllTemplate()
{
    QFETCH(QString, findText);
    QFETCH(bool, regex);
    QFETCH(bool, special);
    QFETCH(QString, templ);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    StringDocumentSet docs;
    docs.add(text);
    SearchOptions o;
    o.regularExpression = regex;
    o.specialSequences = special;
    SearchEngine engine;
    engine.replaceAll(SearchEngine::prepare(findText, o), docs, o, findText, templ);
    QCOMPARE(docs.active()->text(), expected);
}

void TestSearchEngine::replaceAllRowPositionsJump()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("xax"), QStringLiteral("/strony/index.html"));
    doc->setSelection(1, 1);
    SearchOptions o;
    o.specialSequences = true;
    SearchEngine engine;
    const auto r = engine.replaceAll(
        SearchEngine::prepare(QStringLiteral("x"), o), docs, o, QStringLiteral("x"), QStringLiteral("[$&]"));
    QCOMPARE(doc->text(), QStringLiteral("[x]a[x]"));
    QCOMPARE(doc->selStart(), 1); // the old selection is restored
    QCOMPARE(doc->selLength(), 1);
    QCOMPARE(r.count, 2);
    QCOMPARE(r.rows.size(), size_t(3));
    const int expectedPos[] = { 0, 4 };
    for (int i = 0; i < 2; ++i) {
        const FindResultRow &row = r.rows[size_t(i)];
        QCOMPARE(row.image, int(FindResultRow::Replaced));
        QCOMPARE(row.position, expectedPos[i]);
        QCOMPARE(row.text, QStringLiteral("x"));
        QCOMPARE(row.replacement, QStringLiteral("[x]"));
        QCOMPARE(row.document, QStringLiteral("index.html"));
        QCOMPARE(row.documentId, doc->documentId());
        QCOMPARE(SearchEngine::jumpTo(docs, row), SearchEngine::JumpResult::Selected);
        QCOMPARE(doc->selectedText(), QStringLiteral("[x]"));
        QCOMPARE(doc->selStart(), expectedPos[i]);
    }
    QCOMPARE(r.rows.back().image, int(FindResultRow::Summary));
    QCOMPARE(r.rows.back().text, QStringLiteral("Zamieniono 2 wystąpień wyrażenia \"x\"."));
}

void TestSearchEngine::replaceAllNoMatch()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("abc"));
    QVERIFY(!doc->isModified());
    SearchEngine engine;
    const auto r = engine.replaceAll(SearchEngine::prepare(QStringLiteral("q"), SearchOptions()), docs,
        SearchOptions(), QStringLiteral("q"), QStringLiteral("z"));
    QCOMPARE(r.count, 0);
    QCOMPARE(doc->text(), QStringLiteral("abc"));
    QVERIFY(doc->isModified());
    QCOMPARE(r.rows.size(), size_t(1));
    QCOMPARE(r.rows[0].image, int(FindResultRow::Summary));
    QCOMPARE(r.rows[0].text, QStringLiteral("Zamieniono 0 wystąpień wyrażenia \"q\"."));
}

void TestSearchEngine::replaceAllUndo()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("one two one"));
    doc->setSelection(4, 3);
    SearchEngine engine;
    engine.replaceAll(SearchEngine::prepare(QStringLiteral("one"), SearchOptions()), docs, SearchOptions(),
        QStringLiteral("one"), QStringLiteral("1"));
    QCOMPARE(doc->text(), QStringLiteral("1 two 1"));
    QVERIFY(doc->undoSnapshot());
    QCOMPARE(doc->text(), QStringLiteral("one two one"));
    QCOMPARE(doc->selStart(), 4);
    QCOMPARE(doc->selLength(), 3);
}

void TestSearchEngine::replaceAllInSelection()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("aa|aa|aa"));
    doc->setSelection(3, 2);
    SearchOptions o;
    o.inSelection = true;
    SearchEngine engine;
    const auto r = engine.replaceAll(
        SearchEngine::prepare(QStringLiteral("a"), o), docs, o, QStringLiteral("a"), QStringLiteral("bb"));
    QCOMPARE(doc->text(), QStringLiteral("aa|bbbb|aa"));
    QCOMPARE(doc->selStart(), 3); // all of the new text selected
    QCOMPARE(doc->selLength(), 4);
    QCOMPARE(r.rows[0].position, 3);
    QCOMPARE(r.rows[1].position, 5);
}

void TestSearchEngine::replaceAllWholeLongReplacement()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("<x>"));
    const QString longText(300, QLatin1Char('w'));
    SearchEngine engine;
    engine.replaceAll(SearchEngine::prepare(QStringLiteral("x"), SearchOptions()), docs, SearchOptions(),
        QStringLiteral("x"), longText);
    QCOMPARE(doc->text(), QLatin1Char('<') + longText + QLatin1Char('>'));
}

// Texts of megabytes take the path that reserves rows from the first stretch's matches
// and shares repeated texts between rows: every row still says what it did.
void TestSearchEngine::replaceAllLongText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("findText");
    QTest::addColumn<QString>("replacement");

    const QString lines = QStringLiteral("<p class=\"a\">x</p><p class=\"bb\">y</p>\n").repeated(40000);
    QTest::newRow("matches all along")
        << lines << QStringLiteral("<p class=\"(\\w+)\">") << QStringLiteral("<div id=\"$1\">");
    QTest::newRow("matches crowded at the start")
        << QStringLiteral("ab").repeated(100000) + QString(2000000, QLatin1Char('-')) << QStringLiteral("b")
        << QStringLiteral("[$&]");
    QTest::newRow("each match different") << [] {
        QString t;
        for (int i = 0; i < 200000; ++i)
            t += QStringLiteral("n=%1;").arg(i);
        return t;
    }() << QStringLiteral("n=(\\d+)") << QStringLiteral("$1");
}

void TestSearchEngine::replaceAllLongText()
{
    QFETCH(QString, text);
    QFETCH(QString, findText);
    QFETCH(QString, replacement);
    StringDocumentSet docs;
    StringDocument *doc = docs.add(text);
    SearchOptions o;
    o.regularExpression = true;
    o.specialSequences = true;
    SearchEngine engine;
    const auto r = engine.replaceAll(SearchEngine::prepare(findText, o), docs, o, findText, replacement);

    // The same replacement, match by match, with QRegularExpression.
    const QRegularExpression re(findText);
    QString expected;
    qsizetype copied = 0;
    qsizetype i = 0;
    auto it = re.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QString inserted = replacement;
        inserted.replace(QStringLiteral("$&"), m.captured(0)).replace(QStringLiteral("$1"), m.captured(1));
        expected += QStringView(text).mid(copied, m.capturedStart() - copied);
        QVERIFY(i < r.count);
        const FindResultRow &row = r.rows[size_t(i++)];
        QCOMPARE(row.image, int(FindResultRow::Replaced));
        QCOMPARE(row.position, expected.size());
        QCOMPARE(row.text, m.captured(0));
        QCOMPARE(row.replacement, inserted);
        expected += inserted;
        copied = m.capturedEnd();
    }
    expected += QStringView(text).mid(copied);
    QCOMPARE(r.count, i);
    QCOMPARE(r.rows.size(), size_t(i + 1));
    QCOMPARE(doc->text(), expected);
    // Rows reserved for more matches than came are given back.
    QVERIFY(r.rows.capacity() <= 2 * r.rows.size() + 4096);
}

void TestSearchEngine::findAllDocuments()
{
    StringDocumentSet docs;
    StringDocument *a = docs.add(QStringLiteral("a-a"), QStringLiteral("/x/one.htm"));
    StringDocument *b = docs.add(QStringLiteral("bab"), QStringLiteral("two.htm"));
    docs.activate(0);
    SearchOptions o;
    SearchEngine engine;
    const Regex re = SearchEngine::prepare(QStringLiteral("A"), o);
    auto r = engine.findAll(re, docs, o, QStringLiteral("A"));
    QCOMPARE(r.count, 2); // active document only
    o.allDocuments = true;
    r = engine.findAll(re, docs, o, QStringLiteral("A"));
    QCOMPARE(r.count, 3);
    QCOMPARE(r.rows.size(), size_t(4));
    QCOMPARE(r.rows[0].documentId, a->documentId());
    QCOMPARE(r.rows[0].document, QStringLiteral("one.htm"));
    QCOMPARE(r.rows[1].position, 2);
    QCOMPARE(r.rows[2].documentId, b->documentId());
    QCOMPARE(r.rows[2].position, 1);
    QCOMPARE(r.rows[2].text, QStringLiteral("a"));
    QCOMPARE(r.rows[3].text, QStringLiteral("Znaleziono 3 wystąpień wyrażenia \"A\"."));
    QVERIFY(!a->isModified());
    QVERIFY(!b->isModified());
}

void TestSearchEngine::findAllInSelection()
{
    StringDocument *doc;
    StringDocumentSet docs;
    doc = docs.add(QStringLiteral("ab ab ab"));
    doc->setSelection(2, 4); // " ab "
    SearchOptions o;
    o.inSelection = true;
    o.regularExpression = true;
    SearchEngine engine;
    const auto r
        = engine.findAll(SearchEngine::prepare(QStringLiteral("ab"), o), docs, o, QStringLiteral("ab"));
    QCOMPARE(r.count, 1);
    QCOMPARE(r.rows[0].position, 3);
}

void TestSearchEngine::cancelStopsEachDocument()
{
    StringDocumentSet docs;
    docs.add(QStringLiteral("aaaa"));
    docs.add(QStringLiteral("aaaa"));
    SearchOptions o;
    o.allDocuments = true;
    SearchEngine engine;
    engine.setPollInterval(0);
    int asked = 0;
    engine.setCancel([&asked] { return ++asked == 2; });
    const auto r
        = engine.findAll(SearchEngine::prepare(QStringLiteral("a"), o), docs, o, QStringLiteral("a"));
    QVERIFY(r.cancelled);
    // The first document stops after the match during which Esc was seen, every later
    // one after its first match.
    QCOMPARE(r.count, 3);
    QCOMPARE(r.rows[2].documentId, docs.at(1)->documentId());
}

void TestSearchEngine::cancelledReplaceKeepsRest()
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(QStringLiteral("aaaa"));
    SearchEngine engine;
    engine.setPollInterval(0);
    engine.setCancel([] { return true; });
    const auto r = engine.replaceAll(SearchEngine::prepare(QStringLiteral("a"), SearchOptions()), docs,
        SearchOptions(), QStringLiteral("a"), QStringLiteral("bb"));
    QCOMPARE(r.count, 1);
    QCOMPARE(doc->text(), QStringLiteral("bbaaa"));
}

void TestSearchEngine::progressTexts()
{
    StringDocumentSet docs;
    docs.add(QStringLiteral("a a a"));
    QStringList seen;
    SearchEngine engine;
    engine.setPollInterval(0);
    engine.setProgress([&seen](const QString &t) { seen << t; });
    engine.findAll(SearchEngine::prepare(QStringLiteral("a"), SearchOptions()), docs, SearchOptions(),
        QStringLiteral("a"));
    QVERIFY(
        seen.contains(QStringLiteral("Znaleziono 1 dopasowań. Naciśnij <Esc> aby przerwać wyszukiwanie...")));
    QCOMPARE(
        seen.last(), QStringLiteral("Znaleziono 3 dopasowań. Naciśnij <Esc> aby przerwać wyszukiwanie..."));
    seen.clear();
    engine.replaceAll(SearchEngine::prepare(QStringLiteral("a"), SearchOptions()), docs, SearchOptions(),
        QStringLiteral("a"), QStringLiteral("b"));
    QCOMPARE(
        seen.last(), QStringLiteral("Znaleziono 3 dopasowań. Naciśnij <Esc> aby przerwać zamienianie..."));
}

void TestSearchEngine::history_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("after");

    QStringList fifteen;
    for (int i = 15; i >= 1; --i)
        fifteen << QStringLiteral("t%1").arg(i);
    QStringList sixteen = fifteen;
    sixteen.prepend(QStringLiteral("t16"));
    sixteen.removeLast();
    QTest::newRow("16th entry drops the oldest") << fifteen << QStringLiteral("t16") << sixteen;

    QStringList moved = fifteen;
    moved.removeAt(7); // "t8"
    moved.prepend(QStringLiteral("T8"));
    QTest::newRow("other case replaces and moves up") << fifteen << QStringLiteral("T8") << moved;
    QTest::newRow("first entry") << QStringList() << QStringLiteral("abc")
                                 << QStringList { QStringLiteral("abc") };
    QTest::newRow("empty not stored")
        << QStringList { QStringLiteral("a") } << QString() << QStringList { QStringLiteral("a") };
    QTest::newRow("cut to 255") << QStringList() << QString(300, QLatin1Char('q'))
                                << QStringList { QString(255, QLatin1Char('q')) };
    QTest::newRow("Polish case") << QStringList { QStringLiteral("żółw"), QStringLiteral("b") }
                                 << QStringLiteral("ŻÓŁW")
                                 << QStringList { QStringLiteral("ŻÓŁW"), QStringLiteral("b") };
}

void TestSearchEngine::history()
{
    QFETCH(QStringList, before);
    QFETCH(QString, text);
    QFETCH(QStringList, after);
    SearchEngine::addToHistory(before, text);
    QCOMPARE(before, after);
}

void TestSearchEngine::jumpToClosedOrSummary()
{
    StringDocumentSet docs;
    docs.add(QStringLiteral("abc"));
    StringDocument *second = docs.add(QStringLiteral("xyz abc"));
    SearchOptions o;
    o.allDocuments = true;
    SearchEngine engine;
    const auto r
        = engine.findAll(SearchEngine::prepare(QStringLiteral("abc"), o), docs, o, QStringLiteral("abc"));
    QCOMPARE(r.rows.size(), size_t(3));
    docs.activate(0);
    QCOMPARE(SearchEngine::jumpTo(docs, r.rows[1]), SearchEngine::JumpResult::Selected);
    QCOMPARE(docs.activeIndex(), 1);
    QCOMPARE(second->selStart(), 4);
    QCOMPARE(second->selLength(), 3);
    QCOMPARE(SearchEngine::jumpTo(docs, r.rows[2]), SearchEngine::JumpResult::Ignored);
    docs.remove(0);
    QCOMPARE(SearchEngine::jumpTo(docs, r.rows[0]), SearchEngine::JumpResult::DocumentClosed);
}

void TestSearchEngine::resultsModel()
{
    FindResultsModel model;
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Znaleziony fragment"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Indeks (#)"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Dokument"));
    QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QStringLiteral("Zamieniono na"));
    QCOMPARE(FindResultsModel::defaultColumnWidth(0), 350);
    QCOMPARE(FindResultsModel::defaultColumnWidth(1), 60);

    StringDocumentSet docs;
    docs.add(QStringLiteral("x y x"), QStringLiteral("C:/a/b.html"));
    SearchEngine engine;
    auto r = engine.replaceAll(SearchEngine::prepare(QStringLiteral("x"), SearchOptions()), docs,
        SearchOptions(), QStringLiteral("x"), QStringLiteral("zz"));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.appendRows(std::move(r.rows));
    QCOMPARE(inserted.count(), 1);
    model.appendRows(engine
                         .findAll(SearchEngine::prepare(QStringLiteral("y"), SearchOptions()), docs,
                             SearchOptions(), QStringLiteral("y"))
                         .rows);
    QCOMPARE(model.rowCount(), 5);
    auto cell = [&model](int row, int col) { return model.data(model.index(row, col)).toString(); };
    QCOMPARE(cell(1, 0), QStringLiteral("x"));
    QCOMPARE(cell(1, 1), QStringLiteral("5"));
    QCOMPARE(cell(1, 2), QStringLiteral("b.html"));
    QCOMPARE(cell(1, 3), QStringLiteral("zz"));
    QCOMPARE(cell(2, 1), QString()); // summary row: no position
    QCOMPARE(model.data(model.index(2, 0), FindResultsModel::ImageRole).toInt(), 2);
    QCOMPARE(cell(3, 0), QStringLiteral("y"));
    QCOMPARE(cell(3, 1), QStringLiteral("3"));
    QCOMPARE(cell(3, 3), QString()); // found rows have no replacement
    QCOMPARE(
        model.data(model.index(3, 0), FindResultsModel::DocumentIdRole).toInt(), docs.at(0)->documentId());
    model.clear();
    QCOMPARE(model.rowCount(), 0);
}

QTEST_GUILESS_MAIN(TestSearchEngine)
#include "tst_searchengine.moc"
