#include "services/entities.h"

#include <QRegularExpression>
#include <QtTest>

class TstEntities : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tableRoundTrip();
    void encode_data();
    void encode();
    void decode_data();
    void decode();
};

static bool isAscii(const QString &s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

static bool isMarkup(const QString &s)
{
    return s == QLatin1String("<") || s == QLatin1String(">") || s == QLatin1String("&")
        || s == QLatin1String("\"");
}

// Every name of the table decodes to its characters, and its characters encode to a
// name (or, in numeric form, to numbers) that decodes to the same characters.
void TstEntities::tableRoundTrip()
{
    const QRegularExpression oneName(QStringLiteral("^&[A-Za-z0-9]+;$"));
    int legacy = 0;
    QString previous;
    for (int i = 0; i < HtmlEntities::count(); ++i) {
        const QString name = HtmlEntities::nameAt(i);
        const QString chars = HtmlEntities::charactersAt(i);
        QVERIFY2(previous < name, qPrintable(name)); // sorted: the lookup searches by halves
        previous = name;
        QCOMPARE(HtmlEntities::characters(name), chars);

        const QString reference = QLatin1Char('&') + name + QLatin1Char(';');
        const QString decoded = HtmlEntities::decode(reference);
        QCOMPARE(decoded, isMarkup(chars) ? reference : chars);
        if (HtmlEntities::validWithoutSemicolon(i)) {
            ++legacy;
            const QString bare = QLatin1Char('&') + name + QStringLiteral(" x");
            QCOMPARE(HtmlEntities::decode(bare), isMarkup(chars) ? bare : chars + QStringLiteral(" x"));
        }

        const QString named = HtmlEntities::encode(chars, HtmlEntities::Form::Named);
        if (isAscii(chars)) {
            QCOMPARE(named, chars);
            continue;
        }
        QVERIFY2(oneName.match(named).hasMatch(), qPrintable(name + QLatin1String(" -> ") + named));
        QCOMPARE(HtmlEntities::decode(named), chars);
        QCOMPARE(HtmlEntities::nameFor(chars), named.mid(1, named.size() - 2));
        QCOMPARE(HtmlEntities::decode(HtmlEntities::encode(chars, HtmlEntities::Form::Numeric)), chars);
    }
    // The standard's list: 2,231 names, 106 of them also without the semicolon.
    QCOMPARE(HtmlEntities::count() + legacy, 2231);
    QCOMPARE(legacy, 106);
}

void TstEntities::encode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("count");

    const QString polish = QStringLiteral("Zażółć gęślą jaźń ĄĆĘŁŃÓŚŹŻ");
    QTest::newRow("Polish letters, named")
        << polish << true
        << QStringLiteral("Za&zdot;&oacute;&lstrok;&cacute; g&eogon;&sacute;l&aogon; ja&zacute;&nacute; "
                          "&Aogon;&Cacute;&Eogon;&Lstrok;&Nacute;&Oacute;&Sacute;&Zacute;&Zdot;")
        << 18;
    QTest::newRow("Polish letters, numeric")
        << polish << false
        << QStringLiteral("Za&#380;&#243;&#322;&#263; g&#281;&#347;l&#261; ja&#378;&#324; "
                          "&#260;&#262;&#280;&#321;&#323;&#211;&#346;&#377;&#379;")
        << 18;
    QTest::newRow("markup and references untouched")
        << QStringLiteral("<a href=\"x?a=1&amp;b\">ą&nbsp;</a>") << true
        << QStringLiteral("<a href=\"x?a=1&amp;b\">&aogon;&nbsp;</a>") << 1;
    QTest::newRow("HTML 4 name preferred") << QStringLiteral("\u00A0\u2190\u20AC\u2260") << true
                                           << QStringLiteral("&nbsp;&larr;&euro;&ne;") << 4;
    QTest::newRow("emoji has no name") << QStringLiteral("a😀b") << true << QStringLiteral("a&#128512;b") << 1;
    QTest::newRow("emoji, numeric") << QStringLiteral("😀") << false << QStringLiteral("&#128512;") << 1;
    QTest::newRow("astral letter with a name") << QStringLiteral("𝔄") << true << QStringLiteral("&Afr;") << 1;
    QTest::newRow("astral letter, numeric")
        << QStringLiteral("𝔄") << false << QStringLiteral("&#120068;") << 1;
    QTest::newRow("letter with its combining mark")
        << QStringLiteral("<\u20D2 \u2242\u0338") << true << QStringLiteral("&nvlt; &nesim;") << 2;
    QTest::newRow("combining mark, numeric")
        << QStringLiteral("<\u20D2") << false << QStringLiteral("<&#8402;") << 1;
    QTest::newRow("lone surrogates stay")
        << QString(QChar(0xD83D)) + QStringLiteral("x") + QChar(0xDE00) << false
        << QString(QChar(0xD83D)) + QStringLiteral("x") + QChar(0xDE00) << 0;
    QTest::newRow("C1 control stays")
        << QStringLiteral("a\u0096b") << false << QStringLiteral("a\u0096b") << 0;
    QTest::newRow("ASCII only") << QStringLiteral("<p>&copy;</p>") << true << QStringLiteral("<p>&copy;</p>")
                                << 0;
}

