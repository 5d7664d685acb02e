#include "app/ui/shortcutscontroller.h"

#include "app/ui/tskrotydial.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace {
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
}

QList<QAction *> ShortcutsController::commands() const
{
    QList<QAction *> out;
    for (QAction *a : m_window.menuBar()->actions())
        if (a->menu())
            addMenu(out, a->menu());
    for (const QToolBar *bar : m_window.findChildren<QToolBar *>())
        out << bar->actions();
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
