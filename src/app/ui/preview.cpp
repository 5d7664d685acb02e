#include "app/ui/preview.h"

#include <QHBoxLayout>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

TgPodBrowserem::TgPodBrowserem(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TgPodBrowserem"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    BtnPodgladMSIE = new QToolButton(this);
    BtnPodgladMSIE->setObjectName(QStringLiteral("BtnPodgladMSIE"));
    BtnPodgladMSIE->setText(QStringLiteral("Podgląd"));
    BtnPodgladMSIE->setToolTip(QStringLiteral("Podgląd strony w tym okienku"));
    BtnPodgladMoz = new QToolButton(this);
    BtnPodgladMoz->setObjectName(QStringLiteral("BtnPodgladMoz"));
    BtnPodgladMoz->setText(QStringLiteral("Przeglądarka"));
    BtnPodgladMoz->setToolTip(QStringLiteral("Podgląd strony w przeglądarce systemowej"));
    for (QToolButton *b : { BtnPodgladMSIE, BtnPodgladMoz }) {
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("Podglad"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setToolTip(QStringLiteral("Tak działa edytowany znacznik"));
    layout->addWidget(m_browser, 1);

    // A press chooses the preview and shows the page in it at once.
    connect(BtnPodgladMSIE, &QToolButton::clicked, this, [this] {
        BtnPodgladMSIE->setChecked(true);
        if (BtnPodgladMoz->isEnabled())
            BtnPodgladMoz->setChecked(false);
        Q_EMIT refreshRequested();
    });
    connect(BtnPodgladMoz, &QToolButton::clicked, this, [this] {
        BtnPodgladMoz->setChecked(true);
        if (BtnPodgladMSIE->isEnabled())
            BtnPodgladMSIE->setChecked(false);
        Q_EMIT browserRequested();
    });
}

void TgPodBrowserem::setButtons(const PreviewButtons &b)
{
    BtnPodgladMSIE->setEnabled(b.msieEnabled);
    BtnPodgladMoz->setEnabled(b.mozEnabled);
    BtnPodgladMSIE->setChecked(b.msieDown);
    BtnPodgladMoz->setChecked(b.mozDown);
}

bool TgPodBrowserem::internalChosen() const
{
    return BtnPodgladMSIE->isEnabled() && BtnPodgladMSIE->isChecked();
}
bool TgPodBrowserem::browserChosen() const
{
    return BtnPodgladMoz->isEnabled() && BtnPodgladMoz->isChecked();
}

void TgPodBrowserem::showPage(const QString &html, const QString &filePath)
{
    m_browser->clear();
    m_browser->document()->setMetaInformation(
        QTextDocument::DocumentUrl, QUrl::fromLocalFile(filePath).toString());
    m_browser->setHtml(html);
}
