#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Names of the temporary files of the page preview and of the edited tag's preview.
QString PreviewFileName();
QString HintFileName();

// Where a temporary file named name is written for a document: beside it, so that its
// relative links and pictures resolve; for an untitled document (or a folder that
// cannot be written) in the first writable folder of fallbackFolders. Empty when none.
QString TemporaryFilePath(
    const QString &documentFile, const QString &name, const QStringList &fallbackFolders);

struct TemporaryFileWrite
{
    bool ok = false;
    QString path; // where the file was written (or was to be written, when !ok)
    // The file of that name beside the document when it was not a regular file of this
    // user's (a planted link, another user's file): left alone, the private folder used.
    QString refusedPath;
    QString errorText;
};

// Writes a temporary file named name for documentFile (empty: untitled) through
// WriteOwnFile: beside the document as TemporaryFilePath says, otherwise, and whenever
// that place is refused or fails, in privateFolder (the user's private folder).
TemporaryFileWrite WriteTemporaryFile(
    const QString &documentFile, const QString &name, QByteArrayView bytes, const QString &privateFolder);
