#include "app/recoveryfile.h"
#include "app/recoverystore.h"

#include <QtTest>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RecoveryRecord)

namespace {

RecoveryRecord record(const QString &fileName, bool iso, int anchor, int position, const QString &text)
{
    RecoveryRecord r;
    r.fileName = fileName;
    r.encoding = DocumentEncoding::fromIso(iso);
    r.anchor = anchor;
    r.position = position;
    r.text = text;
    return r;
}

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QStringList sessions(const QString &folder)
{
    return QDir(folder).entryList({ QStringLiteral("session-*") }, QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

class TstRecoveryCore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void damaged_data();
    void damaged();
    void selectionClampedAndUnknownKeysSkipped();
    void crashedSessionsTakenRunningOnesLeft();
    void sessionOfAKilledProcessIsTaken();
};

void TstRecoveryCore::roundTrip_data()
{
    QTest::addColumn<RecoveryRecord>("r");
    QTest::newRow("untitled, Windows-1250") << record(QString(), false, 3, 3, QStringLiteral("<p>abc</p>"));
    QTest::newRow("titled, ISO 8859-2, Polish letters")
        << record(QStringLiteral("/home/ala/Zażółć gęślą.html"), true, 0, 5, QStringLiteral("Źdźbło\nżółw"));
    QTest::newRow("selection made backwards")
        << record(QStringLiteral("/a.html"), false, 9, 2, QStringLiteral("0123456789"));
    QTest::newRow("empty text") << record(QStringLiteral("/a.html"), false, 0, 0, QString());
    QTest::newRow("file name with a line break and percent signs")
        << record(QStringLiteral("/tmp/a\nb%41%0A: c.html"), false, 0, 0, QStringLiteral("x"));
    QTest::newRow("characters no code page holds") << record(QString(), true, 1, 4,
        QStringLiteral("a\u00a0b\u2014c\u2029d\r\n") + QChar(0) + QStringLiteral("\n\n\U0001F600"));
    RecoveryRecord known = record(QStringLiteral("/a.html"), false, 0, 0, QStringLiteral("x"));
    known.disk = { true, 5120, Q_INT64_C(1700000000123456789), Q_UINT64_C(18446744073709551615), 2049 };
    QTest::newRow("the file as it was on disk") << known;
    RecoveryRecord utf8 = record(QStringLiteral("/u.html"), false, 1, 1, QStringLiteral("\U0001F600ż"));
    utf8.encoding = DocumentEncoding::utf8(true);
    utf8.lineBreak = LineBreak::Lf;
    QTest::newRow("UTF-8 with its mark, LF") << utf8;
    utf8.encoding = { DocumentEncoding::Utf16BE, true };
    utf8.lineBreak = LineBreak::Cr;
    QTest::newRow("UTF-16 BE, CR") << utf8;
}

void TstRecoveryCore::roundTrip()
{
    QFETCH(RecoveryRecord, r);
    QString error;
    const auto decoded = RecoveryFile::decode(RecoveryFile::encode(r), &error);
    QVERIFY2(decoded, qPrintable(error));
    QCOMPARE(*decoded, r);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("1.rec"));
    QVERIFY(RecoveryFile::write(path, r, &error));
    QCOMPARE(modeOf(path), mode_t(0600));
    // Rewritten: replaced whole.
    QVERIFY(RecoveryFile::write(path, r, &error));
    const auto read = RecoveryFile::read(path, &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(*read, r);
}

void TstRecoveryCore::damaged_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray good
        = RecoveryFile::encode(record(QStringLiteral("/a.html"), true, 1, 2, QStringLiteral("żółw")));
    const qsizetype body = good.indexOf("\n\n") + 2;
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("another format") << QByteArray("<html>\n\n</html>");
    QTest::newRow("later version") << QByteArray(good).replace("RECOVERY 1", "RECOVERY 2");
    QTest::newRow("header never ends") << good.left(body - 1);
    QTest::newRow("text cut short") << good.left(good.size() - 1);
    QTest::newRow("text longer than said") << good + "x";
    QTest::newRow("length missing") << QByteArray(good).replace("\nlength: ", "\nlengthx: ");
    QTest::newRow("unknown code page") << QByteArray(good).replace("iso-8859-2", "koi8-r");
    QTest::newRow("negative caret") << QByteArray(good).replace("anchor: 1", "anchor: -1");
    QTest::newRow("caret not a number") << QByteArray(good).replace("anchor: 1", "anchor: 1x");
    QTest::newRow("header line without a value") << QByteArray(good).replace("\nanchor: 1", "\nanchor 1");
    QByteArray badUtf8 = good;
    badUtf8[body] = char(0xC5);
    badUtf8[body + 1] = char(0x41);
    QTest::newRow("text not UTF-8") << badUtf8;
    QTest::newRow("huge length") << QByteArray(good).replace(
        "length: " + QByteArray::number(good.size() - body), "length: 99999999999999999999");
}

void TstRecoveryCore::damaged()
{
    QFETCH(QByteArray, bytes);
    QString error;
    QVERIFY(!RecoveryFile::decode(bytes, &error));
    QVERIFY(!error.isEmpty());
}

void TstRecoveryCore::selectionClampedAndUnknownKeysSkipped()
{
    QByteArray bytes = RecoveryFile::encode(record(QString(), false, 50, 70, QStringLiteral("abc")));
    bytes.replace("\ncodepage", "\nzapisano: 2024-01-01\ncodepage");
    const auto r = RecoveryFile::decode(bytes);
    QVERIFY(r);
    QCOMPARE(r->anchor, 3);
    QCOMPARE(r->position, 3);
    QCOMPARE(r->text, QStringLiteral("abc"));

    // A record written before the code page and line break keys existed: an 8-bit CR LF
    // document. A name of a later version's code page leaves the one "codepage" says.
    QByteArray old = RecoveryFile::encode(record(QString(), true, 0, 0, QStringLiteral("x")));
    old.replace("\nlinebreak: crlf", "");
    QCOMPARE(RecoveryFile::decode(old)->encoding, DocumentEncoding::fromIso(true));
    QCOMPARE(RecoveryFile::decode(old)->lineBreak, LineBreak::CrLf);
    old.replace("\ncodepage", "\nencoding: utf-7\ncodepage");
    QCOMPARE(RecoveryFile::decode(old)->encoding, DocumentEncoding::fromIso(true));
}

void TstRecoveryCore::crashedSessionsTakenRunningOnesLeft()
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("odzysk"));
    const RecoveryRecord a = record(QStringLiteral("/a.html"), false, 0, 1, QStringLiteral("a"));
    const RecoveryRecord b = record(QString(), true, 1, 1, QStringLiteral("b"));
    const RecoveryRecord c = record(QStringLiteral("/c.html"), false, 0, 0, QStringLiteral("c"));

    RecoveryStore running(root);
    QVERIFY(running.open());
    QVERIFY(running.write(1, c));
    QCOMPARE(modeOf(root), mode_t(0700));
    QCOMPARE(modeOf(running.sessionPath()), mode_t(0700));

    QString crashed;
    {
        RecoveryStore store(root);
        QVERIFY(store.open());
        crashed = store.sessionPath();
        QVERIFY(store.write(10, b));
        QVERIFY(store.write(2, a));
        QVERIFY(store.write(3, c));
        store.remove(3); // saved before the crash
        QFile junk(QDir(crashed).filePath(QStringLiteral("4.rec")));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("garbage");
    } // ends without discard(): as a crashed editor leaves it

    RecoveryStore next(root);
    QVERIFY(next.open());
    const RecoveryStore::Orphans found = next.takeOrphans();
    // In the order the documents were opened; the running editor's record is not among them.
    QCOMPARE(found.records, (QList<RecoveryRecord> { a, b }));
    QCOMPARE(found.damaged.size(), 1);
    QVERIFY(found.damaged.first().contains(QStringLiteral("4.rec")));

    // Taken: a third editor starting now finds nothing to take.
    RecoveryStore third(root);
    QVERIFY(third.open());
    QVERIFY(third.takeOrphans().records.isEmpty());

    next.removeOrphans();
    QVERIFY(!QFileInfo::exists(crashed));
    QCOMPARE(QDir(next.damagedFolder()).entryList(QDir::Files).size(), 1);
    QVERIFY(QFileInfo::exists(QDir(running.sessionPath()).filePath(QStringLiteral("1.rec"))));

    // A clean close leaves nothing behind.
    const QString runningSession = running.sessionPath();
    running.discard();
    QVERIFY(!QFileInfo::exists(runningSession));
    QCOMPARE(sessions(root).size(), 2); // next and third
}

void TstRecoveryCore::sessionOfAKilledProcessIsTaken()
{
    QTemporaryDir dir;
    const RecoveryRecord a = record(QStringLiteral("/a.html"), true, 2, 2, QStringLiteral("zmiany"));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        // The lock file stays behind with the pid of a process that is gone.
        RecoveryStore store(dir.path());
        const bool ok = store.open() && store.write(7, a);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    QCOMPARE(sessions(dir.path()).size(), 1);
    QVERIFY(
        QFileInfo::exists(QDir(dir.filePath(sessions(dir.path()).first())).filePath(QStringLiteral("lock"))));

    RecoveryStore next(dir.path());
    QVERIFY(next.open());
    QCOMPARE(next.takeOrphans().records, QList<RecoveryRecord> { a });
    next.removeOrphans();
    QCOMPARE(sessions(dir.path()), QStringList { QFileInfo(next.sessionPath()).fileName() });
}

QTEST_GUILESS_MAIN(TstRecoveryCore)
#include "tst_recoverycore.moc"
