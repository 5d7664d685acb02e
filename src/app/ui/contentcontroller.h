#pragma once

#include "services/projectsfile.h"

#include <QObject>
#include <QString>

class AssistController;
class DocumentManager;
class MarkoraSettings;
class QAction;
class QDockWidget;
class SetupController;
class TEditor;
class TProjektyPanel;
class TWstawkiPanel;

// The reusable content: "Nowy z szablonu..." and "Zapisz jako szablon..." of the file menu,
// the snippets panel ("Wstawki", its snippets inserted by the common insertion rule) and
// the projects panel, each in a dock of its own. The window places the actions and docks.
class ContentController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller, its actions, docks and messages; the others outlive it.
    // The folders and the projects file are the program's own unless given (tests).
    struct Places
    {
        QString shippedTemplates;
        QString userTemplates;
        ProjectsFilePaths projects;
    };
    ContentController(QWidget &window, DocumentManager &documents, AssistController &assist,
        const SetupController &setup, MarkoraSettings &settings, const Places &places = defaultPlaces());
    static Places defaultPlaces();

    // PlikiNowyZSzablonu1 and PlikiZapiszJakoSzablon1 (the second needs a document).
    QAction *newFromTemplateAction() const { return PlikiNowyZSzablonu1; }
    QAction *saveAsTemplateAction() const { return PlikiZapiszJakoSzablon1; }
    // "DokWstawki" and "DokProjekty".
    QDockWidget *snippetsDock() const { return m_snippetsDock; }
    QDockWidget *projectsDock() const { return m_projectsDock; }
    TWstawkiPanel *snippetsPanel() const { return m_snippets; }
    TProjektyPanel *projectsPanel() const { return m_projects; }

    // Reads the projects file (once the window is up: a damaged file is reported over it).
    void loadProjects();

    // "Nowy z szablonu...": the template dialog, then newFromTemplate with its choice.
    void PlikiNowyZSzablonu1Click();
    // A new document from the template file: its placeholders asked and filled as "Nowy"
    // does (a cancelled question leaves the new document empty), its code page and line
    // break taken from the file. Nullptr when the file cannot be read (reported).
    TEditor *newFromTemplate(const QString &path);
    // "Zapisz jako szablon...": the current document into the user's templates folder.
    // The template's path; empty when nothing was saved.
    QString PlikiZapiszJakoSzablon1Click();

Q_SIGNALS:
    // A line for the status bar.
    void statusMessage(const QString &text);

private:
    QWidget &m_window;
    DocumentManager &m_documents;
    AssistController &m_assist;
    const SetupController &m_setup;
    Places m_places;
    QAction *PlikiNowyZSzablonu1 = nullptr;
    QAction *PlikiZapiszJakoSzablon1 = nullptr;
    TWstawkiPanel *m_snippets = nullptr;
    TProjektyPanel *m_projects = nullptr;
    QDockWidget *m_snippetsDock = nullptr;
    QDockWidget *m_projectsDock = nullptr;
};
