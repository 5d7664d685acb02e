#include "app/ui/documentmanager.h"
#include "app/ui/filepanel.h"
#include "app/ui/preview.h"
#include "app/ui/previewcontroller.h"
#include "app/ui/setupcontroller.h"
#include "app/ui/toknogl.h"
#include "app/ui/tsetupdial.h"
#include "app/ui/viewcontroller.h"
#include "base/ui/msgbox.h"
#include "ext/ui/usertoolbar.h"
#include "guitestsupport.h"

#include <QComboBox>
#include <QDockWidget>
#include <QFontDatabase>
#include <QFontInfo>
#include <QListView>
#include <QMenu>
#include <QStatusBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <cstdio>
#include <unistd.h>

namespace {

using testsupport::ScriptedUser;
using testsupport::writeFile;

QAction *action(const TOknoGl &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}

QStringList openFiles(const TOknoGl &w)
{
    QStringList out;
    for (int i = 0; i < w.documents().count(); ++i)
        out << w.documents().editorAt(i)->state().fileName;
    return out;
}

// Everything the process writes on standard error while alive.
class StderrCapture
{
public:
    StderrCapture()
    {
        std::fflush(stderr);
        m_saved = ::dup(2);
        m_file.open();
        ::dup2(m_file.handle(), 2);
    }
    ~StderrCapture() { restore(); }
    QString text()
    {
        restore();
        m_file.seek(0);
        return QString::fromLocal8Bit(m_file.readAll());
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, 2);
        ::close(m_saved);
        m_saved = -1;
    }
    QTemporaryFile m_file;
    int m_saved = -1;
};

} // namespace

class TstStartup : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void defaultsWithNothingStored();
    void missingFontShownMonospacedWithoutRewriting();
    void valuesWrittenAtCloseReadBack();
    void refusedCloseKeepsWindowAndSettings();
    void startupFilesReopenedInOrderThenCommandLine();
    void startupFilesIgnoredWhenOptionOff();
    void unwritableSettingsReportedAndWindowCloses();
    void previewFileWrittenBesideDocumentAndDeletedAtClose();
    void previewNeverWritesThroughAPlantedLink();
    void previewFileInTheDocumentsCodePage();
    void toolbarsMenuNamedAfterToolbars();
    void filePanelOpensSelectedAndFollowsSaveAs();
    void setupDialogKeepsEveryOption();
    void setupDialogChoosesTheDefaultTemplate();
    void handEditedSettingsFallBack();
};

