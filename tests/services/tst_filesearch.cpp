#include "base/privatedir.h"
#include "services/docfile.h"
#include "services/filesearch.h"
#include "services/filesearchjob.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readBytes(const QString &p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool writeBytes(const QString &p, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// The text with CR LF line breaks, as UTF-8.
QByteArray utf8(const QString &text)
{
    QString t = text;
    return t.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toUtf8();
}

const QString kIsoText = QStringLiteral("<html><head><meta charset=iso-8859-2></head>\n"
                                        "<p>Zażółć gęślą jaźń</p>\n\t<p>stary\tdom</p>\n");
const QString kWinText = QStringLiteral("<html><head><meta charset=windows-1250></head>\n"
                                        "<p>zażółć</p> <p>ZAŻÓŁĆ</p>\n");
const QString kPlainText = QStringLiteral("<p>Zażółć gęślą jaźń, stary</p>\n");
const QString kUtf8Text = QStringLiteral("<p>stary żółw</p>\n<p>stary</p>\n");
const QString kDeepText = QStringLiteral("stary\n");

// root/iso.html (ISO 8859-2), root/win.html (Windows-1250), root/plain.htm (no charset:
// read as ISO 8859-2 by default here), root/pic.png (binary), root/notes.txt,
// root/sub/utf8.html (UTF-8), root/sub/deeper/x.html.
class Tree
{
public:
    Tree()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeBytes(path(QStringLiteral("iso.html")), EncodeDocumentText(kIsoText, true)));
        QVERIFY(writeBytes(path(QStringLiteral("win.html")), EncodeDocumentText(kWinText, false)));
        QVERIFY(writeBytes(path(QStringLiteral("plain.htm")), EncodeDocumentText(kPlainText, true)));
        QVERIFY(writeBytes(path(QStringLiteral("pic.png")), QByteArray("\x89PNG\0\0stary", 11)));
        QVERIFY(writeBytes(path(QStringLiteral("notes.txt")), "stary"));
        QVERIFY(writeBytes(path(QStringLiteral("sub/utf8.html")), utf8(kUtf8Text)));
        QVERIFY(writeBytes(path(QStringLiteral("sub/deeper/x.html")), utf8(kDeepText)));
    }
    QString root() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString relative(const QString &absolute) const { return QDir(root()).relativeFilePath(absolute); }

    // Every file's bytes, by relative path.
    QMap<QString, QByteArray> snapshot() const
    {
        QMap<QString, QByteArray> out;
        for (const FileSearcher::Listed &f : FileSearcher::listFiles(root(), {}, true))
            out.insert(relative(f.path), readBytes(f.path));
        return out;
    }

private:
    QTemporaryDir m_dir;
};

FileSearchRequest request(
    const Tree &tree, const QString &find, bool replacing = false, const QString &replacement = QString())
{
    FileSearchRequest q;
    q.folder = tree.root();
    q.masks = FileSearcher::splitMasks(QStringLiteral("*.html; *.htm"));
    q.findText = find;
    q.replacing = replacing;
    q.replacement = replacement;
    q.defaultIso = true;
    return q;
}

struct Collected
{
    FileSearchSummary summary;
    QList<FileMatch> matches;
    int batches = 0;
};

Collected runSearch(const Tree &tree, const FileSearchRequest &q)
{
    Collected c;
    FileSearcher s(q);
    s.setReportInterval(0);
    s.setBatchSink([&](const QList<FileMatch> &batch) {
        c.matches += batch;
        ++c.batches;
    });
    c.summary = s.run();
    Q_UNUSED(tree);
    return c;
}

// "relative/path:line:column:position:text[>replacement]" for each match.
QStringList describe(const Tree &tree, const QList<FileMatch> &matches)
{
    QStringList out;
    for (const FileMatch &m : matches) {
        QString s = QStringLiteral("%1:%2:%3:%4:%5")
                        .arg(tree.relative(m.path))
                        .arg(m.line)
                        .arg(m.column)
                        .arg(m.position)
                        .arg(m.text);
        if (!m.replacement.isNull())
            s += QLatin1Char('>') + m.replacement;
        out << s;
    }
    return out;
}

} // namespace

class TstFileSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listFiles_data();
    void listFiles();
    void findInFiles_data();
    void findInFiles();
    void replaceAndUndo();
    void undoLeavesFilesChangedSince();
    void unsavedFileSkipped();
    void cancelLeavesFilesWhole();
    void refusals_data();
    void refusals();
    void workerThread();

private:
    // Backups go to a private folder of the test's own.
    QTemporaryDir m_runtime;
    testsupport::ScopedEnv m_env { "XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()) };
};

void TstFileSearch::listFiles_data()
{
    QTest::addColumn<QString>("masks");
    QTest::addColumn<bool>("subfolders");
    QTest::addColumn<QStringList>("files");

    QTest::newRow("html in subfolders")
        << QStringLiteral("*.html;*.htm") << true
        << QStringList { QStringLiteral("iso.html"), QStringLiteral("plain.htm"), QStringLiteral("win.html"),
               QStringLiteral("sub/utf8.html"), QStringLiteral("sub/deeper/x.html") };
    QTest::newRow("top folder only") << QStringLiteral(
        "*.HTML") << false << QStringList { QStringLiteral("iso.html"), QStringLiteral("win.html") };
    QTest::newRow("the program's filter *.*htm*")
        << QStringLiteral("*.*htm*") << false
        << QStringList { QStringLiteral("iso.html"), QStringLiteral("plain.htm"),
               QStringLiteral("win.html") };
    QTest::newRow("every file") << QStringLiteral("*.*") << false
                                << QStringList { QStringLiteral("iso.html"), QStringLiteral("notes.txt"),
                                       QStringLiteral("pic.png"), QStringLiteral("plain.htm"),
                                       QStringLiteral("win.html") };
}

void TstFileSearch::listFiles()
{
    QFETCH(QString, masks);
    QFETCH(bool, subfolders);
    QFETCH(QStringList, files);
    Tree tree;
    QVERIFY(QFile::link(tree.path(QStringLiteral("sub")), tree.path(QStringLiteral("loop")))); // not followed
    QStringList listed;
    for (const FileSearcher::Listed &f :
        FileSearcher::listFiles(tree.root(), FileSearcher::splitMasks(masks), subfolders)) {
        listed << tree.relative(f.path);
        QCOMPARE(f.size, QFileInfo(f.path).size());
    }
    QCOMPARE(listed, files);
}

void TstFileSearch::findInFiles_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("found");

    // Each file is read in its own code page: the Polish letters match in all of them.
    QTest::newRow("Polish word, any case")
        << QStringLiteral("zażółć") << false << false
        << QStringList { QStringLiteral("iso.html:2:4:48:Zażółć"), QStringLiteral("plain.htm:1:4:3:Zażółć"),
               QStringLiteral("win.html:2:4:50:zażółć"), QStringLiteral("win.html:2:18:64:ZAŻÓŁĆ") };
    QTest::newRow("Polish word, case") << QStringLiteral("ZAŻÓŁĆ") << false << true
                                       << QStringList { QStringLiteral("win.html:2:18:64:ZAŻÓŁĆ") };
    // Tabs are read as they are: a tab is one character.
    QTest::newRow("after a tab") << QStringLiteral("dom") << false << false
                                 << QStringList { QStringLiteral("iso.html:3:11:80:dom") };
    QTest::newRow("expression over UTF-8 and the subfolders") << QStringLiteral(
        "^(st)ary$") << true << false << QStringList { QStringLiteral("sub/deeper/x.html:1:1:0:stary") };
    QTest::newRow("no match") << QStringLiteral("nic") << false << false << QStringList();
}

