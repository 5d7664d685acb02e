#include "search/ui/tsearchdial.h"

#include "base/documents.h"
#include "base/settings.h"
#include "base/ui/msgbox.h"
#include "search/findresults.h"
#include "search/searchwindowstate.h"
#include "search/ui/findresultspanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QPointer<TSearchDial> s_instance;

const int kHeightWithOptions = 313;
const int kHeightWithoutOptions = 232;
const int kWidth = 470;

// While a long run polls, only the Esc key counts: every other input (and timers, which
// could start other work on the documents) is swallowed; painting still goes through so
// that the status bar shows the progress.
class EscPoller final : public QObject
{
public:
    EscPoller() { qApp->installEventFilter(this); }
    ~EscPoller() override { qApp->removeEventFilter(this); }

    bool poll()
    {
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
        return m_escape;
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape)
                m_escape = true;
            return true;
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::ContextMenu:
        case QEvent::Close:
        case QEvent::Drop:
        case QEvent::Timer:
            return true;
        default:
            return false;
        }
    }

private:
    bool m_escape = false;
};

QStringList comboItems(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    return box;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    // Enter in the combos is handled by their own rule, not by a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

} // namespace

TSearchDial::TSearchDial(
    QWidget *mainWindow, DocumentSet *docs, FindResultsPanel *results, StatusFn statusPanel3)
    : QDialog(mainWindow, Qt::Tool)
    , m_docs(docs)
    , m_results(results)
    , m_status(std::move(statusPanel3))
{
    setObjectName(QStringLiteral("TSearchDial"));
    setWindowTitle(QStringLiteral("Znajdź & zamień"));
    setModal(false);
    buildControls();
    restoreState();
    OptBtnClick();
    ZakresAktClick();
    updatePage();
}

