#include "base/settings.h"
#include "services/ui/tprojektypanel.h"
#include "services/ui/tszablondial.h"
#include "services/ui/twstawkipanel.h"

#include "guitestsupport.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using testsupport::readFile;
using testsupport::writeFile;

class TstReusablePanels : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        IsolatedTestCase::init();
        m_user.asked.clear();
        m_user.answers.clear();
        m_user.inputs.clear();
    }
    void templateDialog();
    void saveAsTemplate();
    void snippetsPanel();
    void snippetsImportConflicts();
    void projectsPanelKeepsDamagedLines();
    void projectsPanelCommands();

private:
    QStringList captions() const
    {
        QStringList out;
        for (const MsgBox::Request &r : m_user.asked)
            out << r.caption;
        return out;
    }
    testsupport::ScriptedUser m_user;
};

void TstReusablePanels::templateDialog()
{
    QTemporaryDir dir;
    const QString shipped = dir.filePath(QStringLiteral("szablony"));
    const QString user = dir.filePath(QStringLiteral("moje"));
    QDir().mkpath(shipped);
    QDir().mkpath(user);
    {
        TSzablonDial empty(nullptr, shipped, user);
        QVERIFY(!empty.LbBrak->isHidden());
        QVERIFY(!empty.BtnUtworz->isEnabled());
        QVERIFY(empty.chosenPath().isEmpty());
    }
    writeFile(shipped + QStringLiteral("/strona.html"), "<TITLE>%TYTUL%</TITLE>");
    writeFile(user + QStringLiteral("/list.html"),
        "<P>Szanowni \xB3\xB9"
        "cznie</P>"); // Windows-1250
    TSzablonDial d(nullptr, shipped, user);
    QVERIFY(d.LbBrak->isHidden());
    QCOMPARE(d.ListaSzablonow->topLevelItemCount(), 2);
    QCOMPARE(d.ListaSzablonow->topLevelItem(0)->text(0), QStringLiteral("list"));
    QCOMPARE(d.ListaSzablonow->topLevelItem(0)->text(1), QStringLiteral("własny"));
    QCOMPARE(d.ListaSzablonow->topLevelItem(1)->text(1), QStringLiteral("z programu"));
    QCOMPARE(d.Podglad->toPlainText(), QStringLiteral("<P>Szanowni łącznie</P>"));
    d.ListaSzablonow->setCurrentItem(d.ListaSzablonow->topLevelItem(1));
    QCOMPARE(d.Podglad->toPlainText(), QStringLiteral("<TITLE>%TYTUL%</TITLE>"));
    QCOMPARE(d.chosenPath(), QDir(shipped).absoluteFilePath(QStringLiteral("strona.html")));
    QVERIFY(d.BtnUtworz->isEnabled());
}

void TstReusablePanels::saveAsTemplate()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("moje"));
    m_user.inputs = { QStringLiteral("Moja strona") };
    const QString path = TSzablonDial::saveAsTemplate(
        nullptr, QStringLiteral("<P>żółw</P>"), DocumentEncoding::fromIso(true), LineBreak::CrLf, folder);
    QCOMPARE(path, folder + QStringLiteral("/Moja strona.html"));
    QCOMPARE(readFile(path), QByteArray("<P>\xBF\xF3\xB3w</P>")); // ISO 8859-2

    // Replaced only when the user says so.
    m_user.inputs = { QStringLiteral("Moja strona"), QStringLiteral("Moja strona.html") };
    m_user.answers = { QMessageBox::No, QMessageBox::Yes };
    QVERIFY(TSzablonDial::saveAsTemplate(
        nullptr, QStringLiteral("nowa"), DocumentEncoding::fromIso(true), LineBreak::CrLf, folder)
                .isEmpty());
    QCOMPARE(readFile(path), QByteArray("<P>\xBF\xF3\xB3w</P>"));
    QCOMPARE(TSzablonDial::saveAsTemplate(
                 nullptr, QStringLiteral("nowa"), DocumentEncoding::fromIso(true), LineBreak::CrLf, folder),
        path);
    QCOMPARE(readFile(path), QByteArray("nowa"));

    m_user.inputs = { QStringLiteral("../poza") };
    QVERIFY(TSzablonDial::saveAsTemplate(
        nullptr, QStringLiteral("x"), DocumentEncoding(), LineBreak::CrLf, folder)
                .isEmpty());
    QCOMPARE(captions(),
        QStringList({ QStringLiteral("Zapisywanie szablonu: pytanie"),
            QStringLiteral("Zapisywanie szablonu: pytanie"), QStringLiteral("Zapisywanie szablonu: błąd") }));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("poza.html"))));
}

