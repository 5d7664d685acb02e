#include "app/ui/documentmanager.h"
#include "app/ui/tmynotebook.h"
#include "app/ui/toknogl.h"
#include "base/codepage.h"
#include "base/ui/msgbox.h"
#include "guitestsupport.h"

#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

namespace {

using testsupport::readFile;
using testsupport::ScriptedUser;

// A file named name in dir holding bytes; returns its path.
QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    return testsupport::writeFile(dir.filePath(name), bytes);
}

} // namespace

class TstDocumentSet : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithOneUntitledDocument();
    void openReusesTheEmptyUntitledDocument();
    void openMissingFileReports();
    void reloadQuestionAnsweredNoKeepsText();
    void noBreakSpaceSurvivesOpenAndSave();
    void failedSaveKeepsFileAndModifiedFlag();
    void closeAllCancelledKeepsLaterDocuments();
    void closeAllWritesStartupFilesInClosingOrder();
    void newFillsTheDefaultTemplate();
    void newFromTheHtml5Template();
    void charsetMenuNeverTouchesText();
    void uneditedSaveGivesBackTheBytes_data();
    void uneditedSaveGivesBackTheBytes();
    void codePageSwitchAsksAboutTheDeclaration_data();
    void codePageSwitchAsksAboutTheDeclaration();
    void newDocumentsAndLineBreakMenu();
    void saveAsksBeforeOverwritingChangeOnDisk();
    void fileChangedOnDisk_data();
    void fileChangedOnDisk();
    void watcherFollowsTheFileAcrossSaves();
    void managerWorksWithoutTheWindow();
    void filesDroppedOnAnEditorOpen();
};

void TstDocumentSet::startsWithOneUntitledDocument()
{
    TOknoGl w;
    QCOMPARE(w.documents().count(), 1);
    QVERIFY(w.CurrentEditor()->state().fileName.isEmpty());
    QCOMPARE(w.documents().notebook()->caption(0), QStringLiteral("\tbez nazwy"));
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("OpisDok"))->text(),
        QStringLiteral("\tEdycja - bez nazwy (niezapisany)"));
    w.Timer1Timer();
    QCOMPARE(w.statusPanel(0), QStringLiteral("0:0"));
}

void TstDocumentSet::openReusesTheEmptyUntitledDocument()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("A.html"), "<p>a</p>");
    const QString b = writeFile(dir, QStringLiteral("b.html"), "<p>b</p>");
    TOknoGl w;
    TEditor *untitled = w.CurrentEditor();
    const int id = w.documents().Open(a, 0);
    QCOMPARE(w.documents().count(), 1);
    QCOMPARE(w.CurrentEditor(), untitled);
    QCOMPARE(id, untitled->documentId());
    QCOMPARE(w.documents().notebook()->caption(0), QStringLiteral("a.html"));
    QCOMPARE(w.CurrentEditor()->text(), QStringLiteral("<p>a</p>"));
    QVERIFY(!w.CurrentEditor()->isModified());
    // A second file gets its own tab and becomes current.
    const int id2 = w.documents().Open(b, 0);
    QCOMPARE(w.documents().count(), 2);
    QCOMPARE(w.documents().activeIndex(), 1);
    QCOMPARE(id2, w.CurrentEditor()->documentId());
    QVERIFY(id2 > id);
}

void TstDocumentSet::openMissingFileReports()
{
    ScriptedUser user;
    TOknoGl w;
    QCOMPARE(w.documents().Open(QStringLiteral("/nonexistent/x.html"), 0), 0);
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Otwieranie: błąd"));
    QCOMPARE(user.asked[0].text,
        QStringLiteral(
            "Otworzenie pliku /nonexistent/x.html. jest niemożliwe - taki dokument nie istnieje!"));
    QCOMPARE(w.documents().count(), 1);
}

