// The real editor driven through the real command-line client: every message of the
// channel, what it answers and what it does, read back through the client. The editor
// runs offscreen on a server name and a settings folder of its own.
#include "ipc/client/commclient.h"
#include "testsupport.h"

#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>
#include <memory>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#endif

namespace {

constexpr int kClientTimeoutMs = 30000;

// Owns the editor process: whatever way the test ends, no editor is left running
// and no socket is left lying in the temporary folder.
class EditorGuard
{
public:
    EditorGuard(const QString &server, const QProcessEnvironment &env)
        : m_server(server)
    {
        m_process.setProcessEnvironment(env);
#ifdef Q_OS_LINUX
        // Even a crashed test takes its editor with it.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
#endif
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~EditorGuard()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
        QLocalServer::removeServer(m_server);
    }

    QProcess &process() { return m_process; }

    // SIGTERM first; an editor that stays (asking about modified documents) is killed.
    bool end()
    {
        if (m_process.state() == QProcess::NotRunning)
            return true;
        m_process.terminate();
        if (!m_process.waitForFinished(10000)) {
            m_process.kill();
            m_process.waitForFinished(10000);
        }
        return m_process.state() == QProcess::NotRunning;
    }

private:
    QString m_server;
    QProcess m_process;
};

struct Sent
{
    int exitCode = -1;
    quint32 result = 0;
    bool hasResult = false;
    QString text; // what follows the result line
    QString err;
};

QStringList args(std::initializer_list<QString> list) { return QStringList(list); }

// Windows-1250 bytes of the Polish letters, from the published table.
QByteArray cp1250(std::initializer_list<unsigned char> bytes)
{
    QByteArray out;
    for (unsigned char b : bytes)
        out += char(b);
    return out;
}

} // namespace

class TstChannelIntegration : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void openReturnsGrowingIdentifiers();
    void openRefusesNameOutsideCodePage();
    void selectLine_data();
    void selectLine();
    void replaceSelection();
    void insertPair();
    void getSelection_data();
    void getSelection();
    void setAndGetText_data();
    void setAndGetText();
    void setSelectionFromRawWords();
    void activeDocumentFollowsAddressing();
    void unknownDocument_data();
    void unknownDocument();
    void polishLettersTravelAsWindows1250();
    void editorEnds();

private:
    Sent send(const QStringList &arguments, const QString &workDir = QString());
    // Writes text into document doc and puts the selection at start/length, all through
    // the client, so that every test starts from a known state.
    void prepare(int doc, const QString &text, int start, int length);
    QString textOf(int doc);
    QString selectionOf(int doc);
    static QString id(int doc) { return QString::number(doc); }

    testsupport::IsolatedSettings m_config;
    QTemporaryDir m_files;
    QString m_server;
    QProcessEnvironment m_env;
    std::unique_ptr<EditorGuard> m_editor;
    int m_doc1 = 0;
    int m_doc2 = 0;
};

Sent TstChannelIntegration::send(const QStringList &arguments, const QString &workDir)
{
    Sent s;
    QProcess p;
    p.setProcessEnvironment(m_env);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(MARKORA_BIN_DIR "/markora-send"),
        QStringList { QStringLiteral("-t"), QString::number(kClientTimeoutMs) } + arguments);
    if (!p.waitForStarted(30000))
        return s;
    p.closeWriteChannel();
    if (!p.waitForFinished(kClientTimeoutMs + 30000)) {
        p.kill();
        p.waitForFinished(5000);
        return s;
    }
    if (p.exitStatus() != QProcess::NormalExit)
        return s;
    s.exitCode = p.exitCode();
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    s.err = QString::fromUtf8(p.readAllStandardError());
    const qsizetype eol = out.indexOf(QLatin1Char('\n'));
    if (eol >= 0) {
        s.result = out.left(eol).toUInt(&s.hasResult);
        s.text = out.mid(eol + 1);
    }
    return s;
}

void TstChannelIntegration::prepare(int doc, const QString &text, int start, int length)
{
    const Sent set = send(args({ QStringLiteral("set-text"), id(doc), text }));
    QCOMPARE(set.exitCode, 0);
    const Sent sel
        = send(args({ QStringLiteral("set-sel"), id(doc), QString::number(start), QString::number(length) }));
    QCOMPARE(sel.exitCode, 0);
    QCOMPARE(sel.result, quint32(start) + 1);
}

QString TstChannelIntegration::textOf(int doc)
{
    const Sent s = send(args({ QStringLiteral("get-text"), id(doc), QStringLiteral("1000000") }));
    return s.exitCode == 0 ? s.text : QStringLiteral("<failed: %1 %2>").arg(s.exitCode).arg(s.err);
}

