#include "base/documents.h"
#include "ipc/commdispatcher.h"

#include <QTest>
#include <QtEndian>

// The eight messages carried out on string documents, without any connection.
class TestCommDispatcher : public QObject
{
    Q_OBJECT

    StringDocumentSet *m_docs = nullptr;
    CommDispatcher *m_dispatcher = nullptr;
    QStringList m_opened;
    int m_openResult = 0;
    QStringList m_pairs;

    StringDocument *doc(int index) const { return static_cast<StringDocument *>(m_docs->at(index)); }

    CommReply send(quint32 msg, quint32 w, quint32 l = 0, const QByteArray &block = QByteArray())
    {
        CommRequest r;
        r.message = msg;
        r.wParam = w;
        r.lParam = l;
        r.block = block;
        return m_dispatcher->execute(r);
    }

private Q_SLOTS:
    void init()
    {
        m_docs = new StringDocumentSet;
        m_docs->add(QStringLiteral("alpha\nbeta\ngamma")); // id 1
        m_docs->add(QStringLiteral("0123456789abcdef")); // id 2, active
        m_opened.clear();
        m_pairs.clear();
        m_openResult = 7;
        m_dispatcher = new CommDispatcher(
            *m_docs,
            [this](const QString &path) {
                m_opened << path;
                return m_openResult;
            },
            [this](EditableDocument *d, const QString &opening, const QString &closing) {
                m_pairs << opening << closing;
                const int s = d->selStart(), l = d->selLength();
                d->replaceSelection(opening + d->selectedText() + closing);
                d->setSelection(s + int(opening.size()), l);
            });
    }
    void cleanup()
    {
        delete m_dispatcher;
        delete m_docs;
    }

    void addressing_data()
    {
        QTest::addColumn<quint32>("wParam");
        QTest::addColumn<int>("activeAfter"); // -1: refused, nothing changed
        QTest::newRow("0xFFFF is the active document") << 0xFFFFu << 1;
        QTest::newRow("id 1 becomes active") << 1u << 0;
        QTest::newRow("id 2") << 2u << 1;
        QTest::newRow("high word ignored") << 0xABCD0001u << 0;
        QTest::newRow("0 is no document") << 0u << -1;
        QTest::newRow("unknown id") << 3u << -1;
        QTest::newRow("negative id other than -1") << 0xFFFEu << -1;
        QTest::newRow("0xFFFFFFFF") << 0xFFFFFFFFu << 1;
    }
    void addressing()
    {
        QFETCH(quint32, wParam);
        QFETCH(int, activeAfter);
        m_docs->activate(1);
        // Every message but 0x401 looks the document up first.
        for (quint32 msg = Comm::SelectLine; msg <= Comm::SetSelection; ++msg) {
            cleanup();
            init();
            const QString text1 = doc(0)->text(), text2 = doc(1)->text();
            const CommReply reply = send(msg, wParam,
                msg == Comm::GetText || msg == Comm::GetSelection ? 10 : 0, QByteArrayLiteral("X\0Y\0"));
            if (activeAfter < 0) {
                QCOMPARE(reply.result, 0u);
                QCOMPARE(m_docs->activeIndex(), 1);
                QCOMPARE(doc(0)->text(), text1);
                QCOMPARE(doc(1)->text(), text2);
                QVERIFY(m_pairs.isEmpty());
            } else {
                QVERIFY2(reply.result != 0, qPrintable(QString::number(msg, 16)));
                QCOMPARE(m_docs->activeIndex(), activeAfter);
            }
        }
    }

    void noDocumentOpen()
    {
        m_docs->remove(1);
        m_docs->remove(0);
        QCOMPARE(m_docs->activeIndex(), -1);
        for (quint32 msg = Comm::SelectLine; msg <= Comm::SetSelection; ++msg)
            QCOMPARE(send(msg, 0xFFFF, 10, QByteArrayLiteral("x\0")).result, 0u);
    }

