#pragma once

#include "services/projectsfile.h"

#include <QWidget>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

// The projects panel: a tree of the projects of the projects file with their documents,
// the selected project's creation date ("Utworzony: …"), and the commands (buttons and the
// tree's context menu): new project, delete project, add the active document, remove a
// document, open a document, open all documents of a project. Every change is written to
// the file at once.
class TProjektyPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TProjektyPanel(
        const ProjectsFilePaths &paths = DefaultProjectsFilePaths(), QWidget *parent = nullptr);

    // The active document's full path for "Dodaj dokument": nullopt when no document is
    // open, an empty text for one never saved. The window sets it and calls
    // activeDocumentChanged() whenever its active document changes.
    std::function<std::optional<QString>()> activeDocument;

    QTreeWidget *DrzewoProjektow = nullptr;
    QLabel *LbUtworzony = nullptr;
    QToolBar *PasekProjektow = nullptr;
    QAction *NowyProjekt = nullptr;
    QAction *UsunProjekt = nullptr;
    QAction *DodajDokument = nullptr;
    QAction *UsunDokument = nullptr;
    QAction *OtworzDokument = nullptr;
    QAction *OtworzWszystkie = nullptr;

    // Reads the projects file. Lines it does not understand are reported with their
    // numbers ("Projekty: ostrzeżenie") and kept; a file that cannot be read is reported
    // ("Projekty: błąd") and then never written over.
    void load();
    const ProjectList &projects() const { return m_list; }
    const ProjectsFilePaths &paths() const { return m_paths; }

    // Selects a project (document -1) or one of its documents in the tree.
    void select(int project, int document = -1);
    // The project the selection belongs to (-1 when none) and the selected document's row
    // among its documents (-1 when a project itself, or nothing, is selected).
    int selectedProject() const;
    int selectedDocument() const;

    // The operations behind the commands, with their messages; false when nothing changed.
    bool newProject(const QString &name);
    // Asks first.
    bool deleteProject(int project);
    bool addDocument(int project, const QString &path);
    bool removeDocument(int project, const QString &path);

    // Handlers named after the commands.
    void NowyProjektClick();
    void UsunProjektClick();
    void DodajDokumentClick();
    void UsunDokumentClick();
    void OtworzDokumentClick();
    void OtworzWszystkieClick();
    // The window's active document changed: the commands follow.
    void activeDocumentChanged();

Q_SIGNALS:
    // Documents to open, full paths, in project order.
    void openFiles(const QStringList &paths);

private:
    void rebuild(int project, int document);
    void DrzewoProjektowChange();
    void updateActions();
    bool writable();
    bool save();
    QString fullPath(const QString &document) const;

    ProjectsFilePaths m_paths;
    ProjectList m_list;
    bool m_readFailed = false;
};
