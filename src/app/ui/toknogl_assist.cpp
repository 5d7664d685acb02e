// Tag assistance while typing in the main window: the key handler (Enter, automatic
// closing, overwrite, the parameter list), the switches and entry modes, the editor's
// context menu with its parameter inserter, the syntax hint, and the tag inspector's
// double-click and live write-back.

#include "base/ui/msgbox.h"
#include "app/previewfile.h"
#include "app/ui/thintballoon.h"
#include "app/ui/toknogl_assist_p.h"
#include "app/ui/twstlist.h"
#include "insert/ui/inserttooltabs.h"
#include "base/codepage.h"
#include "tags/tagassist.h"
#include "tags/ui/taggrid.h"
#include "tags/taglookup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QTabWidget>
#include <QTextBlock>
#include <QToolBar>

namespace {

const char *const kSwitchNames[AssistSwitchCount]
    = { "ChkHTMLHint", "ChkWstawiacz", "ChkZamykanie", "ChkAuto", "ChkIndent" };
const char kSwitchSection[] = "Kontrolki";

// An editor seen through EditableDocument whose changes are recorded in the control's own
// undo, joined into one step, as typing is. The assistance edits on every keystroke; a
// snapshot would copy the whole document each time.
class TypingEdit final : public EditableDocument
{
public:
    explicit TypingEdit(TEditor *editor)
        : m_e(editor)
    {
    }

    int documentId() const override { return m_e->documentId(); }
    DocumentState &state() override { return m_e->state(); }
    const DocumentState &state() const override { return m_e->state(); }
    const TextAccess &textAccess() const override { return m_e->textAccess(); }
    QString text() const override { return m_e->text(); }
    void setText(const QString &text) override { m_e->setText(text); }
    int selStart() const override { return m_e->selStart(); }
    int selLength() const override { return m_e->selLength(); }
    QString selectedText() const override { return m_e->selectedText(); }
    void setSelection(int start, int length) override { m_e->setSelection(start, length); }
    void replaceSelection(const QString &text) override
    {
        QTextCursor c = m_e->textCursor();
        if (m_joined)
            c.joinPreviousEditBlock();
        else
            c.beginEditBlock();
        c.insertText(text);
        c.endEditBlock();
        m_e->setTextCursor(c);
        m_joined = true;
    }
    bool isModified() const override { return m_e->isModified(); }
    void setModified(bool modified) override { m_e->setModified(modified); }
    void takeSnapshot() override { } // the control's undo holds the step

private:
    TEditor *m_e;
    bool m_joined = false;
};

bool isPrintable(QChar c) { return (c.unicode() >= 32 && c.unicode() <= 126) || c.unicode() >= 128; }

} // namespace

// ---- Switches, entry modes, status ---------------------------------------------------

