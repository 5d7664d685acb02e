#include "app/ui/assistcontroller.h"

#include "app/previewfile.h"
#include "app/ui/documentmanager.h"
#include "app/ui/setupcontroller.h"
#include "app/ui/temporaryfiles.h"
#include "app/ui/thintballoon.h"
#include "app/ui/twstlist.h"
#include "base/codepage.h"
#include "base/settings.h"
#include "base/ui/msgbox.h"
#include "insert/inserttarget.h"
#include "insert/ui/insertdialogs.h"
#include "insert/ui/inserttooltabs.h"
#include "services/documentcodec.h"
#include "services/snippetexpand.h"
#include "tags/tagassist.h"
#include "tags/taglookup.h"
#include "tags/ui/taggrid.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>

namespace {

const char *const kSwitchNames[AssistController::SwitchCount]
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

// The questions and the tag-editing grid of the insertion commands, answered by the
// main window's dialogs (MsgBox) and widgets.
class MainWindowInteraction final : public InsertInteraction
{
public:
    MainWindowInteraction(
        QWidget &window, std::function<bool(TEditor *)> interpret, std::function<QString()> selectedTag)
        : m_window(window)
        , m_interpret(std::move(interpret))
        , m_selectedTag(std::move(selectedTag))
    {
    }
    std::optional<QString> askText(const QString &title, const QString &prompt) override
    {
        return MsgBox::input(&m_window, title, prompt);
    }
    bool askYesNo(const QString &title, const QString &question) override
    {
        return MsgBox::show(
                   &m_window, QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    }
    bool interpretTag(EditableDocument &doc) override
    {
        auto *editor = dynamic_cast<TEditor *>(&doc);
        return m_interpret(editor);
    }
    QString selectedTagName() override { return m_selectedTag(); }
    // The dialogs and wizards of the table's Dialog rows; the runner inserts what they give.
    ResolvedInsertion askDialog(const InsertCommand &command, EditableDocument &doc) override
    {
        return InsertDialogs::run(command.dialog, DescribeInsertTarget(doc), &m_window);
    }

private:
    QWidget &m_window;
    std::function<bool(TEditor *)> m_interpret;
    std::function<QString()> m_selectedTag;
};

bool isPrintable(QChar c) { return (c.unicode() >= 32 && c.unicode() <= 126) || c.unicode() >= 128; }

} // namespace

AssistController::AssistController(
    QWidget &window, MarkoraSettings &settings, const SetupController &setup, TemporaryFiles &files)
    : m_window(window)
    , m_settings(settings)
    , m_setup(setup)
    , m_files(files)
{
    m_interaction = std::make_unique<MainWindowInteraction>(
        window, [this](TEditor *e) { return interpretTagAtCaret(e ? e : currentEditor()); },
        [this] {
            const QListWidgetItem *item = m_listaTagow->currentItem();
            return item && item->isSelected() ? item->text() : QString();
        });
    m_runner.setInteraction(m_interaction.get());
    createUpperPane();
    createActions();
    createEditorPopup();
    applySetupOptions();
    connect(&setup, &SetupController::optionsChanged, this, &AssistController::applySetupOptions);
}

AssistController::~AssistController() = default;

TEditor *AssistController::currentEditor() const
{
    return m_documents ? m_documents->currentEditorOrNull() : nullptr;
}

void AssistController::applySetupOptions()
{
    const SetupOptions &o = m_setup.options();
    InsertSettings s;
    s.lowerCase = o.lowerCaseInsert;
    s.closingParagraph = o.closeParagraph;
    s.alignLeft = o.alignLeft;
    s.alignCenter = o.alignCenter;
    s.alignRight = o.alignRight;
    m_runner.setSettings(s);
    m_inspector->setLowerCaseEditing(o.lowerCaseEdit);
}

// ---- Upper pane and insertion commands ------------------------------------------------

void AssistController::createUpperPane()
{
    // A child of the window until the window puts it into its pane.
    auto *split = new QSplitter(Qt::Horizontal, &m_window);
    split->setObjectName(QStringLiteral("PlGornySplitter"));
    split->setChildrenCollapsible(false);
    m_upperContent = split;
    m_toolTabs = new InsertToolTabs(split);
    m_sideTabs = new QTabWidget(split);
    m_sideTabs->setObjectName(QStringLiteral("PcTagi"));

    m_tagiPage = new QWidget;
    m_tagiPage->setObjectName(QStringLiteral("Tagi"));
    auto *h = new QHBoxLayout(m_tagiPage);
    h->setContentsMargins(2, 2, 2, 2);
    m_inspector = new TagInspector(&TagDefs::shared(), m_tagiPage);
    m_inspector->setObjectName(QStringLiteral("TagInspector"));
    m_inspector->setErrorReporter([this](const QString &caption, const QString &text) {
        MsgBox::show(&m_window, QMessageBox::Critical, caption, text);
    });
    // Compact rows: the pane is low.
    m_inspector->grid()->verticalHeader()->setDefaultSectionSize(m_window.fontMetrics().height() + 8);
    m_inspector->grid()->setColumnWidth(0, 110);
    h->addWidget(m_inspector, 1);
    m_sideTabs->addTab(m_tagiPage, QStringLiteral("Tagi"));

    // The tag list beside the inspector: "Jako styl" takes the tag selected here.
    m_listaTagow = new QListWidget;
    m_listaTagow->setObjectName(QStringLiteral("ListaTagow"));
    m_listaTagow->setToolTip(QStringLiteral("Znacznik wybrany z listy wstawia przycisk \"Jako styl\""));
    QStringList names = TagDefs::shared().tagNames();
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    m_listaTagow->addItems(names);
    m_sideTabs->addTab(m_listaTagow, QStringLiteral("Lista tagów"));

    split->addWidget(m_toolTabs);
    split->addWidget(m_sideTabs);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({ 560, 440 });

    connect(m_inspector, &TagInspector::tagShown, this, [this] { m_sideTabs->setCurrentWidget(m_tagiPage); });
    connect(m_inspector, &TagInspector::tagRebuilt, this, &AssistController::TagInspectorTagRebuilt);
    connect(m_toolTabs, &InsertToolTabs::commandTriggered, this,
        [this](const QString &, int index) { commandTriggered(index); });
    // The built menu stays hidden as the owner of the items the window's menu takes.
    m_insertMenu = m_toolTabs->createInsertMenu(&m_window);
    m_insertMenu->setObjectName(QStringLiteral("Wstaw1Zrodlo"));
}

QList<QAction *> AssistController::insertMenuActions() const { return m_insertMenu->actions(); }

void AssistController::commandTriggered(int index)
{
    TEditor *e = currentEditor();
    if (!e)
        return;
    const InsertRunResult r = m_runner.run(index, *e);
    applyRunResult(e, r.inserted, r.entryMode);
}

void AssistController::applyRunResult(TEditor *editor, bool inserted, int entryMode)
{
    if (inserted && entryMode >= 0)
        editor->state().entryMode = entryMode;
    // The command came from a button or menu: typing goes on in the document.
    editor->setFocus();
    Q_EMIT refreshRequested();
}

bool AssistController::InsertPair(const QString &opening, const QString &closing)
{
    TEditor *e = currentEditor();
    if (!e)
        return false;
    const bool inserted = m_runner.insertPair(*e, opening, closing).inserted;
    applyRunResult(e, inserted, -1);
    return inserted;
}

bool AssistController::InsertBlock(const QString &opening, const QString &closing)
{
    TEditor *e = currentEditor();
    if (!e)
        return false;
    const bool inserted = m_runner.insertBlock(*e, opening, closing).inserted;
    applyRunResult(e, inserted, -1);
    return inserted;
}

bool AssistController::InsertPlain(const QString &text)
{
    TEditor *e = currentEditor();
    if (!e)
        return false;
    ::InsertPlain(*e, text);
    applyRunResult(e, true, -1);
    return true;
}

bool AssistController::InsertSnippet(const QString &snippet)
{
    TEditor *e = currentEditor();
    if (!e)
        return false;
    const int start = e->selStart();
    const SnippetInsertion x = ExpandSnippet(snippet, e->selectedText());
    const bool inserted = x.pair ? InsertPair(x.opening, x.closing) : InsertPlain(x.opening);
    if (inserted && x.caret >= 0)
        e->setSelection(start + x.caret, 0);
    return inserted;
}

bool AssistController::runInsertCommand(const QString &handlerOrObjectName)
{
    const int index = findInsertCommand(handlerOrObjectName);
    TEditor *e = currentEditor();
    if (index < 0 || !e)
        return false;
    const InsertRunResult r = m_runner.run(index, *e);
    applyRunResult(e, r.inserted, r.entryMode);
    return r.inserted;
}

bool AssistController::interpretTagAtCaret(TEditor *editor)
{
    if (!editor)
        return false;
    const TagRange r = FindTagAround(editor->textAccess(), editor->selStart(), false);
    if (!r.isValid())
        return false;
    const QString tag = editor->textAccess().mid(r.start, r.length);
    // A comment leaves the inspector (and the tag it writes back to) as it was.
    if (ParseTag(FlattenTagText(tag)).Name == QLatin1String("!"))
        return true;
    m_inspector->ShowTagInInspector(tag);
    trackInspectedTag(editor, r.start, r.length);
    return true;
}

// ---- Switches, entry modes, status ---------------------------------------------------

void AssistController::createActions()
{
    struct Def
    {
        QString caption;
        QString hint;
    };
    const Def defs[SwitchCount] = {
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
    auto addToggle = [this](const QString &name, const QString &caption, const QString &hint) {
        auto *act = new QAction(caption, &m_window);
        act->setObjectName(name);
        act->setCheckable(true);
        act->setToolTip(hint);
        return act;
    };
    MarkoraSettings &settings = m_settings;
    for (int i = 0; i < SwitchCount; ++i) {
        const QString name = QString::fromLatin1(kSwitchNames[i]);
        QAction *act = addToggle(name, defs[i].caption, defs[i].hint);
        act->setChecked(settings.readBool(QString::fromLatin1(kSwitchSection), name, true));
        m_switches[i] = act;
        connect(act, &QAction::toggled, this, [this, name, i](bool down) {
            m_settings.writeBool(QString::fromLatin1(kSwitchSection), name, down);
            if (i == ChkAuto)
                m_runner.setChkAuto(down);
            if (i == ChkHTMLHint && !down)
                hideSyntaxHint();
        });
    }
    m_runner.setChkAuto(m_switches[ChkAuto]->isChecked());

    m_btnTrybList = addToggle(QStringLiteral("BtnTrybList"), QStringLiteral("<LI>"),
        QStringLiteral("Tryb wprowadzania elementów listy"));
    m_btnTabTryb = addToggle(QStringLiteral("BtnTabTryb"), QStringLiteral("<TD>"),
        QStringLiteral("Tryb wprowadzania komórek tabeli"));
    // Only the user's click changes the mode; the timer sets the checked state.
    connect(m_btnTrybList, &QAction::triggered, this, &AssistController::BtnTrybListClick);
    connect(m_btnTabTryb, &QAction::triggered, this, &AssistController::BtnTabTrybClick);

    m_wstList = new TWstList(&m_window);
    connect(m_wstList, &TWstList::chosen, this, &AssistController::WstListClick);
    connect(m_wstList, &TWstList::keyTyped, this, &AssistController::WstListKeyPress);
    connect(m_wstList, &TWstList::left, this, &AssistController::WstListExit);

    m_balloon = new THintBalloon(&m_window);
    m_hintRest.setSingleShot(true);
    m_hintRest.setInterval(700);
    connect(&m_hintRest, &QTimer::timeout, this, [this] {
        // Not over a menu or dialog the user is busy with.
        TEditor *e = currentEditor();
        if (e && e->hasFocus() && m_window.isActiveWindow() && !QApplication::activePopupWidget()
            && !QApplication::activeModalWidget())
            ShowSyntaxHint();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!now || now->window() != &m_window)
            hideSyntaxHint();
    });
}

QList<QAction *> AssistController::switchActions() const
{
    return QList<QAction *>(std::begin(m_switches), std::end(m_switches));
}

QList<QAction *> AssistController::entryModeActions() const { return { m_btnTrybList, m_btnTabTryb }; }

bool AssistController::assistSwitch(const QString &name) const
{
    for (QAction *a : m_switches)
        if (a->objectName() == name)
            return a->isChecked();
    return false;
}

void AssistController::setAssistSwitch(const QString &name, bool down)
{
    for (QAction *a : m_switches)
        if (a->objectName() == name)
            a->setChecked(down);
}

void AssistController::setOverwriteMode(bool on)
{
    m_overwrite = on;
    Q_EMIT refreshRequested();
}

void AssistController::BtnTrybListClick(bool down)
{
    if (TEditor *e = currentEditor())
        e->state().entryMode = down ? EntryListItems : EntryNormal;
    Q_EMIT refreshRequested();
}

void AssistController::BtnTabTrybClick(bool down)
{
    if (TEditor *e = currentEditor())
        e->state().entryMode = down ? EntryTableCells : EntryNormal;
    Q_EMIT refreshRequested();
}

void AssistController::Timer1TimerAssist(TEditor *e)
{
    m_btnTrybList->setChecked(e && e->state().entryMode == EntryListItems);
    m_btnTabTryb->setChecked(e && e->state().entryMode == EntryTableCells);
    if (!e) {
        hideSyntaxHint();
        return;
    }
    const int pos = e->textCursor().position();
    if (e != m_restEditor || pos != m_restPos) {
        // The balloon speaks of the tag it was shown for: leaving the tag ends it.
        if (m_balloon->isVisible()
            && (e != m_restEditor || e->document()->findBlock(pos) != e->document()->findBlock(m_restPos)
                || EnclosingTagName(e->textAccess(), pos) != m_shownHintTag))
            hideSyntaxHint();
        m_restEditor = e;
        m_restPos = pos;
        m_hintRest.start();
    }
    if (m_balloon->isVisible() && (e->selLength() > 0 || !m_switches[ChkHTMLHint]->isChecked()))
        hideSyntaxHint();
}

void AssistController::activeDocumentChanged(TEditor *e)
{
    m_toolTabs->setEnabled(e != nullptr);
    // The grid speaks of a tag in one document: another document starts it empty, so an
    // edit can never land in a document the user is not looking at.
    if (m_inspectedEditor != e) {
        m_inspector->clear();
        m_inspectedEditor = nullptr;
        m_inspectedRange = QTextCursor();
    }
    if (parameterListOpen())
        WstListExit();
    hideSyntaxHint();
}

// ---- Syntax hint ------------------------------------------------------------------

bool AssistController::ShowSyntaxHint()
{
    TEditor *e = currentEditor();
    if (!e || !m_switches[ChkHTMLHint]->isChecked() || parameterListOpen() || e->selLength() > 0) {
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
    m_balloon->showAt(text, at);
    m_shownHintTag = name;
    return true;
}

void AssistController::hideSyntaxHint() { m_balloon->hide(); }

QWidget *AssistController::syntaxHintBalloon() const { return m_balloon; }

// ---- Key press --------------------------------------------------------------------

bool AssistController::editorKeyPress(TEditor *e, QKeyEvent *ev)
{
    const int key = ev->key();
    const Qt::KeyboardModifiers mods = ev->modifiers();
    const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));

