// The inter-process channel measured end to end: the client library on this thread,
// the editor's server with string documents on a thread of its own; then the same
// against the real editor, started offscreen on a server name of its own.

#include "base/documents.h"
#include "ipc/client/commclient.h"
#include "ipc/commdispatcher.h"
#include "ipc/ui/tcommwin.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <benchmark/benchmark.h>

namespace {

constexpr int BigSize = 50 * 1000 * 1000;

QString bigDocument()
{
    const QString line
        = QString::fromUtf8("<P CLASS=\"tekst\">Zażółć gęślą jaźń, <B>pogrubienie</B> i odnośnik "
                            "<A HREF=\"strona.html\">tutaj</A>.</P>\n");
    QString text;
    text.reserve(BigSize + line.size());
    while (text.size() < BigSize)
        text += line;
    text.truncate(BigSize);
    return text;
}

class ServerThread : public QThread
{
public:
    std::atomic<bool> ready { false };
    QString name;

protected:
    void run() override
    {
        StringDocumentSet docs;
        docs.add(QStringLiteral("alpha\nbeta\ngamma")); // id 1
        docs.add(bigDocument()); // id 2
        CommDispatcher dispatcher(docs, nullptr, nullptr);
        TCommWin server(dispatcher);
        server.setIdleTimeout(600000);
        if (!server.listen(name))
            qFatal("cannot listen on %s", qPrintable(name));
        ready = true;
        exec();
    }
};

void BM_RoundTrip(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(CommSetSelection(1, 0, 3));
}
BENCHMARK(BM_RoundTrip)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_GetSelection(benchmark::State &state)
{
    QString text;
    for (auto _ : state)
        benchmark::DoNotOptimize(CommGetSelection(1, 100, &text));
}
BENCHMARK(BM_GetSelection)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_GetText50MB(benchmark::State &state)
{
    QString text;
    for (auto _ : state) {
        const quint32 result = CommGetText(2, BigSize + 1, &text);
        if (result != quint32(BigSize) + 1)
            state.SkipWithError("unexpected result");
    }
    state.SetBytesProcessed(state.iterations() * qint64(BigSize));
}
BENCHMARK(BM_GetText50MB)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The editor's share of BM_GetText50MB: the dispatcher alone, no socket.
void BM_DispatchGetText50MB(benchmark::State &state)
{
    StringDocumentSet docs;
    docs.add(bigDocument());
    CommDispatcher dispatcher(docs, nullptr, nullptr);
    const CommRequest request = CommMakeRequest(Comm::GetText, 1, BigSize + 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(dispatcher.execute(request));
    state.SetBytesProcessed(state.iterations() * qint64(BigSize));
}
BENCHMARK(BM_DispatchGetText50MB)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_SetText50MB(benchmark::State &state)
{
    const QString text = bigDocument();
    for (auto _ : state) {
        if (CommSetText(2, text) == 0)
            state.SkipWithError("unexpected result");
    }
    state.SetBytesProcessed(state.iterations() * qint64(BigSize));
}
BENCHMARK(BM_SetText50MB)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The real editor: a process of its own with one document, started once for the
// benchmarks below and killed at the end.
struct RealEditor
{
    QTemporaryDir config;
    QString server;
    QProcess process;
    int bigDoc = 0;

    bool start()
    {
        server = QStringLiteral("markora-bench-real-%1").arg(QCoreApplication::applicationPid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MARKORA_SERVER_NAME"), server);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(MARKORA_BIN_DIR "/markora"), {});
        if (!process.waitForStarted(30000))
            return false;
        for (int i = 0; i < 600 && process.state() == QProcess::Running; ++i) {
            if (CommEditorRunning(server, 1000))
                return true;
            QThread::msleep(100);
        }
        return false;
    }
    ~RealEditor()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(10000);
        }
        QLocalServer::removeServer(server);
    }
};

RealEditor *g_real = nullptr;

quint32 realExchange(const CommRequest &request, QByteArray *answer = nullptr)
{
    CommOutcome outcome = CommExchange(request, CommNoTimeout, g_real->server);
    if (answer)
        *answer = std::move(outcome.answer);
    return outcome.result;
}

void BM_RealEditorRoundTrip(benchmark::State &state)
{
    realExchange(CommMakeRequest(Comm::SetText, 0xFFFF, 0, { QStringLiteral("alpha\nbeta\ngamma") }));
    const CommRequest request = CommMakeRequest(Comm::SetSelection, 0xFFFF, 0x00050003);
    for (auto _ : state) {
        if (realExchange(request) != 6)
            state.SkipWithError("unexpected result");
    }
}
BENCHMARK(BM_RealEditorRoundTrip)
    ->Iterations(200)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

void BM_RealEditorGetText50MB(benchmark::State &state)
{
    if (realExchange(CommMakeRequest(Comm::SetText, 0xFFFF, 0, { bigDocument() })) == 0) {
        state.SkipWithError("the editor did not take the text");
        return;
    }
    const CommRequest request = CommMakeRequest(Comm::GetText, 0xFFFF, BigSize + 1);
    QByteArray answer;
    for (auto _ : state) {
        if (realExchange(request, &answer) != quint32(BigSize) + 1)
            state.SkipWithError("unexpected result");
    }
    state.SetBytesProcessed(state.iterations() * qint64(BigSize));
}
BENCHMARK(BM_RealEditorGetText50MB)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString name = QStringLiteral("markora-bench-%1").arg(QCoreApplication::applicationPid());
    qputenv("MARKORA_SERVER_NAME", name.toUtf8());
    ServerThread server;
    server.name = name;
    server.start();
    while (!server.ready)
        QThread::msleep(10);
    RealEditor real;
    if (!real.start())
        qFatal("the editor did not start");
    g_real = &real;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    server.quit();
    server.wait();
    return 0;
}
