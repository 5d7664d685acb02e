#include "search/regex.h"

#include <QtTest>

using Spans = QVector<QPair<int, int>>;

class TestRegex : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void compileErrors_data();
    void compileErrors();
    void errorTable_data();
    void errorTable();
    void quote();
    void successiveMatches_data();
    void successiveMatches();
    void matchFromOffset();
    void groups();
    void loneSurrogateSubject();
    void loneSurrogateFarIn_data();
    void loneSurrogateFarIn();
    void literalAsTheEngine_data();
    void literalAsTheEngine();
    void substitute_data();
    void substitute();
    void templateOverMatcher();
};

void TestRegex::compileErrors_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("offset");

    QTest::newRow("(") << QStringLiteral("(") << 103 << QStringLiteral("Nieparzyste nawiasy ()") << 1;
    QTest::newRow("a)b") << QStringLiteral("a)b") << 104 << QStringLiteral("Nieparzyste nawiasy ()") << 1;
    QTest::newRow("empty") << QString() << 100 << QStringLiteral("Brak wyrażenia regularnego") << 0;
    QTest::newRow("[ab") << QStringLiteral("[ab") << 113 << QStringLiteral("Nieparzyste []") << 3;
    QTest::newRow("[z-a]") << QStringLiteral("[z-a]") << 109 << QStringLiteral("Nieprawidłowy zakres []")
                           << 3;
    QTest::newRow("a{3,2}") << QStringLiteral("a{3,2}") << 124
                            << QStringLiteral("Pierwszy argument {} większy niż drugi") << 5;
    QTest::newRow("a{99999}") << QStringLiteral("a{99999}") << 122 << QStringLiteral("Argument {} za duży")
                              << 7;
    QTest::newRow("*a") << QStringLiteral("*a") << 115 << QStringLiteral("?+*{ następuje po niczym") << 0;
    QTest::newRow("ends in backslash") << QStringLiteral("ab\\") << 116 << QStringLiteral("\\ na końcu") << 3;
    QTest::newRow("(?#comment") << QStringLiteral("(?#abc") << 125
                                << QStringLiteral("Niezamknięty (?#komentarz)") << 6;
    QTest::newRow("(?Q)") << QStringLiteral("(?Q)") << 127 << QStringLiteral("Nierozpoznany modyfikator")
                          << 2;
    QTest::newRow("\\x{110000}") << QStringLiteral("\\x{110000}") << 112
                                 << QStringLiteral("Heksadecymalny kod po \\x jest za duży") << 9;
    QTest::newRow("duplicate name") << QStringLiteral("(?<n>a)(?<n>b)") << -1
                                    << QStringLiteral("Nieznany błąd") << 12;
}

void TestRegex::compileErrors()
{
    QFETCH(QString, pattern);
    QFETCH(int, code);
    QFETCH(QString, message);
    QFETCH(int, offset);
    Regex re;
    QVERIFY(!re.compile(pattern, true, true));
    QVERIFY(!re.isValid());
    QCOMPARE(int(re.errorCode()), code);
    QCOMPARE(re.errorMessage(), message);
    QCOMPARE(re.errorOffset(), offset);
}

void TestRegex::errorTable_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    const QPair<int, const char *> table[] = {
        { 0, "Nie ma błędu" },
        { 100, "Brak wyrażenia regularnego" },
        { 101, "Zbyt duże wyrażenie" },
        { 102, "Za dużo nawiasów ()" },
        { 103, "Nieparzyste nawiasy ()" },
        { 104, "Nieparzyste nawiasy ()" },
        { 105, "Niewłaściwe zakończenie" },
        { 106, "Operator *+ nie może być pusty" },
        { 107, "Zagnieżdżony *?+" },
        { 108, "Niewłaściwa cyfra heksadecymalna" },
        { 109, "Nieprawidłowy zakres []" },
        { 110, "Niewłaściwe użycie \\" },
        { 111, "Brak kodu heksadecymalnego po \\x" },
        { 112, "Heksadecymalny kod po \\x jest za duży" },
        { 113, "Nieparzyste []" },
        { 114, "Błąd wewnętrzny" },
        { 119, "Błąd wewnętrzny" },
        { 115, "?+*{ następuje po niczym" },
        { 116, "\\ na końcu" },
        { 122, "Argument {} za duży" },
        { 124, "Pierwszy argument {} większy niż drugi" },
        { 125, "Niezamknięty (?#komentarz)" },
        { 126, "Nawiasy klamrowe {} nie działają z podwyrażeniami" },
        { 127, "Nierozpoznany modyfikator" },
        { 117, "Nieznany błąd" },
        { 123, "Nieznany błąd" },
        { 1000, "Nieznany błąd" },
        { -1, "Nieznany błąd" },
    };
    for (const auto &e : table)
        QTest::newRow(QByteArray::number(e.first).constData()) << e.first << QString::fromUtf8(e.second);
}

