#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>

// What the file panel lists of a folder: its files or its subfolders.
enum class FolderEntries { Files, Folders };

// The names of a folder's entries in the file panel's order (FolderNameLess); hidden
// entries left out. Files are listed when their name matches one of patterns (wildcards,
// case ignored; none: every file); folders include links to folders. An unreadable or
// missing folder lists nothing. When *cancel turns true the listing stops and returns
// what it has (the caller throws it away).
QStringList ListFolder(const QString &folder, FolderEntries what, const QStringList &patterns = QStringList(),
    const std::atomic<bool> *cancel = nullptr);

// The file panel's order: letters without regard to case, digits by their number
// ("strona2" before "strona10"); names equal so are ordered by their characters, so that
// the order is total.
bool FolderNameLess(const QString &a, const QString &b);

// One step of turning a sorted list into another: count rows removed at row, or count
// rows of the new list inserted at row. Applied in order, the steps give the new list,
// each row index counted in the list as the steps before left it.
struct FolderListEdit
{
    bool insert = false;
    int row = 0;
    int count = 0;
    int from = 0; // insert: the first inserted name's index in the new list
};

// The steps from from to to, both sorted by FolderNameLess; runs of neighbouring rows are
// one step, so that 10,000 new files into an empty list are one insertion.
QList<FolderListEdit> DiffSortedLists(const QStringList &from, const QStringList &to);
