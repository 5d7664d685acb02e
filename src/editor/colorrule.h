#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// Colours are kept as the platform's BGR integers (0x00BBGGRR); values with the top
// bit set name system colours.
using TColor = quint32;

constexpr TColor clWindow = 0x80000005; // the window (background) colour
constexpr TColor clWindowText = 0x80000008; // the window's text colour

// Reads a colour text: one of the 16 basic HTML colour names, "#RRGGBB" / "RRGGBB"
// (hexadecimal RGB), or an integer with "$" ("$FF", "-$1"), read as RGB. Anything
// unreadable gives white (0xFFFFFF).
TColor ColorFromText(const QString &text);

// The 0xRRGGBB value of a colour for drawing; system colours resolve to the given
// window / window-text RGB values.
quint32 ColorToRgb(TColor color, quint32 windowRgb, quint32 windowTextRgb);
// The inverse for plain colours: 0xRRGGBB to BGR.
TColor ColorFromRgb(quint32 rgb);

enum TKeyDrawingType : quint8 {
    dtKeyShow = 0, // keyword list
    dtEventDraw = 1, // runs supplied by the OnDraw handler
    dtBeginEnd = 2, // begin/end delimited spans
    dtBeginLineEnd = 3 // begin delimiter to the end of the line
};

// One coloured run. Positions are indexes into the whole document; EndChar is inclusive.
struct TKeyDescr
{
    qint32 BeginChar = 0;
    qint32 EndChar = 0;
    TColor Color = 0;
    quint8 Order = 0; // the rule's ZOrder or one of the special orders below
    quint8 Keyword = 0; // 1 for a keyword match
    quint16 Reserved = 0;

    bool operator==(const TKeyDescr &o) const
    {
        return BeginChar == o.BeginChar && EndChar == o.EndChar && Color == o.Color && Order == o.Order
            && Keyword == o.Keyword;
    }
};
static_assert(sizeof(TKeyDescr) == 16, "TKeyDescr is a 16-byte record");

constexpr qint32 KeyDescrNone = 0x7FFFFFFF;
constexpr quint8 OrderHotSpotText = 252;
constexpr quint8 OrderHotSpotMarker = 253;
constexpr quint8 OrderSelection = 254;
constexpr quint8 OrderTab = 255;

// Text framed by two marker characters, shown underlined with the markers hidden.
struct THotSpot
{
    QChar BeginChar = QChar(30);
    QChar EndChar = QChar(31);
    TColor Color = 0xFF0000;
    TColor MarkerColor = clWindow;
    bool Active = false;
    bool Underlined = true;
};

// One entry of a rule's delimiter table; Begin is empty in unused entries.
struct TDelimiter
{
    QString Begin; // at most 6 characters, unless the rule keeps whole names
    QString End; // at most 6 characters, unless the rule keeps whole names
    TColor Color = 0;
};

struct TKeyword
{
    QString Text; // upper-cased unless the rule is case-sensitive
    quint8 Palette = 0; // 1..41 into the rule's palette; 0 = no colour of its own
};

// Where a tag name ends as HTML reads it: white space, "/", ">"; "<" too, so that a name
// never runs into the next tag.
inline bool EndsTagName(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f' || u == u'/' || u == u'>'
        || u == u'<';
}

// One colouring rule. Setting a list (or the drawing type) rebuilds the derived
// tables at once.
class TColorRule
{
public:
    static constexpr int DelimiterCount = 40;
    static constexpr int DelimiterLength = 6;
    static constexpr int PaletteSize = 41;
    static constexpr int KeywordLength = 31;

    TColorRule() = default;

    // Copies what a rule assignment copies: everything but IntChar and KeySelColor.
    void Assign(const TColorRule &other);

