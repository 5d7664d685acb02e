// Colouring costs: one screen's pass at two document sizes, a typed character in a
// large document with the editor's rules, and what loading such a document costs.
// Run offscreen: QT_QPA_PLATFORM=offscreen ./bench_colouring
// Instruction counts per keystroke, steady under load (a smaller document and fewer
// keys keep the run short; only the keystrokes are collected):
//   MARKORA_BENCH_CHARS=5000000 MARKORA_BENCH_KEYS=40 valgrind --tool=callgrind
//     --collect-atstart=no ./bench_colouring --benchmark_filter=TypeChar
#include "editor/colorengine.h"
#include "editor/defaultrules.h"
#include "editor/ui/tcolormemo.h"
#include "base/inifile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_TOGGLE_COLLECT
#endif

namespace {

const char *const kElements[] = {
    "A",
    "ABBR",
    "ACRONYM",
    "ADDRESS",
    "APPLET",
    "AREA",
    "B",
    "BASE",
    "BASEFONT",
    "BDO",
    "BIG",
    "BLOCKQUOTE",
    "BODY",
    "BR",
    "BUTTON",
    "CAPTION",
    "CENTER",
    "CITE",
    "CODE",
    "COL",
    "COLGROUP",
    "DD",
    "DEL",
    "DFN",
    "DIR",
    "DIV",
    "DL",
    "DT",
    "EM",
    "FIELDSET",
    "FONT",
    "FORM",
    "FRAME",
    "FRAMESET",
    "H1",
    "H2",
    "H3",
    "H4",
    "H5",
    "H6",
    "HEAD",
    "HR",
    "HTML",
    "I",
    "IFRAME",
    "IMG",
    "INPUT",
    "INS",
    "ISINDEX",
    "KBD",
    "LABEL",
    "LEGEND",
    "LI",
    "LINK",
    "MAP",
    "MENU",
    "META",
    "NOFRAMES",
    "NOSCRIPT",
    "OBJECT",
    "OL",
    "OPTGROUP",
    "OPTION",
    "P",
    "PARAM",
    "PRE",
    "Q",
    "S",
    "SAMP",
    "SCRIPT",
    "SELECT",
    "SMALL",
    "SPAN",
    "STRIKE",
    "STRONG",
    "STYLE",
    "SUB",
    "SUP",
    "TABLE",
    "TBODY",
    "TD",
    "TEXTAREA",
    "TFOOT",
    "TH",
    "THEAD",
    "TITLE",
    "TR",
    "TT",
    "U",
    "UL",
    "VAR",
    "EMBED",
    "NOBR",
    "WBR",
    "MARQUEE",
    "BLINK",
    "LAYER",
    "ILAYER",
    "SPACER",
    "MULTICOL",
};

// The shipped tags.ini when the build copied one, else ~100 sections in four groups.
IniFile tagsIni()
{
    IniFile ini;
    if (ini.load(QCoreApplication::applicationDirPath() + QStringLiteral("/konfiguracja/tags.ini"))
        && ini.sections().size() > 20)
        return ini;
    QString text = QStringLiteral("[_Format]\ncolor=Navy\n[_Tabele]\ncolor=Teal\n[_Linki]\ncolor=Green\n"
                                  "[%core]\nargs=id,class,style,title\n");
    int i = 0;
    for (const char *name : kElements) {
        static const char *const groups[] = { "_Format", "_Tabele", "_Linki", "_Format" };
        text += QStringLiteral("[%1]\ngrp=%2\nargs=%core\n")
                    .arg(QLatin1String(name), QLatin1String(groups[i++ % 4]));
    }
    ini.parse(text);
    return ini;
}

// A page of plausible markup repeated to about `chars` characters.
QString generateHtml(qsizetype chars)
{
    const QString lines[] = {
        QStringLiteral(
            "<TR><TD class=\"c%1\">Ala &amp; kot {x:y} if</TD><td><a href=\"p%1.html\">łącze</a></td></TR>"),
        QStringLiteral("<P>Zwykły akapit tekstu, w którym nie ma wiele znaczników, numer %1.</P>"),
        QStringLiteral(
            "\t<script>function f%1() { var a = new Array(); if (a) x = 1; else y = 2; }</script>"),
        QStringLiteral("<IMG SRC=\"obrazek%1.gif\" WIDTH=\"120\" HEIGHT=\"80\" ALT=\"Opis\"><BR>"),
    };
    QString out;
    out.reserve(chars + 200);
    int n = 0;
    while (out.size() < chars) {
        out += lines[n % 4].arg(n);
        out += QLatin1Char('\n');
        ++n;
    }
    return out;
}

qint64 rssKiB()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Counts passes by kind, to see what a keystroke costs in passes.
class CountingMemo : public TColorMemo
{
public:
    int linePasses = 0;
    int fullPasses = 0;
    void UpdateColors(bool currentLineOnly) override
    {
        ++(currentLineOnly ? linePasses : fullPasses);
        TColorMemo::UpdateColors(currentLineOnly);
    }
};

struct LoadedDoc
{
    std::unique_ptr<QPlainTextEdit> edit;
    double loadMs = 0;
    double bytesPerChar = 0;
};

template <class Edit> LoadedDoc loadDocument(qsizetype chars, bool colourRules)
{
    LoadedDoc d;
    const qint64 before = rssKiB();
    QString text = generateHtml(chars);
    auto *edit = new Edit;
    if constexpr (std::is_base_of_v<TColorMemo, Edit>)
        if (colourRules)
            edit->setColorRules(DefaultColorRules(tagsIni()));
    QElapsedTimer t;
    t.start();
    edit->setPlainText(text);
    d.loadMs = double(t.nsecsElapsed()) / 1e6;
    const qsizetype n = text.size();
    text = QString(); // only the document's own copy counts
    d.bytesPerChar = double(rssKiB() - before) * 1024.0 / double(n);
    const int lineHeight = edit->fontMetrics().lineSpacing();
    edit->resize(900, lineHeight * 50 + 2 * edit->frameWidth() + 8);
    edit->show();
    QTextCursor c(edit->document()->findBlockByNumber(edit->document()->blockCount() / 2));
    edit->setTextCursor(c);
    edit->centerCursor();
    edit->grab();
    d.edit.reset(edit);
    return d;
}

std::map<qsizetype, LoadedDoc> &memoDocs()
{
    static std::map<qsizetype, LoadedDoc> docs;
    return docs;
}

LoadedDoc &memoDoc(qsizetype chars)
{
    auto &docs = memoDocs();
    auto it = docs.find(chars);
    if (it == docs.end())
        it = docs.emplace(chars, loadDocument<CountingMemo>(chars, true)).first;
    return it->second;
}

constexpr qsizetype k50kB = 50 * 1000;
// The large document; MARKORA_BENCH_CHARS makes it smaller for runs under valgrind.
const qsizetype k50MB = [] {
    bool ok = false;
    const qsizetype n = qEnvironmentVariable("MARKORA_BENCH_CHARS").toLongLong(&ok);
    return ok && n > 0 ? n : qsizetype(50) * 1000 * 1000;
}();
// Keystrokes per typing benchmark; MARKORA_BENCH_KEYS lowers it for valgrind.
const int kKeys = [] {
    const int n = qEnvironmentVariableIntValue("MARKORA_BENCH_KEYS");
    return n > 0 ? n : 400;
}();

// (a) One screen's colouring pass through the widget's path: block walk, stretch
// gathering, engine, format comparison. Must not grow with the document.
void BM_ScreenPass(benchmark::State &state)
{
    LoadedDoc &d = memoDoc(state.range(0));
    auto *memo = static_cast<TColorMemo *>(d.edit.get());
    for (auto _ : state)
        memo->UpdateColors(false);
    state.counters["runs"] = double(memo->LastRuns().size());
}
BENCHMARK(BM_ScreenPass)->Arg(k50kB)->Arg(k50MB)->Unit(benchmark::kMicrosecond);

// The engine alone on a 50-line stretch with the editor's rules.
void BM_EnginePass(benchmark::State &state)
{
    const QString text = generateHtml(50 * 80);
    const TDrawRules &rules = DefaultColorRules(tagsIni());
    TColorEngine engine;
    TColorPassInput in;
    in.Text = text;
    in.Rules = &rules;
    in.WantTabs = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(engine.Run(in).size());
}
BENCHMARK(BM_EnginePass)->Unit(benchmark::kMicrosecond);

void typeAndPaint(benchmark::State &state, QPlainTextEdit *edit)
{
    std::vector<double> total, key, paint;
    for (auto _ : state) {
        CALLGRIND_TOGGLE_COLLECT;
        QElapsedTimer t;
        t.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
        QApplication::sendEvent(edit, &press);
        QCoreApplication::processEvents();
        const qint64 typed = t.nsecsElapsed();
        edit->grab();
        const qint64 all = t.nsecsElapsed();
        CALLGRIND_TOGGLE_COLLECT;
        total.push_back(double(all) / 1e6);
        key.push_back(double(typed) / 1e6);
        paint.push_back(double(all - typed) / 1e6);
    }
    const auto median = [](std::vector<double> &v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["median_ms"] = median(total);
    state.counters["key_ms"] = median(key);
    state.counters["paint_ms"] = median(paint);
}

// (b) A typed character in the middle of a 50 MB document, recoloured and painted.
void BM_TypeChar50MB(benchmark::State &state)
{
    LoadedDoc &d = memoDoc(k50MB);
    auto *memo = static_cast<CountingMemo *>(d.edit.get());
    const int line0 = memo->linePasses, full0 = memo->fullPasses;
    typeAndPaint(state, memo);
    state.counters["line_passes"]
        = benchmark::Counter(memo->linePasses - line0, benchmark::Counter::kAvgIterations);
    state.counters["full_passes"]
        = benchmark::Counter(memo->fullPasses - full0, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TypeChar50MB)->Iterations(kKeys)->Unit(benchmark::kMillisecond);

// The same on a bare QPlainTextEdit, for comparison.
std::map<qsizetype, LoadedDoc> &plainDocs()
{
    static std::map<qsizetype, LoadedDoc> docs;
    return docs;
}

void BM_TypeChar50MBPlain(benchmark::State &state)
{
    auto &docs = plainDocs();
    if (docs.find(k50MB) == docs.end())
        docs.emplace(k50MB, loadDocument<QPlainTextEdit>(k50MB, false));
    LoadedDoc &plain = docs.at(k50MB);
    typeAndPaint(state, plain.edit.get());
    state.counters["load_ms"] = plain.loadMs;
    state.counters["bytes_per_char"] = plain.bytesPerChar;
}
BENCHMARK(BM_TypeChar50MBPlain)->Iterations(kKeys)->Unit(benchmark::kMillisecond);

// (c) Load time and memory of the 50 MB document in a TColorMemo.
void BM_Load50MB(benchmark::State &state)
{
    LoadedDoc &d = memoDoc(k50MB);
    for (auto _ : state)
        benchmark::DoNotOptimize(d.loadMs);
    state.counters["load_ms"] = d.loadMs;
    state.counters["bytes_per_char"] = d.bytesPerChar;
}
BENCHMARK(BM_Load50MB)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The widgets go before the application object does.
    memoDocs().clear();
    plainDocs().clear();
    return 0;
}
