#include "base/codepage.h"
#include "services/docfile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TstDocFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }
    void roundTripEveryByte_data();
    void roundTripEveryByte();
    void lineBreaks_data();
    void lineBreaks();
    void detectionAndDecoding_data();
    void detectionAndDecoding();
    void tabsExpand();
    void writeBytesAsTheyAre();
    void decodeAsByteByByte();
    void loadFailures();
    void saveWritesCrLfAndCodePage();
    void unmappableBecomeReferences();
    void manyReferencesGrowTheOutput();
    void failedSaveKeepsOldFile();
    void fullDiskKeepsOldFile_data();
    void fullDiskKeepsOldFile();
    void saveKeepsFileIdentity_data();
    void saveKeepsFileIdentity();
    void roundTripUnedited_data();
    void roundTripUnedited();
    void mixedBreaksTakeTheMajority_data();
    void mixedBreaksTakeTheMajority();
    void encodeUnicode_data();
    void encodeUnicode();
    void tabsPerCodePage_data();
    void tabsPerCodePage();
    void fallbackWarning_data();
    void fallbackWarning();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray readBytes(const QString &p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    static bool writeBytes(const QString &p, const QByteArray &bytes)
    {
        QFile f(p);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

    QTemporaryDir m_dir;
};

void TstDocFile::roundTripEveryByte_data()
{
    QTest::addColumn<bool>("iso");
    QTest::newRow("windows-1250") << false;
    QTest::newRow("iso-8859-2") << true;
}

void TstDocFile::roundTripEveryByte()
{
    QFETCH(bool, iso);
    // Every byte value but tab, CR and LF, with CR LF breaks between runs of them.
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\t' || b == '\r' || b == '\n')
            continue;
        bytes.append(char(b));
        if (b % 32 == 31)
            bytes.append("\r\n");
    }
    bytes.append("\r\n\r\nlast line without break \xA0");
    const QString file = path(QStringLiteral("all.html"));
    QVERIFY(writeBytes(file, bytes));

    const LoadResult loaded = LoadDocumentFile(file, iso ? 2 : 1, !iso, 4);
    QVERIFY2(loaded.ok, qPrintable(loaded.errorText));
    QCOMPARE(loaded.iso, iso);
    QVERIFY(!loaded.text.contains(u'\r'));
    QCOMPARE(loaded.text.count(QChar(0x00A0)), 2); // no-break spaces stay what they are

    const SaveResult saved = SaveDocumentFile(file, loaded.text, iso);
    QVERIFY2(saved.ok, qPrintable(saved.errorText));
    QCOMPARE(saved.unmappable, 0);
    QCOMPARE(readBytes(file), bytes);
}

void TstDocFile::lineBreaks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n");
    QTest::newRow("LF") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n");
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringLiteral("a\nb\n");
    QTest::newRow("mixed") << QByteArray("a\r\n\rb\n\r\r\nc") << QStringLiteral("a\n\nb\n\n\nc");
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringLiteral("a\n\nb");
    QTest::newRow("empty file") << QByteArray() << QString();
}

void TstDocFile::lineBreaks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("breaks.txt"));
    QVERIFY(writeBytes(file, bytes));
    const LoadResult loaded = LoadDocumentFile(file, 0, false, 4);
    QVERIFY(loaded.ok);
    QCOMPARE(loaded.text, text);
}

void TstDocFile::detectionAndDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("defaultIso");
    QTest::addColumn<bool>("iso");
    QTest::addColumn<QString>("text");
    // "ąś" is B1 B6 in ISO 8859-2 and B9 9C in Windows-1250.
    const QByteArray isoFile("<meta charset=ISO-8859-2></head>\xB1\xB6");
    const QByteArray winFile("<meta charset=windows-1250></head>\xB9\x9C");
    QTest::newRow("iso detected") << isoFile << 0 << false << true
                                  << QStringLiteral("<meta charset=ISO-8859-2></head>ąś");
    QTest::newRow("windows detected")
        << winFile << 0 << true << false << QStringLiteral("<meta charset=windows-1250></head>ąś");
    QTest::newRow("iso forced") << winFile << 2 << false << true
                                << QStringLiteral("<meta charset=windows-1250></head>\u0161\u009C");
    QTest::newRow("default iso") << QByteArray("\xB1") << 0 << true << true << QStringLiteral("ą");
    QTest::newRow("default windows") << QByteArray("\xB9") << 0 << false << false << QStringLiteral("ą");
}