    quint8 ZOrder() const { return m_zOrder; }
    void setZOrder(quint8 z) { m_zOrder = z; }
    QString IntChar() const { return m_intChar; }
    void setIntChar(const QString &s) { m_intChar = s; }
    QStringList Keywords() const { return m_keywords; }
    void setKeywords(const QStringList &lines);
    QStringList KeyBegEndLst() const { return m_begEnd; }
    void setKeyBegEndLst(const QStringList &lines);
    QStringList KeyLineEndLst() const { return m_lineEnd; }
    void setKeyLineEndLst(const QStringList &lines);
    int KeyMaxHeight() const { return m_keyMaxHeight; }
    void setKeyMaxHeight(int h) { m_keyMaxHeight = h; }
    TKeyDrawingType KeyDrawingType() const { return m_drawingType; }
    void setKeyDrawingType(TKeyDrawingType t);
    bool KeyCase() const { return m_keyCase; }
    void setKeyCase(bool b);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool b) { m_enabled = b; }
    bool PartWord() const { return m_partWord; }
    void setPartWord(bool b) { m_partWord = b; }
    TColor DefKeyColor() const { return m_defKeyColor; }
    void setDefKeyColor(TColor c);
    TColor KeySelColor() const { return m_keySelColor; }
    void setKeySelColor(TColor c) { m_keySelColor = c; }
    TColor KeyBrushColor() const { return m_keyBrushColor; }
    void setKeyBrushColor(TColor c) { m_keyBrushColor = c; }
    // Tag rules of the program itself: delimiters are kept whole, and a begin delimiter
    // ending in a name counts only where that name ends in the text (the next character
    // is white space, "/", ">", "<" or the end), so "<A" never starts "<ABBR" and
    // "</HEAD" never "</HEADER". Off by default: rule lists as the user writes them keep
    // their 6-character delimiters and prefix matching.
    bool WholeNames() const { return m_wholeNames; }
    void setWholeNames(bool b);

    // Derived tables.
    // Delimiters in use: the table up to its first empty entry (from KeyBegEndLst
    // for dtBeginEnd, KeyLineEndLst for dtBeginLineEnd, none otherwise).
    int DelimiterUsed() const { return m_delimUsed; }
    const TDelimiter &Delimiter(int i) const { return m_delims[i]; }
    const QVector<TKeyword> &KeywordTable() const { return m_keywordTable; }
    const QVector<TColor> &Palette() const { return m_palette; }
    // The colour of a keyword entry: its palette colour or DefKeyColor.
    TColor KeywordColor(const TKeyword &k) const;
    bool HasEntries() const { return m_delimUsed > 0 || !m_keywordTable.isEmpty(); }

    // Re-parses every list.
    void Rebuild();

private:
    void rebuildDelimiters();
    void rebuildKeywords();
    TColor entryColor(const QString &text) const;

    quint8 m_zOrder = 0;
    QString m_intChar;
    QStringList m_keywords;
    QStringList m_begEnd;
    QStringList m_lineEnd;
    int m_keyMaxHeight = 1;
    TKeyDrawingType m_drawingType = dtBeginEnd;
    bool m_keyCase = false;
    bool m_enabled = true;
    bool m_partWord = false;
    TColor m_defKeyColor = 0x0000FF;
    TColor m_keySelColor = 0xFFFF;
    TColor m_keyBrushColor = clWindow;
    bool m_wholeNames = false;

    std::array<TDelimiter, DelimiterCount> m_delims;
    int m_delimUsed = 0;
    QVector<TKeyword> m_keywordTable;
    QVector<TColor> m_palette;
};

// The ordered collection of rules a control colours by.
class TDrawRules
{
public:
    TDrawRules() = default;
    TDrawRules(const TDrawRules &other) { Assign(other); }
    TDrawRules &operator=(const TDrawRules &other)
    {
        if (this != &other)
            Assign(other);
        return *this;
    }

    // Replaces the rules by copies of other's, item by item as TColorRule::Assign does.
    void Assign(const TDrawRules &other);

    int Count() const { return int(m_items.size()); }
    const TColorRule &Item(int i) const { return m_items[i]; }
    TColorRule &Item(int i) { return m_items[i]; }
    TColorRule &Add();
    void Clear();

    // True until the tables were rebuilt with at least one rule holding an entry.
    bool NeedsRebuild() const { return m_needsRebuild; }
    void RebuildIfNeeded();

private:
    QVector<TColorRule> m_items;
    bool m_needsRebuild = true;
};
