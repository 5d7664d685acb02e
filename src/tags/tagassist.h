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

// Entries for the parameter list of a tag, in the order TagDefs::offeredArgs gives (the
// tag's own, then shared, then event handlers): a "bool" argument as its bare name, any
// other as name + "=", with "\"\"" added when its value is quoted. Names as the file
// writes them; InTagCase() gives them the case of the tag they go into.
QStringList ParameterEntries(const TagDefs &defs, const QString &tag);

// True when a tag name is written in lower case: it has a letter and no upper-case one.
bool IsLowerCaseName(const QString &name);
// text lower-cased for a tag written in lower case, upper-cased for any other.
QString InTagCase(const QString &text, const QString &tagName);

// What typing ">" at gt (the ">" already in the text) closes: "</" + the tag's name as
// typed + ">", or empty when the tag needs no closing (TagNeedsClosing), when it closes
// itself ("<x/>"), or when gt lies in a comment or in the raw text of a script or style
// begun within 16 384 characters before the tag, where nothing is a tag.
QString ClosingForGreater(const TagDefs &defs, const TextAccess &text, int gt,
    const std::function<bool(const QString &)> &optionalChoice);

// The attribute name that ends at pos inside a tag ("<input type" with pos after "type"),
// empty when a name does not end there.
QString AttributeNameBefore(const TextAccess &text, int pos);

// The value list: the values an argument lists ("choice"), empty for any other kind.
QStringList ValueEntries(const TagDefs &defs, const QString &tag, const QString &arg);

// Choosing value from the value list opened at valueFrom (just after "=") with the
// caret at caret: [start, start + length) becomes text, and the caret goes to caret.
// The value is written between quotes when the argument is quoted or the user typed the
// opening quote; a closing quote already after the caret is reused, not doubled.
struct ValueEdit
{
    int start = 0;
    int length = 0;
    QString text;
    int caret = 0;
};
ValueEdit ValueInsertion(const TextAccess &text, int valueFrom, int caret, const QString &value, bool quoted);
// What was typed of a value since valueFrom, without an opening quote: the prefix the
// value list looks for.
QString TypedValuePrefix(const TextAccess &text, int valueFrom, int caret);

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
    bool bare = false; // the argument stood in the tag without a value
    bool keepCase = false; // the name is written as it is (data-*, aria-*)
};

// Rebuilds a tag from its grid: the opening hint ("<NAME>") without its last
// character, then " name" for each bool row set to "[tak]" and " name=value" (quoted
// as the row says) for each other row with a value, " name" alone for a row whose
// argument stood without a value and still has none, then " " + remainder when there is
// one, then ">". Names are upper-cased, or kept as written for rows that say so; with
// lowerCase the tag name, every argument name and the remainder's argument names are
// lower-cased. Values are kept as typed.
QString RebuildTag(
    const QString &openingHint, const QList<ArgRow> &rows, const QString &remainder, bool lowerCase);

// Lower-cases the argument names of a remainder text (NAME, NAME=value, NAME="value")
// and leaves the values alone.
QString LowerCaseArgNames(const QString &remainder);

// The values a bool row shows.
QString BoolYes();
QString BoolNo();
