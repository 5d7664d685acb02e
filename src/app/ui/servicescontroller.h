#pragma once

#include "services/ui/filesearchpage.h"

#include <QObject>

class DocumentManager;
class EntityCommands;
class FindResultsPanel;
class QAction;
class TSearchDial;
struct SetupOptions;

// The text services of the window: find and replace ("EdycjaZnajdz1", "EdycjaZamien1")
// with the results panel, find and replace in files on disk ("EdycjaZnajdzWPlikach1",
// the page "W plikach" of the search window), the Polish-letter converter
// ("Konwerter1") and the letters and entities commands. The window places the panel (a
// dock) and the actions; each action needs a document.
class ServicesController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller, the panel and the dialogs; documents and options
    // (the code page of new documents and the tab width, which files are read with)
    // outlive it.
    ServicesController(QWidget &window, DocumentManager &documents, const SetupOptions &options);
    ~ServicesController() override;

    FindResultsPanel *findResults() const { return m_results; }
    // Find, Replace and Find in files, for the "Edycja" menu; the first two for the toolbar.
    QList<QAction *> searchActions() const { return { m_find, m_replace, m_findInFiles }; }
    // The converter, for the "Polskie litery" menu and the toolbar.
    QAction *converterAction() const { return m_konwerter; }
    // Letters to entities and back, for the "Polskie litery" menu.
    QList<QAction *> entityActions() const;
    // The file filters the program knows ("Description|*.a;*.b|..."), offered as masks.
    void setFileFilter(const QString &filter) { m_fileFilter = filter; }
    // The runs of Replace in files that can still be undone.
    const FileReplaceHistory &replaceHistory() const { return m_replaceHistory; }

    // The Find (page 0), Replace (page 1) and Find in files (page 2) commands.
    void SearchFindClick(int page);
    void KonwerterClick();
    // Opens a file found on disk (or goes to its document when it is open) and selects
    // [position, position + length) there.
    void openFoundFile(const QString &path, int position, int length);

Q_SIGNALS:
    // A line for the status bar (panel 3): the search's progress.
    void statusMessage(const QString &text);
    // The converter may have changed the document: the commands and the status bar follow.
    void refreshRequested();

private:
    void addFilesPage(TSearchDial &dialog);
    void prepareFileRun(FileSearchRequest &request) const;

    QWidget &m_window;
    DocumentManager &m_documents;
    const SetupOptions &m_options;
    FindResultsPanel *m_results = nullptr;
    QAction *m_find = nullptr;
    QAction *m_replace = nullptr;
    QAction *m_findInFiles = nullptr;
    QAction *m_konwerter = nullptr;
    EntityCommands *m_entities = nullptr;
    QString m_fileFilter;
    FileReplaceHistory m_replaceHistory;
};