TSearchDial::~TSearchDial()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void TSearchDial::buildControls()
{
    ZZTabs = new QTabBar(this);
    ZZTabs->setObjectName(QStringLiteral("ZZTabs"));
    ZZTabs->addTab(QStringLiteral("Znajdź"));
    ZZTabs->addTab(QStringLiteral("Zamień"));

    FindLbl = new QLabel(QStringLiteral("Znajdź:"), this);
    FindCombo = new QComboBox(this);
    FindCombo->setObjectName(QStringLiteral("FindCombo"));
    FindOpt = new QLabel(this);
    FindOpt->setObjectName(QStringLiteral("FindOpt"));
    ReplLbl = new QLabel(QStringLiteral("Zamień na:"), this);
    ReplLbl->setObjectName(QStringLiteral("ReplLbl"));
    ReplCombo = new QComboBox(this);
    ReplCombo->setObjectName(QStringLiteral("ReplCombo"));
    ReplOpt = new QLabel(this);
    ReplOpt->setObjectName(QStringLiteral("ReplOpt"));
    for (QComboBox *combo : { FindCombo, ReplCombo }) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMaxCount(SearchEngine::HistorySize);
        combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    FindLbl->setBuddy(FindCombo);
    ReplLbl->setBuddy(ReplCombo);

    FindBtn = makeButton(this, "FindBtn", QStringLiteral("Znajdź >>"));
    FindAllBtn = makeButton(this, "FindAllBtn", QStringLiteral("Znajdź wszystkie"));
    ReplBtn = makeButton(this, "ReplBtn", QStringLiteral("Zamień >>"));
    ReplAllBtn = makeButton(this, "ReplAllBtn", QStringLiteral("Zamień wszystkie"));
    OptBtn = makeButton(this, "OptBtn", QStringLiteral("Opcje"));
    OptBtn->setCheckable(true);
    Button5 = makeButton(this, "Button5", QStringLiteral("Zamknij"));

    OptArea = new QWidget(this);
    OptArea->setObjectName(QStringLiteral("OptArea"));
    Zakres = new QGroupBox(QStringLiteral("Zakres"), OptArea);
    Zakres->setObjectName(QStringLiteral("Zakres"));
    ZakresAkt = new QRadioButton(QStringLiteral("Aktywny dokument"), Zakres);
    ZakresAkt->setObjectName(QStringLiteral("ZakresAkt"));
    ZakresAkt->setChecked(true);
    ZakresWsz = new QRadioButton(QStringLiteral("Wszystkie otwarte"), Zakres);
    ZakresWsz->setObjectName(QStringLiteral("ZakresWsz"));
    WyszCase = makeCheck(OptArea, "WyszCase", QStringLiteral("Uwzględniając wielkość liter"),
        QStringLiteral("wielkość liter"));
    WyszSel = makeCheck(
        OptArea, "WyszSel", QStringLiteral("Tylko wewnątrz selekcji"), QStringLiteral("selekcja"));
    UzReg = makeCheck(
        OptArea, "UzReg", QStringLiteral("Wyrażeń regularnych"), QStringLiteral("wyrażenia regularne"));
    UzDot = makeCheck(OptArea, "UzDot", QStringLiteral(". = [^\\n]"), QStringLiteral(". = [^\\n]"));
    UzSS = makeCheck(
        OptArea, "UzSS", QStringLiteral("Sekwencji specjalnych"), QStringLiteral("sekwencje specjalne"));

    auto *fields = new QVBoxLayout;
    fields->setSpacing(2);
    for (QWidget *w :
        std::initializer_list<QWidget *> { FindLbl, FindCombo, FindOpt, ReplLbl, ReplCombo, ReplOpt })
        fields->addWidget(w);
    fields->addStretch();
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    for (QWidget *w : std::initializer_list<QWidget *> { FindBtn, FindAllBtn, ReplBtn, ReplAllBtn })
        buttons->addWidget(w);
    buttons->addStretch();
    buttons->addWidget(OptBtn);
    buttons->addWidget(Button5);
    m_searchArea = new QWidget(this);
    m_searchArea->setObjectName(QStringLiteral("SearchArea"));
    auto *top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(buttons);

    auto *scope = new QVBoxLayout(Zakres);
    scope->setContentsMargins(4, 2, 4, 2);
    scope->setSpacing(0);
    scope->addWidget(ZakresAkt);
    scope->addWidget(ZakresWsz);
    auto *checks = new QGridLayout;
    checks->setSpacing(0);
    checks->addWidget(WyszCase, 0, 0);
    checks->addWidget(WyszSel, 1, 0);
    checks->addWidget(UzSS, 2, 0);
    checks->addWidget(UzReg, 0, 1);
    checks->addWidget(UzDot, 1, 1);
    auto *options = new QHBoxLayout(OptArea);
    options->setContentsMargins(0, 0, 0, 0);
    options->addWidget(Zakres);
    options->addLayout(checks, 1);

    auto *area = new QVBoxLayout(m_searchArea);
    area->setContentsMargins(0, 0, 0, 0);
    area->setSpacing(3);
    area->addLayout(top, 1);
    area->addWidget(OptArea);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(3);
    layout->addWidget(ZZTabs);
    layout->addWidget(m_searchArea, 1);

    connect(ZZTabs, &QTabBar::currentChanged, this, [this] { updatePage(); });
    connect(FindBtn, &QPushButton::clicked, this, &TSearchDial::FindBtnClick);
    connect(FindAllBtn, &QPushButton::clicked, this, &TSearchDial::FindAllBtnClick);
    connect(ReplBtn, &QPushButton::clicked, this, &TSearchDial::ReplBtnClick);
    connect(ReplAllBtn, &QPushButton::clicked, this, &TSearchDial::ReplAllBtnClick);
    connect(OptBtn, &QPushButton::toggled, this, &TSearchDial::OptBtnClick);
    connect(Button5, &QPushButton::clicked, this, &TSearchDial::hide);
    for (QAbstractButton *b : std::initializer_list<QAbstractButton *> {
             ZakresAkt, ZakresWsz, WyszCase, WyszSel, UzReg, UzDot, UzSS })
        connect(b, &QAbstractButton::clicked, this, &TSearchDial::ZakresAktClick);
    // Enter is taken before the combo and the dialog see it (they would run it again).
    // The keyboard delivers to the combo, the focus proxy of its line edit; the combo
    // passes keys on to the line edit without an event filter seeing them there.
    for (QComboBox *combo : { FindCombo, ReplCombo }) {
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
    }
}

