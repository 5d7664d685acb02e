// Typing with the tag assistance on, through the main window's editor: a plain
// character between tags, printable characters and a space inside a tag (the space
// opens the parameter list), and ">" that adds a closing tag. Each is measured in a
// 50 kB and a 50 MB document; the cost per keystroke must not grow with the document.
//
// Each keystroke is timed three ways, medians in milliseconds:
//   <name>_key_ms     the key handlers alone
//   <name>_events_ms  the handlers and the event loop's repaint of what changed (what a
//                     keystroke costs the user)
//   <name>_ms         that, and the editor (and the parameter list when it is open)
//                     drawn again: the keystroke with its repaint
//   <name>_cpu_ms     the process's CPU time for <name>_ms, all threads (steadier than
//                     wall time on a busy machine)
//   <name>_window_ms  events, and the whole window drawn again: every toolbar, tab and
//                     panel, which a keystroke never repaints
// Run offscreen: QT_QPA_PLATFORM=offscreen ./bench_typing_assist
#include "app/ui/assistcontroller.h"
#include "app/ui/toknogl.h"
#include "tags/ui/taggrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>

namespace {

constexpr qsizetype k50kB = 50 * 1000;
constexpr qsizetype k50MB = 50 * 1000 * 1000;

QString generateHtml(qsizetype chars)
{
    const QString rows[] = {
        QStringLiteral("<TR><TD ALIGN=\"left\">komórka tabeli</TD><TD>dalej</TD></TR>\n"),
        QStringLiteral("  <P CLASS=\"tekst\">Zażółć gęślą jaźń <B>pogrubione</B> i <A "
                       "HREF=\"a.html\">odnośnik</A>.</P>\n"),
        QStringLiteral("<IMG SRC=\"obraz.gif\" ALT=\"obraz\" BORDER=0><BR>\n"),
    };
    QString text;
    text.reserve(chars + 200);
    for (int i = 0; text.size() < chars; ++i)
        text += rows[i % 3];
    return text;
}

struct Window
{
    std::unique_ptr<TOknoGl> window;
    TEditor *editor = nullptr;
    int inTag = 0; // a position just after "<TD " in the middle of the document
};

Window &memoWindow(qsizetype chars)
{
    static std::map<qsizetype, Window> windows;
    auto it = windows.find(chars);
    if (it != windows.end())
        return it->second;
    Window w;
    w.window = std::make_unique<TOknoGl>();
    w.window->resize(1000, 800);
    w.window->show();
    w.editor = w.window->CurrentEditor();
    w.editor->loadText(generateHtml(chars));
    QTextBlock b = w.editor->document()->findBlockByNumber(w.editor->document()->blockCount() / 2);
    while (!b.text().startsWith(QLatin1String("<TR><TD")))
        b = b.next();
    w.inTag = b.position() + 8;
    w.editor->setSelection(w.inTag, 0);
    w.editor->centerCursor();
    w.editor->setFocus();
    QCoreApplication::processEvents();
    return windows.emplace(chars, std::move(w)).first->second;
}

// With MARKORA_BENCH_PAINTS set, which widgets repaint for a keystroke of each kind is
// printed once: where the repaint's time goes.
class PaintCounter : public QObject
{
public:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() != QEvent::Paint || !counting)
            return false;
        // Named after the widget, or the nearest named widget holding it.
        QString name = QString::fromLatin1(o->metaObject()->className());
        QObject *named = o;
        while (named && (named->objectName().isEmpty() || named->objectName().startsWith(QLatin1String("qt_"))))
            named = named->parent();
        if (named)
            name += (named == o ? QStringLiteral(" ") : QStringLiteral(" in ")) + named->objectName();
        ++counts[name];
        return false;
    }
    bool counting = false;
    std::map<QString, int> counts;
};

PaintCounter *paintCounter()
{
    static PaintCounter *counter = [] {
        auto *c = new PaintCounter;
        if (qEnvironmentVariableIsSet("MARKORA_BENCH_PAINTS"))
            qApp->installEventFilter(c);
        return c;
    }();
    return counter;
}

