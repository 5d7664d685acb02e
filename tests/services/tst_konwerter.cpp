#include "base/codepage.h"
#include "services/konwerter.h"

#include "testsupport.h"

#include <QTest>

namespace {

const QString kLetters = QStringLiteral("ĄĆĘŁŃÓŚŹŻąćęłńóśźż");

TConvData table(const QString &line)
{
    const ZnakiReadResult r = ParseZnaki(line);
    return r.entries.empty() ? TConvData() : r.entries.front();
}

} // namespace

class TstKonwerter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parse_data();
    void parse();
    void lineNumbersCountComments();
    void longLinesAreCut();
    void readFile();
    void shippedTable_data();
    void shippedTable();
    void lookup();
    void convert_data();
    void convert();
    void damagedTargetKeepsLetter();
    void byteRule();
};

void TstKonwerter::parse_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<bool>("error");
    const QList<int> iso { 161, 198, 202, 163, 209, 211, 166, 172, 175, 177, 230, 234, 179, 241, 243, 182,
        188, 191 };
    QTest::newRow("documented example") << QStringLiteral(
        "\"ISO 8859-2\" 161 198 202 163 209 211 166 172 175 177 230 234 179 241 243 182 188 191")
                                        << QStringLiteral("ISO 8859-2") << iso << false;
    QTest::newRow("quotes and extra spaces between codes")
        << QStringLiteral("\"\"A b\"   1 \"2\" 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17   18  ")
        << QStringLiteral("A b")
        << QList<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18 } << false;
    QTest::newRow("low 8 bits") << QStringLiteral("\"X\" 256 257 -1 511 $FF 0 0 0 0 0 0 0 0 0 0 0 0 1000")
                                << QStringLiteral("X")
                                << QList<int> { 0, 1, 255, 255, 255, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                       1000 & 0xFF }
                                << false;
    QTest::newRow("seventeen codes") << QStringLiteral("\"Krótka\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17")
                                     << QStringLiteral("Krótka")
                                     << QList<int> { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16,
                                            17, 0 }
                                     << true;
    QTest::newRow("not a number stops the line")
        << QStringLiteral("\"Zła\" 1 2 x3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18") << QStringLiteral("Zła")
        << QList<int> { 1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 } << true;
    QTest::newRow("name without closing quote")
        << QStringLiteral("\"Bez końca 1 2 3") << QStringLiteral("Bez końca 1 2 3") << QList<int>(18, 0)
        << true;
}

void TstKonwerter::parse()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QList<int>, codes);
    QFETCH(bool, error);
    const ZnakiReadResult r = ParseZnaki(line);
    QCOMPARE(r.entries.size(), std::size_t(1));
    QCOMPARE(r.entries[0].name, name);
    QList<int> got;
    for (unsigned char c : r.entries[0].codes)
        got.append(c);
    QCOMPARE(got, codes);
    QCOMPARE(r.errors.size(), error ? 1 : 0);
    if (error)
        QCOMPARE(r.errors[0], QStringLiteral("Błąd w pliku znaki.txt, linia 1."));
}

