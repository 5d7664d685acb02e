#include "app/ui/startup.h"

#include "app/startupsettings.h"
#include "app/ui/assistcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/setupcontroller.h"
#include "app/ui/splash.h"
#include "app/ui/toknogl.h"
#include "ipc/client/commclient.h"
#include "ipc/commdispatcher.h"
#include "ipc/ui/tcommwin.h"

#include <QApplication>
#include <cstdio>

namespace {
constexpr int kHandedOver = 255;

void reportOnStderr(const QString &text)
{
    std::fprintf(stderr, "markora: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}
} // namespace

int HandOverToRunningEditor(const QStringList &documents)
{
    for (const QString &path : documents) {
        QString error;
        if (CommOpenFile(path, &error) == 0)
            reportOnStderr(error.isEmpty() ? QStringLiteral("%1: edytor nie otworzył pliku").arg(path)
                                           : QStringLiteral("%1: %2").arg(path, error));
    }
    return kHandedOver;
}

std::unique_ptr<CommDispatcher> MakeCommDispatcher(TOknoGl &w)
{
    return std::make_unique<CommDispatcher>(
        w.documents(),
        [&w](const QString &path) {
            // Requests come one after another and nobody may be there to answer: a
            // message box per request would pile up.
            const int id = w.documents().Open(path, 0, DocumentManager::OpenPrompts::StatusBar);
            // A second start asked for the file: the user wants to see this window.
            w.raise();
            w.activateWindow();
            return id;
        },
        // The dispatcher made the addressed document the active one: the common
        // insertion rule works on it.
        [&w](EditableDocument *, const QString &opening, const QString &closing) {
            w.assist()->InsertPair(opening, closing);
        });
}

int MarkoraMain()
{
    const CommandLine cmd = ParseCommandLine(QCoreApplication::arguments().mid(1));
    if (CommEditorRunning())
        return HandOverToRunningEditor(cmd.documents);

    Splash::show();
    QApplication::setApplicationName(QStringLiteral("Markora"));
    TOknoGl w;
    Splash::message(QStringLiteral("Inicjalizacja: tworzenie okien pomocniczych..."));
    w.setup()->setupDialog();

    // The communication server comes last, as the other windows are all there to serve it.
    const std::unique_ptr<CommDispatcher> dispatcher = MakeCommDispatcher(w);
    TCommWin comm(*dispatcher);
    if (!comm.listen()) {
        if (comm.otherEditorRunning()) {
            // Another editor started at the same moment and won: it takes the files.
            Splash::finish(nullptr);
            return HandOverToRunningEditor(cmd.documents);
        }
        reportOnStderr(QStringLiteral("kanał komunikacji niedostępny: %1").arg(comm.errorString()));
    }
    Splash::message(QStringLiteral("Inicjalizacja zakończona. Uruchamiamy..."));
    w.show();
    w.FormShow(cmd.documents);
    return QApplication::exec();
}
