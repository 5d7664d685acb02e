#pragma once

#include <QStringList>

// The program's start: one editor per user. When another editor answers on the
// channel, its documents (full paths) are handed to it and the result is 255;
// otherwise the splash, the main window, the setup dialog and the communication
// server are created in that order and the event loop runs. Needs a QApplication.
int MarkoraMain();

// Hands every document to the running editor (message 0x401); failures are reported
// on standard error. Returns the exit code of a second start, 255.
int HandOverToRunningEditor(const QStringList &documents);