void TestRegex::errorTable()
{
    QFETCH(int, code);
    QFETCH(QString, message);
    QCOMPARE(Regex::messageForCode(code), message);
}

void TestRegex::quote()
{
    QCOMPARE(Regex::quote(QStringLiteral("^$.[()|?+*\\{]}")),
        QStringLiteral("\\^\\$\\.\\[\\(\\)\\|\\?\\+\\*\\\\\\{\\]\\}"));
    // Every quoted text matches itself, and only itself.
    const QString text = QStringLiteral("a.b*(c)?[d]{2}|e$^\\f+");
    Regex re;
    QVERIFY(re.compile(Regex::quote(text), false, true));
    const QString subject = QStringLiteral("xx") + text + QStringLiteral("yy");
    RegexMatcher m(re, subject);
    QVERIFY(m.findNext());
    QCOMPARE(m.start(), 2);
    QCOMPARE(m.matched().toString(), text);
    QVERIFY(!m.findNext());
}

void TestRegex::successiveMatches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("caseInsensitive");
    QTest::addColumn<bool>("dotAll");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<Spans>("spans");

    QTest::newRow("x* steps past empty matches")
        << QStringLiteral("x*") << false << true << QStringLiteral("axb")
        << Spans { { 0, 0 }, { 1, 2 }, { 2, 2 }, { 3, 3 } };
    QTest::newRow("next starts where the last ended")
        << QStringLiteral("aa") << false << true << QStringLiteral("aaaaa") << Spans { { 0, 2 }, { 2, 4 } };
    QTest::newRow("Polish letters ignore case")
        << QStringLiteral("łódź") << true << true << QStringLiteral("ŁÓDŹ i Łódź")
        << Spans { { 0, 4 }, { 7, 11 } };
    QTest::newRow("Polish letters with case")
        << QStringLiteral("łódź") << false << true << QStringLiteral("ŁÓDŹ i Łódź") << Spans {};
    QTest::newRow("dot takes a line break")
        << QStringLiteral("a.b") << false << true << QStringLiteral("a\nb") << Spans { { 0, 3 } };
    QTest::newRow("dot refuses a line break")
        << QStringLiteral("a.b") << false << false << QStringLiteral("a\nb") << Spans {};
    QTest::newRow("^ at line starts")
        << QStringLiteral("^b") << false << true << QStringLiteral("b\nb") << Spans { { 0, 1 }, { 2, 3 } };
    QTest::newRow("empty at end only once")
        << QStringLiteral("$") << false << true << QStringLiteral("ab") << Spans { { 2, 2 } };
}

void TestRegex::successiveMatches()
{
    QFETCH(QString, pattern);
    QFETCH(bool, caseInsensitive);
    QFETCH(bool, dotAll);
    QFETCH(QString, subject);
    QFETCH(Spans, spans);
    Regex re;
    QVERIFY(re.compile(pattern, caseInsensitive, dotAll));
    RegexMatcher m(re, subject);
    Spans got;
    while (m.findNext())
        got.append({ int(m.start()), int(m.end()) });
    QCOMPARE(got, spans);
    QCOMPARE(m.error(), 0);
}

void TestRegex::matchFromOffset()
{
    Regex re;
    QVERIFY(re.compile(QStringLiteral("ab"), false, true));
    const QString s = QStringLiteral("abab");
    RegexMatcher m(re, s);
    QVERIFY(m.matchFrom(1));
    QCOMPARE(m.start(), 2);
    QVERIFY(!m.findNext());
    QVERIFY(m.matchFrom(0));
    QCOMPARE(m.start(), 0);
    QVERIFY(!m.matchFrom(3));
    QVERIFY(!m.matchFrom(99));
    // A lookbehind sees the text before the offset.
    QVERIFY(re.compile(QStringLiteral("(?<=a)b"), false, true));
    RegexMatcher m2(re, s);
    QVERIFY(m2.matchFrom(1));
    QCOMPARE(m2.start(), 1);
}

