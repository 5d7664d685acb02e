#include "base/filestamp.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#ifdef Q_OS_UNIX
namespace {

#ifdef Q_OS_DARWIN
const timespec &modificationTime(const struct stat &st) { return st.st_mtimespec; }
#else
const timespec &modificationTime(const struct stat &st) { return st.st_mtim; }
#endif

FileStamp stampOf(const struct stat &st)
{
    FileStamp s;
    if (!S_ISREG(st.st_mode))
        return s; // every "no file here" looks alike
    s.isFile = true;
    s.size = st.st_size;
    const timespec &m = modificationTime(st);
    s.mtimeNs = qint64(m.tv_sec) * 1000000000 + m.tv_nsec;
    s.inode = quint64(st.st_ino);
    s.device = quint64(st.st_dev);
    return s;
}

} // namespace

FileStamp StatOpenFile(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? stampOf(st) : FileStamp();
}
#endif

FileStamp StatFile(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return FileStamp();
    return stampOf(st);
#else
    const QFileInfo info(path);
    FileStamp s;
    if (!info.isFile())
        return s;
    s.isFile = true;
    s.size = info.size();
    s.mtimeNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
    return s;
#endif
}
