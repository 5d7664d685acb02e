#include "ipc/bus/automationbus.h"

#include "base/documents.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace {
const QString kErrorPrefix = QStringLiteral("pl.lindenworks.Markora.Error.");

// Documents hold '\n' only; a client on Windows sends CR LF.
QString lineBreaksIn(QString text)
{
    if (text.contains(u'\r')) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
    }
    return text;
}

QString sameFileKey(const QString &path)
{
    const QFileInfo fi(path);
    const QString canonical = fi.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(fi.absoluteFilePath()) : canonical;
}
} // namespace

AutomationBus::AutomationBus(DocumentSet &documents, Actions actions, QObject *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_actions(std::move(actions))
    , m_connection(QString())
{
}

AutomationBus::~AutomationBus()
{
    if (m_connection.isConnected()) {
        m_connection.unregisterObject(objectPath());
        m_connection.unregisterService(serviceName());
    }
}

bool AutomationBus::publish(const QDBusConnection &connection, QString *error)
{
    auto failed = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (!connection.isConnected()) {
        const QString reason = connection.lastError().message();
        return failed(QStringLiteral("szyna sesji D-Bus niedostępna")
            + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
    }
    QDBusConnection bus = connection;
    if (!bus.registerObject(objectPath(), this, QDBusConnection::ExportScriptableContents))
        return failed(QStringLiteral("nie można udostępnić obiektu %1 na szynie sesji").arg(objectPath()));
    // Queued requests for the name would make a second editor wait for it: refused at once.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply
        = bus.interface()->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
            QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(objectPath());
        return failed(reply.isValid()
                ? QStringLiteral("nazwa %1 na szynie sesji jest już zajęta").arg(serviceName())
                : QStringLiteral("nie można przyjąć nazwy %1 na szynie sesji: %2")
                      .arg(serviceName(), reply.error().message()));
    }
    m_connection = bus;
    return true;
}

const QStringList &AutomationBus::messageKinds()
{
    static const QStringList kinds { QStringLiteral("informacja"), QStringLiteral("ostrzeżenie"),
        QStringLiteral("błąd"), QStringLiteral("pytanie"), QStringLiteral("wątpliwość") };
    return kinds;
}

void AutomationBus::fail(const QString &name, const QString &text)
{
    if (calledFromDBus())
        sendErrorReply(kErrorPrefix + name, text);
}

EditableDocument *AutomationBus::addressed(int document)
{
    if (document == 0) {
        if (EditableDocument *doc = m_documents.active())
            return doc;
        fail(QStringLiteral("NoDocument"), QStringLiteral("Żaden dokument nie jest otwarty w edytorze!"));
        return nullptr;
    }
    const int index = m_documents.indexOfId(document);
    if (index < 0) {
        fail(QStringLiteral("NoDocument"),
            QStringLiteral("Nie ma otwartego dokumentu o numerze %1.").arg(document));
        return nullptr;
    }
    return m_documents.at(index);
}

int AutomationBus::ActiveDocument()
{
    const EditableDocument *doc = m_documents.active();
    return doc ? doc->documentId() : 0;
}

QList<int> AutomationBus::Documents()
{
    QList<int> ids;
    for (int i = 0; i < m_documents.count(); ++i)
        ids << m_documents.at(i)->documentId();
    return ids;
}

QString AutomationBus::FileName(int document)
{
    const EditableDocument *doc = addressed(document);
    return doc ? doc->state().fileName : QString();
}

bool AutomationBus::IsModified(int document)
{
    const EditableDocument *doc = addressed(document);
    return doc && doc->isModified();
}

QString AutomationBus::Text(int document)
{
    const EditableDocument *doc = addressed(document);
    return doc ? doc->text() : QString();
}

void AutomationBus::SetText(int document, const QString &text)
{
    if (EditableDocument *doc = addressed(document)) {
        doc->takeSnapshot();
        doc->setText(lineBreaksIn(text));
        doc->setModified(true);
    }
}

void AutomationBus::Selection(int document, int &start, int &length)
{
    start = 0;
    length = 0;
    if (const EditableDocument *doc = addressed(document)) {
        start = doc->selStart();
        length = doc->selLength();
    }
}

QString AutomationBus::SelectedText(int document)
{
    const EditableDocument *doc = addressed(document);
    return doc ? doc->selectedText() : QString();
}

void AutomationBus::SetSelection(int document, int start, int length)
{
    if (start < 0 || length < 0) {
        fail(QStringLiteral("InvalidArgument"),
            QStringLiteral("Początek i długość zaznaczenia nie mogą być ujemne."));
        return;
    }
    if (EditableDocument *doc = addressed(document))
        doc->setSelection(start, length);
}

void AutomationBus::ReplaceSelection(int document, const QString &text)
{
    if (EditableDocument *doc = addressed(document)) {
        doc->takeSnapshot();
        doc->replaceSelection(lineBreaksIn(text));
        doc->setModified(true);
    }
}

void AutomationBus::InsertTag(int document, const QString &opening, const QString &closing)
{
    EditableDocument *doc = addressed(document);
    if (!doc)
        return;
    if (!m_actions.insertPair) {
        fail(QStringLiteral("NotSupported"), QStringLiteral("Wstawianie znaczników jest niedostępne."));
        return;
    }
    m_documents.activate(m_documents.indexOfId(doc->documentId()));
    if (!m_actions.insertPair(doc, lineBreaksIn(opening), lineBreaksIn(closing)))
        fail(QStringLiteral("Failed"), QStringLiteral("Nic nie wstawiono."));
}

int AutomationBus::Open(const QString &path)
{
    // The editor cannot know the client's working folder: only full paths are opened.
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) {
        fail(QStringLiteral("InvalidArgument"),
            QStringLiteral("Potrzebna pełna ścieżka pliku, a nie „%1”.").arg(path));
        return 0;
    }
    if (!QFileInfo(path).isFile()) {
        fail(QStringLiteral("NotOpened"),
            QStringLiteral("Otworzenie pliku %1 jest niemożliwe - taki dokument nie istnieje!").arg(path));
        return 0;
    }
    // A file open already keeps its document (and its edits): its id is the answer.
    const QString key = sameFileKey(path);
    for (int i = 0; i < m_documents.count(); ++i) {
        const QString &name = m_documents.at(i)->state().fileName;
        if (!name.isEmpty() && sameFileKey(name) == key)
            return m_documents.at(i)->documentId();
    }
    const int id = m_actions.open ? m_actions.open(path) : 0;
    if (id == 0)
        fail(QStringLiteral("NotOpened"), QStringLiteral("Nie można otworzyć pliku %1.").arg(path));
    return id;
}

