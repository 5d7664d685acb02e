#pragma once

#include "base/documents.h"
#include "editor/ui/tcolormemo.h"

#include <QColor>
#include <QFont>
#include <memory>

class TEditor;
class QKeyEvent;

// What an editor asks of the window that holds it (the main window in the program,
// a stand-in in tests). Every method has a harmless default.
class EditorHost
{
public:
    virtual ~EditorHost() = default;
    // A key press before the control handles it; true swallows it.
    virtual bool editorKeyPress(TEditor *, QKeyEvent *) { return false; }
    // The context menu at a global position; false lets the control show its own.
    virtual bool editorContextMenu(TEditor *, const QPoint &) { return false; }
    // A left double-click; true when the tag grid took the tag at the caret.
    virtual bool editorDoubleClick(TEditor *) { return false; }
    // Files dropped on the editor, in the order they came.
    virtual void editorFilesDropped(TEditor *, const QStringList &) { }
};

// How a new editor looks, as the main window's settings say.
struct EditorAppearance
{
    bool valid = false; // false until the settings were read: the control's defaults stay
    QFont font;
    QColor background;
    QColor textColor;
    bool wordWrap = true;
};

// One open document: the colouring control with the document's own state.
class TEditor : public TColorMemo, public EditableDocument
{
    Q_OBJECT
public:
    TEditor(EditorHost *host, const EditorAppearance &appearance, bool isoDefault, QWidget *parent = nullptr);
    ~TEditor() override;

    // The program's undo: the control's own step when it holds one, else the snapshot.
    void TakeSnapshot() { takeSnapshot(); }
    bool CanUndo() const;
    void Undo();

    // Process-wide counter: the id the next editor gets (the first editor is 1).
    static int nextDocumentId();

    // EditableDocument
    int documentId() const override { return m_id; }
    DocumentState &state() override { return m_state; }
    const DocumentState &state() const override { return m_state; }
    const TextAccess &textAccess() const override { return *m_access; }
    QString text() const override;
    void setText(const QString &text) override;
    int selStart() const override;
    int selLength() const override;
    QString selectedText() const override;
    void setSelection(int start, int length) override;
    void replaceSelection(const QString &text) override;
    bool isModified() const override;
    void setModified(bool modified) override;

    // Loads text as the document's content: not a change the user can undo, not modified.
    void loadText(const QString &text);
    void applyAppearance(const EditorAppearance &appearance);

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    // Runs a change the control must not record in its own undo history.
    template <typename F> void programChange(F &&change);

    const int m_id;
    DocumentState m_state;
    EditorHost *m_host;
    std::unique_ptr<TextAccess> m_access;
};

// The colour rules every editor starts with, built once from tags.ini.
const TDrawRules &DefaultEditorRules();