void TstDocumentSet::reloadQuestionAnsweredNoKeepsText()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "on disk");
    ScriptedUser user;
    TOknoGl w;
    w.documents().Open(a, 0);
    w.CurrentEditor()->setText(QStringLiteral("edited"));
    w.documents().New();
    QCOMPARE(w.documents().activeIndex(), 1);
    user.answers << QMessageBox::No;
    QCOMPARE(w.documents().Open(a, 0), 0);
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Otwieranie: pytanie"));
    QVERIFY(user.asked[0].text.startsWith(a.toLower() + QStringLiteral(": ten plik jest już otwarty")));
    QCOMPARE(w.documents().activeIndex(), 0); // the open document was made current
    QCOMPARE(w.documents().editorAt(0)->text(), QStringLiteral("edited"));
    user.answers << QMessageBox::Yes;
    QCOMPARE(w.documents().Open(a, 0), w.documents().editorAt(0)->documentId());
    QCOMPARE(w.documents().editorAt(0)->text(), QStringLiteral("on disk"));
    QCOMPARE(w.documents().count(), 2);
}

void TstDocumentSet::noBreakSpaceSurvivesOpenAndSave()
{
    QTemporaryDir dir;
    const QByteArray bytes("a\xA0"
                           "b\r\n\xB1\xEA\r\nend");
    const QString a = writeFile(dir, QStringLiteral("a.html"), bytes);
    TOknoGl w;
    w.documents().Open(a, 2);
    QCOMPARE(w.CurrentEditor()->text(),
        QStringLiteral("a") + QChar(0xA0) + QStringLiteral("b\n") + QString::fromUtf8("ąę")
            + QStringLiteral("\nend"));
    QVERIFY(w.documents().Save(w.CurrentEditor()));
    QCOMPARE(readFile(a), bytes);
}

void TstDocumentSet::failedSaveKeepsFileAndModifiedFlag()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "original");
    ScriptedUser user;
    TOknoGl w;
    w.documents().Open(a, 0);
    w.CurrentEditor()->setText(QStringLiteral("changed"));
    // The folder becomes read-only: the new file cannot be written beside the old one.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    const bool canStillWrite = QFileInfo(dir.path()).isWritable(); // root ignores permissions
    if (canStillWrite) {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Make the target a folder's name instead: writing it must fail for everyone.
        w.CurrentEditor()->state().fileName = dir.path();
    }
    QVERIFY(!w.documents().Save(w.CurrentEditor()));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Zapisywanie: błąd"));
    QVERIFY(w.CurrentEditor()->isModified());
    QCOMPARE(readFile(a), QByteArray("original"));
}

void TstDocumentSet::closeAllCancelledKeepsLaterDocuments()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "a");
    const QString b = writeFile(dir, QStringLiteral("b.html"), "b");
    const QString c = writeFile(dir, QStringLiteral("c.html"), "c");
    ScriptedUser user;
    TOknoGl w;
    w.settings().writeNumberedList(QStringLiteral("StartupFiles"), { QStringLiteral("/before.html") });
    w.documents().Open(a, 0);
    w.documents().Open(b, 0);
    w.documents().Open(c, 0);
    w.documents().editorAt(0)->setText(QStringLiteral("a changed"));
    user.answers << QMessageBox::Cancel;
    // Close all starts at the current (last) document; after it the current index wraps
    // to the first tab, so c closes, then a asks, is kept, and b stays open after it.
    QVERIFY(!w.documents().CloseAll());
    QCOMPARE(w.documents().count(), 2);
    QCOMPARE(w.CurrentEditor()->state().fileName, QFileInfo(a).absoluteFilePath());
    QCOMPARE(w.documents().editorAt(1)->state().fileName, QFileInfo(b).absoluteFilePath());
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Zamykanie okienka"));
    QCOMPARE(user.asked[0].text, QStringLiteral("a.html: tekst był modyfikowany.\nCzy zapisać zmiany?"));
    QCOMPARE(w.settings().readNumberedList(QStringLiteral("StartupFiles")),
        QStringList { QStringLiteral("/before.html") });
}

void TstDocumentSet::closeAllWritesStartupFilesInClosingOrder()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "a");
    const QString b = writeFile(dir, QStringLiteral("b.html"), "b");
    TOknoGl w;
    w.documents().Open(a, 0);
    w.documents().Open(b, 0);
    w.documents().New();
    QVERIFY(w.documents().CloseAll());
    QCOMPARE(w.documents().count(), 0);
    QVERIFY(!w.currentEditorOrNull());
    QCOMPARE(w.findChild<QLabel *>(QStringLiteral("OpisDok"))->text(), QStringLiteral("Edytor jest pusty!"));
    // Closing goes from the current document; the untitled one names no file.
    QCOMPARE(w.settings().readNumberedList(QStringLiteral("StartupFiles")),
        (QStringList { QFileInfo(a).absoluteFilePath(), QFileInfo(b).absoluteFilePath() }));
    QCOMPARE(w.documents().recentFiles().constFirst(), QFileInfo(b).absoluteFilePath());
    QVERIFY(!w.findChild<QAction *>(QStringLiteral("PlikiZapisz1"))->isEnabled());
}

