#include "app/qttranslations.h"
#include "app/ui/desktopcommands.h"
#include "app/ui/documentmanager.h"
#include "app/ui/splash.h"
#include "app/ui/startup.h"
#include "app/ui/toknogl.h"
#include "assisttestsupport.h"
#include "base/datafiles.h"
#include "base/ui/drawnicon.h"

#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMetaEnum>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {

using testsupport::ScopedEnv;
using testsupport::ScriptedUser;

// Every action that some widget of the window carries, once.
QList<QAction *> windowActions(const TOknoGl &w)
{
    QList<QAction *> out;
    QList<QWidget *> widgets = w.findChildren<QWidget *>();
    widgets.prepend(const_cast<TOknoGl *>(&w));
    for (const QWidget *widget : std::as_const(widgets))
        for (QAction *a : widget->actions())
            if (!out.contains(a))
                out << a;
    return out;
}

QAction *action(const TOknoGl &w, const char *name)
{
    return w.findChild<QAction *>(QString::fromLatin1(name));
}

// The texts of the buttons and labels of the modal dialog the command opens, which is
// then cancelled.
QStringList dialogTexts(const std::function<void()> &command)
{
    QStringList texts;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dlg = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dlg)
            return;
        poll.stop();
        for (const QPushButton *b : dlg->findChildren<QPushButton *>())
            if (b->isVisible())
                texts << QStringLiteral("button ") + b->text();
        for (const QLabel *l : dlg->findChildren<QLabel *>())
            if (l->isVisible() && !l->text().isEmpty())
                texts << QStringLiteral("label ") + l->text();
        dlg->reject();
    });
    poll.start(10);
    command();
    return texts;
}

} // namespace

// The program as a desktop user meets it: standard keys that take no key of the
// program's own, the commands behind them, the user's own tag definitions, Qt's dialogs
// in Polish and pictures sharp on a scaled screen.
class TstDesktop : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void noKeyIsTakenTwice();
    void standardKeys_data();
    void standardKeys();
    void keysStepThroughDocuments_data();
    void keysStepThroughDocuments();
    void fullScreen();
    void editDefinitionsMakesTheUsersCopy();
    void editDefinitionsReportsAFailure();
    void saveDialogSpeaksPolish();
    void picturesForScaledScreens();
};

void TstDesktop::noKeyIsTakenTwice()
{
    TOknoGl w;
    QMap<QKeySequence, QStringList> owners;
    for (const QAction *a : windowActions(w))
        for (const QKeySequence &key : a->shortcuts())
            owners[key] << a->objectName() + QLatin1Char('/') + a->text();
    QStringList taken;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it.value().size() > 1)
            taken << it.key().toString() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    QVERIFY2(taken.isEmpty(), qPrintable(taken.join(QLatin1Char('\n'))));
    // The window has its share of keys: the walk above saw the menus.
    QVERIFY(owners.size() > 20);

    // The keys added for the desktop are none of the editing keys the text control
    // itself reacts to (page moves, word moves, selection).
    const QList<QKeySequence> added { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
        QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_Tab),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown),
        QKeySequence(Qt::CTRL | Qt::Key_PageUp), QKeySequence(Qt::Key_F11) };
    const QMetaEnum standard = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < standard.keyCount(); ++i) {
        const auto key = QKeySequence::StandardKey(standard.value(i));
        if (key == QKeySequence::SaveAs || key == QKeySequence::Quit || key == QKeySequence::NextChild
            || key == QKeySequence::PreviousChild || key == QKeySequence::FullScreen)
            continue;
        for (const QKeySequence &k : QKeySequence::keyBindings(key))
            QVERIFY2(!added.contains(k), standard.key(i));
    }
}

void TstDesktop::standardKeys_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("key");
    QTest::newRow("save as") << "PlikiZapiszjako1"
                             << "Ctrl+Shift+S";
    QTest::newRow("quit") << "PlikiKoniec1"
                          << "Ctrl+Q";
    QTest::newRow("next document") << "NastepnyDokument1"
                                   << "Ctrl+Tab";
    QTest::newRow("next document, page key") << "NastepnyDokument1"
                                             << "Ctrl+PgDown";
    QTest::newRow("previous document") << "PoprzedniDokument1"
                                       << "Ctrl+Shift+Tab";
    QTest::newRow("previous document, page key") << "PoprzedniDokument1"
                                                 << "Ctrl+PgUp";
    QTest::newRow("full screen") << "PelnyEkran1"
                                 << "F11";
}

