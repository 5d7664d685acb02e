#pragma once

#include "services/docfile.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class QTemporaryDir;

// A file that could not be read, written or put back, with the system's reason.
struct FileProblem
{
    QString path;
    QString reason;
};

// The backups of one run of Replace in files: a copy of each changed file's old bytes in
// a folder of the user's private folder, kept while the object lives (the program keeps
// it until it closes) so that the whole run can be undone. A file is put back only when
// it is still as the run wrote it.
class FileReplaceUndo
{
public:
    struct Entry
    {
        QString path; // the file the run wrote
        QString backup; // the copy of its old bytes
        FileStamp written; // the file as the run left it
        int count = 0; // replacements made in it
    };

    struct Result
    {
        QStringList restored;
        QStringList changedSince; // changed (or removed) after the run: left as they are
        QStringList skippedUnsaved; // open with unsaved changes: left as they are
        QList<FileProblem> failed;
    };

    FileReplaceUndo();
    ~FileReplaceUndo(); // removes the backups
    FileReplaceUndo(const FileReplaceUndo &) = delete;
    FileReplaceUndo &operator=(const FileReplaceUndo &) = delete;

    // False when no private folder for the backups could be made: nothing may be changed then.
    bool isValid() const;
    QString folder() const;

    // Copies a file's old bytes aside, before the file is written; returns the copy's
    // path, empty on failure (*error says why).
    QString keep(const QString &path, const QByteArray &oldBytes, QString *error);
    // The file was written: undo will put the copy back.
    void confirm(const QString &path, const QString &backup, const FileStamp &written, int count);
    // The file was not written after all: the copy goes.
    void drop(const QString &backup);

    const QList<Entry> &entries() const { return m_entries; }
    bool isEmpty() const { return m_entries.isEmpty(); }

    // Puts back every file whose stamp is still what the run wrote, except those in
    // skipPaths (canonical paths of files open with unsaved changes). Files put back
    // leave the list; the others stay, so undo may be asked again.
    Result undo(const QSet<QString> &skipPaths = {});

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QList<Entry> m_entries;
    int m_serial = 0;
};