void AutomationBus::Save(int document)
{
    EditableDocument *doc = addressed(document);
    if (!doc)
        return;
    if (doc->state().fileName.isEmpty()) {
        fail(QStringLiteral("Untitled"),
            QStringLiteral("Dokument %1 nie ma jeszcze nazwy pliku: zapisz go przez SaveAs.")
                .arg(doc->documentId()));
        return;
    }
    QString error;
    if (!m_actions.save || !m_actions.save(doc, QString(), &error))
        fail(QStringLiteral("NotSaved"), error.isEmpty() ? QStringLiteral("Nie zapisano dokumentu.") : error);
}

void AutomationBus::SaveAs(int document, const QString &path)
{
    if (path.isEmpty() || !QDir::isAbsolutePath(path)) {
        fail(QStringLiteral("InvalidArgument"),
            QStringLiteral("Potrzebna pełna ścieżka pliku, a nie „%1”.").arg(path));
        return;
    }
    EditableDocument *doc = addressed(document);
    if (!doc)
        return;
    QString error;
    if (!m_actions.save || !m_actions.save(doc, path, &error))
        fail(QStringLiteral("NotSaved"), error.isEmpty() ? QStringLiteral("Nie zapisano dokumentu.") : error);
}

QString AutomationBus::MessageBox(const QString &kind, const QString &caption, const QString &text)
{
    if (!messageKinds().contains(kind)) {
        fail(QStringLiteral("InvalidArgument"),
            QStringLiteral("Nieznany rodzaj komunikatu „%1” (są: %2).")
                .arg(kind, messageKinds().join(QStringLiteral(", "))));
        return QString();
    }
    if (!m_actions.message) {
        fail(QStringLiteral("NotSupported"), QStringLiteral("Komunikaty są niedostępne."));
        return QString();
    }
    if (!calledFromDBus())
        return m_actions.message(kind, caption, lineBreaksIn(text));
    // The box waits for the user: the answer goes when it is closed, and meanwhile the
    // bus is served (the box is shown after this call returns, not inside it).
    setDelayedReply(true);
    const QDBusMessage call = message();
    QDBusConnection bus = connection();
    QTimer::singleShot(0, this, [this, bus, call, kind, caption, text = lineBreaksIn(text)]() mutable {
        bus.send(call.createReply(m_actions.message(kind, caption, text)));
    });
    return QString();
}
