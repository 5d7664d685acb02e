// Wall time of starting the editor until it serves requests (its window shown and
// the first show done), and of a second start that hands a file over and exits.
// Each start runs with its own settings folder and server name.
#include "ipc/client/commclient.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

namespace {

const QString kProgram = QStringLiteral(MARKORA_BIN_DIR "/markora");

QProcessEnvironment environment(const QString &config, const QString &server)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MARKORA_SERVER_NAME"), server);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM")))
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

// Starts an editor and waits until it answers a request; false on failure.
bool startEditor(QProcess &p, const QString &config, const QString &server)
{
    p.setProcessEnvironment(environment(config, server));
    p.start(kProgram, {});
    if (!p.waitForStarted(30000))
        return false;
    for (int i = 0; i < 30000 && p.state() == QProcess::Running; ++i) {
        // 0x407 is served from the event loop only, after the first show.
        if (CommExchange(CommMakeRequest(Comm::GetText, 0xFFFF, 64), 2000, server).result > 0)
            return true;
        QThread::usleep(500);
    }
    return false;
}

void stop(QProcess &p)
{
    p.kill();
    p.waitForFinished(10000);
}

void BM_StartupToShown(benchmark::State &state)
{
    QTemporaryDir config;
    for (auto _ : state) {
        const QString server
            = QStringLiteral("markora-bench-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        QProcess p;
        QElapsedTimer t;
        t.start();
        if (!startEditor(p, config.path(), server)) {
            state.SkipWithError("the editor did not start");
            break;
        }
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        stop(p);
    }
}

void BM_SecondStartHandsFileOver(benchmark::State &state)
{
    QTemporaryDir config, docs;
    const QString page = docs.filePath(QStringLiteral("strona.html"));
    QFile f(page);
    if (!f.open(QIODevice::WriteOnly))
        return state.SkipWithError("cannot write the page");
    f.write("<p>strona</p>");
    f.close();
    const QString server
        = QStringLiteral("markora-bench-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QProcess first;
    if (!startEditor(first, config.path(), server))
        return state.SkipWithError("the first editor did not start");
    for (auto _ : state) {
        QProcess second;
        second.setProcessEnvironment(environment(config.path(), server));
        QElapsedTimer t;
        t.start();
        second.start(kProgram, { page });
        second.waitForFinished(30000);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (second.exitCode() != 255) {
            state.SkipWithError("the second start did not end with 255");
            break;
        }
    }
    stop(first);
}

} // namespace

BENCHMARK(BM_StartupToShown)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SecondStartHandsFileOver)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
