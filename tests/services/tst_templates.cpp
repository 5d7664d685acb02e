#include "services/templates.h"

#include "testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {
const DocumentEncoding Win = DocumentEncoding::fromIso(false);
const DocumentEncoding Iso = DocumentEncoding::fromIso(true);

void touch(const QString &path, const QByteArray &bytes = "<HTML></HTML>")
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList describe(const QList<TemplateEntry> &list)
{
    QStringList out;
    for (const TemplateEntry &e : list)
        out << e.name + (e.source == TemplateSource::User ? QStringLiteral(" (u)") : QStringLiteral(" (s)"));
    return out;
}
} // namespace

class TstTemplates : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listing();
    void fillingFromBothFolders();
    void saveNeverOverwritesUnasked();
    void badNames_data();
    void badNames();
};

void TstTemplates::listing()
{
    QTemporaryDir dir;
    const QString shipped = dir.filePath(QStringLiteral("szablony"));
    const QString user = dir.filePath(QStringLiteral("moje"));
    QDir().mkpath(shipped);
    QDir().mkpath(user);
    touch(shipped + QStringLiteral("/strona.html"));
    touch(shipped + QStringLiteral("/Blog.HTML"));
    touch(shipped + QStringLiteral("/notatka.txt"));
    QDir().mkpath(shipped + QStringLiteral("/folder.html"));
    touch(user + QStringLiteral("/strona.html"));
    touch(user + QStringLiteral("/artykuł.html"));

    QCOMPARE(describe(ListTemplates(shipped, user)),
        QStringList({ QStringLiteral("artykuł (u)"), QStringLiteral("Blog (s)"), QStringLiteral("strona (s)"),
            QStringLiteral("strona (u)") }));
    // The user's folder not made yet; the same folder named twice (another spelling).
    QCOMPARE(describe(ListTemplates(shipped, dir.filePath(QStringLiteral("brak")))),
        QStringList({ QStringLiteral("Blog (s)"), QStringLiteral("strona (s)") }));
    QCOMPARE(describe(ListTemplates(user, user + QStringLiteral("/../moje/"))),
        QStringList({ QStringLiteral("artykuł (u)"), QStringLiteral("strona (u)") }));
    const TemplateEntry first = ListTemplates(shipped, user).constFirst();
    QCOMPARE(first.path, QDir(user).absoluteFilePath(QStringLiteral("artykuł.html")));
}

