#include "app/previewfile.h"
#include "app/programinfo.h"
#include "app/setupoptions.h"
#include "app/startupsettings.h"
#include "base/datafiles.h"
#include "base/settings.h"
#include "testsupport.h"

#include <QtTest>

class TstStartupCore : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void defaultsWithNothingStored();
    void windowValuesRoundTrip();
    void ogExtAndInIsoAreNotWrittenAtClose();
    void setupOptionsRoundTrip();
    void unusableStoredValuesFallBack_data();
    void unusableStoredValuesFallBack();
    void unusableWindowValuesFallBack_data();
    void unusableWindowValuesFallBack();
    void storedColours_data();
    void storedColours();
    void filePanelFilter();
    void commandLine_data();
    void commandLine();
    void commandLineGivesFullPathsInOrder();
    void commandLineRequests_data();
    void commandLineRequests();
    void dataFilesReport();
    void previewButtons_data();
    void previewButtons();
    void previewFileFolder();
};

void TstStartupCore::defaultsWithNothingStored()
{
    MarkoraSettings s;
    const StartupSettings v = StartupSettings::read(s);
    QVERIFY(v.zawijanie && v.pasekPrzyc && v.panelPlikow && v.status && v.podgladMsie);
    QCOMPARE(v.splitter1, 160);
    QCOMPARE(v.splitter2, 144);
    QCOMPARE(v.splitter3, 85);
    QCOMPARE(v.pliki, 0);
    QVERIFY(v.defTemplate.isEmpty());
    QCOMPARE(v.ogExt, QStringLiteral("*.*htm*;*.css;*.asp;*.xml;*.php*"));
    QCOMPARE(v.userButtons, QStringList(6));

    const SetupOptions o = SetupOptions::read(s);
    QCOMPARE(o.fontFace, QStringLiteral("Courier New CE"));
    QCOMPARE(o.fontSize, 9);
    QCOMPARE(o.fontCharset, 1);
    QCOMPARE(o.fontColor, 0);
    QVERIFY(IsSystemColor(o.background));
    QVERIFY(!o.inIso);
    QCOMPARE(o.alignLeft, QStringLiteral("<DIV ALIGN=\"Left\">"));
    QCOMPARE(o.alignCenter, QStringLiteral("<DIV ALIGN=\"Center\">"));
    QCOMPARE(o.alignRight, QStringLiteral("<DIV ALIGN=\"Right\">"));
    QCOMPARE(o.sampleText, QString::fromUtf8("Wlazł kotek na płotek i mruga..."));
    QVERIFY(o == SetupOptions());
}

void TstStartupCore::windowValuesRoundTrip()
{
    StartupSettings v;
    v.zawijanie = false;
    v.pasekPrzyc = false;
    v.panelPlikow = false;
    v.status = false;
    v.splitter1 = 201;
    v.splitter2 = 99;
    v.splitter3 = 300;
    v.pliki = 3;
    v.podgladMsie = false;
    v.defTemplate = QStringLiteral("/x/szablon ąę.html");
    v.userButtons = { QStringLiteral("Btn_P"), QString(), QStringLiteral("BTN_Left"), QString(), QString(),
        QStringLiteral("Btn_Center") };
    {
        MarkoraSettings s;
        v.write(s);
        QVERIFY(s.sync());
    }
    MarkoraSettings again;
    const StartupSettings r = StartupSettings::read(again);
    QCOMPARE(r.zawijanie, false);
    QCOMPARE(r.pasekPrzyc, false);
    QCOMPARE(r.panelPlikow, false);
    QCOMPARE(r.status, false);
    QCOMPARE(r.splitter1, 201);
    QCOMPARE(r.splitter2, 99);
    QCOMPARE(r.splitter3, 300);
    QCOMPARE(r.pliki, 3);
    QCOMPARE(r.podgladMsie, false);
    QCOMPARE(r.defTemplate, v.defTemplate);
    QCOMPARE(r.userButtons, v.userButtons);
    // The names stay the program's own, Polish letters included.
    QCOMPARE(
        again.store().value(QStringLiteral("Kontrolki/PodglądMSIE")).toString(), QStringLiteral("false"));
    QCOMPARE(
        again.store().value(QStringLiteral("Pasek uzytkownika/3")).toString(), QStringLiteral("BTN_Left"));
}

