#include "app/ui/checkscontroller.h"

#include "app/ui/documentmanager.h"
#include "app/ui/tsetupdial.h"
#include "base/settings.h"
#include "base/ui/msgbox.h"
#include "search/ui/findresultspanel.h"
#include "services/hunspelldictionary.h"
#include "services/spelltokenizer.h"
#include "services/ui/checkoptionspage.h"
#include "services/ui/spelldial.h"
#include "services/ui/spellhighlighter.h"
#include "services/ui/tidyfixdial.h"
#include "services/ui/validationpage.h"
#include "services/validationmodel.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QTabWidget>
#include <QTextCursor>
#include <QtConcurrent/QtConcurrentRun>

namespace {
// How many suggestions the context menu offers.
constexpr int kMenuSuggestions = 6;
// A tag at a row's place is selected when it closes within this many characters.
constexpr int kMaxTagSelection = 2000;

namespace texts {
QString validateCaption(const char *word)
{
    return QStringLiteral("Sprawdzanie poprawności: %1").arg(QString::fromUtf8(word));
}
QString fixCaption(const char *word)
{
    return QStringLiteral("Porządkowanie kodu: %1").arg(QString::fromUtf8(word));
}
QString escHint() { return QStringLiteral(" Naciśnij <Esc> aby przerwać."); }
} // namespace texts

// The two toolbar pictures: a tag with a tick (the markup check), letters over a red wave
// (the spelling).
QIcon drawnIcon(bool spelling)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = p.font();
    f.setPixelSize(spelling ? 12 : 11);
    f.setBold(true);
    p.setFont(f);
    if (spelling) {
        p.setPen(QColor(40, 40, 40));
        p.drawText(QRect(0, 0, 24, 16), Qt::AlignCenter, QStringLiteral("abc"));
        p.setPen(QPen(QColor(220, 0, 0), 1.5));
        QPolygonF wave;
        for (int x = 2, i = 0; x <= 22; x += 2, ++i)
            wave << QPointF(x, i % 2 ? 21 : 18);
        p.drawPolyline(wave);
    } else {
        p.setPen(QColor(30, 60, 140));
        p.drawText(QRect(0, 0, 24, 14), Qt::AlignCenter, QStringLiteral("</>"));
        p.setPen(QPen(QColor(20, 140, 40), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({ QPointF(7, 17), QPointF(11, 21), QPointF(19, 13) }));
    }
    return QIcon(pm);
}

QString nameOf(const TEditor *e)
{
    const QString path = e->state().fileName;
    return path.isEmpty() ? QStringLiteral("bez nazwy") : QFileInfo(path).fileName();
}

// The word of the text at pos (inside it or just after it); position -1 when none.
SpellWord wordAt(const TextAccess &text, int pos)
{
    for (const SpellWord &w : SpellTokenizer::Words(text, std::max(0, pos - 1), pos + 1))
        if (w.position <= pos && pos <= w.position + w.length)
            return w;
    return SpellWord();
}
} // namespace

// The document a worker's run is about, and its name and revision at the start.
struct ChecksController::Run
{
    int documentId = 0;
    QString name;
    int revision = -1;
};

