#include "base/codepage.h"
#include "base/settings.h"
#include "base/textaccess.h"
#include "services/checkoptions.h"
#include "services/hunspelldictionary.h"
#include "services/spelling.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

namespace {
// A small dictionary written in its own code page: "<name>.aff" and "<name>.dic".
void writeDictionary(const QString &folder, const QString &name, const char *set, const QStringList &words)
{
    QStringEncoder encoder(QByteArray(set) == "ISO8859-2" ? "ISO-8859-2"
            : QByteArray(set) == "microsoft-cp1250"       ? "windows-1250"
                                                          : set);
    QFile aff(QDir(folder).filePath(name + QStringLiteral(".aff")));
    QVERIFY(aff.open(QIODevice::WriteOnly));
    aff.write(QByteArray("SET ") + set + "\nTRY aąbcćdeęfghijklłmnńoóprsśtuwyzźż\n");
    QFile dic(QDir(folder).filePath(name + QStringLiteral(".dic")));
    QVERIFY(dic.open(QIODevice::WriteOnly));
    dic.write(QByteArray::number(words.size()) + '\n');
    for (const QString &w : words)
        dic.write(encoder.encode(w) + '\n');
}

bool polishInstalled() { return HunspellDictionary::Installed().contains(QStringLiteral("pl_PL")); }

QStringList wordsOf(const QVector<SpellWord> &words)
{
    QStringList out;
    for (const SpellWord &w : words)
        out << w.word;
    return out;
}
} // namespace

class TstSpelling : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void dictionaryCodePages_data();
    void dictionaryCodePages();
    void missingDictionaryTurnsCheckOff();
    void secondDictionary();
    void personalListPersisted();
    void ignoredOnlyForTheSession();
    void polishWords_data();
    void polishWords();
    void polishSuggestions_data();
    void polishSuggestions();
    void misspeltInMarkup();
    void checkOptionsStored();

private:
    SpellingSetup tinySetup() const;
    // The Polish dictionary, loaded once (it takes a while); null when not installed.
    Spelling *polish();
    QTemporaryDir m_polishFolder;
    std::unique_ptr<Spelling> m_polish;
    // The dictionaries and personal list of the current test function.
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_dir;
};

Spelling *TstSpelling::polish()
{
    if (!m_polish && polishInstalled()) {
        SpellingSetup s;
        s.personalPath = QDir(m_polishFolder.path()).filePath(QStringLiteral("slownik.txt"));
        m_polish = std::make_unique<Spelling>(s);
    }
    return m_polish.get();
}

void TstSpelling::init()
{
    IsolatedTestCase::init();
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    m_dir = m_folder->path();
}

SpellingSetup TstSpelling::tinySetup() const
{
    SpellingSetup s;
    s.primary = QStringLiteral("xx_ISO");
    s.folders = { m_dir };
    s.personalPath = QDir(m_dir).filePath(QStringLiteral("osobisty/slownik.txt"));
    return s;
}

// Words go to each dictionary in its own code page and its suggestions come back as text.
void TstSpelling::dictionaryCodePages_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("set");
    QTest::newRow("UTF-8") << QStringLiteral("xx_UTF") << QStringLiteral("UTF-8");
    QTest::newRow("ISO 8859-2") << QStringLiteral("xx_ISO") << QStringLiteral("ISO8859-2");
    QTest::newRow("Windows-1250") << QStringLiteral("xx_CP") << QStringLiteral("microsoft-cp1250");
}

void TstSpelling::dictionaryCodePages()
{
    QFETCH(QString, name);
    QFETCH(QString, set);
    writeDictionary(m_dir, name, set.toLatin1().constData(),
        { QStringLiteral("źdźbełko"), QStringLiteral("Łódź"), QStringLiteral("gąsienica") });
    QVERIFY(HunspellDictionary::Installed({ m_dir }).contains(name));

    HunspellDictionary d(name, { m_dir });
    QVERIFY(d.isValid());
    QCOMPARE(d.encoding(), set);
    QVERIFY(d.check(QStringLiteral("źdźbełko")));
    QVERIFY(d.check(QStringLiteral("Łódź")));
    QVERIFY(!d.check(QStringLiteral("zdzbelko")));
    // A letter the code page lacks is never in the dictionary.
    QVERIFY(!d.check(QStringLiteral("gąsienicа"))); // Cyrillic 'а' at the end
    QVERIFY(d.suggest(QStringLiteral("gąsiennica")).contains(QStringLiteral("gąsienica")));
    QVERIFY(d.add(QStringLiteral("żabka")));
    QVERIFY(d.check(QStringLiteral("żabka")));
}

