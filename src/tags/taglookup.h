#pragma once

#include <QString>

class TextAccess;

// Finding tags around a position. Every search walks the document line by line from
// the position and stops after kTagSearchLimit characters, so its cost does not grow
// with the document: a tag (or the stretch between the position and the "<" before
// it) longer than that is not found.
constexpr int kTagSearchLimit = 64 * 1024;

struct TagRange
{
    int start = -1; // position of "<"
    int length = 0; // up to and including ">"
    bool isValid() const { return start >= 0; }
};

// Goes back from the character before caret to a "<" (giving up at the text start
// or, unless allowInside, at a ">" met first), then forward from it to the next ">".
// A ">" right before the caret is the found tag's own end: a caret just after a tag
// finds that tag. Invalid when either search fails.
TagRange FindTagAround(const TextAccess &text, int caret, bool allowInside);

// The text of the tag FindTagAround finds (no length cut), empty when none; the range
// is stored in *found when given.
QString GetTagAtCaret(const TextAccess &text, int caret, bool allowInside, TagRange *found = nullptr);

// The name of the tag whose "<" the same backward search finds before position: the
// first token after the "<" delimited by space, "-", "<", ">" and line breaks (a
// closing tag keeps its "/"). Empty when there is no such "<".
QString GetTagNameAt(const TextAccess &text, bool allowInside, int position);

// The name of the tag that encloses pos (a "<" before it with no ">" between), empty
// when pos is not inside a tag. After typing ">" ask for the position before it.
QString EnclosingTagName(const TextAccess &text, int pos);

// True when pos lies inside a tag and an odd number of double quotes stands between
// the tag's "<" and pos.
bool IsInsideQuotedValue(const TextAccess &text, int pos);
