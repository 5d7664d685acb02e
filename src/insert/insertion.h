#pragma once

#include <QString>
#include <QStringView>

class EditableDocument;

// Lower-cases markup only where it is markup: scanning from the start, "<" enters a tag
// and ">" leaves it, a double quote inside a tag opens or closes a quoted value (between
// tags it is plain text). The text counts as inside a tag at its start (a closing like
// "\">" continues a tag). Characters
// inside a tag and outside quotes are lower-cased (any Windows-1250 letter included);
// everything else is kept. The result has the same length as the input.
QString LowerCaseTags(QStringView text);

// What the common insertion rule reads from the caller.
struct InsertOptions
{
    // "Wstawiaj tagi używając małych liter".
    bool lowerCase = false;
    // The main window's auto-interpretation flag: a snapshot is taken first when set, and
    // the caller interprets the inserted tag afterwards when ChkAuto is down.
    bool autoInterpretation = true;
};

// What an insertion put into the document, for the caller's auto-interpretation and
// "Wstaw jeszcze raz" memory.
struct InsertionResult
{
    QString opening; // as inserted (after lower-casing)
    QString closing; // as inserted; empty when none
    int selStart = 0; // the selection after the insertion
    int selLength = 0;
    // True when the auto-interpretation flag was set: the caller should parse the tag
    // at the caret (when ChkAuto is down) before remembering the pair.
    bool interpret = false;
};

// Wraps the selection: opening + selected text + closing, then selects the former
// selection again between them (with no selection the caret stands after the opening).
InsertionResult InsertPair(
    EditableDocument &doc, const QString &opening, const QString &closing, const InsertOptions &options);

// The block variant: the selection becomes "\n" + opening + selected text, followed by
// "\n" + closing when the closing is not empty; the former selection stays selected.
InsertionResult InsertBlock(
    EditableDocument &doc, const QString &opening, const QString &closing, const InsertOptions &options);

// Replaces the selection by text as it is (entities): no lower-casing, no interpretation.
// A snapshot is taken first so that undo restores the text before the insertion.
InsertionResult InsertPlain(EditableDocument &doc, const QString &text);