    if (key == Qt::Key_Insert && plain && !(mods & Qt::ShiftModifier)) {
        setOverwriteMode(!m_overwrite);
        return true;
    }
    if (key == Qt::Key_Escape)
        hideSyntaxHint();

    // 1. Enter continues the line's indentation and the document's entry mode.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain) {
        QString indent;
        if (m_switches[ChkIndent]->isChecked())
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
    if (ch == QLatin1Char('>') && m_switches[ChkZamykanie]->isChecked()) {
        insertClosingOnGreater(e);
        return true;
    }

    // 3. Overwrite: the typed character replaces the one after the caret.
    if (m_overwrite && !ch.isNull() && isPrintable(ch) && !e->textCursor().hasSelection()) {
        QTextCursor c = e->textCursor();
        if (c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor))
            e->setTextCursor(c);
    }

    // 4. A space inside a tag offers the tag's parameters.
    if (ch == QLatin1Char(' ') && m_switches[ChkWstawiacz]->isChecked() && openParameterList(e))
        return true;
    // 5. "=" after a parameter with listed values offers its values.
    if (ch == QLatin1Char('=') && m_switches[ChkWstawiacz]->isChecked() && offerValuesOnEquals(e))
        return true;
    return false;
}

bool AssistController::offerValuesOnEquals(TEditor *e)
{
    const int caret = e->selStart();
    const TextAccess &text = e->textAccess();
    const QString arg = AttributeNameBefore(text, caret);
    if (arg.isEmpty())
        return false;
    const QString tag = EnclosingTagName(text, caret);
    if (tag.isEmpty() || IsInsideQuotedValue(text, caret)
        || ValueEntries(TagDefs::shared(), tag, arg).isEmpty())
        return false;
    TypingEdit(e).replaceSelection(QStringLiteral("="));
    return openValueList(e, tag, arg, e->textCursor().position());
}

