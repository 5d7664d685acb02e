#include "editor/ui/tcolormemo.h"

#include "editor/ui/documenttextaccess.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QColor toQColor(TColor c, const QColor &window, const QColor &text)
{
    const quint32 rgb = ColorToRgb(c, window.rgb() & 0xFFFFFFu, text.rgb() & 0xFFFFFFu);
    return QColor::fromRgb(QRgb(0xFF000000u | rgb));
}

// A line of more characters than this (a long block without wrapping) is drawn only
// where the viewport shows it.
constexpr int kWholeLineDrawn = 4096;

// A layout frees its shaped glyphs at the end of a draw when its cache is off. A draw
// that shows none of its lines does only that, where laying the block out again to
// drop them would cost as much as the block is long.
void freeGlyphs(QTextLayout *layout)
{
    static QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&pixel);
    layout->draw(&painter, QPointF(0, 0), {}, QRectF(0, -2, 1, 1));
}

// The first line of a layout whose bottom is below y (in layout coordinates), or
// lineCount() when there is none; lines are in order of y.
int firstLineEndingBelow(const QTextLayout *layout, qreal y)
{
    int lo = 0;
    int hi = layout->lineCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        const QTextLine line = layout->lineAt(mid);
        if (line.y() + line.height() <= y)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// The line of a layout that holds the character at pos (the last line for the end).
QTextLine lineHolding(const QTextLayout *layout, int pos)
{
    int lo = 0;
    int hi = layout->lineCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (layout->lineAt(mid).textStart() <= pos)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo > 0 ? layout->lineAt(lo - 1) : QTextLine();
}

} // namespace

// The document layout of a TColorMemo. A change of colours alone relayouts only the
// blocks whose formats changed and repaints only those; the stock layout would treat
// the change as an edit spanning two blocks and repaint the whole viewport.
class TColorMemo::ColourLayout : public QPlainTextDocumentLayout
{
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    bool coloursOnly = false;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override
    {
        QTextDocument *doc = document();
        if (!coloursOnly || doc->blockCount() != m_blocks) {
            QPlainTextDocumentLayout::documentChanged(from, charsRemoved, charsAdded);
            m_blocks = doc->blockCount();
            return;
        }
        // One character inside one block is the stock layout's cheap case.
        const int end = from + std::max(charsRemoved, charsAdded);
        for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() < end; b = b.next())
            QPlainTextDocumentLayout::documentChanged(b.position(), 0, 1);
    }

private:
    int m_blocks = 1;
};

// Marks a block on screen. Its layout keeps its shaped glyphs: the stock layouts shape
// every visible line again on every paint (and coloured lines in many pieces); keeping
// the glyphs of the blocks on screen makes a paint only draw. A long block's mark also
// holds its colours (runs relative to the block), drawn at paint time. The document
// deletes the mark with its block, so the set never names a block that is gone.
class TColorMemo::ScreenMark : public QTextBlockUserData
{
public:
    ScreenMark(std::shared_ptr<ScreenMarkSet> set, const QTextBlock &block)
        : m_set(std::move(set))
        , m_block(block)
    {
        m_set->insert(this);
    }
    ~ScreenMark() override { m_set->erase(this); }
    const QTextBlock &block() const { return m_block; }

    std::vector<TKeyDescr> runs;
    Stretch covered; // the stretch the runs hold good for

private:
    std::shared_ptr<ScreenMarkSet> m_set;
    QTextBlock m_block;
};

TColorMemo::TColorMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    auto *doc = new QTextDocument(this);
    m_layout = new ColourLayout(doc);
    doc->setDocumentLayout(m_layout);
    doc->setDefaultFont(font());
    setDocument(doc);
    applyTabStops();
    m_key = PassKey();
    connect(this, &QPlainTextEdit::textChanged, this, &TColorMemo::onTextChanged);
    connect(doc, &QTextDocument::contentsChange, this, &TColorMemo::onContentsChange);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &TColorMemo::onCaretMoved);
    connect(this, &QPlainTextEdit::selectionChanged, this, &TColorMemo::onCaretMoved);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        Q_EMIT OnVScroll();
        UpdateColors(false);
    });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        Q_EMIT OnHScroll();
        UpdateColors(false);
    });
}

