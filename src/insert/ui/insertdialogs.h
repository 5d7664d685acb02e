#pragma once

#include "insert/commandtable.h"
#include "insert/inserttarget.h"

#include <functional>

class QWidget;
class TInsertDial;

// The insertion dialogs and wizards by the names the command table's Dialog rows give.
namespace InsertDialogs {

// Takes the place of the modal loop, so that a test fills a dialog in the user's place: it
// gets the dialog (not shown), and accepts it (BtnOKClick) or leaves it. An empty driver
// restores the modal loop.
using Driver = std::function<void(TInsertDial &dialog)>;
void setDriver(Driver driver);

// The names run() knows ("TImageDial", ...).
QStringList names();

// Opens the named dialog over parent for a document described by target, and gives what
// the user asked to insert: mode None when the dialog was cancelled or the name is unknown.
ResolvedInsertion run(const QString &dialogName, const InsertTarget &target, QWidget *parent);

} // namespace InsertDialogs