void reportPaints(const char *what, const std::function<void()> &keystroke)
{
    // The tenth keystroke of its kind, when what the first ones drew for the first time
    // (a toolbar button enabled, a panel filled) is behind.
    static std::map<std::string, int> seen;
    PaintCounter *c = paintCounter();
    if (!qEnvironmentVariableIsSet("MARKORA_BENCH_PAINTS") || ++seen[what] != 10) {
        keystroke();
        return;
    }
    c->counts.clear();
    c->counting = true;
    keystroke();
    c->counting = false;
    std::string line = std::string(what) + " repaints:";
    for (const auto &[name, n] : c->counts)
        line += " [" + name.toStdString() + " x" + std::to_string(n) + "]";
    std::fprintf(stderr, "%s\n", line.c_str());
}

double processCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct KeyTimes
{
    double key = 0; // the handlers
    double events = 0; // and the event loop's repaint
    double total = 0; // and the editor and the parameter list drawn again
    double cpu = 0; // process CPU time for total
    double window = 0; // events and the whole window drawn again
};

// Sends one key to target, lets the event loop repaint, then draws again what typing
// changes (the editor, the parameter list when it is open) and then the whole window.
KeyTimes typeKey(QWidget *target, TOknoGl *window, int key, const QString &text)
{
    KeyTimes k;
    const double cpu0 = processCpuMs();
    QElapsedTimer t;
    t.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    k.key = double(t.nsecsElapsed()) / 1e6;
    const QString what
        = text.isEmpty() ? QStringLiteral("key %1").arg(key) : QLatin1Char('"') + text + QLatin1Char('"');
    reportPaints(qPrintable(what), [] { QCoreApplication::processEvents(); });
    k.events = double(t.nsecsElapsed()) / 1e6;
    window->CurrentEditor()->grab();
    if (QWidget *list = window->findChild<QWidget *>(QStringLiteral("WstList")); list && list->isVisible())
        list->grab();
    k.total = double(t.nsecsElapsed()) / 1e6;
    k.cpu = processCpuMs() - cpu0;
    QElapsedTimer w;
    w.start();
    window->grab();
    k.window = k.events + double(w.nsecsElapsed()) / 1e6;
    return k;
}

// The medians of one keystroke's times, as counters named after it.
class KeyStats
{
public:
    explicit KeyStats(const char *name)
        : m_name(name)
    {
    }
    void add(const KeyTimes &k)
    {
        m_key.push_back(k.key);
        m_events.push_back(k.events);
        m_total.push_back(k.total);
        m_cpu.push_back(k.cpu);
        m_window.push_back(k.window);
    }
    void report(benchmark::State &state);

private:
    std::string m_name;
    std::vector<double> m_key, m_events, m_total, m_cpu, m_window;
};

