#pragma once

#include "app/ui/previewview.h"

#include <QPointF>

class QWebEngineView;
class PreviewSchemeHandler;

// The preview in Qt WebEngine: pages rendered as a browser renders them. A page is
// handed over from memory, never through a file: setHtml() for a page that fits its
// limit (2 MB once encoded), a page of the scheme "markora-preview" served by the view
// itself for a larger one, whose relative addresses are read from the disk below the
// same folder.
class WebPreviewView final : public PreviewView
{
    Q_OBJECT
public:
    // The scheme of large pages; registered by PreparePreviewEngine().
    static const char *const Scheme;
    // Pages up to this many bytes of UTF-8 go through setHtml().
    static constexpr int SetHtmlLimit = 600 * 1024;

    // Registers Scheme with Qt WebEngine; before the first view is made.
    static void registerScheme();

    explicit WebPreviewView(QWidget *parent = nullptr);
    ~WebPreviewView() override;

    void render(const QString &html, const QUrl &base, bool keepScroll) override;
    QString engineName() const override { return QStringLiteral("WebEngine"); }
    QWebEngineView *view() const { return m_view; }

private:
    void loadFinished(bool ok);

    QWebEngineView *m_view;
    PreviewSchemeHandler *m_handler;
    QPointF m_scroll;
    bool m_restoreScroll = false;
};