TColorMemo::~TColorMemo() = default;

void TColorMemo::setColorRules(const TDrawRules &rules)
{
    m_rules = rules;
    UpdateColors(false);
}

void TColorMemo::setTabWidth(int spaces)
{
    m_tabWidth = spaces;
    applyTabStops();
}

void TColorMemo::applyTabStops()
{
    const qreal distance = QFontMetricsF(document()->defaultFont()).horizontalAdvance(QLatin1Char(' '))
        * std::max(m_tabWidth, 1);
    if (!qFuzzyCompare(tabStopDistance(), distance))
        setTabStopDistance(distance);
}

void TColorMemo::changeEvent(QEvent *e)
{
    QPlainTextEdit::changeEvent(e);
    // The control has passed the new font to the document by now.
    if (e->type() == QEvent::FontChange)
        applyTabStops();
}

void TColorMemo::setColorLimMax(int n) { m_colorLimMax = std::max(0, n); }

void TColorMemo::setHotSpot(const THotSpot &hotSpot)
{
    m_hotSpot = hotSpot;
    // The pointer shape over a hot spot needs moves without a button held.
    if (m_hotSpot.Active)
        viewport()->setMouseTracking(true);
    UpdateColors(false);
}

void TColorMemo::setOnDrawKey(const TDrawKeyEvent &handler)
{
    m_onDrawKey = handler;
    m_keyRuns.clear();
    UpdateColors(false);
}

void TColorMemo::BeforeColorPass(TColorPassInput &) { }

TColorMemo::PassKey TColorMemo::currentKey() const
{
    PassKey k;
    k.firstBlock = firstVisibleBlock().blockNumber();
    k.width = viewport()->width();
    k.height = viewport()->height();
    k.revision = document()->revision();
    k.scrollX = horizontalScrollBar()->value();
    k.scrollY = verticalScrollBar()->value();
    return k;
}

QTextBlock TColorMemo::lastVisibleBlock(const QTextBlock &first) const
{
    // Blocks whose top is inside the viewport; a partly shown last line is coloured too.
    const qreal bottom = viewport()->height();
    qreal top = blockBoundingGeometry(first).translated(contentOffset()).top();
    QTextBlock last = first;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        if (top >= bottom)
            break;
        last = b;
        if (b.isVisible())
            top += blockBoundingRect(b).height();
    }
    return last;
}

TColorMemo::Stretch TColorMemo::shownStretch(const QTextBlock &block) const
{
    Stretch shown;
    const QTextLayout *layout = block.layout();
    if (!block.isVisible() || !layout || layout->lineCount() == 0)
        return shown;
    const QPointF offset = contentOffset();
    const qreal top = blockBoundingGeometry(block).translated(offset).top();
    const qreal height = viewport()->height();
    const int first = firstLineEndingBelow(layout, -top);
    if (first >= layout->lineCount() || layout->lineAt(first).y() + top >= height)
        return shown;
    int last = first;
    while (last + 1 < layout->lineCount() && layout->lineAt(last + 1).y() + top < height)
        ++last;
    const QTextLine firstLine = layout->lineAt(first);
    const QTextLine lastLine = layout->lineAt(last);
    shown.from = firstLine.textStart();
    shown.to = lastLine.textStart() + lastLine.textLength();
    if (first == last && firstLine.textLength() > kWholeLineDrawn) {
        // One line that runs past the viewport's sides: what lies between them.
        const qreal left = -offset.x();
        shown.from = firstLine.xToCursor(left);
        shown.to = std::max(shown.from, firstLine.xToCursor(left + viewport()->width()) + 1);
    }
    const int len = block.length() - 1;
    shown.from = std::clamp(shown.from, 0, len);
    shown.to = std::clamp(shown.to, shown.from, len);
    return shown;
}

