#include "insert/relativepath.h"

#include <QDir>
#include <QTest>

Q_DECLARE_METATYPE(LinkPathKind)

// The relative-path rule of links and pictures, and its way back to the file.
class TestRelativePath : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void relativeLink_data();
    void relativeLink();
    void localFile_data();
    void localFile();
};

void TestRelativePath::relativeLink_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("href");
    QTest::addColumn<LinkPathKind>("kind");
    const auto R = LinkPathKind::Relative;
    const auto O = LinkPathKind::OtherRoot;
    const auto row
        = [](const char *name, const char *doc, const char *file, const char *href, LinkPathKind kind) {
              QTest::newRow(name) << QString::fromUtf8(doc) << QString::fromUtf8(file)
                                  << QString::fromUtf8(href) << kind;
          };
    row("same folder", "/home/jan/www/index.html", "/home/jan/www/kot.png", "kot.png", R);
    row("subfolder", "/home/jan/www/index.html", "/home/jan/www/obrazki/kot.png", "obrazki/kot.png", R);
    row("parent", "/home/jan/www/strony/a.html", "/home/jan/www/kot.png", "../kot.png", R);
    row("sibling branch", "/home/jan/www/strony/a.html", "/home/jan/www/obrazki/małe/kot.png",
        "../obrazki/ma%C5%82e/kot.png", R);
    row("three up", "/home/jan/www/a/b/c.html", "/home/jan/x.png", "../../../x.png", R);
    row("spaces and Polish letters", "/home/jan/moje strony/index.html",
        "/home/jan/moje strony/zdjęcia z wakacji/Łódź #1.jpg",
        "zdj%C4%99cia%20z%20wakacji/%C5%81%C3%B3d%C5%BA%20%231.jpg", R);
    row("characters an address reserves", "/w/a.html", "/w/50%?a:b&c=d.png", "50%25%3Fa%3Ab&c=d.png", R);
    row("dot segments", "/home/jan/www/./a.html", "/home/jan/www/../www/b.png", "b.png", R);
    row("letter case counts under /", "/home/Jan/a.html", "/home/jan/b.png", "../jan/b.png", R);
    row("document in the root", "/index.html", "/obrazki/kot.png", "obrazki/kot.png", R);
    row("no folder in common", "/srv/www/index.html", "/home/jan/kot.png", "file:///home/jan/kot.png", O);
    row("drive, letter case aside", "C:\\Strony\\index.html", "c:/strony/Obrazki/kot.png", "Obrazki/kot.png",
        R);
    row("another drive", "C:\\Strony\\index.html", "D:\\Zdjęcia\\kot 1.png",
        "file:///D:/Zdj%C4%99cia/kot%201.png", O);
    row("a share", "C:\\Strony\\a.html", "\\\\serwer\\Dział\\kot.png", "file://serwer/Dzia%C5%82/kot.png", O);
    row("within a share", "\\\\serwer\\www\\a.html", "\\\\SERWER\\www\\img\\k.png", "img/k.png", R);
    row("unsaved document", "", "/home/jan/kot.png", "file:///home/jan/kot.png", LinkPathKind::Unsaved);
}

void TestRelativePath::relativeLink()
{
    QFETCH(QString, document);
    QFETCH(QString, file);
    QFETCH(QString, href);
    QFETCH(LinkPathKind, kind);
    const LinkPath link = RelativeLink(document, file);
    QCOMPARE(link.href, href);
    QCOMPARE(link.kind, kind);
    QCOMPARE(LinkPathNote(kind).isEmpty(), kind == LinkPathKind::Relative);
    // And back: the address names the same file.
    const QString back = LinkToLocalFile(document, link.href);
    QString expected = QString(file).replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!expected.startsWith(QLatin1String("//"))) // a share's "//" is not a doubled separator
        expected = QDir::cleanPath(expected);
    QVERIFY2(back.compare(expected,
                 file.contains(u':') || file.startsWith(u'\\') ? Qt::CaseInsensitive : Qt::CaseSensitive)
            == 0,
        qPrintable(back));
}

void TestRelativePath::localFile_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("file");
    QTest::newRow("query and fragment dropped") << "/home/jan/www/a.html"
                                                << "obrazki/kot%20m.png?x=1#y"
                                                << "/home/jan/www/obrazki/kot m.png";
    QTest::newRow("unsaved, relative") << ""
                                       << "b.png"
                                       << "";
    QTest::newRow("http") << "/x/a.html"
                          << "http://example.com/a.png"
                          << "";
    QTest::newRow("anchor") << "/x/a.html"
                            << "#top"
                            << "";
    QTest::newRow("from the server's root") << "/x/a.html"
                                            << "/img/a.png"
                                            << "";
    QTest::newRow("file URL, unsaved") << ""
                                       << "file:///home/jan/k%C5%82.png"
                                       << "/home/jan/kł.png";
}

void TestRelativePath::localFile()
{
    QFETCH(QString, document);
    QFETCH(QString, href);
    QFETCH(QString, file);
    QCOMPARE(LinkToLocalFile(document, href), file);
}

QTEST_GUILESS_MAIN(TestRelativePath)
#include "tst_relativepath.moc"
