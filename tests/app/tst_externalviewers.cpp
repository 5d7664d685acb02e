#include "app/externalviewers.h"
#include "base/settings.h"

#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Quotes, a space, and what a shell would expand or split on.
const QString kAwkwardName = QStringLiteral("a b \"c\" 'd' $(touch x);*.html");

QStringList words(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *w : list)
        out << QString::fromUtf8(w);
    return out;
}
} // namespace

class TstExternalViewers : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void split_data();
    void split();
    void build_data();
    void build();
    void settingsRoundTrip();
    void startsWithoutShell();
    void startFailures_data();
    void startFailures();
};

void TstExternalViewers::split_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("words"); // empty with error set: refused
    QTest::addColumn<bool>("error");
    QTest::newRow("blanks") << QStringLiteral("  --new-window \t -x ") << words({ "--new-window", "-x" })
                            << false;
    QTest::newRow("single quotes") << QStringLiteral("'a \"b\" \\' c") << words({ "a \"b\" \\", "c" })
                                   << false;
    QTest::newRow("double quotes") << QStringLiteral("\"a \\\"b\\\" \\\\ \\$ \\x 'y'\"")
                                   << words({ "a \"b\" \\ $ \\x 'y'" }) << false;
    QTest::newRow("escaped blank") << QStringLiteral("a\\ b") << words({ "a b" }) << false;
    QTest::newRow("parts join") << QStringLiteral("--opt=\"x y\"'z'") << words({ "--opt=x yz" }) << false;
    QTest::newRow("empty words") << QStringLiteral("'' \"\"") << words({ "", "" }) << false;
    QTest::newRow("nothing expanded") << QStringLiteral("$HOME ~ *.html $(ls) ; | &")
                                      << words({ "$HOME", "~", "*.html", "$(ls)", ";", "|", "&" }) << false;
    QTest::newRow("unclosed quote") << QStringLiteral("\"abc") << QStringList() << true;
    QTest::newRow("trailing backslash") << QStringLiteral("abc\\") << QStringList() << true;
}

void TstExternalViewers::split()
{
    QFETCH(QString, line);
    QFETCH(QStringList, words);
    QFETCH(bool, error);
    QString why;
    const std::optional<QStringList> got = SplitArguments(line, &why);
    QCOMPARE(!got.has_value(), error);
    QCOMPARE(why.isEmpty(), !error);
    if (got)
        QCOMPARE(*got, words);
}

void TstExternalViewers::build_data()
{
    const QString file = QStringLiteral("/tmp/%PLIK%/") + kAwkwardName;
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("placeholder alone") << QStringLiteral("%PLIK%") << file << QStringList { file };
    QTest::newRow("no placeholder: last")
        << QStringLiteral("--new-window") << file << QStringList { QStringLiteral("--new-window"), file };
    QTest::newRow("inside a word") << QStringLiteral("--plik=%PLIK% -v") << file
                                   << QStringList { QStringLiteral("--plik=") + file, QStringLiteral("-v") };
    QTest::newRow("quoted placeholder") << QStringLiteral("'%PLIK%'") << file << QStringList { file };
    QTest::newRow("twice") << QStringLiteral("%PLIK% \"%PLIK%\"") << file << QStringList { file, file };
    QTest::newRow("empty arguments") << QString() << file << QStringList { file };
}

void TstExternalViewers::build()
{
    QFETCH(QString, arguments);
    QFETCH(QString, file);
    const ViewerCommand c
        = BuildViewerCommand({ QStringLiteral("Podgląd"), QStringLiteral(" firefox "), arguments }, file);
    QCOMPARE(c.program, QStringLiteral("firefox"));
    QTEST(c.arguments, "expected");
    QVERIFY(c.error.isEmpty());

    const ViewerCommand bad
        = BuildViewerCommand({ QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("'a") }, file);
    QVERIFY(bad.program.isEmpty());
    QVERIFY(!bad.error.isEmpty());
}

void TstExternalViewers::settingsRoundTrip()
{
    const QList<ExternalViewer> viewers = {
        { QStringLiteral("Firefox, nowe okno"), QStringLiteral("/usr/bin/firefox"),
            QStringLiteral("--new-window %PLIK%") },
        { QStringLiteral("Lynx"), QStringLiteral("lynx"), QString() },
    };
    {
        MarkoraSettings settings;
        WriteViewers(settings, { { QStringLiteral("stary"), QStringLiteral("a"), QString() }, {}, {} });
        WriteViewers(settings, viewers);
        QVERIFY(settings.sync());
    }
    MarkoraSettings settings;
    QCOMPARE(ReadViewers(settings), viewers);
    QVERIFY(!settings.contains(QStringLiteral("Viewers"), QStringLiteral("Nazwa3")));
    // One without a command is skipped.
    settings.writeString(QStringLiteral("Viewers"), QStringLiteral("Polecenie1"), QString());
    QCOMPARE(ReadViewers(settings), viewers.mid(1));
}

void TstExternalViewers::startsWithoutShell()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(kAwkwardName);
    // touch makes exactly the file it is given: the name arrived as one argument, and no
    // shell ran the command in it.
    const ViewerCommand c = BuildViewerCommand(
        { QStringLiteral("Dotknij"), QStringLiteral("touch"), QStringLiteral("-- %PLIK%") }, file);
    QString reason;
    QVERIFY2(StartViewer(c, dir.path(), &reason), qPrintable(reason));
    QTRY_VERIFY(QFileInfo::exists(file));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { kAwkwardName });
}

void TstExternalViewers::startFailures_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not in PATH") << QStringLiteral("markora-nie-ma-takiego-programu")
                                 << QStringLiteral("nie ma programu");
    QTest::newRow("missing path") << QStringLiteral("/nie/ma/programu") << QStringLiteral("nie ma programu");
    QTest::newRow("a folder") << QStringLiteral("@dir") << QStringLiteral("nie jest programem");
    QTest::newRow("not executable") << QStringLiteral("@file") << QStringLiteral("nie jest programem");
}

void TstExternalViewers::startFailures()
{
    QFETCH(QString, program);
    QFETCH(QString, reason);
    const QString expected = reason;
    QTemporaryDir dir;
    if (program == QStringLiteral("@dir")) {
        program = dir.path();
    } else if (program == QStringLiteral("@file")) {
        program = dir.filePath(QStringLiteral("dane.txt"));
        QFile f(program);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    reason.clear();
    QVERIFY(!StartViewer(
        BuildViewerCommand({ QStringLiteral("x"), program, QString() }, QStringLiteral("/a.html")), QString(),
        &reason));
    QVERIFY2(reason.contains(expected), qPrintable(reason));
}

QTEST_GUILESS_MAIN(TstExternalViewers)
#include "tst_externalviewers.moc"
