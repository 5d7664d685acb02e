#pragma once

#include "editor/colorengine.h"

#include <QHash>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextLayout>
#include <QVector>
#include <memory>
#include <unordered_set>
#include <utility>

class QPainter;

// Draws a keyword run itself instead of letting it be coloured: key is the run's
// text, rect its place in viewport coordinates, color the control's text colour.
using TDrawKeyEvent
    = std::function<void(QPainter &canvas, const QString &key, const QRect &rect, const QColor &color)>;

// Characters [Position, Position + Length) of the document underlined with a wavy line
// (a misspelt word).
struct TWavyMark
{
    int Position = 0;
    int Length = 0;
    bool operator==(const TWavyMark &o) const { return Position == o.Position && Length == o.Length; }
};

// A plain-text editor that colours what is on screen by colour rules. Only the
// visible blocks (plus KeyMaxHeight - 1 blocks above, rule 0's value) are scanned;
// the result is applied as extra formats of the visible block layouts, so colours
// never enter the document or its undo history. The control brings its own document
// (with a layout that repaints only recoloured blocks); do not replace it.
//
// A block longer than LongBlock characters (a minified page, an inline picture) is
// scanned only around its shown stretch (LongBlockMargin characters each way, the start
// moved back to a tag's "<"), and its colours are drawn over the shown lines at paint
// time: new formats would make the control lay the whole block out again, which costs
// as much as the block is long.
//
// Events: handlers that hand data back (OnDraw, OnDrawKey) are callbacks set with
// setOnDraw / setOnDrawKey; plain notifications (OnHotSpotClick, OnHScroll,
// OnVScroll) are Qt signals.
class TColorMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TColorMemo(QWidget *parent = nullptr);
    ~TColorMemo() override;

    static constexpr int LongBlock = 16 * 1024;
    static constexpr int LongBlockMargin = 16 * 1024;

    // The rules; setting copies them. After changing rules in place through the
    // non-const accessor (switching one on or off), call UpdateColors(false).
    const TDrawRules &ColorRules() const { return m_rules; }
    TDrawRules &ColorRules() { return m_rules; }
    void setColorRules(const TDrawRules &rules);

    // Size of the array handed to OnDraw; 0 (the default) turns dtEventDraw rules off.
    int ColorLimMax() const { return m_colorLimMax; }
    void setColorLimMax(int n);
    // Recolour the whole screen on every change and colour the caret line up to the
    // caret in the text colour.
    bool RedrawAlways() const { return m_redrawAlways; }
    void setRedrawAlways(bool on) { m_redrawAlways = on; }
    // Setting copies.
    const THotSpot &HotSpot() const { return m_hotSpot; }
    void setHotSpot(const THotSpot &hotSpot);

    const TDrawEvent &OnDraw() const { return m_onDraw; }
    void setOnDraw(const TDrawEvent &handler) { m_onDraw = handler; }
    const TDrawKeyEvent &OnDrawKey() const { return m_onDrawKey; }
    void setOnDrawKey(const TDrawKeyEvent &handler);

    // The colouring pass: the caret's line only, or every visible line. Does nothing
    // while the control is hidden or disabled.
    virtual void UpdateColors(bool CurrentLineOnly);

    // The merged runs of the last pass, in document positions, ascending.
    const std::vector<TKeyDescr> &LastRuns() const { return m_runs; }

    // Tab characters kept in the text are drawn this many spaces of the font wide (one
    // space for a width of 1 or less); follows font changes.
    int TabWidth() const { return m_tabWidth; }
    void setTabWidth(int spaces);

    // How many blocks keep their shaped glyphs between paints (the visible ones).
    int GlyphCachedBlocks() const { return int(m_onScreen->size()); }

    // The characters on screen, [first, second): from the first line shown to the end of
    // the last one; of a long block only its shown stretch.
    std::pair<int, int> VisibleRange() const;

    // Wavy underlines, in document order. Their owner gives the marks of the lines on
    // screen; an edit drops the marks it touches and moves those after it, so nothing
    // is looked at again until the owner gives new ones. Only the marks on screen are
    // drawn, over the text as painted.
    void setWavyMarks(const QVector<TWavyMark> &marks, const QColor &color = QColor(220, 0, 0));
    const QVector<TWavyMark> &WavyMarks() const { return m_wavyMarks; }

