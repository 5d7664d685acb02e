#include "app/ui/documentmanager.h"
#include "app/ui/startup.h"
#include "app/ui/toknogl.h"
#include "guitestsupport.h"
#include "ipc/bus/automationbus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QtTest>

// The editor driven over a private session bus (ctest starts one with dbus-run-session)
// from a connection of its own, as another program would: every call goes through the
// bus daemon while the editor's event loop serves it.
namespace {

using testsupport::readFile;
using testsupport::ScriptedUser;
using testsupport::writeFile;

// The signals the client connection receives.
class SignalLog : public QObject
{
    Q_OBJECT
public:
    QStringList lines;
public Q_SLOTS:
    void record(const QDBusMessage &m)
    {
        QStringList words { m.member() };
        for (const QVariant &v : m.arguments())
            words << v.toString();
        lines << words.join(u' ');
    }
};

// The client's side: a connection of its own to the session bus.
class Client
{
public:
    Client()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("klient")))
    {
        for (const char *name : { "DocumentOpened", "DocumentSaved", "DocumentClosed" })
            m_bus.connect(AutomationBus::serviceName(), AutomationBus::objectPath(),
                AutomationBus::interfaceName(), QString::fromLatin1(name), &log, SLOT(record(QDBusMessage)));
    }
    ~Client() { QDBusConnection::disconnectFromBus(QStringLiteral("klient")); }

    // Calls and runs the editor's event loop until the answer comes.
    QDBusMessage call(const QString &method, const QVariantList &args = {})
    {
        // A plain message: an interface object would ask for the introspection first, and
        // wait for it without serving the editor.
        QDBusMessage m = QDBusMessage::createMethodCall(AutomationBus::serviceName(),
            AutomationBus::objectPath(), AutomationBus::interfaceName(), method);
        m.setArguments(args);
        QDBusPendingCall pending = m_bus.asyncCall(m);
        QElapsedTimer limit;
        limit.start();
        while (!pending.isFinished() && limit.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return pending.reply();
    }
    // The first answer value of a call that must succeed.
    QVariant value(const QString &method, const QVariantList &args = {})
    {
        const QDBusMessage reply = call(method, args);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << reply.errorName() << reply.errorMessage();
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
            ? reply.arguments().constFirst()
            : QVariant();
    }
    bool ok(const QString &method, const QVariantList &args = {})
    {
        const QDBusMessage reply = call(method, args);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << method << reply.errorName() << reply.errorMessage();
        return reply.type() == QDBusMessage::ReplyMessage;
    }
    QDBusConnection &bus() { return m_bus; }

    SignalLog log;

private:
    QDBusConnection m_bus;
};

// The editor as the program starts it: the main window with its automation object on
// the session bus.
struct Editor
{
    TOknoGl window;
    std::unique_ptr<AutomationBus> bus = MakeAutomationBus(window);
    QString error;
    bool published = bus->publish(QDBusConnection::sessionBus(), &error);
};

} // namespace

class TstAutomationBus : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void textAndSelection_data();
    void textAndSelection();
    void tagPair();
    void openSaveAndSignals();
    void refusals_data();
    void refusals();
    void messageBox_data();
    void messageBox();
    void interfaceAsDocumented();
    void withoutBus();
};

void TstAutomationBus::initTestCase()
{
    // The suite brings its own bus (dbus-run-session): without one the test cannot show
    // anything, and passing would hide it.
    QVERIFY2(QDBusConnection::sessionBus().isConnected(),
        "no session bus: run this test through ctest, or under dbus-run-session");
}

void TstAutomationBus::textAndSelection_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // what the document holds
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("selected");
    QTest::newRow("Polish letters") << QStringLiteral("Zażółć gęślą jaźń")
                                    << QStringLiteral("Zażółć gęślą jaźń") << 7 << 5
                                    << QStringLiteral("gęślą");
    // Positions count UTF-16 code units: the emoji takes two.
    QTest::newRow("beyond the BMP") << QStringLiteral("😀 <B>ŻÓŁW</B> 𝄞") << QStringLiteral("😀 <B>ŻÓŁW</B> 𝄞")
                                    << 6 << 4 << QStringLiteral("ŻÓŁW");
    QTest::newRow("CR LF from the client")
        << QStringLiteral("a\r\nbę\rc") << QStringLiteral("a\nbę\nc") << 2 << 2 << QStringLiteral("bę");
    QTest::newRow("clipped to the text")
        << QStringLiteral("kot") << QStringLiteral("kot") << 1 << 100 << QStringLiteral("ot");
}