TColorMemo::Stretch TColorMemo::scannedStretch(
    const QTextBlock &block, bool aboveScreen, Stretch *covered) const
{
    const int len = block.length() - 1;
    if (!isLong(block))
        return { 0, len };
    Stretch s { len, len };
    if (!aboveScreen) {
        s = shownStretch(block);
        if (s.from >= s.to) {
            // A pass for the caret line alone while it is out of sight: around the caret.
            const QTextCursor caret = textCursor();
            if (caret.block() != block)
                return { len, len };
            s.from = s.to = caret.positionInBlock();
        }
    }
    // Spans that begin before the shown stretch or end after it are found within the
    // margin. The scan starts at a tag's "<", where no span is open in well-formed markup:
    // begun inside a quoted value, it would pair every quote after it the wrong way.
    const int wanted = std::max(0, s.from - LongBlockMargin);
    if (covered)
        *covered = { wanted, std::min(len, s.to + LongBlockMargin) };
    int from = wanted;
    if (wanted > 0) {
        const int back = std::max(0, wanted - LongBlockMargin);
        const qsizetype before
            = DocumentMid(document(), block.position() + back, wanted - back).lastIndexOf(QLatin1Char('<'));
        if (before >= 0) {
            from = back + int(before);
        } else {
            const int ahead = std::min(len, s.to + LongBlockMargin);
            const qsizetype after = DocumentMid(document(), block.position() + wanted, ahead - wanted)
                                        .indexOf(QLatin1Char('<'));
            if (after >= 0)
                from = wanted + int(after);
        }
    }
    return { from, std::min(len, std::max(from, s.to + LongBlockMargin)) };
}

void TColorMemo::runEngine(TColorPassInput &in, int base)
{
    if (m_stretch.isEmpty())
        return;
    in.Text = m_stretch;
    in.Base = base;
    BeforeColorPass(in);
    const std::vector<TKeyDescr> &runs = m_engine.Run(in);
    m_runs.insert(m_runs.end(), runs.begin(), runs.end());
    m_stretch.resize(0);
}

void TColorMemo::UpdateColors(bool CurrentLineOnly)
{
    if (m_inPass || !isVisible() || !isEnabled())
        return;
    const QScopedValueRollback<bool> guard(m_inPass, true);

    m_rules.RebuildIfNeeded();
    const QTextCursor caret = textCursor();
    QTextBlock first = CurrentLineOnly ? caret.block() : firstVisibleBlock();
    if (!first.isValid())
        return;
    const QTextBlock last = CurrentLineOnly ? first : lastVisibleBlock(first);

    // Spans may begin up to KeyMaxHeight - 1 lines above what is shown.
    QTextBlock scan = first;
    const int back = m_rules.Count() > 0 ? m_rules.Item(0).KeyMaxHeight() - 1 : 0;
    for (int i = 0; i < back && scan.previous().isValid(); ++i)
        scan = scan.previous();

    m_runs.clear();
    if (m_rules.Count() > 0 || m_hotSpot.Active) {
        const QPalette pal = palette();
        TColorPassInput in;
        in.CaretPos = caret.position();
        in.CaretLineStart = caret.block().position();
        in.SelStart = caret.selectionStart();
        in.SelLength = caret.selectionEnd() - caret.selectionStart();
        in.HotSpot = &m_hotSpot;
        in.WantTabs = !tabChangesFocus();
        in.FontColor = ColorFromRgb(pal.color(QPalette::Text).rgb());
        in.BackColor = ColorFromRgb(pal.color(QPalette::Base).rgb());
        in.RedrawAlways = m_redrawAlways;
        in.Rules = &m_rules;
        in.OnDraw = &m_onDraw;
        in.ColorLimMax = m_colorLimMax;
        // Whole lines, '\n' between them; a long block gives only its scanned stretch,
        // and where it is cut the engine runs on what was gathered so far.
        m_stretch.resize(0);
        int base = scan.position();
        for (QTextBlock b = scan; b.isValid(); b = b.next()) {
            const int len = b.length() - 1;
            Stretch covered;
            const Stretch part = scannedStretch(b, b.position() < first.position(), &covered);
            if (isLong(b) && b.position() >= first.position())
                if (ScreenMark *mark = markOnScreen(b))
                    mark->covered = covered;
            if (part.from > 0) {
                runEngine(in, base);
                base = b.position() + part.from;
            }
            if (part.from == 0 && part.to == len)
                m_stretch += b.text();
            else
                m_stretch += DocumentMid(document(), b.position() + part.from, part.to - part.from);
            if (part.to < len) {
                runEngine(in, base);
                base = b.position() + len + 1;
            } else if (b != last || b.next().isValid()) {
                m_stretch += QLatin1Char('\n');
            }
            if (b == last)
                break;
        }
        runEngine(in, base);
    }
    applyRuns(first, last, m_runs);
    if (!CurrentLineOnly)
        releaseGlyphsOutside(first.position(), last.position() + last.length());
    if (m_onDrawKey)
        rememberKeywordRuns(first.position(), last.position() + last.length(), m_runs);

    if (CurrentLineOnly)
        m_key.revision = document()->revision();
    else
        m_key = currentKey();
}