void AssistController::insertClosingOnGreater(TEditor *e)
{
    TypingEdit doc(e);
    // Only the opening tag is interpreted, never the added closing one.
    m_runner.setAutoInterpretation(false);
    m_runner.insertPair(doc, QStringLiteral(">"), QString());
    const auto choice = [this](const QString &tag) {
        const QString section = QStringLiteral("Zamykanie");
        // Keys are kept upper case; a key written as the tag was typed still counts.
        const QString upper = tag.toUpper();
        MarkoraSettings &settings = m_settings;
        QSettings &store = settings.store();
        store.beginGroup(section);
        const bool hasUpper = store.contains(upper);
        store.endGroup();
        return settings.readBool(section, hasUpper ? upper : tag, true);
    };
    const QString closing = ClosingForGreater(TagDefs::shared(), e->textAccess(), e->selStart() - 1, choice);
    // In the case the tag was typed in: the lower-case option is for commands.
    if (!closing.isEmpty())
        m_runner.insertPairAsWritten(doc, QString(), closing);
    m_runner.setAutoInterpretation(true);
    e->ensureCursorVisible();
}

// ---- Parameter list ---------------------------------------------------------------

// Open while it is not hidden: with the window off the screen the list is not visible,
// yet it was opened and typing goes to it all the same.
bool AssistController::parameterListOpen() const { return !m_wstList->isHidden(); }

