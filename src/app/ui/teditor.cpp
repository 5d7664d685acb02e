#include "app/ui/teditor.h"

#include "editor/defaultrules.h"
#include "editor/ui/documenttextaccess.h"
#include "tags/tagdefs.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

int g_documentCounter = 1;

} // namespace

const TDrawRules &DefaultEditorRules() { return DefaultColorRules(TagDefs::shared().ini()); }

int TEditor::nextDocumentId() { return g_documentCounter; }

TEditor::TEditor(EditorHost *host, const EditorAppearance &appearance, bool isoDefault, QWidget *parent)
    : TColorMemo(parent)
    , m_id(g_documentCounter++)
    , m_host(host)
    , m_access(std::make_unique<DocumentTextAccess>(document()))
{
    m_state.setIso(isoDefault);
    applyAppearance(appearance);
    setToolTip(QStringLiteral("Okienko edytora"));
    // The selection stays visible while another window has the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(
        QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    setColorRules(DefaultEditorRules());
    setTabChangesFocus(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
}

TEditor::~TEditor() = default;

void TEditor::applyAppearance(const EditorAppearance &a)
{
    if (!a.valid)
        return;
    setFont(a.font);
    QPalette p = palette();
    p.setColor(QPalette::Base, a.background);
    p.setColor(QPalette::Text, a.textColor);
    setPalette(p);
    setLineWrapMode(a.wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

template <typename F> void TEditor::programChange(F &&change)
{
    QTextDocument *doc = document();
    const bool wasEnabled = doc->isUndoRedoEnabled();
    // Switching undo off drops the control's own history: after a program change only
    // the snapshot can undo, as the editor promises.
    doc->setUndoRedoEnabled(false);
    change();
    doc->setUndoRedoEnabled(wasEnabled);
}

bool TEditor::CanUndo() const { return document()->isUndoAvailable() || m_state.hasSnapshot(); }

void TEditor::Undo()
{
    if (document()->isUndoAvailable()) {
        TColorMemo::undo();
        m_state.clearSnapshot();
    } else {
        undoSnapshot();
    }
}

QString TEditor::text() const
{
    QString s = document()->toRawText();
    // The raw text separates blocks by U+2029; no-break spaces stay as they are
    // (toPlainText would turn them into plain spaces).
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return s;
}

void TEditor::setText(const QString &text)
{
    programChange([&] { setPlainText(text); });
    document()->setModified(true);
}

void TEditor::loadText(const QString &text)
{
    programChange([&] { setPlainText(text); });
    document()->setModified(false);
}

int TEditor::selStart() const { return textCursor().selectionStart(); }

int TEditor::selLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

QString TEditor::selectedText() const
{
    QString s = textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return s;
}

void TEditor::setSelection(int start, int length)
{
    const int n = m_access->length();
    start = std::clamp(start, 0, n);
    length = std::clamp(length, 0, n - start);
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void TEditor::replaceSelection(const QString &text)
{
    programChange([&] {
        QTextCursor c = textCursor();
        c.insertText(text);
        setTextCursor(c);
    });
}

bool TEditor::isModified() const { return document()->isModified(); }
void TEditor::setModified(bool modified) { document()->setModified(modified); }

void TEditor::keyPressEvent(QKeyEvent *e)
{
    if (m_host && m_host->editorKeyPress(this, e))
        return;
    // The undo key is the undo command: the control's own undo knows nothing of a
    // program change, whose step only the snapshot holds.
    if (e == QKeySequence::Undo) {
        Undo();
        e->accept();
        return;
    }
    TColorMemo::keyPressEvent(e);
}

bool TEditor::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText() && !source->text().isEmpty();
}

void TEditor::insertFromMimeData(const QMimeData *source)
{
    // Paste, drop and the X11 selection all end here. An empty or missing clipboard
    // inserts nothing (the control itself would crash on data with no format), and only
    // the plain text is handed on, so no other format is ever read into a document.
    if (!canInsertFromMimeData(source))
        return;
    QMimeData plain;
    plain.setText(source->text());
    TColorMemo::insertFromMimeData(&plain);
}

void TEditor::mousePressEvent(QMouseEvent *e)
{
    // A right click without a selection first moves the caret where the user clicked,
    // so the context menu acts there; an existing selection stays.
    if (e->button() == Qt::RightButton && !textCursor().hasSelection())
        setTextCursor(cursorForPosition(e->position().toPoint()));
    TColorMemo::mousePressEvent(e);
}

void TEditor::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton) {
        // Place the caret under the pointer first: the tag is looked up around it.
        setTextCursor(cursorForPosition(e->position().toPoint()));
        if (m_host && m_host->editorDoubleClick(this)) {
            e->accept();
            return;
        }
    }
    TColorMemo::mouseDoubleClickEvent(e);
}

void TEditor::contextMenuEvent(QContextMenuEvent *e)
{
    if (m_host && m_host->editorContextMenu(this, e->globalPos()))
        return;
    // The control's own menu, with its undo entry made the editor's undo.
    QMenu *menu = createStandardContextMenu(e->pos());
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction *own = menu->findChild<QAction *>(QStringLiteral("edit-undo"))) {
        auto *undo = new QAction(own->icon(), own->text(), menu);
        undo->setEnabled(CanUndo());
        connect(undo, &QAction::triggered, this, [this] { Undo(); });
        menu->insertAction(own, undo);
        menu->removeAction(own);
        undo->setObjectName(own->objectName());
        delete own;
    }
    menu->popup(e->globalPos());
}

void TEditor::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
    else
        TColorMemo::dragEnterEvent(e);
}

void TEditor::dragMoveEvent(QDragMoveEvent *e)
{
    if (e->mimeData()->hasUrls())
        e->acceptProposedAction();
    else
        TColorMemo::dragMoveEvent(e);
}

void TEditor::dropEvent(QDropEvent *e)
{
    if (!e->mimeData()->hasUrls()) {
        TColorMemo::dropEvent(e);
        return;
    }
    QStringList files;
    for (const QUrl &url : e->mimeData()->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    e->acceptProposedAction();
    if (m_host && !files.isEmpty())
        m_host->editorFilesDropped(this, files);
}
