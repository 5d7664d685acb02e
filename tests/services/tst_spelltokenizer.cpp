#include "base/codepage.h"
#include "base/textaccess.h"
#include "services/spelltokenizer.h"

#include <QTest>

namespace {
QStringList wordsOf(const QVector<SpellWord> &words)
{
    QStringList out;
    for (const SpellWord &w : words)
        out << w.word;
    return out;
}

QStringList words(const QString &page) { return wordsOf(SpellTokenizer::Words(page, 0, int(page.size()))); }

// A page with every kind of place a word can hide in, over several lines.
const char16_t kPage[]
    = u"<!DOCTYPE html>\n"
      u"<html lang=\"pl\"><head><title>Zażółć gęślą</title>\n"
      u"<style>\np { color: red; }\n.jaźń { margin: 0 }\n</style>\n"
      u"<script>\nif (a < b && c > d) { pisz(\"</p>\"); }\n</script>\n"
      u"</head><body class=\"strona główna\">\n"
      u"<!-- komentarz\n<p>ukryty akapit</p>\n-->\n"
      u"<p title=\"Tytuł akapitu\">Pierwszy &zdot;ółw i&nbsp;drugi</p>\n"
      u"<img src=\"kot.png\" alt='Kot na\npłotku'><input placeholder=\"Wpisz imię\" value=\"nie\">\n"
      u"<p>Źdźbło &#380;yta, &#x17B;yto &amp; owies</p>\n"
      u"</body></html>\n";
} // namespace

class TstSpellTokenizer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void markup_data();
    void markup();
    void entityRangeCoversReference();
    void polishLettersFromEachCodePage_data();
    void polishLettersFromEachCodePage();
    void everyLineAloneAgreesWithTheWhole();
    void stretchStartsInsideMarkup_data();
    void stretchStartsInsideMarkup();
    void documentStretchReadsBoundedText();
};

void TstSpellTokenizer::markup_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const char *name, const char16_t *page, const QStringList &expected) {
        QTest::newRow(name) << QString::fromUtf16(page) << expected;
    };
    const auto L = [](const char16_t *s) { return QString::fromUtf16(s); };
    row("text with Polish letters", u"Zażółć gęślą jaźń.", { L(u"Zażółć"), L(u"gęślą"), L(u"jaźń") });
    row("tag and attribute names skipped", u"<p class=\"wstęp\" id=x>Ala</p>", { L(u"Ala") });
    row("tags split words", u"Ala<b>ma</b>kota", { L(u"Ala"), L(u"ma"), L(u"kota") });
    row("alt, title, placeholder checked",
        u"<img alt=\"Kot w butach\" src=\"kot.png\"><a title='Strona główna' href=\"x.html\">"
        u"<input placeholder=Szukaj value=\"nic\">",
        { L(u"Kot"), L(u"w"), L(u"butach"), L(u"Strona"), L(u"główna"), L(u"Szukaj") });
    row("attribute names in upper case", u"<IMG ALT=\"Żółw\">", { L(u"Żółw") });
    row("an end tag's attributes skipped", u"</p title=\"nic\">tak", { L(u"tak") });
    row("entity inside a word decoded", u"&zdot;ółw i &#380;ółw i &#x17C;ółw i &Zdot;ÓŁW",
        { L(u"żółw"), L(u"i"), L(u"żółw"), L(u"i"), L(u"żółw"), L(u"i"), L(u"ŻÓŁW") });
    row("entity in alt decoded", u"<img alt=\"&Lstrok;&oacute;d&zacute;\">", { L(u"Łódź") });
    row("other entities separate and are no words", u"tak&nbsp;nie &amp; nbsp &copy; &bogus; &#8212;",
        { L(u"tak"), L(u"nie"), L(u"nbsp") });
    row("soft hyphen joins", u"kon&shy;stanty\u00ADnopolita\u00ADńczyk", { L(u"konstantynopolitańczyk") });
    row("comment skipped", u"przed<!-- <p>nie to</p> -->po", { L(u"przed"), L(u"po") });
    row("script and style skipped", u"a<script>var x = \"<b>słowo</b>\";</script>b<STYLE>p{}</STYLE>c",
        { L(u"a"), L(u"b"), L(u"c") });
    row("script ends only at its own end tag", u"<script>x = \"</scripts>\"; y</script>po", { L(u"po") });
    row("declarations skipped", u"<!DOCTYPE html><?xml wersja?>tekst", { L(u"tekst") });
    row("a lone '<' is text", u"a < b", { L(u"a"), L(u"b") });
    row("hyphen and apostrophe inside words", u"biało-czerwony rock'n'roll -nie tak-",
        { L(u"biało-czerwony"), L(u"rock'n'roll"), L(u"nie"), L(u"tak") });
    row("digits and underscores leave the word out", u"rok 2024 w1 a_b koniec", { L(u"rok"), L(u"koniec") });
    row("addresses and file names left out",
        u"pisz na jan@example.com lub http://example.com/strona albo www.wp.pl, plik index.html. Koniec.",
        { L(u"pisz"), L(u"na"), L(u"lub"), L(u"albo"), L(u"plik"), L(u"Koniec") });
    QTest::newRow("a run too long for prose")
        << QStringLiteral("przed ") + QStringLiteral("słowo,").repeated(200) + QStringLiteral(" po")
        << QStringList { QStringLiteral("przed"), QStringLiteral("po") };
    row("letters outside the BMP", u"𝔸𝔹 słowo", { L(u"𝔸𝔹"), L(u"słowo") });
    row("the whole page", kPage,
        { L(u"Zażółć"), L(u"gęślą"), L(u"Tytuł"), L(u"akapitu"), L(u"Pierwszy"), L(u"żółw"), L(u"i"),
            L(u"drugi"), L(u"Kot"), L(u"na"), L(u"płotku"), L(u"Wpisz"), L(u"imię"), L(u"Źdźbło"), L(u"żyta"),
            L(u"Żyto"), L(u"owies") });
}

