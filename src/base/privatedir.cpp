#include "base/privatedir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#ifdef Q_OS_UNIX
namespace {

bool privateStat(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// A regular file of ours with no other name: writing it touches nothing of anybody else.
bool ownRegularFile(const struct stat &st)
{
    return S_ISREG(st.st_mode) && st.st_uid == ::getuid() && st.st_nlink == 1;
}

QString systemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

} // namespace

bool IsPrivateFolder(const QString &path)
{
    struct stat st;
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 && privateStat(st);
}

bool EnsurePrivateFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString parent = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    const QByteArray native = QFile::encodeName(path);
    // Created or already there: either way only what the check finds counts.
    ::mkdir(native.constData(), 0700);
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
    // A folder of ours that others could only look into is closed; one they could write
    // into may hold anything by now and is refused.
    if (ok && (st.st_mode & 077) != 0)
        ok = (st.st_mode & 022) == 0 && ::fchmod(fd, 0700) == 0;
    ::close(fd);
    return ok;
}

QString PrivateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsPrivateFolder(runtime))
        return runtime;
    // The temporary folder is shared: the folder is made here with mode 0700 and used
    // only when the check finds it ours, so a planted folder or link is never used.
    const QString folder = QDir::tempPath() + QStringLiteral("/markora-") + QString::number(::getuid());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return IsPrivateFolder(folder) ? folder : QString();
}

OwnFileWrite WriteOwnFile(const QString &path, QByteArrayView bytes)
{
    OwnFileWrite result;
    const QByteArray native = QFile::encodeName(path);
    int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) {
        struct stat before;
        if (::lstat(native.constData(), &before) != 0) {
            result.errorText = systemError(errno);
            return result;
        }
        if (!ownRegularFile(before)) {
            result.status = OwnFileWrite::Foreign;
            return result;
        }
        fd = ::open(native.constData(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ELOOP)
                result.status = OwnFileWrite::Foreign;
            else
                result.errorText = systemError(errno);
            return result;
        }
        // Replaced between the look and the open: whatever is there now must be the
        // same file.
        struct stat now;
        if (::fstat(fd, &now) != 0 || now.st_dev != before.st_dev || now.st_ino != before.st_ino
            || !ownRegularFile(now)) {
            ::close(fd);
            result.status = OwnFileWrite::Foreign;
            return result;
        }
        if (::ftruncate(fd, 0) != 0 || ::fchmod(fd, 0600) != 0) {
            result.errorText = systemError(errno);
            ::close(fd);
            return result;
        }
    } else if (fd < 0) {
        if (errno == ELOOP)
            result.status = OwnFileWrite::Foreign;
        else
            result.errorText = systemError(errno);
        return result;
    }
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            result.errorText = systemError(n < 0 ? errno : ENOSPC);
            ::close(fd);
            return result;
        }
        data += n;
        left -= n;
    }
    if (::close(fd) != 0) {
        result.errorText = systemError(errno);
        return result;
    }
    result.status = OwnFileWrite::Written;
    return result;
}

bool RemoveOwnFile(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    return ::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid()
        && ::unlink(native.constData()) == 0;
}

#else // Windows: the user's profile folders are private by their access lists.

bool IsPrivateFolder(const QString &path)
{
    const QFileInfo fi(path);
    return !path.isEmpty() && fi.isDir() && !fi.isSymLink();
}

bool EnsurePrivateFolder(const QString &path) { return QDir().mkpath(path) && IsPrivateFolder(path); }

QString PrivateFolder()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/markora-") + qEnvironmentVariable("USERNAME");
    return EnsurePrivateFolder(folder) ? folder : QString();
}

OwnFileWrite WriteOwnFile(const QString &path, QByteArrayView bytes)
{
    OwnFileWrite result;
    const QFileInfo fi(path);
    if (fi.isSymLink() || (fi.exists() && !fi.isFile())) {
        result.status = OwnFileWrite::Foreign;
        return result;
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || f.write(bytes.data(), bytes.size()) != bytes.size() || !f.flush()) {
        result.errorText = f.errorString();
        return result;
    }
    result.status = OwnFileWrite::Written;
    return result;
}

bool RemoveOwnFile(const QString &path)
{
    const QFileInfo fi(path);
    return fi.isFile() && !fi.isSymLink() && QFile::remove(path);
}

#endif