const QTextCharFormat &TColorMemo::formatFor(const TKeyDescr &run, const QColor &window, const QColor &text)
{
    const QColor colour = toQColor(run.Color, window, text);
    const int look = run.Order == OrderHotSpotMarker            ? 1
        : run.Order == OrderHotSpotText && m_hotSpot.Underlined ? 2
                                                                : 0;
    const quint64 key = (quint64(colour.rgb()) << 2) | quint64(look);
    auto it = m_formats.find(key);
    if (it != m_formats.end())
        return *it;
    QTextCharFormat f;
    f.setForeground(colour);
    if (look == 1)
        f.setBackground(colour); // the marker disappears into its own colour
    else if (look == 2)
        f.setFontUnderline(true);
    return *m_formats.insert(key, f);
}

TColorMemo::ScreenMark *TColorMemo::markOnScreen(const QTextBlock &block)
{
    if (auto *mark = dynamic_cast<ScreenMark *>(block.userData()))
        return mark;
    QTextLayout *layout = block.layout();
    // Only a block that can carry the mark, or its glyphs could never be let go.
    if (!layout || block.userData())
        return nullptr;
    layout->setCacheEnabled(true);
    QTextBlock b = block;
    auto *mark = new ScreenMark(m_onScreen, block);
    b.setUserData(mark);
    return mark;
}

void TColorMemo::releaseGlyphsOutside(int from, int to)
{
    std::vector<QTextBlock> gone;
    for (const ScreenMark *mark : *m_onScreen) {
        const int pos = mark->block().position();
        if (pos < from || pos >= to)
            gone.push_back(mark->block());
    }
    for (QTextBlock &b : gone) {
        b.setUserData(nullptr);
        if (QTextLayout *layout = b.layout()) {
            layout->setCacheEnabled(false);
            freeGlyphs(layout);
        }
    }
}

void TColorMemo::applyRuns(
    const QTextBlock &first, const QTextBlock &last, const std::vector<TKeyDescr> &runs)
{
    int dirtyFrom = -1;
    int dirtyTo = -1;
    bool longChanged = false;
    const QPalette pal = palette();
    const QColor window = pal.color(QPalette::Base);
    const QColor text = pal.color(QPalette::Text);
    auto it = std::lower_bound(runs.begin(), runs.end(), first.position(),
        [](const TKeyDescr &k, int pos) { return k.EndChar < pos; });
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        const int pos = b.position();
        const int textEnd = pos + b.length() - 1; // the block separator is never coloured
        const bool isLongBlock = isLong(b);
        ScreenMark *mark = markOnScreen(b);
        std::vector<TKeyDescr> blockRuns;
        m_ranges.resize(0);
        while (it != runs.end() && it->EndChar < pos)
            ++it;
        for (auto k = it; k != runs.end() && k->BeginChar < textEnd; ++k) {
            if (k->Keyword && m_onDrawKey)
                continue; // drawn by the handler over the plain text
            const int from = std::max(k->BeginChar, pos);
            const int to = std::min(k->EndChar, textEnd - 1);
            if (to < from)
                continue;
            if (isLongBlock) {
                TKeyDescr r = *k;
                r.BeginChar = from - pos;
                r.EndChar = to - pos;
                blockRuns.push_back(r);
                continue;
            }
            QTextLayout::FormatRange r;
            r.start = from - pos;
            r.length = to - from + 1;
            r.format = formatFor(*k, window, text);
            // Runs that differ only in order look the same: one range draws faster.
            if (!m_ranges.isEmpty() && m_ranges.last().start + m_ranges.last().length == r.start
                && m_ranges.last().format == r.format)
                m_ranges.last().length += r.length;
            else
                m_ranges.append(r);
        }
        if (isLongBlock && mark && mark->runs != blockRuns) {
            mark->runs = std::move(blockRuns);
            longChanged = true;
        }
        // A long block's colours are drawn at paint time; it keeps no formats.
        QTextLayout *layout = b.layout();
        if (layout && layout->formats() != m_ranges) {
            layout->setFormats(m_ranges);
            if (dirtyFrom < 0)
                dirtyFrom = pos;
            dirtyTo = pos + b.length();
        }
        if (b == last)
            break;
    }
    // One relayout of the changed blocks; it changes no text, so no change signal follows.
    if (dirtyFrom >= 0) {
        const QScopedValueRollback<bool> coloursOnly(m_layout->coloursOnly, true);
        document()->markContentsDirty(dirtyFrom, dirtyTo - dirtyFrom);
    }
    // The paint under way draws the new colours itself when it covers the whole viewport.
    if (longChanged && !m_inFullPaint)
        viewport()->update();
}

