#include "app/ui/startup.h"
#include "app/ui/documentmanager.h"
#include "app/ui/toknogl.h"
#include "commtestserver.h"
#include "guitestsupport.h"
#include "ipc/client/commclient.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <vector>

// The communication server driven through real local sockets: by the client library
// on other threads, and by raw sockets that misbehave on purpose.
class TestTCommWin : public QObject
{
    Q_OBJECT

    std::unique_ptr<CommTestServer> m_s;

    // Waits for the server's reply on a raw socket; the reply decoder's final state.
    static CommFrameDecoder readReply(QLocalSocket &socket)
    {
        CommFrameDecoder decoder(CommFrameDecoder::Reply);
        QDeadlineTimer deadline(30000);
        while (decoder.state() == CommFrameDecoder::NeedMore && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (socket.bytesAvailable() > 0)
                decoder.feed(socket.readAll());
            else if (socket.state() == QLocalSocket::UnconnectedState)
                break;
        }
        return decoder;
    }

    static bool connectRaw(QLocalSocket &socket, const QString &name)
    {
        socket.connectToServer(name);
        return socket.waitForConnected(10000);
    }

    static QByteArray setTextFrame(int doc, const QByteArray &text)
    {
        CommRequest r;
        r.message = Comm::SetText;
        r.wParam = quint32(doc);
        r.block = text + '\0';
        return encodeRequest(r);
    }

    // The first bytes of a request announcing a block of blockSize bytes.
    static QByteArray setTextHeader(int doc, quint32 blockSize)
    {
        QByteArray h = setTextFrame(doc, QByteArray()).left(Comm::RequestHeaderSize);
        qToLittleEndian<quint32>(blockSize, h.data() + 16);
        return h;
    }

