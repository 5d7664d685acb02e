#include "editor/tcolormemo.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>

namespace {

QColor toQColor(TColor c, const QColor &window, const QColor &text)
{
    const quint32 rgb = ColorToRgb(c, window.rgb() & 0xFFFFFFu, text.rgb() & 0xFFFFFFu);
    return QColor::fromRgb(QRgb(0xFF000000u | rgb));
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

// Marks a block whose layout keeps its shaped glyphs. The stock layouts shape every
// visible line again on every paint (and coloured lines in many pieces); keeping the
// glyphs of the blocks on screen makes a paint only draw. The document deletes the
// mark with its block, so the set never names a block that is gone.
class TColorMemo::GlyphCacheMark : public QTextBlockUserData
{
public:
    GlyphCacheMark(std::shared_ptr<GlyphCacheSet> set, const QTextBlock &block)
        : m_set(std::move(set))
        , m_block(block)
    {
        m_set->insert(this);
    }
    ~GlyphCacheMark() override { m_set->erase(this); }
    const QTextBlock &block() const { return m_block; }

private:
    std::shared_ptr<GlyphCacheSet> m_set;
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
    m_key = PassKey();
    connect(this, &QPlainTextEdit::textChanged, this, &TColorMemo::onTextChanged);
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

    static const std::vector<TKeyDescr> none;
    const std::vector<TKeyDescr> *runs = &none;
    if (m_rules.Count() > 0 || m_hotSpot.Active) {
        m_stretch.resize(0);
        for (QTextBlock b = scan; b.isValid(); b = b.next()) {
            m_stretch += b.text();
            if (b == last) {
                if (b.next().isValid())
                    m_stretch += QLatin1Char('\n');
                break;
            }
            m_stretch += QLatin1Char('\n');
        }
        const QPalette pal = palette();
        TColorPassInput in;
        in.Text = m_stretch;
        in.Base = scan.position();
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
        BeforeColorPass(in);
        runs = &m_engine.Run(in);
    }
    applyRuns(first, last, *runs);
    if (!CurrentLineOnly)
        releaseGlyphsOutside(first.position(), last.position() + last.length());
    if (m_onDrawKey)
        rememberKeywordRuns(first.position(), last.position() + last.length(), *runs);

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

void TColorMemo::keepGlyphs(const QTextBlock &block)
{
    QTextLayout *layout = block.layout();
    // Only a block that can carry the mark, or its glyphs could never be let go.
    if (!layout || layout->cacheEnabled() || block.userData())
        return;
    layout->setCacheEnabled(true);
    QTextBlock b = block;
    b.setUserData(new GlyphCacheMark(m_glyphCache, block));
}

void TColorMemo::releaseGlyphsOutside(int from, int to)
{
    std::vector<QTextBlock> gone;
    for (const GlyphCacheMark *mark : *m_glyphCache) {
        const int pos = mark->block().position();
        if (pos < from || pos >= to)
            gone.push_back(mark->block());
    }
    const QScopedValueRollback<bool> coloursOnly(m_layout->coloursOnly, true);
    for (QTextBlock &b : gone) {
        if (QTextLayout *layout = b.layout())
            layout->setCacheEnabled(false);
        b.setUserData(nullptr);
        // A fresh layout without the cache frees the glyphs.
        document()->markContentsDirty(b.position(), b.length());
    }
}

void TColorMemo::applyRuns(
    const QTextBlock &first, const QTextBlock &last, const std::vector<TKeyDescr> &runs)
{
    int dirtyFrom = -1;
    int dirtyTo = -1;
    const QPalette pal = palette();
    const QColor window = pal.color(QPalette::Base);
    const QColor text = pal.color(QPalette::Text);
    auto it = std::lower_bound(runs.begin(), runs.end(), first.position(),
        [](const TKeyDescr &k, int pos) { return k.EndChar < pos; });
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        const int pos = b.position();
        const int textEnd = pos + b.length() - 1; // the block separator is never coloured
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
        keepGlyphs(b);
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
    // Anything that moved the text under the viewport since the last pass.
    if (currentKey() != m_key)
        UpdateColors(false);
    QPlainTextEdit::paintEvent(e);
    if (m_onDrawKey && !m_keyRuns.empty())
        drawKeys();
}

void TColorMemo::drawKeys()
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QFontMetrics fm(font());
    const QColor textColour = palette().color(QPalette::Text);
    const QPointF offset = contentOffset();
    for (const TKeyDescr &k : m_keyRuns) {
        const QTextBlock block = document()->findBlock(k.BeginChar);
        if (!block.isValid() || !block.isVisible() || !block.layout())
            continue;
        const QRectF geometry = blockBoundingGeometry(block).translated(offset);
        if (geometry.bottom() < 0 || geometry.top() > viewport()->height())
            continue;
        const int rel = k.BeginChar - block.position();
        const QString key = block.text().mid(rel, k.EndChar - k.BeginChar + 1);
        const QTextLine line = block.layout()->lineForTextPosition(rel);
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

void TColorMemo::onCaretMoved()
{
    // Colours depend on the caret only through the selection run and the caret-line run.
    const bool hasSelection = textCursor().hasSelection();
    if (hasSelection || m_hadSelection || m_redrawAlways)
        UpdateColors(false);
    m_hadSelection = hasSelection;
}

void TColorMemo::mouseMoveEvent(QMouseEvent *e)
{
    QPlainTextEdit::mouseMoveEvent(e);
    bool hot = false;
    if (m_hotSpot.Active) {
        const QTextCursor c = cursorForPosition(e->position().toPoint());
        const QString line = c.block().text();
        const QStringView rest = QStringView(line).mid(c.positionInBlock());
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
    const QString line = c.block().text();
    const int p = c.positionInBlock();
    const QStringView rest = QStringView(line).mid(p);
    const qsizetype end = rest.indexOf(m_hotSpot.EndChar);
    if (end < 0)
        return;
    const qsizetype begin = p > 0 ? line.lastIndexOf(m_hotSpot.BeginChar, p - 1) : -1;
    const QString src
        = QStringView(line).mid(begin + 1, p - begin - 1).toString() + rest.left(end).toString();
    Q_EMIT OnHotSpotClick(src);
}
