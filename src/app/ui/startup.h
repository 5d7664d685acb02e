#pragma once

#include <QStringList>
#include <memory>

class AutomationBus;
class CommDispatcher;
class TOknoGl;

// The program's start: one editor per user. When another editor answers on the
// channel, its documents (full paths) are handed to it and the result is 255;
// otherwise the splash, the main window, the setup dialog and the communication
// server are created in that order and the event loop runs. Needs a QApplication.
int MarkoraMain();

// What every window of the program shares, set on the application: its name and
// version, the icon, the name of its menu entry, and Qt's own texts in Polish.
void PrepareApplication();

// Hands every document to the running editor (message 0x401); failures are reported
// on standard error. Returns the exit code of a second start, 255.
int HandOverToRunningEditor(const QStringList &documents);

// The channel's requests carried out on the main window. 0x401 opens as the open
// command does, except that no message box comes from another program's request:
// why nothing was opened goes to the status bar. 0x404 follows the common insertion
// rule.
std::unique_ptr<CommDispatcher> MakeCommDispatcher(TOknoGl &window);

// The automation object over the main window's documents, not yet on a bus: open asks
// nothing (as the channel's 0x401), InsertTag follows the common insertion rule, saving
// asks nothing and never writes over another program's changes, and message boxes come
// over the window. Its signals follow the documents opened, saved and closed.
std::unique_ptr<AutomationBus> MakeAutomationBus(TOknoGl &window);