void TstFileSearch::findInFiles()
{
    QFETCH(QString, find);
    QFETCH(bool, regex);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, found);
    Tree tree;
    const QMap<QString, QByteArray> before = tree.snapshot();
    FileSearchRequest q = request(tree, find);
    q.options.regularExpression = regex;
    q.options.caseSensitive = caseSensitive;
    q.openTabWidth = 4;
    const Collected c = runSearch(tree, q);
    QVERIFY2(c.summary.error.isEmpty(), qPrintable(c.summary.error));
    QCOMPARE(describe(tree, c.matches), found);
    // Where the editor, opening the file with tabs four spaces wide, shows the match.
    for (const FileMatch &m : c.matches) {
        const QString opened = LoadDocumentFile(m.path, 0, true, 4).text;
        QCOMPARE(opened.mid(m.openedPosition, m.text.size()), m.text);
    }
    QCOMPARE(c.summary.matches, found.size());
    QCOMPARE(c.summary.filesListed, 5);
    QCOMPARE(c.summary.filesSearched, 5);
    QVERIFY(!c.summary.undo);
    QCOMPARE(tree.snapshot(), before);
}

// Replace in files writes each file in its own code page with nothing else changed, lists
// where it put the new text, and the undo puts back every file's bytes.
void TstFileSearch::replaceAndUndo()
{
    Tree tree;
    const QMap<QString, QByteArray> before = tree.snapshot();
    FileSearchRequest q = request(tree, QStringLiteral("(zażółć|stary)"), true, QStringLiteral("[$1]"));
    q.options.regularExpression = true;
    q.options.specialSequences = true;
    q.openTabWidth = 3;
    const Collected c = runSearch(tree, q);
    QVERIFY2(c.summary.error.isEmpty(), qPrintable(c.summary.error));
    for (const FileMatch &m : c.matches) {
        const QString opened = LoadDocumentFile(m.path, 0, true, 3).text;
        QCOMPARE(opened.mid(m.openedPosition, m.replacement.size()), m.replacement);
    }
    QCOMPARE(describe(tree, c.matches),
        (QStringList { QStringLiteral("iso.html:2:4:48:Zażółć>[Zażółć]"),
            QStringLiteral("iso.html:3:5:76:stary>[stary]"),
            QStringLiteral("plain.htm:1:4:3:Zażółć>[Zażółć]"),
            QStringLiteral("plain.htm:1:25:24:stary>[stary]"),
            QStringLiteral("win.html:2:4:50:zażółć>[zażółć]"),
            QStringLiteral("win.html:2:20:66:ZAŻÓŁĆ>[ZAŻÓŁĆ]"),
            QStringLiteral("sub/utf8.html:1:4:3:stary>[stary]"),
            QStringLiteral("sub/utf8.html:2:4:26:stary>[stary]"),
            QStringLiteral("sub/deeper/x.html:1:1:0:stary>[stary]") }));
    QCOMPARE(c.summary.filesMatched, 5);
    QCOMPARE(c.summary.matches, 9);

    const auto replaced = [](QString text) {
        return text.replace(
            QRegularExpression(QStringLiteral("(zażółć|stary)"), QRegularExpression::CaseInsensitiveOption),
            QStringLiteral("[\\1]"));
    };
    QMap<QString, QByteArray> expected = before;
    expected[QStringLiteral("iso.html")] = EncodeDocumentText(replaced(kIsoText), true);
    expected[QStringLiteral("win.html")] = EncodeDocumentText(replaced(kWinText), false);
    expected[QStringLiteral("plain.htm")] = EncodeDocumentText(replaced(kPlainText), true);
    // Other bytes of a UTF-8 file stay as they were.
    expected[QStringLiteral("sub/utf8.html")] = utf8(replaced(kUtf8Text));
    expected[QStringLiteral("sub/deeper/x.html")] = utf8(replaced(kDeepText));
    QCOMPARE(tree.snapshot(), expected);
    QVERIFY(expected[QStringLiteral("iso.html")].contains("\t<p>[stary]\tdom"));

    QVERIFY(c.summary.undo);
    QCOMPARE(c.summary.undo->entries().size(), 5);
    const QString backups = c.summary.undo->folder();
    QVERIFY(IsPrivateFolder(backups));
    QCOMPARE(QDir(backups).entryList(QDir::Files).size(), 5);
    const FileReplaceUndo::Result r = c.summary.undo->undo();
    QCOMPARE(r.restored.size(), 5);
    QVERIFY(r.changedSince.isEmpty() && r.failed.isEmpty());
    QCOMPARE(tree.snapshot(), before);
    QVERIFY(c.summary.undo->isEmpty());
    QCOMPARE(FileSearchTexts::undoSummary(r), QStringLiteral("Przywrócono 5 plików."));
}