Q_SIGNALS:
    // The text of a clicked hot spot.
    void OnHotSpotClick(const QString &SRC);
    void OnHScroll();
    void OnVScroll();

protected:
    // Called with the gathered input just before the engine runs: a subclass may
    // swap in other rules, an OnDraw handler or other options for this pass.
    virtual void BeforeColorPass(TColorPassInput &input);

    void paintEvent(QPaintEvent *e) override;
    void changeEvent(QEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    class ColourLayout;
    class ScreenMark;
    using ScreenMarkSet = std::unordered_set<ScreenMark *>;

    // What the colours on screen were computed for; a paint with another key recolours.
    struct PassKey
    {
        int firstBlock = -1;
        int width = -1;
        int height = -1;
        int revision = -1;
        int scrollX = -1;
        int scrollY = -1;
        bool operator==(const PassKey &o) const
        {
            return firstBlock == o.firstBlock && width == o.width && height == o.height
                && revision == o.revision && scrollX == o.scrollX && scrollY == o.scrollY;
        }
        bool operator!=(const PassKey &o) const { return !(*this == o); }
    };

    // Characters [from, to) of a block.
    struct Stretch
    {
        int from = 0;
        int to = 0;
    };

    PassKey currentKey() const;
    QTextBlock lastVisibleBlock(const QTextBlock &first) const;
    static bool isLong(const QTextBlock &block) { return block.length() - 1 > LongBlock; }
    Stretch shownStretch(const QTextBlock &block) const;
    // What the engine reads of a block; *covered gets the stretch whose colours that gives.
    Stretch scannedStretch(const QTextBlock &block, bool aboveScreen, Stretch *covered = nullptr) const;
    void runEngine(TColorPassInput &in, int base);
    void applyRuns(const QTextBlock &first, const QTextBlock &last, const std::vector<TKeyDescr> &runs);
    const QTextCharFormat &formatFor(const TKeyDescr &run, const QColor &window, const QColor &text);
    ScreenMark *markOnScreen(const QTextBlock &block);
    void releaseGlyphsOutside(int from, int to);
    bool longBlockShownUnscanned() const;
    void paintLongBlocks(const QRect &area);
    void paintLongLine(QPainter &painter, const QTextBlock &block, const QTextLine &line, const QPointF &at,
        const std::vector<TKeyDescr> &runs, const QRect &area);
    QString hotSpotWindow(const QTextCursor &at, int *caretInWindow) const;
    void rememberKeywordRuns(int from, int to, const std::vector<TKeyDescr> &runs);
    void drawKeys();
    void onTextChanged();
    void onCaretMoved();
    void applyTabStops();
    void onContentsChange(int from, int charsRemoved, int charsAdded);
    void paintWavyMarks(const QRect &area);

    ColourLayout *m_layout = nullptr; // owned by the document
    TDrawRules m_rules;
    TColorEngine m_engine;
    THotSpot m_hotSpot;
    TDrawEvent m_onDraw;
    TDrawKeyEvent m_onDrawKey;
    int m_colorLimMax = 0;
    int m_tabWidth = 4;
    bool m_redrawAlways = false;

    QString m_stretch;
    std::vector<TKeyDescr> m_runs; // the last pass's runs
    std::vector<TKeyDescr> m_keyRuns; // keyword runs on screen, for OnDrawKey
    QVector<QTextLayout::FormatRange> m_ranges;
    // One shared format per look, so equal ranges compare by pointer and merge.
    QHash<quint64, QTextCharFormat> m_formats;
    // Blocks on screen, whose layouts keep their glyphs; the marks leave it when their
    // blocks go.
    std::shared_ptr<ScreenMarkSet> m_onScreen = std::make_shared<ScreenMarkSet>();
    PassKey m_key;
    int m_prevLineCount = 1;
    int m_prevLength = 0;
    bool m_hadSelection = false;
    bool m_inPass = false;
    bool m_inFullPaint = false;
    bool m_onHotSpot = false;
    QVector<TWavyMark> m_wavyMarks;
    QColor m_wavyColor;
};
