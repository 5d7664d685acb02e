#include "services/docfile.h"
#include "base/largebuffer.h"

#include "base/codepage.h"
#include "services/charsetdetect.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef Q_OS_UNIX
#ifdef Q_OS_DARWIN
const timespec &accessTime(const struct stat &st) { return st.st_atimespec; }
const timespec &modificationTime(const struct stat &st) { return st.st_mtimespec; }
#else
const timespec &accessTime(const struct stat &st) { return st.st_atim; }
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

FileStamp stampOfHandle(int fd)
{
    struct stat st;
    return ::fstat(fd, &st) == 0 ? stampOf(st) : FileStamp();
}

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

// Gives the newly written file the old one's owner, group and mode. False when the
// owner or the group cannot be kept (only a privileged process may give a file away):
// replacing the file would then hand it to whoever saves it.
bool keepOwnerAndMode(int fd, const struct stat &old)
{
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    // A change of owner clears the set-user-ID and set-group-ID bits: the mode goes last.
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

// A copy of a file's old contents, beside it where possible (the same file system) or
// else in the temporary folder; only the user can read it. Removed when it goes out of
// scope unless told otherwise.
std::unique_ptr<QTemporaryFile> writeBackup(const QFileInfo &info, const QByteArray &old, QString *error)
{
    for (const QString &folder : { info.absolutePath(), QDir::tempPath() }) {
        auto copy = std::make_unique<QTemporaryFile>(
            QDir(folder).filePath(QLatin1Char('.') + info.fileName() + QStringLiteral(".XXXXXX~")));
        if (copy->open() && copy->write(old) == old.size() && copy->flush() && ::fsync(copy->handle()) == 0)
            return copy;
        *error = copy->errorString();
    }
    return nullptr;
}

// Writes bytes into the existing file itself, so that its inode stays (with every hard
// link to it, its owner and mode). Its old contents are copied aside first and written
// back when writing fails; the copy is kept only when even that fails.
void writeInPlace(const QString &target, const QByteArray &bytes, SaveResult &result)
{
    QFile file(target);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        result.errorText = file.errorString();
        return;
    }
    struct stat before;
    if (::fstat(file.handle(), &before) != 0) {
        result.errorText = systemError(errno);
        return;
    }
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.errorText = file.errorString();
        return;
    }
    const std::unique_ptr<QTemporaryFile> backup = writeBackup(QFileInfo(target), old, &result.errorText);
    if (!backup)
        return;
    // Returns the reason of a failure, empty on success.
    const auto writeAll = [&file](const QByteArray &data) -> QString {
        file.unsetError();
        if (!file.seek(0) || file.write(data) != data.size() || !file.resize(data.size()))
            return file.errorString();
        if (::fsync(file.handle()) != 0)
            return systemError(errno);
        return QString();
    };
    const QString failure = writeAll(bytes);
    if (!failure.isEmpty()) {
        result.errorText = failure;
        if (!writeAll(old).isEmpty()) {
            backup->setAutoRemove(false);
            result.errorText += QStringLiteral("\nPoprzednia treść pliku została zachowana w pliku ")
                + QDir::toNativeSeparators(backup->fileName());
            return;
        }
        // The file is as it was: with its old times too, it is no change anybody must be
        // told about (the editor compares them before the next save).
        const timespec times[2] = { accessTime(before), modificationTime(before) };
        ::futimens(file.handle(), times);
        return;
    }
    result.stamp = stampOfHandle(file.handle());
    result.ok = true;
}
#endif

// The file a save writes: the end of a chain of symbolic links, so that the links stay
// links. Empty when the chain does not end.
QString resolveLinks(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink(); ++depth) {
        if (depth == 40)
            return QString();
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
}

// The bytes [s, stop) through the table into d; both code pages agree with ASCII, so
// runs of ASCII are widened sixteen bytes at a time (vector code) without the table.
char16_t *translate(
    const unsigned char *s, const unsigned char *stop, char16_t *d, const std::array<char16_t, 256> &table)
{
    while (stop - s >= 16) {
        unsigned any = 0;
        for (int k = 0; k < 16; ++k)
            any |= s[k];
        if (any < 0x80) {
            for (int k = 0; k < 16; ++k)
                d[k] = s[k];
        } else {
            for (int k = 0; k < 16; ++k)
                d[k] = table[s[k]];
        }
        s += 16;
        d += 16;
    }
    while (s < stop)
        *d++ = table[*s++];
    return d;
}

