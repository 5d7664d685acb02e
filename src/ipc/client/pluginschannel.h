#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// How the editor finds a running plug-in and wakes it. A plug-in that wants to be
// woken listens on a local server named after its window caption; the editor's click
// connects there, writes one request frame of the channel (message 1033, wParam 0,
// lParam 0, empty block) and closes. Nothing is ever answered.
namespace PluginChannel {

// The first user message plus 9.
constexpr quint32 WakeMessage = 1033;

// Local server name of the plug-in whose window is titled caption: on Unix a socket
// "markora-plugin-<hash>" in the user's private runtime folder ($XDG_RUNTIME_DIR, or
// a folder of mode 0700 in the temporary folder, as the editor's channel uses); on
// Windows the pipe "markora-plugin-<user>-<hash>". <hash> is the first 32 lower-case hex
// digits of the SHA-256 of the caption in UTF-8, so any caption gives a short, safe name.
// Empty for an empty caption (no instance can run) or when no private folder exists.
QString serverName(const QString &caption);

// The 20 bytes sent to wake a plug-in.
QByteArray wakeFrame();

// Sends 1033 to the plug-in listening for caption. True when it was delivered; false
// when nothing listens there (or caption is empty). Waits only for the connection and
// the write, at most timeoutMs each.
bool wake(const QString &caption, int timeoutMs = 1000);

// True when a plug-in listens for caption (the connection is closed at once).
bool running(const QString &caption, int timeoutMs = 1000);

} // namespace PluginChannel

// The plug-in's side: listens for the editor's wake-up. Frames other than 1033 and
// malformed bytes are dropped; a connection that stays silent is closed after 5 s.
class PluginWakeServer : public QObject
{
    Q_OBJECT
public:
    explicit PluginWakeServer(QObject *parent = nullptr);
    ~PluginWakeServer() override;

    // Listens for caption. False when another instance already answers there
    // (otherInstanceRunning()) or the server cannot be set up (errorString()). A
    // socket left behind by an instance that died is removed first.
    bool listen(const QString &caption);
    bool otherInstanceRunning() const { return m_otherInstance; }
    QString errorString() const { return m_error; }
    QString serverName() const;

Q_SIGNALS:
    // The editor asked the plug-in to wake (message 1033; both parameters are 0).
    void wakeRequested(quint32 wParam, quint32 lParam);

private:
    void accept();

    QLocalServer *m_server;
    QString m_error;
    bool m_otherInstance = false;
};
