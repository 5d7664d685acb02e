#include "editor/colorengine.h"

#include <algorithm>
#include <cstring>

namespace {

// Word characters for keyword boundaries: '@', 'A'..'Z', 'a'..'z'.
inline bool isWordLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'@' && u <= u'Z') || (u >= u'a' && u <= u'z');
}

} // namespace

const std::vector<TKeyDescr> &TColorEngine::Run(const TColorPassInput &in)
{
    m_text = in.Text;
    m_upperReady = false;
    m_charIndexUsed = 0;
    m_namesReady = false;
    m_result.clear();
    const int len = int(m_text.size());
    if (m_cells.size() < size_t(len))
        m_cells.resize(size_t(len));
    if (len > 0)
        std::memset(static_cast<void *>(m_cells.data()), 0, sizeof(Cell) * size_t(len));

    if (in.HotSpot && in.HotSpot->Active && !in.HotSpot->BeginChar.isNull())
        collectHotSpots(*in.HotSpot);

    if (in.WantTabs) {
        const QChar *p = m_text.data();
        for (int i = 0; i < len; ++i)
            if (p[i] == QLatin1Char('\t'))
                add(i, i, in.BackColor, OrderTab, 0);
    }

    if (in.RedrawAlways && in.CaretPos > in.CaretLineStart)
        add(in.CaretLineStart - in.Base, in.CaretPos - 1 - in.Base, in.FontColor, 0, 0);

    if (in.Rules) {
        for (int r = 0; r < in.Rules->Count(); ++r) {
            const TColorRule &rule = in.Rules->Item(r);
            if (!rule.Enabled())
                continue;
            switch (rule.KeyDrawingType()) {
            case dtBeginEnd:
                collectDelimited(rule, false);
                break;
            case dtBeginLineEnd:
                collectDelimited(rule, true);
                break;
            case dtKeyShow:
                collectKeywords(rule);
                break;
            case dtEventDraw:
                collectEvent(rule, in);
                break;
            }
        }
    }

    if (in.SelLength > 0)
        add(in.SelStart - in.Base, in.SelStart + in.SelLength - 1 - in.Base, 0x0000FF, OrderSelection, 0);

    // Cells back to runs: equal neighbours join, unset cells are skipped.
    int i = 0;
    while (i < len) {
        const Cell c = m_cells[size_t(i)];
        if (!c.set) {
            ++i;
            continue;
        }
        int j = i + 1;
        while (j < len) {
            const Cell &d = m_cells[size_t(j)];
            if (!d.set || d.color != c.color || d.order != c.order || d.keyword != c.keyword)
                break;
            ++j;
        }
        TKeyDescr k;
        k.BeginChar = in.Base + i;
        k.EndChar = in.Base + j - 1;
        k.Color = c.color;
        k.Order = c.order;
        k.Keyword = c.keyword;
        m_result.push_back(k);
        i = j;
    }
    return m_result;
}

// Merges one run, given in stretch positions (end inclusive) and cut to the stretch:
// it takes every cell whose order is not above its own.
void TColorEngine::add(int begin, int end, TColor color, quint8 order, quint8 keyword)
{
    begin = std::max(begin, 0);
    end = std::min(end, int(m_text.size()) - 1);
    for (int i = begin; i <= end; ++i) {
        Cell &c = m_cells[size_t(i)];
        if (order >= c.order) {
            c.color = color;
            c.order = order;
            c.keyword = keyword;
            c.set = 1;
        }
    }
}

const std::vector<int> &TColorEngine::positionsOf(char16_t c)
{
    for (int i = 0; i < m_charIndexUsed; ++i)
        if (m_charIndex[size_t(i)].first == c)
            return m_charIndex[size_t(i)].second;
    if (size_t(m_charIndexUsed) == m_charIndex.size())
        m_charIndex.emplace_back();
    auto &slot = m_charIndex[size_t(m_charIndexUsed++)];
    slot.first = c;
    slot.second.clear();
    const QChar *p = m_text.data();
    const int len = int(m_text.size());
    for (int i = 0; i < len; ++i)
        if (p[i].unicode() == c)
            slot.second.push_back(i);
    return slot.second;
}

int TColorEngine::find(QStringView needle, int from)
{
    if (needle.isEmpty())
        return from <= int(m_text.size()) ? from : -1;
    const std::vector<int> &pos = positionsOf(needle.at(0).unicode());
    auto it = std::lower_bound(pos.begin(), pos.end(), from);
    const int nlen = int(needle.size());
    const int len = int(m_text.size());
    for (; it != pos.end(); ++it) {
        const int p = *it;
        if (p + nlen > len)
            return -1;
        if (nlen == 1 || m_text.mid(p, nlen) == needle)
            return p;
    }
    return -1;
}

void TColorEngine::buildNameIndex()
{
    m_names.clear();
    const int len = int(m_text.size());
    for (const int p : positionsOf(u'<')) {
        int j = p + 1;
        if (j < len && m_text.at(j) == QLatin1Char('/'))
            ++j;
        int k = j;
        while (k < len && !EndsTagName(m_text.at(k)))
            ++k;
        if (k > j)
            m_names[m_text.mid(p, k - p)].push_back(p); // positions come in order
    }
    m_namesReady = true;
}

