// Very long lines: a document that is one line of 1 MB or 10 MB of minified markup
// (long attribute values, inline pictures in base64, inline SVG paths). Opening is the
// load and the first paint; typing is one character in the middle of the line with
// its repaint. Each is measured in the main window's editor and in a bare
// QPlainTextEdit of the same size and font in the same run, with word wrap on and off.
// Run offscreen: QT_QPA_PLATFORM=offscreen ./bench_longlines
// Smaller or quicker runs: MARKORA_BENCH_OPENS (loads per size), MARKORA_BENCH_KEYS.
#include "app/ui/toknogl.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <ctime>
#include <map>
#include <memory>

namespace {

constexpr qsizetype k1MB = 1000 * 1000;
constexpr qsizetype k10MB = 10 * 1000 * 1000;

const int kOpens = [] {
    const int n = qEnvironmentVariableIntValue("MARKORA_BENCH_OPENS");
    return n > 0 ? n : 3;
}();
const int kKeys = [] {
    const int n = qEnvironmentVariableIntValue("MARKORA_BENCH_KEYS");
    return n > 0 ? n : 15;
}();

// One line of minified markup of about `chars` characters; the same text every run.
QString longLine(qsizetype chars)
{
    static const char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QRandomGenerator rng(13);
    QString out;
    out.reserve(chars + 4000);
    int n = 0;
    while (out.size() < chars) {
        out += QStringLiteral("<div class=\"karta k%1\" style=\"margin:0 auto;color:#333;font-size:14px\">"
                              "<h2 id=\"n%1\">Nagłówek %1</h2><p>Zażółć gęślą jaźń, <b>pogrubione</b> i "
                              "<a href=\"https://example.org/strona/%1?x=1&amp;y=2\">łącze</a>.</p>")
                   .arg(n);
        out += QStringLiteral("<img alt=\"obraz %1\" src=\"data:image/png;base64,").arg(n);
        for (int i = 0; i < 1800; ++i)
            out += QLatin1Char(kBase64[rng.bounded(64)]);
        out += QStringLiteral("\"><svg viewBox=\"0 0 24 24\"><path d=\"");
        for (int i = 0; i < 60; ++i)
            out += QStringLiteral("M%1 %2l%3-%4 ")
                       .arg(rng.bounded(24))
                       .arg(rng.bounded(24))
                       .arg(rng.bounded(9))
                       .arg(rng.bounded(9));
        out += QStringLiteral("z\"/></svg></div>");
        ++n;
    }
    return out;
}

const QString &textOf(qsizetype chars)
{
    static std::map<qsizetype, QString> texts;
    auto it = texts.find(chars);
    if (it == texts.end())
        it = texts.emplace(chars, longLine(chars)).first;
    return it->second;
}

// A position inside the text of a paragraph in the middle of the line.
int middleOfText(const QString &text)
{
    const int at = int(text.indexOf(QLatin1String("<p>Zaż"), text.size() / 2));
    return at + 5;
}

struct Setup
{
    std::unique_ptr<TOknoGl> window;
    std::unique_ptr<QPlainTextEdit> bare;
    TEditor *editor = nullptr;
};

std::map<bool, Setup> &setups()
{
    static std::map<bool, Setup> all;
    return all;
}

Setup &setup(bool wrap)
{
    auto it = setups().find(wrap);
    if (it != setups().end())
        return it->second;
    Setup s;
    s.window = std::make_unique<TOknoGl>();
    s.window->resize(1000, 800);
    // The window's own switch, as the user would.
    auto *wrapSwitch = s.window->findChild<QAction *>(QStringLiteral("ChkZawijanie"));
    if (wrapSwitch->isChecked() != wrap)
        wrapSwitch->trigger();
    s.window->show();
    s.editor = s.window->CurrentEditor();
    s.editor->setFocus();
    QCoreApplication::processEvents();
    s.bare = std::make_unique<QPlainTextEdit>();
    s.bare->setFont(s.editor->font());
    s.bare->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    s.bare->resize(s.editor->size());
    s.bare->show();
    QCoreApplication::processEvents();
    return setups().emplace(wrap, std::move(s)).first->second;
}

QPlainTextEdit *editOf(Setup &s, bool markora) { return markora ? s.editor : s.bare.get(); }
QWidget *paintedOf(Setup &s, bool markora)
{
    return markora ? static_cast<QWidget *>(s.window.get()) : s.bare.get();
}

void load(Setup &s, bool markora, const QString &text)
{
    if (markora)
        s.editor->loadText(text);
    else
        s.bare->setPlainText(text);
}

// Milliseconds of processor time of this thread: steadier than the clock on a machine
// shared with other work.
double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double median(std::vector<double> &v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// Arguments: characters, word wrap, Markora's editor (1) or the bare control (0).
void BM_Open(benchmark::State &state)
{
    const QString &text = textOf(state.range(0));
    Setup &s = setup(state.range(1) != 0);
    const bool markora = state.range(2) != 0;
    std::vector<double> ms, cpu;
    for (auto _ : state) {
        state.PauseTiming();
        load(s, markora, QString());
        paintedOf(s, markora)->grab();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuMs();
        load(s, markora, text);
        QCoreApplication::processEvents();
        paintedOf(s, markora)->grab();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpu0);
    }
    state.counters["open_ms"] = median(ms);
    state.counters["open_cpu_ms"] = median(cpu);
}

void BM_Type(benchmark::State &state)
{
    const QString &text = textOf(state.range(0));
    Setup &s = setup(state.range(1) != 0);
    const bool markora = state.range(2) != 0;
    QPlainTextEdit *edit = editOf(s, markora);
    QWidget *painted = paintedOf(s, markora);
    if (edit->document()->characterCount() - 1 != text.size()) {
        load(s, markora, text);
        painted->grab();
    }
    QTextCursor c(edit->document());
    c.setPosition(middleOfText(text));
    edit->setTextCursor(c);
    edit->centerCursor();
    edit->setFocus();
    QCoreApplication::processEvents();
    painted->grab();
    std::vector<double> total, key, cpu;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        const double cpu0 = cpuMs();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(edit, &release);
        key.push_back(double(t.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
        painted->grab();
        total.push_back(double(t.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpu0);
    }
    state.counters["key_ms"] = median(key);
    state.counters["typed_ms"] = median(total);
    state.counters["typed_cpu_ms"] = median(cpu);
    // The next run starts from the loaded text again.
    load(s, markora, QString());
}

void openArgs(benchmark::internal::Benchmark *b)
{
    b->ArgNames({ "chars", "wrap", "markora" });
    for (qsizetype chars : { k1MB, k10MB })
        for (int wrap : { 1, 0 })
            for (int markora : { 0, 1 })
                b->Args({ chars, wrap, markora });
}

BENCHMARK(BM_Open)->Apply(openArgs)->Iterations(kOpens)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Type)->Apply(openArgs)->Iterations(kKeys)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's settings.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The windows go before the application object does.
    setups().clear();
    return 0;
}
