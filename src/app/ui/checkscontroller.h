#pragma once

#include "services/checkoptions.h"
#include "services/spelling.h"
#include "services/tidyfix.h"
#include "services/validator.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <memory>

class DocumentManager;
class FindResultsPanel;
class MarkoraSettings;
class QAction;
class QMenu;
class QShortcut;
class TEditor;
class TSetupDial;
class ValidationPage;

// The page checks of the window. Markup: "Sprawdź poprawność" (F6) checks the current
// document's text with tidy on a worker thread (progress in the status bar, Esc stops
// it) and lists the rows on the page "Poprawność" of the results panel; a double-click
// selects the place. "Popraw kod (tidy)..." shows tidy's version as a difference and
// replaces the text only when the user accepts (with a snapshot for "Cofnij"). Spelling:
// the toggle "Sprawdzaj pisownię" underlines misspelt words in the visible lines of
// every editor, the editor's context menu offers suggestions, "Dodaj do słownika" and
// "Ignoruj", and "Sprawdź pisownię..." (F7) walks through the document in a dialog. The
// options live under "Sprawdzanie" in the settings and on a page of the setup dialog.
// The window places the actions and the page, and connects the slots below.
class ChecksController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller, its actions, the dialogs and the messages; documents,
    // settings and results outlive it. spellingSetup: where the dictionaries and the
    // personal list are (the system's by default).
    ChecksController(QWidget &window, DocumentManager &documents, MarkoraSettings &settings,
        FindResultsPanel &results, const SpellingSetup &spellingSetup = SpellingSetup());
    ~ChecksController() override;

    // "Sprawdź poprawność" and "Popraw kod (tidy)..."; both need a document.
    QList<QAction *> markupActions() const { return { m_validate, m_fix }; }
    // The toggle "Sprawdzaj pisownię" and "Sprawdź pisownię..." (which needs a document).
    QAction *spellingToggle() const { return m_spellToggle; }
    QAction *spellDialogAction() const { return m_spellDialog; }
    ValidationPage *validationPage() const { return m_page; }

    const CheckOptions &options() const { return m_options; }
    // Stores the options and follows them (dictionaries loaded again when they changed).
    void setOptions(const CheckOptions &options);

    // The dictionaries, loaded now when they are not yet (waiting for a load under way);
    // null when the primary dictionary is missing, after telling the user once.
    std::shared_ptr<Spelling> spelling();
    // A check or a repair is running on a worker.
    bool isBusy() const;

    void SprawdzPoprawnoscClick();
    void PoprawKodClick();
    void ChkPisowniaClick(bool on);
    void SprawdzPisownieClick();
    // Esc: stops the check or repair under way.
    void cancelRunning();

    // ---- What the window connects ---------------------------------------------------
    // Every editor shown gets the underlines.
    void activeDocumentChanged(TEditor *editor);
    // The entries for the misspelt word at the caret, at the top of the editor's menu.
    void addSpellingEntries(TEditor *editor, QMenu *popup);
    void setupDialogOpening(TSetupDial *dialog);
    void setupDialogAccepted(TSetupDial *dialog);

Q_SIGNALS:
    // A line for the status bar (panel 3).
    void statusMessage(const QString &text);
    // A markup check ended (its rows are on the page) or was stopped.
    void validationFinished();
    // A repair ended: applied, refused, declined or stopped.
    void fixFinished();
    // A document may have changed: the commands and the status bar follow.
    void refreshRequested();

private:
    struct Run; // the document a worker's run is about
    void startLoadingSpelling();
    void spellingLoaded();
    void applySpelling();
    void recheckAll();
    void validationDone();
    void fixDone();
    void showValidation(int documentId, const QString &name, int revision, const ValidationResult &result);
    void ValidationRowActivated(int row);
    TEditor *editorOf(int documentId) const;
    void setBusy(const QString &status);

    QWidget &m_window;
    DocumentManager &m_documents;
    MarkoraSettings &m_settings;
    FindResultsPanel &m_results;
    SpellingSetup m_spellingSetup;
    CheckOptions m_options;

    QAction *m_validate = nullptr;
    QAction *m_fix = nullptr;
    QAction *m_spellToggle = nullptr;
    QAction *m_spellDialog = nullptr;
    QShortcut *m_esc = nullptr;
    ValidationPage *m_page = nullptr;

    QFutureWatcher<ValidationResult> m_validation;
    QFutureWatcher<TidyFixResult> m_repair;
    std::unique_ptr<Run> m_run;
    QMetaObject::Connection m_followEdits; // the checked document's edits move the rows

    std::shared_ptr<Spelling> m_spelling;
    QFutureWatcher<std::shared_ptr<Spelling>> m_loading;
    bool m_loadTaken = true; // the last load's result was taken
    bool m_missingTold = false;
    QList<QPointer<QAction>> m_popupEntries;
};
