#include "app/ui/shortcutscontroller.h"

#include "app/ui/tskrotydial.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

namespace {
// A caption without its accelerator marks ("&&" is a literal '&').
QString plain(QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(u'&');
    text.replace(u'\x01', u'&');
    return text;
}

void addMenu(QList<QAction *> &out, const QMenu *menu)
{
    for (QAction *a : menu->actions()) {
        if (a->menu())
            addMenu(out, a->menu());
        else
            out << a;
    }
}
} // namespace

ShortcutsController::ShortcutsController(QMainWindow &window, MarkoraSettings &settings)
    : QObject(&window)
    , m_window(window)
    , m_settings(settings)
{
    UstawieniaSkroty1 = new QAction(QStringLiteral("&Skróty klawiszowe..."), &window);
    UstawieniaSkroty1->setObjectName(QStringLiteral("UstawieniaSkroty1"));
    connect(UstawieniaSkroty1, &QAction::triggered, this, &ShortcutsController::UstawieniaSkroty1Click);

    // Buttons that toolbars hold as widgets (the plug-ins', the user's six) are commands
    // too: a window action of the button's name clicks it, so a key works wherever the
    // focus is in the window and a disabled button stays disabled.
    for (const QToolBar *bar : window.findChildren<QToolBar *>()) {
        for (QAction *item : bar->actions()) {
            auto *b = qobject_cast<QToolButton *>(bar->widgetForAction(item));
            if (!qobject_cast<QWidgetAction *>(item) || !b || b->defaultAction() || b->objectName().isEmpty())
                continue;
            const QString what = plain(b->text()).trimmed().isEmpty() ? b->toolTip() : plain(b->text());
            QString text = QStringLiteral("%1: %2").arg(plain(bar->windowTitle()), what.trimmed());
            auto *a = new QAction(text.replace(u'&', QStringLiteral("&&")), &window);
            a->setObjectName(b->objectName());
            a->setShortcutContext(Qt::WindowShortcut);
            connect(a, &QAction::triggered, b, &QToolButton::click);
            window.addAction(a);
            m_buttonActions << a;
        }
    }
}

QList<QAction *> ShortcutsController::commands() const
{
    QList<QAction *> out;
    for (QAction *a : m_window.menuBar()->actions())
        if (a->menu())
            addMenu(out, a->menu());
    for (const QToolBar *bar : m_window.findChildren<QToolBar *>())
        out << bar->actions();
    out << m_buttonActions;
    return out;
}

void ShortcutsController::applyStored()
{
    const QStringList dropped = TSkrotyDial::applyStored(commands(), m_settings);
    if (!dropped.isEmpty())
        Q_EMIT statusMessage(
            QStringLiteral("Skróty klawiszowe: zapisany skrót pokrywa się ze skrótem innego polecenia, "
                           "zostaje domyślny: %1")
                .arg(dropped.join(QStringLiteral(", "))));
}

void ShortcutsController::UstawieniaSkroty1Click()
{
    TSkrotyDial dialog(commands(), m_settings, &m_window);
    dialog.exec();
}
