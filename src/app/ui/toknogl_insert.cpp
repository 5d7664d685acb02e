// The main window's insertion commands: the upper pane with the tool tabs and the tag
// inspector, the insert menu, the runner of the common insertion rule and its options.

#include "base/ui/msgbox.h"
#include "app/ui/toknogl_assist_p.h"
#include "app/ui/twstlist.h"
#include "insert/ui/inserttooltabs.h"
#include "tags/ui/taggrid.h"
#include "tags/taglookup.h"

#include <QApplication>
#include <QDockWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>

namespace {

// The questions and the tag-editing grid of the insertion commands, answered by the
// main window's dialogs (MsgBox) and widgets.
class MainWindowInteraction final : public InsertInteraction
{
public:
    MainWindowInteraction(
        TOknoGl *window, std::function<bool(TEditor *)> interpret, std::function<QString()> selectedTag)
        : m_window(window)
        , m_interpret(std::move(interpret))
        , m_selectedTag(std::move(selectedTag))
    {
    }
    std::optional<QString> askText(const QString &title, const QString &prompt) override
    {
        return MsgBox::input(m_window, title, prompt);
    }
    bool askYesNo(const QString &title, const QString &question) override
    {
        return MsgBox::show(
                   m_window, QMessageBox::Question, title, question, QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes;
    }
    bool interpretTag(EditableDocument &doc) override
    {
        auto *editor = dynamic_cast<TEditor *>(&doc);
        return m_interpret(editor ? editor : m_window->currentEditorOrNull());
    }
    QString selectedTagName() override { return m_selectedTag(); }

private:
    TOknoGl *m_window;
    std::function<bool(TEditor *)> m_interpret;
    std::function<QString()> m_selectedTag;
};

} // namespace

void TOknoGl::AssistStateDeleter::operator()(AssistState *state) const { delete state; }

TOknoGl::AssistState::~AssistState()
{
    const QObject *senders[] = { qApp, toolTabs, inspector, listaTagow, wstList };
    for (const QObject *sender : senders)
        if (sender)
            QObject::disconnect(sender, nullptr, m_owner, nullptr);
}

void TOknoGl::setupAssist()
{
    m_assist.reset(new AssistState(this));
    m_assist->interaction = std::make_unique<MainWindowInteraction>(
        this, [this](TEditor *e) { return interpretTagAtCaret(e); },
        [this] {
            const QListWidgetItem *item = m_assist->listaTagow->currentItem();
            return item && item->isSelected() ? item->text() : QString();
        });
    m_assist->runner.setInteraction(m_assist->interaction.get());
    setupUpperPane();
    setupInsertCommands();
    setupAssistButtons();
    setupEditorPopup();
    connect(this, &TOknoGl::activeDocumentChanged, this, &TOknoGl::activeDocumentChangedAssist);
}

void TOknoGl::setupUpperPane()
{
    AssistState &a = *m_assist;
    a.plGorny = new QDockWidget(this);
    a.plGorny->setObjectName(QStringLiteral("PlGorny"));
    a.plGorny->setWindowTitle(QStringLiteral("Panel górny"));
    a.plGorny->setFeatures(QDockWidget::NoDockWidgetFeatures);
    a.plGorny->setAllowedAreas(Qt::TopDockWidgetArea);
    // No title bar: the pane reads as part of the window, resized by its splitter.
    a.plGorny->setTitleBarWidget(new QWidget(a.plGorny));

    auto *split = new QSplitter(Qt::Horizontal, a.plGorny);
    split->setObjectName(QStringLiteral("PlGornySplitter"));
    split->setChildrenCollapsible(false);
    a.toolTabs = new InsertToolTabs(split);
    a.sideTabs = new QTabWidget(split);
    a.sideTabs->setObjectName(QStringLiteral("PcTagi"));

    a.tagiPage = new QWidget;
    a.tagiPage->setObjectName(QStringLiteral("Tagi"));
    auto *h = new QHBoxLayout(a.tagiPage);
    h->setContentsMargins(2, 2, 2, 2);
    a.inspector = new TagInspector(&TagDefs::shared(), a.tagiPage);
    a.inspector->setObjectName(QStringLiteral("TagInspector"));
    a.inspector->setErrorReporter([this](const QString &caption, const QString &text) {
        MsgBox::show(this, QMessageBox::Critical, caption, text);
    });
    // Compact rows: the pane is low.
    a.inspector->grid()->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    a.inspector->grid()->setColumnWidth(0, 110);
    h->addWidget(a.inspector, 1);
    a.sideTabs->addTab(a.tagiPage, QStringLiteral("Tagi"));

    // The tag list beside the inspector: "Jako styl" takes the tag selected here.
    a.listaTagow = new QListWidget;
    a.listaTagow->setObjectName(QStringLiteral("ListaTagow"));
    a.listaTagow->setToolTip(QStringLiteral("Znacznik wybrany z listy wstawia przycisk \"Jako styl\""));
    QStringList names = TagDefs::shared().tagNames();
    names.sort(Qt::CaseInsensitive);
    names.removeDuplicates();
    a.listaTagow->addItems(names);
    a.sideTabs->addTab(a.listaTagow, QStringLiteral("Lista tagów"));

    split->addWidget(a.toolTabs);
    split->addWidget(a.sideTabs);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    split->setSizes({ 560, 440 });
    a.plGorny->setWidget(split);
    addDockWidget(Qt::TopDockWidgetArea, a.plGorny);
    setUpperPaneHeight(144);

    connect(a.inspector, &TagInspector::tagShown, this,
        [this] { m_assist->sideTabs->setCurrentWidget(m_assist->tagiPage); });
    connect(a.inspector, &TagInspector::tagRebuilt, this, &TOknoGl::TagInspectorTagRebuilt);
}

void TOknoGl::setupInsertCommands()
{
    AssistState &a = *m_assist;
    connect(a.toolTabs, &InsertToolTabs::commandTriggered, this, &TOknoGl::commandTriggered);
    // The insert menu of the menu bar takes the items of the menu built from the table;
    // the built menu stays hidden as their owner.
    QMenu *built = a.toolTabs->createInsertMenu(this);
    built->setObjectName(QStringLiteral("Wstaw1Zrodlo"));
    if (QMenu *wstaw = menuNamed(QStringLiteral("Wstaw1")))
        wstaw->addActions(built->actions());
}

QWidget *TOknoGl::upperPane() const { return m_assist->plGorny; }
int TOknoGl::upperPaneHeight() const { return m_assist->plGorny->height(); }

void TOknoGl::setUpperPaneHeight(int height)
{
    resizeDocks({ m_assist->plGorny }, { std::max(40, height) }, Qt::Vertical);
}

InsertToolTabs *TOknoGl::insertToolTabs() const { return m_assist->toolTabs; }
TagInspector *TOknoGl::tagInspector() const { return m_assist->inspector; }

void TOknoGl::commandTriggered(const QString &, int index)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return;
    const InsertRunResult r = m_assist->runner.run(index, *e);
    applyRunResult(e, r.inserted, r.entryMode);
}