void TstSpellTokenizer::markup()
{
    QFETCH(QString, page);
    QFETCH(QStringList, expected);
    QCOMPARE(words(page), expected);
}

void TstSpellTokenizer::entityRangeCoversReference()
{
    const QString page = QStringLiteral("<p>Mały &zdot;ółw.</p>");
    const QVector<SpellWord> w = SpellTokenizer::Words(page, 0, int(page.size()));
    QCOMPARE(w.size(), 2);
    QCOMPARE(w[1].word, QStringLiteral("żółw"));
    QCOMPARE(w[1].position, int(page.indexOf(u'&')));
    QCOMPARE(page.mid(w[1].position, w[1].length), QStringLiteral("&zdot;ółw"));
    QCOMPARE(page.mid(w[0].position, w[0].length), QStringLiteral("Mały"));
}

// The text is Unicode whatever the file's code page: the same words come out of each.
void TstSpellTokenizer::polishLettersFromEachCodePage_data()
{
    QTest::addColumn<QString>("text");
    const QString page = QStringLiteral("<p title=\"Źdźbło\">Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ</p>");
    QTest::newRow("Windows-1250") << CodePage::decode(
        CodePage::encode(page, CodePage::Windows1250), CodePage::Windows1250);
    QTest::newRow("ISO 8859-2") << CodePage::decode(
        CodePage::encode(page, CodePage::Iso8859_2), CodePage::Iso8859_2);
    QTest::newRow("UTF-8") << QString::fromUtf8(page.toUtf8());
}

void TstSpellTokenizer::polishLettersFromEachCodePage()
{
    QFETCH(QString, text);
    QCOMPARE(words(text),
        QStringList({ QStringLiteral("Źdźbło"), QStringLiteral("Zażółć"), QStringLiteral("gęślą"),
            QStringLiteral("jaźń"), QStringLiteral("ĄĆĘŁŃÓŚŹŻ") }));
}

