#pragma once

#include "app/ui/previewview.h"

class QTextBrowser;

// The preview on Qt's rich-text engine: HTML 4 basics, no scripts, no CSS layout.
class TextPreviewView final : public PreviewView
{
    Q_OBJECT
public:
    explicit TextPreviewView(QWidget *parent = nullptr);

    void render(const QString &html, const QUrl &base, bool keepScroll) override;
    QString engineName() const override { return QStringLiteral("QTextBrowser"); }
    QTextBrowser *browser() const { return m_browser; }

private:
    QTextBrowser *m_browser;
};