void TColorMemo::rememberKeywordRuns(int from, int to, const std::vector<TKeyDescr> &runs)
{
    m_keyRuns.erase(std::remove_if(m_keyRuns.begin(), m_keyRuns.end(),
                        [&](const TKeyDescr &k) { return k.BeginChar >= from && k.BeginChar < to; }),
        m_keyRuns.end());
    for (const TKeyDescr &k : runs)
        if (k.Keyword && k.BeginChar >= from && k.BeginChar < to)
            m_keyRuns.push_back(k);
    std::sort(m_keyRuns.begin(), m_keyRuns.end(),
        [](const TKeyDescr &a, const TKeyDescr &b) { return a.BeginChar < b.BeginChar; });
}

void TColorMemo::paintEvent(QPaintEvent *e)
{
    // A pass started from here needs no further repaint when this paint covers it all.
    const QScopedValueRollback<bool> painting(m_inFullPaint, e->rect().contains(viewport()->rect()));
    // Anything that moved the text under the viewport since the last pass.
    if (currentKey() != m_key || longBlockShownUnscanned())
        UpdateColors(false);
    QPlainTextEdit::paintEvent(e);
    paintLongBlocks(e->rect());
    if (m_onDrawKey && !m_keyRuns.empty())
        drawKeys();
    paintWavyMarks(e->rect());
}

bool TColorMemo::longBlockShownUnscanned() const
{
    // A new font or wrapping shows other characters of a long block at the same scroll.
    if (m_rules.Count() == 0 && !m_hotSpot.Active)
        return false;
    const qreal height = viewport()->height();
    const QPointF offset = contentOffset();
    QTextBlock b = firstVisibleBlock();
    qreal top = b.isValid() ? blockBoundingGeometry(b).translated(offset).top() : 0;
    for (; b.isValid() && top < height; b = b.next()) {
        if (!b.isVisible())
            continue;
        if (isLong(b)) {
            const auto *mark = dynamic_cast<const ScreenMark *>(b.userData());
            const Stretch shown = shownStretch(b);
            if ((mark || !b.userData()) && shown.from < shown.to
                && (!mark || shown.from < mark->covered.from || shown.to > mark->covered.to))
                return true;
        }
        top += blockBoundingRect(b).height();
    }
    return false;
}

void TColorMemo::paintLongBlocks(const QRect &area)
{
    if (!isEnabled())
        return;
    const QPointF offset = contentOffset();
    std::optional<QPainter> painter;
    QTextBlock b = firstVisibleBlock();
    qreal top = b.isValid() ? blockBoundingGeometry(b).translated(offset).top() : 0;
    for (; b.isValid() && top <= area.bottom(); b = b.next()) {
        if (!b.isVisible())
            continue;
        const qreal bottom = top + blockBoundingRect(b).height();
        const auto *mark = isLong(b) ? dynamic_cast<const ScreenMark *>(b.userData()) : nullptr;
        const QTextLayout *layout = b.layout();
        // Lines with an input method's text in them stay as the control draws them.
        if (mark && !mark->runs.empty() && bottom >= area.top() && layout
            && layout->preeditAreaText().isEmpty() && b.textDirection() == Qt::LeftToRight) {
            for (int i = firstLineEndingBelow(layout, area.top() - top); i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                if (top + line.y() > area.bottom())
                    break;
                if (!painter)
                    painter.emplace(viewport());
                paintLongLine(*painter, b, line, QPointF(offset.x(), top), mark->runs, area);
            }
        }
        top = bottom;
    }
}

