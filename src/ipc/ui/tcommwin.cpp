#include "ipc/ui/tcommwin.h"

#include "ipc/client/commclient.h"
#include "ipc/commdispatcher.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {
// Qt keeps at most this much of a connection's unread bytes: the rest waits in the
// system's socket buffer, and a client sending faster than the editor reads is held back.
constexpr qint64 ReadChunk = 256 * 1024;
} // namespace

struct TCommWin::Exchange
{
    enum Phase { Reading, Working, Answering };

    Exchange(QLocalSocket *s, quint64 n)
        : socket(s)
        , decoder(CommFrameDecoder::Request)
        , arrival(n)
    {
    }

    QLocalSocket *socket;
    CommFrameDecoder decoder;
    QTimer timer;
    // Ends the phase the client controls: sending its request, then taking its answer.
    QDeadlineTimer deadline;
    quint64 arrival;
    Phase phase = Reading;
    // The client left while its request was being carried out.
    bool gone = false;
    // Bytes this exchange counts against the budget.
    qint64 held = 0;
};

TCommWin::TCommWin(CommDispatcher &dispatcher, QObject *parent)
    : QObject(parent)
    , m_dispatcher(dispatcher)
    , m_server(new QLocalServer(this))
{
    setObjectName(QStringLiteral("Markora communication window"));
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &TCommWin::acceptConnections);
    // Freed request buffers go back to the system, not only to the allocator: clients
    // refused one after another must not leave the editor hundreds of MB larger than
    // the budget (the allocator keeps freed blocks of a few MB for reuse).
    m_trim.setSingleShot(true);
    m_trim.setInterval(50);
#ifdef __GLIBC__
    connect(&m_trim, &QTimer::timeout, this, [] { ::malloc_trim(0); });
#endif
}

TCommWin::~TCommWin()
{
    for (auto &entry : m_exchanges) {
        QLocalSocket *socket = entry.first;
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
    m_exchanges.clear();
}

bool TCommWin::listen(const QString &name)
{
    m_name = name.isEmpty() ? Comm::serverName() : name;
    m_error.clear();
    if (m_name.isEmpty()) {
        m_error = QString::fromUtf8("Brak prywatnego folderu na gniazdo komunikacji.");
        return false;
    }
    m_otherEditorRunning = CommEditorRunning(m_name);
    if (m_otherEditorRunning)
        return false;
    // A socket left behind by an editor that did not end cleanly answers nobody.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        m_error = m_server->errorString();
        return false;
    }
    return true;
}

