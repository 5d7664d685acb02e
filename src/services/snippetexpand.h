#pragma once

#include <QString>
#include <QStringView>

// Snippets ("Wstawki") are named pieces of text. Two markers may stand in a snippet's text:
// the selection marker for the text selected when the snippet is inserted, and the caret
// marker for where the caret stands afterwards.
constexpr QStringView kSnippetSelectionMarker = u"{{zaznaczenie}}";
constexpr QStringView kSnippetCaretMarker = u"{{kursor}}";

// What a snippet inserts, for the common insertion rule.
struct SnippetInsertion
{
    // Pair: the text before the first selection marker is the opening, the text after it
    // the closing, and the pair wraps the selection (which stays selected). Plain: the
    // snippet has no selection marker and its text (in opening) replaces the selection.
    bool pair = false;
    QString opening;
    QString closing;
    // Where the caret goes after the insertion, counted from where the inserted text
    // starts (the selection's start before it): the place of the first caret marker in
    // opening + selection + closing. -1 when the snippet has none: the insertion rule's
    // own selection or caret stays.
    int caret = -1;
};

// Expands snippet against the selected text. Markers are recognised in the snippet only,
// never in the selection. Every caret marker is removed (the first one counts); a
// selection marker after the first stands for a copy of the selection inside the closing.
// Line breaks of the snippet (CR LF, CR) become '\n'.
SnippetInsertion ExpandSnippet(QStringView snippet, QStringView selection);
