#include "insert/commandtable.h"
#include "insert/ui/inserttooltabs.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

class TestInsertToolTabs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pagesAndButtons();
    void clickEmitsHandler();
    void rightClickHook();
    void insertMenu();
};

void TestInsertToolTabs::pagesAndButtons()
{
    InsertToolTabs tabs;
    QCOMPARE(tabs.count(), 12);
    for (int i = 0; i < tabs.count(); ++i) {
        QCOMPARE(tabs.tabText(i), insertPageNames().at(i));
        QVERIFY2(!tabs.widget(i)->findChildren<QToolButton *>().isEmpty(), qPrintable(tabs.tabText(i)));
    }
    QList<QToolButton *> buttons;
    for (int i = 0; i < tabs.count(); ++i)
        buttons += tabs.widget(i)->findChildren<QToolButton *>();
    int expected = 0;
    for (const InsertCommand &c : insertCommands())
        expected += c.place == InsertPlace::ToolTab;
    int ours = 0;
    for (QToolButton *b : buttons) {
        ++ours;
        QVERIFY(!b->objectName().isEmpty());
        QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
        QVERIFY2(!b->text().isEmpty(), qPrintable(b->objectName()));
    }
    QCOMPARE(ours, expected);
    QCOMPARE(tabs.button(QStringLiteral("Btn_B"))->toolTip(), QStringLiteral("Pogrubienie"));
    QCOMPARE(tabs.button(QStringLiteral("BtnAmp"))->text(), QStringLiteral("&&"));
}

void TestInsertToolTabs::clickEmitsHandler()
{
    InsertToolTabs tabs;
    QSignalSpy spy(&tabs, &InsertToolTabs::commandTriggered);
    tabs.button(QStringLiteral("Btn_B"))->click();
    tabs.button(QStringLiteral("BtnCopy"))->click();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Btn_BClick"));
    QCOMPARE(spy.at(0).at(1).toInt(), findInsertCommand(u"Btn_B"));
    // Buttons sharing a handler are told apart by their row.
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("BtnLtClick"));
    QCOMPARE(insertCommands()[size_t(spy.at(1).at(1).toInt())].opening, QStringLiteral("&copy;"));
}

void TestInsertToolTabs::rightClickHook()
{
    InsertToolTabs tabs;
    QSignalSpy spy(&tabs, &InsertToolTabs::buttonRightClicked);
    QToolButton *b = tabs.button(QStringLiteral("BtnTabTD"));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(2, 2), b->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(b, &event);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<QToolButton *>(), b);
}

void TestInsertToolTabs::insertMenu()
{
    InsertToolTabs tabs;
    QWidget owner;
    QMenu *menu = tabs.createInsertMenu(&owner);
    QSignalSpy spy(&tabs, &InsertToolTabs::commandTriggered);

    auto *again = menu->findChild<QAction *>(QStringLiteral("Wstawjeszczeraz1"));
    QVERIFY(again);
    QCOMPARE(again->shortcut(), QKeySequence(Qt::Key_F4));
    again->trigger();
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("Wstawjeszczeraz1Click"));

    auto *tagMenu = menu->findChild<QMenu *>(QStringLiteral("ADRESS"));
    QVERIFY(tagMenu);
    QCOMPARE(tagMenu->actions().size(), 73);
    QCOMPARE(tagMenu->actions().first()->text(), QStringLiteral("<BDO>"));
    tagMenu->actions().first()->trigger();
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("ADRESS1Click"));

    QCOMPARE(menu->findChild<QMenu *>(QStringLiteral("SSI"))->actions().size(), 12);
    QMenu *entities = menu->findChild<QMenu *>(QStringLiteral("Encje"));
    QCOMPARE(entities->actions().size(), 12);
    QVERIFY(entities->actions().first()->text().startsWith(QLatin1String("&&nbsp;")));

    auto *bold = menu->findChild<QAction *>(QStringLiteral("Btn_B"));
    QVERIFY(bold);
    QCOMPARE(bold->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    bold->trigger();
    QCOMPARE(spy.last().at(0).toString(), QStringLiteral("Btn_BClick"));
    QCOMPARE(spy.count(), 3);
}

QTEST_MAIN(TestInsertToolTabs)
#include "tst_inserttooltabs.moc"
