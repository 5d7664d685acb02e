#include "base/settings.h"
#include "ext/ui/pluginsbar.h"
#include "ext/ui/tdoklbutton.h"
#include "guitestsupport.h"
#include "ipc/client/pluginschannel.h"
#include "ipc/commtestserver.h"
#include "pluginstestsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <csignal>
#include <memory>

// The "Doklejki" toolbar: plug-in registrations read from the sibling settings store,
// and the click that starts a plug-in or wakes the running one.
class TestPlugins : public testsupport::IsolatedTestCase
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_files;
    QTemporaryDir m_runtime;
    QString m_log;

    // The registrations exactly as a plug-in author writes them by hand.
    void writeRegistrations(const QByteArray &ini)
    {
        const QString folder = isolated().path() + QStringLiteral("/Lindenworks");
        QVERIFY(QDir().mkpath(folder));
        QFile file(folder + QStringLiteral("/Doklejki.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ini);
    }

    QString filePath(const QString &name) const { return m_files->filePath(name); }

    QStringList logLines() const
    {
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QStringList logLinesStarting(const QString &prefix) const
    {
        QStringList out;
        for (const QString &line : logLines())
            if (line.startsWith(prefix))
                out << line;
        return out;
    }
    void killLoggedPlugins()
    {
        for (const QString &line : logLinesStarting(QStringLiteral("start ")))
            ::kill(pid_t(line.section(QLatin1Char(' '), 1, 1).toLongLong()), SIGKILL);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }
    void init()
    {
        IsolatedTestCase::init();
        m_files = std::make_unique<QTemporaryDir>();
        m_log = filePath(QStringLiteral("plugin.log"));
        qputenv("MARKORA_PLUGIN_EXAMPLE_LOG", QFile::encodeName(m_log));
    }
    void cleanup()
    {
        killLoggedPlugins();
        qunsetenv("MARKORA_PLUGIN_EXAMPLE_LOG");
        m_files.reset();
        IsolatedTestCase::cleanup();
    }

    void noRegistrations_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::newRow("no store") << QByteArray();
        QTest::newRow("empty store") << QByteArray("\n");
        QTest::newRow("values but no subkeys") << QByteArray("Command=/bin/true\n");
    }
    void noRegistrations()
    {
        QFETCH(QByteArray, ini);
        if (!ini.isNull())
            writeRegistrations(ini);
        testsupport::ScriptedUser messages;
        QToolBar *bar = CreatePluginToolBar(nullptr);
        std::unique_ptr<QToolBar> owner(bar);
        QVERIFY(LoadPlugins(bar, *PluginSettings()).isEmpty());
        QVERIFY(bar->actions().isEmpty());
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(bar->objectName(), QStringLiteral("Doklejki"));
        QCOMPARE(bar->windowTitle(), QStringLiteral("Doklejki"));
    }

    void entriesLoadInOrder()
    {
        const QString icon = filePath(QStringLiteral("glyph.bmp"));
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(icon, "BMP"));
        writeRegistrations(QByteArray("[Licznik słów]\n"
                                      "Command=/opt/licznik/licznik\n"
                                      "WindowCaption=Licznik słów i znaczników\n"
                                      "Hint=Liczy słowa, znaczniki\n"
                                      "Icon=")
            + icon.toUtf8()
            + "\n"
              "[Bez hinta]\n"
              "Command=/opt/inny\n");
        testsupport::ScriptedUser messages;
        QToolBar bar;
        const QList<TDoklButton *> buttons = LoadPlugins(&bar, *PluginSettings());
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(bar.actions().size(), 2);
        // The store lists its subkeys sorted.
        TDoklButton *none = buttons[0];
        TDoklButton *counter = buttons[1];
        QCOMPARE(none->objectName(), QStringLiteral("Bez hinta"));
        QCOMPARE(none->Command, QStringLiteral("/opt/inny"));
        QCOMPARE(none->WindowCaption, QString());
        QCOMPARE(none->Hint(), QStringLiteral("Nie ma hinta!"));
        QVERIFY(none->icon().isNull());
        QCOMPARE(counter->objectName(), QStringLiteral("Licznik słów"));
        QCOMPARE(counter->Command, QStringLiteral("/opt/licznik/licznik"));
        QCOMPARE(counter->WindowCaption, QStringLiteral("Licznik słów i znaczników"));
        QCOMPARE(counter->Hint(), QStringLiteral("Liczy słowa, znaczniki"));
        QCOMPARE(counter->Icon, icon);
        QVERIFY(!counter->icon().isNull());
        for (TDoklButton *b : buttons) {
            QCOMPARE(b->size(), QSize(24, 24));
            QVERIFY(b->autoRaise());
        }
    }

    void brokenEntryReportedNextLoads_data()
    {
        QTest::addColumn<QByteArray>("icon");
        QTest::newRow("missing icon file") << QByteArray("/nie/ma/takiego.bmp");
        QTest::newRow("icon file is no picture") << QByteArray("NOT_A_PICTURE");
    }
    void brokenEntryReportedNextLoads()
    {
        QFETCH(QByteArray, icon);
        if (icon == "NOT_A_PICTURE") {
            icon = filePath(QStringLiteral("tekst.bmp")).toUtf8();
            QFile f(QString::fromUtf8(icon));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("to nie jest obrazek");
        }
        writeRegistrations("[A]\nCommand=/nie/ma/a\nIcon=" + icon + "\n[B]\nCommand=/nie/ma/b\n");
        testsupport::ScriptedUser messages;
        QToolBar bar;
        const QList<TDoklButton *> buttons = LoadPlugins(&bar, *PluginSettings());
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].icon, QMessageBox::Critical);
        QCOMPARE(messages.asked[0].caption, QStringLiteral("Przyciski doklejek: błąd"));
        QCOMPARE(
            messages.asked[0].text, QStringLiteral("Problem przy odczycie danych doklejki z rejestru (A)."));
        QCOMPARE(buttons.size(), 2);
        QCOMPARE(buttons[1]->objectName(), QStringLiteral("B"));
        QCOMPARE(buttons[1]->Command, QStringLiteral("/nie/ma/b"));
        // The failed entry's button stays without a click action; the next one has its own.
        messages.asked.clear();
        buttons[0]->click();
        QVERIFY(messages.asked.isEmpty());
        buttons[1]->click();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(
            messages.asked[0].text, QStringLiteral("Wystąpił błąd przy uruchamianiu doklejki /nie/ma/b."));
    }

    void startFailure_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("errorNumber");
        QTest::newRow("missing program") << QStringLiteral("/nie/ma/programu") << QString() << 2;
        QTest::newRow("missing program, caption of no running plug-in")
            << QStringLiteral("/nie/ma/programu") << QStringLiteral("Nikt nie słucha") << 2;
        QTest::newRow("not in PATH") << QStringLiteral("markora-nie-ma-takiej-doklejki") << QString() << 2;
        QTest::newRow("file not executable") << QStringLiteral("FILE") << QString() << 13;
        QTest::newRow("folder") << QStringLiteral("DIR") << QString() << 13;
        QTest::newRow("empty command") << QString() << QString() << 2;
    }
    void startFailure()
    {
        QFETCH(QString, command);
        QFETCH(QString, caption);
        QFETCH(int, errorNumber);
        if (command == QStringLiteral("FILE")) {
            command = filePath(QStringLiteral("zwykly.txt"));
            QFile f(command);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("echo\n");
        } else if (command == QStringLiteral("DIR")) {
            command = m_files->path();
        }
        testsupport::ScriptedUser messages;
        TDoklButton button;
        button.Command = command;
        button.WindowCaption = caption;
        QCOMPARE(button.DoklejkaClick(), TDoklButton::ClickResult::Failed);
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].icon, QMessageBox::Warning);
        QCOMPARE(messages.asked[0].caption, QStringLiteral("Uruchamianie: błąd (%1)").arg(errorNumber));
        QCOMPARE(messages.asked[0].text,
            QStringLiteral("Wystąpił błąd przy uruchamianiu doklejki ") + command + QLatin1Char('.'));
    }

    // Two clicks on the example plug-in's button: the first starts it, the second only
    // wakes the running instance, which refreshes its counts of the active document.
    void examplePluginStartedOnceWokenOnce()
    {
        CommTestServer editor; // the plug-in reads the active document from here
        QVERIFY(editor.server->listen());
        editor.docs.add(QStringLiteral("<P>Ala ma <B>kota</B></P>"));
        editor.docs.activate(2);

        const QString caption = QStringLiteral("Licznik słów i znaczników");
        writeRegistrations(QByteArray("[Licznik]\nCommand=" MARKORA_BIN_DIR "/markora-plugin-example\n"
                                      "WindowCaption=")
            + caption.toUtf8() + "\nHint=Liczy słowa i znaczniki\n");
        testsupport::ScriptedUser messages;
        QToolBar bar;
        const QList<TDoklButton *> buttons = LoadPlugins(&bar, *PluginSettings());
        QCOMPARE(buttons.size(), 1);
        TDoklButton *button = buttons[0];
        QVERIFY(!PluginChannel::running(caption));

        button->click();
        QVERIFY(messages.asked.isEmpty());
        QVERIFY(button->lastPid() > 0);
        // Started: it listens under its caption and has counted the document once.
        QVERIFY(serveUntil([&] {
            return PluginChannel::running(caption, 100)
                && !logLinesStarting(QStringLiteral("refresh")).isEmpty();
        }));
        QCOMPARE(logLinesStarting(QStringLiteral("start ")),
            QStringList { QStringLiteral("start %1 -markora").arg(button->lastPid()) });

        const qint64 firstPid = button->lastPid();
        QCOMPARE(button->DoklejkaClick(), TDoklButton::ClickResult::Woken);
        QCOMPARE(button->lastPid(), firstPid); // nothing new was started
        QVERIFY(serveUntil([&] { return logLinesStarting(QStringLiteral("refresh")).size() == 2; }));
        QVERIFY(messages.asked.isEmpty());
        QCOMPARE(logLines(),
            QStringList(
                { QStringLiteral("start %1 -markora").arg(firstPid), QStringLiteral("refresh words=3 tags=4"),
                    QStringLiteral("1033"), QStringLiteral("refresh words=3 tags=4") }));
    }
};

QTEST_MAIN(TestPlugins)
#include "tst_plugins.moc"