ChecksController::ChecksController(QWidget &window, DocumentManager &documents, MarkoraSettings &settings,
    FindResultsPanel &results, const SpellingSetup &spellingSetup)
    : QObject(&window)
    , m_window(window)
    , m_documents(documents)
    , m_settings(settings)
    , m_results(results)
    , m_spellingSetup(spellingSetup)
    , m_options(CheckOptions::read(settings))
{
    if (m_spellingSetup.personalPath.isEmpty())
        m_spellingSetup.personalPath = Spelling::DefaultPersonalPath();
    const auto action = [&window, this](const char *name, const QString &text, const QKeySequence &shortcut) {
        auto *a = new QAction(text, &window);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(shortcut);
        return a;
    };
    m_validate
        = action("SprawdzPoprawnosc1", QStringLiteral("Sprawdź &poprawność"), QKeySequence(Qt::Key_F6));
    m_validate->setIcon(drawnIcon(false));
    m_validate->setToolTip(QStringLiteral("Sprawdź poprawność kodu dokumentu (tidy)"));
    connect(m_validate, &QAction::triggered, this, &ChecksController::SprawdzPoprawnoscClick);
    m_fix = action("PoprawKod1", QStringLiteral("Popraw &kod (tidy)..."), QKeySequence());
    connect(m_fix, &QAction::triggered, this, &ChecksController::PoprawKodClick);
    m_spellToggle = action("ChkPisownia", QStringLiteral("Sprawdzaj pi&sownię"), QKeySequence());
    m_spellToggle->setCheckable(true);
    m_spellToggle->setChecked(m_options.spelling);
    m_spellToggle->setIcon(drawnIcon(true));
    m_spellToggle->setToolTip(QStringLiteral("Podkreślaj słowa, których nie ma w słowniku"));
    connect(m_spellToggle, &QAction::triggered, this, &ChecksController::ChkPisowniaClick);
    m_spellDialog
        = action("SprawdzPisownie1", QStringLiteral("Sprawdź pis&ownię..."), QKeySequence(Qt::Key_F7));
    connect(m_spellDialog, &QAction::triggered, this, &ChecksController::SprawdzPisownieClick);

    m_esc = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    m_esc->setEnabled(false);
    connect(m_esc, &QShortcut::activated, this, &ChecksController::cancelRunning);

    m_page = new ValidationPage(&results);
    results.tabs()->addTab(m_page, QStringLiteral("Poprawność"));
    connect(m_page, &ValidationPage::rowActivated, this, &ChecksController::ValidationRowActivated);

    connect(
        &m_validation, &QFutureWatcher<ValidationResult>::finished, this, &ChecksController::validationDone);
    connect(
        &m_validation, &QFutureWatcher<ValidationResult>::progressValueChanged, this, [this](int permille) {
            Q_EMIT statusMessage(
                QStringLiteral("Sprawdzanie poprawności: %1%.").arg(permille / 10) + texts::escHint());
        });
    connect(&m_repair, &QFutureWatcher<TidyFixResult>::finished, this, &ChecksController::fixDone);
    connect(&m_repair, &QFutureWatcher<TidyFixResult>::progressValueChanged, this, [this](int permille) {
        Q_EMIT statusMessage(
            QStringLiteral("Porządkowanie kodu: %1%.").arg(permille / 10) + texts::escHint());
    });
    connect(&m_loading, &QFutureWatcher<std::shared_ptr<Spelling>>::finished, this,
        &ChecksController::spellingLoaded);
    connect(&documents, &DocumentManager::documentClosing, this, [this](TEditor *e) {
        if (m_run && e && m_run->documentId == e->documentId())
            cancelRunning();
    });
    if (m_options.spelling)
        startLoadingSpelling();
}

ChecksController::~ChecksController()
{
    // A worker still running is stopped and waited for: it reads nothing of ours, but
    // its result would come to an object that is gone.
    m_validation.cancel();
    m_repair.cancel();
    m_validation.waitForFinished();
    m_repair.waitForFinished();
    m_loading.waitForFinished();
}

void ChecksController::setOptions(const CheckOptions &options)
{
    const bool reload = options.secondDictionary != m_options.secondDictionary;
    m_options = options;
    m_options.write(m_settings);
    m_spellToggle->setChecked(m_options.spelling);
    if (reload) {
        // A load under way is for the old dictionaries: its result is dropped.
        if (!m_loadTaken) {
            m_loading.waitForFinished();
            m_loadTaken = true;
        }
        m_spelling.reset();
        m_missingTold = false;
    }
    if (m_options.spelling && !m_spelling)
        startLoadingSpelling();
    applySpelling();
}

bool ChecksController::isBusy() const { return m_validation.isRunning() || m_repair.isRunning(); }

// ---- Spelling: dictionaries and underlines ----------------------------------------

void ChecksController::startLoadingSpelling()
{
    if (m_loading.isRunning())
        return;
    SpellingSetup setup = m_spellingSetup;
    setup.second = m_options.secondDictionary;
    m_loadTaken = false;
    // The Polish dictionary takes a while to read: not on the window's thread.
    m_loading.setFuture(QtConcurrent::run([setup] { return std::make_shared<Spelling>(setup); }));
}