void TstDocumentSet::newFillsTheDefaultTemplate()
{
    QTemporaryDir dir;
    const QString t = writeFile(dir, QStringLiteral("t.html"), "<title>%TYTUL%</title>100%% %TYTUL% %AUTOR%");
    ScriptedUser user;
    user.inputs << QStringLiteral("Strona") << QStringLiteral("Ala");
    TOknoGl w;
    w.documents().setDefaultTemplate(t);
    TEditor *e = w.documents().New();
    QCOMPARE(e->text(), QStringLiteral("<title>Strona</title>100% Strona Ala"));
    QCOMPARE(user.prompts,
        (QStringList {
            QStringLiteral("Wypełnianie szablonu|TYTUL"), QStringLiteral("Wypełnianie szablonu|AUTOR") }));
    // A cancelled prompt leaves the new document empty.
    user.inputs.clear();
    TEditor *empty = w.documents().New();
    QCOMPARE(empty->text(), QString());
    QCOMPARE(w.documents().count(), 3);
}

void TstDocumentSet::newFromTheHtml5Template()
{
    ScriptedUser user;
    user.inputs << QStringLiteral("Zażółć");
    TOknoGl w;
    w.documents().setDefaultTemplate(testsupport::sourcePath(QStringLiteral("szablony/strona-html5.html")));
    TEditor *e = w.documents().New();
    const QString text = e->text();
    QVERIFY(text.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"pl\">")));
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    QVERIFY(text.contains(
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">")));
    QVERIFY(text.contains(QStringLiteral("<title>Zażółć</title>")));
    QCOMPARE(user.prompts, QStringList { QStringLiteral("Wypełnianie szablonu|TYTUL") });
    // Saved as the page declares it.
    QCOMPARE(e->state().encoding.codePage, DocumentEncoding::Utf8);
    QVERIFY(!e->state().encoding.bom);
}

void TstDocumentSet::charsetMenuNeverTouchesText()
{
    TOknoGl w;
    w.CurrentEditor()->loadText(QString::fromUtf8("zażółć"));
    w.findChild<QAction *>(QStringLiteral("ISO1"))->trigger();
    QVERIFY(w.CurrentEditor()->state().iso());
    QCOMPARE(w.CurrentEditor()->text(), QString::fromUtf8("zażółć"));
    QVERIFY(!w.CurrentEditor()->isModified());
    w.findChild<QAction *>(QStringLiteral("Win1"))->trigger();
    QVERIFY(!w.CurrentEditor()->state().iso());
    QAction *utf8 = w.findChild<QAction *>(QStringLiteral("UTF81"));
    QVERIFY(utf8->isEnabled());
    utf8->trigger();
    QCOMPARE(w.CurrentEditor()->state().encoding, DocumentEncoding::utf8());
    QCOMPARE(w.CurrentEditor()->text(), QString::fromUtf8("zażółć"));
    QVERIFY(!w.CurrentEditor()->isModified());
    QVERIFY(utf8->isChecked());
    QCOMPARE(w.statusPanel(1), QStringLiteral("UTF-8"));
}

