#include "services/linediff.h"

#include <QHash>
#include <algorithm>

namespace {
// Diagonal steps and snake moves allowed for one comparison (a few hundred milliseconds
// at most); beyond it the ranges still open become whole blocks.
constexpr qint64 kWorkBudget = 30'000'000;

// Each line with its '\n' when it has one.
std::vector<QStringView> splitLines(QStringView text)
{
    std::vector<QStringView> lines;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype nl = text.indexOf(u'\n', from);
        const qsizetype end = nl < 0 ? text.size() : nl + 1;
        lines.push_back(text.mid(from, end - from));
        from = end;
    }
    return lines;
}

// The changes that lines marked deleted (of the old text) and inserted (of the new) make.
std::vector<LineDiff::Change> changesOf(const std::vector<bool> &deleted, const std::vector<bool> &inserted)
{
    std::vector<LineDiff::Change> out;
    const int n = int(deleted.size());
    const int m = int(inserted.size());
    int i = 0;
    int j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && !deleted[size_t(i)] && !inserted[size_t(j)]) {
            ++i;
            ++j;
            continue;
        }
        LineDiff::Change c { i, 0, j, 0 };
        while (i < n && deleted[size_t(i)])
            ++i, ++c.oldCount;
        while (j < m && inserted[size_t(j)])
            ++j, ++c.newCount;
        out.push_back(c);
    }
    return out;
}

// Marks the lines of a and b that a shortest edit turning a into b deletes and inserts.
class Differ
{
public:
    Differ(std::vector<int> a, std::vector<int> b)
        : m_a(std::move(a))
        , m_b(std::move(b))
        , m_deleted(m_a.size(), false)
        , m_inserted(m_b.size(), false)
    {
        compare(0, 0, int(m_a.size()), int(m_b.size()));
    }

    bool deleted(int i) const { return m_deleted[size_t(i)]; }
    bool inserted(int j) const { return m_inserted[size_t(j)]; }

private:
    struct Snake
    {
        int x0, y0, x1, y1; // a run of equal lines from (x0, y0) to (x1, y1)
    };

    // a[l, r) against b[t, bottom).
    void compare(int l, int t, int r, int bottom)
    {
        while (l < r && t < bottom && m_a[l] == m_b[t])
            ++l, ++t;
        while (l < r && t < bottom && m_a[r - 1] == m_b[bottom - 1])
            --r, --bottom;
        Snake s;
        if (l == r || t == bottom || !middleSnake(l, t, r, bottom, s)) {
            std::fill(m_deleted.begin() + l, m_deleted.begin() + r, true);
            std::fill(m_inserted.begin() + t, m_inserted.begin() + bottom, true);
            return;
        }
        compare(l, t, s.x0, s.y0);
        compare(s.x1, s.y1, r, bottom);
    }

    // The snake in the middle of a shortest edit path, searched from both ends at once.
    // False when the work budget is spent.
    bool middleSnake(int l, int t, int r, int bottom, Snake &s)
    {
        if (m_budget < 0)
            return false;
        const int w = r - l;
        const int h = bottom - t;
        const int delta = w - h;
        const bool odd = delta & 1;
        const int max = (w + h + 1) / 2;
        const int off = max + 1;
        m_vf.assign(2 * max + 3, 0);
        m_vb.assign(2 * max + 3, 0);
        m_vf[off + 1] = l;
        m_vb[off + 1] = bottom;
        for (int d = 0; d <= max; ++d) {
            for (int k = d; k >= -d; k -= 2) {
                int x = (k == -d || (k != d && m_vf[off + k - 1] < m_vf[off + k + 1]))
                    ? m_vf[off + k + 1]
                    : m_vf[off + k - 1] + 1;
                int y = t + (x - l) - k;
                const int x0 = x;
                const int y0 = y;
                while (x < r && y < bottom && m_a[x] == m_b[y])
                    ++x, ++y;
                m_budget -= 1 + (x - x0);
                m_vf[off + k] = x;
                const int c = k - delta;
                if (odd && c >= -(d - 1) && c <= d - 1 && y >= m_vb[off + c]) {
                    s = { x0, y0, x, y };
                    return true;
                }
            }
            for (int c = d; c >= -d; c -= 2) {
                const int k = c + delta;
                int y = (c == -d || (c != d && m_vb[off + c - 1] > m_vb[off + c + 1]))
                    ? m_vb[off + c + 1]
                    : m_vb[off + c - 1] - 1;
                int x = l + (y - t) + k;
                const int x0 = x;
                const int y0 = y;
                while (x > l && y > t && m_a[x - 1] == m_b[y - 1])
                    --x, --y;
                m_budget -= 1 + (x0 - x);
                m_vb[off + c] = y;
                if (!odd && k >= -d && k <= d && x <= m_vf[off + k]) {
                    s = { x, y, x0, y0 };
                    return true;
                }
            }
            if (m_budget < 0)
                return false;
        }
        return false;
    }

    std::vector<int> m_a;
    std::vector<int> m_b;
    std::vector<bool> m_deleted;
    std::vector<bool> m_inserted;
    std::vector<int> m_vf;
    std::vector<int> m_vb;
    qint64 m_budget = kWorkBudget;
};