void ChecksController::spellingLoaded()
{
    if (m_loadTaken || !m_loading.future().isFinished() || m_loading.future().resultCount() == 0)
        return;
    m_loadTaken = true;
    m_spelling = m_loading.future().result();
    if (!m_spelling->isAvailable()) {
        const QString message = m_spelling->unavailableMessage();
        m_spellToggle->setChecked(false);
        applySpelling();
        if (!m_missingTold) {
            m_missingTold = true;
            MsgBox::show(&m_window, QMessageBox::Warning, Spelling::MessageCaption(), message);
        }
        return;
    }
    if (!m_spelling->secondMessage().isEmpty())
        Q_EMIT statusMessage(m_spelling->secondMessage());
    applySpelling();
}

std::shared_ptr<Spelling> ChecksController::spelling()
{
    if (!m_spelling && !m_loading.isRunning())
        startLoadingSpelling();
    if (!m_loadTaken) {
        m_loading.waitForFinished();
        spellingLoaded();
    }
    return m_spelling && m_spelling->isAvailable() ? m_spelling : nullptr;
}

// The underlines follow the toggle in every open editor.
void ChecksController::applySpelling()
{
    const bool on = m_spellToggle->isChecked() && m_spelling && m_spelling->isAvailable();
    for (int i = 0; i < m_documents.count(); ++i) {
        TEditor *e = m_documents.editorAt(i);
        if (SpellHighlighter *h = SpellHighlighter::of(e))
            h->setSpelling(on ? m_spelling : nullptr);
        else if (on)
            new SpellHighlighter(e, m_spelling);
    }
}

void ChecksController::recheckAll()
{
    for (int i = 0; i < m_documents.count(); ++i)
        if (SpellHighlighter *h = SpellHighlighter::of(m_documents.editorAt(i)))
            h->checkNow();
}

void ChecksController::activeDocumentChanged(TEditor *editor)
{
    if (editor && !SpellHighlighter::of(editor) && m_spellToggle->isChecked() && m_spelling
        && m_spelling->isAvailable())
        new SpellHighlighter(editor, m_spelling);
}

void ChecksController::ChkPisowniaClick(bool on)
{
    m_options.spelling = on;
    m_options.write(m_settings);
    if (on && !m_spelling) {
        m_missingTold = false;
        startLoadingSpelling();
    } else if (on && !m_spelling->isAvailable()) {
        // Told already at the load: the dictionary is still missing.
        m_spellToggle->setChecked(false);
        MsgBox::show(
            &m_window, QMessageBox::Warning, Spelling::MessageCaption(), m_spelling->unavailableMessage());
    }
    applySpelling();
}

void ChecksController::addSpellingEntries(TEditor *editor, QMenu *popup)
{
    for (const QPointer<QAction> &a : std::as_const(m_popupEntries))
        delete a.data();
    m_popupEntries.clear();
    if (!editor || !m_spellToggle->isChecked())
        return;
    const std::shared_ptr<Spelling> sp = spelling();
    if (!sp)
        return;
    const SpellWord w = wordAt(editor->textAccess(), editor->selStart());
    if (w.position < 0 || sp->isCorrect(w.word))
        return;

    QAction *before = popup->actions().value(0);
    auto add = [&](const QString &text, const char *name) {
        auto *a = new QAction(text, popup);
        a->setObjectName(QString::fromLatin1(name));
        popup->insertAction(before, a);
        m_popupEntries << a;
        return a;
    };
    QPointer<TEditor> target = editor;
    const QStringList suggestions = sp->suggestions(w.word, kMenuSuggestions);
    for (const QString &s : suggestions) {
        QAction *a = add(QString(s).replace(u'&', QStringLiteral("&&")), "PopupPodpowiedz");
        QFont bold = a->font();
        bold.setBold(true);
        a->setFont(bold);
        connect(a, &QAction::triggered, this, [target, w, s] {
            // Only when the word is still where it was.
            if (!target || !(wordAt(target->textAccess(), w.position) == w))
                return;
            QTextCursor c(target->document());
            c.setPosition(w.position);
            c.setPosition(w.position + w.length, QTextCursor::KeepAnchor);
            c.insertText(s);
            target->setTextCursor(c);
        });
    }
    if (suggestions.isEmpty())
        add(QStringLiteral("(brak podpowiedzi)"), "PopupBrakPodpowiedzi")->setEnabled(false);
    connect(add(QStringLiteral("Dodaj do słownika"), "PopupDodajDoSlownika"), &QAction::triggered, this,
        [this, sp, w] {
            QString error;
            if (!sp->addToPersonal(w.word, &error))
                MsgBox::show(
                    &m_window, QMessageBox::Warning, QStringLiteral("Dodawanie do słownika: błąd"), error);
            recheckAll();
        });
    connect(add(QStringLiteral("Ignoruj"), "PopupIgnoruj"), &QAction::triggered, this, [this, sp, w] {
        sp->ignore(w.word);
        recheckAll();
    });
    m_popupEntries << popup->insertSeparator(before);
}

