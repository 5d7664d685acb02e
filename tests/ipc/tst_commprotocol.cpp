#include "base/documents.h"
#include "ipc/commdispatcher.h"
#include "ipc/protocol/commprotocol.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// The frame decoder: round trips fed in any pieces, strict refusals, and fuzzing with
// random, truncated and mutated frames (fixed seeds, so every run is the same).
class TestCommProtocol : public QObject
{
    Q_OBJECT

    // What the editor does with bytes received on one connection: a request is
    // carried out only when a whole, well-formed frame came in; anything else is 0.
    struct Served
    {
        CommFrameDecoder::State state;
        quint32 result;
    };
    static Served serve(
        const QByteArray &bytes, CommDispatcher &dispatcher, QRandomGenerator &rng, quint32 cap = 4096)
    {
        CommFrameDecoder decoder(CommFrameDecoder::Request, cap);
        qsizetype at = 0;
        while (at < bytes.size()) {
            const qsizetype piece = std::min<qsizetype>(bytes.size() - at, 1 + rng.bounded(40));
            decoder.feed(QByteArrayView(bytes).sliced(at, piece));
            at += piece;
        }
        if (decoder.state() != CommFrameDecoder::Complete)
            return { decoder.state(), 0 };
        return { decoder.state(), dispatcher.execute(decoder.request()).result };
    }

    static CommRequest request(quint32 msg, quint32 w, quint32 l, const QByteArray &block)
    {
        CommRequest r;
        r.message = msg;
        r.wParam = w;
        r.lParam = l;
        r.block = block;
        return r;
    }

    static QList<CommRequest> sampleRequests()
    {
        return { request(Comm::OpenFile, 0, 0, QByteArrayLiteral("/tmp/a.html\0")),
            request(Comm::SelectLine, 0xFFFF, 1, {}),
            request(Comm::ReplaceSelection, 1, 0, QByteArrayLiteral("<b>\xb9\0")),
            request(Comm::InsertPair, 1, 0, QByteArrayLiteral("<B>\0</B>\0")),
            request(Comm::GetSelection, 0xFFFF, 10, {}),
            request(Comm::SetText, 1, 0, QByteArray(300, 'x') + '\0'), request(Comm::GetText, 1, 1, {}),
            request(Comm::SetSelection, 1, 0x00050003, {}) };
    }

private Q_SLOTS:
    void requestRoundTrip_data()
    {
        QTest::addColumn<int>("chunk");
        QTest::newRow("whole") << 0;
        QTest::newRow("byte by byte") << 1;
        QTest::newRow("pieces of 7") << 7;
    }
    void requestRoundTrip()
    {
        QFETCH(int, chunk);
        for (const CommRequest &r : sampleRequests()) {
            const QByteArray frame = encodeRequest(r);
            QCOMPARE(frame.size(), Comm::RequestHeaderSize + r.block.size());
            CommFrameDecoder decoder(CommFrameDecoder::Request);
            const int step = chunk == 0 ? int(frame.size()) : chunk;
            for (int at = 0; at < frame.size(); at += step) {
                QCOMPARE(decoder.state(), CommFrameDecoder::NeedMore);
                decoder.feed(QByteArrayView(frame).sliced(at, std::min<qsizetype>(step, frame.size() - at)));
            }
            QCOMPARE(decoder.state(), CommFrameDecoder::Complete);
            const CommRequest back = decoder.request();
            QCOMPARE(back.message, r.message);
            QCOMPARE(back.wParam, r.wParam);
            QCOMPARE(back.lParam, r.lParam);
            QCOMPARE(back.block, r.block);
            // A reply decoder never takes a request frame.
            CommFrameDecoder wrongKind(CommFrameDecoder::Reply);
            QCOMPARE(wrongKind.feed(frame), CommFrameDecoder::Failed);
        }
    }

