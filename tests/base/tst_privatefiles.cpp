#include "app/previewfile.h"
#include "base/privatedir.h"
#include "testsupport.h"

#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testsupport::ScopedEnv;

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
}

// What is planted where a file is to be written.
enum Planted { Nothing, OwnFile, LinkToVictim, DanglingLink, Folder, Pipe, HardLink, OtherUsersFile };

// Plants it at path; victim is a file of the user's that must never change.
bool plant(Planted what, const QString &path, const QString &victim)
{
    const QByteArray p = QFile::encodeName(path);
    switch (what) {
    case Nothing:
        return true;
    case OwnFile:
        writeAll(path, "old preview, longer than the new one");
        return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    case LinkToVictim:
        return QFile::link(victim, path);
    case DanglingLink:
        return QFile::link(victim + QStringLiteral(".nowy"), path);
    case Folder:
        return QDir().mkdir(path);
    case Pipe:
        return ::mkfifo(p.constData(), 0600) == 0;
    case HardLink:
        return ::link(QFile::encodeName(victim).constData(), p.constData()) == 0;
    case OtherUsersFile:
        writeAll(path, "somebody else's");
        return ::chown(p.constData(), 65534, 65534) == 0;
    }
    return false;
}

} // namespace

class TstPrivateFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void privateFolder_data();
    void privateFolder();
    void ensurePrivateFolder_data();
    void ensurePrivateFolder();
    void writeOwnFile_data();
    void writeOwnFile();
    void removeOwnFileLeavesOthers();
    void temporaryFileBesideDocument_data();
    void temporaryFileBesideDocument();
};

void TstPrivateFiles::privateFolder_data()
{
    QTest::addColumn<QString>("runtime"); // "private", "open", "link", "" (unset)
    QTest::addColumn<QString>("fallback"); // what is in the temporary folder first: "", "link", "open"
    QTest::addColumn<QString>("expected"); // "runtime", "fallback", "" (none)
    QTest::newRow("private runtime folder") << "private"
                                            << ""
                                            << "runtime";
    QTest::newRow("runtime folder open to others") << "open"
                                                   << ""
                                                   << "fallback";
    QTest::newRow("runtime folder is a link") << "link"
                                              << ""
                                              << "fallback";
    QTest::newRow("no runtime folder") << ""
                                       << ""
                                       << "fallback";
    QTest::newRow("fallback planted as a link") << ""
                                                << "link"
                                                << "";
    QTest::newRow("fallback open to others") << ""
                                             << "open"
                                             << "";
}

void TstPrivateFiles::privateFolder()
{
    QFETCH(QString, runtime);
    QFETCH(QString, fallback);
    QFETCH(QString, expected);
    QTemporaryDir tmp, runtimeDir, elsewhere;
    const QString runtimePath
        = runtime == QLatin1String("link") ? tmp.filePath(QStringLiteral("run")) : runtimeDir.path();
    if (runtime == QLatin1String("open"))
        QVERIFY(QFile::setPermissions(runtimePath,
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    if (runtime == QLatin1String("link"))
        QVERIFY(QFile::link(runtimeDir.path(), runtimePath));
    const QString fallbackPath = tmp.filePath(QStringLiteral("markora-%1").arg(::getuid()));
    if (fallback == QLatin1String("link"))
        QVERIFY(QFile::link(elsewhere.path(), fallbackPath));
    if (fallback == QLatin1String("open"))
        QVERIFY(::mkdir(QFile::encodeName(fallbackPath).constData(), 0777) == 0
            && ::chmod(QFile::encodeName(fallbackPath).constData(), 0777) == 0);

    ScopedEnv tmpEnv("TMPDIR", QFile::encodeName(tmp.path()));
    ScopedEnv runtimeEnv(
        "XDG_RUNTIME_DIR", runtime.isEmpty() ? QByteArray() : QFile::encodeName(runtimePath));
    const QString folder = PrivateFolder();
    if (expected == QLatin1String("runtime"))
        QCOMPARE(folder, runtimePath);
    else if (expected == QLatin1String("fallback"))
        QCOMPARE(folder, fallbackPath);
    else
        QCOMPARE(folder, QString());
    if (!folder.isEmpty()) {
        QVERIFY(IsPrivateFolder(folder));
        QCOMPARE(modeOf(folder) & 0777, mode_t(0700));
    }
    // A planted folder or link is left as it was found.
    if (fallback == QLatin1String("link"))
        QVERIFY(QFileInfo(fallbackPath).isSymLink());
}

void TstPrivateFiles::ensurePrivateFolder_data()
{
    QTest::addColumn<QString>("there"); // what is at the path first
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("modeAfter");
    QTest::newRow("nothing: created") << "" << true << 0700;
    QTest::newRow("own folder others may read: closed") << "0755" << true << 0700;
    QTest::newRow("own folder others may write: refused") << "0777" << false << 0777;
    QTest::newRow("link to a private folder: refused") << "link" << false << 0;
    QTest::newRow("a file: refused") << "file" << false << 0;
}

void TstPrivateFiles::ensurePrivateFolder()
{
    QFETCH(QString, there);
    QFETCH(bool, ok);
    QFETCH(int, modeAfter);
    QTemporaryDir dir, elsewhere;
    const QString path = dir.filePath(QStringLiteral("a/b/odzysk"));
    QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("a/b"))));
    const QByteArray native = QFile::encodeName(path);
    if (there == QLatin1String("link"))
        QVERIFY(QFile::link(elsewhere.path(), path));
    else if (there == QLatin1String("file"))
        writeAll(path, "x");
    else if (!there.isEmpty())
        QVERIFY(::mkdir(native.constData(), 0700) == 0
            && ::chmod(native.constData(), there.toUInt(nullptr, 8)) == 0);
    QCOMPARE(EnsurePrivateFolder(path), ok);
    QCOMPARE(IsPrivateFolder(path), ok);
    if (modeAfter)
        QCOMPARE(modeOf(path) & 0777, mode_t(modeAfter));
}