void TstEntities::encode()
{
    QFETCH(QString, text);
    QFETCH(bool, named);
    QFETCH(QString, expected);
    QFETCH(int, count);
    int written = -1;
    const QString out = HtmlEntities::encode(
        text, named ? HtmlEntities::Form::Named : HtmlEntities::Form::Numeric, &written);
    QCOMPARE(out, expected);
    QCOMPARE(written, count);
    QCOMPARE(HtmlEntities::decode(out), HtmlEntities::decode(text));
}

void TstEntities::decode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("named") << QStringLiteral("&Aogon;&aogon;&eacute;&hellip;") << QStringLiteral("Ąąé…");
    QTest::newRow("markup references kept") << QStringLiteral("&lt;b&gt; &amp; &quot; &LT; &AMP &lt")
                                            << QStringLiteral("&lt;b&gt; &amp; &quot; &LT; &AMP &lt");
    QTest::newRow("numeric markup kept")
        << QStringLiteral("&#60;&#x3C;&#38;&#34;&#x3e;") << QStringLiteral("&#60;&#x3C;&#38;&#34;&#x3e;");
    QTest::newRow("apostrophe") << QStringLiteral("it&apos;s &#39;") << QStringLiteral("it's '");
    QTest::newRow("decimal and hex") << QStringLiteral("&#261;&#x105;&#X105;&#x00105;")
                                     << QStringLiteral("ąąąą");
    QTest::newRow("astral") << QStringLiteral("&#128512;&#x1F600;&Afr;") << QStringLiteral("😀😀𝔄");
    QTest::newRow("two characters") << QStringLiteral("&NotEqualTilde;&fjlig;")
                                    << QStringLiteral("\u2242\u0338fj");
    QTest::newRow("Windows-1252 numbers") << QStringLiteral("&#150;&#x80;&#159;") << QStringLiteral("–€Ÿ");
    QTest::newRow("tab and line feed") << QStringLiteral("a&#9;b&#10;c") << QStringLiteral("a\tb\nc");
    const QString kept = QStringLiteral("&#1114112; &#x110000; &#99999999999999999999; &#xD800; &#0; &#129; "
                                        "&#1; &#13; &#127; &#xFFFF; &#xFDD0; &#; &#x; &#xg; &# &");
    QTest::newRow("invalid numbers stay") << kept << kept;
    QTest::newRow("unknown and malformed names stay") << QStringLiteral(
        "&foo; &AOGON; &aogon &notit; & amp; &;") << QStringLiteral("&foo; &AOGON; &aogon &notit; & amp; &;");
    QTest::newRow("too long a name") << QStringLiteral("&") + QString(40, QLatin1Char('a'))
            + QLatin1Char(';') << QStringLiteral("&") + QString(40, QLatin1Char('a')) + QLatin1Char(';');
    QTest::newRow("legacy name without semicolon")
        << QStringLiteral("&copy 2024, &eacute") << QStringLiteral("© 2024, é");
    QTest::newRow("legacy name before a letter, digit or =")
        << QStringLiteral("&copy2024 &copyx ?a=1&copy=2") << QStringLiteral("&copy2024 &copyx ?a=1&copy=2");
    QTest::newRow("number without semicolon")
        << QStringLiteral("&#261 &#x105, &#261x") << QStringLiteral("ą ą, &#261x");
    QTest::newRow("references next to each other")
        << QStringLiteral("&&aogon;&&eogon;;") << QStringLiteral("&ą&ę;");
}

void TstEntities::decode()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    int count = -1;
    QCOMPARE(HtmlEntities::decode(text, &count), expected);
    QCOMPARE(count == 0, text == expected);
}

QTEST_GUILESS_MAIN(TstEntities)
#include "tst_entities.moc"
