#pragma once

#include <QString>
#include <QStringView>

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

struct LoadResult
{
    bool ok = false;
    // The system's reason when ok is false (for the user's message, not parsed).
    QString errorText;
    // The decoded text: CR LF, LF and lone CR are each one '\n'; tabs expanded.
    QString text;
    // The charset the document uses from now on (true: ISO 8859-2).
    bool iso = false;
    // The file as it was read (taken before reading, so a change while reading shows).
    FileStamp stamp;
};

struct SaveResult
{
    bool ok = false;
    QString errorText;
    // Characters the code page cannot hold, written as "&#N;".
    int unmappable = 0;
    // The file as written.
    FileStamp stamp;
};

// The tab width that leaves tab characters as they are (reading files to search and
// replace in them, which must not change what the replacement does not touch).
constexpr int KeepTabs = -1;

// Reads a document file (open, reload and insert file). mode: 0 detect, 1 Windows-1250,
// 2 ISO 8859-2; defaultIso is the charset when detection finds no marker; tabWidth as
// for ExpandTabs, or KeepTabs. The file's bytes are decoded by the complete table of the charset.
LoadResult LoadDocumentFile(const QString &path, int mode, bool defaultIso, int tabWidth);

// Writes text in the document's charset with CR LF line breaks. The file is written
// beside the old one and replaces it only when everything was written and flushed to
// disk, so a failed save (a full disk too) leaves the old file as it was. The new file
// gets the old one's owner, group and mode where the process may set them. A symbolic
// link stays a link: the file it points to is written. A file with other hard links,
// or one whose owner or group could not be kept, is written in place after a copy of
// its old contents, which puts them back when writing fails. No line break is added
// after the last line: a file opened and saved without edits comes back byte for byte.
SaveResult SaveDocumentFile(const QString &path, QStringView text, bool iso);

// Writes bytes as they are, the way SaveDocumentFile writes (beside the old file and
// then in its place, owner, mode and links kept): putting a file's old contents back.
// unmappable is 0.
SaveResult WriteDocumentBytes(const QString &path, const QByteArray &bytes);

// The bytes SaveDocumentFile writes for text: the document's charset, CR LF line breaks,
// characters the charset cannot hold as "&#N;" (counted in *unmappable when given).
QByteArray EncodeDocumentText(QStringView text, bool iso, int *unmappable = nullptr);
