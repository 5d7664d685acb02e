#include "app/ui/toknogl.h"
#include "base/settings.h"
#include "ext/ui/tprzeniesdial.h"
#include "ext/ui/usertoolbar.h"
#include "guitestsupport.h"
#include "insert/ui/inserttooltabs.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <memory>

// The "Użytkownika" toolbar: six user buttons that copy buttons of the insertion tool
// tabs through the move dialog, and their slots kept in the settings.
class TestUserToolBar : public testsupport::IsolatedTestCase
{
    Q_OBJECT

    // Answers the move dialog: chooses slot (0: none) and confirms, or closes it.
    static std::function<int(TPrzeniesDial &)> answer(int slot, bool confirm = true)
    {
        return [slot, confirm](TPrzeniesDial &d) {
            if (slot)
                d.slotButton(slot)->click();
            if (confirm)
                d.gotoweButton()->click();
            else
                d.reject();
            return d.result();
        };
    }
    static void rightClick(InsertToolTabs &tabs, const char *name)
    {
        QToolButton *b = tabs.button(QString::fromLatin1(name));
        QVERIFY(b);
        Q_EMIT b->customContextMenuRequested(QPoint(1, 1));
    }
    static QString handlerOf(const QSignalSpy &spy, int i) { return spy.at(i).at(0).toString(); }

private Q_SLOTS:
    void buttons()
    {
        UserToolBar bar;
        QCOMPARE(bar.objectName(), QStringLiteral("Uzytkownika"));
        QCOMPARE(bar.windowTitle(), QStringLiteral("Użytkownika"));
        for (int slot = 1; slot <= 6; ++slot) {
            QToolButton *b = bar.userButton(slot);
            QCOMPARE(b->objectName(), QStringLiteral("Btn%1").arg(slot));
            QCOMPARE(b->text(), QString::number(slot));
            QCOMPARE(b->property("tag").toInt(), slot);
            QVERIFY(bar.slotName(slot).isEmpty());
        }
        QVERIFY(!bar.userButton(0));
        QVERIFY(!bar.userButton(7));
    }

    void unassignedClickExplains()
    {
        UserToolBar bar;
        testsupport::ScriptedUser messages;
        bar.userButton(4)->click();
        QCOMPARE(messages.asked.size(), 1);
        QCOMPARE(messages.asked[0].icon, QMessageBox::Information);
        QCOMPARE(messages.asked[0].caption, QStringLiteral("Przyciski użytkownika"));
        QCOMPARE(messages.asked[0].text,
            QStringLiteral("Aby przenieść tu jeden z przycisków z Zakładek HTML, kliknij na nim prawym "
                           "klawiszem myszki."));
    }

    void dialogShowsTheSource()
    {
        InsertToolTabs tabs;
        QToolButton *source = tabs.button(QStringLiteral("Btn_B"));
        QFont bold = source->font();
        bold.setItalic(true);
        source->setFont(bold);
        TPrzeniesDial d(source);
        QCOMPARE(d.windowTitle(), QStringLiteral("Przenieś na pasek użytkownika"));
        QCOMPARE(d.preview()->text(), source->text());
        QCOMPARE(d.preview()->font(), bold);
        QCOMPARE(d.action(), QStringLiteral("Pogrubienie"));
        QStringList labels;
        for (QLabel *l : d.findChildren<QLabel *>())
            labels << l->text();
        QVERIFY(labels.contains(QStringLiteral("Akcja:")));
        QVERIFY(labels.contains(
            QStringLiteral("Wybierz teraz przycisk, który ma się zachowywać jak ten powyższy:")));
        QCOMPARE(d.gotoweButton()->text(), QStringLiteral("Gotowe!"));
        // "Gotowe!" waits for a slot; the six slots exclude one another.
        QVERIFY(!d.gotoweButton()->isEnabled());
        d.slotButton(2)->click();
        d.slotButton(5)->click();
        QCOMPARE(d.chosenSlot(), 5);
        QVERIFY(!d.slotButton(2)->isChecked());
        QVERIFY(d.gotoweButton()->isEnabled());
        for (int slot = 1; slot <= 6; ++slot)
            QCOMPARE(d.slotButton(slot)->text(), QString::number(slot));
    }

