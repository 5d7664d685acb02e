#include "services/projectsfile.h"

#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDateTime kCreated(QDate(2024, 5, 1), QTime(12, 30, 15));

QList<int> lineNumbers(const QList<ProjectProblem> &problems)
{
    QList<int> out;
    for (const ProjectProblem &p : problems)
        out << p.line;
    return out;
}
} // namespace

class TstProjects : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void roundTrip();
    void damagedLinesKept();
    void fileOnDisk();
    void whereTheFileIs();
};

void TstProjects::roundTrip()
{
    ProjectList list;
    QVERIFY(list.addProject(QStringLiteral("Strona domowa"), kCreated));
    QVERIFY(list.addProject(QStringLiteral("Blog: wpisy; #1"), QDateTime()));
    QVERIFY(!list.addProject(QStringLiteral("Strona domowa"), kCreated));
    QVERIFY(!list.addProject(QStringLiteral("dwa\nwiersze"), kCreated));
    QVERIFY(list.addDocument(0, QStringLiteral("/home/ala/www/index.html")));
    QVERIFY(list.addDocument(0, QStringLiteral("/home/ala/www/o mnie; „ja”.html")));
    QVERIFY(!list.addDocument(0, QStringLiteral("/home/ala/www/index.html")));
    QVERIFY(list.addDocument(1, QStringLiteral(" spacja na początku.html")));

    QList<ProjectProblem> problems;
    const ProjectList back = ProjectList::parse(list.toBytes(), &problems);
    QVERIFY(problems.isEmpty());
    QCOMPARE(back.projects().size(), 2);
    QCOMPARE(back.projects()[0].name, QStringLiteral("Strona domowa"));
    QCOMPARE(back.projects()[0].created, kCreated);
    QCOMPARE(back.projects()[0].documents(), list.projects()[0].documents());
    QCOMPARE(back.projects()[1].name, QStringLiteral("Blog: wpisy; #1"));
    QVERIFY(!back.projects()[1].created.isValid());
    QCOMPARE(back.projects()[1].documents(), QStringList { QStringLiteral(" spacja na początku.html") });
    QCOMPARE(back.toBytes(), list.toBytes());
}

void TstProjects::damagedLinesKept()
{
    const QByteArray file = "Dokument: /bez/projektu.html\r\n" // 1
                            "; komentarz\r\n"
                            "Projekt: Strona\r\n"
                            "Utworzony: 2024-05-01 12:30:15\r\n"
                            "Dokument: /www/a.html\r\n" // 5
                            "Dokumnet: /www/literowka.html\r\n"
                            "Dokument: /www/\xB3\xF3"
                            "d\xBC.html\r\n" // not UTF-8
                            "Utworzony: 2024-06-01 00:00:00\r\n" // a second date
                            "Dokument: /www/b.html\n"
                            "\r\n" // 10
                            "Projekt: Drugi\r\n"
                            "Utworzony: wczoraj\r\n"
                            "Dokument: /www/c.html";
    QList<ProjectProblem> problems;
    ProjectList list = ProjectList::parse(file, &problems);
    QCOMPARE(lineNumbers(problems), QList<int>({ 1, 6, 7, 8, 12 }));
    QCOMPARE(problems[1].text, QStringLiteral("Dokumnet: /www/literowka.html"));
    QCOMPARE(list.projects().size(), 2);
    QCOMPARE(list.projects()[0].created, kCreated);
    QCOMPARE(list.projects()[0].documents(),
        QStringList({ QStringLiteral("/www/a.html"), QStringLiteral("/www/b.html") }));
    QCOMPARE(list.projects()[1].documents(), QStringList { QStringLiteral("/www/c.html") });

    // Every line not understood is written back, in its place, bytes and all.
    QVERIFY(list.removeDocument(0, QStringLiteral("/www/a.html")));
    QVERIFY(list.addDocument(0, QStringLiteral("/www/nowy.html")));
    const QByteArray saved = list.toBytes();
    QCOMPARE(saved,
        QByteArray("Dokument: /bez/projektu.html\r\n"
                   "; komentarz\r\n"
                   "\r\n"
                   "Projekt: Strona\r\n"
                   "Utworzony: 2024-05-01 12:30:15\r\n"
                   "Dokumnet: /www/literowka.html\r\n"
                   "Dokument: /www/\xB3\xF3"
                   "d\xBC.html\r\n"
                   "Utworzony: 2024-06-01 00:00:00\r\n"
                   "Dokument: /www/b.html\r\n"
                   "Dokument: /www/nowy.html\r\n"
                   "\r\n"
                   "Projekt: Drugi\r\n"
                   "Utworzony: wczoraj\r\n"
                   "Dokument: /www/c.html\r\n"));

    // A project that goes leaves its kept lines at the head of the file.
    list.removeProject(0);
    problems.clear();
    const ProjectList after = ProjectList::parse(list.toBytes(), &problems);
    QCOMPARE(lineNumbers(problems), QList<int>({ 1, 3, 4, 5, 8 }));
    QCOMPARE(after.projects().size(), 1);
    QCOMPARE(after.projects()[0].name, QStringLiteral("Drugi"));
}

void TstProjects::fileOnDisk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("konf/projekty.markora"));
    QCOMPARE(LoadProjectsFile(path).status, ProjectsLoad::Missing);

    ProjectList list;
    list.addProject(QStringLiteral("P"), kCreated);
    list.addDocument(0, QStringLiteral("/a.html"));
    QString error;
    QVERIFY2(SaveProjectsFile(path, list, &error), qPrintable(error));
    const ProjectsLoad load = LoadProjectsFile(path);
    QCOMPARE(load.status, ProjectsLoad::Loaded);
    QCOMPARE(load.list.toBytes(), list.toBytes());
    QCOMPARE(QDir(dir.filePath(QStringLiteral("konf"))).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("projekty.markora") });

    // What cannot be read is never taken for an empty list, nor written over.
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QDir().mkpath(folder);
    QCOMPARE(LoadProjectsFile(folder).status, ProjectsLoad::Failed);
    QVERIFY(!SaveProjectsFile(folder, list, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(folder).isDir());
}

void TstProjects::whereTheFileIs()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("bin/konfiguracja/projekty.markora"));
    const QString user = dir.filePath(QStringLiteral("config/projekty.markora"));
    // The program's folder missing: read there (nothing), written to the user's.
    ProjectsFilePaths p = ChooseProjectsFilePaths(program, user);
    QCOMPARE(p.read, program);
    QCOMPARE(p.write, user);
    QDir().mkpath(dir.filePath(QStringLiteral("bin/konfiguracja")));
    p = ChooseProjectsFilePaths(program, user);
    QCOMPARE(p.read, program);
    QCOMPARE(p.write, program);
    QDir().mkpath(QFileInfo(user).absolutePath());
    QFile f(user);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    p = ChooseProjectsFilePaths(program, user);
    QCOMPARE(p.read, user);
    QCOMPARE(p.write, user);
}

QTEST_GUILESS_MAIN(TstProjects)
#include "tst_projects.moc"