bool AssistController::openParameterList(TEditor *e)
{
    const int caret = e->selStart();
    const QString name = EnclosingTagName(e->textAccess(), caret);
    if (name.isEmpty() || IsInsideQuotedValue(e->textAccess(), caret))
        return false;
    // The definitions do not change while the program runs: each tag's list is made once.
    auto cached = m_parameterLists.constFind(name);
    if (cached == m_parameterLists.constEnd()) {
        QStringList shown;
        for (const QString &entry : ParameterEntries(TagDefs::shared(), name))
            shown << InTagCase(entry, name);
        cached = m_parameterLists.insert(name, shown);
    }
    // A tag without parameters (or unknown) takes the space as plain typing.
    if (cached->isEmpty())
        return false;
    TypingEdit(e).replaceSelection(QStringLiteral(" "));
    showList(e, ListMode::Parameters, *cached, name, QString(), false);
    return true;
}

bool AssistController::openValueList(TEditor *e, const QString &tag, const QString &arg, int valueFrom)
{
    if (!m_switches[ChkWstawiacz]->isChecked())
        return false;
    const QStringList values = ValueEntries(TagDefs::shared(), tag, arg);
    if (values.isEmpty())
        return false;
    showList(e, ListMode::Values, values, tag, arg, TagDefs::shared().argDescriptor(tag, arg).quoted);
    m_wstList->Tag = valueFrom;
    // What was typed of the value already (the quotes of a chosen entry) picks nothing.
    selectTypedEntry(e);
    return true;
}