void TCommWin::acceptConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        if (int(m_exchanges.size()) >= m_maxConnections && !makeRoom()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
#ifdef Q_OS_UNIX
        // A whole document travels in few wake-ups of both sides with a larger send
        // buffer (the system caps it at its own maximum).
        const int sendBuffer = 4 << 20;
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
#endif
        socket->setReadBufferSize(ReadChunk);
        auto exchange = std::make_unique<Exchange>(socket, ++m_arrivals);
        exchange->timer.setSingleShot(true);
        connect(&exchange->timer, &QTimer::timeout, this, [this, socket] { timedOut(socket); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::bytesWritten, this, [this, socket] {
            auto it = m_exchanges.find(socket);
            if (it != m_exchanges.end() && it->second->phase == Exchange::Answering)
                armTimer(*it->second);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { gone(socket); });
        exchange->deadline.setRemainingTime(m_totalDeadline);
        armTimer(*exchange);
        m_exchanges.emplace(socket, std::move(exchange));
        // Bytes may have come with the connection itself.
        if (socket->bytesAvailable() > 0)
            readFrom(socket);
    }
}

bool TCommWin::makeRoom()
{
    // The oldest client still sending its frame gives way; failing that, the oldest
    // one still being answered.
    Exchange *oldest = nullptr;
    for (const auto &entry : m_exchanges) {
        Exchange *e = entry.second.get();
        if (e->phase == Exchange::Working)
            continue;
        if (!oldest || (e->phase == Exchange::Reading) > (oldest->phase == Exchange::Reading)
            || (e->phase == oldest->phase && e->arrival < oldest->arrival))
            oldest = e;
    }
    if (!oldest)
        return false;
    QLocalSocket *socket = oldest->socket;
    if (oldest->phase == Exchange::Reading) {
        // Tell the client why, as far as the socket takes it at once.
        Q_EMIT commError(commErrorText(CommError::NoBlock));
        CommReply reply;
        reply.status = Comm::RequestUnreadable;
        socket->write(encodeReplyHeader(reply));
        socket->flush();
    }
    cut(socket);
    return true;
}

void TCommWin::readFrom(QLocalSocket *socket)
{
    auto it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    Exchange &exchange = *it->second;
    if (exchange.phase != Exchange::Reading) {
        // One exchange per connection: whatever follows the frame is not a request.
        socket->skip(socket->bytesAvailable());
        return;
    }
    CommFrameDecoder &decoder = exchange.decoder;
    CommFrameDecoder::State state = decoder.state();
    bool progress = false;
    while (state == CommFrameDecoder::NeedMore && socket->bytesAvailable() > 0) {
        // Never past the frame: the decoder would take a later byte for a bad frame.
        const bool headerRead = decoder.received() >= Comm::RequestHeaderSize;
        state = decoder.feed(socket->read(std::min(socket->bytesAvailable(), decoder.missing())));
        progress = true;
        if (state == CommFrameDecoder::Failed)
            break;
        // Refused as soon as the header announces more than is left, or when the
        // bytes actually sent would go over.
        const bool announced = !headerRead && decoder.received() >= Comm::RequestHeaderSize;
        if (!fits(exchange, decoder.received() + (announced ? decoder.missing() : 0))) {
            state = CommFrameDecoder::Failed;
            break;
        }
        hold(exchange, decoder.received());
    }
    if (state == CommFrameDecoder::Failed) {
        fail(exchange);
        return;
    }
    if (state == CommFrameDecoder::NeedMore) {
        if (exchange.gone) {
            Q_EMIT commError(commErrorText(CommError::NoBlock));
            drop(socket);
        } else if (progress) {
            armTimer(exchange);
        }
        return;
    }

    // The frame is whole: it is carried out now, and anything sent after it is ignored.
    socket->skip(socket->bytesAvailable());
    exchange.phase = Exchange::Working;
    exchange.timer.stop();
    const CommRequest request = decoder.request();
    decoder = CommFrameDecoder(CommFrameDecoder::Request);
    // A request may run an event loop of its own (a dialog of a handler): this
    // exchange may end meanwhile (gone()), so it is looked up again afterwards.
    const CommReply reply = m_dispatcher.execute(request);
    Q_EMIT exchangeDone(request.message, reply.result);
    it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    answer(*it->second, reply);
}

void TCommWin::timedOut(QLocalSocket *socket)
{
    auto it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    Exchange &exchange = *it->second;
    if (exchange.phase == Exchange::Reading) {
        // A busy event loop may fire the timer before reading what has arrived: that
        // is progress, unless the whole request is overdue.
        if (socket->bytesAvailable() > 0) {
            readFrom(socket);
            it = m_exchanges.find(socket);
            if (it == m_exchanges.end() || it->second->phase != Exchange::Reading
                || !it->second->deadline.hasExpired())
                return;
        }
        fail(*it->second);
    } else if (exchange.phase == Exchange::Answering) {
        // The client does not take its answer, or takes too long.
        cut(socket);
    }
}

void TCommWin::gone(QLocalSocket *socket)
{
    auto it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    Exchange &exchange = *it->second;
    exchange.gone = true;
    if (exchange.phase == Exchange::Working)
        return; // dropped once the request is carried out
    if (exchange.phase == Exchange::Reading) {
        // The last bytes may come together with the hang-up: a whole request is still
        // carried out (nobody reads its answer), a partial one is reported.
        if (socket->bytesAvailable() > 0) {
            readFrom(socket);
            return;
        }
        if (exchange.decoder.started())
            Q_EMIT commError(commErrorText(CommError::NoBlock));
    }
    drop(socket);
}

void TCommWin::fail(Exchange &exchange)
{
    Q_EMIT commError(commErrorText(CommError::NoBlock));
    exchange.decoder = CommFrameDecoder(CommFrameDecoder::Request);
    CommReply reply;
    reply.status = Comm::RequestUnreadable;
    answer(exchange, reply);
}

void TCommWin::answer(Exchange &exchange, CommReply reply)
{
    if (exchange.gone) {
        drop(exchange.socket);
        return;
    }
    // The answer stays in this process until the client has taken it.
    if (!fits(exchange, Comm::ReplyHeaderSize + reply.answer.size())) {
        Q_EMIT commError(commErrorText(CommError::CannotCreateBlock));
        reply = CommReply();
        reply.status = Comm::AnswerUnwritable;
    }
    hold(exchange, Comm::ReplyHeaderSize + reply.answer.size());
    exchange.phase = Exchange::Answering;
    exchange.deadline.setRemainingTime(m_totalDeadline);
    armTimer(exchange);
    QLocalSocket *socket = exchange.socket;
    socket->write(encodeReplyHeader(reply));
    if (!reply.answer.isEmpty())
        socket->write(reply.answer);
    // Closes once everything is written; disconnected() then ends the exchange.
    socket->disconnectFromServer();
}

void TCommWin::armTimer(Exchange &exchange)
{
    exchange.timer.start(int(std::clamp<qint64>(exchange.deadline.remainingTime(), 0, m_idleTimeout)));
}

bool TCommWin::fits(const Exchange &exchange, qint64 bytes) const
{
    return m_buffered - exchange.held + std::max<qint64>(0, bytes - SmallExchange) <= m_budget;
}

void TCommWin::hold(Exchange &exchange, qint64 bytes)
{
    const qint64 counted = std::max<qint64>(0, bytes - SmallExchange);
    released(exchange.held - counted);
    m_buffered += counted - exchange.held;
    exchange.held = counted;
}

void TCommWin::released(qint64 bytes)
{
    if (bytes >= (1 << 20) && !m_trim.isActive())
        m_trim.start();
}

void TCommWin::cut(QLocalSocket *socket)
{
    socket->disconnect(this);
    socket->abort();
    drop(socket);
}

void TCommWin::drop(QLocalSocket *socket)
{
    auto it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    socket->disconnect(this);
    m_buffered -= it->second->held;
    released(it->second->held);
    m_exchanges.erase(it);
    socket->deleteLater();
}
