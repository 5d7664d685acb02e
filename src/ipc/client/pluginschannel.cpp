#include "ipc/client/pluginschannel.h"

#include "ipc/protocol/commprotocol.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <memory>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// A wake frame has an empty block; a little room is left for later messages.
constexpr quint32 MaxWakeBlock = 4096;
constexpr int IdleTimeoutMs = 5000;


QString captionHash(const QString &caption)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(caption.toUtf8(), QCryptographicHash::Sha256).toHex().left(32));
}

} // namespace

namespace PluginChannel {

QString serverName(const QString &caption)
{
    if (caption.isEmpty())
        return QString();
    const QString base = QStringLiteral("markora-plugin-");
#ifdef Q_OS_UNIX
    // The same private folder as the editor's own channel, so nobody else can squat a
    // plug-in's name and read or fake its wake-ups.
    const QString folder = Comm::privateRuntimeFolder();
    if (folder.isEmpty())
        return QString();
    return folder + QLatin1Char('/') + base + captionHash(caption);
#else
    return base + qEnvironmentVariable("USERNAME") + QLatin1Char('-') + captionHash(caption);
#endif
}

QByteArray wakeFrame()
{
    CommRequest request;
    request.message = WakeMessage;
    return encodeRequest(request);
}

bool wake(const QString &caption, int timeoutMs)
{
    const QString name = serverName(caption);
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(wakeFrame());
    bool written = true;
    while (socket.bytesToWrite() > 0 && written)
        written = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return written;
}

bool running(const QString &caption, int timeoutMs)
{
    const QString name = serverName(caption);
    if (name.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    const bool answered = socket.waitForConnected(timeoutMs);
    socket.abort();
    return answered;
}

} // namespace PluginChannel

PluginWakeServer::PluginWakeServer(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &PluginWakeServer::accept);
}

PluginWakeServer::~PluginWakeServer() = default;

QString PluginWakeServer::serverName() const { return m_server->fullServerName(); }

bool PluginWakeServer::listen(const QString &caption)
{
    m_otherInstance = false;
    m_error.clear();
    const QString name = PluginChannel::serverName(caption);
    if (name.isEmpty()) {
        m_error = caption.isEmpty() ? QStringLiteral("empty window caption")
                                    : QStringLiteral("no private folder for the server");
        return false;
    }
    if (PluginChannel::running(caption)) {
        m_otherInstance = true;
        m_error = QStringLiteral("another instance is running");
        return false;
    }
    // Nothing answers: whatever is left at the name belongs to a dead instance.
    QLocalServer::removeServer(name);
#ifndef Q_OS_UNIX
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
#endif
    if (!m_server->listen(name)) {
        m_error = m_server->errorString();
        return false;
    }
    return true;
}

void PluginWakeServer::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        auto decoder = std::make_shared<CommFrameDecoder>(CommFrameDecoder::Request, MaxWakeBlock);
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        connect(idle, &QTimer::timeout, socket, &QLocalSocket::abort);
        idle->start(IdleTimeoutMs);
        auto readFrame = [this, socket, decoder] {
            if (decoder->state() != CommFrameDecoder::NeedMore)
                return;
            decoder->feed(socket->readAll());
            if (decoder->state() == CommFrameDecoder::NeedMore)
                return;
            // One frame per connection: whatever the outcome, this one is done.
            socket->abort();
            if (decoder->state() == CommFrameDecoder::Complete) {
                const CommRequest request = decoder->request();
                if (request.message == PluginChannel::WakeMessage)
                    Q_EMIT wakeRequested(request.wParam, request.lParam);
            }
        };
        connect(socket, &QLocalSocket::readyRead, this, readFrame);
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            readFrame();
    }
}