bool TSearchDial::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == FindCombo || watched == FindCombo->lineEdit()) {
                if (FindBtn->isEnabled())
                    FindBtnClick();
                return true;
            }
            if (watched == ReplCombo || watched == ReplCombo->lineEdit()) {
                if (ReplBtn->isEnabled())
                    ReplBtnClick();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

TSearchDial *TSearchDial::showPage(int page, QWidget *mainWindow, DocumentSet *docs,
    FindResultsPanel *results, StatusFn statusPanel3, const CreatedFn &created)
{
    if (!s_instance) {
        s_instance = new TSearchDial(mainWindow, docs, results, std::move(statusPanel3));
        if (created)
            created(*s_instance);
    }
    s_instance->setPage(page);
    s_instance->show();
    s_instance->raise();
    s_instance->activateWindow();
    return s_instance;
}

TSearchDial *TSearchDial::instance() { return s_instance; }

void TSearchDial::setPage(int page)
{
    ZZTabs->setCurrentIndex(page >= 0 && page < ZZTabs->count() ? page : 0);
    updatePage();
}

int TSearchDial::addPage(const QString &caption, QWidget *page)
{
    page->setParent(this);
    page->hide();
    // Under the tabs, beside the Find and Replace area (only one of them shows).
    static_cast<QVBoxLayout *>(layout())->addWidget(page, 1);
    m_pages << page;
    ZZTabs->addTab(caption);
    return ZZTabs->count() - 1;
}

int TSearchDial::page() const { return ZZTabs->currentIndex(); }

SearchOptions TSearchDial::options() const
{
    SearchOptions o;
    o.caseSensitive = WyszCase->isChecked();
    o.inSelection = WyszSel->isChecked();
    o.regularExpression = UzReg->isChecked();
    o.dotExcludesNewline = UzDot->isChecked();
    o.specialSequences = UzSS->isChecked();
    o.allDocuments = ZakresWsz->isChecked();
    return o;
}

void TSearchDial::updatePage()
{
    const int index = ZZTabs->currentIndex();
    const bool replace = index == 1;
    for (QWidget *w : std::initializer_list<QWidget *> { ReplLbl, ReplCombo, ReplOpt, ReplBtn, ReplAllBtn })
        w->setVisible(replace);
    FindAllBtn->setVisible(!replace);
    m_searchArea->setVisible(index < 2);
    for (int i = 0; i < m_pages.size(); ++i)
        m_pages.at(i)->setVisible(index == i + 2);
    fitSize();
}

void TSearchDial::fitSize()
{
    const int index = ZZTabs->currentIndex();
    if (index < 2) {
        setFixedSize(kWidth, OptBtn->isChecked() ? kHeightWithOptions : kHeightWithoutOptions);
        return;
    }
    layout()->activate();
    const QSize hint = layout()->sizeHint();
    setFixedSize(std::max(kWidth, hint.width()), hint.height());
}

void TSearchDial::ZakresAktClick()
{
    // Find next and Replace work on the active document and its caret only.
    const bool stepping = !(ZakresWsz->isChecked() || WyszSel->isChecked());
    FindBtn->setEnabled(stepping);
    ReplBtn->setEnabled(stepping);
    UzDot->setEnabled(UzReg->isChecked());

    QStringList hints;
    for (const QCheckBox *box : { WyszCase, WyszSel, UzReg, UzDot })
        if (box->isChecked())
            hints << box->toolTip();
    FindOpt->setText(QStringLiteral("Opcje: ") + hints.join(QStringLiteral(", ")));
    ReplOpt->setText(
        UzSS->isChecked() ? QStringLiteral("Opcje: sekwencje specjalne") : QStringLiteral("Opcje:"));
}

void TSearchDial::OptBtnClick()
{
    OptArea->setVisible(OptBtn->isChecked());
    fitSize();
}

void TSearchDial::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        updatePage();
        m_regex = Regex();
    }
}

void TSearchDial::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    if (event->spontaneous())
        return; // the main window was minimised: the search window lives on
    saveState();
    m_regex = Regex();
    if (s_instance == this)
        s_instance = nullptr;
    deleteLater();
}

void TSearchDial::addHistory(QComboBox *combo)
{
    const QString text = combo->currentText();
    QStringList items = comboItems(combo);
    SearchEngine::addToHistory(items, text);
    combo->clear();
    combo->addItems(items);
    combo->setEditText(text);
}

bool TSearchDial::prepare()
{
    m_regex = SearchEngine::prepare(FindCombo->currentText(), options());
    if (!m_regex.isValid()) {
        MsgBox::show(
            this, QMessageBox::Critical, SearchTexts::errorCaption(), SearchTexts::compileError(m_regex));
        FindCombo->setFocus();
        FindCombo->lineEdit()->setSelection(m_regex.errorOffset(), 1);
        return false;
    }
    addHistory(FindCombo);
    return true;
}

void TSearchDial::FindBtnClick()
{
    if (!prepare())
        return;
    EditableDocument *doc = m_docs ? m_docs->active() : nullptr;
    if (!doc) {
        MsgBox::show(this, QMessageBox::Critical, SearchTexts::errorCaption(), SearchTexts::noDocument());
        return;
    }
    const SearchEngine::StepResult r = SearchEngine::findNext(m_regex, *doc);
    if (!r.error.isEmpty())
        MsgBox::show(this, QMessageBox::Critical, SearchTexts::errorCaption(), r.error);
    else if (!r.found)
        MsgBox::show(this, QMessageBox::Information, SearchTexts::findCaption(), SearchTexts::notFound());
}