// Draws what the viewport shows of one line of a long block again, coloured: its own
// small layout of the shown characters takes the place of the control's drawing there,
// with the selection drawn as the control draws it. The caret's pixels are left alone.
void TColorMemo::paintLongLine(QPainter &painter, const QTextBlock &block, const QTextLine &line,
    const QPointF &at, const std::vector<TKeyDescr> &runs, const QRect &area)
{
    const int lineFrom = line.textStart();
    const int lineTo = lineFrom + line.textLength();
    int from = lineFrom;
    int to = lineTo;
    if (line.textLength() > kWholeLineDrawn) {
        // A character cut by the viewport's edge is drawn whole.
        from = std::max(lineFrom, line.xToCursor(area.left() - at.x()) - 2);
        to = std::min(lineTo, line.xToCursor(area.right() + 1 - at.x()) + 2);
    }
    auto it = std::lower_bound(
        runs.begin(), runs.end(), from, [](const TKeyDescr &k, int pos) { return k.EndChar < pos; });
    if (from >= to || it == runs.end() || it->BeginChar >= to)
        return; // nothing coloured here: the control's drawing stands

    const QPalette pal = palette();
    const QColor window = pal.color(QPalette::Base);
    const QColor textColour = pal.color(QPalette::Text);
    QVector<QTextLayout::FormatRange> ranges;
    for (; it != runs.end() && it->BeginChar < to; ++it) {
        const int a = std::max(it->BeginChar, from);
        const int z = std::min(it->EndChar + 1, to);
        if (z > a)
            ranges.append({ a - from, z - a, formatFor(*it, window, textColour) });
    }
    QVector<QTextLayout::FormatRange> selections;
    const QTextCursor caret = textCursor();
    const int blockPos = block.position();
    const int selFrom = std::max(caret.selectionStart() - blockPos, from);
    const int selTo = std::min(caret.selectionEnd() - blockPos, to);
    if (caret.hasSelection() && selFrom < selTo) {
        const QPalette::ColorGroup group = hasFocus() ? QPalette::Active : QPalette::Inactive;
        QTextLayout::FormatRange sel { selFrom - from, selTo - selFrom, QTextCharFormat() };
        sel.format.setBackground(pal.brush(group, QPalette::Highlight));
        sel.format.setForeground(pal.brush(group, QPalette::HighlightedText));
        selections.append(sel);
    }

    const QString text = DocumentMid(document(), blockPos + from, to - from);
    QTextLayout own(text, document()->defaultFont());
    QTextOption option = block.layout()->textOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    const qreal x0 = line.cursorToX(from);
    if (from > lineFrom && text.contains(QLatin1Char('\t'))) {
        // Tabs stop at multiples of the distance from the line's start, which this layout
        // does not begin at: its stops are moved by as much.
        const qreal step = option.tabStopDistance() > 0 ? option.tabStopDistance() : 80;
        const qreal shift = std::fmod(x0 - line.x(), step);
        const qreal width
            = QFontMetricsF(own.font()).horizontalAdvance(text) + step * text.count(QLatin1Char('\t'));
        QList<QTextOption::Tab> stops;
        for (int k = 1; k * step - shift <= width + step; ++k)
            stops.append(QTextOption::Tab(k * step - shift, QTextOption::LeftTab));
        option.setTabs(stops);
    }
    own.setTextOption(option);
    own.setFormats(ranges);
    own.beginLayout();
    QTextLine ownLine = own.createLine();
    ownLine.setPosition(QPointF(x0, line.y()));
    ownLine.setLineWidth(1e6);
    own.endLayout();

    const QRect band
        = QRectF(at.x() + x0, at.y() + line.y(), ownLine.cursorToX(int(text.size())) - x0, line.height())
              .toAlignedRect();
    QRegion clip = QRegion(band) & area;
    const int caretRel = caret.position() - blockPos;
    if (caret.block() == block && caretRel >= from && caretRel <= to) {
        const int x = int(std::floor(at.x() + ownLine.cursorToX(caretRel - from)));
        clip -= QRect(x, band.top(), cursorWidth() + 1, band.height());
    }
    if (clip.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(clip);
    painter.fillRect(band, pal.brush(QPalette::Base));
    own.draw(&painter, at, selections);
    painter.restore();
}

void TColorMemo::drawKeys()
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QFontMetrics fm(font());
    const QColor textColour = palette().color(QPalette::Text);
    const QPointF offset = contentOffset();
    QTextBlock block;
    Stretch shown;
    for (const TKeyDescr &k : m_keyRuns) {
        if (!block.isValid() || !block.contains(k.BeginChar)) {
            block = document()->findBlock(k.BeginChar);
            // Of a long block only the shown stretch, never its many lines out of sight.
            shown = block.isValid() && isLong(block) ? shownStretch(block) : Stretch { 0, block.length() };
        }
        if (!block.isValid() || !block.isVisible() || !block.layout())
            continue;
        const int rel = k.BeginChar - block.position();
        if (rel < shown.from || rel >= shown.to)
            continue;
        const QRectF geometry = blockBoundingGeometry(block).translated(offset);
        if (geometry.bottom() < 0 || geometry.top() > viewport()->height())
            continue;
        const QString key = DocumentMid(document(), k.BeginChar, k.EndChar - k.BeginChar + 1);
        const QTextLine line = lineHolding(block.layout(), rel);
        if (!line.isValid())
            continue;
        const QRect rect(int(geometry.left() + line.cursorToX(rel)), int(geometry.top() + line.y()),
            fm.horizontalAdvance(key), fm.height());
        m_onDrawKey(painter, key, rect, textColour);
    }
}