void TOknoGl::setupAssistButtons()
{
    AssistState &a = *m_assist;
    struct Def
    {
        QString caption;
        QString hint;
    };
    const Def defs[AssistSwitchCount] = {
        { QStringLiteral("Dymki"),
            QStringLiteral("Podpowiedzi składniowe, wyświetlane w zielonych dymkach,\n"
                           "zawierające składnię i opis znacznika") },
        { QStringLiteral("Parametry"),
            QStringLiteral("Wstawianie parametrów znacznika, czyli pokazywanie\n"
                           "listy parametrów taga podczas jego edycji w edytorze") },
        { QStringLiteral("</ >"), QStringLiteral("Automatyczne dodawanie znacznika zamykającego </ >") },
        { QStringLiteral("Auto"),
            QStringLiteral("Autointerpretacja wstawianego znacznika, czyli automatyczne \n"
                           "ładowanie go na zakładkę 'Tagi' zaraz po wstawieniu") },
        { QStringLiteral("Wcięcia"), QStringLiteral("Wcinanie (indent)") },
    };
    QToolBar *bar = mainToolBar();
    bar->addSeparator();
    auto addToggle = [this, bar](const QString &name, const QString &caption, const QString &hint) {
        auto *act = new QAction(caption, this);
        act->setObjectName(name);
        act->setCheckable(true);
        act->setToolTip(hint);
        bar->addAction(act);
        if (QWidget *w = bar->widgetForAction(act))
            w->setObjectName(name);
        return act;
    };
    for (int i = 0; i < AssistSwitchCount; ++i) {
        const QString name = QString::fromLatin1(kSwitchNames[i]);
        QAction *act = addToggle(name, defs[i].caption, defs[i].hint);
        act->setChecked(m_settings.readBool(QString::fromLatin1(kSwitchSection), name, true));
        a.switches[i] = act;
        connect(act, &QAction::toggled, this, [this, name, i](bool down) {
            m_settings.writeBool(QString::fromLatin1(kSwitchSection), name, down);
            if (i == ChkAuto)
                m_assist->runner.setChkAuto(down);
            if (i == ChkHTMLHint && !down)
                hideSyntaxHint();
        });
    }
    a.runner.setChkAuto(a.switches[ChkAuto]->isChecked());

    bar->addSeparator();
    a.btnTrybList = addToggle(QStringLiteral("BtnTrybList"), QStringLiteral("<LI>"),
        QStringLiteral("Tryb wprowadzania elementów listy"));
    a.btnTabTryb = addToggle(QStringLiteral("BtnTabTryb"), QStringLiteral("<TD>"),
        QStringLiteral("Tryb wprowadzania komórek tabeli"));
    // Only the user's click changes the mode; the timer sets the checked state.
    connect(a.btnTrybList, &QAction::triggered, this, &TOknoGl::BtnTrybListClick);
    connect(a.btnTabTryb, &QAction::triggered, this, &TOknoGl::BtnTabTrybClick);
    m_needsDocument << a.btnTrybList << a.btnTabTryb;

    a.wstList = new TWstList(this);
    connect(a.wstList, &TWstList::chosen, this, &TOknoGl::WstListClick);
    connect(a.wstList, &TWstList::keyTyped, this, &TOknoGl::WstListKeyPress);
    connect(a.wstList, &TWstList::left, this, &TOknoGl::WstListExit);

    a.balloon = new THintBalloon(this);
    a.hintRest.setSingleShot(true);
    a.hintRest.setInterval(700);
    connect(&a.hintRest, &QTimer::timeout, this, [this] {
        // Not over a menu or dialog the user is busy with.
        TEditor *e = currentEditorOrNull();
        if (e && e->hasFocus() && isActiveWindow() && !QApplication::activePopupWidget()
            && !QApplication::activeModalWidget())
            ShowSyntaxHint();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || now->window() != this)
            hideSyntaxHint();
    });
}

bool TOknoGl::assistSwitch(const QString &name) const
{
    for (QAction *a : m_assist->switches)
        if (a->objectName() == name)
            return a->isChecked();
    return false;
}

void TOknoGl::setAssistSwitch(const QString &name, bool down)
{
    for (QAction *a : m_assist->switches)
        if (a->objectName() == name)
            a->setChecked(down);
}

bool TOknoGl::overwriteMode() const { return m_assist->overwrite; }

void TOknoGl::setOverwriteMode(bool on)
{
    m_assist->overwrite = on;
    Timer1Timer();
}

void TOknoGl::BtnTrybListClick(bool down)
{
    if (TEditor *e = currentEditorOrNull())
        e->state().entryMode = down ? EntryListItems : EntryNormal;
    Timer1Timer();
}

void TOknoGl::BtnTabTrybClick(bool down)
{
    if (TEditor *e = currentEditorOrNull())
        e->state().entryMode = down ? EntryTableCells : EntryNormal;
    Timer1Timer();
}

void TOknoGl::Timer1TimerAssist(TEditor *e)
{
    if (!m_assist)
        return;
    AssistState &a = *m_assist;
    setStatusPanel(2, a.overwrite ? QStringLiteral("OVR") : QStringLiteral("INS"));
    a.btnTrybList->setChecked(e && e->state().entryMode == EntryListItems);
    a.btnTabTryb->setChecked(e && e->state().entryMode == EntryTableCells);
    if (!e) {
        hideSyntaxHint();
        return;
    }
    const int pos = e->textCursor().position();
    if (e != a.restEditor || pos != a.restPos) {
        // The balloon speaks of the tag it was shown for: leaving the tag ends it.
        if (a.balloon->isVisible()
            && (e != a.restEditor || e->document()->findBlock(pos) != e->document()->findBlock(a.restPos)
                || EnclosingTagName(e->textAccess(), pos) != a.shownHintTag))
            hideSyntaxHint();
        a.restEditor = e;
        a.restPos = pos;
        a.hintRest.start();
    }
    if (a.balloon->isVisible() && (e->selLength() > 0 || !a.switches[ChkHTMLHint]->isChecked()))
        hideSyntaxHint();
}