void TstDocFile::detectionAndDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(bool, defaultIso);
    QFETCH(bool, iso);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("detect.html"));
    QVERIFY(writeBytes(file, bytes));
    const LoadResult loaded = LoadDocumentFile(file, mode, defaultIso, 4);
    QVERIFY(loaded.ok);
    QCOMPARE(loaded.iso, iso);
    QCOMPARE(loaded.text, text);
}

void TstDocFile::tabsExpand()
{
    const QString file = path(QStringLiteral("tabs.txt"));
    QVERIFY(writeBytes(file, "\tx\r\n\t\ty"));
    QCOMPARE(LoadDocumentFile(file, 0, false, 3).text, QStringLiteral("   x\n      y"));
    QCOMPARE(LoadDocumentFile(file, 0, false, 1).text, QStringLiteral(" x\n  y"));
    QCOMPARE(LoadDocumentFile(file, 0, false, 0).text, QStringLiteral(" x\n  y"));
    QCOMPARE(LoadDocumentFile(file, 0, false, KeepTabs).text, QStringLiteral("\tx\n\t\ty"));
}

// Old contents put back byte for byte: line breaks, tabs and every byte as they were.
void TstDocFile::writeBytesAsTheyAre()
{
    const QString file = path(QStringLiteral("bytes.html"));
    QVERIFY(writeBytes(file, "old"));
    const QByteArray bytes("a\n\tb\r\x81\xff&#8212;\r\n");
    const SaveResult r = WriteDocumentBytes(file, bytes);
    QVERIFY2(r.ok, qPrintable(r.errorText));
    QCOMPARE(readBytes(file), bytes);
    QCOMPARE(r.stamp, StatFile(file));
    QCOMPARE(r.unmappable, 0);
}

// Decoding goes a stretch at a time (ASCII sixteen bytes at once, line breaks and tabs
// found with memchr); it must give what decoding byte by byte gives, wherever the line
// breaks, tabs and letters fall.
void TstDocFile::decodeAsByteByByte()
{
    QRandomGenerator rng(7);
    const char pick[] = "\r\n\t a<>\xb1\xb9\xe6\x81\x9c";
    const QString file = path(QStringLiteral("random.html"));
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes(int(rng.bounded(round < 200 ? 70 : 3000)), Qt::Uninitialized);
        for (char &b : bytes)
            b = rng.bounded(3) == 0 ? pick[rng.bounded(int(sizeof(pick)) - 1)] : char(rng.bounded(256));
        QVERIFY(writeBytes(file, bytes));
        for (const bool iso : { false, true }) {
            for (const int tabWidth : { KeepTabs, 0, 3 }) {
                QString expected;
                for (int i = 0; i < bytes.size(); ++i) {
                    const unsigned char b = static_cast<unsigned char>(bytes[i]);
                    if (b == '\r') {
                        expected += QLatin1Char('\n');
                        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                            ++i;
                    } else if (b == '\t' && tabWidth != KeepTabs) {
                        expected += QString(std::max(tabWidth, 1), QLatin1Char(' '));
                    } else {
                        expected += QChar(
                            CodePage::toUnicode(b, iso ? CodePage::Iso8859_2 : CodePage::Windows1250));
                    }
                }
                const LoadResult loaded = LoadDocumentFile(file, iso ? 2 : 1, false, tabWidth);
                QVERIFY(loaded.ok);
                QCOMPARE(loaded.text, expected);
            }
        }
    }
}

