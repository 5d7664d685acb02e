// Starts the real program twice: the second start hands its file to the first and
// ends with 255.
#include "ipc/client/commclient.h"
#include "testsupport.h"

#include <QProcess>
#include <QUuid>
#include <QtTest>

class TstSecondStart : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondStartHandsFileToFirst();
    void onlyDocumentsAreHandedOver();

private:
    QProcessEnvironment environment(const testsupport::IsolatedSettings &config) const;
    bool startFirst(QProcess &first, const testsupport::IsolatedSettings &config);
    int runSecond(
        const testsupport::IsolatedSettings &config, const QStringList &args, QByteArray *err = nullptr);

    QString m_server;
};

QProcessEnvironment TstSecondStart::environment(const testsupport::IsolatedSettings &config) const
{
    QProcessEnvironment env = config.processEnvironment();
    env.insert(QStringLiteral("MARKORA_SERVER_NAME"), m_server);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

bool TstSecondStart::startFirst(QProcess &first, const testsupport::IsolatedSettings &config)
{
    m_server = QStringLiteral("markora-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    qputenv("MARKORA_SERVER_NAME", m_server.toUtf8());
    first.setProcessEnvironment(environment(config));
    first.start(QStringLiteral(MARKORA_BIN_DIR "/markora"), {});
    if (!first.waitForStarted(30000))
        return false;
    // Ready when its communication server answers.
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        if (CommEditorRunning(m_server, 1000))
            return true;
        if (first.state() != QProcess::Running)
            return false;
        QTest::qWait(20);
    }
    return false;
}

int TstSecondStart::runSecond(
    const testsupport::IsolatedSettings &config, const QStringList &args, QByteArray *err)
{
    QProcess second;
    second.setProcessEnvironment(environment(config));
    second.start(QStringLiteral(MARKORA_BIN_DIR "/markora"), args);
    if (!second.waitForFinished(60000)) {
        second.kill();
        return -1;
    }
    if (err)
        *err = second.readAllStandardError();
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -2;
}

void TstSecondStart::secondStartHandsFileToFirst()
{
    testsupport::IsolatedSettings config;
    QTemporaryDir docs;
    const QString page = docs.filePath(QStringLiteral("strona.html"));
    {
        QFile f(page);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<p>z drugiego startu</p>");
    }
    QProcess first;
    QVERIFY(startFirst(first, config));

    // Given relative to its own folder: the first editor gets the full path.
    QProcess second;
    second.setWorkingDirectory(docs.path());
    second.setProcessEnvironment(environment(config));
    second.start(QStringLiteral(MARKORA_BIN_DIR "/markora"), { QStringLiteral("strona.html") });
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 255);

    QString text, error;
    QVERIFY2(CommGetText(CommActiveDocument, 4096, &text, &error) > 0, qPrintable(error));
    QCOMPARE(text, QStringLiteral("<p>z drugiego startu</p>"));
    QVERIFY(first.state() == QProcess::Running);
    first.kill();
    first.waitForFinished(10000);
}

void TstSecondStart::onlyDocumentsAreHandedOver()
{
    testsupport::IsolatedSettings config;
    QProcess first;
    QVERIFY(startFirst(first, config));
    QByteArray err;
    // Switches and missing files are not documents: nothing is sent, nothing is reported.
    QCOMPARE(runSecond(config, { QStringLiteral("-nomsie"), QStringLiteral("/nonexistent/brak.html") }, &err),
        255);
    QVERIFY2(err.isEmpty() || !err.contains("brak.html"), err.constData());
    QString text, error;
    QVERIFY2(CommGetText(CommActiveDocument, 4096, &text, &error) > 0, qPrintable(error));
    QCOMPARE(text, QString()); // still the one untitled document
    first.kill();
    first.waitForFinished(10000);
}

QTEST_MAIN(TstSecondStart)
#include "tst_secondstart.moc"
