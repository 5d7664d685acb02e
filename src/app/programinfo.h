#pragma once

#include <QString>

struct DataFolders;

// What the switches that start no window print (markora --help, --version, --data-files).

// The usage and the switches, in Polish.
QString CommandLineHelp();
// "markora 0.1".
QString VersionText();
// Where each data file the program reads is found (or that it is missing), and where the
// user's copy of konfiguracja/ is: one "name: path" line each.
QString DataFilesReport(const DataFolders &folders);