void TstDocFile::loadFailures()
{
    const LoadResult missing = LoadDocumentFile(path(QStringLiteral("nope.html")), 0, false, 4);
    QVERIFY(!missing.ok);
    QVERIFY(!missing.errorText.isEmpty());
    QVERIFY(missing.text.isEmpty());

    const LoadResult dir = LoadDocumentFile(m_dir.path(), 0, false, 4);
    QVERIFY(!dir.ok);
    QVERIFY(!dir.errorText.isEmpty());
}

void TstDocFile::saveWritesCrLfAndCodePage()
{
    const QString file = path(QStringLiteral("out.html"));
    const QString text = QStringLiteral("Zażółć\ngęślą\n\njaźń\u00A0");
    QVERIFY(SaveDocumentFile(file, text, false).ok);
    QCOMPARE(readBytes(file), QByteArray("Za\xBF\xF3\xB3\xE6\r\ng\xEA\x9Cl\xB9\r\n\r\nja\x9F\xF1\xA0"));
    QVERIFY(SaveDocumentFile(file, text, true).ok);
    QCOMPARE(readBytes(file), QByteArray("Za\xBF\xF3\xB3\xE6\r\ng\xEA\xB6l\xB1\r\n\r\nja\xBC\xF1\xA0"));
    // Saving over an existing longer file leaves nothing of it behind.
    QVERIFY(SaveDocumentFile(file, QStringLiteral("x"), true).ok);
    QCOMPARE(readBytes(file), QByteArray("x"));
}

void TstDocFile::unmappableBecomeReferences()
{
    const QString file = path(QStringLiteral("refs.html"));
    // The em dash is in Windows-1250 but not in ISO 8859-2; the euro sign likewise;
    // U+1F600 is in neither and gives one reference for its surrogate pair.
    const QString text = QStringLiteral("a\u2014b\u20AC\U0001F600\u0436");
    const SaveResult iso = SaveDocumentFile(file, text, true);
    QVERIFY(iso.ok);
    QCOMPARE(iso.unmappable, 4);
    QCOMPARE(readBytes(file), QByteArray("a&#8212;b&#8364;&#128512;&#1078;"));
    const SaveResult win = SaveDocumentFile(file, text, false);
    QVERIFY(win.ok);
    QCOMPARE(win.unmappable, 2);
    QCOMPARE(readBytes(file),
        QByteArray("a\x97"
                   "b\x80&#128512;&#1078;"));
}

void TstDocFile::failedSaveKeepsOldFile()
{
    // A directory in the file's place cannot be replaced.
    const QString dirPath = path(QStringLiteral("folder.html"));
    QVERIFY(QDir().mkpath(dirPath));
    const SaveResult intoDir = SaveDocumentFile(dirPath, QStringLiteral("text"), false);
    QVERIFY(!intoDir.ok);
    QVERIFY(!intoDir.errorText.isEmpty());
    QVERIFY(QFileInfo(dirPath).isDir());

    // A folder that does not exist.
    const SaveResult noFolder
        = SaveDocumentFile(path(QStringLiteral("missing/x.html")), QStringLiteral("text"), false);
    QVERIFY(!noFolder.ok);

    // A folder the user may not write to: the old file stays as it was.
    if (::geteuid() == 0)
        QSKIP("running as root: folder permissions are not enforced");
    const QString locked = path(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(locked));
    const QString file = QDir(locked).filePath(QStringLiteral("page.html"));
    QVERIFY(writeBytes(file, "old contents"));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const SaveResult denied = SaveDocumentFile(file, QStringLiteral("new contents"), false);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!denied.ok);
    QVERIFY(!denied.errorText.isEmpty());
    QCOMPARE(readBytes(file), QByteArray("old contents"));
}

