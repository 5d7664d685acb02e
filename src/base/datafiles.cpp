#include "base/datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ProgramFolder()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

QString DataFilePath(const QString &relative)
{
    const QString beside = ProgramFolder() + relative;
    if (QFileInfo::exists(beside))
        return beside;
    // Installed layout: <prefix>/bin/markora and <prefix>/share/markora/<relative>.
    const QString installed =
        QDir::cleanPath(ProgramFolder() + QStringLiteral("../share/markora/") + relative);
    if (QFileInfo::exists(installed))
        return installed;
    const QString found = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                 QStringLiteral("markora/") + relative);
    return found.isEmpty() ? beside : found;
}