    void replyRoundTrip()
    {
        CommReply r;
        r.status = Comm::Ok;
        r.result = 0xFFFFFFFFu;
        r.answer = QByteArrayLiteral("ab\0c\xea");
        const QByteArray frame = encodeReply(r);
        CommFrameDecoder decoder(CommFrameDecoder::Reply);
        for (char c : frame)
            decoder.feed(QByteArrayView(&c, 1));
        QCOMPARE(decoder.state(), CommFrameDecoder::Complete);
        QCOMPARE(decoder.reply().result, r.result);
        QCOMPARE(decoder.reply().answer, r.answer);
        QCOMPARE(decoder.request().message, 0u); // wrong kind gives nothing
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = encodeRequest(request(Comm::SetText, 1, 0, "abc"));
        QByteArray badMagic = good;
        badMagic[3] = 'X';
        QByteArray over = good.left(16);
        over.append("\x01\x00\x00\x10", 4); // 256 MiB + 1
        QByteArray overSmall = encodeRequest(request(Comm::SetText, 1, 0, QByteArray(4097, 'a')));
        QTest::newRow("first byte wrong") << QByteArray("GET / HTTP/1.0\r\n\r\n");
        QTest::newRow("fourth byte wrong") << badMagic;
        QTest::newRow("length over the cap, header only") << over;
        QTest::newRow("length over a small cap") << overSmall;
        QTest::newRow("bytes after the frame") << good + 'x';
        QTest::newRow("second frame after the first") << good + good;
    }
    void refused()
    {
        QFETCH(QByteArray, bytes);
        CommFrameDecoder decoder(CommFrameDecoder::Request, bytes.size() > 4096 ? 4096 : Comm::MaxBlock);
        decoder.feed(bytes);
        QCOMPARE(decoder.state(), CommFrameDecoder::Failed);
        // Once failed, more bytes change nothing.
        QCOMPARE(decoder.feed(encodeRequest(request(Comm::SetText, 1, 0, "x"))), CommFrameDecoder::Failed);
        QCOMPARE(decoder.request().message, 0u);
    }

    void serverName_data()
    {
        QTest::addColumn<QString>("forced");
        QTest::addColumn<QFile::Permissions>("runtimeMode"); // mode of $XDG_RUNTIME_DIR
        QTest::addColumn<bool>("inRuntime");
        const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
        QTest::newRow("MARKORA_SERVER_NAME wins") << "my-editor" << owner << false;
        QTest::newRow("private runtime folder") << "" << owner << true;
        QTest::newRow("runtime folder open to others is not used")
            << "" << (owner | QFile::ReadOther | QFile::ExeOther) << false;
    }
    void serverName()
    {
#ifndef Q_OS_UNIX
        QSKIP("socket folders are a Unix matter");
#endif
        QFETCH(QString, forced);
        QFETCH(QFile::Permissions, runtimeMode);
        QFETCH(bool, inRuntime);
        QTemporaryDir runtime;
        QVERIFY(QFile::setPermissions(runtime.path(), runtimeMode));
        const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("MARKORA_SERVER_NAME", forced.toUtf8());
        const QString name = Comm::serverName();
        qputenv("XDG_RUNTIME_DIR", oldRuntime);
        qunsetenv("MARKORA_SERVER_NAME");
        if (!forced.isEmpty()) {
            QCOMPARE(name, forced);
            return;
        }
        const QFileInfo folder(QFileInfo(name).path());
        QCOMPARE(folder.absoluteFilePath() == QFileInfo(runtime.path()).absoluteFilePath(), inRuntime);
        // Whichever folder it is, only its owner may enter it.
        QVERIFY(folder.isDir() && !folder.isSymLink());
        QCOMPARE(
            folder.permissions() & (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther),
            QFile::Permissions());
#ifdef Q_OS_UNIX
        QCOMPARE(folder.ownerId(), uint(::getuid()));
#endif
    }

