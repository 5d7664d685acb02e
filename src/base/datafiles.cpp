#include "base/datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kKonfiguracja = QStringLiteral("konfiguracja");

QString withSlash(QString dir)
{
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

bool underKonfiguracja(const QString &relative)
{
    return relative == kKonfiguracja || relative.startsWith(kKonfiguracja + QLatin1Char('/'));
}
} // namespace

QString ProgramFolder() { return withSlash(QCoreApplication::applicationDirPath()); }

DataFolders DataFolders::current()
{
    DataFolders f;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!config.isEmpty())
        f.user = withSlash(config) + QStringLiteral("markora/");
    f.program = ProgramFolder();
    // Installed layout: <prefix>/bin/markora and <prefix>/share/markora/.
    f.installed << withSlash(QDir::cleanPath(f.program + QStringLiteral("../share/markora")));
    for (const QString &d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString folder = withSlash(d) + QStringLiteral("markora/");
        if (!f.installed.contains(folder))
            f.installed << folder;
    }
    return f;
}

QString DataFolders::userKonfiguracja() const { return user.isEmpty() ? QString() : user + kKonfiguracja; }

QStringList DataFolders::candidates(const QString &relative) const
{
    QStringList out;
    if (!user.isEmpty() && underKonfiguracja(relative))
        out << user + relative;
    out << program + relative;
    for (const QString &d : installed)
        out << d + relative;
    out.removeDuplicates();
    return out;
}

QString DataFolders::find(const QString &relative) const
{
    for (const QString &p : candidates(relative))
        if (QFileInfo::exists(p))
            return p;
    return program + relative;
}

QString DataFolders::findShipped(const QString &relative) const
{
    DataFolders shipped = *this;
    shipped.user.clear();
    for (const QString &p : shipped.candidates(relative))
        if (QFileInfo::exists(p))
            return p;
    return QString();
}

QString DataFilePath(const QString &relative) { return DataFolders::current().find(relative); }

QString MakeUserKonfiguracja(const DataFolders &folders, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return QString();
    };
    const QString shipped = folders.findShipped(kKonfiguracja);
    if (shipped.isEmpty() || !QFileInfo(shipped).isDir())
        return fail(QStringLiteral("Nie znaleziono plików konfiguracji programu (folderu konfiguracja)."));
    const QString target = folders.userKonfiguracja();
    if (target.isEmpty() || !QDir().mkpath(target))
        return fail(QStringLiteral("Nie można utworzyć folderu %1.").arg(QDir::toNativeSeparators(target)));
    const QDir from(shipped);
    for (const QString &name : from.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
        const QString to = target + QLatin1Char('/') + name;
        // Anything already there is the user's: a link, a folder or an edited file.
        if (QFileInfo(to).exists() || QFileInfo(to).isSymLink())
            continue;
        if (!QFile::copy(from.filePath(name), to))
            return fail(
                QStringLiteral("Nie można skopiować pliku %1 do folderu %2.")
                    .arg(QDir::toNativeSeparators(from.filePath(name)), QDir::toNativeSeparators(target)));
        // Installed files may be read-only; the copy is there to be edited.
        QFile::setPermissions(to,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                | QFileDevice::ReadOther);
    }
    return target;
}