void ChecksController::SprawdzPisownieClick()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e)
        return;
    const std::shared_ptr<Spelling> sp = spelling();
    if (!sp) {
        if (m_spelling)
            MsgBox::show(&m_window, QMessageBox::Warning, Spelling::MessageCaption(),
                m_spelling->unavailableMessage());
        return;
    }
    SpellDial dlg(e, sp, &m_window);
    connect(&dlg, &SpellDial::wordsAccepted, this, &ChecksController::recheckAll);
    dlg.start();
    dlg.exec();
    recheckAll();
    Q_EMIT refreshRequested();
}

// ---- Markup -------------------------------------------------------------------------

TEditor *ChecksController::editorOf(int documentId) const
{
    const int i = m_documents.indexOfId(documentId);
    return i >= 0 ? m_documents.editorAt(i) : nullptr;
}

void ChecksController::setBusy(const QString &status)
{
    m_esc->setEnabled(isBusy());
    if (!status.isEmpty())
        Q_EMIT statusMessage(status);
}

void ChecksController::SprawdzPoprawnoscClick()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e || isBusy())
        return;
    m_run = std::make_unique<Run>(Run { e->documentId(), nameOf(e), e->document()->revision() });
    m_validation.setFuture(Validator::ValidateAsync(e->text(), m_options.validation));
    setBusy(QStringLiteral("Sprawdzanie poprawności...") + texts::escHint());
}

void ChecksController::validationDone()
{
    std::unique_ptr<Run> run = std::move(m_run);
    setBusy(QString());
    const QFuture<ValidationResult> f = m_validation.future();
    if (!run || f.isCanceled() || f.resultCount() == 0 || f.result().cancelled) {
        Q_EMIT statusMessage(QStringLiteral("Sprawdzanie poprawności przerwane."));
        Q_EMIT validationFinished();
        return;
    }
    const ValidationResult result = f.result();
    showValidation(run->documentId, run->name, run->revision, result);
    Q_EMIT statusMessage(m_page->model()->summary());
    Q_EMIT validationFinished();
}

void ChecksController::showValidation(
    int documentId, const QString &name, int revision, const ValidationResult &result)
{
    // The rows' places follow the document's edits from the revision checked on.
    ValidationModel *model = m_page->model();
    disconnect(m_followEdits);
    ValidationResult rows = result;
    TEditor *e = editorOf(documentId);
    if (!e || e->document()->revision() != revision)
        for (ValidationMessage &m : rows.messages)
            m.position = -1; // changed while it was checked: the places are lost
    model->setResult(documentId, name, rows);
    if (e)
        m_followEdits
            = connect(e->document(), &QTextDocument::contentsChange, model, &ValidationModel::textChanged);
    m_page->updateSummary();
    m_results.show();
    m_results.raise();
    m_results.tabs()->setCurrentWidget(m_page);
}

void ChecksController::ValidationRowActivated(int row)
{
    const ValidationModel *model = m_page->model();
    if (row < 0 || row >= model->rowCount())
        return;
    const int index = m_documents.indexOfId(model->documentId());
    if (index < 0) {
        MsgBox::show(&m_window, QMessageBox::Information, texts::validateCaption("informacja"),
            QStringLiteral("Dokument, którego dotyczy ten wiersz, został już zamknięty."));
        return;
    }
    m_documents.activate(index);
    TEditor *e = m_documents.editorAt(index);
    const ValidationMessage &m = model->row(row);
    if (m.position < 0) {
        if (m.line > 0)
            Q_EMIT statusMessage(
                QStringLiteral("Dokument zmienił się w czasie sprawdzania: sprawdź go ponownie."));
        return;
    }
    const TextAccess &text = e->textAccess();
    const int pos = std::min(m.position, text.length());
    int length = 0;
    if (text.at(pos) == u'<') {
        const qsizetype close = text.mid(pos, kMaxTagSelection).indexOf(u'>');
        if (close > 0)
            length = int(close) + 1;
    }
    e->setSelection(pos, length);
    e->setFocus();
    Q_EMIT refreshRequested();
}

