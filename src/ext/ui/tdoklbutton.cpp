#include "ext/ui/tdoklbutton.h"

#include "base/ui/msgbox.h"
#include "ext/ui/pluginsbar.h"
#include "ipc/client/pluginschannel.h"

TDoklButton::TDoklButton(QWidget *parent)
    : QToolButton(parent)
{
    setFixedSize(24, 24);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
}

TDoklButton::ClickResult TDoklButton::DoklejkaClick()
{
    // An instance is found only through the caption, so without one it never runs.
    if (!WindowCaption.isEmpty() && PluginChannel::wake(WindowCaption))
        return ClickResult::Woken;
    int errorNumber = 0;
    if (StartPlugin(Command, &errorNumber, &m_lastPid))
        return ClickResult::Started;
    MsgBox::show(window(), QMessageBox::Warning,
        QString::fromUtf8("Uruchamianie: błąd (") + QString::number(errorNumber) + QLatin1Char(')'),
        QString::fromUtf8("Wystąpił błąd przy uruchamianiu doklejki ") + Command + QLatin1Char('.'));
    return ClickResult::Failed;
}