void AssistController::showList(
    TEditor *e, ListMode mode, const QStringList &items, const QString &tag, const QString &arg, bool quoted)
{
    ++m_listGeneration;
    m_listMode = mode;
    m_listTag = tag;
    m_listArg = arg;
    m_listQuoted = quoted;
    m_wstList->setEntries(items);
    e->ensureCursorVisible();

    const QRect caretRect = e->cursorRect();
    const QPoint top = e->viewport()->mapTo(&m_window, caretRect.topLeft());
    const int lineHeight = e->fontMetrics().height();
    const QSize size = m_wstList->fittingSize();
    const int width = m_window.width();
    const int height = m_window.height();
    QPoint at(top.x(), top.y() + lineHeight * 3 / 2);
    // Keep the list inside the window: above the caret's line when there is no room under it.
    if (at.y() + size.height() > height && top.y() - size.height() >= 0)
        at.setY(top.y() - size.height());
    at.setX(std::max(0, std::min(at.x(), width - size.width())));
    at.setY(std::max(0, std::min(at.y(), height - size.height())));
    m_wstList->setGeometry(QRect(at, size));
    m_wstList->Tag = e->textCursor().position();
    m_listEditor = e;
    m_wstList->setCurrentRow(0);
    hideSyntaxHint();
    m_wstList->show();
    m_wstList->raise();
    m_wstList->setFocus();
}