void TstDocumentSet::uneditedSaveGivesBackTheBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("expandTabs");
    QTest::addColumn<QString>("codePage"); // the status bar's panels
    QTest::addColumn<QString>("lineBreak");
    QTest::addColumn<QByteArray>("saved"); // empty: the same bytes
    QTest::addColumn<bool>("warned"); // read as Windows-1250 after a warning
    const QByteArray polish = QString::fromUtf8("<p>Zażółć gęślą jaźń \U0001F600</p>").toUtf8();
    QTest::newRow("utf-8") << polish + "\r\n" + polish << true << QStringLiteral("UTF-8")
                           << QStringLiteral("CR LF") << QByteArray() << false;
    QTest::newRow("utf-8 with mark") << "\xEF\xBB\xBF" + polish + "\n"
                                     << true << QStringLiteral("UTF-8") << QStringLiteral("LF")
                                     << QByteArray() << false;
    const QString wide = QString::fromUtf8("<p>Łódź \U0001F600</p>\r\n<p>x</p>");
    QTest::newRow("utf-16le with mark")
        << "\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(wide.utf16()), wide.size() * 2) << true
        << QStringLiteral("UTF-16LE") << QStringLiteral("CR LF") << QByteArray() << false;
    QTest::newRow("lf") << QByteArray("<p>a</p>\n<p>b\xB9</p>\n") << true << QStringLiteral("Win")
                        << QStringLiteral("LF") << QByteArray() << false;
    QTest::newRow("cr") << QByteArray("<p>a</p>\r<p>b</p>\r\r") << true << QStringLiteral("Win")
                        << QStringLiteral("CR") << QByteArray() << false;
    QTest::newRow("cr lf") << QByteArray("<p>a</p>\r\n<p>b</p>") << true << QStringLiteral("Win")
                           << QStringLiteral("CR LF") << QByteArray() << false;
    QTest::newRow("tabs kept") << QByteArray("<ul>\n\t<li>a\t\tb</li>\n</ul>\n") << false
                               << QStringLiteral("Win") << QStringLiteral("LF") << QByteArray() << false;
    QTest::newRow("declared utf-8, bytes not")
        << QByteArray("<meta charset=\"utf-8\"></head>\r\nZa\xBF\xF3\xB3\xE6 \x81\xFF") << true
        << QStringLiteral("Win") << QStringLiteral("CR LF") << QByteArray() << true;
    QTest::newRow("mixed breaks: the most frequent")
        << QByteArray("a\nb\r\nc\nd") << true << QStringLiteral("Win") << QStringLiteral("LF (mieszane)")
        << QByteArray("a\nb\nc\nd") << false;
}

// Opened through the window and saved without an edit, a file comes back byte for byte:
// its code page, byte-order mark, line breaks and (with the option off) tabs.
void TstDocumentSet::uneditedSaveGivesBackTheBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, expandTabs);
    QFETCH(QString, codePage);
    QFETCH(QString, lineBreak);
    QFETCH(QByteArray, saved);
    QFETCH(bool, warned);
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), bytes);
    ScriptedUser user;
    TOknoGl w;
    SetupOptions options = w.setupOptions();
    options.expandTabs = expandTabs;
    w.setSetupOptions(options);
    QVERIFY(w.documents().Open(a, 0) > 0);
    QCOMPARE(user.asked.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(user.asked[0].caption, QStringLiteral("Otwieranie: ostrzeżenie"));
        QVERIFY(user.asked[0].text.startsWith(a + QStringLiteral(":\n")));
    }
    w.Timer1Timer();
    QCOMPARE(w.statusPanel(1), codePage);
    QCOMPARE(w.statusPanel(4), lineBreak);
    // The menu checks the code page; none of its three for UTF-16.
    const QString checked = codePage == QLatin1String("Win") ? QStringLiteral("Win1")
        : codePage == QLatin1String("UTF-8")                 ? QStringLiteral("UTF81")
                                                             : QString();
    for (const QString name : { QStringLiteral("Win1"), QStringLiteral("ISO1"), QStringLiteral("UTF81") })
        QCOMPARE(w.findChild<QAction *>(name)->isChecked(), name == checked);
    QVERIFY(!w.CurrentEditor()->isModified());
    QVERIFY(w.documents().Save(w.CurrentEditor()));
    QCOMPARE(readFile(a), saved.isEmpty() ? bytes : saved);
    w.Timer1Timer();
    QVERIFY(!w.statusPanel(4).contains(QStringLiteral("mieszane")));
}

void TstDocumentSet::codePageSwitchAsksAboutTheDeclaration_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("declared");
    QTest::newRow("yes rewrites") << int(QMessageBox::Yes) << QStringLiteral("utf-8");
    QTest::newRow("no leaves the text") << int(QMessageBox::No) << QStringLiteral("windows-1250");
}