void TestRegex::groups()
{
    Regex re;
    QVERIFY(re.compile(QStringLiteral("(a)|(b)"), false, true));
    QCOMPARE(re.captureCount(), 2);
    const QString s = QStringLiteral("b");
    RegexMatcher m(re, s);
    QVERIFY(m.findNext());
    QCOMPARE(m.capturedStart(1), -1);
    QVERIFY(m.captured(1).isEmpty());
    QCOMPARE(m.capturedStart(2), 0);
    QCOMPARE(m.captured(2).toString(), QStringLiteral("b"));
    QVERIFY(m.captured(7).isEmpty());
}

void TestRegex::loneSurrogateSubject()
{
    // Text with a stray surrogate (pasted garbage) must still be searchable.
    QString s = QStringLiteral("x");
    s += QChar(0xD800);
    s += QStringLiteral("abc");
    s += QChar(0xDC00);
    s += QStringLiteral("abc");
    Regex re;
    QVERIFY(re.compile(QStringLiteral("abc"), true, true));
    RegexMatcher m(re, s);
    QVERIFY(m.findNext());
    QCOMPARE(m.start(), 2);
    QVERIFY(m.findNext());
    QCOMPARE(m.start(), 6);
    QVERIFY(!m.findNext());
    QCOMPARE(m.error(), 0);
}

// A lone surrogate deep in a long text is found too: the engine, told the text is valid,
// would read it with the next character as one.
void TestRegex::loneSurrogateFarIn_data()
{
    QTest::addColumn<int>("at");
    QTest::addColumn<bool>("high");
    QTest::newRow("high, first block") << 10 << true;
    QTest::newRow("high, far in") << 70001 << true;
    QTest::newRow("low, far in") << 70001 << false;
    QTest::newRow("high, last character") << 9999 << true;
}

void TestRegex::loneSurrogateFarIn()
{
    QFETCH(int, at);
    QFETCH(bool, high);
    QString s(at, QLatin1Char('a'));
    s += QChar(high ? 0xD800 : 0xDC00);
    s += QLatin1Char('b');
    if (at == 9999)
        s.chop(1); // the surrogate ends the text
    Regex re;
    QVERIFY(re.compile(QStringLiteral("[^a]"), true, true));
    RegexMatcher m(re, s);
    if (at == 9999) {
        QVERIFY(!m.findNext());
    } else {
        QVERIFY(m.findNext());
        QCOMPARE(m.start(), qsizetype(at) + 1);
        QCOMPARE(m.matched().toString(), QStringLiteral("b"));
    }
    QCOMPARE(m.error(), 0);
}

// A literal is found without the engine; it must find what the engine finds, in every
// case form the engine takes (the long s, the Kelvin sign, the Greek final sigma, ...).
void TestRegex::literalAsTheEngine_data()
{
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("subject");

    const QString lone = QString(QChar(0xD800));
    QTest::newRow("s forms") << QStringLiteral("szukaj")
                             << QStringLiteral("SZUKAJ szukaj \u017Fzukaj Szukaj szuka");
    QTest::newRow("Kelvin sign") << QStringLiteral("kot") << QStringLiteral("Kot \u212Aot kOT kto");
    QTest::newRow("sigma") << QStringLiteral("σ") << QStringLiteral("Σσς σ");
    QTest::newRow("sharp s") << QStringLiteral("ß") << QStringLiteral("ß ẞ ss SS");
    QTest::newRow("dotted and dotless i") << QStringLiteral("i") << QStringLiteral("i I İ ı");
    QTest::newRow("capital dotted I") << QStringLiteral("İ") << QStringLiteral("i I İ ı");
    QTest::newRow("Polish letters") << QStringLiteral("zażółć")
                                    << QStringLiteral("ZAŻÓŁĆ zażółć ZaŻóŁć zazolc");
    QTest::newRow("overlapping") << QStringLiteral("aa") << QStringLiteral("aaaaa");
    QTest::newRow("at both ends") << QStringLiteral("ab") << QStringLiteral("ab ab");
    QTest::newRow("markup and digits")
        << QStringLiteral("<p class=\"x\">1.") << QStringLiteral("<P CLASS=\"X\">1. <p class=\"x\">1,");
    QTest::newRow("lone surrogates") << QStringLiteral("ab")
                                     << lone + QStringLiteral("ab") + lone + QStringLiteral("AB") + lone;
    QTest::newRow("beside astral letters") << QStringLiteral("a") << QStringLiteral("😀a𝔄A");
    QTest::newRow("longer than the text") << QStringLiteral("abcdef") << QStringLiteral("abc");
}

