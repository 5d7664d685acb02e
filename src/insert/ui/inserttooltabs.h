#pragma once

#include <QTabWidget>

class QMenu;
class QToolButton;

// The eleven tool-tab pages of insertion buttons, built from insertCommands(), and the
// insert menu built from the same table. Every button and menu item reports its row
// through commandTriggered; the caller runs it (InsertCommandRunner::run).
class InsertToolTabs : public QTabWidget
{
    Q_OBJECT
public:
    explicit InsertToolTabs(QWidget *parent = nullptr);

    // The button with that object name (e.g. "Btn_B"), null when none.
    QToolButton *button(const QString &objectName) const;

    // Builds the insert menu: one sub-menu per page, the tag menu, the server-side
    // include menu, the entity menu and "Wstaw jeszcze raz". The menu is owned by parent;
    // its items emit this widget's commandTriggered.
    QMenu *createInsertMenu(QWidget *parent);

Q_SIGNALS:
    // handlerName as in the table ("Btn_BClick"); commandIndex is the row in insertCommands(),
    // which tells apart the rows that share a handler.
    void commandTriggered(const QString &handlerName, int commandIndex);
    // A button was right-clicked (the user toolbar offers to copy it).
    void buttonRightClicked(QToolButton *button);
};