void TstStartup::defaultsWithNothingStored()
{
    TOknoGl w;
    QCOMPARE(w.setupOptions().fontFace, QStringLiteral("Courier New CE"));
    QCOMPARE(w.setupOptions().fontSize, 9);
    QCOMPARE(w.CurrentEditor()->font().pointSize(), 9);
    // Word wrap, button bar, file panel and status bar are all on.
    QVERIFY(w.view()->wordWrap());
    QCOMPARE(w.CurrentEditor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    for (const char *name : { "ChkZawijanie", "Pasekprzyciskow1", "Panelplikow1", "Pasekstatusu1" })
        QVERIFY2(action(w, name)->isChecked(), name);
    QVERIFY(!w.mainToolBar()->isHidden());
    QVERIFY(!w.findChild<QDockWidget *>(QStringLiteral("DokPanelPlikow"))->isHidden());
    QVERIFY(!w.statusBar()->isHidden());
    QCOMPARE(w.startupSettings().splitter1, 160);
    QCOMPARE(w.filePanel()->filterIndex(), 0);
    QCOMPARE(w.filePanelFilter().section(QLatin1Char('|'), 0, 1),
        QStringLiteral("Wszystkie pliki WWW|*.*htm*;*.css;*.asp;*.xml;*.php*"));
    QCOMPARE(w.userToolBar()->slotNames(), QStringList(6));
    // Both previews are there: the internal one is chosen.
    QVERIFY(w.preview()->pane()->internalChosen());
    QVERIFY(!w.preview()->pane()->browserChosen());
    QCOMPARE(w.setupOptions().tabWidth, 4);
    QVERIFY(!w.setupOptions().inIso);
}

void TstStartup::missingFontShownMonospacedWithoutRewriting()
{
    MarkoraSettings().writeString(
        QStringLiteral("Edytor"), QStringLiteral("Font.Face"), QStringLiteral("No Such Face Anywhere"));
    {
        TOknoGl w;
        const QFont shown = w.CurrentEditor()->font();
        // Monospaced: a narrow and a wide letter take the same room.
        const QFontMetrics m(shown);
        QCOMPARE(m.horizontalAdvance(QLatin1Char('i')), m.horizontalAdvance(QLatin1Char('W')));
        QCOMPARE(shown.pointSize(), 9);
        QVERIFY(w.close());
    }
    QCOMPARE(MarkoraSettings().readString(QStringLiteral("Edytor"), QStringLiteral("Font.Face")),
        QStringLiteral("No Such Face Anywhere"));
}

void TstStartup::valuesWrittenAtCloseReadBack()
{
    QTemporaryDir dir;
    const QString templ = writeFile(dir.filePath(QStringLiteral("t.html")), "<p>%%</p>");
    {
        TOknoGl w;
        // Each toggle is a click on its item, as the user makes it.
        for (const char *name : { "ChkZawijanie", "Pasekprzyciskow1", "Panelplikow1", "Pasekstatusu1" })
            action(w, name)->trigger();
        w.filePanel()->setFilterIndex(2);
        w.preview()->pane()->setButtons(ChoosePreviewButtons(true, true, false));
        w.documents().setDefaultTemplate(templ);
        w.userToolBar()->setSlotNames({ QStringLiteral("Btn_P"), QString(), QStringLiteral("BTN_Left") });
        SetupOptions o = w.setupOptions();
        o.fontColor = RgbToStoredColor(0x0000FF);
        o.fontSize = 11;
        w.setSetupOptions(o);
        QVERIFY(w.close());
    }
    TOknoGl w;
    QCOMPARE(w.CurrentEditor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    for (const char *name : { "ChkZawijanie", "Pasekprzyciskow1", "Panelplikow1", "Pasekstatusu1" })
        QVERIFY2(!action(w, name)->isChecked(), name);
    QVERIFY(w.mainToolBar()->isHidden());
    QVERIFY(w.findChild<QDockWidget *>(QStringLiteral("DokPanelPlikow"))->isHidden());
    QVERIFY(w.statusBar()->isHidden());
    QCOMPARE(w.filePanel()->filterIndex(), 2);
    QVERIFY(w.preview()->pane()->browserChosen());
    QVERIFY(!w.preview()->pane()->internalChosen());
    QCOMPARE(w.documents().defaultTemplate(), templ);
    QCOMPARE(w.userToolBar()->slotNames(),
        QStringList({ QStringLiteral("Btn_P"), QString(), QStringLiteral("BTN_Left"), QString(), QString(),
            QString() }));
    QCOMPARE(w.CurrentEditor()->font().pointSize(), 11);
    QCOMPARE(w.CurrentEditor()->palette().color(QPalette::Text), QColor(0, 0, 255));
}

void TstStartup::refusedCloseKeepsWindowAndSettings()
{
    ScriptedUser user;
    TOknoGl w;
    w.show();
    w.CurrentEditor()->setText(QStringLiteral("niezapisane"));
    action(w, "Pasekstatusu1")->trigger();
    user.answers << QMessageBox::Cancel;
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(w.documents().count(), 1);
    QCOMPARE(user.asked.size(), 1);
    QVERIFY(!w.settings().store().contains(QStringLiteral("Kontrolki/Status")));
    w.CurrentEditor()->setModified(false);
}

void TstStartup::startupFilesReopenedInOrderThenCommandLine()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir.filePath(QStringLiteral("a.html")), "a");
    const QString b = writeFile(dir.filePath(QStringLiteral("b.html")), "b");
    const QString c = writeFile(dir.filePath(QStringLiteral("c.html")), "c");
    const QString arg = writeFile(dir.filePath(QStringLiteral("arg.html")), "arg");
    QStringList closingOrder;
    {
        TOknoGl w;
        SetupOptions o = w.setupOptions();
        o.openPrevious = true;
        w.setSetupOptions(o);
        o.write(w.settings());
        w.documents().Open(a, 0);
        w.documents().Open(b, 0);
        w.documents().Open(c, 0);
        w.documents().activate(1);
        QVERIFY(w.close());
        closingOrder = w.settings().readNumberedList(QStringLiteral("StartupFiles"));
    }
    // Close all starts at the current document (b), then takes the current one each time.
    QCOMPARE(closingOrder, QStringList({ b, c, a }));
    TOknoGl w;
    QVERIFY(w.setupOptions().openPrevious);
    w.FormShow({ arg });
    QCOMPARE(openFiles(w), QStringList({ b, c, a, arg }));
    QCOMPARE(w.documents().activeIndex(), 3);
}