// ---- Syntax hint ------------------------------------------------------------------

bool TOknoGl::ShowSyntaxHint()
{
    AssistState &a = *m_assist;
    TEditor *e = currentEditorOrNull();
    if (!e || !a.switches[ChkHTMLHint]->isChecked() || a.wstList->isVisible() || e->selLength() > 0) {
        hideSyntaxHint();
        return false;
    }
    const QString name = EnclosingTagName(e->textAccess(), e->selStart());
    const QString text = name.isEmpty() ? QString() : HintText(TagDefs::shared(), name);
    if (text.isEmpty()) {
        hideSyntaxHint();
        return false;
    }
    // One and a half lines under the caret's top, as the parameter list opens.
    const QRect caret = e->cursorRect();
    const QPoint at
        = e->viewport()->mapToGlobal(caret.topLeft() + QPoint(0, e->fontMetrics().height() * 3 / 2));
    a.balloon->showAt(text, at);
    a.shownHintTag = name;
    return true;
}

void TOknoGl::hideSyntaxHint()
{
    if (m_assist && m_assist->balloon)
        m_assist->balloon->hide();
}

QWidget *TOknoGl::syntaxHintBalloon() const { return m_assist->balloon; }

// ---- Key press --------------------------------------------------------------------

bool TOknoGl::editorKeyPress(TEditor *e, QKeyEvent *ev)
{
    if (!m_assist)
        return false;
    AssistState &a = *m_assist;
    const int key = ev->key();
    const Qt::KeyboardModifiers mods = ev->modifiers();
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));

    if (key == Qt::Key_Insert && plain && !(mods & Qt::ShiftModifier)) {
        setOverwriteMode(!a.overwrite);
        return true;
    }
    if (key == Qt::Key_Escape)
        hideSyntaxHint();

    // 1. Enter continues the line's indentation and the document's entry mode.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain) {
        QString indent;
        if (a.switches[ChkIndent]->isChecked())
            indent = LineIndentBefore(e->textAccess(), e->selStart());
        TypingEdit(e).replaceSelection(
            EnterInsertion(e->state().entryMode, mods & Qt::ShiftModifier, indent));
        e->ensureCursorVisible();
        return true;
    }

    const QString typed = ev->text();
    const QChar ch = typed.size() == 1 ? typed.at(0) : QChar();
    if (!plain && !(mods & Qt::AltModifier && mods & Qt::ControlModifier)) // AltGr types letters
        return false;

    // 2. ">" closes the tag when its definition asks for it.
    if (ch == QLatin1Char('>') && a.switches[ChkZamykanie]->isChecked()) {
        insertClosingOnGreater(e);
        return true;
    }

    // 3. Overwrite: the typed character replaces the one after the caret.
    if (a.overwrite && !ch.isNull() && isPrintable(ch) && !e->textCursor().hasSelection()) {
        QTextCursor c = e->textCursor();
        if (c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor))
            e->setTextCursor(c);
    }

    // 4. A space inside a tag offers the tag's parameters.
    if (ch == QLatin1Char(' ') && a.switches[ChkWstawiacz]->isChecked() && openParameterList(e))
        return true;
    return false;
}

