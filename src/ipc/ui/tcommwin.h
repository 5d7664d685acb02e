#pragma once

#include "ipc/protocol/commprotocol.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>

class CommDispatcher;
class QLocalServer;
class QLocalSocket;

// The communication server of the running editor ("Markora communication window"):
// a local server that only the same user can reach, never visible. Every connection
// carries one exchange: it gets its own frame decoder and deadlines, is answered and
// closed. Requests are carried out one at a time on the thread that owns this object,
// as soon as their frame is whole; bytes after the frame are never read as a request.
// A bad, truncated, oversized, too slow or silent request yields result 0 and touches
// no document. Hostile clients cannot keep others out: when every slot is taken the
// oldest unfinished exchange makes room, and the bytes held for all connections
// together are capped.
class TCommWin : public QObject
{
    Q_OBJECT
public:
    // The dispatcher must outlive this object.
    explicit TCommWin(CommDispatcher &dispatcher, QObject *parent = nullptr);
    ~TCommWin() override;

    // Serves on name (default Comm::serverName()). False when another editor already
    // answers there (otherEditorRunning(): start-up hands its files over instead) or
    // the server cannot be set up (errorString()).
    bool listen(const QString &name = QString());
    bool otherEditorRunning() const { return m_otherEditorRunning; }
    QString errorString() const { return m_error; }
    QString serverName() const { return m_name; }

    // How long a connection may stay without progress, reading or answering (5 s).
    void setIdleTimeout(int ms) { m_idleTimeout = ms; }
    // How long a client may take over its whole request, and again over taking its
    // whole answer, however steadily it trickles (30 s).
    void setTotalDeadline(int ms) { m_totalDeadline = ms; }
    // Bytes held for all connections together (requests being read, answers being
    // written), not counting the first SmallExchange bytes of each. A request whose
    // header announces more than is left, or whose bytes would go over, is refused; an
    // answer that would go over is not written (status 2).
    void setBufferBudget(qint64 bytes) { m_budget = bytes; }
    // What is counted against the budget now.
    qint64 bufferedBytes() const { return m_buffered; }
    static constexpr qint64 DefaultBufferBudget = qint64(Comm::MaxBlock) + (64 << 20);
    static constexpr qint64 SmallExchange = 64 * 1024;
    // Connections served at once (MaxConnections). One more makes room by dropping the
    // oldest exchange whose request is not yet whole (or, failing that, the oldest still
    // being answered); a request being carried out is never dropped.
    void setMaxConnections(int count) { m_maxConnections = count; }
    static constexpr int MaxConnections = 64;
    int openExchanges() const { return int(m_exchanges.size()); }

Q_SIGNALS:
    // The receiver could not read a request or write an answer; text is the channel's
    // error message.
    void commError(const QString &text);
    // A request was carried out (result 0 included).
    void exchangeDone(quint32 message, quint32 result);

private:
    struct Exchange;

    void acceptConnections();
    bool makeRoom();
    void readFrom(QLocalSocket *socket);
    void timedOut(QLocalSocket *socket);
    void gone(QLocalSocket *socket);
    void answer(Exchange &exchange, CommReply reply);
    void fail(Exchange &exchange);
    // The next idle timeout, or the deadline when that comes first.
    void armTimer(Exchange &exchange);
    bool fits(const Exchange &exchange, qint64 bytes) const;
    void hold(Exchange &exchange, qint64 bytes);
    void cut(QLocalSocket *socket);
    void drop(QLocalSocket *socket);
    void released(qint64 bytes);

    CommDispatcher &m_dispatcher;
    QLocalServer *m_server;
    QString m_name;
    QString m_error;
    bool m_otherEditorRunning = false;
    int m_idleTimeout = 5000;
    int m_totalDeadline = 30000;
    int m_maxConnections = MaxConnections;
    qint64 m_budget = DefaultBufferBudget;
    qint64 m_buffered = 0;
    quint64 m_arrivals = 0;
    QTimer m_trim;
    std::map<QLocalSocket *, std::unique_ptr<Exchange>> m_exchanges;
};