void TstDocumentSet::codePageSwitchAsksAboutTheDeclaration()
{
    QFETCH(int, answer);
    QFETCH(QString, declared);
    const auto page = [](const QString &charset) {
        return QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=")
            + charset + QString::fromUtf8("\"></head>\n<body>żółw</body>");
    };
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"),
        CodePage::encode(page(QStringLiteral("windows-1250")), CodePage::Windows1250));
    ScriptedUser user;
    TOknoGl w;
    // Read as declared, then switched: the letters stay, the file's bytes will not.
    QVERIFY(w.documents().Open(a, 0) > 0);
    TEditor *e = w.CurrentEditor();
    e->setSelection(int(e->text().indexOf(QStringLiteral("<body>"))), 6);
    user.answers << QMessageBox::StandardButton(answer);
    w.findChild<QAction *>(QStringLiteral("UTF81"))->trigger();
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Zmiana kodowania: pytanie"));
    QCOMPARE(user.asked[0].icon, QMessageBox::Question);
    QVERIFY(user.asked[0].text.contains(QStringLiteral("\"windows-1250\"")));
    QCOMPARE(e->state().encoding, DocumentEncoding::utf8());
    QCOMPARE(e->text(), page(declared));
    QCOMPARE(e->isModified(), answer == QMessageBox::Yes);
    QCOMPARE(e->selectedText(), QStringLiteral("<body>"));
    QVERIFY(w.documents().Save(e));
    QCOMPARE(readFile(a), page(declared).toUtf8());
    if (answer == QMessageBox::Yes) {
        // The rewrite is one undo step.
        e->Undo();
        QCOMPARE(e->text(), page(QStringLiteral("windows-1250")));
    }
    // The same code page again asks nothing.
    w.findChild<QAction *>(QStringLiteral("UTF81"))->trigger();
    QCOMPARE(user.asked.size(), 1);
}

// New documents take the code page and line break of the settings; the line break menu
// changes what the next save writes.
void TstDocumentSet::newDocumentsAndLineBreakMenu()
{
    QTemporaryDir dir;
    TOknoGl w;
    SetupOptions options = w.setupOptions();
    options.inUtf8 = true;
    options.newLineBreak = 1;
    w.setSetupOptions(options);
    TEditor *e = w.documents().New();
    QCOMPARE(e->state().encoding, DocumentEncoding::utf8());
    QCOMPARE(e->state().lineBreak, LineBreak::Lf);
    w.Timer1Timer();
    QCOMPARE(w.statusPanel(1), QStringLiteral("UTF-8"));
    QCOMPARE(w.statusPanel(4), QStringLiteral("LF"));
    QVERIFY(w.findChild<QAction *>(QStringLiteral("KoniecLF1"))->isChecked());
    e->loadText(QString::fromUtf8("ą\nb\n"));
    const QString path = dir.filePath(QStringLiteral("nowy.html"));
    QVERIFY(w.documents().SaveAs(e, path));
    QCOMPARE(readFile(path), QByteArray("\xC4\x85\nb\n"));
    w.findChild<QAction *>(QStringLiteral("KoniecCR1"))->trigger();
    QCOMPARE(e->state().lineBreak, LineBreak::Cr);
    QVERIFY(e->isModified());
    QCOMPARE(w.statusPanel(4), QStringLiteral("CR"));
    QVERIFY(w.documents().Save(e));
    QCOMPARE(readFile(path), QByteArray("\xC4\x85\rb\r"));
}

void TstDocumentSet::saveAsksBeforeOverwritingChangeOnDisk()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "original");
    ScriptedUser user;
    TOknoGl w;
    w.documents().Open(a, 0);
    TEditor *e = w.CurrentEditor();
    e->setText(QStringLiteral("mine"));
    writeFile(dir, QStringLiteral("a.html"), "theirs, written by another program");
    user.answers << QMessageBox::No;
    QVERIFY(!w.documents().Save(e));
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Zapisywanie: wątpliwość"));
    QVERIFY(user.asked[0].text.startsWith(a + QStringLiteral(": plik został zmieniony na dysku")));
    QCOMPARE(user.asked[0].defaultButton, QMessageBox::No);
    QCOMPARE(readFile(a), QByteArray("theirs, written by another program"));
    QVERIFY(e->isModified());
    // Closing with "save" asks the same; No keeps the document open and the file as it is.
    user.answers << QMessageBox::Yes << QMessageBox::No;
    QVERIFY(!w.documents().Close(e));
    QCOMPARE(w.documents().count(), 1);
    QCOMPARE(readFile(a), QByteArray("theirs, written by another program"));
    user.answers << QMessageBox::Yes;
    QVERIFY(w.documents().Save(e));
    QCOMPARE(readFile(a), QByteArray("mine"));
    QCOMPARE(user.asked.size(), 4);
    // What the editor wrote itself is no change behind its back.
    e->setText(QStringLiteral("mine again"));
    QVERIFY(w.documents().Save(e));
    QCOMPARE(user.asked.size(), 4);
}

