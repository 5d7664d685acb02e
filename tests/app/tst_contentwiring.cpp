#include "app/externalviewers.h"
#include "app/ui/assistcontroller.h"
#include "app/ui/contentcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/shortcutscontroller.h"
#include "app/ui/toknogl.h"
#include "app/ui/viewerscontroller.h"
#include "guitestsupport.h"
#include "insert/ui/inserttooltabs.h"
#include "services/ui/tprojektypanel.h"
#include "services/ui/twstawkipanel.h"

#include <QDockWidget>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

// The window's wiring of the reusable content, the viewers and the shortcuts: each command
// is where the user looks for it and does its work on the window's documents.
namespace {

using testsupport::ScriptedUser;
using testsupport::writeFile;

const QString kShortcutz = QStringLiteral("Shortcutz");

QString plain(QString text) { return text.remove(u'&'); }

// The menu path of an action ("Plik/Nowy z szablonu..."), accelerators removed; the
// first place it is found in.
QString menuPath(const QMenu *menu, const QString &objectName)
{
    for (const QAction *a : menu->actions()) {
        if (a->menu()) {
            const QString sub = menuPath(a->menu(), objectName);
            if (!sub.isEmpty())
                return plain(a->text()) + u'/' + sub;
        } else if (a->objectName() == objectName) {
            return plain(a->text());
        }
    }
    return QString();
}

QString menuPath(const QMenuBar *bar, const QString &objectName)
{
    for (const QAction *top : bar->actions())
        if (top->menu())
            if (const QString found = menuPath(top->menu(), objectName); !found.isEmpty())
                return plain(top->text()) + u'/' + found;
    return QString();
}
} // namespace

class TstContentWiring : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void commandsInMenus_data();
    void commandsInMenus();
    void newFromTemplate_data();
    void newFromTemplate();
    void snippetFromPanel();
    void projectOpensDocuments();
    void storedShortcutsOnWindow();
    void viewerEntries();
};

void TstContentWiring::commandsInMenus_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("path");
    QTest::newRow("new from template")
        << QStringLiteral("PlikiNowyZSzablonu1") << QStringLiteral("Plik/Nowy z szablonu...");
    QTest::newRow("save as template")
        << QStringLiteral("PlikiZapiszJakoSzablon1") << QStringLiteral("Plik/Zapisz jako szablon...");
    QTest::newRow("shortcuts") << QStringLiteral("UstawieniaSkroty1")
                               << QStringLiteral("Ustawienia/Skróty klawiszowe...");
    QTest::newRow("viewers") << QStringLiteral("UstawieniaPrzegladarki1")
                             << QStringLiteral("Ustawienia/Przeglądarki zewnętrzne...");
    QTest::newRow("a tool tab's button")
        << QStringLiteral("Btn_Pre") << QStringLiteral("Wstaw/Tekst/Tekst preformatowany");
}

void TstContentWiring::commandsInMenus()
{
    QFETCH(QString, objectName);
    TOknoGl w;
    QTEST(menuPath(w.menuBar(), objectName), "path");
    // Every command the menus hold is one the shortcuts dialog offers; the tool tabs' too.
    const QList<QAction *> commands = w.shortcuts()->commands();
    QVERIFY(std::any_of(
        commands.begin(), commands.end(), [&](const QAction *a) { return a->objectName() == objectName; }));
    for (const QToolButton *b : w.assist()->insertToolTabs()->findChildren<QToolButton *>())
        if (!qobject_cast<QTabBar *>(b->parentWidget()))
            QVERIFY2(std::any_of(commands.begin(), commands.end(),
                         [&](const QAction *a) { return a->objectName() == b->objectName(); }),
                qPrintable(b->objectName()));
    // The panels are docks the view menu shows and hides.
    QCOMPARE(w.content()->snippetsDock()->parent(), &w);
    QVERIFY(w.menuNamed(QStringLiteral("Widok1"))
                ->actions()
                .contains(w.content()->projectsDock()->toggleViewAction()));
}