void TSearchDial::ReplBtnClick()
{
    if (!prepare())
        return;
    addHistory(ReplCombo);
    EditableDocument *doc = m_docs ? m_docs->active() : nullptr;
    if (!doc) {
        MsgBox::show(this, QMessageBox::Critical, SearchTexts::errorCaption(), SearchTexts::noDocument());
        return;
    }
    const SearchEngine::StepResult r
        = SearchEngine::replace(m_regex, *doc, ReplCombo->currentText(), UzSS->isChecked());
    if (!r.error.isEmpty())
        MsgBox::show(this, QMessageBox::Critical, SearchTexts::errorCaption(), r.error);
    else if (!r.found)
        MsgBox::show(this, QMessageBox::Information, SearchTexts::findCaption(), SearchTexts::notFound());
}

void TSearchDial::FindAllBtnClick() { runAll(false); }

void TSearchDial::ReplAllBtnClick() { runAll(true); }

void TSearchDial::runAll(bool replacing)
{
    if (m_results) {
        m_results->showFindPage();
        if (m_results->clearBeforeNew())
            m_results->model()->clear();
    }
    if (!prepare())
        return;
    if (replacing)
        addHistory(ReplCombo);
    const SearchOptions o = options();
    if (!m_docs || (!o.allDocuments && !m_docs->active())) {
        MsgBox::show(this, QMessageBox::Critical, SearchTexts::errorCaption(), SearchTexts::noDocument());
        return;
    }

    EscPoller poller;
    SearchEngine engine;
    engine.setProgress(m_status);
    engine.setCancel([&poller] { return poller.poll(); });
    const QString findText = FindCombo->currentText();
    SearchEngine::RunResult r = replacing
        ? engine.replaceAll(m_regex, *m_docs, o, findText, ReplCombo->currentText())
        : engine.findAll(m_regex, *m_docs, o, findText);
    const qsizetype count = r.count;
    const QString error = r.error;
    if (m_results)
        m_results->model()->appendRows(std::move(r.rows));
    if (!error.isEmpty())
        MsgBox::show(this, QMessageBox::Critical, SearchTexts::errorCaption(), error);
    else if (count == 0)
        MsgBox::show(this, QMessageBox::Information,
            replacing ? SearchTexts::replaceCaption() : SearchTexts::findCaption(), SearchTexts::notFound());
}

std::vector<std::pair<QAbstractButton *, bool SearchWindowState::*>> TSearchDial::stateButtons() const
{
    using W = SearchWindowState;
    return { { OptBtn, &W::optBtnDown }, { UzDot, &W::uzDot }, { UzReg, &W::uzReg }, { UzSS, &W::uzSS },
        { WyszCase, &W::wyszCase }, { WyszSel, &W::wyszSel } };
}

void TSearchDial::restoreState()
{
    const SearchWindowState state = SearchWindowState::read(MarkoraSettings());
    // A place no screen shows (edited by hand, or a screen since removed) leaves the
    // window where it opens.
    if (state.left != SearchWindowState::NoPlace && state.top != SearchWindowState::NoPlace) {
        const QRect placed(QPoint(state.left, state.top), size());
        const QList<QScreen *> screens = QGuiApplication::screens();
        if (std::any_of(screens.begin(), screens.end(),
                [&placed](const QScreen *screen) { return screen->geometry().intersects(placed); }))
            move(state.left, state.top);
    }
    FindCombo->addItems(state.findItems);
    ReplCombo->addItems(state.replItems);
    FindCombo->setEditText(state.findText);
    ReplCombo->setEditText(state.replText);
    for (const auto &[button, member] : stateButtons())
        button->setChecked(state.*member);
    (state.zakresWsz && !state.zakresAkt ? ZakresWsz : ZakresAkt)->setChecked(true);
}

void TSearchDial::saveState() const
{
    SearchWindowState state;
    state.left = x();
    state.top = y();
    state.findText = FindCombo->currentText();
    state.replText = ReplCombo->currentText();
    state.findItems = comboItems(FindCombo);
    state.replItems = comboItems(ReplCombo);
    for (const auto &[button, member] : stateButtons())
        state.*member = button->isChecked();
    state.zakresAkt = ZakresAkt->isChecked();
    state.zakresWsz = ZakresWsz->isChecked();
    MarkoraSettings s;
    state.write(s);
}
