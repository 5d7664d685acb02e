#include "app/ui/viewcontroller.h"

#include "app/ui/documentmanager.h"
#include "base/settings.h"

#include <QAction>
#include <QDockWidget>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

namespace {
const QString kToolbarState = QStringLiteral("Toolbarz/Stan");
} // namespace

ViewController::ViewController(
    QMainWindow &window, DocumentManager &documents, MarkoraSettings &settings, const Panes &panes)
    : QObject(&window)
    , m_window(window)
    , m_settings(settings)
    , m_panes(panes)
{
    ChkZawijanie = addToggle("ChkZawijanie", QStringLiteral("&Zawijanie wierszy"),
        [&documents](bool on) { documents.setWordWrap(on); });
    ChkZawijanie->setIcon(window.style()->standardIcon(QStyle::SP_BrowserReload));
    Pasekprzyciskow1 = addToggle("Pasekprzyciskow1", QStringLiteral("Pasek &przycisków"),
        [this](bool on) { m_panes.buttonBar->setVisible(on); });
    Panelplikow1 = addToggle("Panelplikow1", QStringLiteral("Panel p&lików"),
        [this](bool on) { m_panes.filePanel->setVisible(on); });
    Pasekstatusu1 = addToggle("Pasekstatusu1", QStringLiteral("Pasek &statusu"),
        [this](bool on) { m_window.statusBar()->setVisible(on); });
    connect(m_panes.buttonBar, &QToolBar::visibilityChanged, this,
        [this] { Pasekprzyciskow1->setChecked(!m_panes.buttonBar->isHidden()); });

    m_toolbarsMenu = new QMenu(QStringLiteral("&Paski narzędziowe"), &window);
    m_toolbarsMenu->setObjectName(QStringLiteral("Paski1"));
    connect(m_toolbarsMenu, &QMenu::aboutToShow, this, &ViewController::rebuildToolbarsMenu);
}

QAction *ViewController::addToggle(const char *name, const QString &text, std::function<void(bool)> apply)
{
    auto *a = new QAction(text, &m_window);
    a->setObjectName(QString::fromLatin1(name));
    a->setCheckable(true);
    connect(a, &QAction::triggered, this, [apply = std::move(apply)](bool on) { apply(on); });
    return a;
}

bool ViewController::wordWrap() const { return ChkZawijanie->isChecked(); }

void ViewController::rebuildToolbarsMenu()
{
    m_toolbarsMenu->clear();
    for (QToolBar *tb : m_window.findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly)) {
        QAction *a = m_toolbarsMenu->addAction(tb->windowTitle());
        a->setObjectName(tb->objectName() + QStringLiteral("_tbMenu"));
        a->setCheckable(true);
        a->setChecked(!tb->isHidden());
        connect(a, &QAction::triggered, tb, &QToolBar::setVisible);
    }
}

void ViewController::restore(const StartupSettings &values)
{
    const std::pair<QAction *, bool> toggles[]
        = { { ChkZawijanie, values.zawijanie }, { Pasekprzyciskow1, values.pasekPrzyc },
              { Panelplikow1, values.panelPlikow }, { Pasekstatusu1, values.status } };
    for (const auto &[action, value] : toggles) {
        action->setChecked(!value);
        action->trigger();
    }
    m_window.resizeDocks({ m_panes.filePanel }, { values.splitter1 }, Qt::Horizontal);
    m_window.resizeDocks({ m_panes.preview }, { values.splitter3 }, Qt::Vertical);
    m_window.resizeDocks({ m_panes.upperPane }, { values.splitter2 }, Qt::Vertical);
}

void ViewController::restoreToolbarPositions(const StartupSettings &values)
{
    const QByteArray state = m_settings.store().value(kToolbarState).toByteArray();
    if (!state.isEmpty())
        m_window.restoreState(state);
    m_panes.buttonBar->setVisible(Pasekprzyciskow1->isChecked());
    m_panes.filePanel->setVisible(Panelplikow1->isChecked());
    m_panes.preview->hide();
    m_window.resizeDocks({ m_panes.filePanel }, { values.splitter1 }, Qt::Horizontal);
    rebuildToolbarsMenu();
}

void ViewController::save(StartupSettings &values)
{
    m_settings.store().setValue(kToolbarState, m_window.saveState());
    values.zawijanie = ChkZawijanie->isChecked();
    values.pasekPrzyc = Pasekprzyciskow1->isChecked();
    values.panelPlikow = Panelplikow1->isChecked();
    values.status = Pasekstatusu1->isChecked();
    if (m_panes.filePanel->width() > 0 && m_panes.filePanel->isVisible())
        values.splitter1 = m_panes.filePanel->width();
    if (m_panes.upperPane->isVisible())
        values.splitter2 = m_panes.upperPane->height();
    if (m_panes.preview->isVisible())
        values.splitter3 = m_panes.preview->height();
}
