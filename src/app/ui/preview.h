#pragma once

#include "app/startupsettings.h"

#include <QWidget>

class QTextBrowser;
class QToolButton;

// The preview pane: the page shown by the internal browser, with the two preview
// buttons. "MSIE" is the internal pane, "Moz" the system browser.
class TgPodBrowserem : public QWidget
{
    Q_OBJECT
public:
    explicit TgPodBrowserem(QWidget *parent = nullptr);

    void setButtons(const PreviewButtons &buttons);
    bool internalChosen() const;
    bool browserChosen() const;
    // Shows html as the page at fileUrlPath (relative links resolve from its folder).
    void showPage(const QString &html, const QString &filePath);
    QTextBrowser *browser() const { return m_browser; }
    QToolButton *msieButton() const { return BtnPodgladMSIE; }
    QToolButton *mozButton() const { return BtnPodgladMoz; }

Q_SIGNALS:
    // The preview button was pressed (refresh in the chosen preview).
    void refreshRequested();
    // The system browser was asked for.
    void browserRequested();

private:
    QTextBrowser *m_browser;
    QToolButton *BtnPodgladMSIE;
    QToolButton *BtnPodgladMoz;
};
