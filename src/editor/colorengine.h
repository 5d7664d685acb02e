#pragma once

#include "editor/colorrule.h"

#include <QHash>
#include <QStringView>
#include <functional>
#include <vector>

// Supplies runs for a dtEventDraw rule. fromPos is the scanned stretch; the handler
// fills up to capacity entries of a (positions relative to fromPos, end inclusive;
// order 0 takes the rule's ZOrder) and sets itemsCount to how many it filled.
using TDrawEvent = std::function<void(
    const TColorRule &sender, QStringView fromPos, TKeyDescr *a, int capacity, int &itemsCount)>;

// Everything one colouring pass looks at.
struct TColorPassInput
{
    QStringView Text; // the scanned stretch: whole lines, '\n' between them
    int Base = 0; // document position of Text[0]
    int CaretPos = 0; // document position of the caret
    int CaretLineStart = 0; // document position of the caret line's first character
    int SelStart = 0;
    int SelLength = 0;
    const THotSpot *HotSpot = nullptr;
    bool WantTabs = false;
    TColor FontColor = 0;
    TColor BackColor = 0xFFFFFF;
    bool RedrawAlways = false;
    const TDrawRules *Rules = nullptr;
    const TDrawEvent *OnDraw = nullptr;
    int ColorLimMax = 0;
};

// The colouring pass: collects the runs of hot spots, tabs, the caret line, every
// enabled rule and the selection over the stretch, merges them by order (higher
// wins, the later run wins at equal order) and returns the merged runs, ascending,
// with document positions, clipped to the stretch. Characters no run covers are
// absent. The object keeps its buffers between passes; reuse one per control.
class TColorEngine
{
public:
    const std::vector<TKeyDescr> &Run(const TColorPassInput &in);
    const std::vector<TKeyDescr> &Result() const { return m_result; }

private:
    struct Cell
    {
        TColor color;
        quint8 order;
        quint8 keyword;
        quint8 set;
    };

    void add(int begin, int end, TColor color, quint8 order, quint8 keyword);
    void collectHotSpots(const THotSpot &hs);
    void collectDelimited(const TColorRule &rule, bool toLineEnd);
    void collectKeywords(const TColorRule &rule);
    void collectEvent(const TColorRule &rule, const TColorPassInput &in);
    // Next position >= from where needle starts, or -1; uses the first-character index.
    int find(QStringView needle, int from);
    // As find, for a rule that keeps whole names: where needle ends in a letter or digit,
    // only an occurrence after which the name ends counts. A needle that is a tag's start
    // ("<TD", "</td") is looked up among the tag names of the stretch.
    int findWhole(QStringView needle, int from);
    void buildNameIndex();
    const std::vector<int> &positionsOf(char16_t c);

    QStringView m_text;
    std::vector<Cell> m_cells;
    std::vector<TKeyDescr> m_result;
    std::vector<TKeyDescr> m_eventArray;
    QString m_upper;
    bool m_upperReady = false;
    // Positions of characters that begin delimiters, built on demand per pass.
    std::vector<std::pair<char16_t, std::vector<int>>> m_charIndex;
    int m_charIndexUsed = 0;
    // Every tag start of the stretch as written, "<" or "</" and the whole name, with its
    // positions: hundreds of tag rules each find their tags without a scan of their own.
    QHash<QStringView, std::vector<int>> m_names;
    bool m_namesReady = false;
};