void TstTemplates::fillingFromBothFolders()
{
    QTemporaryDir dir;
    const QString user = dir.filePath(QStringLiteral("moje"));
    // Saved in ISO 8859-2: the new document takes the charset the file declares.
    const QString text
        = QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">\n"
                         "<TITLE>%Tytuł%</TITLE>\n<P>Zażółć, %DATE%, %Tytuł%</P>");
    QCOMPARE(SaveTemplate(user, QStringLiteral("Mój"), text, Iso).status, TemplateSave::Saved);
    const QList<TemplateEntry> list
        = ListTemplates(testsupport::sourcePath(QStringLiteral("szablony")), user);
    QCOMPARE(describe(list),
        QStringList(
            { QStringLiteral("Mój (u)"), QStringLiteral("strona (s)"), QStringLiteral("strona-html5 (s)") }));

    QStringList asked;
    const auto ask = [&asked](const QString &name) -> std::optional<QString> {
        asked << name;
        return QStringLiteral("Ala & kot");
    };
    const TemplateDocument mine
        = LoadTemplate(list[0].path, Win, 4, QStringLiteral("1.05.2024"), QStringLiteral("12:30"), ask);
    QCOMPARE(mine.status, TemplateDocument::Filled);
    QCOMPARE(mine.encoding, Iso);
    QCOMPARE(mine.text,
        QStringLiteral("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=iso-8859-2\">\n"
                       "<TITLE>Ala & kot</TITLE>\n<P>Zażółć, 1.05.2024, Ala & kot</P>"));
    QCOMPARE(asked, QStringList { QStringLiteral("Tytuł") });

    asked.clear();
    const TemplateDocument shipped
        = LoadTemplate(list[1].path, Iso, 4, QStringLiteral("1.05.2024"), QStringLiteral("12:30"), ask);
    QCOMPARE(shipped.status, TemplateDocument::Filled);
    QCOMPARE(shipped.encoding, Win); // it declares windows-1250
    QVERIFY(shipped.text.contains(QStringLiteral("<TITLE>Ala & kot</TITLE>")));
    QVERIFY(shipped.text.contains(QStringLiteral("Utworzono 1.05.2024 12:30")));
    QVERIFY(!shipped.text.contains(u'%'));

    // UTF-8 with LF breaks: the new document keeps both.
    const QString utf = QStringLiteral("<META CHARSET=\"utf-8\">\n<P>Zażółć 😀 %DATE%</P>\n");
    QCOMPARE(SaveTemplate(user, QStringLiteral("utf"), utf, DocumentEncoding::utf8(), LineBreak::Lf).status,
        TemplateSave::Saved);
    QCOMPARE(readFile(user + QStringLiteral("/utf.html")), utf.toUtf8());
    const TemplateDocument u = LoadTemplate(
        user + QStringLiteral("/utf.html"), Win, 4, QStringLiteral("1.05.2024"), QString(), ask);
    QCOMPARE(u.encoding, DocumentEncoding::utf8());
    QCOMPARE(u.lineBreak, LineBreak::Lf);
    QCOMPARE(u.text, QStringLiteral("<META CHARSET=\"utf-8\">\n<P>Zażółć 😀 1.05.2024</P>\n"));

    const auto cancel = [](const QString &) -> std::optional<QString> { return std::nullopt; };
    QCOMPARE(
        LoadTemplate(list[1].path, Win, 4, QString(), QString(), cancel).status, TemplateDocument::Cancelled);
    QCOMPARE(
        LoadTemplate(dir.filePath(QStringLiteral("brak.html")), Win, 4, QString(), QString(), cancel).status,
        TemplateDocument::Failed);
}

void TstTemplates::saveNeverOverwritesUnasked()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("a/b"));
    const TemplateSave first
        = SaveTemplate(folder, QStringLiteral("Strona.HTML"), QStringLiteral("x\ny"), Win);
    QCOMPARE(first.status, TemplateSave::Saved);
    QCOMPARE(first.path, folder + QStringLiteral("/Strona.HTML"));
    QCOMPARE(readFile(first.path), QByteArray("x\r\ny"));

    const TemplateSave again
        = SaveTemplate(folder, QStringLiteral("Strona.HTML"), QStringLiteral("nowy"), Win);
    QCOMPARE(again.status, TemplateSave::Exists);
    QCOMPARE(readFile(first.path), QByteArray("x\r\ny"));
    QCOMPARE(SaveTemplate(
                 folder, QStringLiteral("Strona.HTML"), QStringLiteral("nowy"), Win, LineBreak::CrLf, true)
                 .status,
        TemplateSave::Saved);
    QCOMPARE(readFile(first.path), QByteArray("nowy"));
    QCOMPARE(
        QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("Strona.HTML") });
}

void TstTemplates::badNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral("   ");
    QTest::newRow("parent folder") << QStringLiteral("../strona");
    QTest::newRow("slash") << QStringLiteral("a/b");
    QTest::newRow("backslash") << QStringLiteral("a\\b");
    QTest::newRow("hidden") << QStringLiteral(".ukryty");
    QTest::newRow("line break") << QStringLiteral("a\nb");
}

void TstTemplates::badNames()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QCOMPARE(SaveTemplate(dir.path(), name, QStringLiteral("x"), Win).status, TemplateSave::BadName);
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

QTEST_GUILESS_MAIN(TstTemplates)
#include "tst_templates.moc"
