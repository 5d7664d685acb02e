#include "services/filereplaceundo.h"

#include "base/privatedir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

FileReplaceUndo::FileReplaceUndo()
{
    const QString base = PrivateFolder();
    if (base.isEmpty())
        return;
    // QTemporaryDir makes the folder with mode 0700, inside a folder only the user may enter.
    auto dir = std::make_unique<QTemporaryDir>(QDir(base).filePath(QStringLiteral("zamiana-XXXXXX")));
    if (dir->isValid())
        m_dir = std::move(dir);
}

FileReplaceUndo::~FileReplaceUndo() = default;

bool FileReplaceUndo::isValid() const { return m_dir != nullptr; }

QString FileReplaceUndo::folder() const { return m_dir ? m_dir->path() : QString(); }

QString FileReplaceUndo::keep(const QString &path, const QByteArray &oldBytes, QString *error)
{
    if (!m_dir) {
        *error = QStringLiteral("Brak folderu na kopie zapasowe.");
        return QString();
    }
    const QString backup = m_dir->filePath(
        QStringLiteral("%1-%2").arg(++m_serial, 6, 10, QLatin1Char('0')).arg(QFileInfo(path).fileName()));
    const OwnFileWrite w = WriteOwnFile(backup, oldBytes);
    if (w.status != OwnFileWrite::Written) {
        *error = w.errorText.isEmpty() ? QStringLiteral("Nie można zapisać kopii zapasowej.") : w.errorText;
        return QString();
    }
    return backup;
}

void FileReplaceUndo::confirm(const QString &path, const QString &backup, const FileStamp &written, int count)
{
    m_entries.append(Entry { path, backup, written, count });
}

void FileReplaceUndo::drop(const QString &backup) { RemoveOwnFile(backup); }

FileReplaceUndo::Result FileReplaceUndo::undo(const QSet<QString> &skipPaths)
{
    Result r;
    QList<Entry> kept;
    for (const Entry &e : std::as_const(m_entries)) {
        if (!skipPaths.isEmpty() && skipPaths.contains(QFileInfo(e.path).canonicalFilePath())) {
            r.skippedUnsaved << e.path;
            kept << e;
            continue;
        }
        if (StatFile(e.path) != e.written) {
            r.changedSince << e.path;
            kept << e;
            continue;
        }
        QFile copy(e.backup);
        if (!copy.open(QIODevice::ReadOnly)) {
            r.failed << FileProblem { e.path, copy.errorString() };
            kept << e;
            continue;
        }
        const QByteArray old = copy.readAll();
        copy.close();
        const SaveResult w = WriteDocumentBytes(e.path, old);
        if (!w.ok) {
            r.failed << FileProblem { e.path, w.errorText };
            kept << e;
            continue;
        }
        RemoveOwnFile(e.backup);
        r.restored << e.path;
    }
    m_entries = kept;
    return r;
}
