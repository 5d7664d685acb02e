#pragma once

#include "tags/tagrules.h"

#include <QString>

class TextAccess;

// One piece of markup: [start, end) in the text, from its "<" to just after its ">".
struct TagToken
{
    enum Kind {
        None,
        StartTag, // <name ...>
        EndTag, // </name ...>
        Comment, // <!-- ... -->
        Declaration, // <!DOCTYPE ...>, <?...>, </ ...> and other markup that pairs with nothing
    };
    Kind kind = None;
    int start = -1;
    int end = -1;
    QString name; // lower-case; tags only
    bool selfClosing = false; // a start tag written "<name ... />"

    bool isValid() const { return kind != None; }
    int length() const { return end - start; }
};

// The tag at a caret and its partner (opening <-> closing).
struct TagMatch
{
    enum Status {
        NoTag, // the caret is at no tag, or at one inside a comment or a script's raw text
        Single, // a tag that pairs with nothing: void element, "<x/>", comment, declaration
        Matched, // partner is the other tag of the pair
        ImpliedEnd, // an element whose end tag was left out, as HTML allows: it ends at elementEnd
        NoPartner, // the walk reached the text's edge without finding the partner
        TooFar, // the scan budget ran out before the partner was found
    };
    Status status = NoTag;
    TagToken tag; // the tag at the caret (NoTag: invalid)
    TagToken partner; // Matched only
    // The whole element, from its start tag's "<" to after its end tag's ">" (or to its
    // implied end), for Single, Matched and ImpliedEnd; -1 otherwise.
    int elementStart = -1;
    int elementEnd = -1;
};

// The element that holds a stretch of text.
struct ElementRange
{
    enum Status {
        Found,
        None, // no element holds it (the stretch is at the top level)
        TooFar, // the scan budget ran out first
    };
    Status status = None;
    int start = -1; // [start, end)
    int end = -1;
    TagToken open; // its start tag
    TagToken close; // its end tag; invalid for a void element or an implied end
};

// Pairs tags by walking the text outward from a position, never reading all of it: a
// walk takes nesting, void elements, end tags that HTML lets the author leave out,
// comments, declarations and the raw text of <script> and <style> into account, with
// names compared without regard to case. Every query reads at most scanBudget
// characters in all; when the answer lies further, the result says TooFar (a 50 MB
// document answers as fast as a small one). The text must outlive the matcher.
class TagMatcher
{
public:
    static constexpr int DefaultScanBudget = 2 * 1024 * 1024;

    explicit TagMatcher(const TextAccess &text, HtmlTagRules rules = HtmlTagRules::standard(),
        int scanBudget = DefaultScanBudget);

    // The tag at caret (the caret on its "<", inside it, or just after its ">"; a tag
    // starting at the caret wins over one ending there) and its partner.
    TagMatch matchAt(int caret) const;

    // The smallest element that holds [selStart, selEnd) and is larger than it: with a
    // caret on a tag, that tag's element; with an element selected, its parent. A
    // selection end inside a tag counts as the whole tag.
    ElementRange elementAround(int selStart, int selEnd) const;

    // True when pos lies inside a comment or inside the raw text of a <script>-like
    // element, where nothing that looks like a tag is one. Reads at most a quarter of the
    // scan budget back; false when the answer lies further.
    bool inOpaqueText(int pos) const;

    // The token that starts at pos (its "<"), invalid when none does. Exposed for tests.
    TagToken tokenAt(int pos) const;

    // The status bar texts for the two answers that need one.
    static QString tooFarText(); // "Znacznik do pary jest za daleko od kursora."
    static QString noPartnerText(); // "Ten znacznik nie ma pary."

private:
    const TextAccess &m_text;
    HtmlTagRules m_rules;
    int m_budget;
};