    void fuzzTruncatedFrames()
    {
        QRandomGenerator rng(0x5eed01);
        StringDocumentSet docs;
        StringDocument *doc = docs.add(QStringLiteral("alpha\nbeta"));
        int opened = 0;
        CommDispatcher dispatcher(
            docs, [&](const QString &) { return ++opened; },
            [](EditableDocument *d, const QString &o, const QString &c) { d->replaceSelection(o + c); });
        for (const CommRequest &r : sampleRequests()) {
            const QByteArray frame = encodeRequest(r);
            for (int cut = 0; cut < frame.size(); ++cut) {
                const Served s = serve(frame.left(cut), dispatcher, rng);
                QCOMPARE(s.state, CommFrameDecoder::NeedMore);
                QCOMPARE(s.result, 0u);
            }
        }
        QCOMPARE(doc->text(), QStringLiteral("alpha\nbeta"));
        QCOMPARE(opened, 0);
        QVERIFY(!doc->isModified());
    }

    void fuzzRandomBytes()
    {
        QRandomGenerator rng(0x5eed02);
        StringDocumentSet docs;
        StringDocument *doc = docs.add(QStringLiteral("alpha\nbeta"));
        CommDispatcher dispatcher(docs, nullptr, nullptr);
        for (int i = 0; i < 20000; ++i) {
            QByteArray bytes(int(rng.bounded(80)), Qt::Uninitialized);
            for (char &c : bytes)
                c = char(rng.bounded(256));
            if (rng.bounded(2) == 0)
                bytes.prepend("MKRQ");
            const QString before = doc->text();
            CommFrameDecoder probe(CommFrameDecoder::Request, 4096);
            probe.feed(bytes);
            const Served s = serve(bytes, dispatcher, rng);
            // Feeding in pieces decides exactly as feeding at once.
            QCOMPARE(s.state, probe.state());
            if (!bytes.startsWith("MKRQ") && !QByteArray("MKRQ").startsWith(bytes))
                QCOMPARE(s.state, CommFrameDecoder::Failed);
            if (s.state != CommFrameDecoder::Complete || !Comm::isKnownMessage(probe.request().message)) {
                QCOMPARE(s.result, 0u);
                QCOMPARE(doc->text(), before);
            }
        }
    }

    void fuzzMutatedFrames()
    {
        QRandomGenerator rng(0x5eed03);
        StringDocumentSet docs;
        docs.add(QStringLiteral("alpha\nbeta\ngamma"));
        docs.add(QString::fromUtf8("zażółć\ngęślą jaźń"));
        CommDispatcher dispatcher(
            docs, [](const QString &) { return 0; },
            [](EditableDocument *d, const QString &o, const QString &c) {
                d->replaceSelection(o + d->selectedText() + c);
            });
        const QList<CommRequest> samples = sampleRequests();
        for (int i = 0; i < 20000; ++i) {
            QByteArray frame = encodeRequest(samples.at(int(rng.bounded(samples.size()))));
            const int flips = 1 + int(rng.bounded(3));
            for (int f = 0; f < flips; ++f)
                frame[int(rng.bounded(int(frame.size())))] = char(rng.bounded(256));
            if (rng.bounded(4) == 0)
                frame.truncate(int(rng.bounded(int(frame.size()))));
            const Served s = serve(frame, dispatcher, rng);
            if (s.state != CommFrameDecoder::Complete)
                QCOMPARE(s.result, 0u);
            // Whatever was carried out, every document stays consistent.
            for (int d = 0; d < docs.count(); ++d) {
                const EditableDocument *doc = docs.at(d);
                QVERIFY(doc->selStart() >= 0 && doc->selLength() >= 0);
                QVERIFY(doc->selStart() + doc->selLength() <= doc->text().size());
            }
            QVERIFY(docs.activeIndex() >= 0 && docs.activeIndex() < docs.count());
        }
    }
};

QTEST_GUILESS_MAIN(TestCommProtocol)
#include "tst_commprotocol.moc"
