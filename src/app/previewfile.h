#pragma once

#include <QString>

// Name of the page preview's temporary file.
QString PreviewFileName();

// Where the page preview of a document is written: beside the document, so that its
// relative links and pictures resolve; for an untitled document (or a folder that
// cannot be written) in the first writable folder of fallbackFolders.
QString PreviewFilePath(const QString &documentFile, const QStringList &fallbackFolders);