void TstSpelling::missingDictionaryTurnsCheckOff()
{
    SpellingSetup s = tinySetup();
    s.primary = QStringLiteral("pl_PL");
    s.folders = { QDir(m_dir).filePath(QStringLiteral("nic-tu-nie-ma")) };
    Spelling spelling(s);
    QVERIFY(!spelling.isAvailable());
    QVERIFY(spelling.unavailableMessage().contains(QStringLiteral("hunspell-pl")));
    QVERIFY(spelling.unavailableMessage().contains(QStringLiteral("pl_PL")));
    QCOMPARE(Spelling::MessageCaption(), QStringLiteral("Sprawdzanie pisowni: ostrzeżenie"));
    const QString page = QStringLiteral("<p>Bzdurnyy tekśt</p>");
    const StringTextAccess text(page);
    QVERIFY(spelling.misspelt(text, 0, int(page.size())).isEmpty());
    QVERIFY(spelling.isCorrect(QStringLiteral("Bzdurnyy")));
    QVERIFY(spelling.suggestions(QStringLiteral("Bzdurnyy")).isEmpty());
    QCOMPARE(spelling.nextMisspelt(text, 0, int(page.size())).position, -1);
    QVERIFY(!HunspellDictionary(QStringLiteral("../xx_ISO"), { m_dir }).isValid());
}

void TstSpelling::secondDictionary()
{
    writeDictionary(m_dir, QStringLiteral("xx_ISO"), "ISO8859-2", { QStringLiteral("kot") });
    writeDictionary(m_dir, QStringLiteral("yy_UTF"), "UTF-8", { QStringLiteral("cat") });
    SpellingSetup s = tinySetup();
    QVERIFY(!Spelling(s).isCorrect(QStringLiteral("cat")));
    s.second = QStringLiteral("yy_UTF");
    Spelling both(s);
    QVERIFY(both.secondMessage().isEmpty());
    QVERIFY(both.isCorrect(QStringLiteral("kot")));
    QVERIFY(both.isCorrect(QStringLiteral("cat")));
    QVERIFY(!both.isCorrect(QStringLiteral("pies")));
    QVERIFY(both.suggestions(QStringLiteral("kat")).contains(QStringLiteral("cat")));
    QVERIFY(both.suggestions(QStringLiteral("kat")).contains(QStringLiteral("kot")));

    s.second = QStringLiteral("zz_BRAK");
    Spelling onlyFirst(s);
    QVERIFY(onlyFirst.isAvailable());
    QVERIFY(onlyFirst.secondMessage().contains(QStringLiteral("zz_BRAK")));
}

void TstSpelling::personalListPersisted()
{
    writeDictionary(m_dir, QStringLiteral("xx_ISO"), "ISO8859-2", { QStringLiteral("kot") });
    const SpellingSetup s = tinySetup();
    {
        Spelling spelling(s);
        QVERIFY(!spelling.isCorrect(QStringLiteral("Markorowy")));
        QString error;
        QVERIFY2(spelling.addToPersonal(QStringLiteral("Markorowy"), &error), qPrintable(error));
        QVERIFY2(spelling.addToPersonal(QStringLiteral("żółwiątko"), &error), qPrintable(error));
        QVERIFY(spelling.addToPersonal(QStringLiteral("Markorowy")));
        QVERIFY(!spelling.addToPersonal(QStringLiteral("dwa słowa"), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(spelling.isCorrect(QStringLiteral("Markorowy")));
    }
    QFile file(s.personalPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("Markorowy\nżółwiątko\n"));

    Spelling again(s);
    QCOMPARE(
        again.personalWords(), QStringList({ QStringLiteral("Markorowy"), QStringLiteral("żółwiątko") }));
    QVERIFY(again.isCorrect(QStringLiteral("Markorowy")));
    QVERIFY(again.isCorrect(QStringLiteral("MARKOROWY")));
    QVERIFY(again.isCorrect(QStringLiteral("żółwiątko")));
    QVERIFY(!again.isCorrect(QStringLiteral("Markorowa")));
}

void TstSpelling::ignoredOnlyForTheSession()
{
    writeDictionary(m_dir, QStringLiteral("xx_ISO"), "ISO8859-2", { QStringLiteral("kot") });
    {
        Spelling spelling(tinySetup());
        QVERIFY(!spelling.isCorrect(QStringLiteral("Kotek")));
        spelling.ignore(QStringLiteral("Kotek"));
        QVERIFY(spelling.isCorrect(QStringLiteral("Kotek")));
    }
    QVERIFY(!Spelling(tinySetup()).isCorrect(QStringLiteral("Kotek")));
    QVERIFY(!QFile::exists(tinySetup().personalPath));
}

void TstSpelling::polishWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("correct");
    QTest::newRow("żółw") << QStringLiteral("żółw") << true;
    QTest::newRow("Żółw") << QStringLiteral("Żółw") << true;
    QTest::newRow("ŻÓŁW") << QStringLiteral("ŻÓŁW") << true;
    QTest::newRow("źdźbło") << QStringLiteral("źdźbło") << true;
    QTest::newRow("gęślą") << QStringLiteral("gęślą") << true;
    QTest::newRow("biało-czerwony") << QStringLiteral("biało-czerwony") << true;
    QTest::newRow("żułw") << QStringLiteral("żułw") << false;
    QTest::newRow("zrobiłem") << QStringLiteral("zrobiłęm") << false;
}

void TstSpelling::polishWords()
{
    Spelling *spelling = polish();
    if (!spelling)
        QSKIP("The Polish dictionary (hunspell-pl) is not installed");
    QFETCH(QString, word);
    QFETCH(bool, correct);
    QVERIFY(spelling->isAvailable());
    QCOMPARE(spelling->isCorrect(word), correct);
}

void TstSpelling::polishSuggestions_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("suggestion");
    QTest::newRow("żułw") << QStringLiteral("żułw") << QStringLiteral("żółw");
    QTest::newRow("zolw") << QStringLiteral("zolw") << QStringLiteral("żółw");
    QTest::newRow("ktury") << QStringLiteral("ktury") << QStringLiteral("który");
}

