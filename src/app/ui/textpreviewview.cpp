#include "app/ui/textpreviewview.h"

#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

TextPreviewView::TextPreviewView(QWidget *parent)
    : PreviewView(parent)
    , m_browser(new QTextBrowser(this))
{
    m_browser->setObjectName(QStringLiteral("Podglad"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setToolTip(QStringLiteral("Tak działa edytowany znacznik"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
}

void TextPreviewView::render(const QString &html, const QUrl &base, bool keepScroll)
{
    const int x = m_browser->horizontalScrollBar()->value();
    const int y = m_browser->verticalScrollBar()->value();
    m_browser->clear();
    m_browser->document()->setMetaInformation(QTextDocument::DocumentUrl, base.toString());
    m_browser->setHtml(html);
    if (keepScroll) {
        m_browser->horizontalScrollBar()->setValue(x);
        m_browser->verticalScrollBar()->setValue(y);
    }
    Q_EMIT rendered(true);
}