void TOknoGl::applyRunResult(TEditor *editor, bool inserted, int entryMode)
{
    if (inserted && entryMode >= 0)
        editor->state().entryMode = entryMode;
    // The command came from a button or menu: typing goes on in the document.
    editor->setFocus();
    Timer1Timer();
}

bool TOknoGl::InsertPair(const QString &opening, const QString &closing)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return false;
    const bool inserted = m_assist->runner.insertPair(*e, opening, closing).inserted;
    applyRunResult(e, inserted, -1);
    return inserted;
}

bool TOknoGl::InsertBlock(const QString &opening, const QString &closing)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return false;
    const bool inserted = m_assist->runner.insertBlock(*e, opening, closing).inserted;
    applyRunResult(e, inserted, -1);
    return inserted;
}

bool TOknoGl::InsertPlain(const QString &text)
{
    TEditor *e = currentEditorOrNull();
    if (!e)
        return false;
    ::InsertPlain(*e, text);
    applyRunResult(e, true, -1);
    return true;
}

bool TOknoGl::runInsertCommand(const QString &handlerOrObjectName)
{
    const int index = findInsertCommand(handlerOrObjectName);
    TEditor *e = currentEditorOrNull();
    if (index < 0 || !e)
        return false;
    const InsertRunResult r = m_assist->runner.run(index, *e);
    applyRunResult(e, r.inserted, r.entryMode);
    return r.inserted;
}

bool TOknoGl::interpretTagAtCaret(TEditor *editor)
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
    m_assist->inspector->ShowTagInInspector(tag);
    trackInspectedTag(editor, r.start, r.length);
    return true;
}

QString TOknoGl::lastInsertedOpening() const { return m_assist->runner.lastOpening(); }
QString TOknoGl::lastInsertedClosing() const { return m_assist->runner.lastClosing(); }

bool TOknoGl::lowerCaseInsertion() const { return m_assist->runner.settings().lowerCase; }

void TOknoGl::setLowerCaseInsertion(bool on)
{
    InsertSettings s = m_assist->runner.settings();
    s.lowerCase = on;
    m_assist->runner.setSettings(s);
}

bool TOknoGl::closingParagraph() const { return m_assist->runner.settings().closingParagraph; }

void TOknoGl::setClosingParagraph(bool on)
{
    InsertSettings s = m_assist->runner.settings();
    s.closingParagraph = on;
    m_assist->runner.setSettings(s);
}

QStringList TOknoGl::alignmentTemplates() const
{
    const InsertSettings &s = m_assist->runner.settings();
    return { s.alignLeft, s.alignCenter, s.alignRight };
}

void TOknoGl::setAlignmentTemplates(const QString &left, const QString &center, const QString &right)
{
    InsertSettings s = m_assist->runner.settings();
    s.alignLeft = left;
    s.alignCenter = center;
    s.alignRight = right;
    m_assist->runner.setSettings(s);
}

bool TOknoGl::lowerCaseTagEditing() const { return m_assist->inspector->lowerCaseEditing(); }
void TOknoGl::setLowerCaseTagEditing(bool on) { m_assist->inspector->setLowerCaseEditing(on); }
bool TOknoGl::pdUse() const { return m_assist->pdUse; }
void TOknoGl::setPdUse(bool on) { m_assist->pdUse = on; }
QString TOknoGl::hintSampleText() const { return m_assist->sampleText; }
void TOknoGl::setHintSampleText(const QString &text) { m_assist->sampleText = text; }
