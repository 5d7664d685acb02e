#include "app/folderlisting.h"
#include "app/ui/filepanel.h"
#include "app/ui/foldertreemodel.h"

#include <QDir>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kFilter = QStringLiteral("Wszystkie pliki (*.*)|*.*");

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

// The folder names the tree shows under folder.
QStringList treeFolders(const PnPodPanPlikow &panel, const QString &folder)
{
    FolderTreeModel *model = panel.folderModel();
    const QModelIndex parent = model->indexForPath(folder);
    if (model->canFetchMore(parent))
        model->fetchMore(parent);
    QStringList out;
    for (int r = 0; r < model->rowCount(parent); ++r)
        out << model->index(r, 0, parent).data().toString();
    return out;
}
} // namespace

// The file panel follows the disk: the list and the tree show files and folders that
// appear, vanish or are renamed, and a listed folder that goes leaves the list on its
// nearest existing parent.
class TstFilePanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listingAndDiff_data();
    void listingAndDiff();
    void listingOrder();
    void followsFilesAndFolders();
    void selectionSurvivesChanges();
    void listedFolderGoes_data();
    void listedFolderGoes();
};

void TstFilePanel::listingAndDiff_data()
{
    QTest::addColumn<QStringList>("from");
    QTest::addColumn<QStringList>("to");
    const auto L
        = [](const char *names) { return QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts); };
    QTest::newRow("all new") << QStringList() << L("a1 a2 a10");
    QTest::newRow("all gone") << L("a1 a2 a10") << QStringList();
    QTest::newRow("renamed in the middle") << L("a b c d") << L("a bb c d");
    QTest::newRow("runs both ways") << L("a b c x y") << L("b c d e y z");
    QTest::newRow("equal under collation") << L("a1 a01 b") << L("a01 b");
    QTest::newRow("same") << L("a b") << L("a b");
}

void TstFilePanel::listingAndDiff()
{
    QFETCH(QStringList, from);
    QFETCH(QStringList, to);
    std::sort(from.begin(), from.end(), FolderNameLess);
    std::sort(to.begin(), to.end(), FolderNameLess);
    QStringList list = from;
    int steps = 0;
    for (const FolderListEdit &e : DiffSortedLists(from, to)) {
        ++steps;
        if (e.insert)
            for (int k = 0; k < e.count; ++k)
                list.insert(e.row + k, to[e.from + k]);
        else
            list.remove(e.row, e.count);
    }
    QCOMPARE(list, to);
    if (from.isEmpty() || to.isEmpty())
        QCOMPARE(steps, from == to ? 0 : 1);
}

void TstFilePanel::listingOrder()
{
    // The listing's order: numbers by value, case ignored; folders apart from files.
    QTemporaryDir dir;
    for (const QString &n : { QStringLiteral("b10.html"), QStringLiteral("B2.html"), QStringLiteral("a.txt"),
             QStringLiteral(".ukryty.html") })
        touch(dir.filePath(n));
    QDir(dir.path()).mkdir(QStringLiteral("folder.html"));
    QCOMPARE(ListFolder(dir.path(), FolderEntries::Files, { QStringLiteral("*.HTML") }),
        QStringList({ QStringLiteral("B2.html"), QStringLiteral("b10.html") }));
    QCOMPARE(ListFolder(dir.path(), FolderEntries::Folders), QStringList { QStringLiteral("folder.html") });
}

void TstFilePanel::followsFilesAndFolders()
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("stary.html")));
    PnPodPanPlikow panel(kFilter);
    panel.selectFolder(dir.path());
    QTRY_COMPARE(panel.listedNames(), QStringList { QStringLiteral("stary.html") });

    touch(dir.filePath(QStringLiteral("nowy.html")));
    QTRY_COMPARE(
        panel.listedNames(), QStringList({ QStringLiteral("nowy.html"), QStringLiteral("stary.html") }));
    QVERIFY(
        QFile::rename(dir.filePath(QStringLiteral("stary.html")), dir.filePath(QStringLiteral("inny.html"))));
    QTRY_COMPARE(
        panel.listedNames(), QStringList({ QStringLiteral("inny.html"), QStringLiteral("nowy.html") }));
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("nowy.html"))));
    QTRY_COMPARE(panel.listedNames(), QStringList { QStringLiteral("inny.html") });

    QTRY_COMPARE(treeFolders(panel, dir.path()), QStringList());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("obrazki")));
    QTRY_COMPARE(treeFolders(panel, dir.path()), QStringList { QStringLiteral("obrazki") });
}

void TstFilePanel::selectionSurvivesChanges()
{
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("b.html")));
    touch(dir.filePath(QStringLiteral("d.html")));
    PnPodPanPlikow panel(kFilter);
    panel.selectFolder(dir.path());
    QTRY_COMPARE(panel.listedNames().size(), 2);
    panel.selectFiles({ QStringLiteral("d.html") });
    touch(dir.filePath(QStringLiteral("a.html")));
    touch(dir.filePath(QStringLiteral("c.html")));
    QTRY_COMPARE(panel.listedNames().size(), 4);
    QCOMPARE(panel.selectedFiles(), QStringList { dir.filePath(QStringLiteral("d.html")) });
    // The program's own temporary files are never listed.
    touch(dir.filePath(QStringLiteral("~Markora$HTML.HTML")));
    touch(dir.filePath(QStringLiteral("e.html")));
    QTRY_COMPARE(panel.listedNames().size(), 5);
    QVERIFY(!panel.listedNames().contains(QStringLiteral("~Markora$HTML.HTML")));
}

void TstFilePanel::listedFolderGoes_data()
{
    QTest::addColumn<bool>("rename");
    QTest::newRow("removed") << false;
    QTest::newRow("renamed") << true;
}

void TstFilePanel::listedFolderGoes()
{
    QFETCH(bool, rename);
    QTemporaryDir dir;
    const QString top = QDir(dir.path()).canonicalPath();
    QVERIFY(QDir(top).mkpath(QStringLiteral("a/b")));
    touch(top + QStringLiteral("/na-gorze.html"));
    touch(top + QStringLiteral("/a/b/w-srodku.html"));
    PnPodPanPlikow panel(kFilter);
    panel.selectFolder(top + QStringLiteral("/a/b"));
    QTRY_COMPARE(panel.listedNames(), QStringList { QStringLiteral("w-srodku.html") });

    if (rename)
        QVERIFY(QDir(top).rename(QStringLiteral("a"), QStringLiteral("c")));
    else
        QVERIFY(QDir(top + QStringLiteral("/a")).removeRecursively());
    QTRY_COMPARE(panel.currentFolder(), top);
    QTRY_COMPARE(panel.listedNames(), QStringList { QStringLiteral("na-gorze.html") });

    // The new folder is watched in turn.
    QVERIFY(QDir(top).mkdir(QStringLiteral("d")));
    panel.selectFolder(top + QStringLiteral("/d"));
    QVERIFY(QDir(top + QStringLiteral("/d")).removeRecursively());
    QTRY_COMPARE(panel.currentFolder(), top);
}

QTEST_MAIN(TstFilePanel)
#include "tst_filepanel.moc"