void TstKonwerter::lineNumbersCountComments()
{
    const QString text = QStringLiteral("; komentarz\n"
                                        "\"A\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n"
                                        "\n"
                                        ";\n"
                                        "\"B\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17\n"
                                        "   \n"
                                        "\"C\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 x\n"
                                        "\"D\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18");
    const ZnakiReadResult r = ParseZnaki(text);
    QCOMPARE(r.errors,
        QStringList({ QStringLiteral("Błąd w pliku znaki.txt, linia 5."),
            QStringLiteral("Błąd w pliku znaki.txt, linia 7.") }));
    QStringList names;
    for (const TConvData &t : r.entries)
        names.append(t.name);
    QCOMPARE(names,
        QStringList({ QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D") }));
    QVERIFY(!r.openFailed);
}

void TstKonwerter::longLinesAreCut()
{
    // Names of 208, 209 and 215 characters put the line's end at 255, 256 and 262.
    const auto line = [](int nameLength) {
        return u'"' + QString(nameLength, u'n')
            + QStringLiteral("\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n");
    };
    const ZnakiReadResult r = ParseZnaki(line(208) + line(209) + line(215));
    QCOMPARE(r.entries.size(), std::size_t(3));
    QCOMPARE(r.entries[0].codes[17], 18);
    QCOMPARE(r.entries[1].codes[17], 1); // "18" cut to "1"
    QCOMPARE(r.entries[2].codes[16], 0);
    QCOMPARE(r.errors, QStringList(QStringLiteral("Błąd w pliku znaki.txt, linia 3.")));
}

void TstKonwerter::readFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("znaki.txt"));
    QCOMPARE(ReadZnaki(path).openFailed, true);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    // Windows-1250 name, CR LF and a lone CR as line ends.
    f.write("; x\r\n\"Pr\xF3"
            "ba\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\r;\r\n\"Z\" 1\r\n");
    f.close();
    const ZnakiReadResult r = ReadZnaki(path);
    QVERIFY(!r.openFailed);
    QCOMPARE(r.entries.size(), std::size_t(2));
    QCOMPARE(r.entries[0].name, QStringLiteral("Próba"));
    QCOMPARE(r.errors, QStringList(QStringLiteral("Błąd w pliku znaki.txt, linia 4.")));
}

void TstKonwerter::shippedTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("codec"); // the Qt-independent reference: our own tables
    QTest::newRow("ISO 8859-2") << QStringLiteral("ISO 8859-2") << QStringLiteral("iso");
    QTest::newRow("Windows 1250") << QStringLiteral("Windows 1250") << QStringLiteral("win");
    QTest::newRow("MacIntosh") << QStringLiteral("MacIntosh") << QString();
    QTest::newRow("Latin 2 (DOS 852)") << QStringLiteral("Latin 2 (DOS 852)") << QString();
    QTest::newRow("Mazovia") << QStringLiteral("Mazovia") << QString();
}

void TstKonwerter::shippedTable()
{
    QFETCH(QString, name);
    QFETCH(QString, codec);
    const ZnakiReadResult r = ReadZnaki(testsupport::sourcePath(QStringLiteral("konfiguracja/znaki.txt")));
    QVERIFY(!r.openFailed);
    QVERIFY2(r.errors.isEmpty(), qPrintable(r.errors.join(u' ')));
    const ConvLookup lookup(r.entries);
    const TConvData *t = lookup.find(name);
    QVERIFY(t);
    // Eighteen distinct, non-zero, non-ASCII codes.
    QSet<int> seen;
    for (unsigned char c : t->codes) {
        QVERIFY(c >= 0x80);
        seen.insert(c);
    }
    QCOMPARE(seen.size(), 18);
    if (codec.isEmpty())
        return;
    // The letter table agrees with the complete code page table.
    const CodePage::Id id = codec == QStringLiteral("iso") ? CodePage::Iso8859_2 : CodePage::Windows1250;
    for (int k = 0; k < kConvLetters; ++k)
        QCOMPARE(QChar(CodePage::toUnicode(t->codes[k], id)), kLetters[k]);
}

void TstKonwerter::lookup()
{
    const ZnakiReadResult r
        = ParseZnaki(QStringLiteral("\"Aa\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18\n"
                                    "\"AA\" 9 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18"));
    const ConvLookup lookup(r.entries);
    QCOMPARE(lookup.fileCount(), 2);
    QVERIFY(lookup.find(QStringLiteral("aA")));
    QCOMPARE(lookup.find(QStringLiteral("aA"))->codes[0], 1); // first wins
    QVERIFY(!lookup.find(QStringLiteral("B")));
    const TConvData *builtin = lookup.find(QStringLiteral("POLSKAWY (BEZ OGONKÓW)"));
    QVERIFY(builtin);
    QCOMPARE(lookup.entries().back().name, QStringLiteral("Polskawy (bez ogonków)"));
    QCOMPARE(QString::fromLatin1(reinterpret_cast<const char *>(builtin->codes.data()), 18),
        QStringLiteral("ACELNOSZZacelnoszz"));
}