void TstAutomationBus::textAndSelection()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, start);
    QFETCH(QString, selected);
    Editor editor;
    QVERIFY2(editor.published, qPrintable(editor.error));
    Client client;
    const int id = client.value(QStringLiteral("ActiveDocument")).toInt();
    QVERIFY(id > 0);
    QCOMPARE(qdbus_cast<QList<int>>(client.value(QStringLiteral("Documents"))), QList<int> { id });

    QVERIFY(client.ok(QStringLiteral("SetText"), { 0, text }));
    QCOMPARE(client.value(QStringLiteral("Text"), { id }).toString(), shown);
    QCOMPARE(editor.window.currentEditorOrNull()->text(), shown);
    QVERIFY(client.value(QStringLiteral("IsModified"), { 0 }).toBool());

    QFETCH(int, length);
    QVERIFY(client.ok(QStringLiteral("SetSelection"), { id, start, length }));
    const QDBusMessage sel = client.call(QStringLiteral("Selection"), { 0 });
    QCOMPARE(sel.arguments(), QVariantList({ start, int(selected.size()) }));
    QCOMPARE(client.value(QStringLiteral("SelectedText"), { 0 }).toString(), selected);

    // Replacing the selection is one step that undo takes back.
    QVERIFY(client.ok(QStringLiteral("ReplaceSelection"), { 0, QStringLiteral("«😀»") }));
    QString expected = shown;
    expected.replace(start, selected.size(), QStringLiteral("«😀»"));
    QCOMPARE(client.value(QStringLiteral("Text"), { 0 }).toString(), expected);
    editor.window.currentEditorOrNull()->Undo();
    QCOMPARE(editor.window.currentEditorOrNull()->text(), shown);
}

void TstAutomationBus::tagPair()
{
    Editor editor;
    QVERIFY2(editor.published, qPrintable(editor.error));
    Client client;
    const int first = client.value(QStringLiteral("ActiveDocument")).toInt();
    QVERIFY(client.ok(QStringLiteral("SetText"), { first, QStringLiteral("ala ma kota") }));
    QVERIFY(client.ok(QStringLiteral("SetSelection"), { first, 7, 4 }));
    editor.window.documents().New();
    const int second = client.value(QStringLiteral("ActiveDocument")).toInt();
    QVERIFY(second != first);

    // The addressed document becomes the active one, and the rule wraps its selection.
    QVERIFY(
        client.ok(QStringLiteral("InsertTag"), { first, QStringLiteral("<EM>"), QStringLiteral("</EM>") }));
    QCOMPARE(client.value(QStringLiteral("ActiveDocument")).toInt(), first);
    QCOMPARE(
        client.value(QStringLiteral("Text"), { first }).toString(), QStringLiteral("ala ma <EM>kota</EM>"));
    QCOMPARE(client.value(QStringLiteral("SelectedText"), { first }).toString(), QStringLiteral("kota"));
    QCOMPARE(client.value(QStringLiteral("Text"), { second }).toString(), QString());
}