void TstStartupCore::ogExtAndInIsoAreNotWrittenAtClose()
{
    MarkoraSettings s;
    s.writeString(QStringLiteral("Setup"), QStringLiteral("_OgExt"), QStringLiteral("*.htm"));
    StartupSettings v = StartupSettings::read(s);
    QCOMPARE(v.ogExt, QStringLiteral("*.htm"));
    v.ogExt = QStringLiteral("*.changed");
    v.write(s);
    QCOMPARE(s.readString(QStringLiteral("Setup"), QStringLiteral("_OgExt")), QStringLiteral("*.htm"));
    QVERIFY(!s.store().contains(QStringLiteral("Setup/_InISO")));
}

void TstStartupCore::setupOptionsRoundTrip()
{
    SetupOptions o;
    o.inIso = true;
    o.tabWidth = 2;
    o.openPrevious = true;
    o.reloadChanged = true;
    o.lowerCaseInsert = true;
    o.closeParagraph = true;
    o.alignLeft = QStringLiteral("<P ALIGN=\"Left\">");
    o.alignCenter = QStringLiteral("<CENTER>");
    o.alignRight = QStringLiteral("<SPAN CLASS=\"r\">");
    o.lowerCaseEdit = true;
    o.pdUse = true;
    o.sampleText = QString::fromUtf8("Zażółć gęślą jaźń");
    o.background = RgbToStoredColor(0x102030);
    o.fontColor = RgbToStoredColor(0xFF0000);
    o.fontFace = QStringLiteral("DejaVu Sans Mono");
    o.fontSize = 12;
    o.fontCharset = 238;
    {
        MarkoraSettings s;
        o.write(s);
        QVERIFY(s.sync());
    }
    MarkoraSettings again;
    QVERIFY(SetupOptions::read(again) == o);
    QCOMPARE(again.readBool(QStringLiteral("Setup"), QStringLiteral("_InISO"), false), true);
    QCOMPARE(again.readString(QStringLiteral("Edytor"), QStringLiteral("Font.Face")),
        QStringLiteral("DejaVu Sans Mono"));

    // writeEditor leaves "Setup" alone.
    MarkoraSettings s;
    s.eraseSection(QStringLiteral("Setup"));
    SetupOptions().writeEditor(s);
    QVERIFY(!s.store().contains(QStringLiteral("Setup/_InISO")));
    QCOMPARE(
        s.readInt(QStringLiteral("Edytor"), QStringLiteral("Font.Size"), 0, 1, SetupOptions::MaxFontSize), 9);
}

void TstStartupCore::unusableStoredValuesFallBack_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::newRow("empty font face") << QStringLiteral("Edytor/Font.Face") << QString();
    QTest::newRow("zero font size") << QStringLiteral("Edytor/Font.Size") << QStringLiteral("0");
    QTest::newRow("text font size") << QStringLiteral("Edytor/Font.Size") << QStringLiteral("duża");
    QTest::newRow("empty left template") << QStringLiteral("Setup/WyrownajLewo") << QStringLiteral("  ");
    QTest::newRow("empty centre template") << QStringLiteral("Setup/WyrownajSrodek") << QString();
    // Values edited by hand: too large (a tab width of 300000000 once exhausted memory at
    // the next load), negative, beyond an int, not numbers at all.
    QTest::newRow("huge tab width") << QStringLiteral("Setup/Tabulator") << QStringLiteral("300000000");
    QTest::newRow("tab width past the dialog's") << QStringLiteral("Setup/Tabulator") << QStringLiteral("17");
    QTest::newRow("negative tab width") << QStringLiteral("Setup/Tabulator") << QStringLiteral("-4");
    QTest::newRow("tab width beyond int")
        << QStringLiteral("Setup/Tabulator") << QStringLiteral("99999999999999999999");
    QTest::newRow("text tab width") << QStringLiteral("Setup/Tabulator") << QStringLiteral("cztery");
    QTest::newRow("fractional tab width") << QStringLiteral("Setup/Tabulator") << QStringLiteral("2.5");
    QTest::newRow("huge font size") << QStringLiteral("Edytor/Font.Size") << QStringLiteral("300000000");
    QTest::newRow("negative font size") << QStringLiteral("Edytor/Font.Size") << QStringLiteral("-9");
    QTest::newRow("charset past a byte") << QStringLiteral("Edytor/Font.Charset") << QStringLiteral("256");
    QTest::newRow("negative charset") << QStringLiteral("Edytor/Font.Charset") << QStringLiteral("-1");
    QTest::newRow("colour past RGB") << QStringLiteral("Edytor/Kolor") << QStringLiteral("16777216");
    QTest::newRow("negative colour") << QStringLiteral("Edytor/Font.Kolor") << QStringLiteral("-1");
    QTest::newRow("text colour") << QStringLiteral("Edytor/Font.Kolor") << QStringLiteral("zielony");
    QTest::newRow("bool not a bool") << QStringLiteral("Setup/_InISO") << QStringLiteral("tak");
}

