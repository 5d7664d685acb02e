#include "ext/tcommwin.h"

#include "ext/commclient.h"
#include "ext/commdispatcher.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

struct TCommWin::Exchange
{
    enum Phase { Reading, Working, Answering };

    explicit Exchange(QLocalSocket *s)
        : socket(s)
        , decoder(CommFrameDecoder::Request)
    {
    }

    QLocalSocket *socket;
    CommFrameDecoder decoder;
    QTimer timer;
    Phase phase = Reading;
    // The client left while its request was being carried out.
    bool gone = false;
};

TCommWin::TCommWin(CommDispatcher &dispatcher, QObject *parent)
    : QObject(parent)
    , m_dispatcher(dispatcher)
    , m_server(new QLocalServer(this))
{
    setObjectName(QStringLiteral("Markora communication window"));
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &TCommWin::acceptConnections);
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
        if (int(m_exchanges.size()) >= MaxConnections) {
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
        auto exchange = std::make_unique<Exchange>(socket);
        exchange->timer.setSingleShot(true);
        connect(&exchange->timer, &QTimer::timeout, this, [this, socket] { timedOut(socket); });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::bytesWritten, this, [this, socket] {
            auto it = m_exchanges.find(socket);
            if (it != m_exchanges.end() && it->second->phase == Exchange::Answering)
                it->second->timer.start(m_idleTimeout);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { gone(socket); });
        exchange->timer.start(m_idleTimeout);
        m_exchanges.emplace(socket, std::move(exchange));
        // Bytes may have come with the connection itself.
        if (socket->bytesAvailable() > 0)
            readFrom(socket);
    }
}

void TCommWin::readFrom(QLocalSocket *socket)
{
    auto it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    Exchange &exchange = *it->second;
    if (exchange.phase != Exchange::Reading) {
        socket->readAll(); // one exchange per connection: anything after the frame is ignored
        return;
    }
    const CommFrameDecoder::State state = exchange.decoder.feed(socket->readAll());
    if (state == CommFrameDecoder::Failed) {
        fail(exchange);
        return;
    }
    if (state == CommFrameDecoder::NeedMore) {
        if (exchange.gone) {
            Q_EMIT commError(commErrorText(CommError::NoBlock));
            drop(socket);
        } else {
            exchange.timer.start(m_idleTimeout);
        }
        return;
    }

    exchange.phase = Exchange::Working;
    exchange.timer.stop();
    const CommRequest request = exchange.decoder.request();
    // The open command may show a dialog with its own event loop: this exchange may
    // end meanwhile (gone()), so it is looked up again afterwards.
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
        // A busy event loop may fire the timer before reading what has arrived.
        if (socket->bytesAvailable() > 0) {
            readFrom(socket);
            return;
        }
        fail(exchange);
    } else if (exchange.phase == Exchange::Answering) {
        // The client does not take its answer.
        socket->disconnect(this);
        socket->abort();
        drop(socket);
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
    CommReply reply;
    reply.status = Comm::RequestUnreadable;
    answer(exchange, reply);
}

void TCommWin::answer(Exchange &exchange, const CommReply &reply)
{
    if (exchange.gone) {
        drop(exchange.socket);
        return;
    }
    exchange.phase = Exchange::Answering;
    exchange.timer.start(m_idleTimeout);
    QLocalSocket *socket = exchange.socket;
    socket->write(encodeReplyHeader(reply));
    if (!reply.answer.isEmpty())
        socket->write(reply.answer);
    // Closes once everything is written; disconnected() then ends the exchange.
    socket->disconnectFromServer();
}

void TCommWin::drop(QLocalSocket *socket)
{
    auto it = m_exchanges.find(socket);
    if (it == m_exchanges.end())
        return;
    socket->disconnect(this);
    m_exchanges.erase(it);
    socket->deleteLater();
}
