#include "app/ui/documentmanager.h"
#include "app/ui/servicescontroller.h"
#include "app/ui/toknogl.h"
#include "guitestsupport.h"
#include "search/findresults.h"
#include "search/ui/findresultspanel.h"
#include "search/ui/tsearchdial.h"
#include "services/docfile.h"
#include "services/ui/filesearchpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The page "W plikach" of the search window, through the main window's command: runs
// over a folder on disk, the results panel, opening a match, the files open with unsaved
// changes and the undo of a run.
class TstFileSearchUi : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void findFillsResultsAndOpensTheMatch();
    void replaceSkipsUnsavedFileAndIsUndone();
    void closingTheWindowKeepsTheRunsUndo();
};

namespace {

using testsupport::readFile;
using testsupport::ScriptedUser;

QString write(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(dir.filePath(name)).absolutePath());
    return testsupport::writeFile(dir.filePath(name), bytes);
}

// Opens the page through its command and fills it.
FileSearchPage *openPage(TOknoGl &w, const QString &folder, const QString &masks, const QString &find,
    const QString &replace = QString())
{
    QAction *command = w.findChild<QAction *>(QStringLiteral("EdycjaZnajdzWPlikach1"));
    if (!command || !command->isEnabled())
        return nullptr;
    command->trigger();
    TSearchDial *dlg = TSearchDial::instance();
    auto *page = dlg ? dlg->findChild<FileSearchPage *>() : nullptr;
    if (!page || dlg->page() != 2 || !page->isVisibleTo(dlg))
        return nullptr;
    page->findChild<QLineEdit *>(QStringLiteral("FolderEdit"))->setText(folder);
    page->findChild<QComboBox *>(QStringLiteral("MaskCombo"))->setEditText(masks);
    page->findChild<QComboBox *>(QStringLiteral("FilesFindCombo"))->setEditText(find);
    page->findChild<QComboBox *>(QStringLiteral("FilesReplCombo"))->setEditText(replace);
    return page;
}

bool run(FileSearchPage *page, const char *button)
{
    QSignalSpy finished(page, &FileSearchPage::runFinished);
    page->findChild<QPushButton *>(QString::fromLatin1(button))->click();
    return finished.wait(20000) || finished.count() == 1;
}

} // namespace

void TstFileSearchUi::findFillsResultsAndOpensTheMatch()
{
    QTemporaryDir dir;
    write(dir, QStringLiteral("a.html"),
        EncodeDocumentText(QStringLiteral("<meta charset=windows-1250>\n<p>Żółw\n  i <b>żółw</b></p>\n"),
            DocumentEncoding::fromIso(false), LineBreak::CrLf));
    write(dir, QStringLiteral("sub/b.htm"),
        EncodeDocumentText(QStringLiteral("<meta charset=iso-8859-2>\n\t<i>ŻÓŁW</i>"),
            DocumentEncoding::fromIso(true), LineBreak::CrLf));
    write(dir, QStringLiteral("c.txt"), "żółw");
    ScriptedUser user;
    TOknoGl w;
    FileSearchPage *page = openPage(w, dir.path(), QStringLiteral("*.html; *.htm"), QStringLiteral("żółw"));
    QVERIFY(page);
    QVERIFY(run(page, "FindFilesBtn"));
    QVERIFY(user.asked.isEmpty());
    FindResultsModel *model = w.services()->findResults()->model();
    QStringList rows;
    for (int i = 0; i < model->rowCount(); ++i) {
        const auto cell = [&](int column) { return model->index(i, column).data().toString(); };
        rows << cell(FindResultsModel::ColumnText) + QLatin1Char('|') + cell(FindResultsModel::ColumnPosition)
                + QLatin1Char('|') + cell(FindResultsModel::ColumnDocument);
    }
    QCOMPARE(rows.mid(0, 3),
        QStringList({ QStringLiteral("Żółw|2:4|a.html"), QStringLiteral("żółw|3:8|a.html"),
            QStringLiteral("ŻÓŁW|2:5|") + QDir::toNativeSeparators(QStringLiteral("sub/b.htm")) }));
    QCOMPARE(rows.size(), 4); // and the summary
    QVERIFY(rows.at(3).startsWith(QStringLiteral("Znaleziono 3 wystąpień")));

    // A double click opens the file (its tab expanded as opening does) at the match.
    w.services()->findResults()->FindResultsDblClick(model->index(2, 0));
    TEditor *e = w.CurrentEditor();
    QCOMPARE(QFileInfo(e->state().fileName).fileName(), QStringLiteral("b.htm"));
    QCOMPARE(e->selectedText(), QStringLiteral("ŻÓŁW"));
    // Once open, the same row goes to its tab.
    w.documents().New();
    w.services()->findResults()->FindResultsDblClick(model->index(2, 0));
    QCOMPARE(w.CurrentEditor(), e);
    QCOMPARE(w.documents().count(), 2);
    TSearchDial::instance()->hide();
}