void AssistController::selectTypedEntry(TEditor *e)
{
    const int caret = e->textCursor().position();
    const QString prefix = m_listMode == ListMode::Values
        ? TypedValuePrefix(e->textAccess(), m_wstList->Tag, caret)
        : e->textAccess().mid(m_wstList->Tag, std::min(caret - m_wstList->Tag, 64));
    // The first entry that begins with what was typed becomes current, so Enter takes it.
    for (int i = 0; i < m_wstList->count(); ++i) {
        if (m_wstList->item(i)->text().startsWith(prefix, Qt::CaseInsensitive)) {
            m_wstList->setCurrentRow(i);
            return;
        }
    }
}

void AssistController::WstListClick()
{
    TEditor *e = m_listEditor;
    const QListWidgetItem *item = m_wstList->currentItem();
    if (!e || !item || !parameterListOpen() || e->textCursor().position() < m_wstList->Tag) {
        WstListExit();
        return;
    }
    const int caret = e->textCursor().position();
    QTextCursor c = e->textCursor();
    if (m_listMode == ListMode::Values) {
        const ValueEdit edit
            = ValueInsertion(e->textAccess(), m_wstList->Tag, caret, item->text(), m_listQuoted);
        c.beginEditBlock();
        c.setPosition(edit.start);
        c.setPosition(edit.start + edit.length, QTextCursor::KeepAnchor);
        c.insertText(edit.text);
        c.endEditBlock();
        c.setPosition(edit.caret);
        e->setTextCursor(c);
        WstListExit();
        return;
    }
    // The entries stand in the tag's case already.
    const QString text = item->text();
    // What was typed since the list opened is replaced by the chosen entry.
    c.beginEditBlock();
    c.setPosition(m_wstList->Tag);
    c.setPosition(caret, QTextCursor::KeepAnchor);
    c.insertText(text);
    c.endEditBlock();
    if (text.endsWith(QLatin1Char('"')))
        c.movePosition(QTextCursor::PreviousCharacter);
    e->setTextCursor(c);
    WstListExit();
    // A parameter with listed values offers them next, between its quotes.
    const int eq = int(text.indexOf(QLatin1Char('=')));
    if (eq > 0)
        openValueList(e, m_listTag, text.left(eq), m_wstList->Tag + eq + 1);
}

