#pragma once

#include <QList>
#include <QString>

class QSettings;
class QToolBar;
class QWidget;
class TDoklButton;

// The "Doklejki" toolbar: a movable toolbar with that object name and title, empty
// until LoadPlugins fills it.
QToolBar *CreatePluginToolBar(QWidget *parent);

// Builds one TDoklButton per child group of store ("Software\Lindenworks\Doklejki"), in
// the order the store lists them, and adds it to bar. Each group gives the button's
// object name and its values Command, WindowCaption, Hint (default "Nie ma hinta!") and
// Icon. An entry that cannot be read (a value of an unusable type, an icon file that
// cannot be loaded) is reported to the user through MsgBox and the next is tried; its
// button stays on the bar without a click action. Returns the buttons made.
QList<TDoklButton *> LoadPlugins(QToolBar *bar, QSettings &store);

// Starts program with the single argument "-markora", detached, in the editor's
// environment and current folder. On failure *errorNumber gets the system error number
// (errno on Unix: 2 for a missing program, 13 for one that may not be run, ...).
bool StartPlugin(const QString &program, int *errorNumber, qint64 *pid = nullptr);
