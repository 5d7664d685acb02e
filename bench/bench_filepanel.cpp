// The file panel on a folder where 10,000 files appear at once, and vanish at once: how
// long until the list shows them all (or none), and the longest time the window's event
// loop was kept from running meanwhile (what the user would feel as a freeze).
#include "app/ui/filepanel.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kFiles = 10000;

struct Fixture
{
    QTemporaryDir dir;
    PnPodPanPlikow panel { QStringLiteral("Wszystkie pliki (*.*)|*.*") };

    Fixture()
    {
        panel.resize(300, 600);
        panel.show();
        panel.selectFolder(dir.path());
        waitForCount(0, nullptr);
    }
    int listed() const
    {
        const QListView *list = panel.fileList();
        return list->model()->rowCount(list->rootIndex());
    }
    // Runs the event loop until the list holds count rows; *stall gets the longest gap
    // between two turns of the loop, in milliseconds.
    void waitForCount(int count, double *stall)
    {
        QElapsedTimer gap;
        gap.start();
        qint64 longest = 0;
        QTimer tick;
        tick.setInterval(0);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longest = qMax(longest, gap.nsecsElapsed());
            gap.restart();
        });
        tick.start();
        QElapsedTimer limit;
        limit.start();
        while (listed() != count && limit.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (stall)
            *stall = double(longest) / 1e6;
    }
    void create()
    {
        for (int i = 0; i < kFiles; ++i) {
            QFile f(dir.filePath(QStringLiteral("strona%1.html").arg(i, 5, 10, QLatin1Char('0'))));
            f.open(QIODevice::WriteOnly);
        }
    }
    void removeAll()
    {
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(dir.filePath(name));
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_TenThousandFilesAppear(benchmark::State &state)
{
    Fixture &f = fixture();
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.removeAll();
        f.waitForCount(0, nullptr);
        f.create();
        state.ResumeTiming();
        double stall = 0;
        f.waitForCount(kFiles, &stall);
        worst = qMax(worst, stall);
    }
    state.counters["listed"] = f.listed();
    state.counters["longest_stall_ms"] = worst;
}
BENCHMARK(BM_TenThousandFilesAppear)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_TenThousandFilesVanish(benchmark::State &state)
{
    Fixture &f = fixture();
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f.create();
        f.waitForCount(kFiles, nullptr);
        f.removeAll();
        state.ResumeTiming();
        double stall = 0;
        f.waitForCount(0, &stall);
        worst = qMax(worst, stall);
    }
    state.counters["listed"] = f.listed();
    state.counters["longest_stall_ms"] = worst;
}
BENCHMARK(BM_TenThousandFilesVanish)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