// The encoder writes into a buffer of one byte per character and grows it for the
// references: a text of nothing but unmappable characters must come out whole.
void TstDocFile::manyReferencesGrowTheOutput()
{
    QString text;
    QByteArray expected;
    for (int i = 0; i < 5000; ++i) {
        text += (i % 3 == 2) ? QStringLiteral("x") : QString(QChar(0x2192));
        expected += (i % 3 == 2) ? QByteArray("x") : QByteArray("&#8594;");
    }
    text += QString::fromUcs4(U"\U0001F600", 1);
    expected += "&#128512;";
    int bad = -1;
    QCOMPARE(CodePage::encode(text, CodePage::Windows1250, &bad), expected);
    QCOMPARE(bad, 3334 + 1);
}

namespace {

// Runs SaveDocumentFile in a child process after prepare (limits, another user) ran
// there; 0 when it saved, 1 when it failed with a reason, anything else a fault.
int saveInChild(const QString &file, const QString &text, const std::function<bool()> &prepare)
{
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        if (!prepare())
            ::_exit(3);
        const SaveResult r = SaveDocumentFile(file, text, false);
        ::_exit(r.ok ? 0 : r.errorText.isEmpty() ? 2 : 1);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

struct stat statOf(const QString &p)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(p).constData(), &st);
    return st;
}

} // namespace

void TstDocFile::fullDiskKeepsOldFile_data()
{
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("hardLinked");
    QTest::newRow("nothing fits") << 0 << 100 << false;
    QTest::newRow("cut short") << 1000 << 5000 << false;
    QTest::newRow("larger than the write buffer") << 20000 << 40000 << false;
    QTest::newRow("hard-linked file written in place") << 1000 << 5000 << true;
}

// A file system that fills up while the new text is written: the child process may not
// grow a file past limit bytes (writes past it fail as on a full disk). The save must
// report the failure and leave the old file as it was, with nothing left beside it.
void TstDocFile::fullDiskKeepsOldFile()
{
    QFETCH(int, limit);
    QFETCH(int, size);
    QFETCH(bool, hardLinked);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("full.html"));
    QVERIFY(writeBytes(file, "old contents"));
    QStringList names { QStringLiteral("full.html") };
    if (hardLinked) {
        QVERIFY(::link(QFile::encodeName(file).constData(),
                    QFile::encodeName(dir.filePath(QStringLiteral("other.html"))).constData())
            == 0);
        names << QStringLiteral("other.html");
    }
    const FileStamp before = StatFile(file);
    const int outcome = saveInChild(file, QString(size, QLatin1Char('n')), [limit] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl { rlim_t(limit), rlim_t(limit) };
        return ::setrlimit(RLIMIT_FSIZE, &rl) == 0;
    });
    QCOMPARE(outcome, 1);
    QCOMPARE(readBytes(file), QByteArray("old contents"));
    QCOMPARE(StatFile(file), before); // not even its time changed
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), names);
}

void TstDocFile::saveKeepsFileIdentity_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("plain file") << QStringLiteral("plain");
    QTest::newRow("hard link") << QStringLiteral("hard");
    QTest::newRow("symbolic link") << QStringLiteral("symbolic");
    QTest::newRow("another user's file") << QStringLiteral("foreign");
}