    // Connects one raw client after another, each counted in by the server before the
    // next, so that their order of arrival is known.
    void connectInOrder(std::vector<std::unique_ptr<QLocalSocket>> &sockets, int count)
    {
        for (int i = 0; i < count; ++i) {
            const int before = m_s->server->openExchanges();
            sockets.push_back(std::make_unique<QLocalSocket>());
            QVERIFY(connectRaw(*sockets.back(), m_s->name));
            QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), before + 1, 30000);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_s = std::make_unique<CommTestServer>();
        m_s->server->setIdleTimeout(300);
        QVERIFY(m_s->server->listen());
        QCOMPARE(m_s->server->serverName(), m_s->name);
    }
    void cleanup() { m_s.reset(); }

    void everyMessageThroughTheLibrary()
    {
        const QStringList out = onClientThread<QStringList>([] {
            QStringList r;
            QString error, text;
            r << QString::number(CommOpenFile(QStringLiteral("/tmp/x.html"), &error)) << error;
            r << QString::number(CommSelectLine(1, 1)); // "beta"
            r << QString::number(CommReplaceSelection(1, QString::fromUtf8("bęta")));
            r << QString::number(CommSetSelection(1, 6, 4));
            r << QString::number(CommInsertPair(1, QStringLiteral("<B>"), QStringLiteral("</B>")));
            r << QString::number(CommGetSelection(1, 100, &text)) << text;
            r << QString::number(CommSetText(2, QStringLiteral("abcdefghij")));
            r << QString::number(CommSetSelection(CommActiveDocument, 5, 3));
            r << QString::number(CommGetSelection(0xFFFF, 1, &text)) << text;
            r << QString::number(CommGetText(2, 1000, &text)) << text;
            r << QString::number(CommGetText(9, 1000, &text, &error)) << error;
            return r;
        });
        const QStringList expected
            = { QStringLiteral("3"), QString(), QStringLiteral("7"), QStringLiteral("11"),
                  QStringLiteral("7"), QStringLiteral("1"), QStringLiteral("5"), QString::fromUtf8("bęta"),
                  QStringLiteral("1"), // selection start after set-text
                  QStringLiteral("6"), QStringLiteral("1"), QString(), QStringLiteral("11"),
                  QStringLiteral("abcdefghij"), QStringLiteral("0"), QString() };
        QCOMPARE(out, expected);
        QCOMPARE(m_s->docs.count(), 3);
        QCOMPARE(m_s->doc(2)->state().fileName, QStringLiteral("/tmp/x.html"));
        QCOMPARE(m_s->doc(0)->text(), QString::fromUtf8("alpha\n<B>bęta</B>\ngamma"));
        QCOMPARE(m_s->doc(1)->selectedText(), QStringLiteral("fgh"));
        QCOMPARE(m_s->docs.activeIndex(), 1);
    }

    // Past 16 bits CommSetSelection takes the UTF-8 form, which carries the numbers whole.
    void setSelectionPastSixteenBits()
    {
        m_s->doc(1)->setText(QString(70010, QLatin1Char('x')));
        QCOMPARE(onClientThread<quint32>([] { return CommSetSelection(2, 70000, 4); }), 70001u);
        QCOMPARE(m_s->doc(1)->selStart(), 70000);
        QCOMPARE(m_s->doc(1)->selLength(), 4);
        QCOMPARE(onClientThread<quint32>([] { return CommSetSelection(2, 3, 70000); }), 4u);
        QCOMPARE(m_s->doc(1)->selLength(), 70000);
    }

    void noEditorListening()
    {
        QString error;
        CommRequest r = CommMakeRequest(Comm::GetText, 0xFFFF, 10);
        const CommOutcome outcome = CommExchange(r, 5000, m_s->name + QStringLiteral("-nobody"));
        QCOMPARE(outcome.result, 0u);
        QCOMPARE(
            commErrorText(outcome.error), QString::fromUtf8("Błąd komunikacji:nie można znależć Markora."));
    }

    void bufferSizeZeroIsReported()
    {
        const QString error = onClientThread<QString>([] {
            QString e, text;
            CommGetText(1, 0, &text, &e);
            return e;
        });
        QCOMPARE(error, QString::fromUtf8("Błąd komunikacji:nie można stworzyć pliku pamięciowego."));
    }

    void secondEditorDoesNotListen()
    {
        StringDocumentSet docs;
        CommDispatcher dispatcher(docs, nullptr, nullptr);
        TCommWin second(dispatcher);
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        QVERIFY(!second.listen());
        QVERIFY(second.otherEditorRunning());
        // The probe connection ends without troubling the running editor, which goes
        // on serving (connections are taken in order, so the probe's came first).
        QCOMPARE(onClientThread<quint32>([] { return CommSetSelection(1, 0, 5); }), 1u);
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
        QCOMPARE(errors.count(), 0);
    }

    void badRequests_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("hangUp"); // disconnect after sending instead of waiting
        QTest::addColumn<quint32>("status");
        const QByteArray frame = setTextFrame(1, "changed");
        QByteArray oversized = frame.left(16);
        oversized.append("\x01\x00\x00\x10", 4);
        CommRequest unknown;
        unknown.message = 0x409;
        unknown.wParam = 1;
        QTest::newRow("silent client times out") << QByteArray() << false << quint32(Comm::RequestUnreadable);
        QTest::newRow("half a header, then silence")
            << frame.left(10) << false << quint32(Comm::RequestUnreadable);
        QTest::newRow("half a block, then silence")
            << frame.left(24) << false << quint32(Comm::RequestUnreadable);
        QTest::newRow("half a block, then gone")
            << frame.left(24) << true << quint32(Comm::RequestUnreadable);
        QTest::newRow("oversized block refused at once")
            << oversized << false << quint32(Comm::RequestUnreadable);
        QTest::newRow("not our protocol")
            << QByteArray("GET / HTTP/1.1\r\n\r\n") << false << quint32(Comm::RequestUnreadable);
        QTest::newRow("unknown message") << encodeRequest(unknown) << false << quint32(Comm::Ok);
    }
    void badRequests()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, hangUp);
        QFETCH(quint32, status);
        if (QByteArray(QTest::currentDataTag()).startsWith("oversized"))
            m_s->server->setIdleTimeout(600000); // the refusal must not wait for the timeout
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        QLocalSocket socket;
        QVERIFY(connectRaw(socket, m_s->name));
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 1, 30000);
        socket.write(bytes);
        socket.flush();
        if (hangUp) {
            socket.disconnectFromServer();
        } else {
            const CommFrameDecoder reply = readReply(socket);
            QCOMPARE(reply.state(), CommFrameDecoder::Complete);
            QCOMPARE(reply.reply().status, status);
            QCOMPARE(reply.reply().result, 0u);
        }
        QTRY_COMPARE_WITH_TIMEOUT(errors.count(), status == Comm::Ok ? 0 : 1, 30000);
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
        if (!errors.isEmpty())
            QCOMPARE(errors.at(0).at(0).toString(),
                QString::fromUtf8("Błąd komunikacji:brak pliku pamięciowego."));
        QCOMPARE(m_s->doc(0)->text(), QStringLiteral("alpha\nbeta\ngamma"));
        QCOMPARE(m_s->doc(1)->text(), QStringLiteral("0123456789abcdef"));
        QCOMPARE(m_s->docs.activeIndex(), 1);
        // The editor goes on serving.
        const quint32 after = onClientThread<quint32>([] { return CommSetSelection(1, 0, 5); });
        QCOMPARE(after, 1u);
    }

    void wholeRequestThenHangUpIsCarriedOut()
    {
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        QLocalSocket socket;
        QVERIFY(connectRaw(socket, m_s->name));
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 1, 30000);
        socket.write(setTextFrame(1, "posted"));
        socket.flush();
        socket.disconnectFromServer();
        QTRY_COMPARE_WITH_TIMEOUT(m_s->doc(0)->text(), QStringLiteral("posted"), 30000);
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
        QCOMPARE(errors.count(), 0);
    }

    void interleavedConnectionsKeepTheirTexts()
    {
        m_s->server->setIdleTimeout(600000);
        const QByteArray a = setTextFrame(1, QByteArray(5000, 'a'));
        const QByteArray b = setTextFrame(2, QByteArray(3000, 'b'));
        QLocalSocket first, second;
        QVERIFY(connectRaw(first, m_s->name));
        QVERIFY(connectRaw(second, m_s->name));
        first.write(a.left(2500));
        first.flush();
        QTRY_VERIFY_WITH_TIMEOUT(m_s->server->openExchanges() == 2, 30000);
        second.write(b.left(100));
        second.flush();
        QTest::qWait(50);
        second.write(b.mid(100));
        QCOMPARE(readReply(second).reply().result, 1u);
        QCOMPARE(m_s->doc(1)->text(), QString(3000, QLatin1Char('b')));
        QCOMPARE(m_s->doc(0)->text(), QStringLiteral("alpha\nbeta\ngamma")); // not yet whole
        first.write(a.mid(2500));
        QCOMPARE(readReply(first).reply().result, 1u);
        QCOMPARE(m_s->doc(0)->text(), QString(5000, QLatin1Char('a')));
    }

    void severalClientsAtOnce()
    {
        m_s->server->setIdleTimeout(600000);
        const int clients = 6;
        for (int i = 2; i < clients; ++i)
            m_s->docs.add(QString());
        std::atomic<int> finished { 0 };
        std::vector<QString> fetched(clients);
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; ++i) {
            threads.emplace_back([i, &finished, &fetched] {
                // Each text is large enough to travel in many pieces.
                const QString text = QString(200000, QChar(u'A' + i)) + QString::number(i);
                for (int round = 0; round < 3; ++round) {
                    CommSetText(i + 1, text);
                    CommGetText(i + 1, 1u << 20, &fetched[i]);
                    if (fetched[i] != text)
                        break;
                }
                ++finished;
            });
        }
        QTRY_VERIFY_WITH_TIMEOUT(finished == clients, 120000);
        for (std::thread &t : threads)
            t.join();
        for (int i = 0; i < clients; ++i) {
            const QString expected = QString(200000, QChar(u'A' + i)) + QString::number(i);
            QCOMPARE(fetched[i], expected);
            QCOMPARE(m_s->doc(i)->text(), expected);
        }
    }

    void fullSlotsMakeRoomForAGoodClient_data()
    {
        QTest::addColumn<bool>("trickling"); // else: clients not taking their answers
        QTest::newRow("64 clients that never finish their frame") << true;
        QTest::newRow("clients that never take their answer") << false;
    }
    void fullSlotsMakeRoomForAGoodClient()
    {
        QFETCH(bool, trickling);
        m_s->server->setIdleTimeout(600000);
        m_s->server->setTotalDeadline(600000);
        const int answerSize = 16 << 20; // more than the system's socket buffers take
        const int slots = trickling ? TCommWin::MaxConnections : 2;
        if (!trickling) {
            m_s->server->setMaxConnections(slots);
            m_s->doc(0)->setText(QString(answerSize, QLatin1Char('x')));
        }
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        std::vector<std::unique_ptr<QLocalSocket>> clients;
        connectInOrder(clients, slots);
        for (auto &c : clients) {
            if (trickling) {
                c->write(setTextFrame(1, "never").left(7));
            } else {
                c->setReadBufferSize(1);
                c->write(encodeRequest(CommMakeRequest(Comm::GetText, 1, 0xFFFFFFFFu)));
            }
            c->flush();
        }
        if (!trickling)
            QTRY_VERIFY_WITH_TIMEOUT(m_s->server->bufferedBytes() >= 2 * (answerSize - (1 << 20)), 30000);

        // The well-behaved client comes in and is served.
        QCOMPARE(onClientThread<quint32>([] { return CommSetSelection(1, 0, 5); }), 1u);
        QCOMPARE(m_s->doc(0)->selLength(), 5);
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), slots - 1, 30000);
        // The oldest gave way, the others are still served.
        if (trickling) {
            QCOMPARE(readReply(*clients[0]).reply().status, quint32(Comm::RequestUnreadable));
            QCOMPARE(errors.count(), 1);
            for (int i = 1; i < slots; ++i)
                QCOMPARE(clients[i]->state(), QLocalSocket::ConnectedState);
            QCOMPARE(m_s->doc(0)->text(), QStringLiteral("alpha\nbeta\ngamma"));
        } else {
            clients[0]->setReadBufferSize(0);
            clients[1]->setReadBufferSize(0);
            QCOMPARE(readReply(*clients[0]).state(), CommFrameDecoder::NeedMore);
            QCOMPARE(readReply(*clients[1]).reply().result, quint32(answerSize + 1));
            QCOMPARE(errors.count(), 0);
        }
    }

    void totalDeadline_data()
    {
        QTest::addColumn<bool>("sending"); // else: taking the answer
        QTest::newRow("sending the request a byte at a time") << true;
        QTest::newRow("taking the answer") << false;
    }
    void totalDeadline()
    {
        // Only the total deadline can end these exchanges: the idle timeout is far off.
        QFETCH(bool, sending);
        m_s->server->setIdleTimeout(600000);
        m_s->server->setTotalDeadline(300);
        if (!sending)
            m_s->doc(0)->setText(QString(16 << 20, QLatin1Char('x')));
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        QLocalSocket socket;
        QVERIFY(connectRaw(socket, m_s->name));
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 1, 30000);
        if (sending) {
            const QByteArray frame = setTextFrame(1, QByteArray(1000, 'a'));
            QDeadlineTimer limit(30000);
            for (int i = 0; i < frame.size() && socket.bytesAvailable() == 0 && !limit.hasExpired(); ++i) {
                socket.write(frame.mid(i, 1));
                socket.flush();
                QTest::qWait(20);
            }
            const CommFrameDecoder reply = readReply(socket);
            QCOMPARE(reply.state(), CommFrameDecoder::Complete);
            QCOMPARE(reply.reply().status, quint32(Comm::RequestUnreadable));
            QCOMPARE(errors.count(), 1);
            QCOMPARE(m_s->doc(0)->text(), QStringLiteral("alpha\nbeta\ngamma"));
        } else {
            socket.setReadBufferSize(1);
            socket.write(encodeRequest(CommMakeRequest(Comm::GetText, 1, 0xFFFFFFFFu)));
            socket.flush();
        }
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
        QCOMPARE(m_s->server->bufferedBytes(), 0);
    }

    void bufferBudget_data()
    {
        QTest::addColumn<qint64>("budget");
        QTest::addColumn<int>("scenario");
        QTest::newRow("header announcing more than is left") << qint64(1 << 20) << 0;
        QTest::newRow("bytes sent beyond what is left") << qint64(1 << 20) << 1;
        QTest::newRow("small requests need no budget") << qint64(0) << 2;
        QTest::newRow("answer over the budget") << qint64(1 << 20) << 3;
    }
    void bufferBudget()
    {
        QFETCH(qint64, budget);
        QFETCH(int, scenario);
        m_s->server->setIdleTimeout(600000);
        m_s->server->setBufferBudget(budget);
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        std::vector<std::unique_ptr<QLocalSocket>> c;
        connectInOrder(c, 2);
        const QString before = m_s->doc(0)->text();
        switch (scenario) {
        case 0: {
            // The first holds 700 KiB; the second announces 500 KiB and is refused at once.
            const QByteArray first = setTextFrame(1, QByteArray(900 << 10, 'a'));
            c[0]->write(first.left(700 << 10));
            c[0]->flush();
            QTRY_VERIFY_WITH_TIMEOUT(m_s->server->bufferedBytes() >= (600 << 10), 30000);
            c[1]->write(setTextHeader(1, 500 << 10));
            c[1]->flush();
            QCOMPARE(readReply(*c[1]).reply().status, quint32(Comm::RequestUnreadable));
            // The first still finishes.
            c[0]->write(first.mid(700 << 10));
            QCOMPARE(readReply(*c[0]).reply().result, 1u);
            QCOMPARE(m_s->doc(0)->text(), QString(900 << 10, QLatin1Char('a')));
            break;
        }
        case 1: {
            // The second announces what fits beside the first's bytes so far; then the
            // first's bytes go over and it is refused, the second carried out.
            const QByteArray a = setTextFrame(1, QByteArray(700 << 10, 'a'));
            const QByteArray b = setTextFrame(2, QByteArray(700 << 10, 'b'));
            c[0]->write(a.left(100 << 10));
            c[0]->flush();
            QTRY_VERIFY_WITH_TIMEOUT(m_s->server->bufferedBytes() > 0, 30000);
            c[1]->write(b.left(600 << 10));
            c[1]->flush();
            QTRY_VERIFY_WITH_TIMEOUT(m_s->server->bufferedBytes() >= (560 << 10), 30000);
            c[0]->write(a.mid(100 << 10));
            QCOMPARE(readReply(*c[0]).reply().status, quint32(Comm::RequestUnreadable));
            c[1]->write(b.mid(600 << 10));
            QCOMPARE(readReply(*c[1]).reply().result, 1u);
            QCOMPARE(m_s->doc(0)->text(), before);
            QCOMPARE(m_s->doc(1)->text(), QString(700 << 10, QLatin1Char('b')));
            break;
        }
        case 2: {
            c[0]->write(setTextFrame(1, "small"));
            QCOMPARE(readReply(*c[0]).reply().result, 1u);
            QCOMPARE(m_s->doc(0)->text(), QStringLiteral("small"));
            c[1]->write(setTextFrame(1, QByteArray(100 << 10, 'a')));
            QCOMPARE(readReply(*c[1]).reply().status, quint32(Comm::RequestUnreadable));
            QCOMPARE(m_s->doc(0)->text(), QStringLiteral("small"));
            break;
        }
        case 3: {
            m_s->doc(0)->setText(QString(2 << 20, QLatin1Char('x')));
            c[0]->write(encodeRequest(CommMakeRequest(Comm::GetText, 1, 0xFFFFFFFFu)));
            const CommReply reply = readReply(*c[0]).reply();
            QCOMPARE(reply.status, quint32(Comm::AnswerUnwritable));
            QCOMPARE(reply.result, 0u);
            QVERIFY(reply.answer.isEmpty());
            // One that fits is still answered.
            c[1]->write(encodeRequest(CommMakeRequest(Comm::GetText, 1, 1000)));
            QCOMPARE(readReply(*c[1]).reply().result, 1000u);
            QCOMPARE(errors.count(), 1);
            QCOMPARE(errors.at(0).at(0).toString(),
                QString::fromUtf8("Błąd komunikacji:nie można stworzyć pliku pamięciowego."));
            break;
        }
        }
        if (scenario != 3)
            QCOMPARE(errors.count(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
        QCOMPARE(m_s->server->bufferedBytes(), 0);
    }

    void lateBytes_data()
    {
        QTest::addColumn<QByteArray>("late");
        QTest::addColumn<bool>("samePacket");
        const QByteArray second = setTextFrame(1, "second");
        QTest::newRow("junk in the same packet") << QByteArray("junk") << true;
        QTest::newRow("a second frame in the same packet") << second << true;
        QTest::newRow("junk in a later packet") << QByteArray("junk") << false;
        QTest::newRow("a second frame in a later packet") << second << false;
    }
    void lateBytes()
    {
        // One connection, one request: a whole frame is carried out at once, whatever
        // follows it, and nothing after it is ever read as a request.
        QFETCH(QByteArray, late);
        QFETCH(bool, samePacket);
        m_s->server->setIdleTimeout(600000);
        // A later packet comes while the answer is still being written: an answer larger
        // than the system's socket buffers keeps the connection open that long.
        const QString text = samePacket ? m_s->doc(0)->text() : QString(16 << 20, QLatin1Char('x'));
        m_s->doc(0)->setText(text);
        QSignalSpy errors(m_s->server.get(), &TCommWin::commError);
        QSignalSpy done(m_s->server.get(), &TCommWin::exchangeDone);
        QLocalSocket socket;
        QVERIFY(connectRaw(socket, m_s->name));
        const QByteArray frame = encodeRequest(CommMakeRequest(Comm::GetText, 1, 0xFFFFFFFFu));
        if (samePacket) {
            socket.write(frame + late);
        } else {
            socket.setReadBufferSize(1);
            socket.write(frame);
            socket.flush();
            QTRY_VERIFY_WITH_TIMEOUT(m_s->server->bufferedBytes() > 0, 30000);
            socket.write(late);
            socket.flush();
            QTest::qWait(50);
            socket.setReadBufferSize(0);
        }
        socket.flush();
        const CommFrameDecoder reply = readReply(socket);
        QCOMPARE(reply.state(), CommFrameDecoder::Complete);
        QCOMPARE(reply.reply().status, quint32(Comm::Ok));
        QCOMPARE(reply.reply().result, quint32(text.size() + 1));
        QCOMPARE(reply.reply().answer, text.toLatin1());
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
        QCOMPARE(done.count(), 1);
        QCOMPARE(errors.count(), 0);
        QCOMPARE(m_s->doc(0)->text(), text);
    }

    void openFromTheChannelShowsNoMessageBox_data()
    {
        QTest::addColumn<QString>("file"); // in a temporary folder
        QTest::addColumn<bool>("opened"); // by the first of three requests
        QTest::addColumn<QString>("status"); // how the status bar ends
        const QString alreadyOpen
            = QString::fromUtf8(": ten plik jest już otwarty w edytorze - nie załadowano go ponownie.");
        QTest::newRow("missing file")
            << "brak.html" << false << QString::fromUtf8(". jest niemożliwe - taki dokument nie istnieje!");
        QTest::newRow("already open, edited") << "strona.html" << false << alreadyOpen;
        QTest::newRow("another file") << "inna.html" << true << alreadyOpen;
    }
    void openFromTheChannelShowsNoMessageBox()
    {
        QFETCH(QString, file);
        QFETCH(bool, opened);
        QFETCH(QString, status);
        testsupport::IsolatedSettings settings;
        QTemporaryDir folder;
        const QString open
            = testsupport::writeFile(folder.filePath(QStringLiteral("strona.html")), "<p>dysk</p>");
        testsupport::writeFile(folder.filePath(QStringLiteral("inna.html")), "<p>inna</p>");
        testsupport::ScriptedUser user;
        TOknoGl window;
        QVERIFY(window.documents().Open(open, 0) > 0);
        const qsizetype askedBefore = user.asked.size();
        window.documents().editorAt(0)->setText(QStringLiteral("<p>zmieniony</p>"));
        const std::unique_ptr<CommDispatcher> dispatcher = MakeCommDispatcher(window);
        TCommWin server(*dispatcher);
        const QString name = m_s->name + QStringLiteral("-window");
        QVERIFY(server.listen(name));

        // Requests in a row: none may ask anything, none may lose an edit.
        const QString path = folder.filePath(file);
        const QList<CommOutcome> outcomes = onClientThread<QList<CommOutcome>>([path, name] {
            QList<CommOutcome> r;
            bool carried = false;
            for (int i = 0; i < 3; ++i)
                r << CommExchange(CommMakeOpenRequest(path, &carried), 30000, name);
            return r;
        });
        QCOMPARE(user.asked.size(), askedBefore);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(int(outcomes[i].error), int(CommError::None));
            QCOMPARE(outcomes[i].result > 0, opened && i == 0);
        }
        QCOMPARE(window.documents().count(), opened ? 2 : 1);
        QCOMPARE(window.documents().editorAt(0)->text(), QStringLiteral("<p>zmieniony</p>"));
        const QString shown = window.statusPanel(3);
        QVERIFY2(shown.endsWith(status) && shown.contains(path, Qt::CaseInsensitive), qPrintable(shown));
    }

    void clientTakingNoAnswerIsCutOff()
    {
        // A client that never reads a large answer does not hold the editor.
        m_s->doc(0)->setText(QString(8 << 20, QLatin1Char('x')));
        QLocalSocket socket;
        QVERIFY(connectRaw(socket, m_s->name));
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 1, 30000);
        socket.setReadBufferSize(1);
        socket.write(encodeRequest(CommMakeRequest(Comm::GetText, 1, 0xFFFFFFFFu)));
        socket.flush();
        QTRY_COMPARE_WITH_TIMEOUT(m_s->server->openExchanges(), 0, 30000);
    }
};

QTEST_MAIN(TestTCommWin)
#include "tst_tcommwin.moc"