// A file changed after the run keeps its new contents; the others are put back.
void TstFileSearch::undoLeavesFilesChangedSince()
{
    Tree tree;
    const QMap<QString, QByteArray> before = tree.snapshot();
    std::shared_ptr<FileReplaceUndo> undo;
    {
        const Collected c
            = runSearch(tree, request(tree, QStringLiteral("stary"), true, QStringLiteral("nowy")));
        QCOMPARE(c.summary.filesMatched, 4);
        undo = c.summary.undo;
    }
    const QString edited = tree.path(QStringLiteral("sub/utf8.html"));
    QVERIFY(writeBytes(edited, "edited later"));
    const FileReplaceUndo::Result r = undo->undo();
    QCOMPARE(r.restored.size(), 3);
    QCOMPARE(r.changedSince, QStringList { edited });
    QVERIFY(FileSearchTexts::undoSummary(r).contains(QDir::toNativeSeparators(edited)));
    QMap<QString, QByteArray> expected = before;
    expected[QStringLiteral("sub/utf8.html")] = "edited later";
    QCOMPARE(tree.snapshot(), expected);
    // Asked again, the changed file is still reported and still left alone.
    QCOMPARE(undo->undo().changedSince, QStringList { edited });
    // The backups go with the undo.
    const QString backups = undo->folder();
    undo.reset();
    QVERIFY(!QFileInfo::exists(backups));
}

// A file open in the editor with unsaved changes is neither written nor put back.
void TstFileSearch::unsavedFileSkipped()
{
    Tree tree;
    const QMap<QString, QByteArray> before = tree.snapshot();
    const QString open = tree.path(QStringLiteral("win.html"));
    FileSearchRequest q = request(tree, QStringLiteral("zażółć"), true, QStringLiteral("x"));
    q.skipPaths.insert(QFileInfo(open).canonicalFilePath());
    const Collected c = runSearch(tree, q);
    QCOMPARE(c.summary.skippedUnsaved, QStringList { open });
    QCOMPARE(c.summary.filesMatched, 2);
    QCOMPARE(readBytes(open), before[QStringLiteral("win.html")]);
    for (const FileMatch &m : c.matches)
        QVERIFY(m.path != open);
    const FileReplaceUndo::Result r
        = c.summary.undo->undo({ QFileInfo(tree.path(QStringLiteral("iso.html"))).canonicalFilePath() });
    QCOMPARE(r.skippedUnsaved, QStringList { tree.path(QStringLiteral("iso.html")) });
    QCOMPARE(r.restored, QStringList { tree.path(QStringLiteral("plain.htm")) });
}

// Esc stops the run between files: the files written stay written (and can be undone),
// the file being worked on and those after it stay as they were.
void TstFileSearch::cancelLeavesFilesWhole()
{
    QTemporaryDir dir;
    for (int i = 0; i < 20; ++i)
        QVERIFY(writeBytes(dir.filePath(QStringLiteral("f%1.html").arg(i, 2, 10, QLatin1Char('0'))),
            EncodeDocumentText(QStringLiteral("stary\n").repeated(100), false)));
    FileSearchRequest q;
    q.folder = dir.path();
    q.findText = QStringLiteral("stary");
    q.replacing = true;
    q.replacement = QStringLiteral("nowy");
    FileSearcher s(q);
    s.setReportInterval(0);
    int reports = 0;
    s.setProgressSink([&](const FileSearchProgress &p) {
        if (++reports == 3)
            s.cancel();
        QVERIFY(p.filesDone <= p.filesTotal && p.bytesDone <= p.bytesTotal);
    });
    const FileSearchSummary sum = s.run();
    QVERIFY(sum.cancelled);
    QCOMPARE(sum.filesMatched, 3);
    QCOMPARE(sum.matches, 300);
    for (int i = 0; i < 20; ++i) {
        const QByteArray bytes
            = readBytes(dir.filePath(QStringLiteral("f%1.html").arg(i, 2, 10, QLatin1Char('0'))));
        const QString line = i < 3 ? QStringLiteral("nowy\n") : QStringLiteral("stary\n");
        QCOMPARE(bytes, EncodeDocumentText(line.repeated(100), false));
    }
    QCOMPARE(sum.undo->undo().restored.size(), 3);
}