// Saving keeps who owns the file and who may read it, every other name it has (hard
// links) and the symbolic link it was opened through.
void TstDocFile::saveKeepsFileIdentity()
{
    QFETCH(QString, kind);
    const bool root = ::geteuid() == 0;
    if (kind == QLatin1String("foreign") && !root)
        QSKIP("needs root to hand the file to another user");
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.html"));
    QVERIFY(writeBytes(real, "old contents"));
    QVERIFY(::chmod(QFile::encodeName(real).constData(), 0604) == 0);
    // As root the file first goes to another owner; the save must give it back to them.
    const uid_t owner = root ? 4321 : ::geteuid();
    const gid_t group = root ? 4321 : ::getegid();
    QVERIFY(::chown(QFile::encodeName(real).constData(), owner, group) == 0);
    const ino_t inode = statOf(real).st_ino;

    QString saved = real;
    if (kind == QLatin1String("hard")) {
        saved = dir.filePath(QStringLiteral("second.html"));
        QVERIFY(::link(QFile::encodeName(real).constData(), QFile::encodeName(saved).constData()) == 0);
    } else if (kind == QLatin1String("symbolic")) {
        saved = dir.filePath(QStringLiteral("link.html"));
        QVERIFY(QFile::link(QStringLiteral("real.html"), saved)); // relative, as ln -s makes it
    }
    const QString text = QStringLiteral("new contents");
    if (kind == QLatin1String("foreign")) {
        // A user who may write the file (mode 0666) but may not give a file away: the
        // file is written in place and stays root's.
        QVERIFY(::chown(QFile::encodeName(real).constData(), 0, 0) == 0);
        QVERIFY(::chmod(QFile::encodeName(real).constData(), 0666) == 0);
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0777) == 0);
        QCOMPARE(saveInChild(saved, text, [] { return ::setgid(65534) == 0 && ::setuid(65534) == 0; }), 0);
    } else {
        const SaveResult r = SaveDocumentFile(saved, text, false);
        QVERIFY2(r.ok, qPrintable(r.errorText));
        QCOMPARE(r.stamp, StatFile(real));
    }

    QCOMPARE(readBytes(real), QByteArray("new contents"));
    const struct stat after = statOf(real);
    if (kind == QLatin1String("foreign")) {
        QCOMPARE(after.st_uid, uid_t(0));
        QCOMPARE(after.st_gid, gid_t(0));
        QCOMPARE(after.st_mode & 07777, mode_t(0666));
    } else {
        QCOMPARE(after.st_uid, owner);
        QCOMPARE(after.st_gid, group);
        QCOMPARE(after.st_mode & 07777, mode_t(0604));
    }
    if (kind == QLatin1String("hard") || kind == QLatin1String("foreign")) {
        QCOMPARE(after.st_ino, inode);
        QCOMPARE(readBytes(saved), QByteArray("new contents"));
    }
    if (kind == QLatin1String("symbolic"))
        QCOMPARE(QFileInfo(saved).symLinkTarget(), QFileInfo(real).absoluteFilePath());
    // No backup or temporary file is left behind.
    QCOMPARE(
        QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), saved == real ? 1 : 2);
}

namespace {

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

// Every byte value but CR and LF, in runs ended by breaker.
QByteArray everyByte(const QByteArray &breaker)
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n')
            continue;
        bytes.append(char(b));
        if (b % 32 == 31)
            bytes.append(breaker);
    }
    return bytes;
}

} // namespace