void TstReusablePanels::snippetsPanel()
{
    MarkoraSettings settings;
    TWstawkiPanel panel(settings);
    QVERIFY(!panel.Wstaw->isEnabled());
    QVERIFY(!panel.Eksportuj->isEnabled());

    // "Dodaj..." through the editor; a refused name brings the editor back.
    QStringList titles;
    QList<Snippet> edits = { { QStringLiteral("dwa\nwiersze"), QStringLiteral("<B>{{zaznaczenie}}</B>") },
        { QStringLiteral("Pogrubienie"), QStringLiteral("<B>{{zaznaczenie}}</B>") } };
    panel.editHook = [&](const QString &title, const Snippet &) -> std::optional<Snippet> {
        titles << title;
        return edits.isEmpty() ? std::nullopt : std::optional<Snippet>(edits.takeFirst());
    };
    panel.DodajClick();
    QCOMPARE(titles, QStringList({ QStringLiteral("Nowa wstawka"), QStringLiteral("Nowa wstawka") }));
    QCOMPARE(captions(), QStringList { QStringLiteral("Wstawki: błąd") });
    QVERIFY(panel.addSnippet(
        QStringLiteral("Odnośnik"), QStringLiteral("<A HREF=\"{{kursor}}\">{{zaznaczenie}}</A>")));
    QVERIFY(!panel.addSnippet(QStringLiteral("POGRUBIENIE"), QStringLiteral("x")));
    QCOMPARE(panel.names(), QStringList({ QStringLiteral("Odnośnik"), QStringLiteral("Pogrubienie") }));
    QCOMPARE(panel.currentName(), QStringLiteral("Odnośnik"));
    QCOMPARE(panel.TekstWstawki->toPlainText(), QStringLiteral("<A HREF=\"{{kursor}}\">{{zaznaczenie}}</A>"));

    QSignalSpy chosen(&panel, &TWstawkiPanel::snippetChosen);
    panel.Wstaw->trigger();
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen[0][0].toString(), QStringLiteral("<A HREF=\"{{kursor}}\">{{zaznaczenie}}</A>"));

    QVERIFY(panel.renameSnippet(QStringLiteral("Odnośnik"), QStringLiteral("Link/HTML")));
    QVERIFY(panel.changeSnippet(QStringLiteral("Link/HTML"), QStringLiteral("<A>")));

    // Export, delete, import: the same snippets again.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("moje.wstawki"));
    QVERIFY(panel.exportTo(file));
    m_user.answers = { QMessageBox::Yes, QMessageBox::No, QMessageBox::Yes };
    QVERIFY(panel.deleteSnippet(QStringLiteral("Pogrubienie")));
    QVERIFY(!panel.deleteSnippet(QStringLiteral("Link/HTML"))); // answered No
    QVERIFY(panel.deleteSnippet(QStringLiteral("Link/HTML")));
    QVERIFY(panel.names().isEmpty());
    QCOMPARE(panel.importFrom(file), 2);
    QCOMPARE(SnippetStore(settings).all(),
        QList<Snippet>({ { QStringLiteral("Link/HTML"), QStringLiteral("<A>") },
            { QStringLiteral("Pogrubienie"), QStringLiteral("<B>{{zaznaczenie}}</B>") } }));
}

