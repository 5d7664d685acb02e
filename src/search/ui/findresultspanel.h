#pragma once

#include <QDockWidget>

class DocumentSet;
class FindResultsModel;
class QModelIndex;
class QTabWidget;
class QToolButton;
class QTreeView;

// The dockable results panel "Wyniki" (object name TbarWyniki) with the page TabFind
// "Znajdź / Zamień" of ResultsTabs: the list FindResults over FindResultsModel and the
// buttons BtnWynikiClear and BtnWynikiClBef. The main window adds it as a dock; it
// survives the search window.
class FindResultsPanel : public QDockWidget
{
    Q_OBJECT
public:
    // docs: the open documents a double-click jumps into; must outlive the panel.
    explicit FindResultsPanel(DocumentSet *docs, QWidget *parent = nullptr);
    ~FindResultsPanel() override;

    FindResultsModel *model() const { return m_model; }
    QTreeView *view() const { return m_view; }
    QTabWidget *tabs() const { return m_tabs; }

    // BtnWynikiClBef is down: a new run empties the list first.
    bool clearBeforeNew() const;
    // Shows the panel and makes TabFind its current page.
    void showFindPage();

public Q_SLOTS:
    void BtnWynikiClearClick();
    // Jumps to the row's document and selects the found or inserted text; a match in a
    // file on disk is asked for with fileRequested().
    void FindResultsDblClick(const QModelIndex &index);

Q_SIGNALS:
    // A row of a file on disk was double-clicked: whoever opens files opens it and
    // selects [position, position + length) as opening places the text.
    void fileRequested(const QString &path, int position, int length);

private:
    DocumentSet *m_docs;
    FindResultsModel *m_model;
    QTabWidget *m_tabs;
    QWidget *m_tabFind;
    QTreeView *m_view;
    QToolButton *m_clear;
    QToolButton *m_clearBefore;
};
