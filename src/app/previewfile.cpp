#include "app/previewfile.h"

#include "base/privatedir.h"

#include <QDir>
#include <QFileInfo>

QString PreviewFileName() { return QStringLiteral("~Markora$HTML.HTML"); }
QString HintFileName() { return QStringLiteral("~Markora$Hint.html"); }

namespace {
bool writableFolder(const QString &folder)
{
    const QFileInfo fi(folder);
    return !folder.isEmpty() && fi.isDir() && fi.isWritable();
}
} // namespace

QString TemporaryFilePath(
    const QString &documentFile, const QString &name, const QStringList &fallbackFolders)
{
    QStringList folders;
    if (!documentFile.isEmpty())
        folders << QFileInfo(documentFile).absolutePath();
    folders << fallbackFolders;
    for (const QString &f : std::as_const(folders))
        if (writableFolder(f))
            return QDir(f).filePath(name);
    return QString();
}

TemporaryFileWrite WriteTemporaryFile(
    const QString &documentFile, const QString &name, QByteArrayView bytes, const QString &privateFolder)
{
    TemporaryFileWrite result;
    const QString inPrivate = privateFolder.isEmpty() ? QString() : QDir(privateFolder).filePath(name);
    result.path = TemporaryFilePath(
        documentFile, name, privateFolder.isEmpty() ? QStringList() : QStringList { privateFolder });
    if (!result.path.isEmpty() && result.path != inPrivate) {
        const OwnFileWrite beside = WriteOwnFile(result.path, bytes);
        if (beside.status == OwnFileWrite::Written) {
            result.ok = true;
            return result;
        }
        if (beside.status == OwnFileWrite::Foreign)
            result.refusedPath = result.path;
        result.errorText = beside.errorText;
        result.path = inPrivate;
    }
    if (result.path.isEmpty()) {
        if (result.errorText.isEmpty())
            result.errorText = QStringLiteral("brak folderu, w którym można bezpiecznie zapisać plik");
        return result;
    }
    const OwnFileWrite own = WriteOwnFile(result.path, bytes);
    result.ok = own.status == OwnFileWrite::Written;
    if (own.status == OwnFileWrite::Foreign)
        result.errorText = QStringLiteral("w folderze prywatnym jest obcy plik o tej nazwie");
    else if (!result.ok)
        result.errorText = own.errorText;
    return result;
}
