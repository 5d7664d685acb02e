// Crash recovery on a 50 MB document: what a keystroke costs with recovery watching,
// and the write done when typing pauses (text copy, UTF-8, atomic file).
#include "app/ui/recoverycontroller.h"
#include "app/ui/toknogl.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextCursor>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr qsizetype kSize = 50 * 1024 * 1024;

struct Fixture
{
    QTemporaryDir dir;
    std::unique_ptr<TOknoGl> window;
    TEditor *editor = nullptr;

    Fixture()
    {
        qputenv("MARKORA_RECOVERY_DIR", QFile::encodeName(dir.filePath(QStringLiteral("odzysk"))));
        window = std::make_unique<TOknoGl>();
        const QString line
            = QStringLiteral("<p class=\"tekst\">Zażółć gęślą jaźń, <b>ŹDŹBŁO</b> łódź 12345</p>\n");
        QString text;
        text.reserve(kSize + line.size());
        while (text.size() < kSize)
            text += line;
        editor = window->CurrentEditor();
        editor->loadText(text);
        editor->setModified(true);
    }
    void type()
    {
        QTextCursor c = editor->textCursor();
        c.setPosition(kSize / 2);
        c.insertText(QStringLiteral("x"));
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_KeystrokeMarked(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state)
        f.type();
}

// What the pause costs the user: the text copy on the window's thread.
void BM_IdleWriteWindowThread(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.window->recovery().writeRecovery(true); // the previous file is there
        f.type();
        state.ResumeTiming();
        f.window->recovery().writeRecovery(false);
    }
    f.window->recovery().writeRecovery(true);
}

// Until the file is on disk: UTF-8, the atomic write and its flush included.
void BM_IdleWriteToDisk(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        f.type();
        state.ResumeTiming();
        f.window->recovery().writeRecovery(true);
    }
}

} // namespace

BENCHMARK(BM_KeystrokeMarked)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IdleWriteWindowThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_IdleWriteToDisk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