// Opened with tabs kept and saved without edits, every file comes back byte for byte, in
// the encoding and with the line break it was read with.
void TstDocFile::roundTripUnedited_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("codePage"); // DocumentEncoding::Id read in
    QTest::addColumn<bool>("bom");
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<bool>("fellBack");
    QTest::addColumn<QString>("text"); // the text read; empty: not compared
    using E = DocumentEncoding;
    const int crLf = int(LineBreak::CrLf), lf = int(LineBreak::Lf), cr = int(LineBreak::Cr);
    // Long enough that the sixteen-byte runs meet letters and breaks at every offset.
    QString page;
    for (int i = 0; i < 40; ++i)
        page += QStringLiteral("<p>Zażółć gęślą jaźń \U0001F600 %1</p>\n<b>ŹDŹBŁO</b>\n").arg(i);
    QString crLfPage = page;
    crLfPage.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));

    QTest::newRow("UTF-8, Polish letters and an emoji, LF")
        << page.toUtf8() << 0 << int(E::Utf8) << false << lf << false << page;
    QTest::newRow("UTF-8 with its mark, CR LF")
        << "\xEF\xBB\xBF" + crLfPage.toUtf8() << 0 << int(E::Utf8) << true << crLf << false << page;
    QTest::newRow("UTF-8 forced, with its mark")
        << QByteArray("\xEF\xBB\xBF"
                      "a\rb")
        << 3 << int(E::Utf8) << true << cr << false << QStringLiteral("a\nb");
    QTest::newRow("UTF-16 LE with its mark")
        << utf16(crLfPage, false) << 0 << int(E::Utf16LE) << true << crLf << false << page;
    QTest::newRow("UTF-16 BE with its mark, a lone surrogate kept")
        << utf16(QStringLiteral("a\nb") + QChar(0xD800) + QStringLiteral("\n"), true) << 0 << int(E::Utf16BE)
        << true << lf << false << QStringLiteral("a\nb") + QChar(0xD800) + QStringLiteral("\n");
    QTest::newRow("LF") << QByteArray("a\nb\n") << 0 << int(E::Windows1250) << false << lf << false
                        << QStringLiteral("a\nb\n");
    QTest::newRow("CR") << QByteArray("a\rb\r\xB9") << 0 << int(E::Windows1250) << false << cr << false
                        << QStringLiteral("a\nb\ną");
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << 0 << int(E::Windows1250) << false << crLf << false
                           << QStringLiteral("a\nb");
    QTest::newRow("tab-indented, tabs kept")
        << QByteArray("<ul>\n\t<li>\xC5\xBC\n\t\t<b>x</b>\t\n</ul>\n") << 0 << int(E::Utf8) << false << lf
        << false << QStringLiteral("<ul>\n\t<li>ż\n\t\t<b>x</b>\t\n</ul>\n");
    QTest::newRow("every byte, Windows-1250, LF")
        << everyByte("\n") << 1 << int(E::Windows1250) << false << lf << false << QString();
    QTest::newRow("every byte, ISO 8859-2, CR")
        << everyByte("\r") << 2 << int(E::Iso8859_2) << false << cr << false << QString();
    QTest::newRow("declared UTF-8, invalid bytes")
        << QByteArray("<meta charset=\"utf-8\"></head>Za\xBF\xF3\xB3\xE6\r\n") << 0 << int(E::Windows1250)
        << false << crLf << true << QStringLiteral("<meta charset=\"utf-8\"></head>Zażółć\n");
    QTest::newRow("forced UTF-8, invalid bytes")
        << QByteArray("\xEF\xBB\xBF\xB9\n") << 3 << int(E::Windows1250) << false << lf << true
        << QStringLiteral("ď»żą\n");
    QTest::newRow("UTF-16 mark, odd length") << QByteArray("\xFF\xFE"
                                                           "a\0b",
        5) << 0 << int(E::Windows1250) << false
                                             << crLf << true << QStringLiteral("˙ţa") + QChar(0) + u'b';
    QTest::newRow("empty file") << QByteArray() << 0 << int(E::Windows1250) << false << crLf << false
                                << QString();
}

void TstDocFile::roundTripUnedited()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(int, codePage);
    QFETCH(bool, bom);
    QFETCH(int, lineBreak);
    QFETCH(bool, fellBack);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("round.html"));
    QVERIFY(writeBytes(file, bytes));
    LoadOptions options;
    options.mode = mode;
    options.expandTabs = false;
    const LoadResult loaded = LoadDocumentFile(file, options);
    QVERIFY2(loaded.ok, qPrintable(loaded.errorText));
    QCOMPARE(int(loaded.encoding.codePage), codePage);
    QCOMPARE(loaded.encoding.bom, bom);
    QCOMPARE(loaded.iso, codePage == DocumentEncoding::Iso8859_2);
    QCOMPARE(int(loaded.lineBreak), lineBreak);
    QVERIFY(!loaded.mixedBreaks);
    QCOMPARE(loaded.fellBack, fellBack);
    QCOMPARE(loaded.warningText.contains(QLatin1String("Windows-1250")), fellBack);
    if (!text.isEmpty())
        QCOMPARE(loaded.text, text);

    const SaveResult saved = SaveDocumentFile(file, loaded.text, loaded.encoding, loaded.lineBreak);
    QVERIFY2(saved.ok, qPrintable(saved.errorText));
    QCOMPARE(saved.unmappable, 0);
    QCOMPARE(saved.replaced, 0);
    QCOMPARE(readBytes(file), bytes);
}

