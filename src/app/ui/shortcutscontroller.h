#pragma once

#include <QObject>

class MarkoraSettings;
class QAction;
class QMainWindow;

// The keyboard shortcuts ("Shortcutz") of every command: the actions of the menu bar's
// menus (the insert menu holds every tool tab's button as an item of the same name), of
// the toolbars (the panels' own too) and the buttons toolbars hold as widgets (plug-ins,
// the user's toolbar). "Skróty klawiszowe..." of the settings menu opens
// the dialog; what it sets is applied at once.
class ShortcutsController : public QObject
{
    Q_OBJECT
public:
    // window: owns the controller and its actions; settings outlive it.
    ShortcutsController(QMainWindow &window, MarkoraSettings &settings);

    // UstawieniaSkroty1.
    QAction *shortcutsAction() const { return UstawieniaSkroty1; }
    // Every command that may have a shortcut, in menu order, then the toolbars', then the
    // toolbar buttons'.
    QList<QAction *> commands() const;
    // The stored shortcuts applied to every command (at start-up, once the window has all
    // its parts); a stored shortcut that clashes with another command's is left out and
    // reported in the status bar. Again after commands were made anew (the viewers'
    // entries): commands that have theirs keep them.
    void applyStored();

    void UstawieniaSkroty1Click();

Q_SIGNALS:
    void statusMessage(const QString &text);

private:
    QMainWindow &m_window;
    MarkoraSettings &m_settings;
    QAction *UstawieniaSkroty1 = nullptr;
    QList<QAction *> m_buttonActions; // clicking the toolbars' widget buttons
};