void TstContentWiring::newFromTemplate_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<std::optional<QString>>>("answers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("UTF-8, asked once")
        << QByteArray("<META CHARSET=\"utf-8\">\n<H1>%Tytuł%</H1>%Tytuł%\n")
        << QList<std::optional<QString>> { QStringLiteral("Żółw") }
        << QStringLiteral("<META CHARSET=\"utf-8\">\n<H1>Żółw</H1>Żółw\n") << QStringLiteral("UTF-8");
    QTest::newRow("ISO 8859-2") << QByteArray("<META CHARSET=\"iso-8859-2\"><P>\xBF\xF3\xB3w 100%%</P>")
                                << QList<std::optional<QString>>()
                                << QStringLiteral("<META CHARSET=\"iso-8859-2\"><P>żółw 100%</P>")
                                << QStringLiteral("ISO");
    QTest::newRow("question cancelled: empty, as New")
        << QByteArray("<P>%Kto%</P>") << QList<std::optional<QString>> { std::nullopt } << QString()
        << QStringLiteral("Win");
}

void TstContentWiring::newFromTemplate()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<std::optional<QString>>, answers);
    ScriptedUser user;
    user.inputs = answers;
    QTemporaryDir dir;
    TOknoGl w;
    ContentController content(w, w.documents(), *w.assist(), *w.setup(), w.settings(),
        { dir.filePath(QStringLiteral("szablony")), dir.filePath(QStringLiteral("moje")), {} });
    const QString path = writeFile(dir.filePath(QStringLiteral("wzor.html")), file);
    const int before = w.documents().count();
    TEditor *e = content.newFromTemplate(path);
    QVERIFY(e);
    QCOMPARE(w.documents().count(), before + 1);
    QCOMPARE(w.currentEditorOrNull(), e);
    QTEST(e->text(), "text");
    QTEST(e->state().encoding.statusName(), "encoding");
    QVERIFY(e->state().fileName.isEmpty());
    QVERIFY(user.inputs.isEmpty());

    // Saved as a template of the user's and listed with the shipped ones.
    user.inputs << QStringLiteral("kopia");
    const QString saved = content.PlikiZapiszJakoSzablon1Click();
    QCOMPARE(saved, dir.filePath(QStringLiteral("moje/kopia.html")));
    QCOMPARE(content.newFromTemplate(saved)->text(), e->text());
    QVERIFY(!content.newFromTemplate(dir.filePath(QStringLiteral("brak.html"))));
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Nowy z szablonu: błąd"));
}

void TstContentWiring::snippetFromPanel()
{
    TOknoGl w;
    TWstawkiPanel *panel = w.content()->snippetsPanel();
    QVERIFY(panel->addSnippet(QStringLiteral("Akapit"), QStringLiteral("<P>{{zaznaczenie}}</P>{{kursor}}")));
    TEditor *e = w.currentEditorOrNull();
    e->loadText(QStringLiteral("ala ma kota"));
    e->setSelection(7, 4);
    panel->setCurrentName(QStringLiteral("Akapit"));
    w.show();
    w.content()->snippetsDock()->show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    panel->ListaWstawek->setFocus();
    QTRY_VERIFY(panel->ListaWstawek->hasFocus());
    panel->WstawClick();
    QCOMPARE(e->text(), QStringLiteral("ala ma <P>kota</P>"));
    QCOMPARE(e->selStart(), 18);
    // Typing goes on in the document, at the caret marker's place.
    QTRY_VERIFY(e->hasFocus());
}

void TstContentWiring::projectOpensDocuments()
{
    ScriptedUser user;
    QTemporaryDir dir;
    const QString a = writeFile(dir.filePath(QStringLiteral("a.html")), "<P>a</P>");
    const QString b = writeFile(dir.filePath(QStringLiteral("b.html")), "<P>b</P>");
    const QString file = dir.filePath(QStringLiteral("projekty.markora"));
    TOknoGl w;
    ContentController content(
        w, w.documents(), *w.assist(), *w.setup(), w.settings(), { {}, {}, { file, file } });
    TProjektyPanel *panel = content.projectsPanel();
    panel->load();
    QVERIFY(panel->newProject(QStringLiteral("Strona")));
    // "Dodaj dokument" takes the active document: enabled while there is one.
    QVERIFY(w.documents().CloseAll());
    panel->select(0);
    QVERIFY(!panel->DodajDokument->isEnabled());
    QVERIFY(w.documents().Open(a, 0) > 0);
    QVERIFY(panel->DodajDokument->isEnabled());
    panel->select(0);
    panel->DodajDokumentClick();
    QVERIFY(panel->addDocument(0, b));
    QVERIFY(w.documents().Close(w.currentEditorOrNull()));

    panel->select(0);
    panel->OtworzWszystkieClick();
    QCOMPARE(w.documents().count(), 2);
    QCOMPARE(w.documents().editorAt(0)->state().fileName, a);
    QCOMPARE(w.documents().editorAt(1)->state().fileName, b);
    QVERIFY(user.asked.isEmpty());
    QVERIFY(testsupport::readFile(file).contains("Dokument: " + b.toUtf8()));
}

