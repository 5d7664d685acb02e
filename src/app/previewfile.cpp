#include "app/previewfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString PreviewFileName() { return QStringLiteral("~Markora$HTML.HTML"); }

namespace {
bool writableFolder(const QString &folder)
{
    const QFileInfo fi(folder);
    return !folder.isEmpty() && fi.isDir() && fi.isWritable();
}
} // namespace

QString PreviewFilePath(const QString &documentFile, const QStringList &fallbackFolders)
{
    QStringList folders;
    if (!documentFile.isEmpty())
        folders << QFileInfo(documentFile).absolutePath();
    folders << fallbackFolders;
    for (const QString &f : std::as_const(folders))
        if (writableFolder(f))
            return QDir(f).filePath(PreviewFileName());
    return QString();
}