void TstDocumentSet::fileChangedOnDisk_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("automatic");
    QTest::addColumn<bool>("deleted");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("caption"); // empty: nothing asked
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("modifiedAfter");
    const QString question = QStringLiteral("Otwieranie: pytanie");
    QTest::newRow("reload answered yes")
        << false << false << false << int(QMessageBox::Yes) << question << QStringLiteral("theirs") << false;
    QTest::newRow("reload answered no")
        << false << false << false << int(QMessageBox::No) << question << QStringLiteral("original") << false;
    QTest::newRow("reloaded without asking")
        << false << true << false << int(QMessageBox::No) << QString() << QStringLiteral("theirs") << false;
    QTest::newRow("modified text is never reloaded unasked")
        << true << true << false << int(QMessageBox::No) << question << QStringLiteral("mine") << true;
    QTest::newRow("deleted") << false << false << true << int(QMessageBox::Ok)
                             << QStringLiteral("Sprawdzanie pliku: ostrzeżenie") << QStringLiteral("original")
                             << true;
}

// Another program changes or deletes an open document's file; the check the watcher
// runs is called here directly.
void TstDocumentSet::fileChangedOnDisk()
{
    QFETCH(bool, modified);
    QFETCH(bool, automatic);
    QFETCH(bool, deleted);
    QFETCH(int, answer);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(bool, modifiedAfter);
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "original");
    ScriptedUser user;
    TOknoGl w;
    SetupOptions options = w.setupOptions();
    options.reloadChanged = automatic;
    w.setSetupOptions(options);
    w.documents().Open(a, 0);
    TEditor *e = w.CurrentEditor();
    if (modified)
        e->setText(QStringLiteral("mine"));
    w.documents().New(); // the question brings the document's tab to the front
    if (deleted)
        QVERIFY(QFile::remove(a));
    else
        writeFile(dir, QStringLiteral("a.html"), "theirs");
    user.answers << QMessageBox::StandardButton(answer);
    w.documents().CheckFileOnDisk(e);
    QCOMPARE(user.asked.size(), caption.isEmpty() ? 0 : 1);
    if (!caption.isEmpty()) {
        QCOMPARE(user.asked[0].caption, caption);
        QVERIFY(user.asked[0].text.startsWith(a + QStringLiteral(": plik został")));
        QCOMPARE(w.documents().activeIndex(), 0);
        if (modified)
            QCOMPARE(user.asked[0].defaultButton, QMessageBox::No);
    }
    QCOMPARE(e->text(), text);
    QCOMPARE(e->isModified(), modifiedAfter);
    // The same change is not asked about twice.
    w.documents().CheckFileOnDisk(e);
    QCOMPARE(user.asked.size(), caption.isEmpty() ? 0 : 1);
    if (deleted) {
        // Saving puts the file back, with nothing to ask.
        QVERIFY(w.documents().Save(e));
        QCOMPARE(user.asked.size(), 1);
        QCOMPARE(readFile(a), QByteArray("original"));
    }
}