void TstContentWiring::storedShortcutsOnWindow()
{
    {
        MarkoraSettings settings;
        settings.writeString(
            kShortcutz, QStringLiteral("PlikiNowyZSzablonu1"), QStringLiteral("Ctrl+Shift+N"));
        settings.writeString(kShortcutz, QStringLiteral("Btn_Pre"), QStringLiteral("Ctrl+F6"));
        settings.writeString(kShortcutz, QStringLiteral("Btn1"), QStringLiteral("Ctrl+F7"));
        // Ctrl+O opens files: refused, the command keeps its default.
        settings.writeString(kShortcutz, QStringLiteral("UstawieniaSkroty1"), QStringLiteral("Ctrl+O"));
        QVERIFY(settings.sync());
    }
    TOknoGl w;
    const auto action = [&w](const char *name) { return w.findChild<QAction *>(QString::fromLatin1(name)); };
    QCOMPARE(action("PlikiNowyZSzablonu1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    QVERIFY(action("UstawieniaSkroty1")->shortcut().isEmpty());
    QVERIFY(w.statusPanel(3).contains(QStringLiteral("UstawieniaSkroty1")));

    // A tool tab's button by its key: its item in the insert menu carries it.
    const QList<QAction *> commands = w.shortcuts()->commands();
    const auto pre = std::find_if(commands.begin(), commands.end(),
        [](const QAction *a) { return a->objectName() == QLatin1String("Btn_Pre"); });
    QVERIFY(pre != commands.end());
    QCOMPARE((*pre)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F6));
    TEditor *e = w.currentEditorOrNull();
    e->loadText(QStringLiteral("tekst"));
    e->setSelection(0, 5);
    w.Timer1Timer(); // the tool tabs follow the document
    (*pre)->trigger();
    QCOMPARE(e->text(), QStringLiteral("<PRE>tekst</PRE>"));

    // A button a toolbar holds as a widget (the user's toolbar) by its key.
    const auto user = std::find_if(commands.begin(), commands.end(),
        [](const QAction *a) { return a->objectName() == QLatin1String("Btn1"); });
    QVERIFY(user != commands.end());
    QCOMPARE((*user)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F7));
    QVERIFY((*user)->text().startsWith(QStringLiteral("Użytkownika: ")));
    // An empty one says how to fill it.
    ScriptedUser answering;
    (*user)->trigger();
    QCOMPARE(answering.asked.size(), 1);
    QCOMPARE(answering.asked[0].caption, QStringLiteral("Przyciski użytkownika"));
}

void TstContentWiring::viewerEntries()
{
    TOknoGl w;
    QMenu *menu = w.viewers()->viewersMenu();
    QCOMPARE(menu->actions().constFirst()->objectName(), QStringLiteral("PodgladPrzegladarka1"));
    QVERIFY(w.viewers()->viewerActions().isEmpty());

    WriteViewers(w.settings(),
        { { QStringLiteral("Podgląd & test"), QStringLiteral("/bin/true"), QStringLiteral("%PLIK%") },
            { QStringLiteral("Drugi"), QStringLiteral("/bin/true"), QString() } });
    w.settings().writeString(kShortcutz, QStringLiteral("Viewer2"), QStringLiteral("Ctrl+F9"));
    w.viewers()->rebuild();
    const QList<QAction *> entries = w.viewers()->viewerActions();
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries[0]->text(), QStringLiteral("Podgląd && test"));
    QVERIFY(menu->actions().indexOf(entries[0]) > 0);
    // Made anew, the entries get their stored shortcuts again.
    QCOMPARE(entries[1]->shortcut(), QKeySequence(QStringLiteral("Ctrl+F9")));
}

QTEST_MAIN(TstContentWiring)
#include "tst_contentwiring.moc"
