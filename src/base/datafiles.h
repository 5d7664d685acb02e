#pragma once

#include <QString>

// Where the program's data files (konfiguracja/, szablony/) are: beside the
// executable first (a build tree), then the installed data folder.
QString DataFilePath(const QString &relative);
// The folder of the executable, with a trailing separator.
QString ProgramFolder();