double median(std::vector<double> &v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void KeyStats::report(benchmark::State &state)
{
    state.counters[m_name + "_key_ms"] = median(m_key);
    state.counters[m_name + "_events_ms"] = median(m_events);
    state.counters[m_name + "_ms"] = median(m_total);
    state.counters[m_name + "_cpu_ms"] = median(m_cpu);
    state.counters[m_name + "_window_ms"] = median(m_window);
}

// A printable character between two tags: the keystroke the assistance has nothing to
// do for, the measure for the others.
void BM_TypePlain(benchmark::State &state)
{
    Window &w = memoWindow(state.range(0));
    TEditor *e = w.editor;
    const int at = w.inTag + 20; // in "komórka tabeli"
    KeyStats plain("plain");
    for (auto _ : state) {
        state.PauseTiming();
        e->setSelection(at, 0);
        state.ResumeTiming();
        plain.add(typeKey(e, w.window.get(), Qt::Key_A, QStringLiteral("a")));
        state.PauseTiming();
        QTextCursor c = e->textCursor();
        c.setPosition(at);
        c.setPosition(at + 1, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        e->setTextCursor(c);
        state.ResumeTiming();
    }
    plain.report(state);
}
BENCHMARK(BM_TypePlain)->Arg(k50kB)->Arg(k50MB)->Iterations(300)->Unit(benchmark::kMillisecond);

// A printable character and a space inside a tag; the space opens the parameter list,
// which Escape closes again.
void BM_TypeInsideTag(benchmark::State &state)
{
    Window &w = memoWindow(state.range(0));
    TEditor *e = w.editor;
    QWidget *list = w.window->findChild<QWidget *>(QStringLiteral("WstList"));
    e->setSelection(w.inTag, 0);
    KeyStats printable("printable"), space("space");
    for (auto _ : state) {
        printable.add(typeKey(e, w.window.get(), Qt::Key_A, QStringLiteral("a")));
        space.add(typeKey(e, w.window.get(), Qt::Key_Space, QStringLiteral(" ")));
        state.PauseTiming();
        if (!list->isVisible()) {
            qWarning("text at the tag: %s", qPrintable(e->textAccess().mid(w.inTag - 8, 30)));
            state.SkipWithError("the parameter list did not open");
            break;
        }
        typeKey(list, w.window.get(), Qt::Key_Escape, QString());
        // Back to the same text, so every iteration types at the same place.
        QTextCursor c = e->textCursor();
        c.setPosition(w.inTag);
        c.setPosition(w.inTag + 2, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        e->setTextCursor(c);
        state.ResumeTiming();
    }
    printable.report(state);
    space.report(state);
    state.counters["chars"] = double(e->textAccess().length());
}
BENCHMARK(BM_TypeInsideTag)->Arg(k50kB)->Arg(k50MB)->Iterations(300)->Unit(benchmark::kMillisecond);

// "<B" then ">", which adds "</B>" after the caret.
void BM_TypeGreaterClosing(benchmark::State &state)
{
    Window &w = memoWindow(state.range(0));
    TEditor *e = w.editor;
    const int at = w.inTag - 8; // the line's start
    KeyStats greater("greater");
    for (auto _ : state) {
        state.PauseTiming();
        e->setSelection(at, 0);
        typeKey(e, w.window.get(), Qt::Key_Less, QStringLiteral("<"));
        typeKey(e, w.window.get(), Qt::Key_B, QStringLiteral("B"));
        state.ResumeTiming();
        greater.add(typeKey(e, w.window.get(), Qt::Key_Greater, QStringLiteral(">")));
        state.PauseTiming();
        if (e->textAccess().mid(at, 7) != QLatin1String("<B></B>")) {
            state.SkipWithError("no closing tag was added");
            break;
        }
        QTextCursor c = e->textCursor();
        c.setPosition(at);
        c.setPosition(at + 7, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        e->setTextCursor(c);
        state.ResumeTiming();
    }
    greater.report(state);
}
BENCHMARK(BM_TypeGreaterClosing)->Arg(k50kB)->Arg(k50MB)->Iterations(300)->Unit(benchmark::kMillisecond);

// The tag inspector filled for an INPUT tag: its own arguments, the global ones and
// every event handler, over a hundred and forty rows with their editors.
void BM_InspectLongTag(benchmark::State &state)
{
    Window &w = memoWindow(k50kB);
    TEditor *e = w.editor;
    const QString tag = QStringLiteral("<input type=\"email\" required data-x=\"1\">");
    const int at = w.inTag - 8;
    e->setSelection(at, 0);
    e->insertPlainText(tag);
    TagInspector *inspector = w.window->assist()->tagInspector();
    std::vector<double> shown;
    for (auto _ : state) {
        e->setSelection(at + 3, 0);
        QElapsedTimer t;
        t.start();
        static_cast<EditorHost *>(w.window->assist())->editorDoubleClick(e);
        QCoreApplication::processEvents();
        shown.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    state.counters["rows"] = inspector->rowCount();
    state.counters["inspect_ms"] = median(shown);
    e->setSelection(at, int(tag.size()));
    e->textCursor().removeSelectedText();
}
BENCHMARK(BM_InspectLongTag)->Iterations(50)->Unit(benchmark::kMillisecond);

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
    return 0;
}
