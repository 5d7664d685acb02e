#include "app/ui/tskrotydial.h"
#include "app/ui/tviewersdial.h"
#include "base/settings.h"

#include "guitestsupport.h"

#include <QAction>
#include <QApplication>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString kShortcutz = QStringLiteral("Shortcutz");

// A window with the commands a menu bar would hold.
struct Commands
{
    QWidget window;
    QAction *bold = add(
        QStringLiteral("Btn_B"), QStringLiteral("&Pogrubienie"), QKeySequence(QStringLiteral("Ctrl+B")));
    QAction *italic
        = add(QStringLiteral("Btn_I"), QStringLiteral("&Kursywa"), QKeySequence(QStringLiteral("Ctrl+I")));
    QAction *preview
        = add(QStringLiteral("Podglad1"), QStringLiteral("Podgląd"), QKeySequence(QStringLiteral("F9")));
    QAction *separator = nullptr;
    QAction *unnamed = add(QString(), QStringLiteral("Bez nazwy"), QKeySequence());
    QAction *copy = add(QStringLiteral("Btn_B"), QStringLiteral("Pogrubienie (kopia)"), QKeySequence());

    Commands()
    {
        separator = new QAction(&window);
        separator->setSeparator(true);
        window.addAction(separator);
    }
    QAction *add(const QString &name, const QString &text, const QKeySequence &keys)
    {
        auto *a = new QAction(text, &window);
        a->setObjectName(name);
        a->setShortcut(keys);
        window.addAction(a);
        return a;
    }
    QList<QAction *> all() const { return window.actions(); }
};
} // namespace

class TstSettingsDials : public testsupport::IsolatedTestCase
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        IsolatedTestCase::init();
        m_user.asked.clear();
        m_user.answers.clear();
    }
    void shortcutConflictRefused();
    void storedShortcutsAtStart();
    void viewersDialog();
    void viewerThatCannotStart();

private:
    testsupport::ScriptedUser m_user;
};