int TColorEngine::findWhole(QStringView needle, int from)
{
    if (needle.isEmpty() || !needle.back().isLetterOrNumber())
        return find(needle, from);
    // "<" or "</" and a name: where that name stands whole, the index has it.
    if (needle.front() == QLatin1Char('<')) {
        const qsizetype start = needle.size() > 1 && needle.at(1) == QLatin1Char('/') ? 2 : 1;
        bool tagStart = start < needle.size();
        for (qsizetype i = start; i < needle.size() && tagStart; ++i)
            tagStart = !EndsTagName(needle.at(i));
        if (tagStart) {
            if (!m_namesReady)
                buildNameIndex();
            const auto it = m_names.constFind(needle);
            if (it == m_names.constEnd())
                return -1;
            const auto at = std::lower_bound(it->begin(), it->end(), from);
            return at == it->end() ? -1 : *at;
        }
    }
    const int len = int(m_text.size());
    for (;;) {
        const int p = find(needle, from);
        if (p < 0)
            return -1;
        const int after = p + int(needle.size());
        if (after >= len || EndsTagName(m_text.at(after)))
            return p;
        from = p + 1;
    }
}

void TColorEngine::collectHotSpots(const THotSpot &hs)
{
    const int len = int(m_text.size());
    int pos = 0;
    while (pos < len) {
        const int b = int(m_text.indexOf(hs.BeginChar, pos));
        if (b < 0)
            return;
        const int e = int(m_text.indexOf(hs.EndChar, b + 1));
        if (e < 0)
            return; // an unclosed marker ends the scan; earlier spots stay
        add(b, b, hs.MarkerColor, OrderHotSpotMarker, 0);
        if (e > b + 1)
            add(b + 1, e - 1, hs.Color, OrderHotSpotText, 0);
        add(e, e, hs.MarkerColor, OrderHotSpotMarker, 0);
        pos = e + 1;
    }
}

void TColorEngine::collectDelimited(const TColorRule &rule, bool toLineEnd)
{
    const int n = rule.DelimiterUsed();
    if (n == 0)
        return;
    const int len = int(m_text.size());
    const bool whole = rule.WholeNames();
    // Next occurrence of each begin delimiter: -2 not yet searched, -1 none left.
    int next[TColorRule::DelimiterCount];
    std::fill(next, next + n, -2);
    int pos = 0;
    while (pos < len) {
        int best = -1;
        int bestPos = len;
        for (int k = 0; k < n; ++k) {
            if (next[k] == -2 || (next[k] >= 0 && next[k] < pos))
                next[k]
                    = whole ? findWhole(rule.Delimiter(k).Begin, pos) : find(rule.Delimiter(k).Begin, pos);
            if (next[k] >= 0 && next[k] < bestPos) {
                best = k;
                bestPos = next[k];
            }
        }
        if (best < 0)
            return;
        const TDelimiter &d = rule.Delimiter(best);
        int endChar;
        if (toLineEnd) {
            const int nl = find(u"\n", bestPos + 1);
            if (nl < 0) {
                add(bestPos, len - 1, d.Color, rule.ZOrder(), 0);
                return;
            }
            endChar = nl - 1;
            pos = nl + 1;
        } else {
            const int e = find(d.End, bestPos + 1);
            if (e < 0)
                return; // an unclosed begin ends this rule's scan; earlier runs stay
            endChar = std::max(bestPos, e + int(d.End.size()) - 1);
            pos = e + 1;
        }
        add(bestPos, endChar, d.Color, rule.ZOrder(), 0);
    }
}

void TColorEngine::collectKeywords(const TColorRule &rule)
{
    const QVector<TKeyword> &table = rule.KeywordTable();
    if (table.isEmpty())
        return;
    QStringView hay = m_text;
    if (!rule.KeyCase()) {
        if (!m_upperReady) {
            // Character by character, so that positions never shift (QString::toUpper
            // would turn one 'ß' into "SS").
            const int len = int(m_text.size());
            m_upper.resize(len);
            QChar *out = m_upper.data();
            const QChar *src = m_text.data();
            for (int i = 0; i < len; ++i)
                out[i] = src[i].toUpper();
            m_upperReady = true;
        }
        hay = m_upper;
    }
    const int len = int(hay.size());
    for (const TKeyword &k : table) {
        const TColor colour = rule.KeywordColor(k);
        const int klen = int(k.Text.size());
        qsizetype from = 0;
        while (from < len) {
            const int p = int(hay.indexOf(k.Text, from));
            if (p < 0)
                break;
            const bool counts = rule.PartWord()
                || ((p == 0 || !isWordLetter(hay.at(p - 1)))
                    && (p + klen >= len || !isWordLetter(hay.at(p + klen))));
            if (counts)
                add(p, p + klen - 1, colour, rule.ZOrder(), 1);
            from = p + klen;
        }
    }
}

void TColorEngine::collectEvent(const TColorRule &rule, const TColorPassInput &in)
{
    if (in.ColorLimMax <= 0 || !in.OnDraw || !*in.OnDraw)
        return;
    m_eventArray.assign(size_t(in.ColorLimMax), TKeyDescr());
    int count = 0;
    (*in.OnDraw)(rule, m_text, m_eventArray.data(), in.ColorLimMax, count);
    // The handler cannot hand back more than the array holds.
    count = std::clamp(count, 0, in.ColorLimMax);
    for (int i = 0; i < count; ++i) {
        const TKeyDescr &k = m_eventArray[size_t(i)];
        if (k.BeginChar < 0 || k.BeginChar == KeyDescrNone || k.EndChar < k.BeginChar)
            continue;
        add(k.BeginChar, k.EndChar, k.Color, k.Order ? k.Order : rule.ZOrder(), 0);
    }
}