void TOknoGl::insertClosingOnGreater(TEditor *e)
{
    InsertCommandRunner &runner = m_assist->runner;
    TypingEdit doc(e);
    // Only the opening tag is interpreted, never the added closing one.
    runner.setAutoInterpretation(false);
    runner.insertPair(doc, QStringLiteral(">"), QString());
    const QString name = EnclosingTagName(e->textAccess(), e->selStart() - 1);
    const auto choice = [this](const QString &tag) {
        const QString section = QStringLiteral("Zamykanie");
        // Keys are kept upper case; a key written as the tag was typed still counts.
        const QString upper = tag.toUpper();
        QSettings &store = m_settings.store();
        store.beginGroup(section);
        const bool hasUpper = store.contains(upper);
        store.endGroup();
        return m_settings.readBool(section, hasUpper ? upper : tag, true);
    };
    if (!name.isEmpty() && TagNeedsClosing(TagDefs::shared(), name, choice))
        runner.insertPair(doc, QString(), QStringLiteral("</") + name + QLatin1Char('>'));
    runner.setAutoInterpretation(true);
    e->ensureCursorVisible();
}

// ---- Parameter list ---------------------------------------------------------------

bool TOknoGl::openParameterList(TEditor *e)
{
    AssistState &a = *m_assist;
    const int caret = e->selStart();
    const QString name = EnclosingTagName(e->textAccess(), caret);
    if (name.isEmpty() || IsInsideQuotedValue(e->textAccess(), caret))
        return false;
    const QStringList entries = ParameterEntries(TagDefs::shared(), name);
    // A tag without parameters (or unknown) takes the space as plain typing.
    if (entries.isEmpty())
        return false;
    a.wstList->clear();
    a.wstList->addItems(entries);
    TypingEdit(e).replaceSelection(QStringLiteral(" "));
    e->ensureCursorVisible();

    const QRect caretRect = e->cursorRect();
    const QPoint top = e->viewport()->mapTo(this, caretRect.topLeft());
    const int lineHeight = e->fontMetrics().height();
    const QSize size = a.wstList->fittingSize();
    QPoint at(top.x(), top.y() + lineHeight * 3 / 2);
    // Keep the list inside the window: above the caret's line when there is no room under it.
    if (at.y() + size.height() > height() && top.y() - size.height() >= 0)
        at.setY(top.y() - size.height());
    at.setX(std::max(0, std::min(at.x(), width() - size.width())));
    at.setY(std::max(0, std::min(at.y(), height() - size.height())));
    a.wstList->setGeometry(QRect(at, size));
    a.wstList->Tag = e->textCursor().position();
    a.listEditor = e;
    a.wstList->setCurrentRow(0);
    hideSyntaxHint();
    a.wstList->show();
    a.wstList->raise();
    a.wstList->setFocus();
    return true;
}

void TOknoGl::WstListClick()
{
    if (!m_assist)
        return;
    AssistState &a = *m_assist;
    TEditor *e = a.listEditor;
    const QListWidgetItem *item = a.wstList->currentItem();
    if (e && item && a.wstList->isVisible()) {
        const int caret = e->textCursor().position();
        if (caret >= a.wstList->Tag) {
            QString text = item->text();
            if (!lowerCaseInsertion())
                text = text.toUpper();
            // What was typed since the list opened is replaced by the chosen entry.
            QTextCursor c = e->textCursor();
            c.beginEditBlock();
            c.setPosition(a.wstList->Tag);
            c.setPosition(caret, QTextCursor::KeepAnchor);
            c.insertText(text);
            c.endEditBlock();
            if (text.endsWith(QLatin1Char('"')))
                c.movePosition(QTextCursor::PreviousCharacter);
            e->setTextCursor(c);
        }
    }
    WstListExit();
}

void TOknoGl::WstListKeyPress(QKeyEvent *ev)
{
    if (!m_assist)
        return;
    AssistState &a = *m_assist;
    TEditor *e = a.listEditor;
    if (!e || ev->key() == Qt::Key_Escape) {
        WstListExit();
        return;
    }
    const QString typed = ev->text();
    const bool character = !typed.isEmpty() && typed.at(0).unicode() >= 32;
    if (ev->key() != Qt::Key_Backspace && !character)
        return;
    // Typing goes on in the document while the list stays open.
    QKeyEvent copy(QEvent::KeyPress, ev->key(), ev->modifiers(), typed, ev->isAutoRepeat(), ev->count());
    QCoreApplication::sendEvent(e, &copy);
    if (!a.listEditor)
        return;
    const QChar c = character ? typed.at(0) : QChar();
    const int caret = e->textCursor().position();
    if (c == QLatin1Char('"') || c == QLatin1Char('=') || c == QLatin1Char('>') || caret < a.wstList->Tag) {
        WstListExit();
        return;
    }
    // The first entry that begins with what was typed becomes current, so Enter takes it.
    const QString prefix = e->textAccess().mid(a.wstList->Tag, std::min(caret - a.wstList->Tag, 64));
    for (int i = 0; i < a.wstList->count(); ++i) {
        if (a.wstList->item(i)->text().startsWith(prefix, Qt::CaseInsensitive)) {
            a.wstList->setCurrentRow(i);
            break;
        }
    }
}

