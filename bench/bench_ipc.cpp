// The inter-process channel measured end to end: the client library on this thread,
// the editor's server with string documents on a thread of its own.

#include "app/documents.h"
#include "ext/commclient.h"
#include "ext/commdispatcher.h"
#include "ext/tcommwin.h"

#include <QCoreApplication>
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

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    server.quit();
    server.wait();
    return 0;
}
