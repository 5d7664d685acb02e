#pragma once

#include "insert/commandtable.h"
#include "insert/insertion.h"

#include <QString>
#include <QStringView>
#include <optional>

class EditableDocument;

// The questions and the tag-editing grid the commands need, supplied by the main window
// (dialogs) or by a test (scripted answers).
class InsertInteraction
{
public:
    virtual ~InsertInteraction() = default;
    // The input dialog: the answer, or nullopt when the user cancels.
    virtual std::optional<QString> askText(const QString &title, const QString &prompt) = 0;
    // A Yes/No question with the question icon; true for Yes.
    virtual bool askYesNo(const QString &title, const QString &question) = 0;
    // Auto-interpretation: parse the tag at the caret and load it into the tag-editing
    // grid. False when no tag is found there (the pair is then not remembered).
    virtual bool interpretTag(EditableDocument &doc)
    {
        (void)doc;
        return true;
    }
    // The tag selected in the tag list, empty when none.
    virtual QString selectedTagName() { return QString(); }
    // Opens the row's dialog over doc: what the user asked to insert, mode None when the
    // dialog was cancelled. The runner inserts it.
    virtual ResolvedInsertion askDialog(const InsertCommand &command, EditableDocument &doc)
    {
        (void)command;
        (void)doc;
        return ResolvedInsertion();
    }
};

struct InsertRunResult
{
    bool inserted = false; // false: cancelled, nothing to repeat, or nothing selected
    InsertMode mode = InsertMode::None;
    InsertionResult insertion;
    int entryMode = -1; // the entry mode to switch the document to; -1 = leave it
};

// Runs the insertion commands on a document: the common rule with its steps 5 and 6,
// the questions, the options and "Wstaw jeszcze raz". No widgets; one per main window.
class InsertCommandRunner
{
public:
    explicit InsertCommandRunner(InsertInteraction *interaction = nullptr);

    // Not owned; may be null (every question then counts as cancelled / No).
    void setInteraction(InsertInteraction *interaction) { m_interaction = interaction; }
    void setSettings(const InsertSettings &settings) { m_settings = settings; }
    const InsertSettings &settings() const { return m_settings; }
    // Whether ChkAuto is down.
    void setChkAuto(bool down) { m_chkAuto = down; }
    bool chkAuto() const { return m_chkAuto; }
    // The auto-interpretation flag (normally true). The typing assistant clears it around
    // an automatic closing; the server-side include menu clears it and leaves it cleared.
    bool autoInterpretation() const { return m_autoInterpretation; }
    void setAutoInterpretation(bool on);

    // Runs the row at index in insertCommands(); out-of-range indexes do nothing.
    InsertRunResult run(int commandIndex, EditableDocument &doc);
    // Runs the first row with that handler or object name.
    InsertRunResult run(QStringView handlerOrObjectName, EditableDocument &doc);

    // The common rule for dialogs, wizards and other callers: steps 1 to 6.
    InsertRunResult insertPair(EditableDocument &doc, const QString &opening, const QString &closing);
    InsertRunResult insertBlock(EditableDocument &doc, const QString &opening, const QString &closing);
    // insertPair with the texts as they are, whatever the lower-case option says: the
    // typing assistance writes a closing tag in the case its opening was typed in.
    InsertRunResult insertPairAsWritten(
        EditableDocument &doc, const QString &opening, const QString &closing);

    // "Wstaw jeszcze raz": the last remembered pair through pair insertion. Does nothing
    // before anything was remembered.
    InsertRunResult repeatLast(EditableDocument &doc);
    bool hasLastPair() const { return m_hasLast; }
    QString lastOpening() const { return m_lastOpening; }
    QString lastClosing() const { return m_lastClosing; }

private:
    InsertRunResult insert(EditableDocument &doc, InsertMode mode, const QString &opening,
        const QString &closing, bool asWritten = false);

    InsertInteraction *m_interaction = nullptr;
    InsertSettings m_settings;
    bool m_chkAuto = true;
    bool m_autoInterpretation = true;
    // Set while the flag stays cleared by the server-side include menu: insertions then
    // still take their snapshot, or undo would restore an older state.
    bool m_snapshotWhileCleared = false;
    bool m_hasLast = false;
    QString m_lastOpening;
    QString m_lastClosing;
};