void TOknoGl::WstListExit()
{
    if (!m_assist)
        return;
    AssistState &a = *m_assist;
    QPointer<TEditor> e = a.listEditor;
    if (!a.wstList->isVisible() && !e)
        return;
    a.listEditor = nullptr;
    a.wstList->hide();
    if (e)
        e->setFocus();
}

// ---- Context menu and parameter inserter --------------------------------------------

void TOknoGl::setupEditorPopup()
{
    AssistState &a = *m_assist;
    a.editorPopup = new QMenu(this);
    a.editorPopup->setObjectName(QStringLiteral("EditorPopup"));
    const char *const items[] = { "EdycjaCofnij1", nullptr, "EdycjaWytnij1", "EdycjaSkopiuj1", "EdycjaWklej1",
        "EdycjaWyczysc1", nullptr, "EdycjaZaznaczwszystko1" };
    for (const char *name : items) {
        if (!name)
            a.editorPopup->addSeparator();
        else if (auto *act = findChild<QAction *>(QString::fromLatin1(name)))
            a.editorPopup->addAction(act);
    }
    a.editorPopup->addSeparator();
    a.parInserter = a.editorPopup->addMenu(QStringLiteral("Parametry"));
    a.parInserter->setObjectName(QStringLiteral("ParInserter"));
}

QMenu *TOknoGl::editorPopup() const { return m_assist->editorPopup; }

bool TOknoGl::editorContextMenu(TEditor *, const QPoint &globalPos)
{
    if (!m_assist)
        return false;
    m_assist->hintRest.stop();
    hideSyntaxHint();
    ParInserterClick();
    Timer1Timer();
    m_assist->editorPopup->popup(globalPos);
    return true;
}

void TOknoGl::ParInserterClick()
{
    QMenu *menu = m_assist->parInserter;
    menu->clear();
    TEditor *e = currentEditorOrNull();
    if (e && e->selLength() == 0) {
        const QString name = EnclosingTagName(e->textAccess(), e->selStart());
        if (!name.isEmpty()) {
            for (const QString &entry : ParameterEntries(TagDefs::shared(), name)) {
                QAction *act = menu->addAction(QString(entry).replace(QLatin1Char('&'), QLatin1String("&&")));
                connect(act, &QAction::triggered, this, [this, entry] { ParInserterItemClick(entry); });
            }
        }
    }
    menu->menuAction()->setEnabled(!menu->isEmpty());
}

void TOknoGl::ParInserterItemClick(const QString &caption)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return;
    const int pos = ParInserterPosition(e->textAccess(), e->textCursor().position());
    if (pos < 0)
        return;
    const QString text = lowerCaseInsertion() ? caption : caption.toUpper();
    QTextCursor c = e->textCursor();
    c.beginEditBlock();
    c.setPosition(pos);
    c.insertText(QLatin1Char(' ') + text);
    c.endEditBlock();
    if (text.endsWith(QLatin1Char('"')))
        c.movePosition(QTextCursor::PreviousCharacter);
    e->setTextCursor(c);
    e->setFocus();
}

// ---- Tag inspector: double-click and live write-back -------------------------------