void TstPrivateFiles::writeOwnFile_data()
{
    QTest::addColumn<int>("planted");
    QTest::addColumn<bool>("written");
    QTest::newRow("nothing there") << int(Nothing) << true;
    QTest::newRow("own file") << int(OwnFile) << true;
    QTest::newRow("link to the user's own file") << int(LinkToVictim) << false;
    QTest::newRow("dangling link") << int(DanglingLink) << false;
    QTest::newRow("folder") << int(Folder) << false;
    QTest::newRow("named pipe") << int(Pipe) << false;
    QTest::newRow("second name of the user's file") << int(HardLink) << false;
    if (::getuid() == 0)
        QTest::newRow("another user's file") << int(OtherUsersFile) << false;
}

void TstPrivateFiles::writeOwnFile()
{
    QFETCH(int, planted);
    QFETCH(bool, written);
    QTemporaryDir shared, home;
    const QString victim = home.filePath(QStringLiteral("praca.html"));
    writeAll(victim, "the user's work");
    const QString path = shared.filePath(QStringLiteral("~Markora$HTML.HTML"));
    QVERIFY(plant(Planted(planted), path, victim));
    const mode_t before = modeOf(path);

    const OwnFileWrite r = WriteOwnFile(path, "<p>podgląd</p>");
    QCOMPARE(r.status, written ? OwnFileWrite::Written : OwnFileWrite::Foreign);
    QCOMPARE(readAll(victim), QByteArray("the user's work"));
    QVERIFY(!QFileInfo::exists(victim + QStringLiteral(".nowy")));
    if (written) {
        QCOMPARE(readAll(path), QByteArray("<p>podgląd</p>"));
        QCOMPARE(modeOf(path) & 07777, mode_t(0600));
        QVERIFY(S_ISREG(modeOf(path)));
    } else {
        QCOMPARE(modeOf(path), before);
    }
}

void TstPrivateFiles::removeOwnFileLeavesOthers()
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("praca.html"));
    writeAll(victim, "work");
    const QString own = dir.filePath(QStringLiteral("own"));
    writeAll(own, "x");
    const QString link = dir.filePath(QStringLiteral("link"));
    QVERIFY(QFile::link(victim, link));
    QVERIFY(RemoveOwnFile(own));
    QVERIFY(!QFileInfo::exists(own));
    QVERIFY(!RemoveOwnFile(link));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readAll(victim), QByteArray("work"));
    if (::getuid() == 0) {
        const QString other = dir.filePath(QStringLiteral("other"));
        QVERIFY(plant(OtherUsersFile, other, victim));
        QVERIFY(!RemoveOwnFile(other));
        QVERIFY(QFileInfo::exists(other));
    }
}

void TstPrivateFiles::temporaryFileBesideDocument_data()
{
    QTest::addColumn<QString>("document"); // "titled", "untitled", "gone" (its folder does not exist)
    QTest::addColumn<int>("planted"); // beside the document
    QTest::addColumn<bool>("inPrivate");
    QTest::addColumn<bool>("refused");
    QTest::newRow("beside the document") << "titled" << int(Nothing) << false << false;
    QTest::newRow("own old preview rewritten") << "titled" << int(OwnFile) << false << false;
    QTest::newRow("planted link: private folder") << "titled" << int(LinkToVictim) << true << true;
    QTest::newRow("planted folder: private folder") << "titled" << int(Folder) << true << true;
    QTest::newRow("untitled: private folder") << "untitled" << int(Nothing) << true << false;
    QTest::newRow("folder gone: private folder") << "gone" << int(Nothing) << true << false;
}

void TstPrivateFiles::temporaryFileBesideDocument()
{
    QFETCH(QString, document);
    QFETCH(int, planted);
    QFETCH(bool, inPrivate);
    QFETCH(bool, refused);
    QTemporaryDir docs, home, priv;
    const QString victim = home.filePath(QStringLiteral("praca.html"));
    writeAll(victim, "the user's work");
    const QString doc = document == QLatin1String("untitled") ? QString()
        : document == QLatin1String("gone")                   ? docs.filePath(QStringLiteral("nie/ma/x.html"))
                                                              : docs.filePath(QStringLiteral("strona.html"));
    const QString beside = docs.filePath(HintFileName());
    QVERIFY(plant(Planted(planted), beside, victim));

    const TemporaryFileWrite w = WriteTemporaryFile(doc, HintFileName(), "<b>x</b>", priv.path());
    QVERIFY(w.ok);
    QCOMPARE(w.path, inPrivate ? priv.filePath(HintFileName()) : beside);
    QCOMPARE(w.refusedPath, refused ? beside : QString());
    QCOMPARE(readAll(w.path), QByteArray("<b>x</b>"));
    QCOMPARE(modeOf(w.path) & 07777, mode_t(0600));
    QCOMPARE(readAll(victim), QByteArray("the user's work"));

    // With no private folder to fall back on, an untitled document gets no file at all.
    if (document == QLatin1String("untitled"))
        QVERIFY(!WriteTemporaryFile(doc, HintFileName(), "x", QString()).ok);
}

QTEST_GUILESS_MAIN(TstPrivateFiles)
#include "tst_privatefiles.moc"
