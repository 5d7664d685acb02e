#include "app/ui/viewerscontroller.h"

#include "app/externalviewers.h"
#include "app/ui/tviewersdial.h"

#include <QAction>
#include <QMenu>

ViewersController::ViewersController(
    QWidget &window, MarkoraSettings &settings, QAction *systemBrowser, std::function<QString()> previewFile)
    : QObject(&window)
    , m_window(window)
    , m_settings(settings)
    , m_systemBrowser(systemBrowser)
    , m_previewFile(std::move(previewFile))
{
    m_menu = new QMenu(QStringLiteral("Podgląd &w programie"), &window);
    m_menu->setObjectName(QStringLiteral("PodgladWProgramie1"));
    m_menu->addAction(m_systemBrowser);
    m_menu->addSeparator();
    m_entriesEnd = m_menu->addSeparator();
    UstawieniaPrzegladarki1 = new QAction(QStringLiteral("&Przeglądarki zewnętrzne..."), &window);
    UstawieniaPrzegladarki1->setObjectName(QStringLiteral("UstawieniaPrzegladarki1"));
    connect(
        UstawieniaPrzegladarki1, &QAction::triggered, this, &ViewersController::UstawieniaPrzegladarki1Click);
    m_menu->addAction(UstawieniaPrzegladarki1);
    rebuild();
}

void ViewersController::UstawieniaPrzegladarki1Click()
{
    TViewersDial dialog(m_settings, &m_window);
    if (dialog.exec() == QDialog::Accepted)
        rebuild();
}

void ViewersController::rebuild()
{
    qDeleteAll(std::exchange(m_entries, {}));
    m_entries = TViewersDial::viewerActions(ReadViewers(m_settings), m_menu, m_previewFile, &m_window);
    m_menu->insertActions(m_entriesEnd, m_entries);
    // The entries' separator only when there are entries.
    m_entriesEnd->setVisible(!m_entries.isEmpty());
    Q_EMIT entriesRebuilt(m_entries);
}
