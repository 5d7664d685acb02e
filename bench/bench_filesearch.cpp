// Find in files over a generated folder of 10,000 HTML files and 500 MB (100 folders of
// 100 files; Windows-1250, ISO 8859-2 and UTF-8 files), beside grep -r on the same
// folder and cat reading every file (the speed at which the files can be read at all).
// Each side runs once before it is timed, so every one reads from the page cache.
// Beside the wall time each reports its processor time (cpu_ms). A common word (about
// one line in a hundred) and a word that is nowhere are searched.
// Run: build/bin/bench_filesearch   (MARKORA_BENCH_FILES and MARKORA_BENCH_MB make it smaller)

#include "services/docfile.h"
#include "services/filesearch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

const int kFiles = [] {
    const int n = qEnvironmentVariableIntValue("MARKORA_BENCH_FILES");
    return n > 0 ? n : 10000;
}();
const qint64 kBytes = [] {
    const int mb = qEnvironmentVariableIntValue("MARKORA_BENCH_MB");
    return qint64(mb > 0 ? mb : 500) * 1000 * 1000;
}();

const QString kCommon = QStringLiteral("szukaj");
const QString kNowhere = QStringLiteral("nieistniejący");

double processCpu()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double childrenCpu()
{
    rusage u;
    getrusage(RUSAGE_CHILDREN, &u);
    const auto s = [](const timeval &v) { return double(v.tv_sec) + double(v.tv_usec) * 1e-6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

QTemporaryDir &workDir()
{
    static QTemporaryDir dir;
    return dir;
}

// The tree, made once: folder dNN, files fNNN.html of about the same size each.
QString tree()
{
    static const QString root = [] {
        const QString r = workDir().filePath(QStringLiteral("strona"));
        const QString lines[] = {
            QStringLiteral("<p class=\"tekst\">Zażółć gęślą jaźń, łódź i źdźbło w Krakowie.</p>\n"),
            QStringLiteral("<li><a href=\"strona.html\">Łącze do strony</a> &mdash; opis</li>\n"),
            QStringLiteral("\t<td align=\"left\">Lorem ipsum dolor sit amet</td><td>42</td>\n"),
            QStringLiteral("<div id=\"n\">Śródmieście, ulica Żółta 7, tel. 12 345 67 89</div>\n"),
        };
        QRandomGenerator rng(20);
        const qint64 perFile = kBytes / kFiles;
        for (int i = 0; i < kFiles; ++i) {
            const int kind = i % 4; // 0, 1: Windows-1250; 2: ISO 8859-2; 3: UTF-8
            QString text = kind == 2
                ? QStringLiteral("<html><head><meta charset=iso-8859-2></head><body>\n")
                : QStringLiteral("<html><head><meta charset=windows-1250></head><body>\n");
            int n = 0;
            while (text.size() < perFile) {
                text += lines[rng.bounded(4)];
                if (++n % 100 == 37)
                    text += QStringLiteral("<p>Tu ") + kCommon + QStringLiteral(" tego słowa.</p>\n");
            }
            text += QStringLiteral("</body></html>\n");
            const QString dir = QStringLiteral("%1/d%2").arg(r).arg(i / 100, 2, 10, QLatin1Char('0'));
            QDir().mkpath(dir);
            QFile f(QStringLiteral("%1/f%2.html").arg(dir).arg(i % 100, 3, 10, QLatin1Char('0')));
            if (!f.open(QIODevice::WriteOnly))
                qFatal("cannot write the tree");
            if (kind == 3) {
                QString crlf = text;
                f.write(crlf.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toUtf8());
            } else {
                f.write(EncodeDocumentText(text, kind == 2));
            }
        }
        return r;
    }();
    return root;
}

qsizetype searchOnce(const QString &find, bool regex, double *cpu, FileSearchSummary *summary)
{
    FileSearchRequest q;
    q.folder = tree();
    q.masks = { QStringLiteral("*.html") };
    q.findText = find;
    q.options.regularExpression = regex;
    FileSearcher s(q);
    qsizetype rows = 0;
    s.setBatchSink([&](const QList<FileMatch> &batch) { rows += batch.size(); });
    const double c0 = processCpu();
    *summary = s.run();
    *cpu = processCpu() - c0;
    return rows;
}

void findInFiles(benchmark::State &state, const QString &find, bool regex)
{
    tree();
    double cpu = 0;
    FileSearchSummary summary;
    searchOnce(find, regex, &cpu, &summary); // page cache warmed
    double cpuSum = 0;
    qsizetype rows = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        rows = searchOnce(find, regex, &cpu, &summary);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        cpuSum += cpu;
    }
    if (summary.filesSearched != kFiles)
        state.SkipWithError("not every file searched");
    state.SetBytesProcessed(int64_t(state.iterations()) * summary.bytesSearched);
    state.counters["matches"] = double(rows);
    state.counters["cpu_ms"] = cpuSum * 1000 / double(state.iterations());
}

// A shell command over the tree, its output written to a file (grep stops reading
// early when its output goes to /dev/null) whose lines are the matches, unless the
// command sends it elsewhere itself.
void tool(benchmark::State &state, const char *command)
{
    const QString root = tree();
    const QString out = workDir().filePath(QStringLiteral("out.txt"));
    QByteArray cmd(command);
    cmd.replace("TREE", QFile::encodeName(root));
    const bool counted = !cmd.contains('>');
    if (counted)
        cmd += " > '" + QFile::encodeName(out) + "'";
    if (std::system(cmd.constData()) < 0)
        state.SkipWithError("cannot run");
    double cpu = 0;
    for (auto _ : state) {
        const double c0 = childrenCpu();
        const auto t0 = std::chrono::steady_clock::now();
        std::system(cmd.constData());
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        cpu += childrenCpu() - c0;
    }
    QFile f(out);
    qsizetype lines = 0;
    if (counted && f.open(QIODevice::ReadOnly))
        lines = f.readAll().count('\n');
    state.counters["matches"] = double(lines);
    state.counters["cpu_ms"] = cpu * 1000 / double(state.iterations());
}

} // namespace

#define TIMED(b) b->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond)

TIMED(BENCHMARK_CAPTURE(findInFiles, common_word, kCommon, false));
TIMED(BENCHMARK_CAPTURE(tool, grep_rn_common_word, "LC_ALL=C grep -rn szukaj TREE"));
TIMED(BENCHMARK_CAPTURE(tool, grep_rni_common_word, "LC_ALL=C grep -rni szukaj TREE"));
TIMED(BENCHMARK_CAPTURE(findInFiles, word_nowhere, kNowhere, false));
TIMED(BENCHMARK_CAPTURE(tool, grep_rni_word_nowhere, "LC_ALL=C grep -rni nieistniej TREE"));
TIMED(BENCHMARK_CAPTURE(findInFiles, expression, QStringLiteral("szukaj \\w+"), true));
TIMED(BENCHMARK_CAPTURE(tool, grep_rniE_expression, "LC_ALL=C grep -rniE 'szukaj [[:alnum:]_]+' TREE"));
TIMED(BENCHMARK_CAPTURE(tool, cat_every_file, "find TREE -type f -exec cat {} + > /dev/null"));

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