// Nothing is read or written when the request cannot be done, and files that are not
// text or too large are left alone and listed.
void TstFileSearch::refusals_data()
{
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("error");

    QTest::newRow("invalid expression")
        << QStringLiteral("(stary") << true << QString()
        << QStringLiteral("Błąd w wyrażeniu regularnym.\nNieparzyste nawiasy ().");
    QTest::newRow("empty search text")
        << QString() << false << QString()
        << QStringLiteral("Błąd w wyrażeniu regularnym.\nBrak wyrażenia regularnego.");
    QTest::newRow("no folder") << QStringLiteral("stary") << false << QStringLiteral("/nie/ma/takiego")
                               << QStringLiteral("Nie ma folderu /nie/ma/takiego.");
    QTest::newRow("binary and too large") << QStringLiteral("stary") << false << QString() << QString();
}

void TstFileSearch::refusals()
{
    QFETCH(QString, find);
    QFETCH(bool, regex);
    QFETCH(QString, folder);
    QFETCH(QString, error);
    Tree tree;
    const QMap<QString, QByteArray> before = tree.snapshot();
    FileSearchRequest q = request(tree, find, true, QStringLiteral("nowy"));
    q.masks.clear(); // every file
    q.options.regularExpression = regex;
    q.maxFileSize = 60; // iso.html and win.html are larger
    if (!folder.isEmpty())
        q.folder = folder;
    const Collected c = runSearch(tree, q);
    QCOMPARE(c.summary.error, error);
    if (!error.isEmpty()) {
        QCOMPARE(c.summary.filesListed, 0);
        QVERIFY(!c.summary.undo);
        QCOMPARE(tree.snapshot(), before);
        return;
    }
    QCOMPARE(c.summary.skippedBinary, QStringList { tree.path(QStringLiteral("pic.png")) });
    QCOMPARE(c.summary.skippedTooLarge,
        (QStringList { tree.path(QStringLiteral("iso.html")), tree.path(QStringLiteral("win.html")) }));
    QCOMPARE(readBytes(tree.path(QStringLiteral("pic.png"))), before[QStringLiteral("pic.png")]);
    QCOMPARE(readBytes(tree.path(QStringLiteral("notes.txt"))), QByteArray("nowy"));
}

// The job runs the same search on a worker thread; its signals arrive in order, the
// matches before finished().
void TstFileSearch::workerThread()
{
    Tree tree;
    const FileSearchRequest q = request(tree, QStringLiteral("stary"));
    const Collected direct = runSearch(tree, q);

    FileSearchJob job(q);
    job.setReportInterval(0);
    QList<FileMatch> matches;
    bool finishedLast = true;
    FileSearchSummary summary;
    connect(&job, &FileSearchJob::matchesFound, this, [&](const QList<FileMatch> &batch) {
        matches += batch;
        finishedLast = false;
    });
    connect(&job, &FileSearchJob::finished, this, [&](const FileSearchSummary &s) {
        summary = s;
        finishedLast = true;
    });
    QSignalSpy finished(&job, &FileSearchJob::finished);
    QSignalSpy progress(&job, &FileSearchJob::progressChanged);
    job.start();
    QVERIFY(finished.wait(20000));
    QVERIFY(job.wait(20000));
    QVERIFY(finishedLast);
    QCOMPARE(describe(tree, matches), describe(tree, direct.matches));
    QCOMPARE(summary.matches, direct.summary.matches);
    QCOMPARE(progress.last().first().value<FileSearchProgress>().filesDone, 5);
}

QTEST_GUILESS_MAIN(TstFileSearch)
#include "tst_filesearch.moc"
