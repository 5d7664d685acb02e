#include "app/ui/preview.h"

#include "app/ui/previewview.h"
#include "app/ui/textpreviewview.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QToolButton>
#include <QVBoxLayout>

TgPodBrowserem::TgPodBrowserem(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TgPodBrowserem"));
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);

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
    BtnNaBiezaco = new QToolButton(this);
    BtnNaBiezaco->setObjectName(QStringLiteral("BtnNaBiezaco"));
    BtnNaBiezaco->hide();
    for (QToolButton *b : { BtnPodgladMSIE, BtnPodgladMoz, BtnNaBiezaco }) {
        b->setCheckable(true);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    m_layout->addLayout(buttons);

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

void TgPodBrowserem::setLiveToggle(QAction *toggle)
{
    BtnNaBiezaco->setDefaultAction(toggle);
    BtnNaBiezaco->show();
}

bool TgPodBrowserem::internalChosen() const
{
    return BtnPodgladMSIE->isEnabled() && BtnPodgladMSIE->isChecked();
}
bool TgPodBrowserem::browserChosen() const
{
    return BtnPodgladMoz->isEnabled() && BtnPodgladMoz->isChecked();
}

PreviewView *TgPodBrowserem::view()
{
    if (!m_view) {
        m_view = CreatePreviewView(this);
        m_layout->addWidget(m_view, 1);
    }
    return m_view;
}

QTextBrowser *TgPodBrowserem::browser()
{
    auto *text = qobject_cast<TextPreviewView *>(view());
    return text ? text->browser() : nullptr;
}

QUrl TgPodBrowserem::baseUrlFor(const QString &filePath)
{
    if (filePath.isEmpty())
        return QUrl();
    QString folder = QFileInfo(filePath).absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return QUrl::fromLocalFile(folder);
}

void TgPodBrowserem::showPage(const QString &html, const QString &filePath, bool keepScroll)
{
    view()->render(html, baseUrlFor(filePath), keepScroll);
}