void TstReusablePanels::snippetsImportConflicts()
{
    MarkoraSettings settings;
    TWstawkiPanel panel(settings);
    panel.addSnippet(QStringLiteral("Akapit"), QStringLiteral("<P>{{zaznaczenie}}</P>"));
    panel.addSnippet(QStringLiteral("Tabela"), QStringLiteral("<TABLE>"));
    QTemporaryDir dir;
    const QString file = writeFile(dir.filePath(QStringLiteral("cudze.txt")),
        "Wstawka: akapit\r\n| <P CLASS=\"x\">{{zaznaczenie}}</P>\r\n" // another text: a conflict
        "Wstawka: Tabela\r\n| <TABLE>\r\n" // the same: skipped quietly
        "?? śmieci\r\n"
        "Wstawka: Nowa\r\n| <HR>\r\n");
    m_user.answers = { QMessageBox::Ok, QMessageBox::Cancel };
    QCOMPARE(panel.importFrom(file), -1);
    QCOMPARE(panel.names(), QStringList({ QStringLiteral("Akapit"), QStringLiteral("Tabela") }));
    QCOMPARE(captions(),
        QStringList(
            { QStringLiteral("Import wstawek: ostrzeżenie"), QStringLiteral("Import wstawek: pytanie") }));
    QVERIFY(m_user.asked[0].text.contains(QStringLiteral("wiersz 5")));
    QVERIFY(m_user.asked[1].text.contains(QStringLiteral("„Akapit”")));

    m_user.answers = { QMessageBox::Ok, QMessageBox::No };
    QCOMPARE(panel.importFrom(file), 1);
    QCOMPARE(SnippetStore(settings).text(QStringLiteral("Akapit")), QStringLiteral("<P>{{zaznaczenie}}</P>"));
    QCOMPARE(SnippetStore(settings).text(QStringLiteral("Nowa")), QStringLiteral("<HR>"));

    m_user.answers = { QMessageBox::Ok, QMessageBox::Yes };
    QCOMPARE(panel.importFrom(file), 1);
    QCOMPARE(SnippetStore(settings).text(QStringLiteral("Akapit")),
        QStringLiteral("<P CLASS=\"x\">{{zaznaczenie}}</P>"));
    QCOMPARE(panel.names(),
        QStringList({ QStringLiteral("Akapit"), QStringLiteral("Nowa"), QStringLiteral("Tabela") }));
}

void TstReusablePanels::projectsPanelKeepsDamagedLines()
{
    QTemporaryDir dir;
    const QString path = writeFile(dir.filePath(QStringLiteral("projekty.markora")),
        "Projekt: Strona\r\n"
        "Utworzony: 2024-05-01 12:30:15\r\n"
        "Dokumnet: /www/literowka.html\r\n"
        "Dokument: /www/a.html\r\n");
    TProjektyPanel panel({ path, path });
    panel.activeDocument = [] { return std::optional<QString>(QStringLiteral("/www/b.html")); };
    panel.load();
    QCOMPARE(captions(), QStringList { QStringLiteral("Projekty: ostrzeżenie") });
    QVERIFY(m_user.asked[0].text.contains(QStringLiteral("wiersz 3: Dokumnet: /www/literowka.html")));
    QCOMPARE(panel.DrzewoProjektow->topLevelItemCount(), 1);
    QCOMPARE(panel.DrzewoProjektow->topLevelItem(0)->childCount(), 1);
    QCOMPARE(panel.LbUtworzony->text(), QStringLiteral("Utworzony: 2024-05-01 12:30"));

    panel.DodajDokument->trigger();
    QCOMPARE(readFile(path),
        QByteArray("Projekt: Strona\r\n"
                   "Utworzony: 2024-05-01 12:30:15\r\n"
                   "Dokumnet: /www/literowka.html\r\n"
                   "Dokument: /www/a.html\r\n"
                   "Dokument: /www/b.html\r\n"));

    // A file that cannot be read is never written over.
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
    TProjektyPanel broken({ folder, folder });
    broken.load();
    QVERIFY(!broken.newProject(QStringLiteral("Nowy")));
    QCOMPARE(captions().mid(1),
        QStringList({ QStringLiteral("Projekty: błąd"), QStringLiteral("Projekty: błąd") }));
    QVERIFY(QFileInfo(folder).isDir());
}