// The real watcher: a save replaces the file (a new inode), and a change made after it
// by another program is still noticed. A report arriving while the question about the
// file is open does not bring a second question.
void TstDocumentSet::watcherFollowsTheFileAcrossSaves()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "original");
    TOknoGl w;
    w.documents().Open(a, 0);
    TEditor *e = w.CurrentEditor();
    QCOMPARE(w.documents().watchedFiles(), QStringList { a });
    e->setText(QStringLiteral("saved"));
    QVERIFY(w.documents().Save(e));
    QCOMPARE(w.documents().watchedFiles(), QStringList { a });
    QCoreApplication::processEvents(); // the watcher's reports of our own save: nothing to ask
    QList<MsgBox::Request> asked;
    MsgBox::setHandler([&](const MsgBox::Request &r) {
        asked << r;
        w.documents().CheckFileOnDisk(e); // as when the watcher reports again meanwhile
        return QMessageBox::Yes;
    });
    writeFile(dir, QStringLiteral("a.html"), "changed by another program");
    QTRY_COMPARE(e->text(), QStringLiteral("changed by another program"));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0].caption, QStringLiteral("Otwieranie: pytanie"));
    // Looking again finds nothing new.
    w.documents().CheckFileOnDisk(e);
    QCOMPARE(asked.size(), 1);
    MsgBox::setHandler({});
    QCOMPARE(w.documents().watchedFiles(), QStringList { a });
    QVERIFY(w.documents().Close(e));
    QVERIFY(w.documents().watchedFiles().isEmpty());
}

// The documents need neither the main window nor a shown widget: a plain parent and an
// editor host of its own do.
void TstDocumentSet::managerWorksWithoutTheWindow()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "<p>a</p>");
    QWidget parent;
    EditorHost host;
    MarkoraSettings settings;
    SetupOptions options;
    DocumentManager docs(parent, &host, settings, options);
    QSignalSpy active(&docs, &DocumentManager::activeDocumentChanged);
    QSignalSpy has(&docs, &DocumentManager::hasDocumentsChanged);
    QSignalSpy status(&docs, &DocumentManager::statusMessage);
    docs.startUntitled();
    QCOMPARE(docs.count(), 1);
    QCOMPARE(has.last().at(0).toBool(), true);
    QCOMPARE(active.last().at(0).value<TEditor *>(), docs.CurrentEditor());

    QCOMPARE(docs.Open(QStringLiteral("/nonexistent/x.html"), 0, DocumentManager::OpenPrompts::StatusBar), 0);
    QCOMPARE(status.size(), 1);
    const int id = docs.Open(a, 0);
    QCOMPARE(docs.count(), 1);
    TEditor *e = docs.CurrentEditor();
    QCOMPARE(id, e->documentId());
    QCOMPARE(e->state().fileName, QFileInfo(a).absoluteFilePath());
    e->setSelection(3, 1);
    e->TakeSnapshot();
    e->replaceSelection(QStringLiteral("b"));
    QVERIFY(docs.Save(e));
    QCOMPARE(readFile(a), QByteArray("<p>b</p>"));
    QVERIFY(e->CanUndo());
    e->Undo();
    QCOMPARE(e->text(), QStringLiteral("<p>a</p>"));

    ScriptedUser user;
    user.answers << QMessageBox::No;
    QVERIFY(docs.CloseAll());
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(docs.count(), 0);
    QCOMPARE(has.last().at(0).toBool(), false);
    QCOMPARE(active.last().at(0).value<TEditor *>(), nullptr);
    QCOMPARE(docs.recentFiles(), QStringList { QFileInfo(a).absoluteFilePath() });
    QCOMPARE(settings.readNumberedList(QStringLiteral("StartupFiles")), docs.recentFiles());
    // The recent files' menu opens its entry again.
    QCOMPARE(docs.recentMenu()->actions().size(), 1);
    docs.recentMenu()->actions().constFirst()->trigger();
    QCOMPARE(docs.count(), 1);
    QCOMPARE(docs.CurrentEditor()->state().fileName, QFileInfo(a).absoluteFilePath());
}

void TstDocumentSet::filesDroppedOnAnEditorOpen()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir, QStringLiteral("a.html"), "<p>a</p>");
    const QString b = writeFile(dir, QStringLiteral("b.html"), "<p>b</p>");
    TOknoGl w;
    TEditor *e = w.CurrentEditor();
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(a), QUrl::fromLocalFile(b) });
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e->viewport(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(e->viewport(), &drop);
    // In the order dropped, the first in the empty untitled document.
    QCOMPARE(w.documents().count(), 2);
    QCOMPARE(w.documents().editorAt(0), e);
    QCOMPARE(e->text(), QStringLiteral("<p>a</p>"));
    QCOMPARE(w.documents().editorAt(1)->text(), QStringLiteral("<p>b</p>"));
    QCOMPARE(w.documents().activeIndex(), 1);
}

QTEST_MAIN(TstDocumentSet)
#include "tst_documentset.moc"