void AssistController::WstListKeyPress(QKeyEvent *ev)
{
    TEditor *e = m_listEditor;
    if (!e || ev->key() == Qt::Key_Escape) {
        WstListExit();
        return;
    }
    const QString typed = ev->text();
    const bool character = !typed.isEmpty() && typed.at(0).unicode() >= 32;
    if (ev->key() != Qt::Key_Backspace && !character)
        return;
    const ListMode mode = m_listMode;
    const int from = m_wstList->Tag;
    const bool valueQuoteOpen = mode == ListMode::Values && e->textAccess().at(from) == QLatin1Char('"')
        && e->textCursor().position() > from;
    // Typing goes on in the document while the list stays open.
    const quint64 generation = m_listGeneration;
    QKeyEvent copy(QEvent::KeyPress, ev->key(), ev->modifiers(), typed, ev->isAutoRepeat(), ev->count());
    QCoreApplication::sendEvent(e, &copy);
    // The key opened another list ("=" after a parameter with listed values, a space after a value).
    if (!m_listEditor || generation != m_listGeneration)
        return;
    const QChar c = character ? typed.at(0) : QChar();
    const int caret = e->textCursor().position();
    bool ends = c == QLatin1Char('>') || caret < from;
    if (mode == ListMode::Parameters)
        ends = ends || c == QLatin1Char('"') || c == QLatin1Char('=');
    else // a value ends at a space, or at its closing quote; its opening quote goes on
        ends = ends || c == QLatin1Char(' ') || (c == QLatin1Char('"') && valueQuoteOpen);
    if (ends) {
        WstListExit();
        return;
    }
    selectTypedEntry(e);
}

void AssistController::WstListExit()
{
    QPointer<TEditor> e = m_listEditor;
    if (!parameterListOpen() && !e)
        return;
    m_listEditor = nullptr;
    m_wstList->hide();
    if (e)
        e->setFocus();
}

// ---- Context menu and parameter inserter --------------------------------------------

void AssistController::createEditorPopup()
{
    m_editorPopup = new QMenu(&m_window);
    m_editorPopup->setObjectName(QStringLiteral("EditorPopup"));
    const char *const items[] = { "EdycjaCofnij1", nullptr, "EdycjaWytnij1", "EdycjaSkopiuj1", "EdycjaWklej1",
        "EdycjaWyczysc1", nullptr, "EdycjaZaznaczwszystko1" };
    for (const char *name : items) {
        if (!name)
            m_editorPopup->addSeparator();
        else if (auto *act = m_window.findChild<QAction *>(QString::fromLatin1(name)))
            m_editorPopup->addAction(act);
    }
    m_editorPopup->addSeparator();
    m_parInserter = m_editorPopup->addMenu(QStringLiteral("Parametry"));
    m_parInserter->setObjectName(QStringLiteral("ParInserter"));
}

bool AssistController::editorContextMenu(TEditor *editor, const QPoint &globalPos)
{
    m_hintRest.stop();
    hideSyntaxHint();
    ParInserterClick();
    Q_EMIT refreshRequested();
    Q_EMIT editorPopupAboutToShow(editor, m_editorPopup);
    m_editorPopup->popup(globalPos);
    return true;
}

void AssistController::ParInserterClick()
{
    QMenu *menu = m_parInserter;
    menu->clear();
    TEditor *e = currentEditor();
    if (e && e->selLength() == 0) {
        const QString name = EnclosingTagName(e->textAccess(), e->selStart());
        if (!name.isEmpty()) {
            for (const QString &entry : ParameterEntries(TagDefs::shared(), name)) {
                const QString text = InTagCase(entry, name);
                QAction *act = menu->addAction(QString(text).replace(QLatin1Char('&'), QLatin1String("&&")));
                connect(
                    act, &QAction::triggered, this, [this, text, name] { ParInserterItemClick(text, name); });
            }
        }
    }
    menu->menuAction()->setEnabled(!menu->isEmpty());
}