void TstReusablePanels::projectsPanelCommands()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("konf/projekty.markora"));
    TProjektyPanel panel({ dir.filePath(QStringLiteral("brak/projekty.markora")), path });
    std::optional<QString> active; // no document open
    panel.activeDocument = [&active] { return active; };
    panel.load();
    QVERIFY(m_user.asked.isEmpty());
    QVERIFY(panel.NowyProjekt->isEnabled());
    QVERIFY(!panel.UsunProjekt->isEnabled());

    m_user.inputs = { QStringLiteral("  Blog  ") };
    panel.NowyProjekt->trigger();
    QCOMPARE(panel.projects().projects().size(), 1);
    QCOMPARE(panel.projects().projects()[0].name, QStringLiteral("Blog"));
    QVERIFY(panel.projects().projects()[0].created.isValid());
    QCOMPARE(panel.selectedProject(), 0);
    QVERIFY(panel.UsunProjekt->isEnabled());
    QVERIFY(!panel.DodajDokument->isEnabled()); // no document open
    QVERIFY(!panel.OtworzWszystkie->isEnabled());

    active = QString(); // an untitled document
    panel.activeDocumentChanged();
    QVERIFY(panel.DodajDokument->isEnabled());
    panel.DodajDokument->trigger();
    QCOMPARE(captions(), QStringList { QStringLiteral("Projekty: informacja") });
    active = QStringLiteral("/www/wpis 1.html");
    panel.DodajDokument->trigger();
    active = QStringLiteral("/www/wpis 2.html");
    panel.DodajDokument->trigger();
    QCOMPARE(panel.selectedDocument(), 1);
    QVERIFY(panel.UsunDokument->isEnabled());
    QVERIFY(panel.OtworzDokument->isEnabled());

    QSignalSpy open(&panel, &TProjektyPanel::openFiles);
    panel.OtworzDokument->trigger();
    panel.OtworzWszystkie->trigger();
    QCOMPARE(open.size(), 2);
    QCOMPARE(open[0][0].toStringList(), QStringList { QStringLiteral("/www/wpis 2.html") });
    QCOMPARE(open[1][0].toStringList(),
        QStringList({ QStringLiteral("/www/wpis 1.html"), QStringLiteral("/www/wpis 2.html") }));

    panel.UsunDokument->trigger();
    QCOMPARE(panel.projects().projects()[0].documents(), QStringList { QStringLiteral("/www/wpis 1.html") });
    panel.select(0);
    QVERIFY(!panel.UsunDokument->isEnabled());

    // Written to the user's file, and read from there from now on.
    QCOMPARE(panel.paths().read, path);
    QList<ProjectProblem> problems;
    const ProjectList onDisk = ProjectList::parse(readFile(path), &problems);
    QVERIFY(problems.isEmpty());
    QCOMPARE(onDisk.projects()[0].documents(), QStringList { QStringLiteral("/www/wpis 1.html") });

    m_user.answers = { QMessageBox::No, QMessageBox::Yes };
    panel.UsunProjekt->trigger();
    QCOMPARE(panel.projects().projects().size(), 1);
    panel.UsunProjekt->trigger();
    QVERIFY(panel.projects().projects().isEmpty());
    QVERIFY(!panel.UsunProjekt->isEnabled());
    QVERIFY(ProjectList::parse(readFile(path)).projects().isEmpty());
}

QTEST_MAIN(TstReusablePanels)
#include "tst_reusablepanels.moc"
