#include "app/ui/servicescontroller.h"

#include "app/ui/documentmanager.h"
#include "base/datafiles.h"
#include "search/ui/findresultspanel.h"
#include "search/ui/tsearchdial.h"
#include "services/ui/tkonwerterdial.h"

#include <QAction>
#include <QStyle>
#include <functional>

ServicesController::ServicesController(QWidget &window, DocumentManager &documents)
    : QObject(&window)
    , m_window(window)
    , m_documents(documents)
{
    m_results = new FindResultsPanel(&documents, &window);
    m_results->hide();
    const auto action = [&window, this](const char *name, const QString &text, QStyle::StandardPixmap icon,
                            const QKeySequence &shortcut, std::function<void()> handler) {
        auto *a = new QAction(window.style()->standardIcon(icon), text, &window);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
        return a;
    };
    m_find = action("EdycjaZnajdz1", QStringLiteral("&Znajdź..."), QStyle::SP_FileDialogContentsView,
        QKeySequence::Find, [this] { SearchFindClick(0); });
    m_replace = action("EdycjaZamien1", QStringLiteral("Za&mień..."), QStyle::SP_BrowserReload,
        QKeySequence(Qt::CTRL | Qt::Key_H), [this] { SearchFindClick(1); });
    m_konwerter = action("Konwerter1", QStringLiteral("&Konwerter..."), QStyle::SP_DialogApplyButton,
        QKeySequence(), [this] { KonwerterClick(); });
}

void ServicesController::SearchFindClick(int page)
{
    if (!m_documents.currentEditorOrNull())
        return;
    TSearchDial::showPage(page, &m_window, &m_documents, m_results,
        [this](const QString &text) { Q_EMIT statusMessage(text); });
}

void ServicesController::KonwerterClick()
{
    if (!m_documents.currentEditorOrNull())
        return;
    // Created on demand and released when closed, so edits to znaki.txt take effect
    // the next time.
    TKonwerterDial dlg(&m_documents, DataFilePath(QStringLiteral("konfiguracja/znaki.txt")), &m_window);
    dlg.exec();
    Q_EMIT refreshRequested();
}