void TstFileSearchUi::replaceSkipsUnsavedFileAndIsUndone()
{
    QTemporaryDir dir;
    const QByteArray winBytes
        = EncodeDocumentText(QStringLiteral("<meta charset=windows-1250>\nstary dąb, stary płot\n"),
            DocumentEncoding::fromIso(false), LineBreak::CrLf);
    const QByteArray isoBytes
        = EncodeDocumentText(QStringLiteral("<meta charset=iso-8859-2>\n<p>stary żółw</p>\n"),
            DocumentEncoding::fromIso(true), LineBreak::CrLf);
    const QByteArray openBytes = QByteArray("<p>stary</p>\n");
    const QString win = write(dir, QStringLiteral("win.html"), winBytes);
    const QString iso = write(dir, QStringLiteral("sub/iso.html"), isoBytes);
    const QString open = write(dir, QStringLiteral("open.html"), openBytes);
    ScriptedUser user;
    TOknoGl w;
    QVERIFY(w.documents().Open(open, 0) > 0);
    w.CurrentEditor()->setSelection(0, 0);
    w.CurrentEditor()->replaceSelection(QStringLiteral("<!-- edited -->"));
    QVERIFY(w.CurrentEditor()->isModified());

    FileSearchPage *page
        = openPage(w, dir.path(), QStringLiteral("*.html"), QStringLiteral("stary"), QStringLiteral("nowy"));
    QVERIFY(page);
    QVERIFY(run(page, "ReplFilesBtn"));
    // Written in their own code pages and line breaks; the unsaved one left and listed.
    QCOMPARE(readFile(win),
        EncodeDocumentText(QStringLiteral("<meta charset=windows-1250>\nnowy dąb, nowy płot\n"),
            DocumentEncoding::fromIso(false), LineBreak::CrLf));
    QCOMPARE(readFile(iso),
        EncodeDocumentText(QStringLiteral("<meta charset=iso-8859-2>\n<p>nowy żółw</p>\n"),
            DocumentEncoding::fromIso(true), LineBreak::CrLf));
    QCOMPARE(readFile(open), openBytes);
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked.at(0).caption, QStringLiteral("Zamień w plikach: ostrzeżenie"));
    QVERIFY2(user.asked.at(0).text.contains(QDir::toNativeSeparators(QFileInfo(open).canonicalFilePath())),
        qPrintable(user.asked.at(0).text));
    QCOMPARE(w.services()->replaceHistory().size(), 1);
    auto *undo = page->findChild<QPushButton *>(QStringLiteral("UndoFilesBtn"));
    QVERIFY(undo->isEnabled());

    // The whole run is undone from its backups, once.
    user.asked.clear();
    user.answers = { QMessageBox::Yes };
    undo->click();
    QCOMPARE(readFile(win), winBytes);
    QCOMPARE(readFile(iso), isoBytes);
    QCOMPARE(readFile(open), openBytes);
    QCOMPARE(user.asked.size(), 2);
    QCOMPARE(user.asked.at(1).caption, QStringLiteral("Zamień w plikach: informacja"));
    QVERIFY(user.asked.at(1).text.startsWith(QStringLiteral("Przywrócono 2 plików.")));
    QVERIFY(w.services()->replaceHistory().isEmpty());
    QVERIFY(!undo->isEnabled());
    TSearchDial::instance()->hide();
    w.CurrentEditor()->setModified(false);
}

void TstFileSearchUi::closingTheWindowKeepsTheRunsUndo()
{
    QTemporaryDir dir;
    const QByteArray bytes = EncodeDocumentText(
        QStringLiteral("<p>stary</p>\n").repeated(50), DocumentEncoding::fromIso(false), LineBreak::CrLf);
    for (int i = 0; i < 300; ++i)
        write(dir, QStringLiteral("s%1.html").arg(i, 3, 10, QLatin1Char('0')), bytes);
    ScriptedUser user;
    TOknoGl w;
    FileSearchPage *page
        = openPage(w, dir.path(), QStringLiteral("*.html"), QStringLiteral("stary"), QStringLiteral("nowy"));
    QVERIFY(page);
    QPointer<FileSearchPage> alive(page);
    const auto name = [](int i) { return QStringLiteral("s%1.html").arg(i, 3, 10, QLatin1Char('0')); };
    page->findChild<QPushButton *>(QStringLiteral("ReplFilesBtn"))->click();
    // Closed once the first file is written, whether the run is still going or its end
    // is still on its way.
    QTRY_VERIFY(readFile(dir.filePath(name(0))) != bytes);
    TSearchDial::instance()->hide();
    QTRY_VERIFY(!alive);
    // Every file the run changed (it stops after the file it is in) can be put back.
    int changed = 0;
    for (int i = 0; i < 300; ++i)
        changed += readFile(dir.filePath(name(i))) != bytes ? 1 : 0;
    QCOMPARE(w.services()->replaceHistory().size(), 1);
    QCOMPARE(int(w.services()->replaceHistory().constFirst()->entries().size()), changed);
    w.findChild<QAction *>(QStringLiteral("EdycjaZnajdzWPlikach1"))->trigger();
    user.answers = { QMessageBox::Yes };
    TSearchDial::instance()->findChild<QPushButton *>(QStringLiteral("UndoFilesBtn"))->click();
    for (int i = 0; i < 300; ++i)
        QCOMPARE(readFile(dir.filePath(name(i))), bytes);
    TSearchDial::instance()->hide();
}

QTEST_MAIN(TstFileSearchUi)
#include "tst_filesearchui.moc"