void TstDocFile::mixedBreaksTakeTheMajority_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<QByteArray>("saved");
    QTest::newRow("CR LF most") << QByteArray("a\r\nb\nc\r\n") << int(LineBreak::CrLf)
                                << QByteArray("a\r\nb\r\nc\r\n");
    QTest::newRow("LF most") << QByteArray("a\nb\rc\n\xC5\xBC") << int(LineBreak::Lf)
                             << QByteArray("a\nb\nc\n\xC5\xBC");
    QTest::newRow("CR most") << QByteArray("a\rb\rc\r\n") << int(LineBreak::Cr) << QByteArray("a\rb\rc\r");
    QTest::newRow("tie: CR LF first")
        << QByteArray("a\nb\r\n") << int(LineBreak::CrLf) << QByteArray("a\r\nb\r\n");
    QTest::newRow("tie: LF before CR") << QByteArray("a\rb\n") << int(LineBreak::Lf) << QByteArray("a\nb\n");
}

void TstDocFile::mixedBreaksTakeTheMajority()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineBreak);
    QFETCH(QByteArray, saved);
    const QString file = path(QStringLiteral("mixed.txt"));
    QVERIFY(writeBytes(file, bytes));
    LoadOptions options;
    options.defaultEncoding = DocumentEncoding::utf8();
    const LoadResult loaded = LoadDocumentFile(file, options);
    QVERIFY(loaded.ok);
    QVERIFY(loaded.mixedBreaks);
    QCOMPARE(int(loaded.lineBreak), lineBreak);
    QVERIFY(SaveDocumentFile(file, loaded.text, loaded.encoding, loaded.lineBreak).ok);
    QCOMPARE(readBytes(file), saved);
}

// Texts no file was read from: typed, pasted or sent over the channel.
void TstDocFile::encodeUnicode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("codePage");
    QTest::addColumn<bool>("bom");
    QTest::addColumn<int>("lineBreak");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("replaced");
    using E = DocumentEncoding;
    const int crLf = int(LineBreak::CrLf), lf = int(LineBreak::Lf), cr = int(LineBreak::Cr);
    const QChar high(0xD83D), low(0xDE00);
    QTest::newRow("every character as it is")
        << QStringLiteral("ż\u2014\U0001F600&") << int(E::Utf8) << false << lf
        << QByteArray("\xC5\xBC\xE2\x80\x94\xF0\x9F\x98\x80&") << 0;
    QTest::newRow("lone high surrogate")
        << QStringLiteral("a") + high + QStringLiteral("b") << int(E::Utf8) << false << lf
        << QByteArray("a\xEF\xBF\xBD"
                      "b")
        << 1;
    QTest::newRow("lone low surrogate at the end")
        << QStringLiteral("a") + low << int(E::Utf8) << false << lf << QByteArray("a\xEF\xBF\xBD") << 1;
    QTest::newRow("pair in the wrong order")
        << QString(low) + high << int(E::Utf8) << false << lf << QByteArray("\xEF\xBF\xBD\xEF\xBF\xBD") << 2;
    QTest::newRow("lone surrogate after a long run")
        << QStringLiteral("0123456789abcdef") + high << int(E::Utf8) << true << crLf
        << QByteArray("\xEF\xBB\xBF"
                      "0123456789abcdef\xEF\xBF\xBD")
        << 1;
    QTest::newRow("UTF-8 with its mark, CR") << QStringLiteral("a\nb\n") << int(E::Utf8) << true << cr
                                             << QByteArray("\xEF\xBB\xBF"
                                                           "a\rb\r")
                                             << 0;
    QTest::newRow("UTF-16 LE keeps a lone surrogate, CR LF")
        << QStringLiteral("a\n") + high << int(E::Utf16LE) << true << crLf
        << QByteArray("\xFF\xFE"
                      "a\0\r\0\n\0\x3D\xD8",
               10)
        << 0;
    QTest::newRow("UTF-16 BE, emoji") << QStringLiteral("\U0001F600") << int(E::Utf16BE) << true << lf
                                      << QByteArray("\xFE\xFF\xD8\x3D\xDE\x00", 6) << 0;
    QTest::newRow("Windows-1250, LF")
        << QStringLiteral("ż\n") << int(E::Windows1250) << false << lf << QByteArray("\xBF\n") << 0;
}

