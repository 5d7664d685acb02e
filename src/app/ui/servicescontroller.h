#pragma once

#include <QObject>

class DocumentManager;
class FindResultsPanel;
class QAction;

// The text services of the window: find and replace ("EdycjaZnajdz1", "EdycjaZamien1")
// with the results panel, and the Polish-letter converter ("Konwerter1"). The window
// places the panel (a dock) and the actions; each action needs a document.
class ServicesController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller, the panel and the dialogs; documents outlive it.
    ServicesController(QWidget &window, DocumentManager &documents);

    FindResultsPanel *findResults() const { return m_results; }
    // Find and replace, for the "Edycja" menu and the toolbar.
    QList<QAction *> searchActions() const { return { m_find, m_replace }; }
    // The converter, for the "Polskie litery" menu and the toolbar.
    QAction *converterAction() const { return m_konwerter; }

    // The Find (page 0) and Replace (page 1) commands.
    void SearchFindClick(int page);
    void KonwerterClick();

Q_SIGNALS:
    // A line for the status bar (panel 3): the search's progress.
    void statusMessage(const QString &text);
    // The converter may have changed the document: the commands and the status bar follow.
    void refreshRequested();

private:
    QWidget &m_window;
    DocumentManager &m_documents;
    FindResultsPanel *m_results = nullptr;
    QAction *m_find = nullptr;
    QAction *m_replace = nullptr;
    QAction *m_konwerter = nullptr;
};