QString TstChannelIntegration::selectionOf(int doc)
{
    const Sent s = send(args({ QStringLiteral("get-sel"), id(doc), QStringLiteral("1000000") }));
    return s.exitCode == 0 ? s.text : QStringLiteral("<failed: %1 %2>").arg(s.exitCode).arg(s.err);
}

void TstChannelIntegration::initTestCase()
{
    QVERIFY(m_config.isValid());
    QVERIFY(m_files.isValid());
    QVERIFY2(QFileInfo(QStringLiteral(MARKORA_BIN_DIR "/markora")).isExecutable(), "markora not built");
    QVERIFY2(
        QFileInfo(QStringLiteral(MARKORA_BIN_DIR "/markora-send")).isExecutable(), "markora-send not built");

    m_server = QStringLiteral("markora-it-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    // The client library in this process reaches the same editor.
    qputenv("MARKORA_SERVER_NAME", m_server.toUtf8());
    m_env = m_config.processEnvironment();
    m_env.insert(QStringLiteral("MARKORA_SERVER_NAME"), m_server);
    m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    m_editor = std::make_unique<EditorGuard>(m_server, m_env);
    QProcess &editor = m_editor->process();
    editor.start(QStringLiteral(MARKORA_BIN_DIR "/markora"), {});
    QVERIFY2(editor.waitForStarted(30000), qPrintable(editor.errorString()));

    // Messages only once the editor answers; a generous limit for a loaded machine.
    QDeadlineTimer deadline(60000);
    bool answering = false;
    while (!answering && !deadline.hasExpired() && editor.state() == QProcess::Running) {
        answering = CommEditorRunning(m_server, 1000);
        if (!answering)
            QTest::qWait(50);
    }
    QVERIFY2(answering, "the editor did not answer on its server name");
}

void TstChannelIntegration::cleanupTestCase() { m_editor.reset(); }

void TstChannelIntegration::openReturnsGrowingIdentifiers()
{
    const QString first = m_files.filePath(QStringLiteral("pierwszy.html"));
    const QString second = m_files.filePath(QString::fromUtf8("żółty.html"));
    for (const auto &[path, bytes] :
        { std::pair { first, QByteArray("<P>pierwszy</P>\n") }, std::pair { second, QByteArray("drugi") } }) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    const Sent a = send(args({ QStringLiteral("open"), first }));
    QCOMPARE(a.exitCode, 0);
    QVERIFY(a.hasResult);
    QVERIFY(a.result > 0);
    // Relative to the client's folder, with a Polish name carried in Windows-1250.
    const Sent b = send(args({ QStringLiteral("open"), QString::fromUtf8("żółty.html") }), m_files.path());
    QCOMPARE(b.exitCode, 0);
    QVERIFY2(b.result > a.result, qPrintable(QStringLiteral("%1 after %2").arg(b.result).arg(a.result)));
    m_doc1 = int(a.result);
    m_doc2 = int(b.result);

    QCOMPARE(textOf(m_doc1), QStringLiteral("<P>pierwszy</P>\n"));
    QCOMPARE(textOf(m_doc2), QStringLiteral("drugi"));
}

void TstChannelIntegration::openRefusesNameOutsideCodePage()
{
    // Windows-1250 has no Cyrillic: the name would travel as a numeric reference and
    // name another file, which may exist.
    const QString wanted = QString::fromUtf8("ж.html");
    for (const auto &[name, bytes] : { std::pair { wanted, QByteArray("właściwy") },
             std::pair { QStringLiteral("&#1078;.html"), QByteArray("inny plik") } }) {
        QFile f(m_files.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QCOMPARE(send(args({ QStringLiteral("get-sel"), id(m_doc2), QStringLiteral("1") })).exitCode, 0);
    const Sent s = send(args({ QStringLiteral("open"), m_files.filePath(wanted) }));
    QCOMPARE(s.exitCode, 3);
    QCOMPARE(s.err, QString::fromUtf8("Błąd komunikacji:nie można stworzyć pliku pamięciowego.\n"));
    QCOMPARE(send(args({ QStringLiteral("get-text"), QStringLiteral("active"), QStringLiteral("100") })).text,
        QStringLiteral("drugi"));

    QString error;
    QCOMPARE(CommOpenFile(m_files.filePath(wanted), &error), 0u);
    QCOMPARE(error, QString::fromUtf8("Błąd komunikacji:nie można stworzyć pliku pamięciowego."));
}

void TstChannelIntegration::selectLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<quint32>("result");
    QTest::addColumn<QString>("selected");
    const QString t = QStringLiteral("alpha\nbeta\n\ngamma");
    QTest::newRow("first line") << t << "0" << 0 << 1u << "alpha";
    QTest::newRow("middle line") << t << "1" << 0 << 7u << "beta";
    QTest::newRow("empty line") << t << "2" << 0 << 12u << "";
    QTest::newRow("last line without a break") << t << "3" << 0 << 13u << "gamma";
    QTest::newRow("past the end") << t << "4" << 1 << 0u << "alp";
    QTest::newRow("line in the 32-bit range") << t << "0xFFFFFFFF" << 1 << 0u << "alp";
    QTest::newRow("Polish line") << QString::fromUtf8("x\nżółć gęś\ny") << "1" << 0 << 3u
                                 << QString::fromUtf8("żółć gęś");
}

void TstChannelIntegration::selectLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QFETCH(int, exitCode);
    QFETCH(quint32, result);
    QFETCH(QString, selected);
    prepare(m_doc1, text, 0, 3);
    const Sent s = send(args({ QStringLiteral("select-line"), id(m_doc1), line }));
    QCOMPARE(s.exitCode, exitCode);
    QCOMPARE(s.result, result);
    // A refused line leaves the selection as it was.
    QCOMPARE(selectionOf(m_doc1), selected);
    QCOMPARE(textOf(m_doc1), text);
}

void TstChannelIntegration::replaceSelection()
{
    prepare(m_doc1, QStringLiteral("alpha\nbeta\ngamma"), 0, 0);
    QCOMPARE(send(args({ QStringLiteral("select-line"), id(m_doc1), QStringLiteral("1") })).result, 7u);
    const QString with = QString::fromUtf8("BETA żółw");
    const Sent s = send(args({ QStringLiteral("replace-sel"), id(m_doc1), with }));
    QCOMPARE(s.exitCode, 0);
    // The caret stands after the new text.
    QCOMPARE(s.result, quint32(6 + with.size() + 1));
    QCOMPARE(textOf(m_doc1), QString::fromUtf8("alpha\nBETA żółw\ngamma"));
    QCOMPARE(selectionOf(m_doc1), QString());

    // An empty selection takes the text at the caret; CR LF arrives as one break.
    QCOMPARE(send(args({ QStringLiteral("set-sel"), id(m_doc1), QStringLiteral("5"), QStringLiteral("0") }))
                 .result,
        6u);
    QCOMPARE(send(args({ QStringLiteral("replace-sel"), id(m_doc1), QStringLiteral("!\r\n!") })).result, 9u);
    QCOMPARE(textOf(m_doc1), QString::fromUtf8("alpha!\n!\nBETA żółw\ngamma"));
}

void TstChannelIntegration::insertPair()
{
    prepare(m_doc1, QStringLiteral("jeden dwa trzy"), 6, 3);
    const Sent s = send(
        args({ QStringLiteral("insert-pair"), id(m_doc1), QStringLiteral("<B>"), QStringLiteral("</B>") }));
    QCOMPARE(s.result, 1u);
    QCOMPARE(s.exitCode, 0);
    QCOMPARE(textOf(m_doc1), QStringLiteral("jeden <B>dwa</B> trzy"));
}

void TstChannelIntegration::getSelection_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<quint32>("result");
    QTest::addColumn<QString>("answer");
    // The selection is "dwa żółw" (8 characters).
    QTest::newRow("large buffer") << "1000" << 9u << QString::fromUtf8("dwa żółw");
    QTest::newRow("exact buffer") << "9" << 9u << QString::fromUtf8("dwa żółw");
    QTest::newRow("one short") << "8" << 8u << QString::fromUtf8("dwa żół");
    QTest::newRow("N = 1: the empty string") << "1" << 1u << QString();
    QTest::newRow("largest N") << "0xFFFFFFFF" << 9u << QString::fromUtf8("dwa żółw");
}