bool TOknoGl::editorDoubleClick(TEditor *e)
{
    if (!m_assist)
        return false;
    const TextAccess &text = e->textAccess();
    const int caret = e->textCursor().position();
    const TagRange r = FindTagAround(text, caret, false);
    if (!r.isValid())
        return false;
    // Just after a tag, a word that follows is what the user aimed at.
    if (caret == r.start + r.length && text.at(caret).isLetterOrNumber())
        return false;
    const QString tag = text.mid(r.start, r.length);
    if (ParseTag(FlattenTagText(tag)).Name == QLatin1String("!"))
        return false;
    e->setSelection(r.start, r.length);
    m_assist->inspector->ShowTagInInspector(tag);
    trackInspectedTag(e, r.start, r.length);
    return true;
}

void TOknoGl::trackInspectedTag(TEditor *e, int start, int length)
{
    AssistState &a = *m_assist;
    a.inspectedEditor = e;
    QTextCursor c(e->document());
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    a.inspectedRange = c;
    a.writeBackSnapshot = nullptr;
}

void TOknoGl::TagInspectorTagRebuilt(const QString &newTagText)
{
    if (!m_assist)
        return;
    AssistState &a = *m_assist;
    TEditor *e = a.inspectedEditor;
    if (!e || a.inspectedRange.isNull() || e != currentEditorOrNull())
        return;
    int start = a.inspectedRange.selectionStart();
    int length = a.inspectedRange.selectionEnd() - start;
    QString current = a.inspectedRange.selectedText();
    current.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    if (length < 2 || !current.startsWith(QLatin1Char('<')) || !current.endsWith(QLatin1Char('>'))) {
        // Typing at the tag's edge moved the range: the tag still starting there counts.
        const TagRange r = FindTagAround(e->textAccess(), start + 1, false);
        if (!r.isValid() || r.start != start)
            return;
        length = r.length;
        current = e->textAccess().mid(start, length);
    }
    if (current == newTagText)
        return;
    // One snapshot for a run of edits of the same tag: undo restores the text from before
    // the run, and the document is not copied on every keystroke in the grid.
    if (!(e->state().hasSnapshot() && e->state().snapshot.text.constData() == a.writeBackSnapshot
            && !e->document()->isUndoAvailable())) {
        e->TakeSnapshot();
        a.writeBackSnapshot = e->state().snapshot.text.constData();
    }
    e->setSelection(start, length);
    e->replaceSelection(newTagText);
    e->setSelection(start, int(newTagText.size()));
    QTextCursor c(e->document());
    c.setPosition(start);
    c.setPosition(start + int(newTagText.size()), QTextCursor::KeepAnchor);
    a.inspectedRange = c;
    if (a.pdUse)
        writeHintPreview(e, newTagText);
}

void TOknoGl::writeHintPreview(TEditor *e, const QString &tagText)
{
    AssistState &a = *m_assist;
    const QString content = QStringLiteral("<html><head><META HTTP-EQUIV=\"Content-type\" "
                                           "CONTENT=\"text/html;charset=windows-1250\"></head><body>")
        + tagText + a.sampleText + QStringLiteral("\r\n");
    QString error;
    const QString path = writeTemporaryFile(QStringLiteral("Podgląd znacznika"), e->state().fileName,
        HintFileName(), CodePage::encode(content, CodePage::Windows1250), &error);
    if (path.isEmpty()) {
        // Reported once per document: the grid writes on every keystroke.
        if (!a.failedPreviews.contains(e->state().fileName)) {
            a.failedPreviews << e->state().fileName;
            MsgBox::show(this, QMessageBox::Critical, QStringLiteral("Podgląd znacznika: błąd"),
                QStringLiteral("Nie można zapisać pliku podglądu ") + HintFileName() + QStringLiteral(" (")
                    + error + QStringLiteral(")."));
        }
        return;
    }
    Q_EMIT hintPreviewWritten(path);
}

void TOknoGl::activeDocumentChangedAssist(TEditor *e)
{
    if (!m_assist)
        return;
    AssistState &a = *m_assist;
    a.toolTabs->setEnabled(e != nullptr);
    // The grid speaks of a tag in one document: another document starts it empty, so an
    // edit can never land in a document the user is not looking at.
    if (a.inspectedEditor != e) {
        a.inspector->clear();
        a.inspectedEditor = nullptr;
        a.inspectedRange = QTextCursor();
    }
    if (a.wstList->isVisible())
        WstListExit();
    hideSyntaxHint();
}