void TstAutomationBus::openSaveAndSignals()
{
    ScriptedUser user; // nothing may ask: any box would be recorded here
    Editor editor;
    QVERIFY2(editor.published, qPrintable(editor.error));
    Client client;
    QTemporaryDir dir;
    const QString page = writeFile(dir.filePath(QStringLiteral("strona z spacją.html")), "<P>stara</P>");

    const int id = client.value(QStringLiteral("Open"), { page }).toInt();
    QVERIFY(id > 0);
    // Opened again: the same document, not loaded anew.
    QCOMPARE(client.value(QStringLiteral("Open"), { page }).toInt(), id);
    QCOMPARE(client.value(QStringLiteral("FileName"), { id }).toString(), page);

    QVERIFY(client.ok(QStringLiteral("SetText"), { id, QStringLiteral("<P>nowa</P>") }));
    QVERIFY(client.ok(QStringLiteral("Save"), { id }));
    QCOMPARE(readFile(page), QByteArray("<P>nowa</P>"));
    QVERIFY(!client.value(QStringLiteral("IsModified"), { id }).toBool());

    // An untitled document is saved under a name, which becomes its file.
    editor.window.documents().New();
    const int untitled = client.value(QStringLiteral("ActiveDocument")).toInt();
    QVERIFY(client.ok(QStringLiteral("SetText"), { untitled, QStringLiteral("<P>żółw</P>") }));
    const QString copy = dir.filePath(QStringLiteral("kopia.html"));
    QVERIFY(client.ok(QStringLiteral("SaveAs"), { untitled, copy }));
    QCOMPARE(readFile(copy), QByteArray("<P>\xBF\xF3\xB3w</P>")); // the document's Windows-1250
    QCOMPARE(client.value(QStringLiteral("FileName"), { untitled }).toString(), copy);

    // Another program's changes are not written over.
    writeFile(page, "<P>z innego programu</P>");
    QVERIFY(client.ok(QStringLiteral("SetText"), { id, QStringLiteral("<P>trzecia</P>") }));
    const QDBusMessage refused = client.call(QStringLiteral("Save"), { id });
    QCOMPARE(refused.errorName(), QStringLiteral("pl.lindenworks.Markora.Error.NotSaved"));
    QVERIFY(refused.errorMessage().contains(QStringLiteral("inny program")));
    QCOMPARE(readFile(page), QByteArray("<P>z innego programu</P>"));

    editor.window.currentEditorOrNull()->setModified(false);
    QVERIFY(editor.window.documents().Close(editor.window.currentEditorOrNull()));
    QVERIFY(user.asked.isEmpty());
    const QStringList expected { QStringLiteral("DocumentOpened %1 %2").arg(id).arg(page),
        QStringLiteral("DocumentSaved %1 %2").arg(id).arg(page),
        QStringLiteral("DocumentSaved %1 %2").arg(untitled).arg(copy),
        QStringLiteral("DocumentClosed %1").arg(untitled) };
    QTRY_COMPARE(client.log.lines, expected);
}

void TstAutomationBus::refusals_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such document")
        << QStringLiteral("Text") << QVariantList { 999 } << QStringLiteral("NoDocument");
    QTest::newRow("negative selection")
        << QStringLiteral("SetSelection") << QVariantList { 0, -1, 2 } << QStringLiteral("InvalidArgument");
    QTest::newRow("relative path") << QStringLiteral("Open") << QVariantList { QStringLiteral("strona.html") }
                                   << QStringLiteral("InvalidArgument");
    QTest::newRow("missing file") << QStringLiteral("Open")
                                  << QVariantList { QStringLiteral("/nie/ma/takiego/pliku.html") }
                                  << QStringLiteral("NotOpened");
    QTest::newRow("untitled saved") << QStringLiteral("Save") << QVariantList { 0 }
                                    << QStringLiteral("Untitled");
    QTest::newRow("unknown message kind")
        << QStringLiteral("MessageBox")
        << QVariantList { QStringLiteral("krzyk"), QStringLiteral("a"), QStringLiteral("b") }
        << QStringLiteral("InvalidArgument");
}

void TstAutomationBus::refusals()
{
    QFETCH(QString, method);
    QFETCH(QVariantList, args);
    ScriptedUser user;
    Editor editor;
    QVERIFY2(editor.published, qPrintable(editor.error));
    Client client;
    QVERIFY(client.ok(QStringLiteral("SetText"), { 0, QStringLiteral("bez zmian") }));
    const QDBusMessage reply = client.call(method, args);
    QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
    QTEST(reply.errorName().section(u'.', -1), "error");
    QVERIFY(!reply.errorMessage().isEmpty());
    QCOMPARE(client.value(QStringLiteral("Text"), { 0 }).toString(), QStringLiteral("bez zmian"));
    QVERIFY(user.asked.isEmpty());
}