void TColorMemo::onTextChanged()
{
    const int lines = blockCount();
    const int length = document()->characterCount() - 1;
    // A character typed on the same line only touches the caret's line.
    const bool lineOnly = !m_redrawAlways && lines == m_prevLineCount && length == m_prevLength + 1;
    m_prevLineCount = lines;
    m_prevLength = length;
    UpdateColors(lineOnly);
}

std::pair<int, int> TColorMemo::VisibleRange() const
{
    const QTextBlock first = firstVisibleBlock();
    if (!first.isValid())
        return { 0, 0 };
    const QTextBlock last = lastVisibleBlock(first);
    int from = first.position();
    int to = last.position() + last.length() - 1;
    if (isLong(first)) {
        const Stretch s = shownStretch(first);
        from += s.from;
        if (first == last)
            to = first.position() + s.to;
    }
    if (last != first && isLong(last))
        to = last.position() + shownStretch(last).to;
    return { from, std::max(from, to) };
}

void TColorMemo::setWavyMarks(const QVector<TWavyMark> &marks, const QColor &color)
{
    if (marks == m_wavyMarks && color == m_wavyColor)
        return;
    m_wavyMarks = marks;
    m_wavyColor = color;
    viewport()->update();
}

void TColorMemo::onContentsChange(int from, int charsRemoved, int charsAdded)
{
    if (m_wavyMarks.isEmpty())
        return;
    // A mark that touches the change is a word being edited: it goes until the owner
    // looks again.
    const int end = from + charsRemoved;
    const int shift = charsAdded - charsRemoved;
    QVector<TWavyMark> kept;
    kept.reserve(m_wavyMarks.size());
    for (TWavyMark m : std::as_const(m_wavyMarks)) {
        if (m.Position + m.Length < from) {
            kept.append(m);
        } else if (m.Position > end) {
            m.Position += shift;
            kept.append(m);
        }
    }
    if (kept.size() != m_wavyMarks.size())
        viewport()->update();
    m_wavyMarks = std::move(kept);
}

