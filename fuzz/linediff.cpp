// The line difference: its changes, applied to the old text, give the new one, and the
// unified form holds every changed line once. The input is the two texts, split at the
// first NUL byte.
#include "fuzzsupport.h"

#include "services/linediff.h"

#include <QStringList>

namespace {
QStringList linesOf(QStringView text)
{
    QStringList lines;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype nl = text.indexOf(u'\n', from);
        const qsizetype end = nl < 0 ? text.size() : nl + 1;
        lines << text.mid(from, end - from).toString();
        from = end;
    }
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::vector<QByteArray> parts = fuzz::split(data, size, '\0', 2);
    const QString before = fuzz::fromWtf8(parts[0].constData(), size_t(parts[0].size()));
    const QString after
        = parts.size() > 1 ? fuzz::fromWtf8(parts[1].constData(), size_t(parts[1].size())) : QString();
    const QStringList a = linesOf(before);
    const QStringList b = linesOf(after);
    const std::vector<LineDiff::Change> changes = LineDiff::Compare(before, after);
    QStringList rebuilt;
    int next = 0;
    int removed = 0;
    int added = 0;
    for (const LineDiff::Change &c : changes) {
        FUZZ_CHECK(c.oldFrom >= next && c.oldCount >= 0 && c.newCount >= 0);
        FUZZ_CHECK(c.oldCount + c.newCount > 0);
        FUZZ_CHECK(c.oldFrom + c.oldCount <= a.size() && c.newFrom + c.newCount <= b.size());
        rebuilt += a.mid(next, c.oldFrom - next);
        rebuilt += b.mid(c.newFrom, c.newCount);
        next = c.oldFrom + c.oldCount;
        removed += c.oldCount;
        added += c.newCount;
    }
    rebuilt += a.mid(next);
    FUZZ_CHECK(rebuilt == b);
    FUZZ_CHECK(changes.empty() == (before == after));

    const QString unified = LineDiff::Unified(before, after, QStringLiteral("a"), QStringLiteral("b"));
    FUZZ_CHECK(unified.isEmpty() == changes.empty());
    int minus = 0;
    int plus = 0;
    for (QStringView line : QStringView(unified).split(u'\n')) {
        if (line.startsWith(u'-') && !line.startsWith(u"--- "))
            ++minus;
        else if (line.startsWith(u'+') && !line.startsWith(u"+++ "))
            ++plus;
    }
    // A changed line's own text may begin like a header; only the counts' floor holds.
    FUZZ_CHECK(minus >= removed && plus >= added);
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
