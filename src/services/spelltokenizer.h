#pragma once

#include <QString>
#include <QStringView>
#include <QVector>

class TextAccess;

// A word of the page's text, as the spelling check sees it.
struct SpellWord
{
    int position = -1; // QString index of its first character (an entity's '&' included)
    int length = 0; // characters it covers in the text, entities as they are written
    QString word; // what is checked: entities decoded, soft hyphens left out

    bool operator==(const SpellWord &o) const
    {
        return position == o.position && length == o.length && word == o.word;
    }
};

// Finds the words of a page that a reader sees: the text between tags and the values of
// alt, title and placeholder. Tag and attribute names, other attribute values, comments,
// declarations and the contents of script and style are skipped. A character reference
// that stands for a letter ("&zdot;", "&#380;") is part of its word, decoded; the soft
// hyphen joins; any other reference ("&nbsp;", "&amp;") separates words and is never a word
// itself. A word is letters (and combining marks) with inner hyphens and apostrophes;
// words holding digits or '_', longer than MaxWordLength, inside an address or a file
// name (a run of non-space characters holding '@', "://" or a dot between two letters),
// or inside a run of MaxRunLength or more non-space characters (an inline picture,
// minified code) are left out.
//
// Only a stretch is tokenized: the state at its start (inside a tag, a value, a comment?)
// is found by reading from LookBack characters before it as if that point were in page
// text. A tag, value or reference in progress there settles at its closing '>' or quote,
// so the state is exact unless a comment, script or style opened more than LookBack
// characters before the stretch and is still open at it; then its text is read as page
// text. The cost is bounded by LookBack plus the stretch, whatever the document's size.
class SpellTokenizer
{
public:
    static constexpr int LookBack = 64 * 1024;
    static constexpr int MaxWordLength = 100;
    static constexpr int MaxRunLength = 1024;

    // The words of text that overlap [from, to), whole, in order.
    static QVector<SpellWord> Words(QStringView text, int from, int to);
    // The same over a document: reads at most LookBack characters before from and
    // MaxRunLength after to.
    static QVector<SpellWord> Words(const TextAccess &text, int from, int to);
};
