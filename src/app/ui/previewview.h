#pragma once

#include <QUrl>
#include <QWidget>

// The engine the preview pane renders pages with: Qt WebEngine when the program is built
// with it (CSS layout, scripts), else Qt's rich-text browser. The pane and the preview
// controller know only this.
class PreviewView : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Shows html as a page whose relative addresses (pictures, style sheets, scripts,
    // links) resolve against base, a folder's URL ending in "/" (empty: none). With
    // keepScroll the new page opens where the reader was on the old one.
    virtual void render(const QString &html, const QUrl &base, bool keepScroll) = 0;
    // "WebEngine" or "QTextBrowser", for the tests and the status bar.
    virtual QString engineName() const = 0;

Q_SIGNALS:
    // The page given last is shown (for Qt WebEngine: it finished loading; ok is false
    // when it failed).
    void rendered(bool ok);
};

// Makes the program's preview view: Qt WebEngine when built in, unless the environment
// says MARKORA_PREVIEW=text (the rich-text browser, also the fallback of a build without
// WebEngine).
PreviewView *CreatePreviewView(QWidget *parent);
// Whether the program was built with Qt WebEngine.
bool WebPreviewBuiltIn();
// Before QApplication: what Qt WebEngine needs set up (its URL scheme, shared OpenGL
// contexts, and, when running as root, its sandbox turned off, which it says on
// standard error). Does nothing in a build without WebEngine.
void PreparePreviewEngine();
