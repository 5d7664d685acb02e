#include "app/ui/startup.h"

#include "app/qttranslations.h"
#include "app/startupsettings.h"
#include "app/ui/assistcontroller.h"
#include "app/ui/documentmanager.h"
#include "app/ui/programicon.h"
#include "app/ui/setupcontroller.h"
#include "app/ui/splash.h"
#include "app/ui/toknogl.h"
#include "base/programversion.h"
#include "base/ui/msgbox.h"
#include "ipc/bus/automationbus.h"
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

void PrepareApplication()
{
    QApplication::setApplicationName(QStringLiteral("Markora"));
    QApplication::setApplicationVersion(ProgramVersion());
    // Wayland matches the windows with the menu entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("pl.lindenworks.markora"));
    QApplication::setWindowIcon(ProgramIcon());
    // Without Qt's catalogue its dialogs stay English; the program works all the same.
    InstallQtTranslations();
}

std::unique_ptr<AutomationBus> MakeAutomationBus(TOknoGl &w)
{
    AutomationBus::Actions actions;
    actions.open = [&w](const QString &path) {
        return w.documents().Open(path, 0, DocumentManager::OpenPrompts::StatusBar);
    };
    // The bus made the document the active one: the common insertion rule works on it.
    actions.insertPair = [&w](EditableDocument *, const QString &opening, const QString &closing) {
        return w.assist()->InsertPair(opening, closing);
    };
    actions.save = [&w](EditableDocument *doc, const QString &path, QString *error) {
        return w.documents().SaveForRequest(dynamic_cast<TEditor *>(doc), path, error);
    };
    actions.message = [&w](const QString &kind, const QString &caption, const QString &text) {
        const int k = int(AutomationBus::messageKinds().indexOf(kind));
        static const QMessageBox::Icon icons[] = { QMessageBox::Information, QMessageBox::Warning,
            QMessageBox::Critical, QMessageBox::Question, QMessageBox::Warning };
        const QMessageBox::StandardButtons buttons = k == 3 ? QMessageBox::Yes | QMessageBox::No
            : k == 4 ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                     : QMessageBox::StandardButtons(QMessageBox::Ok);
        switch (MsgBox::show(&w, icons[qBound(0, k, 4)], caption, text, buttons)) {
        case QMessageBox::Ok:
            return QStringLiteral("ok");
        case QMessageBox::Yes:
            return QStringLiteral("tak");
        case QMessageBox::No:
            return QStringLiteral("nie");
        default:
            // Closed without a button: what Esc means in that box.
            return k < 3 ? QStringLiteral("ok") : k == 3 ? QStringLiteral("nie") : QStringLiteral("anuluj");
        }
    };
    auto bus = std::make_unique<AutomationBus>(w.documents(), std::move(actions));
    AutomationBus *b = bus.get();
    QObject::connect(&w.documents(), &DocumentManager::documentOpened, b, &AutomationBus::DocumentOpened);
    QObject::connect(&w.documents(), &DocumentManager::documentSaved, b, &AutomationBus::DocumentSaved);
    QObject::connect(&w.documents(), &DocumentManager::documentClosing, b,
        [b](TEditor *e) { Q_EMIT b->DocumentClosed(e->documentId()); });
    return bus;
}

int MarkoraMain()
{
    const CommandLine cmd = ParseCommandLine(QCoreApplication::arguments().mid(1));
    if (CommEditorRunning())
        return HandOverToRunningEditor(cmd.documents);

    PrepareApplication();
    Splash::show();
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
    // Other programs script the editor over the session bus; without one it works all the same.
    const std::unique_ptr<AutomationBus> bus = MakeAutomationBus(w);
    QString busError;
    if (!bus->publish(QDBusConnection::sessionBus(), &busError))
        reportOnStderr(QStringLiteral("automatyzacja przez D-Bus niedostępna: %1").arg(busError));
    Splash::message(QStringLiteral("Inicjalizacja zakończona. Uruchamiamy..."));
    w.show();
    w.FormShow(cmd.documents);
    return QApplication::exec();
}