void TstDesktop::standardKeys()
{
    QFETCH(QString, action);
    QFETCH(QString, key);
    TOknoGl w;
    const QAction *a = w.findChild<QAction *>(action);
    QVERIFY(a);
    QVERIFY2(a->shortcuts().contains(QKeySequence::fromString(key, QKeySequence::PortableText)),
        qPrintable(QKeySequence::listToString(a->shortcuts())));
    // In a menu, where the user finds it.
    QVERIFY(!a->associatedObjects().isEmpty());
}

void TstDesktop::keysStepThroughDocuments_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<int>>("active"); // the active index after each of three presses
    const int ctrl = Qt::ControlModifier;
    const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    QTest::newRow("Ctrl+Tab, round the end") << int(Qt::Key_Tab) << ctrl << QList<int> { 1, 2, 0 };
    QTest::newRow("Ctrl+PgDown") << int(Qt::Key_PageDown) << ctrl << QList<int> { 1, 2, 0 };
    QTest::newRow("Ctrl+PgUp, round the start") << int(Qt::Key_PageUp) << ctrl << QList<int> { 2, 1, 0 };
    QTest::newRow("Ctrl+Shift+Tab") << int(Qt::Key_Tab) << ctrlShift << QList<int> { 2, 1, 0 };
    QTest::newRow("Ctrl+Shift+Backtab, as X11 sends it")
        << int(Qt::Key_Backtab) << ctrlShift << QList<int> { 2, 1, 0 };
}

void TstDesktop::keysStepThroughDocuments()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QList<int>, active);
    TOknoGl w;
    assisttest::prepare(w, QStringLiteral("pierwszy"));
    w.documents().New();
    w.documents().New();
    w.documents().activate(0);
    for (const int expected : active) {
        TEditor *e = w.CurrentEditor();
        e->setFocus();
        QTest::keyClick(e, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(w.documents().activeIndex(), expected);
    }
    // The keys went to the command, never into a text.
    QCOMPARE(w.documents().editorAt(0)->toPlainText(), QStringLiteral("pierwszy"));
    QVERIFY(w.documents().editorAt(1)->toPlainText().isEmpty());
}

void TstDesktop::fullScreen()
{
    TOknoGl w;
    assisttest::prepare(w);
    QAction *a = action(w, "PelnyEkran1");
    QTest::keyClick(w.CurrentEditor(), Qt::Key_F11);
    QVERIFY(w.windowState() & Qt::WindowFullScreen);
    QVERIFY(a->isChecked());
    QTest::keyClick(w.CurrentEditor(), Qt::Key_F11);
    QVERIFY(!(w.windowState() & Qt::WindowFullScreen));
    QVERIFY(!a->isChecked());
    // Left by other means: the check mark follows.
    w.showFullScreen();
    QVERIFY(a->isChecked());
    w.showNormal();
    QVERIFY(!a->isChecked());
}

