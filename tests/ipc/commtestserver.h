#pragma once

#include "base/documents.h"
#include "ipc/commdispatcher.h"
#include "ipc/ui/tcommwin.h"

#include <QCoreApplication>
#include <QString>
#include <QTest>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// A communication server over string documents, on a server name of its own so that
// tests never meet a user's running editor. Documents: id 1 "alpha\nbeta\ngamma",
// id 2 "0123456789abcdef" (active). 0x401 adds a document holding the path.
struct CommTestServer
{
    CommTestServer()
    {
        static int serial = 0;
        name = QStringLiteral("markora-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
        qputenv("MARKORA_SERVER_NAME", name.toUtf8());
        docs.add(QStringLiteral("alpha\nbeta\ngamma"));
        docs.add(QStringLiteral("0123456789abcdef"));
        dispatcher = std::make_unique<CommDispatcher>(
            docs, [this](const QString &path) { return docs.add(QString(), path)->documentId(); },
            [](EditableDocument *d, const QString &opening, const QString &closing) {
                const int s = d->selStart(), l = d->selLength();
                d->replaceSelection(opening + d->selectedText() + closing);
                d->setSelection(s + int(opening.size()), l);
            });
        server = std::make_unique<TCommWin>(*dispatcher);
    }
    ~CommTestServer() { qunsetenv("MARKORA_SERVER_NAME"); }

    StringDocument *doc(int index) { return static_cast<StringDocument *>(docs.at(index)); }

    QString name;
    StringDocumentSet docs;
    std::unique_ptr<CommDispatcher> dispatcher;
    std::unique_ptr<TCommWin> server;
};

// Runs blocking client code on its own thread while this thread's event loop serves.
template <typename T> T onClientThread(std::function<T()> client, int timeoutMs = 60000)
{
    std::atomic<bool> done { false };
    T value {};
    std::thread thread([&] {
        value = client();
        done = true;
    });
    QDeadlineTimer deadline(timeoutMs);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    thread.join();
    return value;
}
