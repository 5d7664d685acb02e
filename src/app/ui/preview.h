#pragma once

#include "app/startupsettings.h"

#include <QUrl>
#include <QWidget>

class PreviewView;
class QAction;
class QHBoxLayout;
class QTextBrowser;
class QToolButton;

// The preview pane: the page shown by the internal browser, with the two preview
// buttons and the switch of the live preview. "MSIE" is the internal pane, "Moz" the
// system browser. The page view (Qt WebEngine, or the rich-text browser) is made at its
// first use: a window that never previews starts no browser engine.
class TgPodBrowserem : public QWidget
{
    Q_OBJECT
public:
    explicit TgPodBrowserem(QWidget *parent = nullptr);

    void setButtons(const PreviewButtons &buttons);
    bool internalChosen() const;
    bool browserChosen() const;
    // The live preview's switch, shown as a button under the preview buttons.
    void setLiveToggle(QAction *toggle);
    // Shows html as a page in the folder of filePath (relative links resolve from there);
    // keepScroll keeps the place on the page.
    void showPage(const QString &html, const QString &filePath, bool keepScroll = false);
    // The page view, made now when it was not yet.
    PreviewView *view();
    // The rich-text browser of a view without Qt WebEngine, else nullptr.
    QTextBrowser *browser();
    QToolButton *msieButton() const { return BtnPodgladMSIE; }
    QToolButton *mozButton() const { return BtnPodgladMoz; }

    // The base address of a page of that file: its folder's URL, ending in "/"; empty
    // for a document without a file.
    static QUrl baseUrlFor(const QString &filePath);

Q_SIGNALS:
    // The preview button was pressed (refresh in the chosen preview).
    void refreshRequested();
    // The system browser was asked for.
    void browserRequested();

private:
    QHBoxLayout *m_layout;
    PreviewView *m_view = nullptr;
    QToolButton *BtnPodgladMSIE;
    QToolButton *BtnPodgladMoz;
    QToolButton *BtnNaBiezaco;
};