void ChecksController::PoprawKodClick()
{
    TEditor *e = m_documents.currentEditorOrNull();
    if (!e || isBusy())
        return;
    m_run = std::make_unique<Run>(Run { e->documentId(), nameOf(e), e->document()->revision() });
    m_repair.setFuture(TidyFix::FixAsync(e->text(), m_options.fix));
    setBusy(QStringLiteral("Porządkowanie kodu (tidy)...") + texts::escHint());
}

void ChecksController::fixDone()
{
    std::unique_ptr<Run> run = std::move(m_run);
    setBusy(QString());
    const QFuture<TidyFixResult> f = m_repair.future();
    TEditor *e = run ? editorOf(run->documentId) : nullptr;
    if (!e || f.isCanceled() || f.resultCount() == 0 || f.result().status == TidyFixResult::Cancelled) {
        Q_EMIT statusMessage(QStringLiteral("Porządkowanie kodu przerwane."));
        Q_EMIT fixFinished();
        return;
    }
    const TidyFixResult r = f.result();
    switch (r.status) {
    case TidyFixResult::Unchanged:
        Q_EMIT statusMessage(QString());
        MsgBox::show(&m_window, QMessageBox::Information, texts::fixCaption("informacja"),
            QStringLiteral("tidy nie zmieniłby niczego w dokumencie %1.").arg(run->name));
        break;
    case TidyFixResult::Refused:
        showValidation(run->documentId, run->name, run->revision, r.diagnostics);
        Q_EMIT statusMessage(m_page->model()->summary());
        MsgBox::show(&m_window, QMessageBox::Warning, texts::fixCaption("ostrzeżenie"),
            QStringLiteral("Dokument %1 ma błędy, których tidy nie umie poprawić (są na liście "
                           "„Poprawność” w panelu „Wyniki”). Tekst nie został zmieniony.")
                .arg(run->name));
        break;
    case TidyFixResult::Changed: {
        if (e->document()->revision() != run->revision) {
            MsgBox::show(&m_window, QMessageBox::Warning, texts::fixCaption("ostrzeżenie"),
                QStringLiteral("Dokument %1 zmienił się w czasie porządkowania. Tekst nie został "
                               "zmieniony; wydaj polecenie jeszcze raz.")
                    .arg(run->name));
            break;
        }
        Q_EMIT statusMessage(QString());
        TidyFixDial dlg(run->name, r.diff, &m_window);
        if (dlg.exec() != QDialog::Accepted || !editorOf(run->documentId)) {
            Q_EMIT statusMessage(QStringLiteral("Kod pozostał bez zmian."));
            break;
        }
        e->TakeSnapshot();
        e->setText(r.text);
        Q_EMIT statusMessage(
            QStringLiteral("Kod poprawiony przez tidy; „Cofnij” przywraca poprzedni tekst."));
        break;
    }
    case TidyFixResult::Cancelled:
        break;
    }
    Q_EMIT refreshRequested();
    Q_EMIT fixFinished();
}

void ChecksController::cancelRunning()
{
    if (m_validation.isRunning())
        m_validation.cancel();
    if (m_repair.isRunning())
        m_repair.cancel();
}

// ---- The setup dialog's page ---------------------------------------------------------

void ChecksController::setupDialogOpening(TSetupDial *dialog)
{
    auto *page = dialog->findChild<CheckOptionsPage *>();
    if (!page) {
        page = new CheckOptionsPage(dialog);
        dialog->addPage(page, QStringLiteral("Sprawdzanie"));
    }
    QStringList second = HunspellDictionary::Installed(
        m_spellingSetup.folders.isEmpty() ? HunspellDictionary::DefaultFolders() : m_spellingSetup.folders);
    second.removeAll(m_spellingSetup.primary);
    page->setOptions(m_options, second);
}

void ChecksController::setupDialogAccepted(TSetupDial *dialog)
{
    if (auto *page = dialog->findChild<CheckOptionsPage *>())
        setOptions(page->options());
}