void TstAutomationBus::messageBox_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("button"); // what the user presses
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("answer");
    QTest::newRow("information") << QStringLiteral("informacja") << int(QMessageBox::Ok)
                                 << int(QMessageBox::Information) << QStringLiteral("ok");
    QTest::newRow("error") << QStringLiteral("błąd") << int(QMessageBox::Ok) << int(QMessageBox::Critical)
                           << QStringLiteral("ok");
    QTest::newRow("question, yes") << QStringLiteral("pytanie") << int(QMessageBox::Yes)
                                   << int(QMessageBox::Question) << QStringLiteral("tak");
    QTest::newRow("question, no") << QStringLiteral("pytanie") << int(QMessageBox::No)
                                  << int(QMessageBox::Question) << QStringLiteral("nie");
    QTest::newRow("doubt, cancelled") << QStringLiteral("wątpliwość") << int(QMessageBox::Cancel)
                                      << int(QMessageBox::Warning) << QStringLiteral("anuluj");
    QTest::newRow("question closed") << QStringLiteral("pytanie") << int(QMessageBox::NoButton)
                                     << int(QMessageBox::Question) << QStringLiteral("nie");
}

void TstAutomationBus::messageBox()
{
    QFETCH(QString, kind);
    QFETCH(int, button);
    ScriptedUser user;
    user.answers << QMessageBox::StandardButton(button);
    Editor editor;
    QVERIFY2(editor.published, qPrintable(editor.error));
    Client client;
    const QString text = QStringLiteral("Zażółć 😀\r\ndrugi wiersz");
    QTEST(client.value(QStringLiteral("MessageBox"), { kind, QStringLiteral("Wtyczka: pytanie"), text })
              .toString(),
        "answer");
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked[0].caption, QStringLiteral("Wtyczka: pytanie"));
    QCOMPARE(user.asked[0].text, QStringLiteral("Zażółć 😀\ndrugi wiersz"));
    QTEST(int(user.asked[0].icon), "icon");
}

void TstAutomationBus::interfaceAsDocumented()
{
    Editor editor;
    QVERIFY2(editor.published, qPrintable(editor.error));
    Client client;
    QDBusMessage introspect
        = QDBusMessage::createMethodCall(AutomationBus::serviceName(), AutomationBus::objectPath(),
            QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
    QDBusPendingCall pending = client.bus().asyncCall(introspect);
    QTRY_VERIFY(pending.isFinished());
    const QString live = pending.reply().arguments().value(0).toString();
    // The interface block, line by line without indentation.
    const auto block = [](const QString &xml) {
        const qsizetype from
            = xml.indexOf(QStringLiteral("<interface name=\"pl.lindenworks.Markora.Editor\">"));
        const qsizetype to = xml.indexOf(QStringLiteral("</interface>"), from);
        QStringList lines;
        for (const QString &line : xml.mid(from, to - from).split(u'\n'))
            lines << line.trimmed();
        return lines;
    };
    QFile documented(
        testsupport::sourcePath(QStringLiteral("src/ipc/bus/pl.lindenworks.Markora.Editor.xml")));
    QVERIFY(documented.open(QIODevice::ReadOnly));
    const QStringList expected = block(QString::fromUtf8(documented.readAll()));
    QVERIFY(expected.size() > 10);
    QCOMPARE(block(live), expected);
}

void TstAutomationBus::withoutBus()
{
    // No bus there: the editor goes on without it, and says why.
    Editor editor;
    QVERIFY(editor.published);
    const QDBusConnection none = QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/markora-bus"), QStringLiteral("brak"));
    AutomationBus second(editor.window.documents(), {});
    QString error;
    QVERIFY(!second.publish(none, &error));
    QVERIFY2(error.startsWith(QStringLiteral("szyna sesji D-Bus niedostępna")), qPrintable(error));
    QDBusConnection::disconnectFromBus(QStringLiteral("brak"));
    // The name is the running editor's: a second editor's object does not take it.
    {
        const QDBusConnection other
            = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("drugi"));
        QVERIFY(!second.publish(other, &error));
        QVERIFY2(error.contains(QStringLiteral("zajęta")), qPrintable(error));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("drugi"));
}

QTEST_MAIN(TstAutomationBus)
#include "tst_automationbus.moc"