void TstKonwerter::convert_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    const QString win = QStringLiteral("Windows 1250");
    const QString iso = QStringLiteral("ISO 8859-2");
    const QString plain = QStringLiteral("Polskawy (bez ogonków)");
    QTest::newRow("Żółć to tail-less") << win << plain << QStringLiteral("Żółć, <b>żółw</b> — €\n")
                                       << QStringLiteral("Zolc, <b>zolw</b> — €\n");
    QTest::newRow("all letters to tail-less")
        << win << plain << kLetters << QStringLiteral("ACELNOSZZacelnoszz");
    QTest::newRow("same table") << win << win << kLetters + QStringLiteral("x\u00A0")
                                << kLetters + QStringLiteral("x\u00A0");
    QTest::newRow("same table iso") << iso << iso << kLetters << kLetters;
    // Windows-1250 text read as if it were ISO: ą (B9) becomes ą's ISO code B1, shown as ±.
    QTest::newRow("windows to iso") << win << iso << QStringLiteral("ąśź") << QStringLiteral("±¶Ľ");
    // ISO bytes shown as Windows-1250 (±¶Ľ) recoded back to real letters.
    QTest::newRow("iso to windows") << iso << win << QStringLiteral("±¶Ľ ĄŚŹ") << QStringLiteral("ąśź ĄŚŹ");
    QTest::newRow("outside Windows-1250 untouched")
        << win << plain << QStringLiteral("ж\U0001F600ą") << QStringLiteral("ж\U0001F600a");
}

void TstKonwerter::convert()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    const ZnakiReadResult r = ReadZnaki(testsupport::sourcePath(QStringLiteral("konfiguracja/znaki.txt")));
    const ConvLookup lookup(r.entries);
    QVERIFY(lookup.find(from) && lookup.find(to));
    const QString out = ConvertPolish(text, *lookup.find(from), *lookup.find(to));
    QCOMPARE(out, expected);
    QCOMPARE(out.size(), text.size());
}

void TstKonwerter::damagedTargetKeepsLetter()
{
    const ZnakiReadResult r = ParseZnaki(QStringLiteral(
        "\"Windows 1250\" 165 198 202 163 209 211 140 143 175 185 230 234 179 241 243 156 159 191\n"
        "; the last code is missing\n"
        "\"Krótka\" 65 67 69 76 78 79 83 90 90 97 99 101 108 110 111 115 122"));
    QCOMPARE(r.errors, QStringList(QStringLiteral("Błąd w pliku znaki.txt, linia 3.")));
    const ConvLookup lookup(r.entries);
    const TConvData *win = lookup.find(QStringLiteral("Windows 1250"));
    const TConvData *shortTable = lookup.find(QStringLiteral("krótka"));
    QVERIFY(win && shortTable);
    QCOMPARE(shortTable->codes[17], 0);
    // ż would become NUL by the bare byte rule; it stays ż.
    QCOMPARE(ConvertPolish(QStringLiteral("żółć\u0000"), *win, *shortTable), QStringLiteral("żolc\u0000"));
    // As a source, the missing code matches nothing (a NUL in the text stays NUL).
    QCOMPARE(ConvertPolish(QStringLiteral("Zolz\u0000"), *shortTable, *win), QStringLiteral("Żółź\u0000"));
}

void TstKonwerter::byteRule()
{
    // Positions 1 and 2 chain a -> b -> c; position 3 repeats a with another target.
    TConvData from = table(QStringLiteral("\"S\" 97 98 97 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"));
    TConvData to = table(QStringLiteral("\"T\" 98 99 122 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0"));
    // One pass: the b made from a is not turned into c; a later match overrides.
    QCOMPARE(ConvertByte('a', from, to), 'z');
    QCOMPARE(ConvertByte('b', from, to), 'c');
    QCOMPARE(ConvertByte('c', from, to), 'c');
    QCOMPARE(ConvertPolish(QStringLiteral("abcd"), from, to), QStringLiteral("zccd"));
    // The rule works on Windows-1250 bytes: a code above 127 is that code page's character.
    from.codes[0] = 0xB9; // ą
    to.codes[0] = 0x9C; // ś
    from.codes[2] = 0;
    QCOMPARE(ConvertPolish(QStringLiteral("ąa"), from, to), QStringLiteral("śa"));
}

QTEST_GUILESS_MAIN(TstKonwerter)
#include "tst_konwerter.moc"