void TstStartupCore::unusableStoredValuesFallBack()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    MarkoraSettings s;
    s.store().setValue(key, stored);
    QVERIFY(SetupOptions::read(s) == SetupOptions());
}

void TstStartupCore::unusableWindowValuesFallBack_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    for (const char *key : { "Splitter1", "Splitter2", "Splitter3", "Pliki" }) {
        const QString k = QStringLiteral("Kontrolki/") + QLatin1String(key);
        QTest::newRow(qPrintable(k + QStringLiteral(" huge"))) << k << QStringLiteral("300000000");
        QTest::newRow(qPrintable(k + QStringLiteral(" negative"))) << k << QStringLiteral("-1");
        QTest::newRow(qPrintable(k + QStringLiteral(" text"))) << k << QStringLiteral("szeroki");
    }
    QTest::newRow("filter entry past the last")
        << QStringLiteral("Kontrolki/Pliki") << QString::number(FilePanelFilterCount);
    QTest::newRow("bool not a bool") << QStringLiteral("Kontrolki/Status") << QStringLiteral("tak");
}

void TstStartupCore::unusableWindowValuesFallBack()
{
    QFETCH(QString, key);
    QFETCH(QString, stored);
    MarkoraSettings s;
    s.store().setValue(key, stored);
    const StartupSettings read = StartupSettings::read(s);
    const StartupSettings defaults;
    QCOMPARE(read.splitter1, defaults.splitter1);
    QCOMPARE(read.splitter2, defaults.splitter2);
    QCOMPARE(read.splitter3, defaults.splitter3);
    QCOMPARE(read.pliki, defaults.pliki);
    QCOMPARE(read.status, defaults.status);
}

void TstStartupCore::storedColours_data()
{
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<bool>("system");
    QTest::addColumn<quint32>("rgb");
    QTest::newRow("black") << qint32(0) << false << 0x000000u;
    QTest::newRow("red is low byte") << qint32(0x0000FF) << false << 0xFF0000u;
    QTest::newRow("blue is high byte") << qint32(0xFF0000) << false << 0x0000FFu;
    QTest::newRow("mixed") << qint32(0x123456) << false << 0x563412u;
    QTest::newRow("system window") << kSystemWindowColor << true << 0u;
    QTest::newRow("system button face") << qint32(0x8000000Fu) << true << 0u;
}

void TstStartupCore::storedColours()
{
    QFETCH(qint32, stored);
    QFETCH(bool, system);
    QFETCH(quint32, rgb);
    QCOMPARE(IsSystemColor(stored), system);
    if (!system) {
        QCOMPARE(StoredColorToRgb(stored), rgb);
        QCOMPARE(RgbToStoredColor(rgb), stored);
    }
}