// The lines of both texts as numbers, equal lines the same number.
std::vector<LineDiff::Change> compareLines(
    const std::vector<QStringView> &before, const std::vector<QStringView> &after)
{
    QHash<QStringView, int> ids;
    ids.reserve(qsizetype(before.size() + after.size()));
    auto number = [&ids](const std::vector<QStringView> &lines) {
        std::vector<int> out;
        out.reserve(lines.size());
        for (QStringView line : lines) {
            auto it = ids.constFind(line);
            if (it == ids.constEnd())
                it = ids.insert(line, int(ids.size()));
            out.push_back(*it);
        }
        return out;
    };
    const std::vector<int> a = number(before);
    const std::vector<int> b = number(after);

    // A line found in one text only can never be matched: it is a change whatever else
    // the texts hold. Only the others go through the search, which a page whose every
    // line was indented anew thus never has to make.
    std::vector<char> inA(size_t(ids.size()), 0);
    std::vector<char> inB(size_t(ids.size()), 0);
    for (int id : a)
        inA[size_t(id)] = 1;
    for (int id : b)
        inB[size_t(id)] = 1;
    std::vector<int> keptA;
    std::vector<int> keptB;
    std::vector<int> idsA;
    std::vector<int> idsB;
    for (int i = 0; i < int(a.size()); ++i)
        if (inB[size_t(a[size_t(i)])])
            keptA.push_back(i), idsA.push_back(a[size_t(i)]);
    for (int j = 0; j < int(b.size()); ++j)
        if (inA[size_t(b[size_t(j)])])
            keptB.push_back(j), idsB.push_back(b[size_t(j)]);

    std::vector<bool> deleted(a.size(), true);
    std::vector<bool> inserted(b.size(), true);
    const Differ kept(std::move(idsA), std::move(idsB));
    for (size_t i = 0; i < keptA.size(); ++i)
        deleted[size_t(keptA[i])] = kept.deleted(int(i));
    for (size_t j = 0; j < keptB.size(); ++j)
        inserted[size_t(keptB[j])] = kept.inserted(int(j));
    return changesOf(deleted, inserted);
}

QString hunkRange(int from, int count)
{
    // An empty range names the line before it; a single line goes without its count.
    if (count == 1)
        return QString::number(from + 1);
    return QString::number(count == 0 ? from : from + 1) + u',' + QString::number(count);
}

void appendLine(QString &out, QChar mark, QStringView line)
{
    out += mark;
    out += line;
    if (!line.endsWith(u'\n'))
        out += QStringLiteral("\n\\ No newline at end of file\n");
}
} // namespace

std::vector<LineDiff::Change> LineDiff::Compare(QStringView before, QStringView after)
{
    return compareLines(splitLines(before), splitLines(after));
}

QString LineDiff::Unified(
    QStringView before, QStringView after, const QString &beforeName, const QString &afterName, int context)
{
    const std::vector<QStringView> a = splitLines(before);
    const std::vector<QStringView> b = splitLines(after);
    const std::vector<Change> changes = compareLines(a, b);
    if (changes.empty())
        return QString();
    context = std::max(0, context);

    QString out = QStringLiteral("--- ") + beforeName + QStringLiteral("\n+++ ") + afterName + u'\n';
    size_t first = 0;
    while (first < changes.size()) {
        // Changes whose context would meet go into one hunk.
        size_t last = first;
        while (last + 1 < changes.size()
            && changes[last + 1].oldFrom - (changes[last].oldFrom + changes[last].oldCount) <= 2 * context)
            ++last;
        const int lead = std::min(context, changes[first].oldFrom);
        const int oldFrom = changes[first].oldFrom - lead;
        const int newFrom = changes[first].newFrom - lead;
        const int oldEnd = std::min(int(a.size()), changes[last].oldFrom + changes[last].oldCount + context);
        const int newEnd = newFrom + (oldEnd - oldFrom) + [&] {
            int grown = 0;
            for (size_t i = first; i <= last; ++i)
                grown += changes[i].newCount - changes[i].oldCount;
            return grown;
        }();
        out += QStringLiteral("@@ -") + hunkRange(oldFrom, oldEnd - oldFrom) + QStringLiteral(" +")
            + hunkRange(newFrom, newEnd - newFrom) + QStringLiteral(" @@\n");
        int i = oldFrom;
        for (size_t c = first; c <= last; ++c) {
            for (; i < changes[c].oldFrom; ++i)
                appendLine(out, u' ', a[i]);
            for (int k = 0; k < changes[c].oldCount; ++k)
                appendLine(out, u'-', a[changes[c].oldFrom + k]);
            for (int k = 0; k < changes[c].newCount; ++k)
                appendLine(out, u'+', b[changes[c].newFrom + k]);
            i = changes[c].oldFrom + changes[c].oldCount;
        }
        for (; i < oldEnd; ++i)
            appendLine(out, u' ', a[i]);
        first = last + 1;
    }
    return out;
}