    void unknownMessage_data()
    {
        QTest::addColumn<quint32>("msg");
        QTest::newRow("0x400") << 0x400u;
        QTest::newRow("0x409") << 0x409u;
        QTest::newRow("0") << 0u;
        QTest::newRow("0xFFFFFFFF") << 0xFFFFFFFFu;
        QTest::newRow("1033") << 1033u;
    }
    void unknownMessage()
    {
        QFETCH(quint32, msg);
        m_docs->activate(1);
        const CommReply reply = send(msg, 1, 0, QByteArrayLiteral("/tmp/x\0"));
        QCOMPARE(reply.result, 0u);
        QCOMPARE(reply.status, quint32(Comm::Ok));
        QCOMPARE(m_docs->activeIndex(), 1); // not even the tab changes
        QVERIFY(m_opened.isEmpty());
        QVERIFY(!doc(0)->isModified() && !doc(1)->isModified());
    }

    void selectLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("line");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("first") << "alpha\nbeta\ngamma" << 0u << 0 << 5;
        QTest::newRow("middle") << "alpha\nbeta\ngamma" << 1u << 6 << 4;
        QTest::newRow("last, no break after it") << "alpha\nbeta\ngamma" << 2u << 11 << 5;
        QTest::newRow("empty last line") << "a\n" << 1u << 2 << 0;
        QTest::newRow("empty line between") << "a\n\nb" << 1u << 2 << 0;
        QTest::newRow("past the end") << "alpha\nbeta" << 2u << -1 << -1;
        QTest::newRow("huge line number") << "alpha" << 0xFFFFFFFFu << -1 << -1;
    }
    void selectLine()
    {
        QFETCH(QString, text);
        QFETCH(quint32, line);
        QFETCH(int, start);
        QFETCH(int, length);
        doc(0)->setText(text);
        doc(0)->setSelection(1, 0);
        const CommReply reply = send(Comm::SelectLine, 1, line);
        if (start < 0) {
            QCOMPARE(reply.result, 0u);
            QCOMPARE(doc(0)->selStart(), 1);
        } else {
            QCOMPARE(reply.result, quint32(start + 1));
            QCOMPARE(doc(0)->selStart(), start);
            QCOMPARE(doc(0)->selLength(), length);
        }
    }

    void replaceSelectionTakesSnapshotFirst()
    {
        doc(0)->setSelection(6, 4); // "beta"
        doc(0)->setModified(false);
        const CommReply reply
            = send(Comm::ReplaceSelection, 1, 0, QByteArrayLiteral("\xb9\xea\r\nX\rY\0ignored"));
        QCOMPARE(doc(0)->text(), QString::fromUtf8("alpha\nąę\nX\nY\ngamma"));
        QCOMPARE(reply.result, quint32(6 + 6 + 1)); // caret after the new text
        QVERIFY(doc(0)->undoSnapshot());
        QCOMPARE(doc(0)->text(), QStringLiteral("alpha\nbeta\ngamma"));
        QCOMPARE(doc(0)->selectedText(), QStringLiteral("beta"));
    }

    void setTextTakesSnapshotFirst()
    {
        doc(1)->setSelection(3, 2);
        const CommReply reply = send(Comm::SetText, 0xFFFF, 0, QByteArrayLiteral("new\r\ntext\0"));
        QCOMPARE(doc(1)->text(), QStringLiteral("new\ntext"));
        QCOMPARE(reply.result, quint32(doc(1)->selStart() + 1));
        QVERIFY(doc(1)->undoSnapshot());
        QCOMPARE(doc(1)->text(), QStringLiteral("0123456789abcdef"));
    }

    void insertPair_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("opening");
        QTest::addColumn<QString>("closing");
        QTest::addColumn<QString>("text");
        QTest::newRow("bold") << QByteArrayLiteral("<B>\0</B>\0") << "<B>"
                              << "</B>"
                              << "01<B>23</B>456789abcdef";
        QTest::newRow("no closing") << QByteArrayLiteral("<HR>\0\0") << "<HR>"
                                    << ""
                                    << "01<HR>23456789abcdef";
        QTest::newRow("no NUL at all") << QByteArrayLiteral("<BR>") << "<BR>"
                                       << ""
                                       << "01<BR>23456789abcdef";
        QTest::newRow("line breaks and Polish letters")
            << QByteArrayLiteral("<UL>\r\n<LI>\xb3\0\r\n</UL>\0") << QString::fromUtf8("<UL>\n<LI>ł")
            << "\n</UL>" << QString::fromUtf8("01<UL>\n<LI>ł23\n</UL>456789abcdef");
    }
    void insertPair()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, opening);
        QFETCH(QString, closing);
        QFETCH(QString, text);
        doc(1)->setSelection(2, 2);
        const CommReply reply = send(Comm::InsertPair, 2, 0, block);
        QCOMPARE(reply.result, 1u);
        QCOMPARE(m_pairs, QStringList({ opening, closing }));
        QCOMPARE(doc(1)->text(), text);
        QCOMPARE(doc(1)->selectedText(), QStringLiteral("23"));
    }

    void fetch_data()
    {
        QTest::addColumn<quint32>("msg");
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("bufferSize");
        QTest::addColumn<QByteArray>("answer");
        const quint32 sel = Comm::GetSelection, all = Comm::GetText;
        // The selection is the whole text in these rows, so both messages see the same.
        for (quint32 msg : { sel, all }) {
            const QByteArray m = msg == sel ? "sel " : "text ";
            QTest::newRow((m + "N = 1 gives the empty string").constData())
                << msg << "beta" << 1u << QByteArray("");
            QTest::newRow((m + "N = 3 cuts to two").constData()) << msg << "beta" << 3u << QByteArray("be");
            QTest::newRow((m + "N = length + 1 is exact").constData())
                << msg << "beta" << 5u << QByteArray("beta");
            QTest::newRow((m + "N larger").constData()) << msg << "beta" << 0xFFFFFFFFu << QByteArray("beta");
            QTest::newRow((m + "line break is one byte").constData())
                << msg << "a\nb" << 100u << QByteArray("a\nb");
            QTest::newRow((m + "Windows-1250").constData())
                << msg << QString::fromUtf8("zażółć") << 100u << QByteArray("za\xbf\xf3\xb3\xe6");
            QTest::newRow((m + "reference fits").constData())
                << msg << QString::fromUtf8("a\u2713b") << 10u << QByteArray("a&#10003;");
            QTest::newRow((m + "reference does not fit whole").constData())
                << msg << QString::fromUtf8("a\u2713b") << 5u << QByteArray("a");
            QTest::newRow((m + "surrogate pair not split").constData())
                << msg << QString::fromUtf8("a\U0001F600") << 3u << QByteArray("a");
            QTest::newRow((m + "surrogate pair whole").constData())
                << msg << QString::fromUtf8("a\U0001F600") << 20u << QByteArray("a&#128512;");
        }
    }
    void fetch()
    {
        QFETCH(quint32, msg);
        QFETCH(QString, text);
        QFETCH(quint32, bufferSize);
        QFETCH(QByteArray, answer);
        doc(0)->setText(text);
        doc(0)->setSelection(0, int(text.size()));
        const CommReply reply = send(msg, 1, bufferSize);
        QCOMPARE(reply.answer, answer);
        QCOMPARE(reply.result, quint32(answer.size() + 1));
        QVERIFY(quint32(reply.answer.size()) < bufferSize);
        QVERIFY(!doc(0)->state().hasSnapshot()); // reading is no change
    }

    void fetchPartOfDocument()
    {
        doc(0)->setSelection(6, 4);
        QCOMPARE(send(Comm::GetSelection, 1, 100).answer, QByteArray("beta"));
        QCOMPARE(send(Comm::GetText, 1, 100).answer, QByteArray("alpha\nbeta\ngamma"));
        QCOMPARE(send(Comm::GetText, 1, 8).answer, QByteArray("alpha\nb"));
    }

    void fetchWithBufferSizeZero()
    {
        for (quint32 msg : { quint32(Comm::GetSelection), quint32(Comm::GetText) }) {
            const CommReply reply = send(msg, 1, 0);
            QCOMPARE(reply.result, 0u);
            QCOMPARE(reply.status, quint32(Comm::AnswerUnwritable));
            QVERIFY(reply.answer.isEmpty());
        }
    }

    void setSelection_data()
    {
        QTest::addColumn<quint32>("lParam");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("0x00050003") << 0x00050003u << 5 << 3;
        QTest::newRow("caret only") << 0x00020000u << 2 << 0;
        QTest::newRow("length clipped to the text") << 0x000E00FFu << 14 << 2;
        QTest::newRow("start past the end") << 0xFFFF0001u << 16 << 0;
    }
    void setSelection()
    {
        QFETCH(quint32, lParam);
        QFETCH(int, start);
        QFETCH(int, length);
        const CommReply reply = send(Comm::SetSelection, 0xFFFF, lParam);
        QCOMPARE(doc(1)->selStart(), start);
        QCOMPARE(doc(1)->selLength(), length);
        QCOMPARE(reply.result, quint32(start + 1));
    }

    void open_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("openResult");
        QTest::addColumn<QString>("path"); // empty: the open command is not called
        QTest::addColumn<quint32>("result");
        const QByteArray longName = "/tmp/" + QByteArray(300, 'n') + ".html";
        QTest::newRow("full path") << QByteArrayLiteral("/tmp/a.html\0") << 7 << "/tmp/a.html" << 7u;
        QTest::newRow("name longer than 255 kept whole")
            << longName + '\0' << 3 << QString::fromLatin1(longName) << 3u;
        QTest::newRow("Polish letters") << QByteArrayLiteral("/tmp/\xbf\xf3\xb3w.html\0") << 4
                                        << QString::fromUtf8("/tmp/żółw.html") << 4u;
        QTest::newRow("open fails") << QByteArrayLiteral("/tmp/missing.html\0") << 0 << "/tmp/missing.html"
                                    << 0u;
        QTest::newRow("relative path refused") << QByteArrayLiteral("a.html\0") << 7 << "" << 0u;
        QTest::newRow("empty name") << QByteArrayLiteral("\0") << 7 << "" << 0u;
        QTest::newRow("no block") << QByteArray() << 7 << "" << 0u;
    }
    void open()
    {
        QFETCH(QByteArray, block);
        QFETCH(int, openResult);
        QFETCH(QString, path);
        QFETCH(quint32, result);
        m_openResult = openResult;
        QCOMPARE(send(Comm::OpenFile, 0, 0, block).result, result);
        QCOMPARE(m_opened, path.isEmpty() ? QStringList() : QStringList(path));
    }

    // With wParam bit 31 texts travel in UTF-8 both ways, every character as it is.
    void utf8Texts_data()
    {
        QTest::addColumn<quint32>("msg");
        QTest::addColumn<quint32>("lParam");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("text"); // the document afterwards
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<quint32>("result");
        const QString emoji = QStringLiteral("\U0001F600");
        const QByteArray emojiBytes("\xF0\x9F\x98\x80");
        // The document is "a" + emoji + "ż" with "a" selected.
        const QString start = QStringLiteral("a") + emoji + QStringLiteral("ż");
        QTest::newRow("0x403 emoji in")
            << quint32(Comm::ReplaceSelection) << 0u << emojiBytes + "\r\n\0"
            << emoji + QStringLiteral("\n") + emoji + QStringLiteral("ż") << QByteArray() << 4u;
        QTest::newRow("0x406 emoji in") << quint32(Comm::SetText) << 0u << "x" + emojiBytes + "\0ignored"
                                        << QStringLiteral("x") + emoji << QByteArray() << 0u;
        QTest::newRow("0x404 pair") << quint32(Comm::InsertPair) << 0u
                                    << QByteArrayLiteral("<\xC5\x81>\0</\xC5\x81>\0")
                                    << QStringLiteral("<Ł>a</Ł>") + emoji + QStringLiteral("ż")
                                    << QByteArray() << 1u;
        QTest::newRow("0x407 emoji out")
            << quint32(Comm::GetText) << 100u << QByteArray() << start << "a" + emojiBytes + "\xC5\xBC" << 8u;
        QTest::newRow("0x407 cut between characters")
            << quint32(Comm::GetText) << 5u << QByteArray() << start << QByteArray("a") << 2u;
        QTest::newRow("0x407 exact fit")
            << quint32(Comm::GetText) << 6u << QByteArray() << start << "a" + emojiBytes << 6u;
        QTest::newRow("0x405 selection")
            << quint32(Comm::GetSelection) << 100u << QByteArray() << start << QByteArray("a") << 2u;
        QTest::newRow("not UTF-8: refused")
            << quint32(Comm::ReplaceSelection) << 0u << QByteArray("\xB9\0") << start << QByteArray() << 0u;
        QTest::newRow("pair not UTF-8: refused")
            << quint32(Comm::InsertPair) << 0u << QByteArrayLiteral("<b>\0\xC5\0") << start << QByteArray()
            << 0u;
    }
    void utf8Texts()
    {
        QFETCH(quint32, msg);
        QFETCH(quint32, lParam);
        QFETCH(QByteArray, block);
        QFETCH(QString, text);
        QFETCH(QByteArray, answer);
        QFETCH(quint32, result);
        doc(0)->setText(QStringLiteral("a\U0001F600ż"));
        doc(0)->setSelection(0, 1);
        m_docs->activate(1);
        const CommReply reply = send(msg, Comm::Utf8Flag | 1, lParam, block);
        QCOMPARE(doc(0)->text(), text);
        QCOMPARE(reply.answer, answer);
        if (msg == Comm::SetText)
            result = quint32(doc(0)->selStart() + 1);
        QCOMPARE(reply.result, result);
        // A refused request changes nothing, not even the active tab.
        QCOMPARE(m_docs->activeIndex(), result == 0 ? 1 : 0);
    }

    void utf8OpenFile()
    {
        QCOMPARE(send(Comm::OpenFile, Comm::Utf8Flag, 0, QByteArray("/tmp/\xF0\x9F\x98\x80\xD0\xB6.html\0"))
                     .result,
            7u);
        QCOMPARE(m_opened, QStringList { QStringLiteral("/tmp/\U0001F600ж.html") });
        QCOMPARE(send(Comm::OpenFile, Comm::Utf8Flag, 0, QByteArray("/tmp/\xFF.html\0")).result, 0u);
        QCOMPARE(m_opened.size(), 1);
    }

    // In UTF-8, 0x408 takes start and length as two u32 from its block.
    void setSelectionPastSixteenBits_data()
    {
        QTest::addColumn<quint32>("wParam");
        QTest::addColumn<quint32>("lParam");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        const auto numbers = [](quint32 a, quint32 b) {
            QByteArray out(8, Qt::Uninitialized);
            qToLittleEndian<quint32>(a, out.data());
            qToLittleEndian<quint32>(b, out.data() + 4);
            return out;
        };
        const quint32 utf8 = Comm::Utf8Flag | 1;
        QTest::newRow("start past 65,535") << utf8 << 0u << numbers(70000, 5) << 70000 << 5;
        QTest::newRow("length past 65,535") << utf8 << 0u << numbers(10, 80000) << 10 << 80000;
        QTest::newRow("clipped to the text") << utf8 << 0u << numbers(99990, 0xFFFFFFFFu) << 99990 << 10;
        QTest::newRow("start past the end") << utf8 << 0u << numbers(0xFFFFFFFFu, 0xFFFFFFFFu) << 100000 << 0;
        QTest::newRow("short block: lParam") << utf8 << 0x00050003u << QByteArray("\1\0\0") << 5 << 3;
        QTest::newRow("without the flag: lParam") << 1u << 0x00050003u << numbers(70000, 5) << 5 << 3;
    }
    void setSelectionPastSixteenBits()
    {
        QFETCH(quint32, wParam);
        QFETCH(quint32, lParam);
        QFETCH(QByteArray, block);
        QFETCH(int, start);
        QFETCH(int, length);
        doc(0)->setText(QString(100000, QLatin1Char('x')));
        const CommReply reply = send(Comm::SetSelection, wParam, lParam, block);
        QCOMPARE(doc(0)->selStart(), start);
        QCOMPARE(doc(0)->selLength(), length);
        QCOMPARE(reply.result, quint32(start + 1));
    }

    void missingCallbacksYieldZero()
    {
        CommDispatcher bare(*m_docs, nullptr, nullptr);
        CommRequest open;
        open.message = Comm::OpenFile;
        open.block = QByteArrayLiteral("/tmp/a.html\0");
        QCOMPARE(bare.execute(open).result, 0u);
        CommRequest pair;
        pair.message = Comm::InsertPair;
        pair.wParam = 1;
        pair.block = QByteArrayLiteral("<B>\0</B>\0");
        QCOMPARE(bare.execute(pair).result, 0u);
        QCOMPARE(doc(0)->text(), QStringLiteral("alpha\nbeta\ngamma"));
    }
};

QTEST_GUILESS_MAIN(TestCommDispatcher)
#include "tst_commdispatcher.moc"
