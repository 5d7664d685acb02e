#pragma once

#include "ext/commprotocol.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>

class CommDispatcher;
class QLocalServer;
class QLocalSocket;

// The communication server of the running editor ("Markora communication window"):
// a local server that only the same user can reach, never visible. Every connection
// carries one exchange: it gets its own frame decoder and idle timeout, is answered
// and closed. Requests are carried out one at a time on the thread that owns this
// object; a bad, truncated, oversized or silent request yields result 0 and touches
// no document.
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
    // Connections served at once; more are closed unanswered.
    static constexpr int MaxConnections = 64;
    int openExchanges() const { return int(m_exchanges.size()); }

Q_SIGNALS:
    // The receiver could not read a request; text is the channel's error message.
    void commError(const QString &text);
    // A request was carried out (result 0 included).
    void exchangeDone(quint32 message, quint32 result);

private:
    struct Exchange;

    void acceptConnections();
    void readFrom(QLocalSocket *socket);
    void timedOut(QLocalSocket *socket);
    void gone(QLocalSocket *socket);
    void answer(Exchange &exchange, const CommReply &reply);
    void fail(Exchange &exchange);
    void drop(QLocalSocket *socket);

    CommDispatcher &m_dispatcher;
    QLocalServer *m_server;
    QString m_name;
    QString m_error;
    bool m_otherEditorRunning = false;
    int m_idleTimeout = 5000;
    std::map<QLocalSocket *, std::unique_ptr<Exchange>> m_exchanges;
};