// A zigzag under each shown mark, line by line of its block; marks off screen cost a
// comparison each.
void TColorMemo::paintWavyMarks(const QRect &area)
{
    if (m_wavyMarks.isEmpty())
        return;
    const auto [from, to] = VisibleRange();
    auto it = std::lower_bound(m_wavyMarks.cbegin(), m_wavyMarks.cend(), from,
        [](const TWavyMark &m, int pos) { return m.Position + m.Length <= pos; });
    if (it == m_wavyMarks.cend() || it->Position >= to)
        return;
    QPainter painter(viewport());
    painter.setClipRect(area);
    painter.setPen(QPen(m_wavyColor, 1));
    const QPointF offset = contentOffset();
    constexpr qreal step = 2;
    QTextBlock block;
    for (; it != m_wavyMarks.cend() && it->Position < to; ++it) {
        if (!block.isValid() || !block.contains(it->Position))
            block = document()->findBlock(it->Position);
        const QTextLayout *layout = block.isValid() && block.isVisible() ? block.layout() : nullptr;
        if (!layout || layout->lineCount() == 0)
            continue;
        const QPointF top = blockBoundingGeometry(block).translated(offset).topLeft();
        int rel = it->Position - block.position();
        const int end = std::min(rel + it->Length, block.length() - 1);
        while (rel < end) {
            const QTextLine line = lineHolding(layout, rel);
            if (!line.isValid())
                break;
            const int stop = std::min(end, line.textStart() + line.textLength());
            const qreal x1 = std::max<qreal>(top.x() + line.cursorToX(rel), area.left() - step);
            const qreal x2 = std::min<qreal>(top.x() + line.cursorToX(stop), area.right() + step);
            const qreal y = top.y() + line.y() + line.ascent() + 1;
            if (x2 > x1 && y < area.bottom() + 4 && y + 4 > area.top()) {
                QPolygonF wave;
                int i = 0;
                for (qreal x = x1; x < x2 + step; x += step, ++i)
                    wave << QPointF(std::min(x, x2), y + (i % 2 ? step : 0));
                painter.drawPolyline(wave);
            }
            if (stop <= rel)
                break;
            rel = stop;
        }
    }
}

void TColorMemo::onCaretMoved()
{
    // Colours depend on the caret only through the selection run and the caret-line run.
    const bool hasSelection = textCursor().hasSelection();
    if (hasSelection || m_hadSelection || m_redrawAlways)
        UpdateColors(false);
    m_hadSelection = hasSelection;
}

QString TColorMemo::hotSpotWindow(const QTextCursor &at, int *caretInWindow) const
{
    const QTextBlock block = at.block();
    const int p = at.positionInBlock();
    if (!isLong(block)) {
        *caretInWindow = p;
        return block.text();
    }
    // A hot spot is short: the stretch around the pointer, not the whole long block.
    const int from = std::max(0, p - LongBlockMargin);
    const int to = std::min(block.length() - 1, p + LongBlockMargin);
    *caretInWindow = p - from;
    return DocumentMid(document(), block.position() + from, to - from);
}

void TColorMemo::mouseMoveEvent(QMouseEvent *e)
{
    QPlainTextEdit::mouseMoveEvent(e);
    bool hot = false;
    if (m_hotSpot.Active) {
        const QTextCursor c = cursorForPosition(e->position().toPoint());
        int p = 0;
        const QString line = hotSpotWindow(c, &p);
        const QStringView rest = QStringView(line).mid(p);
        const qsizetype end = rest.indexOf(m_hotSpot.EndChar);
        hot = end >= 0
            && (m_hotSpot.BeginChar == m_hotSpot.EndChar || !rest.left(end).contains(m_hotSpot.BeginChar));
    }
    if (hot != m_onHotSpot) {
        m_onHotSpot = hot;
        viewport()->setCursor(hot ? Qt::PointingHandCursor : Qt::IBeamCursor);
    }
}

void TColorMemo::mouseReleaseEvent(QMouseEvent *e)
{
    QPlainTextEdit::mouseReleaseEvent(e);
    if (e->button() != Qt::LeftButton || !m_onHotSpot || !m_hotSpot.Active)
        return;
    const QTextCursor c = cursorForPosition(e->position().toPoint());
    int p = 0;
    const QString line = hotSpotWindow(c, &p);
    const QStringView rest = QStringView(line).mid(p);
    const qsizetype end = rest.indexOf(m_hotSpot.EndChar);
    if (end < 0)
        return;
    const qsizetype begin = p > 0 ? line.lastIndexOf(m_hotSpot.BeginChar, p - 1) : -1;
    const QString src
        = QStringView(line).mid(begin + 1, p - begin - 1).toString() + rest.left(end).toString();
    Q_EMIT OnHotSpotClick(src);
}
