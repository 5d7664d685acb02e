#include "commtestserver.h"

#include <QProcess>
#include <QTest>

// The command-line client against an in-process server: what scripts see on standard
// output, standard error and in the exit status.
class TestMarkoraSend : public QObject
{
    Q_OBJECT

    std::unique_ptr<CommTestServer> m_s;

    static QStringList A(std::initializer_list<const char *> args)
    {
        QStringList out;
        for (const char *a : args)
            out << QString::fromUtf8(a);
        return out;
    }

    struct Run
    {
        int exitCode = -1;
        QString out;
        QString err;
    };

    Run run(
        const QStringList &args, const QByteArray &input = QByteArray(), const QString &server = QString())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MARKORA_SERVER_NAME"), server.isEmpty() ? m_s->name : server);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(MARKORA_BIN_DIR "/markora-send"), args);
        if (!p.waitForStarted(30000))
            return Run();
        p.write(input);
        p.closeWriteChannel();
        // Not waitForFinished: this thread's event loop is the editor's.
        QDeadlineTimer deadline(60000);
        while (p.state() != QProcess::NotRunning && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        p.waitForFinished(1000);
        return { p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError()) };
    }

private Q_SLOTS:
    void init()
    {
        m_s = std::make_unique<CommTestServer>();
        QVERIFY(m_s->server->listen());
    }
    void cleanup() { m_s.reset(); }

    void commands_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("doc1"); // text of document 1 afterwards
        QTest::addColumn<QString>("selected"); // selection of the active document afterwards
        const QString a = QStringLiteral("alpha\nbeta\ngamma");
        QTest::newRow("select-line") << A({ "select-line", "1", "2" }) << 0 << "12\n" << a << "gamma";
        QTest::newRow("select-line past the end") << A({ "select-line", "1", "3" }) << 1 << "0\n" << a << "";
        QTest::newRow("replace-sel Polish") << A({ "replace-sel", "1", "żółw" }) << 0 << "5\n"
                                            << QString::fromUtf8("żółwalpha\nbeta\ngamma") << "";
        QTest::newRow("insert-pair with a closing starting with a dash")
            << A({ "insert-pair", "1", "<!--", "-->" }) << 0 << "1\n"
            << QStringLiteral("<!---->") + a << "";
        QTest::newRow("get-sel N = 1") << A({ "get-sel", "-1", "1" }) << 0 << "1\n" << a << "";
        QTest::newRow("get-text 0xFFFF") << A({ "get-text", "0xFFFF", "5" }) << 0 << "5\n0123" << a << "";
        QTest::newRow("get-text active word")
            << A({ "get-text", "active", "100" }) << 0 << "17\n0123456789abcdef" << a << "";
        QTest::newRow("set-text") << A({ "set-text", "1", "nowy" }) << 0 << "1\n"
                                  << "nowy"
                                  << "";
        QTest::newRow("set-sel") << A({ "set-sel", "2", "5", "3" }) << 0 << "6\n" << a << "567";
        QTest::newRow("raw 0x408 0x00050003") << A({ "raw", "0x408", "0xFFFF", "0x00050003" }) << 0 << "6\n"
                                              << a << "567";
        QTest::newRow("raw 0x404 two texts") << A({ "raw", "0x404", "1", "0", "<I>", "</I>" }) << 0 << "1\n"
                                             << QStringLiteral("<I></I>") + a << "";
        QTest::newRow("-n: text only") << A({ "-n", "get-text", "1", "6" }) << 0 << "alpha" << a << "";
        QTest::newRow("unknown document") << A({ "get-text", "42", "10" }) << 1 << "0\n" << a << "";
        QTest::newRow("unknown message") << A({ "raw", "0x409", "1", "0" }) << 1 << "0\n" << a << "";
        QTest::newRow("usage: no command") << QStringList() << 2 << "" << a << "";
        QTest::newRow("usage: document out of range")
            << A({ "get-text", "70000", "10" }) << 2 << "" << a << "";
        QTest::newRow("usage: missing argument") << A({ "set-sel", "1", "5" }) << 2 << "" << a << "";
    }
    void commands()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, doc1);
        QFETCH(QString, selected);
        const Run r = run(args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, out);
        if (exitCode == 2)
            QVERIFY(r.err.startsWith(QString::fromUtf8("Użycie: markora-send")));
        else
            QCOMPARE(r.err, QString());
        QCOMPARE(m_s->doc(0)->text(), doc1);
        QCOMPARE(m_s->docs.active()->selectedText(), selected);
    }

    void openMakesThePathAbsolute()
    {
        const Run r = run({ QStringLiteral("open"), QStringLiteral("rel.html") });
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("3\n"));
        QCOMPARE(m_s->doc(2)->state().fileName, QDir::current().absoluteFilePath(QStringLiteral("rel.html")));
    }

    void textFromStandardInput()
    {
        const Run r = run({ QStringLiteral("set-text"), QStringLiteral("2"), QStringLiteral("-") },
            QByteArray("z wej\xc5\x9b"
                       "cia\r\n"));
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(m_s->doc(1)->text(), QString::fromUtf8("z wejścia\n"));
    }

    // -u: UTF-8 on the channel, every character as it is, positions past 65,535.
    void utf8_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("doc2"); // text of document 2 afterwards
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        const QString text = QStringLiteral("\U0001F600ż") + QString(70000, QLatin1Char('x'));
        QTest::newRow("get-text emoji out")
            << A({ "-u", "get-text", "2", "7" }) << 0 << QStringLiteral("7\n\U0001F600ż") << text << 0 << 0;
        QTest::newRow("replace-sel emoji in")
            << A({ "--utf8", "replace-sel", "2", "\U0001F602" }) << 0 << QStringLiteral("3\n")
            << QStringLiteral("\U0001F602") + text << 2 << 0;
        QTest::newRow("set-sel past 65,535") << A({ "-u", "set-sel", "2", "70000", "3" }) << 0
                                             << QStringLiteral("70001\n") << text << 70000 << 3;
        QTest::newRow("set-sel past 65,535 needs -u")
            << A({ "set-sel", "2", "70000", "3" }) << 2 << QString() << text << 0 << 0;
        QTest::newRow("without -u: references")
            << A({ "get-text", "2", "11" }) << 0 << QStringLiteral("11\n&#128512;\u017C") << text << 0 << 0;
    }
    void utf8()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, doc2);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        m_s->doc(1)->setText(QStringLiteral("\U0001F600ż") + QString(70000, QLatin1Char('x')));
        m_s->doc(1)->setSelection(0, 0);
        const Run r = run(args);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, out);
        QCOMPARE(m_s->doc(1)->text(), doc2);
        QCOMPARE(m_s->doc(1)->selStart(), selStart);
        QCOMPARE(m_s->doc(1)->selLength(), selLength);
    }

    void utf8OpenCarriesAnyName()
    {
        const QString name = QStringLiteral("\u0436\U0001F600.html");
        QCOMPARE(run({ QStringLiteral("open"), name }).exitCode, 3); // Windows-1250 cannot carry it
        const Run r = run({ QStringLiteral("-u"), QStringLiteral("open"), name });
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(m_s->doc(2)->state().fileName, QDir::current().absoluteFilePath(name));
    }

    void communicationErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("noServer");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("err");
        QTest::newRow("no editor") << A({ "get-text", "-1", "10" }) << true << 4
                                   << QString::fromUtf8("Błąd komunikacji:nie można znależć Markora.\n");
        QTest::newRow("buffer size 0")
            << A({ "get-sel", "-1", "0" }) << false << 3
            << QString::fromUtf8("Błąd komunikacji:nie można stworzyć pliku pamięciowego.\n");
    }
    void communicationErrors()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, noServer);
        QFETCH(int, exitCode);
        QFETCH(QString, err);
        const Run r = run(args, QByteArray(), noServer ? m_s->name + QStringLiteral("-nobody") : QString());
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.err, err);
        QCOMPARE(r.out, QString());
    }
};

QTEST_GUILESS_MAIN(TestMarkoraSend)
#include "tst_markorasend.moc"
