// markora-plugin-example: a plug-in for the editor's "Doklejki" toolbar. It counts the
// words and tags of the editor's active document, fetched over the inter-process
// channel, and shows them in a small window titled with its WindowCaption. Started with
// "-markora" by the editor's button; a later click sends 1033, which refreshes the
// counts and raises the window. A second start only wakes the first instance.
//
// MARKORA_PLUGIN_EXAMPLE_LOG, when set, names a file that gets one line per event
// (start, refresh, 1033), for scripts and tests that follow the plug-in from outside.

#include "ipc/client/commclient.h"
#include "ipc/client/pluginschannel.h"
#include "textstats.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// The title the registration's WindowCaption must repeat exactly.
QString caption() { return QStringLiteral("Licznik słów i znaczników"); }

void logLine(const QString &line)
{
    const QString path = qEnvironmentVariable("MARKORA_PLUGIN_EXAMPLE_LOG");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write((line + QLatin1Char('\n')).toUtf8());
}

class CounterWindow : public QWidget
{
public:
    CounterWindow()
        : m_counts(new QLabel(this))
    {
        setWindowTitle(caption());
        auto *layout = new QVBoxLayout(this);
        m_counts->setTextFormat(Qt::PlainText);
        m_counts->setMinimumWidth(260);
        layout->addWidget(m_counts);
        auto *refreshButton = new QPushButton(QStringLiteral("Odśwież"), this);
        layout->addWidget(refreshButton);
        connect(refreshButton, &QPushButton::clicked, this, &CounterWindow::refresh);
    }

    void refresh()
    {
        QString text;
        QString error;
        // Buffer size: as much as the channel carries; the editor sends only what there is.
        const quint32 result = CommGetText(CommActiveDocument, Comm::MaxBlock, &text, &error);
        if (result == 0) {
            const QString why
                = error.isEmpty() ? QStringLiteral("Żaden dokument nie jest otwarty w edytorze!") : error;
            m_counts->setText(why);
            logLine(QStringLiteral("refresh failed: ") + why);
            return;
        }
        const TextStats stats = countText(text);
        m_counts->setText(QStringLiteral("Słowa: %1\nZnaczniki: %2\nKomentarze: %3\nZnaki: %4")
                              .arg(stats.words)
                              .arg(stats.tags)
                              .arg(stats.comments)
                              .arg(stats.characters));
        logLine(QStringLiteral("refresh words=%1 tags=%2").arg(stats.words).arg(stats.tags));
    }

private:
    QLabel *m_counts;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    logLine(QStringLiteral("start %1 %2")
                .arg(QCoreApplication::applicationPid())
                .arg(QCoreApplication::arguments().mid(1).join(QLatin1Char(' '))));

    PluginWakeServer server;
    if (!server.listen(caption()) && server.otherInstanceRunning()) {
        // One instance is enough: wake it as the editor would, and leave.
        PluginChannel::wake(caption());
        return 0;
    }

    CounterWindow window;
    QObject::connect(&server, &PluginWakeServer::wakeRequested, &window, [&window] {
        logLine(QStringLiteral("1033"));
        window.refresh();
        window.showNormal();
        window.raise();
        window.activateWindow();
    });
    window.refresh();
    window.show();
    return app.exec();
}