void AssistController::ParInserterItemClick(const QString &caption, const QString &tag)
{
    TEditor *e = currentEditor();
    if (!e)
        return;
    const int pos = ParInserterPosition(e->textAccess(), e->textCursor().position());
    if (pos < 0)
        return;
    // The caption stands in the tag's case.
    QTextCursor c = e->textCursor();
    c.beginEditBlock();
    c.setPosition(pos);
    c.insertText(QLatin1Char(' ') + caption);
    c.endEditBlock();
    if (caption.endsWith(QLatin1Char('"')))
        c.movePosition(QTextCursor::PreviousCharacter);
    e->setTextCursor(c);
    e->setFocus();
    const int eq = int(caption.indexOf(QLatin1Char('=')));
    if (eq > 0)
        openValueList(e, tag, caption.left(eq), pos + 1 + eq + 1);
}

void AssistController::editorFilesDropped(TEditor *, const QStringList &files) { Q_EMIT filesDropped(files); }

// ---- Tag inspector: double-click and live write-back -------------------------------

bool AssistController::editorDoubleClick(TEditor *e)
{
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
    m_inspector->ShowTagInInspector(tag);
    trackInspectedTag(e, r.start, r.length);
    return true;
}

void AssistController::trackInspectedTag(TEditor *e, int start, int length)
{
    m_inspectedEditor = e;
    QTextCursor c(e->document());
    c.setPosition(start);
    c.setPosition(start + length, QTextCursor::KeepAnchor);
    m_inspectedRange = c;
    m_writeBackSnapshot = 0;
}

void AssistController::TagInspectorTagRebuilt(const QString &newTagText)
{
    TEditor *e = m_inspectedEditor;
    if (!e || m_inspectedRange.isNull() || e != currentEditor())
        return;
    int start = m_inspectedRange.selectionStart();
    int length = m_inspectedRange.selectionEnd() - start;
    QString current = m_inspectedRange.selectedText();
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
    const DocumentState &state = e->state();
    if (!(state.hasSnapshot() && state.snapshot.serial == m_writeBackSnapshot
            && !e->document()->isUndoAvailable())) {
        e->TakeSnapshot();
        m_writeBackSnapshot = state.snapshot.serial;
    }
    e->setSelection(start, length);
    e->replaceSelection(newTagText);
    e->setSelection(start, int(newTagText.size()));
    QTextCursor c(e->document());
    c.setPosition(start);
    c.setPosition(start + int(newTagText.size()), QTextCursor::KeepAnchor);
    m_inspectedRange = c;
    if (m_setup.options().pdUse)
        writeHintPreview(e, newTagText);
}

void AssistController::writeHintPreview(TEditor *e, const QString &tagText)
{
    // Windows-1250 for the 8-bit code pages; a UTF document's own code page, so that
    // every character of the tag shows as it is.
    const DocumentEncoding &own = e->state().encoding;
    const DocumentEncoding encoding = own.isEightBit() ? DocumentEncoding::fromIso(false) : own;
    const QString content = QStringLiteral("<html><head><META HTTP-EQUIV=\"Content-type\" "
                                           "CONTENT=\"text/html;charset=")
        + encoding.charsetName() + QStringLiteral("\"></head><body>") + tagText + m_setup.options().sampleText
        + QStringLiteral("\n");
    QString error;
    const QString path = m_files.write(QStringLiteral("Podgląd znacznika"), e->state().fileName,
        HintFileName(), EncodeDocument(content, encoding, LineBreak::CrLf), &error);
    if (path.isEmpty()) {
        // Reported once per document: the grid writes on every keystroke.
        if (!m_failedPreviews.contains(e->state().fileName)) {
            m_failedPreviews << e->state().fileName;
            MsgBox::show(&m_window, QMessageBox::Critical, QStringLiteral("Podgląd znacznika: błąd"),
                QStringLiteral("Nie można zapisać pliku podglądu ") + HintFileName() + QStringLiteral(" (")
                    + error + QStringLiteral(")."));
        }
        return;
    }
    Q_EMIT hintPreviewWritten(path);
}