void TstStartupCore::filePanelFilter()
{
    QCOMPARE(FilePanelFilter(MarkoraSettings::defaultOgExt()),
        QString::fromUtf8(
            "Wszystkie pliki WWW|*.*htm*;*.css;*.asp;*.xml;*.php*|Pliki HTML|*.*htm*|Arkusze "
            "stylów (*.css)|*.css|Grafiki internetowe|*.gif;*.jp*;*.png|Wszystkie pliki (*.*)|*.*"));
    QCOMPARE(FilePanelFilter(QStringLiteral("*.htm;*.txt")).section(QLatin1Char('|'), 1, 1),
        QStringLiteral("*.htm;*.txt"));
    // Description and masks for each entry.
    QCOMPARE(FilePanelFilter(MarkoraSettings::defaultOgExt()).count(QLatin1Char('|')) + 1,
        2 * FilePanelFilterCount);
}

void TstStartupCore::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("documents");
    QTest::addColumn<int>("msie"); // -1 none, 0 off, 1 on
    QTest::addColumn<int>("moz");
    QTest::newRow("nothing") << QStringList() << 0 << -1 << -1;
    QTest::newRow("-msie") << QStringList { QStringLiteral("-msie") } << 0 << 1 << -1;
    QTest::newRow("-NOMSIE upper case") << QStringList { QStringLiteral("-NOMSIE") } << 0 << 0 << -1;
    QTest::newRow("-Moz mixed") << QStringList { QStringLiteral("-Moz") } << 0 << -1 << 1;
    QTest::newRow("-nomoz") << QStringList { QStringLiteral("-nomoz") } << 0 << -1 << 0;
    QTest::newRow("last switch wins")
        << QStringList { QStringLiteral("-moz"), QStringLiteral("-nomoz") } << 0 << -1 << 0;
    QTest::newRow("part of a switch is no switch")
        << QStringList { QStringLiteral("-msiex") } << 0 << -1 << -1;
    QTest::newRow("existing file") << QStringList { QStringLiteral("@a") } << 1 << -1 << -1;
    QTest::newRow("missing file") << QStringList { QStringLiteral("@missing.html") } << 0 << -1 << -1;
    QTest::newRow("a folder is no document") << QStringList { QStringLiteral("@") } << 0 << -1 << -1;
    QTest::newRow("dash file never opened") << QStringList { QStringLiteral("@-dash.html") } << 0 << -1 << -1;
    QTest::newRow("empty argument") << QStringList { QString() } << 0 << -1 << -1;
}

void TstStartupCore::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, documents);
    QFETCH(int, msie);
    QFETCH(int, moz);
    QTemporaryDir dir;
    for (const char *name : { "a", "-dash.html" }) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    // "@" stands for the temporary folder; a "-" file is named relative to it.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    for (QString &a : args)
        if (a.startsWith(QLatin1Char('@')))
            a = a.mid(1).isEmpty() ? dir.path() : a.mid(1);
    const CommandLine c = ParseCommandLine(args);
    QDir::setCurrent(cwd);
    QCOMPARE(c.documents.size(), documents);
    QCOMPARE(c.msie.has_value() ? int(*c.msie) : -1, msie);
    QCOMPARE(c.moz.has_value() ? int(*c.moz) : -1, moz);
}

void TstStartupCore::commandLineGivesFullPathsInOrder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    for (const char *name : { "b.html", "sub/a.html" }) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.filePath(QStringLiteral("sub")));
    const CommandLine c = ParseCommandLine(
        { QStringLiteral("../b.html"), QStringLiteral("-msie"), QStringLiteral("./a.html") });
    QDir::setCurrent(cwd);
    const QString root = QFileInfo(dir.path()).absoluteFilePath();
    QCOMPARE(
        c.documents, QStringList({ root + QStringLiteral("/b.html"), root + QStringLiteral("/sub/a.html") }));
}

void TstStartupCore::previewButtons_data()
{
    QTest::addColumn<bool>("msie");
    QTest::addColumn<bool>("moz");
    QTest::addColumn<bool>("podgladMsie");
    QTest::addColumn<bool>("msieDown");
    QTest::addColumn<bool>("mozDown");
    QTest::newRow("both, setting msie") << true << true << true << true << false;
    QTest::newRow("both, setting moz") << true << true << false << false << true;
    QTest::newRow("msie only, setting moz") << true << false << false << true << false;
    QTest::newRow("moz only, setting msie") << false << true << true << false << true;
    QTest::newRow("none") << false << false << true << false << false;
}

