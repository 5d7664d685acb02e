#include "services/docfile.h"

#include "services/charsetdetect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
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
    result.stamp = StatOpenFile(file.handle());
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

// Reads the whole file; false with the reason in result.errorText.
bool readFile(const QString &path, QByteArray *bytes, LoadResult &result)
{
    if (QFileInfo(path).isDir()) {
        result.errorText = QFile::tr("Is a directory");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.errorText = file.errorString();
        return false;
    }
#ifdef Q_OS_UNIX
    result.stamp = StatOpenFile(file.handle());
#else
    result.stamp = StatFile(path);
#endif
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.errorText = file.errorString();
        return false;
    }
    return true;
}

QString fallbackWarning(
    const DocumentEncoding &wanted, EncodingSource source, const QByteArray &bytes, qsizetype errorOffset)
{
    QString why;
    if (wanted.isUtf16()) {
        why = QStringLiteral("Plik zaczyna się znacznikiem kolejności bajtów UTF-16, ale ma nieparzystą "
                             "liczbę bajtów.");
    } else {
        switch (source) {
        case EncodingSource::Forced:
            why = QStringLiteral("Wybrano kodowanie UTF-8, ale plik nie jest w nim zapisany");
            break;
        case EncodingSource::ByteOrderMark:
            why = QStringLiteral("Plik zaczyna się znacznikiem kolejności bajtów UTF-8, ale nie jest w nim "
                                 "zapisany");
            break;
        case EncodingSource::Declaration:
            why = QStringLiteral("Plik deklaruje kodowanie UTF-8, ale nie jest w nim zapisany");
            break;
        default:
            why = QStringLiteral("Plik nie jest zapisany w UTF-8");
            break;
        }
        if (errorOffset >= 0 && errorOffset < bytes.size())
            why += QStringLiteral(" (pierwszy błędny bajt: 0x%1, bajt nr %2 pliku).")
                       .arg(uchar(bytes.at(errorOffset)), 2, 16, QLatin1Char('0'))
                       .arg(errorOffset + 1);
        else
            why += QLatin1Char('.');
    }
    return why
        + QStringLiteral("\nOtwarto go w kodowaniu Windows-1250: zapisany bez zmian zachowa wszystkie swoje "
                         "bajty.");
}

void decodeInto(LoadResult &result, const QByteArray &bytes, EncodingDetection detection, int tabSpaces,
    LineBreak defaultBreak)
{
    DecodedDocument decoded = DecodeDocument(bytes, detection.encoding, tabSpaces);
    if (!decoded.ok) {
        result.fellBack = true;
        result.warningText
            = fallbackWarning(detection.encoding, detection.source, bytes, decoded.errorOffset);
        detection.encoding = DocumentEncoding::fromIso(false);
        decoded = DecodeDocument(bytes, detection.encoding, tabSpaces);
    }
    result.text = std::move(decoded.text);
    result.encoding = detection.encoding;
    result.encodingSource = detection.source;
    result.iso = detection.encoding.codePage == DocumentEncoding::Iso8859_2;
    result.lineBreak = decoded.breaks.majority(defaultBreak);
    result.mixedBreaks = decoded.breaks.mixed();
    result.ok = true;
}

} // namespace

LoadResult LoadDocumentFile(const QString &path, const LoadOptions &options)
{
    LoadResult result;
    QByteArray bytes;
    if (!readFile(path, &bytes, result))
        return result;
    decodeInto(result, bytes, DetectEncoding(bytes, options.mode, options.defaultEncoding),
        options.expandTabs ? std::max(options.tabWidth, 1) : 0, options.defaultBreak);
    return result;
}

LoadResult LoadDocumentFile(const QString &path, int mode, bool defaultIso, int tabWidth)
{
    LoadResult result;
    QByteArray bytes;
    if (!readFile(path, &bytes, result))
        return result;
    const EncodingDetection detection { DocumentEncoding::fromIso(
                                            DetectIso(QByteArrayView(bytes), mode, defaultIso)),
        mode == 0 ? EncodingSource::Default : EncodingSource::Forced };
    decodeInto(result, bytes, detection, tabWidth == KeepTabs ? 0 : std::max(tabWidth, 1), LineBreak::CrLf);
    return result;
}

SaveResult SaveDocumentFile(const QString &path, QStringView text, bool iso)
{
    return SaveDocumentFile(path, text, DocumentEncoding::fromIso(iso), LineBreak::CrLf);
}

SaveResult SaveDocumentFile(
    const QString &path, QStringView text, DocumentEncoding encoding, LineBreak lineBreak)
{
    EncodeCounts counts;
    const QByteArray bytes = EncodeDocument(text, encoding, lineBreak, &counts);
    SaveResult result = WriteDocumentBytes(path, bytes);
    result.unmappable = counts.unmappable;
    result.replaced = counts.replaced;
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
    result.stamp = StatOpenFile(fd);
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

QByteArray EncodeDocumentText(
    QStringView text, DocumentEncoding encoding, LineBreak lineBreak, EncodeCounts *counts)
{
    return EncodeDocument(text, encoding, lineBreak, counts);
}

QByteArray EncodeDocumentText(QStringView text, bool iso, int *unmappable)
{
    EncodeCounts counts;
    QByteArray bytes = EncodeDocument(text, DocumentEncoding::fromIso(iso), LineBreak::CrLf, &counts);
    if (unmappable)
        *unmappable = counts.unmappable;
    return bytes;
}
