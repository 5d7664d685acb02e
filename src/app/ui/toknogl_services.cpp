// The text services in the main window: find and replace with its results panel, and
// the Polish-letter converter.
#include "app/ui/documentmanager.h"
#include "app/ui/toknogl.h"
#include "base/datafiles.h"
#include "search/ui/findresultspanel.h"
#include "search/ui/tsearchdial.h"
#include "services/ui/tkonwerterdial.h"

#include <QAction>
#include <QMenu>
#include <QStyle>
#include <QToolBar>

void TOknoGl::setupServices()
{
    m_results = new FindResultsPanel(m_documents, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_results);
    m_results->hide();
    if (QMenu *widok = menuNamed(QStringLiteral("Widok1")))
        widok->addAction(m_results->toggleViewAction());

    QMenu *edycja = menuNamed(QStringLiteral("Edycja1"));
    edycja->addSeparator();
    QAction *find = addAction(edycja, QStringLiteral("EdycjaZnajdz1"), QStringLiteral("&Znajdź..."),
        QKeySequence::Find, [this] { SearchFindClick(0); });
    QAction *replace = addAction(edycja, QStringLiteral("EdycjaZamien1"), QStringLiteral("Za&mień..."),
        QKeySequence(Qt::CTRL | Qt::Key_H), [this] { SearchFindClick(1); });
    m_needsDocument << find << replace;

    QMenu *polskie = menuNamed(QStringLiteral("Polskielitery1"));
    QAction *konwerter = addAction(polskie, QStringLiteral("Konwerter1"), QStringLiteral("&Konwerter..."),
        QKeySequence(), [this] { KonwerterClick(); });
    m_needsDocument << konwerter;

    QToolBar *bar = mainToolBar();
    bar->addSeparator();
    find->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    replace->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    konwerter->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    for (QAction *a : { find, replace, konwerter })
        bar->addAction(a);
    bar->widgetForAction(find)->setObjectName(QStringLiteral("BtnZnajdz"));
    bar->widgetForAction(replace)->setObjectName(QStringLiteral("BtnZamien"));
    bar->widgetForAction(konwerter)->setObjectName(QStringLiteral("BtnKonwerter"));
}

void TOknoGl::SearchFindClick(int page)
{
    if (!currentEditorOrNull())
        return;
    TSearchDial::showPage(
        page, this, m_documents, m_results, [this](const QString &text) { setStatusPanel(3, text); });
}

void TOknoGl::KonwerterClick()
{
    if (!currentEditorOrNull())
        return;
    // Created on demand and released when closed, so edits to znaki.txt take effect
    // the next time.
    TKonwerterDial dlg(m_documents, DataFilePath(QStringLiteral("konfiguracja/znaki.txt")), this);
    dlg.exec();
    Timer1Timer();
}