    void rightClickCopiesIntoChosenSlot()
    {
        InsertToolTabs tabs;
        UserToolBar bar;
        bar.attachToolTabs(&tabs);
        QSignalSpy commands(&tabs, &InsertToolTabs::commandTriggered);
        bar.execDialog = answer(3);
        rightClick(tabs, "Btn_B");
        QCOMPARE(bar.slotName(3), QStringLiteral("Btn_B"));
        QToolButton *user = bar.userButton(3);
        QToolButton *source = tabs.button(QStringLiteral("Btn_B"));
        QCOMPARE(user->text(), source->text());
        QCOMPARE(user->toolTip(), QStringLiteral("Pogrubienie"));
        QCOMPARE(user->property("tag").toInt(), 3);
        user->click();
        QCOMPARE(commands.size(), 1);
        QCOMPARE(handlerOf(commands, 0), QStringLiteral("Btn_BClick"));
    }

    void dialogClosedOrNoSlotChangesNothing_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("confirm");
        QTest::newRow("closed after choosing") << 2 << false;
        QTest::newRow("confirmed without a slot") << 0 << true;
    }
    void dialogClosedOrNoSlotChangesNothing()
    {
        QFETCH(int, slot);
        QFETCH(bool, confirm);
        InsertToolTabs tabs;
        UserToolBar bar;
        bar.attachToolTabs(&tabs);
        bar.execDialog = answer(slot, confirm);
        rightClick(tabs, "Btn_I");
        for (int s = 1; s <= 6; ++s) {
            QVERIFY(bar.slotName(s).isEmpty());
            QCOMPARE(bar.userButton(s)->text(), QString::number(s));
        }
    }

    void slotAssignedTwiceKeepsTheSecond()
    {
        InsertToolTabs tabs;
        UserToolBar bar;
        bar.attachToolTabs(&tabs);
        QSignalSpy commands(&tabs, &InsertToolTabs::commandTriggered);
        bar.execDialog = answer(2);
        rightClick(tabs, "Btn_B");
        rightClick(tabs, "Btn_I");
        QCOMPARE(bar.slotName(2), QStringLiteral("Btn_I"));
        QCOMPARE(bar.userButton(2)->toolTip(), QStringLiteral("Kursywa"));
        bar.userButton(2)->click();
        QCOMPARE(commands.size(), 1);
        QCOMPARE(handlerOf(commands, 0), QStringLiteral("Btn_IClick"));
        MarkoraSettings settings;
        bar.saveSlots(settings);
        QCOMPARE(settings.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("2")),
            QStringLiteral("Btn_I"));
        QCOMPARE(settings.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("1")), QString());
    }

    // A copied toggle joins its source's group: it toggles among the same buttons, runs
    // the source's action, and leaves the group when the slot gets another button.
    void copiedToggleKeepsItsGroup()
    {
        InsertToolTabs tabs;
        QToolButton *a = tabs.button(QStringLiteral("Btn_B"));
        QToolButton *b = tabs.button(QStringLiteral("Btn_I"));
        QButtonGroup group;
        for (QToolButton *t : { a, b }) {
            t->setCheckable(true);
            group.addButton(t);
        }
        a->setChecked(true);
        UserToolBar bar;
        bar.attachToolTabs(&tabs);
        QSignalSpy commands(&tabs, &InsertToolTabs::commandTriggered);
        bar.execDialog = answer(1);
        rightClick(tabs, "Btn_B");
        QToolButton *user = bar.userButton(1);
        QVERIFY(user->isCheckable());
        QCOMPARE(user->group(), &group);
        QVERIFY(a->isChecked()); // copying does not move the checked state

        user->click();
        QVERIFY(user->isChecked());
        QVERIFY(!a->isChecked());
        QVERIFY(!b->isChecked());
        QCOMPARE(commands.size(), 1);
        QCOMPARE(handlerOf(commands, 0), QStringLiteral("Btn_BClick"));
        b->click();
        QVERIFY(!user->isChecked());
        QVERIFY(b->isChecked());

        bar.execDialog = answer(1);
        rightClick(tabs, "Btn_U");
        QVERIFY(!user->group());
        QVERIFY(!user->isCheckable());
        QCOMPARE(group.buttons().size(), 2);
    }

    void copiedActionToggleKeepsItsGroup()
    {
        QActionGroup actions(nullptr);
        actions.setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional); // all may be up
        QAction *left = actions.addAction(QStringLiteral("L"));
        QAction *right = actions.addAction(QStringLiteral("R"));
        for (QAction *x : { left, right })
            x->setCheckable(true);
        QToolButton source;
        source.setObjectName(QStringLiteral("BtnLeft"));
        source.setDefaultAction(left);
        QSignalSpy triggered(left, &QAction::triggered);
        UserToolBar bar;
        QVERIFY(bar.assign(5, &source));
        QToolButton *user = bar.userButton(5);
        QCOMPARE(user->defaultAction(), left);
        QCOMPARE(user->text(), QStringLiteral("L"));
        user->click();
        QCOMPARE(triggered.size(), 1);
        QVERIFY(left->isChecked());
        right->trigger();
        QVERIFY(!user->isChecked());
        user->click();
        user->click(); // allow-all-up comes with the group's policy
        QVERIFY(!left->isChecked());
        QVERIFY(!right->isChecked());
        // A plain button in the slot afterwards is no longer tied to the action.
        QToolButton plain;
        plain.setText(QStringLiteral("P"));
        QVERIFY(bar.assign(5, &plain));
        QVERIFY(!user->defaultAction());
        QCOMPARE(user->text(), QStringLiteral("P"));
    }

    void slotsStoredAndRestored()
    {
        {
            MarkoraSettings settings;
            const QString section = QStringLiteral("Pasek uzytkownika");
            settings.writeString(section, QStringLiteral("1"), QStringLiteral("Btn_B"));
            settings.writeString(section, QStringLiteral("4"), QStringLiteral("BtnNieMaGo"));
            settings.writeString(section, QStringLiteral("6"), QStringLiteral("Btn_I"));
            QVERIFY(settings.sync());
        }
        MarkoraSettings settings;
        UserToolBar bar;
        bar.loadSlots(settings);
        // Before the tool tabs arrive the names are kept as they are, so a close in
        // between loses nothing.
        QCOMPARE(bar.slotName(4), QStringLiteral("BtnNieMaGo"));
        {
            MarkoraSettings other;
            bar.saveSlots(other);
            QCOMPARE(other.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("4")),
                QStringLiteral("BtnNieMaGo"));
        }
        testsupport::ScriptedUser messages;
        InsertToolTabs tabs;
        bar.attachToolTabs(&tabs);
        QVERIFY(messages.asked.isEmpty()); // a vanished button is ignored without a word
        QCOMPARE(bar.slotName(1), QStringLiteral("Btn_B"));
        QCOMPARE(bar.userButton(1)->toolTip(), QStringLiteral("Pogrubienie"));
        QCOMPARE(bar.slotName(6), QStringLiteral("Btn_I"));
        QVERIFY(bar.slotName(4).isEmpty());
        QCOMPARE(bar.userButton(4)->text(), QStringLiteral("4"));
        QSignalSpy commands(&tabs, &InsertToolTabs::commandTriggered);
        bar.userButton(6)->click();
        QCOMPARE(handlerOf(commands, 0), QStringLiteral("Btn_IClick"));
        bar.saveSlots(settings);
        QCOMPARE(settings.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("4")), QString());
        QCOMPARE(settings.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("6")),
            QStringLiteral("Btn_I"));
    }

    void mainWindowCarriesBothToolbars()
    {
        {
            MarkoraSettings settings;
            settings.writeString(
                QStringLiteral("Pasek uzytkownika"), QStringLiteral("2"), QStringLiteral("Btn_U"));
            auto plugins = PluginSettings();
            plugins->setValue(QStringLiteral("Zegar/Command"), QStringLiteral("/opt/zegar"));
            plugins->sync();
        }
        testsupport::ScriptedUser messages;
        TOknoGl window;
        QCOMPARE(window.pluginToolBar()->objectName(), QStringLiteral("Doklejki"));
        QVERIFY(window.pluginToolBar()->findChild<QToolButton *>(QStringLiteral("Zegar")));
        QCOMPARE(window.userToolBar(), window.findChild<UserToolBar *>(QStringLiteral("Uzytkownika")));
        QCOMPARE(window.userToolBar()->slotName(2), QStringLiteral("Btn_U"));
        InsertToolTabs tabs;
        window.userToolBar()->attachToolTabs(&tabs);
        QCOMPARE(window.userToolBar()->userButton(2)->toolTip(), QStringLiteral("Podkreślenie"));
        window.userToolBar()->execDialog = answer(5);
        rightClick(tabs, "Btn_P");
        window.userToolBar()->saveSlots(window.settings());
        MarkoraSettings settings;
        QCOMPARE(settings.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("5")),
            QStringLiteral("Btn_P"));
        QCOMPARE(settings.readString(QStringLiteral("Pasek uzytkownika"), QStringLiteral("2")),
            QStringLiteral("Btn_U"));
        QVERIFY(messages.asked.isEmpty());
    }
};

QTEST_MAIN(TestUserToolBar)
#include "tst_usertoolbar.moc"