void TstSpelling::polishSuggestions()
{
    Spelling *spelling = polish();
    if (!spelling)
        QSKIP("The Polish dictionary (hunspell-pl) is not installed");
    QFETCH(QString, word);
    QFETCH(QString, suggestion);
    QVERIFY(!spelling->isCorrect(word));
    const QStringList got = spelling->suggestions(word);
    QVERIFY2(got.contains(suggestion), qPrintable(got.join(u' ')));
}

void TstSpelling::misspeltInMarkup()
{
    if (!polishInstalled())
        QSKIP("The Polish dictionary (hunspell-pl) is not installed");
    // A fresh one: this test ignores a word.
    SpellingSetup s;
    s.personalPath = QDir(m_dir).filePath(QStringLiteral("slownik.txt"));
    Spelling spelling(s);
    const QString page = QStringLiteral("<p class=\"bzdurrra\">Mały &zdot;ułw idzie</p>\n"
                                        "<!-- kometarz -->\n<img src=\"obrazz.png\" alt=\"Zielony żułw\">\n"
                                        "<p>Dobrze napisane zdanie.</p>\n");
    const StringTextAccess text(page);
    const QVector<SpellWord> wrong = spelling.misspelt(text, 0, int(page.size()));
    QCOMPARE(wordsOf(wrong), QStringList({ QStringLiteral("żułw"), QStringLiteral("żułw") }));
    QCOMPARE(page.mid(wrong[0].position, wrong[0].length), QStringLiteral("&zdot;ułw"));
    QCOMPARE(wrong[1].position, int(page.lastIndexOf(QStringLiteral("żułw"))));

    // The walk of "Sprawdź pisownię..." goes from one to the next, then finds none.
    QCOMPARE(spelling.nextMisspelt(text, 0, int(page.size())), wrong[0]);
    QCOMPARE(spelling.nextMisspelt(text, wrong[0].position + 1, int(page.size())), wrong[1]);
    QCOMPARE(spelling.nextMisspelt(text, wrong[1].position + 1, int(page.size())).position, -1);
    spelling.ignore(QStringLiteral("żułw"));
    QVERIFY(spelling.misspelt(text, 0, int(page.size())).isEmpty());
}

// The options of the page checks are stored under "Sprawdzanie"; values out of range
// read as their defaults.
void TstSpelling::checkOptionsStored()
{
    MarkoraSettings settings;
    CheckOptions o;
    o.validation.info = false;
    o.validation.accessLevel = 2;
    o.fix.wrap = 80;
    o.fix.upperCaseTags = true;
    o.spelling = false;
    o.secondDictionary = QStringLiteral("en_US");
    o.write(settings);
    QCOMPARE(CheckOptions::read(settings), o);
    QVERIFY(CheckOptions::read(settings) != CheckOptions());

    settings.writeInt(QStringLiteral("Sprawdzanie"), QStringLiteral("Dostepnosc"), 7);
    settings.writeInt(QStringLiteral("Sprawdzanie"), QStringLiteral("Zawijanie"), -1);
    const CheckOptions read = CheckOptions::read(settings);
    QCOMPARE(read.validation.accessLevel, 0);
    QCOMPARE(read.fix.wrap, 0);
    QCOMPARE(read.secondDictionary, QStringLiteral("en_US"));
}

QTEST_GUILESS_MAIN(TstSpelling)
#include "tst_spelling.moc"