void TstDocFile::encodeUnicode()
{
    QFETCH(QString, text);
    QFETCH(int, codePage);
    QFETCH(bool, bom);
    QFETCH(int, lineBreak);
    QFETCH(QByteArray, bytes);
    QFETCH(int, replaced);
    EncodeCounts counts;
    const DocumentEncoding encoding { DocumentEncoding::Id(codePage), bom };
    QCOMPARE(EncodeDocumentText(text, encoding, LineBreak(lineBreak), &counts), bytes);
    QCOMPARE(counts.replaced, replaced);
    QCOMPARE(counts.unmappable, 0);
}

void TstDocFile::tabsPerCodePage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8, width 3") << QByteArray("\t\xC5\xBC\r\n\t\t\xF0\x9F\x98\x80") << 3 << 3
                                    << QStringLiteral("   ż\n      \U0001F600");
    QTest::newRow("UTF-8, width 0 is one space")
        << QByteArray("\t\xC5\xBC\t") << 3 << 0 << QStringLiteral(" ż ");
    QTest::newRow("UTF-16, width 2") << utf16(QStringLiteral("\tż\t"), false) << 0 << 2
                                     << QStringLiteral("  ż  ");
}

void TstDocFile::tabsPerCodePage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(int, tabWidth);
    QFETCH(QString, text);
    const QString file = path(QStringLiteral("tabs.html"));
    QVERIFY(writeBytes(file, bytes));
    LoadOptions options;
    options.mode = mode;
    options.tabWidth = tabWidth;
    QCOMPARE(LoadDocumentFile(file, options).text, text);
}

void TstDocFile::fallbackWarning_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("reason");
    QTest::newRow("declared") << QByteArray("<meta charset=utf-8>\xC5\xBC\xB9") << 0
                              << QStringLiteral("Plik deklaruje kodowanie UTF-8, ale nie jest w nim zapisany "
                                                "(pierwszy błędny bajt: 0xb9, bajt nr 23 pliku).");
    QTest::newRow("forced, cut off") << QByteArray("ab\xC5") << 3
                                     << QStringLiteral(
                                            "Wybrano kodowanie UTF-8, ale plik nie jest w nim zapisany "
                                            "(pierwszy błędny bajt: 0xc5, bajt nr 3 pliku).");
    QTest::newRow("UTF-16, odd") << QByteArray("\xFE\xFF\x01") << 0
                                 << QStringLiteral(
                                        "Plik zaczyna się znacznikiem kolejności bajtów UTF-16, ale ma "
                                        "nieparzystą liczbę bajtów.");
}

void TstDocFile::fallbackWarning()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QString, reason);
    const QString file = path(QStringLiteral("bad.html"));
    QVERIFY(writeBytes(file, bytes));
    LoadOptions options;
    options.mode = mode;
    const LoadResult loaded = LoadDocumentFile(file, options);
    QVERIFY(loaded.ok && loaded.fellBack);
    QCOMPARE(loaded.encoding, DocumentEncoding::fromIso(false));
    QCOMPARE(loaded.warningText,
        reason
            + QStringLiteral(
                "\nOtwarto go w kodowaniu Windows-1250: zapisany bez zmian zachowa wszystkie swoje "
                "bajty."));
}

QTEST_GUILESS_MAIN(TstDocFile)
#include "tst_docfile.moc"
