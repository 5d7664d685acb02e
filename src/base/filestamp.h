#pragma once

#include <QString>
#include <QtGlobal>

// A file's identity and state at one moment, to notice changes made by other programs:
// the document keeps the stamp of the file as it last read or wrote it, and a later
// stamp that differs means the file was changed, replaced or deleted since.
struct FileStamp
{
    bool isFile = false; // false: no file there (or a folder, or something else)
    qint64 size = 0;
    qint64 mtimeNs = 0; // modification time, nanoseconds since the epoch
    quint64 inode = 0;
    quint64 device = 0;

    bool operator==(const FileStamp &o) const
    {
        return isFile == o.isFile && size == o.size && mtimeNs == o.mtimeNs && inode == o.inode
            && device == o.device;
    }
    bool operator!=(const FileStamp &o) const { return !(*this == o); }
};

// The stamp of the file at path now (symbolic links followed); isFile is false when
// no file is there.
FileStamp StatFile(const QString &path);

#ifdef Q_OS_UNIX
// The stamp of the file open as descriptor fd: the file read or written, even when the
// path names another one by now.
FileStamp StatOpenFile(int fd);
#endif
