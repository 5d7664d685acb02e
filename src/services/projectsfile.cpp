#include "services/projectsfile.h"

#include "base/datafiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const QString kFileName = QStringLiteral("projekty.markora");

bool writable(const QString &file)
{
    const QFileInfo dir(QFileInfo(file).absolutePath());
    if (!dir.isDir() || !dir.isWritable())
        return false;
    const QFileInfo fi(file);
    return !fi.exists() || (fi.isFile() && fi.isWritable());
}
} // namespace

ProjectsFilePaths ChooseProjectsFilePaths(const QString &programFile, const QString &userFile)
{
    if (QFileInfo::exists(userFile))
        return { userFile, userFile };
    if (writable(programFile))
        return { programFile, programFile };
    return { programFile, userFile };
}

ProjectsFilePaths DefaultProjectsFilePaths()
{
    const QString program = DataFilePath(QStringLiteral("konfiguracja/") + kFileName);
    const QString user = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Lindenworks/Markora/") + kFileName;
    return ChooseProjectsFilePaths(program, user);
}

ProjectsLoad LoadProjectsFile(const QString &path)
{
    ProjectsLoad load;
    QFile file(path);
    if (!file.exists())
        return load;
    if (!file.open(QIODevice::ReadOnly)) {
        load.status = ProjectsLoad::Failed;
        load.errorText = file.errorString();
        return load;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        load.status = ProjectsLoad::Failed;
        load.errorText = file.errorString();
        return load;
    }
    load.status = ProjectsLoad::Loaded;
    load.list = ProjectList::parse(bytes, &load.problems);
    return load;
}

bool SaveProjectsFile(const QString &path, const ProjectList &list, QString *errorText)
{
    const auto fail = [errorText](const QString &reason) {
        if (errorText)
            *errorText = reason;
        return false;
    };
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("nie można utworzyć folderu %1").arg(folder));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    file.write(list.toBytes());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
