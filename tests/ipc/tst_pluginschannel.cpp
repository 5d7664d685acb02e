#include "ipc/protocol/commprotocol.h"
#include "ipc/client/pluginschannel.h"

#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The wake-up of plug-ins: the name both sides compute, the frame, and the listening side.
class TestPluginsChannel : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime; // private (0700), stands in for the user's runtime folder

    static void sendRaw(const QString &caption, const QByteArray &bytes)
    {
        QLocalSocket socket;
        socket.connectToServer(PluginChannel::serverName(caption));
        QVERIFY(socket.waitForConnected(5000));
        socket.write(bytes);
        while (socket.bytesToWrite() > 0)
            QVERIFY(socket.waitForBytesWritten(5000));
        socket.disconnectFromServer();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void serverName_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::newRow("plain") << QStringLiteral("Licznik");
        QTest::newRow("Polish letters and spaces") << QStringLiteral("Licznik słów i znaczników");
        QTest::newRow("path characters") << QStringLiteral("../..\\x/y:*?");
        QTest::newRow("very long") << QString(2000, QLatin1Char('x'));
    }
    void serverName()
    {
        QFETCH(QString, caption);
        const QString name = PluginChannel::serverName(caption);
        QCOMPARE(name, PluginChannel::serverName(caption)); // both sides compute the same
        const QFileInfo info(name);
        QCOMPARE(info.absolutePath(), QFileInfo(m_runtime.path()).absoluteFilePath());
        QVERIFY(info.fileName().startsWith(QStringLiteral("markora-plugin-")));
        QCOMPARE(info.fileName().size(), 15 + 32);
        for (QChar c : info.fileName().mid(15))
            QVERIFY(QStringLiteral("0123456789abcdef").contains(c));
    }

    void distinctCaptionsDistinctNames()
    {
        QStringList names;
        for (const char *c : { "Licznik", "licznik", "Licznik ", "Licznik słów", "Licznik slow" })
            names << PluginChannel::serverName(QString::fromUtf8(c));
        names.removeDuplicates();
        QCOMPARE(names.size(), 5);
    }

    void emptyCaptionNeverRuns()
    {
        QVERIFY(PluginChannel::serverName(QString()).isEmpty());
        QVERIFY(!PluginChannel::wake(QString()));
        QVERIFY(!PluginChannel::running(QString()));
        PluginWakeServer server;
        QVERIFY(!server.listen(QString()));
        QVERIFY(!server.otherInstanceRunning());
    }

    void wakeFrameIsTheChannelRequest()
    {
        const QByteArray frame = PluginChannel::wakeFrame();
        QCOMPARE(frame.size(), Comm::RequestHeaderSize);
        QCOMPARE(frame, QByteArray("MKRQ\x09\x04\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 20));
    }

    void wakeDelivered()
    {
        const QString caption = QStringLiteral("Budzik");
        QVERIFY(!PluginChannel::wake(caption)); // nobody listens yet
        PluginWakeServer server;
        QVERIFY2(server.listen(caption), qPrintable(server.errorString()));
        QVERIFY(PluginChannel::running(caption));
        QSignalSpy spy(&server, &PluginWakeServer::wakeRequested);
        QVERIFY(PluginChannel::wake(caption));
        QVERIFY(spy.wait(10000));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toUInt(), 0u);
        QCOMPARE(spy.at(0).at(1).toUInt(), 0u);
        QVERIFY(PluginChannel::wake(caption));
        QVERIFY(spy.wait(10000));
        QCOMPARE(spy.count(), 2);
    }

    void otherBytesAreNoWakeUp_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        CommRequest open;
        open.message = Comm::OpenFile;
        open.block = "x";
        QTest::newRow("another message") << encodeRequest(open);
        QTest::newRow("garbage") << QByteArray("hello, plug-in");
        QTest::newRow("truncated wake") << PluginChannel::wakeFrame().left(12);
        QTest::newRow("wake with a huge block announced")
            << QByteArray("MKRQ\x09\x04\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\x0f", 20);
    }
    void otherBytesAreNoWakeUp()
    {
        QFETCH(QByteArray, bytes);
        const QString caption = QStringLiteral("Wybredny");
        PluginWakeServer server;
        QVERIFY(server.listen(caption));
        QSignalSpy spy(&server, &PluginWakeServer::wakeRequested);
        sendRaw(caption, bytes);
        // A real wake-up sent afterwards is the only one seen.
        QVERIFY(PluginChannel::wake(caption));
        QVERIFY(spy.wait(10000));
        QTest::qWait(50);
        QCOMPARE(spy.count(), 1);
    }

    void oneInstancePerCaption()
    {
        const QString caption = QStringLiteral("Jedynak");
        PluginWakeServer first;
        QVERIFY(first.listen(caption));
        PluginWakeServer second;
        QVERIFY(!second.listen(caption));
        QVERIFY(second.otherInstanceRunning());
    }

    void leftoverOfDeadInstanceIsReplaced()
    {
        const QString caption = QStringLiteral("Po awarii");
        QFile leftover(PluginChannel::serverName(caption));
        QVERIFY(leftover.open(QIODevice::WriteOnly));
        leftover.close();
        QVERIFY(!PluginChannel::running(caption));
        PluginWakeServer server;
        QVERIFY2(server.listen(caption), qPrintable(server.errorString()));
        QSignalSpy spy(&server, &PluginWakeServer::wakeRequested);
        QVERIFY(PluginChannel::wake(caption));
        QVERIFY(spy.wait(10000));
    }

    void sharedTemporaryFolderIsNotUsed()
    {
        // A runtime folder others may enter is passed over for a private one.
        QTemporaryDir open;
        QFile::setPermissions(open.path(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther
                | QFileDevice::ExeOther);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
        const QString name = PluginChannel::serverName(QStringLiteral("x"));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
        QVERIFY(!name.isEmpty());
        QVERIFY(!name.startsWith(open.path()));
        QVERIFY(QFileInfo(name).absolutePath() != QFileInfo(open.path()).absoluteFilePath());
    }
};

QTEST_GUILESS_MAIN(TestPluginsChannel)
#include "tst_pluginschannel.moc"
