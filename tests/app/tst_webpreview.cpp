#include "app/ui/preview.h"
#include "app/ui/previewview.h"
#include "guitestsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>
#ifdef MARKORA_WEBENGINE
#include <QWebEnginePage>
#endif

// The preview pane's page in Qt WebEngine, from memory: small pages through setHtml,
// large ones served by the view, both with the document's folder for relative
// addresses, and a page rendered again where the reader was.
class TstWebPreview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void webEngineRendersFromMemory_data();
    void webEngineRendersFromMemory();
};

void TstWebPreview::webEngineRendersFromMemory_data()
{
    QTest::addColumn<int>("padding");
    QTest::newRow("small, setHtml") << 0;
    QTest::newRow("large, served from memory") << 3 * 1024 * 1024;
}

void TstWebPreview::webEngineRendersFromMemory()
{
    QFETCH(int, padding);
#ifndef MARKORA_WEBENGINE
    Q_UNUSED(padding)
    QVERIFY(!WebPreviewBuiltIn());
    QSKIP("built without Qt WebEngine");
#else
    QVERIFY(WebPreviewBuiltIn());
    testsupport::ScopedEnv web("MARKORA_PREVIEW", QByteArray());
    QTemporaryDir dir;
    testsupport::writeFile(dir.filePath(QStringLiteral("styl.css")), "body { background: rgb(1, 2, 3); }");
    testsupport::writeFile(dir.filePath(QStringLiteral("skrypt.js")), "document.title = 'z pliku';");
    QImage picture(7, 5, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(dir.filePath(QStringLiteral("kot.png"))));
    const QString html = QStringLiteral("<!DOCTYPE html><html><head><link rel=stylesheet href=\"styl.css\">"
                                        "<script src=\"skrypt.js\"></script></head><body>")
        + QStringLiteral("<!-- %1 -->").arg(QString(padding, QLatin1Char('x')))
        + QStringLiteral("<img id=k src=\"kot.png\"><p>Zażółć</p><div style=\"height: 5000px\"></div>"
                         "</body></html>");

    QWidget window;
    std::unique_ptr<PreviewView> view(CreatePreviewView(&window));
    QCOMPARE(view->engineName(), QStringLiteral("WebEngine"));
    window.resize(500, 300);
    view->resize(500, 300);
    window.show();
    QSignalSpy rendered(view.get(), &PreviewView::rendered);
    view->render(html, TgPodBrowserem::baseUrlFor(dir.filePath(QStringLiteral("strona.html"))), false);
    QVERIFY(rendered.wait(60000));
    QCOMPARE(rendered.last().at(0).toBool(), true);

    auto *page = view->findChild<QWebEnginePage *>();
    QVERIFY(page);
    // The script's answer as text; the answer may come after a timeout, into its own state.
    const auto evaluate = [page](const QString &script) {
        auto answer = std::make_shared<std::optional<QString>>();
        page->runJavaScript(script, [answer](const QVariant &v) { *answer = v.toString(); });
        QElapsedTimer waited;
        waited.start();
        while (!answer->has_value() && waited.elapsed() < 20000)
            QTest::qWait(20);
        return answer->value_or(QStringLiteral("<no answer>"));
    };
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(QStringLiteral("document.getElementById('k').naturalWidth + ''")),
        QStringLiteral("7"), 20000);
    QCOMPARE(
        evaluate(QStringLiteral("getComputedStyle(document.body).backgroundColor + '|' + document.title + "
                                "'|' + document.querySelector('p').textContent")),
        QStringLiteral("rgb(1, 2, 3)|z pliku|Zażółć"));
    // Rendered again where the reader was.
    evaluate(QStringLiteral("window.scrollTo(0, 900); ''"));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(QStringLiteral("window.scrollY + ''")), QStringLiteral("900"), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(page->scrollPosition().y() > 800, 20000);
    view->render(html, TgPodBrowserem::baseUrlFor(dir.filePath(QStringLiteral("strona.html"))), true);
    QVERIFY(rendered.wait(60000));
    QTRY_COMPARE_WITH_TIMEOUT(evaluate(QStringLiteral("window.scrollY + ''")), QStringLiteral("900"), 20000);
    // Nothing was written beside the page.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
        QStringList({ QStringLiteral("kot.png"), QStringLiteral("skrypt.js"), QStringLiteral("styl.css") }));
#endif
}

int main(int argc, char **argv)
{
    // As the program does before its QApplication.
    PreparePreviewEngine();
    QApplication app(argc, argv);
    TstWebPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webpreview.moc"
