#include "app/previewrefresh.h"
#include "app/ui/documentmanager.h"
#include "app/ui/preview.h"
#include "app/ui/previewcontroller.h"
#include "app/ui/previewview.h"
#include "app/ui/toknogl.h"
#include "guitestsupport.h"

#include <QAction>
#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

// The live preview: when it renders (a burst of typing is one refresh) and where relative
// addresses resolve (tst_webpreview shows the page in Qt WebEngine).
class TstLivePreview : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void burstOfTypingRefreshesOnce();
    void switchedOffWaitsUntilOn();
    void baseIsTheDocumentsFolder_data();
    void baseIsTheDocumentsFolder();
    void paneResolvesFromTheFolderAndWritesNothing();
};

namespace {

// No refresh may come for a while: several pauses pass.
void settle(const PreviewRefresh *r) { QTest::qWait(r->pause() * 3); }

} // namespace

void TstLivePreview::burstOfTypingRefreshesOnce()
{
    TOknoGl w;
    PreviewController *p = w.preview();
    p->refresh()->setPause(100);
    TEditor *e = w.CurrentEditor();
    e->loadText(QStringLiteral("<p>"));
    e->moveCursor(QTextCursor::End);
    QCOMPARE(p->Podglad1Click(), QString());
    QCOMPARE(p->renderCount(), 1);
    QSignalSpy due(p->refresh(), &PreviewRefresh::due);
    // A burst: every key comes before the pause could pass.
    QTest::keyClicks(e, QStringLiteral("Lorem ipsum dolor"));
    QCOMPARE(p->renderCount(), 1);
    QVERIFY(p->refresh()->isPending());
    QVERIFY(due.wait(10000));
    QCOMPARE(p->renderCount(), 2);
    QVERIFY(p->pane()->browser()->toPlainText().contains(QStringLiteral("Lorem ipsum dolor")));
    settle(p->refresh());
    QCOMPARE(due.count(), 1);
    QCOMPARE(p->renderCount(), 2);
    // A second burst, a second refresh.
    QTest::keyClicks(e, QStringLiteral(" kot"));
    QVERIFY(due.wait(10000));
    settle(p->refresh());
    QCOMPARE(p->renderCount(), 3);
}

void TstLivePreview::switchedOffWaitsUntilOn()
{
    TOknoGl w;
    PreviewController *p = w.preview();
    p->refresh()->setPause(50);
    QAction *live = w.findChild<QAction *>(QStringLiteral("OdswiezajPodczasPisania1"));
    QVERIFY(live && live->isChecked());
    TEditor *e = w.CurrentEditor();
    p->Podglad1Click();
    live->trigger();
    QTest::keyClicks(e, QStringLiteral("abc"));
    settle(p->refresh());
    QCOMPARE(p->renderCount(), 1);
    // On again: what was typed meanwhile is shown.
    QSignalSpy due(p->refresh(), &PreviewRefresh::due);
    live->trigger();
    QVERIFY(due.wait(10000));
    QCOMPARE(p->renderCount(), 2);
    QVERIFY(p->pane()->browser()->toPlainText().contains(QStringLiteral("abc")));
    // The switch is kept.
    live->trigger();
    StartupSettings values;
    p->save(values);
    QVERIFY(!values.podgladNaBiezaco);
}

void TstLivePreview::baseIsTheDocumentsFolder_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QUrl>("base");
    QTest::newRow("untitled") << QString() << QUrl();
    QTest::newRow("folder") << QStringLiteral("/srv/www/strona.html")
                            << QUrl(QStringLiteral("file:///srv/www/"));
    QTest::newRow("spaces, letters") << QStringLiteral("/home/jan/moje strony/żółw.htm")
                                     << QUrl::fromLocalFile(QStringLiteral("/home/jan/moje strony/"));
    QTest::newRow("root") << QStringLiteral("/a.html") << QUrl(QStringLiteral("file:///"));
}

void TstLivePreview::baseIsTheDocumentsFolder()
{
    QFETCH(QString, file);
    QFETCH(QUrl, base);
    QCOMPARE(TgPodBrowserem::baseUrlFor(file), base);
    // A relative address resolves beside the document.
    if (!file.isEmpty())
        QCOMPARE(base.resolved(QUrl(QStringLiteral("img/kot.png"))).toLocalFile(),
            QDir(QFileInfo(file).absolutePath()).filePath(QStringLiteral("img/kot.png")));
}

void TstLivePreview::paneResolvesFromTheFolderAndWritesNothing()
{
    QTemporaryDir dir;
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(dir.filePath(QStringLiteral("kot.png"))));
    const QString page = testsupport::writeFile(
        dir.filePath(QStringLiteral("strona.html")), "<p>kot: <img src=\"kot.png\"></p>");
    TOknoGl w;
    QVERIFY(w.documents().Open(page, 0) > 0);
    QCOMPARE(w.preview()->Podglad1Click(), QString());
    QTextBrowser *b = w.preview()->pane()->browser();
    QCOMPARE(QUrl(b->document()->metaInformation(QTextDocument::DocumentUrl)),
        QUrl::fromLocalFile(dir.path() + QLatin1Char('/')));
    // The picture was read from the document's folder.
    const QVariant image
        = b->document()->resource(QTextDocument::ImageResource, QUrl(QStringLiteral("kot.png")));
    QCOMPARE(image.value<QImage>().size(), QSize(7, 5));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
        QStringList({ QStringLiteral("kot.png"), QStringLiteral("strona.html") }));
}

QTEST_MAIN(TstLivePreview)
#include "tst_livepreview.moc"