void TstStartup::startupFilesIgnoredWhenOptionOff()
{
    QTemporaryDir dir;
    const QString a = writeFile(dir.filePath(QStringLiteral("a.html")), "a");
    MarkoraSettings().writeNumberedList(QStringLiteral("StartupFiles"), { a });
    TOknoGl w;
    w.FormShow({});
    QCOMPARE(openFiles(w), QStringList({ QString() }));
}

void TstStartup::unwritableSettingsReportedAndWindowCloses()
{
    QString settingsFile;
    {
        TOknoGl w;
        settingsFile = w.settings().store().fileName();
    }
    // A folder where the settings file should be: nobody, root included, can write it.
    QVERIFY(QDir().mkpath(settingsFile));
    StderrCapture err;
    bool closed = false;
    {
        TOknoGl w;
        action(w, "Pasekstatusu1")->trigger();
        closed = w.close();
    }
    const QString said = err.text();
    QVERIFY(closed);
    QVERIFY2(said.contains(QStringLiteral("nie można zapisać ustawień")), qPrintable(said));
    QVERIFY(said.contains(settingsFile));
}

void TstStartup::previewFileWrittenBesideDocumentAndDeletedAtClose()
{
    QTemporaryDir dir;
    const QString page = writeFile(
        dir.filePath(QStringLiteral("strona.html")), "<html><body><h1>Nag\xB3\xF3wek</h1></body></html>");
    const QString expected = dir.filePath(QStringLiteral("~Markora$HTML.HTML"));
    TOknoGl w;
    QList<QUrl> opened;
    w.preview()->setUrlOpener([&opened](const QUrl &url) {
        opened << url;
        return true;
    });
    w.documents().Open(page, 1);
    // The pane renders the text in memory: no file is written for it.
    QCOMPARE(w.preview()->Podglad1Click(), QString());
    QVERIFY(w.preview()->pane()->browser()->toPlainText().contains(QString::fromUtf8("Nagłówek")));
    QVERIFY(!QFileInfo::exists(expected));
    // The system browser reads the temporary file beside the document.
    const QString written = w.preview()->PodgladPrzegladarka1Click();
    QCOMPARE(written, expected);
    QCOMPARE(opened, QList<QUrl>({ QUrl::fromLocalFile(expected) }));
    QVERIFY(QFileInfo::exists(expected));
    QCOMPARE(w.temporaryFiles().paths(), QStringList({ expected }));
    // The file panel never lists the program's temporary files.
    w.filePanel()->selectFolder(dir.path());
    QTRY_VERIFY(w.filePanel()->listedNames().contains(QStringLiteral("strona.html")));
    QVERIFY(!w.filePanel()->listedNames().contains(QStringLiteral("~Markora$HTML.HTML")));
    QVERIFY(w.close());
    QVERIFY(!QFileInfo::exists(expected));
    QVERIFY(QFileInfo::exists(page));
}