void TstSettingsDials::shortcutConflictRefused()
{
    Commands c;
    MarkoraSettings settings;
    TSkrotyDial d(c.all(), settings);
    QCOMPARE(d.map().commands().size(), 3);
    QCOMPARE(d.shownCommands(),
        QStringList({ QStringLiteral("Btn_B"), QStringLiteral("Btn_I"), QStringLiteral("Podglad1") }));
    QCOMPARE(d.map().commands()[0].caption, QStringLiteral("Pogrubienie"));

    // Recorded in the key field: refused, and the other command named.
    d.setCurrentCommand(QStringLiteral("Btn_I"));
    d.EdSkrot->setKeySequence(QKeySequence(QStringLiteral("Ctrl+B")));
    d.EdSkrotEditingFinished();
    QVERIFY(d.LbKonflikt->text().contains(QStringLiteral("„Pogrubienie”")));
    QCOMPARE(c.italic->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    QVERIFY(!settings.contains(kShortcutz, QStringLiteral("Btn_I")));
    QVERIFY(!d.assign(QStringLiteral("Podglad1"), QKeySequence(QStringLiteral("Ctrl+I"))));
    QVERIFY(d.LbKonflikt->text().contains(QStringLiteral("„Kursywa”")));

    // Accepted: applied at once and kept.
    QVERIFY(d.assign(QStringLiteral("Btn_I"), QKeySequence(QStringLiteral("Ctrl+Shift+K"))));
    QVERIFY(d.LbKonflikt->text().isEmpty());
    QCOMPARE(c.italic->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+K")));
    QCOMPARE(settings.readString(kShortcutz, QStringLiteral("Btn_I")), QStringLiteral("Ctrl+Shift+K"));
    c.window.show();
    QApplication::setActiveWindow(&c.window);
    QVERIFY(QTest::qWaitForWindowActive(&c.window));
    QSignalSpy triggered(c.italic, &QAction::triggered);
    QTest::keyClick(&c.window, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(triggered.size(), 1);

    // Now Ctrl+I is free; the default comes back and leaves the store.
    QVERIFY(d.assign(QStringLiteral("Podglad1"), QKeySequence(QStringLiteral("Ctrl+I"))));
    QVERIFY(!d.restoreDefault(QStringLiteral("Btn_I")));
    QVERIFY(d.assign(QStringLiteral("Podglad1"), QKeySequence()));
    QVERIFY(d.restoreDefault(QStringLiteral("Btn_I")));
    QVERIFY(!settings.contains(kShortcutz, QStringLiteral("Btn_I")));
    QCOMPARE(settings.readString(kShortcutz, QStringLiteral("Podglad1"), QStringLiteral("?")), QString());
    QVERIFY(c.preview->shortcut().isEmpty());

    d.EdSzukaj->setText(QStringLiteral("podgl"));
    QCOMPARE(d.shownCommands(), QStringList { QStringLiteral("Podglad1") });
    d.EdSzukaj->setText(QStringLiteral("ctrl+b"));
    QCOMPARE(d.shownCommands(), QStringList { QStringLiteral("Btn_B") });
}

void TstSettingsDials::storedShortcutsAtStart()
{
    MarkoraSettings settings;
    settings.writeString(kShortcutz, QStringLiteral("Btn_B"), QStringLiteral("shift+ctrl+b"));
    settings.writeString(kShortcutz, QStringLiteral("Btn_I"), QStringLiteral("F9")); // the preview's
    Commands c;
    QCOMPARE(TSkrotyDial::applyStored(c.all(), settings), QStringList { QStringLiteral("Btn_I") });
    QCOMPARE(c.bold->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+B")));
    QCOMPARE(c.italic->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    QVERIFY(c.copy->shortcut().isEmpty());

    // The dialog made later knows the defaults the program gave.
    TSkrotyDial d(c.all(), settings);
    QCOMPARE(d.map().commands()[0].defaultKeys, QStringLiteral("Ctrl+B"));
    QVERIFY(d.restoreDefault(QStringLiteral("Btn_B")));
    QCOMPARE(c.bold->shortcut(), QKeySequence(QStringLiteral("Ctrl+B")));
    QVERIFY(!settings.contains(kShortcutz, QStringLiteral("Btn_B")));
}

void TstSettingsDials::viewersDialog()
{
    MarkoraSettings settings;
    TViewersDial d(settings);
    QCOMPARE(d.ListaPrzegladarek->count(), 0);
    QVERIFY(!d.BtnUsun->isEnabled());
    d.BtnDodajClick();
    d.EdNazwa->clear();
    QTest::keyClicks(d.EdNazwa, QStringLiteral("Lynx"));
    QTest::keyClicks(d.EdPolecenie, QStringLiteral("lynx"));
    d.EdArgumenty->clear();
    QTest::keyClicks(d.EdArgumenty, QStringLiteral("-dump '%PLIK%' \"a b\""));
    QCOMPARE(d.ListaPrzegladarek->item(0)->text(), QStringLiteral("Lynx"));
    QCOMPARE(d.LbPolecenie->text(), QStringLiteral("Uruchomi: lynx -dump /folder/strona.html 'a b'"));

    d.BtnDodajClick();
    QTest::keyClicks(d.EdPolecenie, QStringLiteral("firefox"));
    QTest::keyClicks(d.EdArgumenty, QStringLiteral(" \"--nowe"));
    QVERIFY(d.LbPolecenie->text().startsWith(QStringLiteral("Nie da się uruchomić")));
    d.ListaPrzegladarek->setCurrentRow(0);
    d.BtnOKClick();
    QCOMPARE(m_user.asked.size(), 1);
    QCOMPARE(m_user.asked[0].caption, QStringLiteral("Przeglądarki: błąd"));
    QCOMPARE(d.ListaPrzegladarek->currentRow(), 1);
    QVERIFY(ReadViewers(settings).isEmpty());
    QVERIFY(d.result() != QDialog::Accepted);

    QTest::keyClicks(d.EdArgumenty, QStringLiteral(" okno\""));
    d.BtnWGoreClick();
    d.BtnOKClick();
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QCOMPARE(ReadViewers(settings),
        QList<ExternalViewer>({ { QStringLiteral("Nowa przeglądarka"), QStringLiteral("firefox"),
                                    QStringLiteral("%PLIK% \"--nowe okno\"") },
            { QStringLiteral("Lynx"), QStringLiteral("lynx"), QStringLiteral("-dump '%PLIK%' \"a b\"") } }));
}

void TstSettingsDials::viewerThatCannotStart()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("~Markora$HTML.HTML"));
    QObject owner;
    const QList<QAction *> actions = TViewersDial::viewerActions(
        { { QStringLiteral("Brak & nic"), QStringLiteral("markora-nie-ma-takiej-przegladarki"), QString() } },
        &owner, [&page] { return page; }, nullptr);
    QCOMPARE(actions.size(), 1);
    QCOMPARE(actions[0]->text(), QStringLiteral("Brak && nic"));
    actions[0]->trigger();
    QCOMPARE(m_user.asked.size(), 1);
    QCOMPARE(m_user.asked[0].caption, QStringLiteral("Podgląd: błąd"));
    QVERIFY(m_user.asked[0].text.contains(
        QStringLiteral("nie ma programu „markora-nie-ma-takiej-przegladarki”")));
}

QTEST_MAIN(TstSettingsDials)
#include "tst_settingsdials.moc"
