// Typing with the tag assistance on, through the main window's editor: printable
// characters and a space inside a tag (the space opens the parameter list), and ">"
// that adds a closing tag. Each is measured in a 50 kB and a 50 MB document; the cost
// per keystroke must not grow with the document.
// Run offscreen: QT_QPA_PLATFORM=offscreen ./bench_typing_assist
#include "app/ui/toknogl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBlock>
#include <algorithm>
#include <benchmark/benchmark.h>
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

// Sends one key to the widget, lets the window repaint, and returns the milliseconds;
// *handled gets the part before painting (the key handlers and the status refresh).
double typeKey(QWidget *target, QWidget *paint, int key, const QString &text, double *handled = nullptr)
{
    QElapsedTimer t;
    t.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    if (handled)
        *handled = double(t.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents();
    paint->grab();
    return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> &v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

// A printable character and a space inside a tag; the space opens the parameter list,
// which Escape closes again.
void BM_TypeInsideTag(benchmark::State &state)
{
    Window &w = memoWindow(state.range(0));
    TEditor *e = w.editor;
    QWidget *list = w.window->findChild<QWidget *>(QStringLiteral("WstList"));
    std::vector<double> printable, space, printableKey, spaceKey;
    for (auto _ : state) {
        double handled = 0;
        printable.push_back(typeKey(e, w.window.get(), Qt::Key_A, QStringLiteral("a"), &handled));
        printableKey.push_back(handled);
        space.push_back(typeKey(e, w.window.get(), Qt::Key_Space, QStringLiteral(" "), &handled));
        spaceKey.push_back(handled);
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
    state.counters["printable_ms"] = median(printable);
    state.counters["space_ms"] = median(space);
    state.counters["printable_key_ms"] = median(printableKey);
    state.counters["space_key_ms"] = median(spaceKey);
    state.counters["chars"] = double(e->textAccess().length());
}
BENCHMARK(BM_TypeInsideTag)->Arg(k50kB)->Arg(k50MB)->Iterations(300)->Unit(benchmark::kMillisecond);

// "<B" then ">", which adds "</B>" after the caret.
void BM_TypeGreaterClosing(benchmark::State &state)
{
    Window &w = memoWindow(state.range(0));
    TEditor *e = w.editor;
    const int at = w.inTag - 8; // the line's start
    std::vector<double> greater, greaterKey;
    for (auto _ : state) {
        state.PauseTiming();
        e->setSelection(at, 0);
        typeKey(e, w.window.get(), Qt::Key_Less, QStringLiteral("<"));
        typeKey(e, w.window.get(), Qt::Key_B, QStringLiteral("B"));
        state.ResumeTiming();
        double handled = 0;
        greater.push_back(typeKey(e, w.window.get(), Qt::Key_Greater, QStringLiteral(">"), &handled));
        greaterKey.push_back(handled);
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
    state.counters["greater_ms"] = median(greater);
    state.counters["greater_key_ms"] = median(greaterKey);
}
BENCHMARK(BM_TypeGreaterClosing)->Arg(k50kB)->Arg(k50MB)->Iterations(300)->Unit(benchmark::kMillisecond);

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
