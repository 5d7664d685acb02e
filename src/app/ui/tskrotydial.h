#pragma once

#include "app/shortcutmap.h"

#include <QDialog>
#include <QList>

class MarkoraSettings;
class QAction;
class QKeySequence;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The keyboard shortcuts of every command: the actions of the menus, the tool tabs and the
// toolbars, each known by its object name. A shortcut recorded here is refused when another
// command has it (the dialog names that command); one accepted is applied at once and
// kept in "Shortcutz". An action's shortcut when the program built it is its default.
class TSkrotyDial : public QDialog
{
    Q_OBJECT
public:
    // actions: every command's action; separators, sub-menus, actions without an object
    // name and later actions of an object name already seen are left out. They and settings
    // must outlive the dialog.
    TSkrotyDial(const QList<QAction *> &actions, MarkoraSettings &settings, QWidget *parent = nullptr);

    QLineEdit *EdSzukaj = nullptr;
    QTreeWidget *ListaPolecen = nullptr;
    QKeySequenceEdit *EdSkrot = nullptr;
    QLabel *LbKonflikt = nullptr;
    QPushButton *BtnUsunSkrot = nullptr;
    QPushButton *BtnDomyslny = nullptr;
    QPushButton *BtnZamknij = nullptr;

    const ShortcutMap &map() const { return m_map; }
    // The object names of the commands the search leaves in the list.
    QStringList shownCommands() const;
    void setCurrentCommand(const QString &objectName);
    QString currentCommand() const;

    // Gives the command keys (empty: none); false when another command has them, which
    // LbKonflikt then names.
    bool assign(const QString &objectName, const QKeySequence &keys);
    bool restoreDefault(const QString &objectName);

    void EdSzukajChange(const QString &text);
    void EdSkrotEditingFinished();
    void BtnUsunSkrotClick();
    void BtnDomyslnyClick();

    // At start-up, after the window built its actions: their shortcuts become their
    // defaults and the stored ones are applied. Returns the object names of the commands
    // whose stored keys clashed with another command's (they keep their defaults).
    static QStringList applyStored(const QList<QAction *> &actions, MarkoraSettings &settings);

private:
    void ListaPolecenChange();
    bool apply(int index, const QString &keys);
    void updateRow(int index);
    void showKeys();

    MarkoraSettings &m_settings;
    QList<QAction *> m_actions; // the action of each command of m_map
    ShortcutMap m_map;
};