// The visible lines are tokenized alone, with the state before them found by looking
// back: each line must give exactly the words of the whole page that it holds.
void TstSpellTokenizer::everyLineAloneAgreesWithTheWhole()
{
    const QString page = QString::fromUtf16(kPage);
    const QVector<SpellWord> whole = SpellTokenizer::Words(page, 0, int(page.size()));
    int from = 0;
    while (from < page.size()) {
        const int to = int(page.indexOf(u'\n', from)) + 1;
        QVector<SpellWord> expected;
        for (const SpellWord &w : whole)
            if (w.position < to && w.position + w.length > from)
                expected << w;
        QCOMPARE(SpellTokenizer::Words(page, from, to), expected);
        from = to;
    }
}

void TstSpellTokenizer::stretchStartsInsideMarkup_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("stretch"); // the stretch begins where this text does
    QTest::addColumn<QStringList>("expected");
    const QString filler = QStringLiteral("<p>wypełniacz</p>\n").repeated(500);
    QTest::newRow("in a comment") << filler + QStringLiteral("<!--\nstary tekst\n-->\nnowy")
                                  << QStringLiteral("stary") << QStringList { QStringLiteral("nowy") };
    QTest::newRow("in a script") << filler + QStringLiteral("<script>\nvar tekst;\n</script>\nnowy")
                                 << QStringLiteral("var") << QStringList { QStringLiteral("nowy") };
    QTest::newRow("in an alt value") << filler + QStringLiteral("<img alt=\"pierwszy\ndrugi\" src=\"a\nb\">")
                                     << QStringLiteral("drugi") << QStringList { QStringLiteral("drugi") };
    QTest::newRow("in a src value") << filler + QStringLiteral("<img src=\"pierwszy\ndrugi\" alt=\"trzeci\">")
                                    << QStringLiteral("drugi") << QStringList { QStringLiteral("trzeci") };
    QTest::newRow("in the middle of a word")
        << filler + QStringLiteral("<p>konstantynopolitańczyk</p>") << QStringLiteral("polita")
        << QStringList { QStringLiteral("konstantynopolitańczyk") };
}

void TstSpellTokenizer::stretchStartsInsideMarkup()
{
    QFETCH(QString, page);
    QFETCH(QString, stretch);
    QFETCH(QStringList, expected);
    const int from = int(page.indexOf(stretch));
    QCOMPARE(wordsOf(SpellTokenizer::Words(page, from, int(page.size()))), expected);
}

// Through TextAccess only a bounded stretch around the visible lines is read, and what
// comes out is what the whole text gives.
void TstSpellTokenizer::documentStretchReadsBoundedText()
{
    class CountingAccess final : public TextAccess
    {
    public:
        explicit CountingAccess(const QString &text)
            : m_lines(text)
        {
        }
        int length() const override { return m_lines.length(); }
        int lineCount() const override { return m_lines.lineCount(); }
        int lineOf(int pos) const override { return m_lines.lineOf(pos); }
        int lineStart(int line) const override { return m_lines.lineStart(line); }
        int lineLength(int line) const override { return m_lines.lineLength(line); }
        QString lineText(int line) const override
        {
            const QString t = m_lines.lineText(line);
            read += int(t.size()) + 1;
            return t;
        }
        QString lineMid(int line, int from, int n) const override
        {
            const QString t = m_lines.lineMid(line, from, n);
            read += int(t.size()) + 1;
            return t;
        }
        mutable qint64 read = 0;

    private:
        StringTextAccess m_lines;
    };

    QString page;
    while (page.size() < 400 * 1024)
        page += QString::fromUtf16(kPage);
    const CountingAccess doc(page);
    const int from = int(page.size()) - 3000;
    const int to = int(page.size()) - 1000;
    QCOMPARE(SpellTokenizer::Words(doc, from, to), SpellTokenizer::Words(page, from, to));
    QVERIFY(doc.read <= SpellTokenizer::LookBack + (to - from) + SpellTokenizer::MaxRunLength + 200);
    QVERIFY(!SpellTokenizer::Words(page, from, to).isEmpty());
}

QTEST_GUILESS_MAIN(TstSpellTokenizer)
#include "tst_spelltokenizer.moc"
