#pragma once

#include <QByteArrayView>
#include <QString>

// The user's private folder and the files only the user owns: where the program keeps
// what no other user may read, replace or plant (channel sockets, temporary preview
// files, crash recovery). On Unix "private" means: a folder (not a link) owned by the
// user and closed to group and others.

// The user's private runtime folder: $XDG_RUNTIME_DIR when it is private, otherwise
// "<temporary folder>/markora-<uid>", created with mode 0700 and checked after creation
// (a folder planted there by someone else is refused). Empty when none is safe.
QString PrivateFolder();

// Makes path a private folder: missing parents are created as usual, the folder itself
// with mode 0700; a folder of the user's that others may read but not write is closed
// (mode 0700). False when it cannot be created or is not the user's own, is a link, or
// others may write into it (then it is left as it is).
bool EnsurePrivateFolder(const QString &path);

// True when path is a private folder as above.
bool IsPrivateFolder(const QString &path);

struct OwnFileWrite
{
    enum Status {
        Written,
        // Something that is not a regular file of this user's with a single name (a
        // symbolic link, another user's file, a folder, a device, a hard link) is there:
        // it was not opened for writing and is left as it was.
        Foreign,
        Failed,
    };
    Status status = Failed;
    QString errorText; // for Failed: the system's reason
};

// Writes bytes to path as a file of this user's: a new file is created with mode 0600,
// an existing one is rewritten only when it is a regular file of this user's (and then
// gets mode 0600). Never follows a link.
OwnFileWrite WriteOwnFile(const QString &path, QByteArrayView bytes);

// Removes path when it is a regular file of this user's; false otherwise or on failure.
bool RemoveOwnFile(const QString &path);