void TstDesktop::editDefinitionsMakesTheUsersCopy()
{
    QTemporaryDir config;
    const ScopedEnv home("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    ScriptedUser user;
    TOknoGl w;
    const QString copy = config.filePath(QStringLiteral("markora/konfiguracja"));
    const QString tags = copy + QStringLiteral("/tags.ini");
    QCOMPARE(DataFilePath(QStringLiteral("konfiguracja/tags.ini")),
        DataFolders::current().findShipped(QStringLiteral("konfiguracja/tags.ini")));

    const int id = w.desktop()->EdytujDefinicje1Click();
    QVERIFY(id != 0);
    QCOMPARE(w.CurrentEditor()->documentId(), id);
    QCOMPARE(w.CurrentEditor()->state().fileName, tags);
    QVERIFY(w.CurrentEditor()->toPlainText().contains(QStringLiteral("[HTML]"), Qt::CaseInsensitive));
    // Every shipped file is in the copy, and the program now reads the copy.
    const QDir shipped(DataFolders::current().findShipped(QStringLiteral("konfiguracja")));
    for (const QString &name : shipped.entryList(QDir::Files))
        QVERIFY2(QFileInfo::exists(copy + QLatin1Char('/') + name), qPrintable(name));
    QCOMPARE(DataFilePath(QStringLiteral("konfiguracja/tags.ini")), tags);
    QCOMPARE(DataFilePath(QStringLiteral("konfiguracja/znaki.txt")), copy + QStringLiteral("/znaki.txt"));
    QVERIFY(w.statusPanel(3).contains(QStringLiteral("następnego uruchomienia")));

    // Again, with tags.ini edited and another document in front: the same document comes
    // to the front, nothing is copied over the edit and nothing is asked.
    {
        QFile f(tags);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("; moje\n");
    }
    w.documents().New();
    QCOMPARE(w.desktop()->EdytujDefinicje1Click(), id);
    QCOMPARE(w.CurrentEditor()->documentId(), id);
    QCOMPARE(testsupport::readFile(tags), QByteArray("; moje\n"));
    QVERIFY(user.asked.isEmpty());
}

void TstDesktop::editDefinitionsReportsAFailure()
{
    QTemporaryDir config;
    // A file where the configuration folder should be.
    const QString blocked = testsupport::writeFile(config.filePath(QStringLiteral("plik")), "x");
    const ScopedEnv home("XDG_CONFIG_HOME", QFile::encodeName(blocked));
    ScriptedUser user;
    TOknoGl w;
    const int documents = w.documents().count();
    action(w, "EdytujDefinicje1")->trigger();
    QCOMPARE(user.asked.size(), 1);
    QCOMPARE(user.asked.at(0).caption, QString::fromUtf8("Definicje znaczników: błąd"));
    QVERIFY(user.asked.at(0).text.startsWith(QString::fromUtf8("Nie można utworzyć folderu")));
    QCOMPARE(w.documents().count(), documents);
}

void TstDesktop::saveDialogSpeaksPolish()
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFileInfo::exists(folder + QStringLiteral("/qtbase_pl.qm")))
        QSKIP("Qt's Polish catalogue is not installed (Debian: qt6-translations-l10n)");
    QTemporaryDir empty;
    QVERIFY(!InstallQtTranslations(empty.path()));
    QVERIFY(InstallQtTranslations());

    TOknoGl w;
    w.CurrentEditor()->loadText(QStringLiteral("<p>tekst</p>"));
    const QStringList texts = dialogTexts([&w] { w.documents().SaveAs(w.CurrentEditor()); });
    for (const char *expected : { "button &Zachowaj", "button Anuluj",
             "label Szukaj w:", "label Nazwa &pliku:", "label Pliki rodzaju:" })
        QVERIFY2(texts.contains(QString::fromUtf8(expected)), qPrintable(texts.join(QStringLiteral(" | "))));
    for (const QString &t : texts)
        QVERIFY2(
            !t.contains(QStringLiteral("Cancel")) && !t.contains(QStringLiteral("Look in")), qPrintable(t));
}

void TstDesktop::picturesForScaledScreens()
{
    // The program's icon: a real picture for each size, not one stretched.
    PrepareApplication();
    TOknoGl w;
    const QIcon icon = w.windowIcon();
    QVERIFY(!icon.isNull());
    for (const int size : { 16, 32, 64, 256 })
        QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
    QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));

    // Drawn pictures are drawn anew at 200%: a line one logical pixel wide takes two.
    const QIcon drawn = DrawnIcon(16, [](QPainter &p) {
        p.fillRect(QRectF(0, 0, 16, 16), Qt::white);
        p.fillRect(QRectF(4, 0, 1, 16), Qt::black);
    });
    const QImage twice = drawn.pixmap(QSize(16, 16), 2.0).toImage();
    QCOMPARE(twice.size(), QSize(32, 32));
    QCOMPARE(twice.pixelColor(8, 5), QColor(Qt::black));
    QCOMPARE(twice.pixelColor(9, 5), QColor(Qt::black));
    QCOMPARE(twice.pixelColor(10, 5), QColor(Qt::white));

    const QPixmap splash = Splash::picture(2.0);
    QCOMPARE(splash.size(), QSize(840, 400));
    QCOMPARE(splash.deviceIndependentSize(), QSizeF(420, 200));
}

QTEST_MAIN(TstDesktop)
#include "tst_desktop.moc"