void TstStartup::previewNeverWritesThroughAPlantedLink()
{
    QTemporaryDir shared, home, runtime;
    testsupport::ScopedEnv privateFolder("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString victim = writeFile(home.filePath(QStringLiteral("praca.html")), "the user's work");
    const QString page = writeFile(shared.filePath(QStringLiteral("strona.html")), "<p>strona</p>");
    const QString planted = shared.filePath(QStringLiteral("~Markora$HTML.HTML"));
    QVERIFY(QFile::link(victim, planted));
    const QString inPrivate = runtime.filePath(QStringLiteral("~Markora$HTML.HTML"));
    ScriptedUser user;
    TOknoGl w;
    w.preview()->setUrlOpener([](const QUrl &) { return true; });
    w.documents().Open(page, 1);
    QCOMPARE(w.preview()->PodgladPrzegladarka1Click(), inPrivate);
    QCOMPARE(testsupport::readFile(victim), QByteArray("the user's work"));
    QVERIFY(QFileInfo(planted).isSymLink());
    QCOMPARE(testsupport::readFile(inPrivate), QByteArray("<p>strona</p>"));
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked.first().caption, QStringLiteral("Podgląd: ostrzeżenie"));
    QVERIFY(user.asked.first().text.contains(planted));
    // Said once, not at every refresh.
    QCOMPARE(w.preview()->PodgladPrzegladarka1Click(), inPrivate);
    QCOMPARE(user.asked.size(), 1);
    // An untitled document's preview goes to the private folder, readable by its owner only.
    QTest::keyClicks(w.documents().New(), QStringLiteral("<p>nowy</p>"));
    QCOMPARE(w.preview()->PodgladPrzegladarka1Click(), inPrivate);
    QCOMPARE(
        QFileInfo(inPrivate).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    QVERIFY(w.close());
    QVERIFY(!QFileInfo::exists(inPrivate));
    QVERIFY(QFileInfo(planted).isSymLink());
    QCOMPARE(testsupport::readFile(victim), QByteArray("the user's work"));
}

void TstStartup::toolbarsMenuNamedAfterToolbars()
{
    TOknoGl w;
    auto *extra = w.addToolBar(QStringLiteral("Inny"));
    extra->setObjectName(QStringLiteral("PasekInny"));
    w.FormShow({});
    QMenu *menu = w.view()->toolbarsMenu();
    QStringList names;
    for (QAction *a : menu->actions())
        names << a->objectName();
    QVERIFY(names.contains(QStringLiteral("PasekPrzyciskow_tbMenu")));
    QVERIFY(names.contains(QStringLiteral("PasekInny_tbMenu")));
    QAction *entry = menu->findChild<QAction *>(QStringLiteral("PasekInny_tbMenu"));
    if (!entry)
        for (QAction *a : menu->actions())
            if (a->objectName() == QStringLiteral("PasekInny_tbMenu"))
                entry = a;
    QCOMPARE(entry->text(), QStringLiteral("Inny"));
    entry->trigger();
    QVERIFY(extra->isHidden());
}

void TstStartup::filePanelOpensSelectedAndFollowsSaveAs()
{
    QTemporaryDir dir, other;
    const QString a = writeFile(dir.filePath(QStringLiteral("a.html")), "a");
    const QString b = writeFile(dir.filePath(QStringLiteral("b.html")), "b");
    writeFile(dir.filePath(QStringLiteral("c.txt")), "c");
    TOknoGl w;
    PnPodPanPlikow *panel = w.filePanel();
    panel->selectFolder(dir.path());
    // The first filter entry shows web files only.
    QTRY_COMPARE(panel->listedNames(), QStringList({ QStringLiteral("a.html"), QStringLiteral("b.html") }));
    panel->setFilterIndex(4);
    QTRY_COMPARE(panel->listedNames().size(), 3);
    panel->selectFiles({ QStringLiteral("b.html"), QStringLiteral("a.html") });
    panel->ZbioryDblClick();
    QCOMPARE(openFiles(w), QStringList({ a, b }));
    // A new file appears in the list without any refresh.
    writeFile(dir.filePath(QStringLiteral("d.html")), "d");
    QTRY_VERIFY(panel->listedNames().contains(QStringLiteral("d.html")));

    w.documents().SaveAs(w.CurrentEditor(), other.filePath(QStringLiteral("nowy.html")));
    QCOMPARE(panel->currentFolder(), QFileInfo(other.path()).absoluteFilePath());
}

// The browser's preview file holds the document as saving would write it: a UTF-8 page with LF
// breaks and tabs comes out with the very bytes of its file.
void TstStartup::previewFileInTheDocumentsCodePage()
{
    QTemporaryDir dir;
    const QByteArray bytes
        = QStringLiteral("<meta charset=\"utf-8\">\n<h1>\tŁódź \U0001F600</h1>\n").toUtf8();
    const QString page = writeFile(dir.filePath(QStringLiteral("strona.html")), bytes);
    TOknoGl w;
    SetupOptions options = w.setupOptions();
    options.expandTabs = false;
    w.setSetupOptions(options);
    w.preview()->setUrlOpener([](const QUrl &) { return true; });
    w.documents().Open(page, 0);
    const QString written = w.preview()->PodgladPrzegladarka1Click();
    QCOMPARE(written, dir.filePath(QStringLiteral("~Markora$HTML.HTML")));
    QCOMPARE(testsupport::readFile(written), bytes);
}

void TstStartup::setupDialogKeepsEveryOption()
{
    TOknoGl w;
    QSignalSpy changed(w.setup(), &SetupController::optionsChanged);
    SetupOptions o;
    o.inIso = true;
    o.newLineBreak = 1;
    o.tabWidth = 2;
    o.expandTabs = false;
    o.openPrevious = true;
    o.reloadChanged = true;
    o.lowerCaseInsert = true;
    o.closeParagraph = true;
    o.alignLeft = QStringLiteral("<P ALIGN=\"Left\">");
    o.alignCenter = QStringLiteral("<CENTER>");
    o.alignRight = QStringLiteral("<DIV CLASS=\"prawo\">"); // typed in, not a listed choice
    o.lowerCaseEdit = true;
    o.pdUse = true;
    o.sampleText = QStringLiteral("Próba");
    o.fontFace = QStringLiteral("Courier New CE");
    o.background = RgbToStoredColor(0xEEEEEE);
    TSetupDial *dlg = w.setup()->setupDialog();
    QCOMPARE(w.setup()->setupDialog(), dlg);
    dlg->setOptions(o, false);
    QVERIFY(dlg->options() == o);
    QVERIFY(!dlg->wordWrap());
    w.setSetupOptions(dlg->options());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(w.setupOptions().tabWidth, 2);
    QVERIFY(w.setupOptions().inIso);
    QVERIFY(w.documents().New()->state().iso());
    QCOMPARE(w.CurrentEditor()->state().lineBreak, LineBreak::Lf);
    QCOMPARE(w.CurrentEditor()->palette().color(QPalette::Base), QColor(0xEE, 0xEE, 0xEE));
    // UTF-8 chosen: the 8-bit choice made before stays for when UTF-8 is chosen off again.
    o.inUtf8 = true;
    dlg->setOptions(o, false);
    QVERIFY(dlg->options() == o);
    o.inUtf8 = false;
    dlg->setOptions(o, false);
    QVERIFY(dlg->options() == o);
}

void TstStartup::setupDialogChoosesTheDefaultTemplate()
{
    QTemporaryDir dir;
    const QString own = writeFile(dir.filePath(QStringLiteral("moj.html")), "<p>%TYTUL%</p>");
    testsupport::ScriptedUser user;
    user.inputs << QStringLiteral("Strona");
    TOknoGl w;
    w.documents().setDefaultTemplate(own);
    auto *combo = w.setup()->setupDialog()->findChild<QComboBox *>(QStringLiteral("CbSzablon"));
    QVERIFY(combo);
    const QString html5
        = QDir(TSetupDial::templateFolder()).absoluteFilePath(QStringLiteral("strona-html5.html"));
    // The user opens the dialog and picks the HTML5 page from the templates folder.
    QStringList offered;
    QTimer::singleShot(0, w.setup()->setupDialog(), [&] {
        for (int i = 0; i < combo->count(); ++i)
            offered << combo->itemText(i);
        combo->setCurrentIndex(combo->findData(html5));
        w.setup()->setupDialog()->accept();
    });
    w.setup()->UstawieniaKonfiguracja1Click();
    // "(brak)", the folder's pages by name, and the template chosen before from elsewhere.
    QCOMPARE(offered,
        (QStringList { QStringLiteral("(brak)"), QStringLiteral("strona-html5.html"),
            QStringLiteral("strona.html"), QDir::toNativeSeparators(own) }));
    QCOMPARE(w.documents().defaultTemplate(), html5);
    QVERIFY(w.documents().New()->text().startsWith(QStringLiteral("<!DOCTYPE html>")));
    // "(brak)": new documents start empty.
    QTimer::singleShot(0, w.setup()->setupDialog(), [&] {
        QCOMPARE(combo->currentData().toString(), html5);
        combo->setCurrentIndex(0);
        w.setup()->setupDialog()->accept();
    });
    w.setup()->UstawieniaKonfiguracja1Click();
    QCOMPARE(w.documents().defaultTemplate(), QString());
    QCOMPARE(w.documents().New()->text(), QString());
}

void TstStartup::handEditedSettingsFallBack()
{
    // Each value as a hand edit can leave it; the table of each value's range is tested
    // in the core, here the window starts on them and nothing aborts.
    QTemporaryDir dir;
    const QString tabbed = writeFile(dir.filePath(QStringLiteral("tab.html")), "a\tb");
    {
        QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Lindenworks"),
            QStringLiteral("Markora"));
        s.setValue(QStringLiteral("Setup/Tabulator"), QStringLiteral("300000000"));
        s.setValue(QStringLiteral("Kontrolki/Splitter1"), QStringLiteral("300000000"));
        s.setValue(QStringLiteral("Kontrolki/Splitter3"), QStringLiteral("-300000000"));
        s.setValue(QStringLiteral("Kontrolki/Pliki"), QStringLiteral("77"));
        s.setValue(QStringLiteral("Edytor/Font.Size"), QStringLiteral("300000000"));
        s.setValue(QStringLiteral("Edytor/Kolor"), QStringLiteral("ciemny"));
        s.setValue(QStringLiteral("Toolbarz/Stan"), QByteArray(64, '\xff'));
    }
    TOknoGl w;
    w.show();
    w.FormShow({});
    QVERIFY(w.setupOptions() == SetupOptions());
    QCOMPARE(w.setupOptions().tabWidth, 4);
    QCOMPARE(w.startupSettings().splitter1, 160);
    QCOMPARE(w.startupSettings().splitter3, 85);
    QCOMPARE(w.filePanel()->filterIndex(), 0);
    QCOMPARE(w.CurrentEditor()->font().pointSize(), 9);
    QVERIFY(w.documents().Open(tabbed, 0) >= 0);
    QCOMPARE(w.CurrentEditor()->text(), QStringLiteral("a    b"));
}

QTEST_MAIN(TstStartup)
#include "tst_startup.moc"
