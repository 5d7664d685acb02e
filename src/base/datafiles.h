#pragma once

#include <QString>
#include <QStringList>

// The places where the program's data files (konfiguracja/, szablony/, README.md) are
// looked up, best first:
//   1. the user's own copy of konfiguracja/ in their configuration folder
//      (~/.config/markora/konfiguracja), for files under konfiguracja/ only, so that
//      tags.ini and znaki.txt can be edited without root;
//   2. beside the executable (a build folder, or a copy laid out as the old program was);
//   3. the installed data folder, <prefix>/share/markora beside <prefix>/bin;
//   4. markora/ in each of the system's data folders (XDG_DATA_DIRS).
// A file missing from a better place is taken from the next one, file by file.
struct DataFolders
{
    QString user; // the program's configuration folder, ~/.config/markora
    QString program; // the executable's folder
    QStringList installed; // folders that hold the installed data, the best first

    // The folders of this process and user.
    static DataFolders current();

    // Every place relative ("konfiguracja/tags.ini") may be, the best first.
    QStringList candidates(const QString &relative) const;
    // The first of them that exists; the one beside the program when none does.
    QString find(const QString &relative) const;
    // As find(), leaving out the user's copy: what the program ships. Empty when none exists.
    QString findShipped(const QString &relative) const;
    // The folder of the user's copy of konfiguracja/.
    QString userKonfiguracja() const;
};

// DataFolders::current().find(relative).
QString DataFilePath(const QString &relative);
// The folder of the executable, with a trailing separator.
QString ProgramFolder();

// Makes the user's copy of konfiguracja/: every shipped file the copy lacks is copied
// there, writable by the user; a file the copy already has is never touched, so edits
// survive. Returns the copy's folder, or an empty string with *error saying (in Polish)
// what failed.
QString MakeUserKonfiguracja(const DataFolders &folders, QString *error);
