// Per-keystroke tag lookups at a caret in the middle of a document: the cost must not
// depend on the document's size.
#include "base/textaccess.h"
#include "tags/tagassist.h"
#include "tags/taglookup.h"

#include <benchmark/benchmark.h>

namespace {

// A document of about `bytes` characters of ordinary markup; *caret gets a position in
// its middle inside a quoted value of a tag spanning two lines.
QString makeDocument(int bytes, int *caret)
{
    const QString line = QStringLiteral("<tr><td class=\"nazwa\">Pozycja</td><td align=right>12,50 "
                                        "zł</td><td><a href=\"x.html\">więcej</a></td></tr>\n");
    QString doc;
    doc.reserve(bytes + 200);
    while (doc.size() < bytes / 2)
        doc += line;
    doc += QStringLiteral("<img src=\"obrazki/kot.gif\"\n     alt=\"Kot na płocie");
    *caret = int(doc.size());
    doc += QStringLiteral("\" border=0>\n");
    while (doc.size() < bytes)
        doc += line;
    return doc;
}

void BM_Lookup(benchmark::State &state)
{
    int caret = 0;
    const QString doc = makeDocument(int(state.range(0)), &caret);
    const StringTextAccess text(doc);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EnclosingTagName(text, caret));
        benchmark::DoNotOptimize(IsInsideQuotedValue(text, caret));
    }
    state.SetLabel(std::to_string(doc.size()) + " chars");
}

void BM_FindTagAround(benchmark::State &state)
{
    int caret = 0;
    const QString doc = makeDocument(int(state.range(0)), &caret);
    const StringTextAccess text(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetTagAtCaret(text, caret, false));
}

void BM_ParInserterPosition(benchmark::State &state)
{
    int caret = 0;
    const QString doc = makeDocument(int(state.range(0)), &caret);
    const StringTextAccess text(doc);
    for (auto _ : state)
        benchmark::DoNotOptimize(ParInserterPosition(text, caret));
}

} // namespace

BENCHMARK(BM_Lookup)->Arg(50 * 1000)->Arg(50 * 1000 * 1000);
BENCHMARK(BM_FindTagAround)->Arg(50 * 1000)->Arg(50 * 1000 * 1000);
BENCHMARK(BM_ParInserterPosition)->Arg(50 * 1000)->Arg(50 * 1000 * 1000);

BENCHMARK_MAIN();