void TstChannelIntegration::getSelection()
{
    QFETCH(QString, size);
    QFETCH(quint32, result);
    QFETCH(QString, answer);
    prepare(m_doc1, QString::fromUtf8("jeden dwa żółw trzy"), 6, 8);
    const Sent s = send(args({ QStringLiteral("get-sel"), id(m_doc1), size }));
    QCOMPARE(s.exitCode, 0);
    QCOMPARE(s.result, result);
    QCOMPARE(s.text, answer);
    // Reading changes neither the text nor the selection.
    QCOMPARE(selectionOf(m_doc1), QString::fromUtf8("dwa żółw"));
}

void TstChannelIntegration::setAndGetText_data()
{
    QTest::addColumn<QString>("sent");
    QTest::addColumn<QString>("size");
    QTest::addColumn<quint32>("result");
    QTest::addColumn<QString>("answer");
    const QString polish = QString::fromUtf8("Zażółć gęślą jaźń\nZAŻÓŁĆ GĘŚLĄ JAŹŃ");
    QTest::newRow("whole") << polish << "1000" << quint32(polish.size() + 1) << polish;
    QTest::newRow("cut to N - 1") << polish << "6" << 6u << QString::fromUtf8("Zażół");
    QTest::newRow("N = 1") << polish << "1" << 1u << QString();
    QTest::newRow("empty document") << QString() << "1000" << 1u << QString();
    QTest::newRow("CR LF becomes one break")
        << QStringLiteral("a\r\nb\rc") << "1000" << 6u << QStringLiteral("a\nb\nc");
    // Outside the code page: a numeric reference, never a question mark.
    QTest::newRow("arrow outside Windows-1250")
        << QString::fromUtf8("a→b") << "1000" << 10u << QStringLiteral("a&#8594;b");
}