void TstStartupCore::previewButtons()
{
    QFETCH(bool, msie);
    QFETCH(bool, moz);
    QFETCH(bool, podgladMsie);
    QFETCH(bool, msieDown);
    QFETCH(bool, mozDown);
    const PreviewButtons b = ChoosePreviewButtons(msie, moz, podgladMsie);
    QCOMPARE(b.msieEnabled, msie);
    QCOMPARE(b.mozEnabled, moz);
    QCOMPARE(b.msieDown, msieDown);
    QCOMPARE(b.mozDown, mozDown);
}

void TstStartupCore::previewFileFolder()
{
    QTemporaryDir docs, fallback;
    const QString doc = docs.filePath(QStringLiteral("strona.html"));
    QCOMPARE(TemporaryFilePath(doc, PreviewFileName(), { fallback.path() }),
        docs.filePath(QStringLiteral("~Markora$HTML.HTML")));
    QCOMPARE(TemporaryFilePath(QString(), PreviewFileName(), { fallback.path() }),
        fallback.filePath(QStringLiteral("~Markora$HTML.HTML")));
    // A document whose folder is gone: the preview goes to the next folder that works.
    QCOMPARE(TemporaryFilePath(QStringLiteral("/nonexistent/x.html"), PreviewFileName(),
                 { QStringLiteral("/nonexistent"), fallback.path() }),
        fallback.filePath(QStringLiteral("~Markora$HTML.HTML")));
    QVERIFY(TemporaryFilePath(QString(), PreviewFileName(), { QStringLiteral("/nonexistent") }).isEmpty());
}

void TstStartupCore::commandLineRequests_data()
{
    using R = CommandLine::Request;
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<R>("request");
    QTest::newRow("nothing edits") << QStringList() << R::Edit;
    QTest::newRow("--help") << QStringList { QStringLiteral("--help") } << R::Help;
    QTest::newRow("-h") << QStringList { QStringLiteral("-h") } << R::Help;
    QTest::newRow("--HELP upper case") << QStringList { QStringLiteral("--HELP") } << R::Help;
    QTest::newRow("--version") << QStringList { QStringLiteral("--version") } << R::Version;
    QTest::newRow("--data-files") << QStringList { QStringLiteral("--data-files") } << R::DataFiles;
    QTest::newRow("the first one wins") << QStringList { QStringLiteral("-msie"), QStringLiteral("--version"),
        QStringLiteral("--help") } << R::Version;
    QTest::newRow("part of a switch is no switch") << QStringList { QStringLiteral("--helpme") } << R::Edit;
    QTest::newRow("-v is none of them") << QStringList { QStringLiteral("-v") } << R::Edit;
}

void TstStartupCore::commandLineRequests()
{
    QFETCH(QStringList, args);
    QFETCH(CommandLine::Request, request);
    QCOMPARE(ParseCommandLine(args).request, request);
}

void TstStartupCore::dataFilesReport()
{
    QTemporaryDir dir;
    DataFolders f;
    f.user = dir.filePath(QStringLiteral("user/"));
    f.program = dir.filePath(QStringLiteral("bin/"));
    f.installed = { dir.filePath(QStringLiteral("share/markora/")) };
    for (const char *name : { "user/konfiguracja/tags.ini", "share/markora/konfiguracja/tags.ini",
             "share/markora/konfiguracja/znaki.txt", "bin/README.md" }) {
        QVERIFY(QDir().mkpath(QFileInfo(dir.filePath(QLatin1String(name))).absolutePath()));
        QFile file(dir.filePath(QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QString expected
        = QStringLiteral("konfiguracja/tags.ini: %1/user/konfiguracja/tags.ini\n"
                         "konfiguracja/znaki.txt: %1/share/markora/konfiguracja/znaki.txt\n"
                         "konfiguracja/keywords.txt: (brak)\n"
                         "szablony: (brak)\n"
                         "README.md: %1/bin/README.md\n"
                         "kopia użytkownika: %1/user/konfiguracja\n")
              .arg(dir.path());
    QCOMPARE(DataFilesReport(f), expected);
}

QTEST_GUILESS_MAIN(TstStartupCore)
#include "tst_startupcore.moc"
