#pragma once

#include "search/findresults.h"
#include "search/regex.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class DocumentSet;
class EditableDocument;

// The options of the search window, by control.
struct SearchOptions
{
    bool caseSensitive = false; // WyszCase
    bool inSelection = false; // WyszSel
    bool regularExpression = false; // UzReg
    bool dotExcludesNewline = false; // UzDot (counts only with UzReg)
    bool specialSequences = false; // UzSS
    bool allDocuments = false; // ZakresWsz (else ZakresAkt)
};

// The texts the search shows, exactly as the user reads them.
namespace SearchTexts {
QString notFound(); // "Nie znaleziono szukanego wyrażenia."
QString findCaption(); // "Wyszukiwanie: informacja"
QString replaceCaption(); // "Zamiana: informacja"
QString errorCaption(); // "Wyszukiwanie: błąd"
QString documentClosed(); // "Okienko z tym dokumentem zostało już zamknięte!"
QString noDocument(); // "Żaden dokument nie jest otwarty w edytorze!"
// "Błąd w wyrażeniu regularnym." + line break + the table message + "."
QString compileError(const Regex &failed);
QString findProgress(qsizetype n); // "Znaleziono N dopasowań. Naciśnij <Esc> aby przerwać wyszukiwanie..."
QString replaceProgress(qsizetype n); // ... "aby przerwać zamienianie..."
QString findSummary(qsizetype n, const QString &findText);
QString replaceSummary(qsizetype n, const QString &findText);
} // namespace SearchTexts

// Search and replace over EditableDocument / DocumentSet: no widget, no QObject.
// Find next and Replace are static; Find all and Replace all are run by an engine
// object that carries the progress and cancel callbacks.
class SearchEngine
{
public:
    // The largest number of entries a history list keeps, and the longest entry.
    static constexpr int HistorySize = 15;
    static constexpr int HistoryEntryLength = 255;

    // Receives the progress text meant for status panel 3.
    using ProgressFn = std::function<void(const QString &)>;
    // Asked between matches whether the user wants the run stopped (Esc).
    using CancelFn = std::function<bool()>;

    // The expression for the search text: the text itself with regular expressions on,
    // else the text quoted. Case is ignored unless caseSensitive; a dot matches line
    // breaks unless dotExcludesNewline. Check isValid(); on failure the Regex holds the
    // error code and its position in the search text.
    static Regex prepare(const QString &findText, const SearchOptions &options);

    // A history as stored (perhaps edited by hand): empty entries dropped, each cut to
    // HistoryEntryLength, the list to HistorySize.
    static QStringList keptHistory(const QStringList &stored);
    // Puts text at the top of a history list: cut to 255 characters, an entry equal to it
    // without regard to case removed, at most 15 kept. Empty texts are not stored.
    static void addToHistory(QStringList &items, const QString &text);

    struct StepResult
    {
        bool found = false; // a match is selected now
        bool replaced = false; // Replace: the selection was replaced
        QString error; // the engine's run-time error, empty when none
    };

    // Find next: searches the whole text from the end of the selection (no wrap-around)
    // and selects the match.
    static StepResult findNext(const Regex &regex, EditableDocument &doc);

    // Replace: replaces the selection only when the expression, matched against the
    // selected text, matches all of it from its first character; the inserted text is
    // then selected. Then finds the next match, as findNext().
    static StepResult replace(
        const Regex &regex, EditableDocument &doc, const QString &replacement, bool specialSequences);

    struct RunResult
    {
        qsizetype count = 0; // matches found / replaced, all documents
        std::vector<FindResultRow> rows; // result rows, summary row last
        bool cancelled = false; // the user asked to stop at least once
        QString error; // a run-time error of the engine, empty when none
    };

    SearchEngine();
    void setProgress(ProgressFn progress) { m_progress = std::move(progress); }
    void setCancel(CancelFn cancel) { m_cancel = std::move(cancel); }
    // Progress and cancel are asked at most this often (milliseconds); 0 asks after every match.
    void setPollInterval(int ms) { m_pollInterval = ms; }

    // Find all over the active document or, with allDocuments, every document in order.
    // No document is changed. The rows end with the summary row.
    RunResult findAll(
        const Regex &regex, DocumentSet &docs, const SearchOptions &options, const QString &findText);

    // Replace all: per document, takes the snapshot, builds the new text in one pass and
    // writes it once; the document is marked modified even when nothing matched. The whole
    // replacement text is used (only history entries are cut).
    RunResult replaceAll(const Regex &regex, DocumentSet &docs, const SearchOptions &options,
        const QString &findText, const QString &replacement);

    enum class JumpResult { Ignored, DocumentClosed, Selected };
    // Double-click on a row: activates its document and selects the found or inserted text.
    // Summary rows are ignored; a document no longer open gives DocumentClosed.
    static JumpResult jumpTo(DocumentSet &docs, const FindResultRow &row);

private:
    struct Run;
    RunResult run(const Regex &regex, DocumentSet &docs, const SearchOptions &options,
        const QString &findText, const QString *replacement);

    ProgressFn m_progress;
    CancelFn m_cancel;
    int m_pollInterval = 5;
};