void TstChannelIntegration::setAndGetText()
{
    QFETCH(QString, sent);
    QFETCH(QString, size);
    QFETCH(quint32, result);
    QFETCH(QString, answer);
    prepare(m_doc2, QStringLiteral("stary tekst"), 2, 3);
    const Sent set = send(args({ QStringLiteral("set-text"), id(m_doc2), sent }));
    QCOMPARE(set.exitCode, 0);
    QCOMPARE(set.result, 1u); // the caret goes to the start of the new text
    const Sent get = send(args({ QStringLiteral("get-text"), id(m_doc2), size }));
    QCOMPARE(get.exitCode, 0);
    QCOMPARE(get.result, result);
    QCOMPARE(get.text, answer);
}

void TstChannelIntegration::setSelectionFromRawWords()
{
    prepare(m_doc1, QStringLiteral("0123456789abcdef"), 0, 0);
    // Document 1 made active, so that 0xFFFF reaches it.
    QCOMPARE(send(args({ QStringLiteral("get-sel"), id(m_doc1), QStringLiteral("1") })).result, 1u);
    const Sent s = send(args({ QStringLiteral("raw"), QStringLiteral("0x408"), QStringLiteral("0xFFFF"),
        QStringLiteral("0x00050003") }));
    QCOMPARE(s.exitCode, 0);
    QCOMPARE(s.result, 6u);
    QCOMPARE(selectionOf(m_doc1), QStringLiteral("567"));
    const Sent raw
        = send(args({ QStringLiteral("raw"), QStringLiteral("0x405"), id(m_doc1), QStringLiteral("100") }));
    QCOMPARE(raw.result, 4u);
    QCOMPARE(raw.text, QStringLiteral("567"));

    // Past the end: clamped to the text.
    const Sent far = send(
        args({ QStringLiteral("set-sel"), id(m_doc1), QStringLiteral("14"), QStringLiteral("0xFFFF") }));
    QCOMPARE(far.result, 15u);
    QCOMPARE(selectionOf(m_doc1), QStringLiteral("ef"));
}

void TstChannelIntegration::activeDocumentFollowsAddressing()
{
    prepare(m_doc1, QStringLiteral("pierwszy"), 0, 0);
    prepare(m_doc2, QStringLiteral("drugi"), 0, 0);
    for (const auto &[doc, text] :
        { std::pair { m_doc1, QStringLiteral("pierwszy") }, std::pair { m_doc2, QStringLiteral("drugi") },
            std::pair { m_doc1, QStringLiteral("pierwszy") } }) {
        // Addressing a document makes its tab active; 0xFFFF, -1 and "active" then reach it.
        QCOMPARE(send(args({ QStringLiteral("get-sel"), id(doc), QStringLiteral("10") })).exitCode, 0);
        for (const QString &active :
            { QStringLiteral("0xFFFF"), QStringLiteral("-1"), QStringLiteral("active") }) {
            const Sent s = send(args({ QStringLiteral("get-text"), active, QStringLiteral("100") }));
            QCOMPARE(s.exitCode, 0);
            QCOMPARE(s.text, text);
        }
    }
    // Writing through 0xFFFF changes the active document only.
    QCOMPARE(send(args({ QStringLiteral("set-text"), QStringLiteral("0xFFFF"), QStringLiteral("zmieniony") }))
                 .result,
        1u);
    QCOMPARE(textOf(m_doc2), QStringLiteral("drugi"));
    QCOMPARE(textOf(m_doc1), QStringLiteral("zmieniony"));
}