void TestRegex::literalAsTheEngine()
{
    QFETCH(QString, literal);
    QFETCH(QString, subject);
    for (const bool caseless : { true, false }) {
        Regex fast;
        QVERIFY(fast.compileLiteral(literal, caseless, true));
        Regex engine;
        QVERIFY(engine.compile(Regex::quote(literal), caseless, true));
        for (qsizetype from = 0; from <= subject.size(); ++from) {
            RegexMatcher a(fast, subject);
            RegexMatcher b(engine, subject);
            bool more = a.matchFrom(from);
            QCOMPARE(more, b.matchFrom(from));
            while (more) {
                QCOMPARE(a.start(), b.start());
                QCOMPARE(a.end(), b.end());
                QCOMPARE(a.matched().toString(), b.matched().toString());
                more = a.findNext();
                QCOMPARE(more, b.findNext());
            }
            QCOMPARE(a.error(), 0);
        }
    }
}

void TestRegex::substitute_data()
{
    QTest::addColumn<QString>("templ");
    QTest::addColumn<QStringList>("groups");
    QTest::addColumn<QString>("expected");
    const QStringList g { QStringLiteral("x=1"), QStringLiteral("x"), QStringLiteral("1") };

    QTest::newRow("[$&]") << QStringLiteral("[$&]") << g << QStringLiteral("[x=1]");
    QTest::newRow("$0") << QStringLiteral("<$0>") << g << QStringLiteral("<x=1>");
    QTest::newRow("$2$1") << QStringLiteral("$2:$1") << g << QStringLiteral("1:x");
    QTest::newRow("${1}0 is group 1 then 0") << QStringLiteral("${1}0") << g << QStringLiteral("x0");
    QTest::newRow("${2}") << QStringLiteral("${2}") << g << QStringLiteral("1");
    QTest::newRow("unmatched group is empty") << QStringLiteral("[$9]") << g << QStringLiteral("[]");
    QTest::newRow("${12} past the groups") << QStringLiteral("[${12}]") << g << QStringLiteral("[]");
    QTest::newRow("escaped dollar") << QStringLiteral("\\$1") << g << QStringLiteral("$1");
    QTest::newRow("escaped backslash") << QStringLiteral("a\\\\b") << g << QStringLiteral("a\\b");
    QTest::newRow("backslash n is n") << QStringLiteral("a\\nb") << g << QStringLiteral("anb");
    QTest::newRow("dollar at end") << QStringLiteral("cost$") << g << QStringLiteral("cost$");
    QTest::newRow("dollar and letter") << QStringLiteral("$a") << g << QStringLiteral("$a");
    QTest::newRow("unclosed brace") << QStringLiteral("${1") << g << QStringLiteral("${1");
    QTest::newRow("brace with a letter") << QStringLiteral("${x}") << g << QStringLiteral("${x}");
    QTest::newRow("huge number") << QStringLiteral("${99999999999}") << g << QString();
    QTest::newRow("backslash at end") << QStringLiteral("a\\") << g << QStringLiteral("a\\");
}

void TestRegex::substitute()
{
    QFETCH(QString, templ);
    QFETCH(QStringList, groups);
    QFETCH(QString, expected);
    QCOMPARE(SubstitutionTemplate::substitute(templ, groups), expected);
}

void TestRegex::templateOverMatcher()
{
    Regex re;
    QVERIFY(re.compile(QStringLiteral("(\\w+)@(\\w+)|(#)"), false, true));
    const QString s = QStringLiteral("ala@kot #");
    RegexMatcher m(re, s);
    const SubstitutionTemplate t(QStringLiteral("$2 u $1$3"));
    QVERIFY(!t.isConstant());
    QVERIFY(m.findNext());
    QCOMPARE(t.apply(m), QStringLiteral("kot u ala"));
    QVERIFY(m.findNext());
    QCOMPARE(t.apply(m), QStringLiteral(" u #"));
    QVERIFY(SubstitutionTemplate(QStringLiteral("a\\$1")).isConstant());
}

QTEST_GUILESS_MAIN(TestRegex)
#include "tst_regex.moc"
