#include "app/ui/webpreviewview.h"

#include <QBuffer>
#include <QFile>
#include <QMimeDatabase>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

const char *const WebPreviewView::Scheme = "markora-preview";

// Serves a large page from memory at its own path, and what it refers to from the disk:
// "markora-preview:/folder/page" is the page, "markora-preview:/folder/pic.png" the
// file /folder/pic.png.
class PreviewSchemeHandler final : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;

    void setPage(const QString &path, const QByteArray &utf8)
    {
        m_path = path;
        m_page = utf8;
    }

    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        const QString path = job->requestUrl().path();
        if (path == m_path) {
            auto *buffer = new QBuffer(job);
            buffer->setData(m_page);
            job->reply(QByteArrayLiteral("text/html;charset=utf-8"), buffer);
            return;
        }
        auto *file = new QFile(path, job);
        if (!file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        job->reply(QMimeDatabase().mimeTypeForFile(path).name().toUtf8(), file);
    }

private:
    QString m_path;
    QByteArray m_page;
};

WebPreviewView::WebPreviewView(QWidget *parent)
    : PreviewView(parent)
    , m_view(new QWebEngineView(this))
    , m_handler(new PreviewSchemeHandler(this))
{
    m_view->setObjectName(QStringLiteral("PodgladWeb"));
    // Only this view's pages may use the scheme.
    auto *profile = new QWebEngineProfile(this);
    profile->installUrlSchemeHandler(Scheme, m_handler);
    m_view->setPage(new QWebEnginePage(profile, m_view));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadFinished, this, &WebPreviewView::loadFinished);
}

WebPreviewView::~WebPreviewView()
{
    // The page goes before its profile.
    delete m_view;
}

void WebPreviewView::render(const QString &html, const QUrl &base, bool keepScroll)
{
    m_restoreScroll = keepScroll;
    m_scroll = keepScroll ? m_view->page()->scrollPosition() : QPointF();
    const QByteArray utf8 = html.toUtf8();
    if (utf8.size() <= SetHtmlLimit) {
        m_view->setHtml(html, base);
        return;
    }
    // The page takes a name of its own in its folder; "~" keeps it apart from the files there.
    const QString folder = base.isLocalFile() ? base.toLocalFile() : QStringLiteral("/");
    const QString path = (folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'))
        + QStringLiteral("~markora-podglad.html");
    m_handler->setPage(path, utf8);
    QUrl url;
    url.setScheme(QString::fromLatin1(Scheme));
    url.setPath(path);
    m_view->load(url);
}

void WebPreviewView::loadFinished(bool ok)
{
    if (ok && m_restoreScroll && !m_scroll.isNull())
        m_view->page()->runJavaScript(
            QStringLiteral("window.scrollTo(%1, %2);").arg(m_scroll.x()).arg(m_scroll.y()));
    m_restoreScroll = false;
    Q_EMIT rendered(ok);
}

void WebPreviewView::registerScheme()
{
    QWebEngineUrlScheme scheme(WebPreviewView::Scheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}