void TstChannelIntegration::unknownDocument_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString unknown = QStringLiteral("999");
    QTest::newRow("0x402") << args({ QStringLiteral("select-line"), unknown, QStringLiteral("0") });
    QTest::newRow("0x403") << args({ QStringLiteral("replace-sel"), unknown, QStringLiteral("X") });
    QTest::newRow("0x404") << args(
        { QStringLiteral("insert-pair"), unknown, QStringLiteral("<B>"), QStringLiteral("</B>") });
    QTest::newRow("0x405") << args({ QStringLiteral("get-sel"), unknown, QStringLiteral("100") });
    QTest::newRow("0x406") << args({ QStringLiteral("set-text"), unknown, QStringLiteral("X") });
    QTest::newRow("0x407") << args({ QStringLiteral("get-text"), unknown, QStringLiteral("100") });
    QTest::newRow("0x408") << args(
        { QStringLiteral("set-sel"), unknown, QStringLiteral("0"), QStringLiteral("1") });
    QTest::newRow("identifier 0") << args(
        { QStringLiteral("set-text"), QStringLiteral("0"), QStringLiteral("X") });
    QTest::newRow("unknown message") << args(
        { QStringLiteral("raw"), QStringLiteral("0x409"), QStringLiteral("0xFFFF"), QStringLiteral("0") });
}

void TstChannelIntegration::unknownDocument()
{
    QFETCH(QStringList, arguments);
    prepare(m_doc1, QStringLiteral("nietknięty"), 2, 3);
    prepare(m_doc2, QStringLiteral("drugi"), 1, 2);
    const Sent s = send(arguments);
    QCOMPARE(s.exitCode, 1);
    QVERIFY(s.hasResult);
    QCOMPARE(s.result, 0u);
    QCOMPARE(s.text, QString());
    QCOMPARE(s.err, QString()); // a refusal, not a communication error
    // Nothing changed, and the active document is still the last one addressed.
    QCOMPARE(send(args({ QStringLiteral("get-text"), QStringLiteral("active"), QStringLiteral("100") })).text,
        QStringLiteral("drugi"));
    QCOMPARE(selectionOf(m_doc2), QStringLiteral("ru"));
    QCOMPARE(textOf(m_doc1), QString::fromUtf8("nietknięty"));
    QCOMPARE(selectionOf(m_doc1), QStringLiteral("etk"));
}

void TstChannelIntegration::polishLettersTravelAsWindows1250()
{
    const QString letters = QString::fromUtf8("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ");
    prepare(m_doc1, letters, 0, 0);
    QCOMPARE(textOf(m_doc1), letters);

    // The bytes on the wire, through the client library.
    const CommOutcome out
        = CommExchange(CommMakeRequest(Comm::GetText, quint32(m_doc1), 100), kClientTimeoutMs, m_server);
    QVERIFY(out.error == CommError::None);
    QCOMPARE(out.result, quint32(letters.size() + 1));
    QCOMPARE(out.answer,
        cp1250({ 0xB9, 0xE6, 0xEA, 0xB3, 0xF1, 0xF3, 0x9C, 0x9F, 0xBF, 0x20, 0xA5, 0xC6, 0xCA, 0xA3, 0xD1,
            0xD3, 0x8C, 0x8F, 0xAF }));

    // Bytes sent raw come in as those letters.
    CommRequest request;
    request.message = Comm::SetText;
    request.wParam = quint32(m_doc1);
    request.block = cp1250({ 'Z', 'a', 0xBF, 0xF3, 0xB3, 0xE6, 0 });
    QCOMPARE(CommExchange(request, kClientTimeoutMs, m_server).result, 1u);
    QCOMPARE(textOf(m_doc1), QString::fromUtf8("Zażółć"));
}

void TstChannelIntegration::editorEnds()
{
    QVERIFY(m_editor->end());
    QVERIFY(!CommEditorRunning(m_server, 1000));
    // The client says so, with its own exit status.
    const Sent s = send(args({ QStringLiteral("get-text"), QStringLiteral("-1"), QStringLiteral("10") }));
    QCOMPARE(s.exitCode, 4);
    QCOMPARE(s.err, QString::fromUtf8("Błąd komunikacji:nie można znależć Markora.\n"));
}

QTEST_MAIN(TstChannelIntegration)
#include "tst_channelintegration.moc"
