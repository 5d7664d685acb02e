#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class TagDefs;
class TextAccess;

// The pieces of tag assistance that need no window: the parameter list, the syntax
// hint, automatic closing, Enter in the entry modes, the parameter inserter's target
// and the rebuilding of a tag edited in the argument grid.

// Entries for the parameter list of a tag, in "args" order: a "bool" argument as its
// bare name, any other as name + "=", with "\"\"" added when its value is quoted.
QStringList ParameterEntries(const TagDefs &defs, const QString &tag);

// The syntax hint: NAME + ": " + the expanded "args" with a space after each comma,
// a line break and "Info"; only "Info" when the tag has no arguments. Empty for an
// unknown tag.
QString HintText(const TagDefs &defs, const QString &tag);

// Whether typing ">" after the tag's opening adds its closing tag: "ends" 1 yes, 0 (or
// missing) no, other values ask optionalChoice (the user's "Zamykanie" setting).
bool TagNeedsClosing(
    const TagDefs &defs, const QString &tag, const std::function<bool(const QString &)> &optionalChoice);

// Entry modes of a document.
enum EntryMode { EntryNormal = 0, EntryListItems = 1, EntryTableCells = 2 };

// What Enter inserts in an entry mode (line breaks as "\n"), indent being the current
// line's leading blanks (empty when indentation is off).
QString EnterInsertion(int mode, bool shift, const QString &indent);

// The leading blanks and tabs of a line's text.
QString LeadingIndent(const QString &lineUpToCaret);

// The leading blanks and tabs of the line holding pos, up to pos; reads only them.
QString LineIndentBefore(const TextAccess &text, int pos);

// Where the parameter inserter puts a parameter: scanning forward from caret over
// whole double-quoted values (the rest of the one holding the caret first), the
// first space or ">". -1 when neither comes within
// kTagSearchLimit characters or before the text's end.
int ParInserterPosition(const TextAccess &text, int caret);

// One row of the argument grid as the rebuild reads it.
struct ArgRow
{
    QString name;
    QString value;
    QString kind;
    bool quoted = false;
};

// Rebuilds a tag from its grid: the opening hint ("<NAME>") without its last
// character, then " name" for each bool row set to "[tak]" and " name=value" (quoted
// as the row says) for each other row with a value, then " " + remainder when there is
// one, then ">". With lowerCase the tag name, the argument names and the remainder's
// argument names are lower-cased; values are kept as typed.
QString RebuildTag(
    const QString &openingHint, const QList<ArgRow> &rows, const QString &remainder, bool lowerCase);

// Lower-cases the argument names of a remainder text (NAME, NAME=value, NAME="value")
// and leaves the values alone.
QString LowerCaseArgNames(const QString &remainder);

// The values a bool row shows.
QString BoolYes();
QString BoolNo();
