#include "base/datafiles.h"
#include "testsupport.h"

#include <QtTest>

// Where the data files are looked up, and the user's own copy of konfiguracja/, on
// folders made for each case.
class TstDataFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void lookupOrder_data();
    void lookupOrder();
    void userCopy();
    void userCopyFailures_data();
    void userCopyFailures();

private:
    // user/, program/, share1/, share2/ in a temporary folder.
    static DataFolders folders(const QTemporaryDir &dir)
    {
        DataFolders f;
        f.user = dir.filePath(QStringLiteral("user/"));
        f.program = dir.filePath(QStringLiteral("program/"));
        f.installed = { dir.filePath(QStringLiteral("share1/")), dir.filePath(QStringLiteral("share2/")) };
        return f;
    }
    static QByteArray readAll(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void touch(const QString &path, const QByteArray &bytes = "x")
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

void TstDataFiles::lookupOrder_data()
{
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QStringList>("present"); // folders that hold the file
    QTest::addColumn<QString>("found"); // folder found; "-" none: the program's is named
    const QString tags = QStringLiteral("konfiguracja/tags.ini");
    const QStringList all { QStringLiteral("user"), QStringLiteral("program"), QStringLiteral("share1"),
        QStringLiteral("share2") };
    QTest::newRow("the user's copy first") << tags << all << "user";
    QTest::newRow("beside the program next") << tags << all.mid(1) << "program";
    QTest::newRow("then the installed folders in order") << tags << all.mid(2) << "share1";
    QTest::newRow("the last installed folder") << tags << all.mid(3) << "share2";
    QTest::newRow("nowhere: the program's folder") << tags << QStringList() << "-";
    QTest::newRow("a file missing from the user's copy comes from the program")
        << QStringLiteral("konfiguracja/keywords.txt") << all.mid(1) << "program";
    QTest::newRow("the user's copy holds only konfiguracja")
        << QStringLiteral("szablony/strona.html") << all << "program";
    QTest::newRow("README.md is no user file") << QStringLiteral("README.md") << all << "program";
    QTest::newRow("a folder that only starts like konfiguracja")
        << QStringLiteral("konfiguracja2/a.txt") << all << "program";
}

void TstDataFiles::lookupOrder()
{
    QFETCH(QString, relative);
    QFETCH(QStringList, present);
    QFETCH(QString, found);
    QTemporaryDir dir;
    const DataFolders f = folders(dir);
    for (const QString &folder : present)
        touch(dir.filePath(folder + QLatin1Char('/') + relative));
    const QString expected = dir.filePath(
        (found == QStringLiteral("-") ? QStringLiteral("program") : found) + QLatin1Char('/') + relative);
    QCOMPARE(f.find(relative), expected);
    // What the program ships: the first of the other folders, the user's copy left out.
    QString shipped;
    for (const char *folder : { "program", "share1", "share2" })
        if (shipped.isEmpty() && present.contains(QLatin1String(folder)))
            shipped = dir.filePath(QLatin1String(folder) + QLatin1Char('/') + relative);
    QCOMPARE(f.findShipped(relative), shipped);
}

void TstDataFiles::userCopy()
{
    QTemporaryDir dir;
    const DataFolders f = folders(dir);
    // Shipped read-only in the installed folder, as a package leaves it.
    for (const char *name : { "tags.ini", "znaki.txt", "keywords.txt" }) {
        const QString path = dir.filePath(QStringLiteral("share1/konfiguracja/") + QLatin1String(name));
        touch(path, "shipped");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    }
    // The user has edited tags.ini already and left a dangling link for znaki.txt.
    touch(dir.filePath(QStringLiteral("user/konfiguracja/tags.ini")), "edited");
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")),
        dir.filePath(QStringLiteral("user/konfiguracja/znaki.txt"))));

    QString error;
    const QString made = MakeUserKonfiguracja(f, &error);
    QCOMPARE(made, dir.filePath(QStringLiteral("user/konfiguracja")));
    QVERIFY(error.isEmpty());
    QCOMPARE(readAll(made + QStringLiteral("/tags.ini")), QByteArray("edited"));
    QVERIFY(QFileInfo(made + QStringLiteral("/znaki.txt")).isSymLink());
    const QString keywords = made + QStringLiteral("/keywords.txt");
    QCOMPARE(readAll(keywords), QByteArray("shipped"));
    QVERIFY(QFileInfo(keywords).permissions() & QFileDevice::WriteOwner);
    QCOMPARE(f.find(QStringLiteral("konfiguracja/keywords.txt")), keywords);

    // Made again: nothing the user has is touched.
    touch(keywords, "mine");
    QCOMPARE(MakeUserKonfiguracja(f, &error), made);
    QCOMPARE(readAll(keywords), QByteArray("mine"));
}

void TstDataFiles::userCopyFailures_data()
{
    QTest::addColumn<bool>("shipped");
    QTest::addColumn<QString>("error");
    QTest::newRow("nothing shipped") << false << "Nie znaleziono plików konfiguracji programu";
    QTest::newRow("the user's folder cannot be made") << true << "Nie można utworzyć folderu";
}

void TstDataFiles::userCopyFailures()
{
    QFETCH(bool, shipped);
    QFETCH(QString, error);
    QTemporaryDir dir;
    DataFolders f = folders(dir);
    if (shipped)
        touch(dir.filePath(QStringLiteral("program/konfiguracja/tags.ini")));
    // A file where the folder should be.
    touch(dir.filePath(QStringLiteral("blocked")));
    f.user = dir.filePath(QStringLiteral("blocked/markora/"));
    QString said;
    QVERIFY(MakeUserKonfiguracja(f, &said).isEmpty());
    QVERIFY2(said.startsWith(error), qPrintable(said));
}

QTEST_GUILESS_MAIN(TstDataFiles)
#include "tst_datafiles.moc"
