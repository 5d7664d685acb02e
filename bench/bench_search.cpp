// Replace all over a 50 MB document (a literal, and an expression with a group in the
// template) beside GNU sed doing the same replacement on the same bytes, and Find all
// producing a million rows until the results model (and its view) is filled. Beside the
// wall time each side reports the processor time it took (cpu_ms: this process for
// Replace all, the child for sed), which a machine busy with other work disturbs less.
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_search

#include "base/documents.h"
#include "search/findresults.h"
#include "search/regex.h"
#include "search/searchengine.h"
#include "search/ui/findresultspanel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

const int kTargetBytes = 50 * 1024 * 1024;

// HTML-like lines, pure ASCII so that the file sed reads has one byte per character.
const QString &bigText()
{
    static const QString text = [] {
        const QString lines[] = {
            QStringLiteral("<p class=\"intro\">Lorem ipsum dolor sit amet, consectetur.</p>\n"),
            QStringLiteral("<td align=\"left\">ipsum</td><td>42</td>\n"),
            QStringLiteral("<p class=\"note\">Ut enim ad minim veniam, quis nostrud.</p>\n"),
        };
        QString t;
        t.reserve(kTargetBytes + 100);
        for (int i = 0; t.size() < kTargetBytes; ++i)
            t += lines[i % 3];
        return t;
    }();
    return text;
}

struct Case
{
    QString find;
    bool regex;
    QString replacement;
    const char *sedScript;
};

const Case kLiteral { QStringLiteral("ipsum"), false, QStringLiteral("IPSUM"), "s/ipsum/IPSUM/g" };
const Case kGroup { QStringLiteral("<p class=\"(\\w+)\">"), true, QStringLiteral("<div id=\"$1\">"),
    "s/<p class=\"\\([a-z]*\\)\">/<div id=\"\\1\">/g" };

QTemporaryDir &tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString inputFile()
{
    static const QString path = [] {
        const QString p = tempDir().filePath(QStringLiteral("in.html"));
        QFile f(p);
        if (f.open(QIODevice::WriteOnly))
            f.write(bigText().toLatin1());
        return p;
    }();
    return path;
}

double processCpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double childrenCpuSeconds()
{
    rusage u;
    getrusage(RUSAGE_CHILDREN, &u);
    const auto seconds = [](const timeval &v) { return double(v.tv_sec) + double(v.tv_usec) * 1e-6; };
    return seconds(u.ru_utime) + seconds(u.ru_stime);
}

QString runReplaceAll(const Case &c, double *seconds, double *cpuSeconds = nullptr)
{
    StringDocumentSet docs;
    StringDocument *doc = docs.add(bigText());
    SearchOptions o;
    o.regularExpression = c.regex;
    o.specialSequences = true;
    SearchEngine engine;
    const double cpu0 = processCpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    const Regex re = SearchEngine::prepare(c.find, o);
    const auto r = engine.replaceAll(re, docs, o, c.find, c.replacement);
    *seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (cpuSeconds)
        *cpuSeconds = processCpuSeconds() - cpu0;
    benchmark::DoNotOptimize(r.count);
    return doc->text();
}

void replaceAll(benchmark::State &state, const Case &c)
{
    bigText();
    // Once untimed: the first run of a process may wait for the kernel to gather huge
    // pages (a few hundred milliseconds more, more or less, as memory lies); sed's runs
    // find the input in the page cache just as warm.
    double warm = 0;
    runReplaceAll(c, &warm);
    state.counters["first_run_ms"] = warm * 1000;
    qsizetype matches = 0;
    double cpu = 0;
    for (auto _ : state) {
        double s = 0;
        double c1 = 0;
        const QString out = runReplaceAll(c, &s, &c1);
        state.SetIterationTime(s);
        matches = out.size();
        cpu += c1;
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bigText().size());
    state.counters["out_chars"] = double(matches);
    state.counters["cpu_ms"] = cpu * 1000 / double(state.iterations());
}

void sedReplace(benchmark::State &state, const Case &c)
{
    const QString in = inputFile();
    const QString out = tempDir().filePath(QStringLiteral("out.html"));
    const QByteArray cmd = "LC_ALL=C sed -e '" + QByteArray(c.sedScript) + "' '" + QFile::encodeName(in)
        + "' > '" + QFile::encodeName(out) + "'";
    double cpu = 0;
    for (auto _ : state) {
        const double cpu0 = childrenCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        const int rc = std::system(cmd.constData());
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        cpu += childrenCpuSeconds() - cpu0;
        if (rc != 0) {
            state.SkipWithError("sed failed");
            return;
        }
    }
    // The same bytes in, the same bytes out: check that both tools did the same job.
    double s = 0;
    QFile f(out);
    if (!f.open(QIODevice::ReadOnly) || f.readAll() != runReplaceAll(c, &s).toLatin1())
        state.SkipWithError("sed and Replace all disagree");
    state.SetBytesProcessed(int64_t(state.iterations()) * bigText().size());
    state.counters["cpu_ms"] = cpu * 1000 / double(state.iterations());
}

void countMatches(benchmark::State &state)
{
    Regex re;
    re.compile(QStringLiteral("ipsum"), true, true);
    for (auto _ : state) {
        RegexMatcher m(re, bigText());
        qsizetype n = 0;
        while (m.findNext())
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bigText().size() * 2);
}

// "ab " repeated: a million matches of "ab".
void findAllMillion(benchmark::State &state, bool withView)
{
    const QString text = QStringLiteral("ab ").repeated(1000000);
    StringDocumentSet docs;
    docs.add(text, QStringLiteral("/tmp/milion.html"));
    for (auto _ : state) {
        FindResultsPanel panel(&docs);
        if (withView)
            panel.show();
        QCoreApplication::processEvents();
        const auto t0 = std::chrono::steady_clock::now();
        SearchEngine engine;
        auto r = engine.findAll(SearchEngine::prepare(QStringLiteral("ab"), SearchOptions()), docs,
            SearchOptions(), QStringLiteral("ab"));
        panel.model()->appendRows(std::move(r.rows));
        if (withView)
            QCoreApplication::processEvents(); // the view lays out and paints the first rows
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        if (panel.model()->rowCount() != 1000001)
            state.SkipWithError("wrong row count");
    }
    state.counters["rows"] = 1000001;
}

} // namespace

BENCHMARK_CAPTURE(replaceAll, literal_50MB, kLiteral)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sedReplace, literal_50MB, kLiteral)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(replaceAll, group_50MB, kGroup)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(sedReplace, group_50MB, kGroup)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(countMatches)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(findAllMillion, model_only, false)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(findAllMillion, with_view, true)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