// Decodes, turns CR LF and lone CR into '\n' and expands tabs in one pass, so a large
// file costs one allocation and one walk over its bytes: the stretches between line
// breaks (and tabs) are found with memchr and translated whole.
QString decodeDocument(QByteArrayView bytes, CodePage::Id id, int tabWidth)
{
    std::array<char16_t, 256> table;
    for (int b = 0; b < 256; ++b)
        table[b] = CodePage::toUnicode(static_cast<unsigned char>(b), id);
    const bool expand = tabWidth != KeepTabs;
    const qsizetype width = std::max(tabWidth, 1);
    const qsizetype tabs = expand ? std::count(bytes.begin(), bytes.end(), '\t') : 0;
    QString out(bytes.size() + tabs * (width - 1), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    char16_t *const begin = d;
    const unsigned char *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const unsigned char *const end = s + bytes.size();
    const auto next = [end](const unsigned char *from, unsigned char c) {
        const void *at = from < end ? std::memchr(from, c, std::size_t(end - from)) : nullptr;
        return at ? static_cast<const unsigned char *>(at) : end;
    };
    const unsigned char *cr = next(s, '\r');
    const unsigned char *tab = expand ? next(s, '\t') : end;
    for (;;) {
        const unsigned char *stop = std::min(cr, tab);
        d = translate(s, stop, d, table);
        s = stop;
        if (s == end)
            break;
        ++s;
        if (stop == cr) {
            *d++ = u'\n';
            if (s < end && *s == '\n')
                ++s;
            cr = next(s, '\r');
        } else {
            d = std::fill_n(d, width, u' ');
            tab = next(s, '\t');
        }
    }
    out.truncate(d - begin);
    return out;
}

// Encodes with '\n' written as CR LF, in one pass. Characters the code page cannot
// hold are written as CodePage::encode writes them (numeric character references).
QByteArray encodeDocument(QStringView text, CodePage::Id id, int *unmappable)
{
    const qsizetype breaks = std::count(text.begin(), text.end(), u'\n');
    QByteArray out(text.size() + breaks, Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()));
    char *d = out.data();
    qsizetype w = 0;
    int bad = 0;
    const char16_t *s = reinterpret_cast<const char16_t *>(text.data());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = s[i];
        if (c < 0x80) {
            if (c == u'\n')
                d[w++] = '\r';
            d[w++] = char(c);
            continue;
        }
        const int b = CodePage::fromUnicode(c, id);
        if (b >= 0) {
            d[w++] = char(b);
            continue;
        }
        // Rare: a reference is longer than the character, so the buffer grows.
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(s[i + 1]);
        const QByteArray ref = CodePage::encode(text.mid(i, pair ? 2 : 1), id);
        if (pair)
            ++i;
        out.resize(out.size() + ref.size() - (pair ? 2 : 1));
        d = out.data();
        std::copy(ref.cbegin(), ref.cend(), d + w);
        w += ref.size();
        ++bad;
    }
    out.truncate(w);
    if (unmappable)
        *unmappable = bad;
    return out;
}

} // namespace

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

LoadResult LoadDocumentFile(const QString &path, int mode, bool defaultIso, int tabWidth)
{
    LoadResult result;
    if (QFileInfo(path).isDir()) {
        result.errorText = QFile::tr("Is a directory");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorText = file.errorString();
        return result;
    }
#ifdef Q_OS_UNIX
    result.stamp = stampOfHandle(file.handle());
#else
    result.stamp = StatFile(path);
#endif
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.errorText = file.errorString();
        return result;
    }
    file.close();

    result.iso = DetectIso(QByteArrayView(bytes), mode, defaultIso);
    result.text = decodeDocument(bytes, result.iso ? CodePage::Iso8859_2 : CodePage::Windows1250, tabWidth);
    result.ok = true;
    return result;
}

SaveResult SaveDocumentFile(const QString &path, QStringView text, bool iso)
{
    int unmappable = 0;
    const QByteArray bytes
        = encodeDocument(text, iso ? CodePage::Iso8859_2 : CodePage::Windows1250, &unmappable);
    SaveResult result = WriteDocumentBytes(path, bytes);
    result.unmappable = unmappable;
    return result;
}

SaveResult WriteDocumentBytes(const QString &path, const QByteArray &bytes)
{
    SaveResult result;
    const QString target = resolveLinks(path);
    if (target.isEmpty()) {
        result.errorText = QFile::tr("Too many levels of symbolic links");
        return result;
    }
#ifdef Q_OS_UNIX
    struct stat old;
    const bool replacing = ::stat(QFile::encodeName(target).constData(), &old) == 0 && S_ISREG(old.st_mode);
    if (replacing && old.st_nlink > 1) {
        writeInPlace(target, bytes, result);
        return result;
    }
#endif
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        result.errorText = file.errorString();
        return result;
    }
    // The first bytes wait in the write buffer, and a failure to write them out does not
    // make commit() fail: flush and look before committing.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        result.errorText = file.errorString();
        file.cancelWriting();
        return result;
    }
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    if (replacing && !keepOwnerAndMode(fd, old)) {
        file.cancelWriting();
        file.commit(); // discards the new file
        writeInPlace(target, bytes, result);
        return result;
    }
    // A file system may report a full disk only when the data goes out.
    if (::fsync(fd) != 0) {
        result.errorText = systemError(errno);
        file.cancelWriting();
        return result;
    }
    result.stamp = stampOfHandle(fd);
#endif
    if (!file.commit()) {
        result.errorText = file.errorString();
        return result;
    }
#ifndef Q_OS_UNIX
    result.stamp = StatFile(target);
#endif
    result.ok = true;
    return result;
}

QByteArray EncodeDocumentText(QStringView text, bool iso, int *unmappable)
{
    return encodeDocument(text, iso ? CodePage::Iso8859_2 : CodePage::Windows1250, unmappable);
}
