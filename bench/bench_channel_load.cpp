// The channel of the real editor under hostile load, started offscreen as a process of
// its own:
//  1. 64 clients trickle one byte every 3 s (each reconnects when dropped) while a
//     well-behaved client makes round trips: how many succeed and how long they take;
//  2. 64 clients each declare a 256 MiB block and send part of it as fast as they can
//     (reconnecting when refused): how much the editor's memory grows, and how the
//     well-behaved client fares meanwhile.
// Options: --seconds N (each phase, default 12), --hog-mib N (bytes each client sends
// before it stalls, default 32).
#include "ipc/client/commclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int Clients = 64;

std::atomic<bool> g_stop { false };

int connectTo(const QByteArray &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return -1;
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.constData(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// True while the editor has neither answered nor closed the connection.
bool stillOpen(int fd, int waitMs)
{
    pollfd p { fd, POLLIN, 0 };
    return ::poll(&p, 1, waitMs) == 0;
}

bool sendAll(int fd, const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

QByteArray header(quint32 blockLength)
{
    CommRequest r;
    r.message = Comm::SetText;
    r.wParam = 0xFFFF;
    QByteArray h = encodeRequest(r);
    qToLittleEndian<quint32>(blockLength, h.data() + 16);
    return h;
}

void trickler(QByteArray path, std::atomic<int> *reconnects)
{
    const QByteArray frame = header(1000) + QByteArray(1000, 'x');
    while (!g_stop) {
        const int fd = connectTo(path);
        if (fd < 0) {
            QThread::msleep(100);
            continue;
        }
        for (int i = 0; i < frame.size() && !g_stop; ++i) {
            if (!sendAll(fd, frame.constData() + i, 1) || !stillOpen(fd, 3000))
                break;
        }
        ::close(fd);
        ++*reconnects;
    }
}

void hog(QByteArray path, qint64 bytes, const QByteArray *chunk, std::atomic<int> *reconnects)
{
    const QByteArray h = header(256u << 20);
    while (!g_stop) {
        const int fd = connectTo(path);
        if (fd < 0) {
            QThread::msleep(100);
            continue;
        }
        bool open = sendAll(fd, h.constData(), size_t(h.size()));
        for (qint64 sent = 0; open && sent < bytes && !g_stop; sent += chunk->size())
            open = sendAll(fd, chunk->constData(), size_t(chunk->size()));
        while (open && !g_stop)
            open = stillOpen(fd, 100);
        ::close(fd);
        ++*reconnects;
    }
}

qint64 rssKiB(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

struct RoundTrips
{
    int tried = 0;
    int succeeded = 0;
    std::vector<double> ms;
};

// A well-behaved client: one small request every 100 ms for as long as the phase runs,
// each allowed 2 s. Samples the editor's memory meanwhile.
RoundTrips goodClient(const QString &server, int seconds, qint64 pid, qint64 *peakRss)
{
    RoundTrips r;
    const CommRequest request = CommMakeRequest(Comm::SetSelection, 0xFFFF, 0);
    QElapsedTimer phase;
    phase.start();
    while (phase.elapsed() < seconds * 1000) {
        QElapsedTimer t;
        t.start();
        const CommOutcome outcome = CommExchange(request, 2000, server);
        ++r.tried;
        if (outcome.result != 0 && outcome.error == CommError::None) {
            ++r.succeeded;
            r.ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        if (peakRss)
            *peakRss = std::max(*peakRss, rssKiB(pid));
        QThread::msleep(100);
    }
    std::sort(r.ms.begin(), r.ms.end());
    return r;
}

void print(const char *title, const RoundTrips &r)
{
    auto at = [&r](double q) { return r.ms.empty() ? 0.0 : r.ms[size_t(q * double(r.ms.size() - 1))]; };
    std::printf("%s: %d of %d round trips answered; latency median %.2f ms, 95%% %.2f ms, max %.2f ms\n",
        title, r.succeeded, r.tried, at(0.5), at(0.95), at(1.0));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int seconds = 12;
    qint64 hogMiB = 32;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--seconds"))
            seconds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--hog-mib"))
            hogMiB = std::atoll(argv[i + 1]);
    }

    QTemporaryDir config, sockets;
    const QString server = sockets.filePath(QStringLiteral("markora"));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MARKORA_SERVER_NAME"), server);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QProcess editor;
    editor.setProcessEnvironment(env);
    editor.start(QStringLiteral(MARKORA_BIN_DIR "/markora"), {});
    bool up = editor.waitForStarted(30000);
    for (int i = 0; up && i < 600 && !CommEditorRunning(server, 1000); ++i)
        QThread::msleep(100);
    if (!up || !CommEditorRunning(server, 1000)) {
        std::fprintf(stderr, "the editor did not start\n");
        return 1;
    }
    const qint64 pid = editor.processId();
    const QByteArray path = QFile::encodeName(server);
    QThread::msleep(500);

    // 1. Tricklers first, so that they hold the slots before the good client comes.
    std::atomic<int> reconnects { 0 };
    std::vector<std::thread> threads;
    for (int i = 0; i < Clients; ++i)
        threads.emplace_back(trickler, path, &reconnects);
    QThread::msleep(1000);
    print("64 tricklers", goodClient(server, seconds, pid, nullptr));
    std::printf("  tricklers dropped by the editor: %d\n", int(reconnects));
    g_stop = true;
    for (std::thread &t : threads)
        t.join();
    threads.clear();
    g_stop = false;
    QThread::msleep(1000);

    // 2. Clients declaring 256 MiB each.
    const QByteArray chunk(1 << 20, 'y');
    reconnects = 0;
    const qint64 before = rssKiB(pid);
    qint64 peak = before;
    for (int i = 0; i < Clients; ++i)
        threads.emplace_back(hog, path, hogMiB << 20, &chunk, &reconnects);
    print("64 clients declaring 256 MiB", goodClient(server, seconds, pid, &peak));
    g_stop = true;
    for (std::thread &t : threads)
        t.join();
    std::printf("  each sends %lld MiB then stalls; refused or dropped: %d\n", hogMiB, int(reconnects));
    std::printf("  editor RSS before %lld MiB, peak %lld MiB, growth %lld MiB\n", before / 1024, peak / 1024,
        (peak - before) / 1024);

    editor.kill();
    editor.waitForFinished(10000);
    return 0;
}
