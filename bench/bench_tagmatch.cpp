// Matching tags in a 50 MB document: the worst cases are a caret on <body> or </body>,
// whose partner lies the whole document away (the walk gives up after its budget and
// says TooFar), and selecting ever larger elements from the middle until the budget
// runs out. A pair in the middle shows the common case. Each is measured over a
// QString and over the editor's QTextDocument (read as DocumentTextAccess reads it, and
// a block at a time), in lines of HTML and in one long line.
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_tagmatch

#include "base/textaccess.h"
#include "editor/ui/documenttextaccess.h"
#include "tags/tagmatch.h"

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

constexpr qsizetype kTargetChars = 50 * 1000 * 1000;

QString bigText(bool oneLine)
{
    const QString item = QStringLiteral("<div class=\"k\"><p>Lorem <b>ipsum</b> dolor<br>sit amet, "
                                        "<a href=\"x.html?a=1&amp;b=2\">consectetur</a>.</p>"
                                        "<!-- note --><ul><li>one<li>two</ul></div>");
    QString t;
    t.reserve(kTargetChars + 1000);
    t += QStringLiteral("<!DOCTYPE html>\n<html><head><title>x</title></head>\n<body>\n");
    while (t.size() < kTargetChars) {
        t += item;
        if (!oneLine)
            t += QLatin1Char('\n');
    }
    t += QStringLiteral("</body></html>\n");
    return t;
}

// The editor's document read a line at a time where lines are short (QTextBlock::text()
// copies the block's fragments in one go) and character by character only in long
// lines: what DocumentTextAccess does with every line.
class BlockTextAccess final : public TextAccess
{
public:
    explicit BlockTextAccess(const QTextDocument *doc)
        : m_doc(doc)
        , m_chars(doc)
    {
    }
    int length() const override { return m_chars.length(); }
    int lineCount() const override { return m_chars.lineCount(); }
    int lineOf(int pos) const override { return m_chars.lineOf(pos); }
    int lineStart(int line) const override { return m_chars.lineStart(line); }
    QString lineText(int line) const override { return m_chars.lineText(line); }
    int lineLength(int line) const override { return m_chars.lineLength(line); }
    QString lineMid(int line, int from, int n) const override
    {
        const QTextBlock b = m_doc->findBlockByNumber(line);
        if (b.length() > 64 * 1024)
            return m_chars.lineMid(line, from, n);
        return b.text().mid(from, n);
    }

private:
    const QTextDocument *m_doc;
    DocumentTextAccess m_chars;
};

enum Access { String, Document, Blocks };

struct Fixture
{
    QString text;
    std::unique_ptr<StringTextAccess> string;
    std::unique_ptr<QTextDocument> doc;
    std::unique_ptr<DocumentTextAccess> document;
    std::unique_ptr<BlockTextAccess> blocks;

    const TextAccess &access(Access a) const
    {
        if (a == Document)
            return *document;
        if (a == Blocks)
            return *blocks;
        return *string;
    }
};

Fixture &fixture(bool oneLine)
{
    static Fixture fixtures[2];
    Fixture &f = fixtures[oneLine ? 1 : 0];
    if (f.text.isEmpty()) {
        f.text = bigText(oneLine);
        f.string = std::make_unique<StringTextAccess>(f.text);
        f.doc = std::make_unique<QTextDocument>();
        f.doc->setPlainText(f.text);
        f.document = std::make_unique<DocumentTextAccess>(f.doc.get());
        f.blocks = std::make_unique<BlockTextAccess>(f.doc.get());
    }
    return f;
}

enum Where { BodyStart, BodyEnd, Middle };

int caretFor(const QString &text, Where where)
{
    switch (where) {
    case BodyStart:
        return int(text.indexOf(QLatin1String("<body>"))) + 2;
    case BodyEnd:
        return int(text.lastIndexOf(QLatin1String("</body>"))) + 2;
    case Middle:
        return int(text.indexOf(QLatin1String("<b>"), text.size() / 2)) + 1;
    }
    return 0;
}

void matchAt(benchmark::State &state, bool oneLine, Access how, Where where)
{
    Fixture &f = fixture(oneLine);
    const TextAccess &access = f.access(how);
    const int caret = caretFor(f.text, where);
    TagMatch m;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        m = TagMatcher(access).matchAt(caret);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    if ((where == Middle) != (m.status == TagMatch::Matched))
        state.SkipWithError("unexpected answer");
    state.counters["too_far"] = m.status == TagMatch::TooFar ? 1 : 0;
}

// From the middle outward, one call per step, until no larger element is found in budget.
void selectOutward(benchmark::State &state, bool oneLine, Access how)
{
    Fixture &f = fixture(oneLine);
    const TextAccess &access = f.access(how);
    const int caret = caretFor(f.text, Middle) + 3;
    const TagMatcher matcher(access);
    int steps = 0;
    double slowest = 0;
    for (auto _ : state) {
        int a = caret;
        int b = caret;
        double total = 0;
        steps = 0;
        for (;;) {
            const auto t0 = std::chrono::steady_clock::now();
            const ElementRange e = matcher.elementAround(a, b);
            const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            total += s;
            slowest = std::max(slowest, s);
            if (e.status != ElementRange::Found)
                break;
            a = e.start;
            b = e.end;
            ++steps;
        }
        state.SetIterationTime(total);
    }
    state.counters["steps"] = steps;
    state.counters["slowest_ms"] = slowest * 1000;
}

} // namespace

#define MATCH_CASES(name, oneLine, document)                                                                 \
    BENCHMARK_CAPTURE(matchAt, name##_body_start, oneLine, document, BodyStart)                              \
        ->UseManualTime()                                                                                    \
        ->Iterations(5)                                                                                      \
        ->Unit(benchmark::kMillisecond);                                                                     \
    BENCHMARK_CAPTURE(matchAt, name##_body_end, oneLine, document, BodyEnd)                                  \
        ->UseManualTime()                                                                                    \
        ->Iterations(5)                                                                                      \
        ->Unit(benchmark::kMillisecond);                                                                     \
    BENCHMARK_CAPTURE(matchAt, name##_middle, oneLine, document, Middle)                                     \
        ->UseManualTime()                                                                                    \
        ->Iterations(5)                                                                                      \
        ->Unit(benchmark::kMillisecond);                                                                     \
    BENCHMARK_CAPTURE(selectOutward, name, oneLine, document)                                                \
        ->UseManualTime()                                                                                    \
        ->Iterations(3)                                                                                      \
        ->Unit(benchmark::kMillisecond);

MATCH_CASES(string_lines, false, String)
MATCH_CASES(document_lines, false, Document)
MATCH_CASES(blocks_lines, false, Blocks)
MATCH_CASES(string_one_line, true, String)
MATCH_CASES(document_one_line, true, Document)

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
