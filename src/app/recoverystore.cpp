#include "app/recoverystore.h"

#include "base/privatedir.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <algorithm>

namespace {

constexpr char kSessionPrefix[] = "session-";
constexpr char kLockName[] = "lock";
constexpr char kRecordSuffix[] = ".rec";

// Records by the number in their names: the order the documents were opened in.
QStringList recordFiles(const QString &session)
{
    QStringList names = QDir(session).entryList(
        { QStringLiteral("*") + QLatin1String(kRecordSuffix) }, QDir::Files | QDir::Hidden);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const qlonglong na = a.section(QLatin1Char('.'), 0, 0).toLongLong();
        const qlonglong nb = b.section(QLatin1Char('.'), 0, 0).toLongLong();
        return na != nb ? na < nb : a < b;
    });
    return names;
}

} // namespace

QString RecoveryFolder()
{
    const QString forced = qEnvironmentVariable("MARKORA_RECOVERY_DIR");
    if (!forced.isEmpty())
        return forced;
#ifdef Q_OS_UNIX
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/markora/recovery");
#else
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
        + QStringLiteral("/recovery");
#endif
}

RecoveryStore::RecoveryStore(const QString &folder)
    : m_folder(folder.isEmpty() ? RecoveryFolder() : folder)
{
}

RecoveryStore::~RecoveryStore() = default;

bool RecoveryStore::open(QString *error)
{
    if (isOpen())
        return true;
    if (!EnsurePrivateFolder(m_folder)) {
        if (error)
            *error = QStringLiteral("folder %1 nie jest prywatny albo nie można go utworzyć").arg(m_folder);
        return false;
    }
    // The start time first, so that sessions sort in the order they began.
    const QString base = QDir(m_folder).filePath(QLatin1String(kSessionPrefix)
        + QStringLiteral("%1-%2")
              .arg(QDateTime::currentMSecsSinceEpoch(), 16, 10, QLatin1Char('0'))
              .arg(QCoreApplication::applicationPid()));
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString session = attempt == 0 ? base : base + QStringLiteral("-%1").arg(attempt);
        if (!QDir().mkdir(session, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            continue;
        auto lock = std::make_unique<QLockFile>(QDir(session).filePath(QLatin1String(kLockName)));
        if (!lock->tryLock(0)) {
            QDir(session).removeRecursively();
            break;
        }
        m_lock = std::move(lock);
        m_session = session;
        return true;
    }
    if (error)
        *error = QStringLiteral("nie można założyć sesji w folderze %1").arg(m_folder);
    return false;
}

QString RecoveryStore::recordPath(int key) const
{
    return QDir(m_session).filePath(QString::number(key) + QLatin1String(kRecordSuffix));
}

bool RecoveryStore::write(int key, const RecoveryRecord &record, QString *error)
{
    if (!isOpen()) {
        if (error)
            *error = QStringLiteral("brak sesji odzyskiwania");
        return false;
    }
    return RecoveryFile::write(recordPath(key), record, error);
}

void RecoveryStore::remove(int key)
{
    if (isOpen())
        QFile::remove(recordPath(key));
}

void RecoveryStore::discard()
{
    if (!isOpen())
        return;
    for (const QString &name : recordFiles(m_session))
        QFile::remove(QDir(m_session).filePath(name));
    m_lock.reset(); // unlocks and removes the lock file
    QDir(m_session).removeRecursively();
    m_session.clear();
}

RecoveryStore::Orphans RecoveryStore::takeOrphans()
{
    Orphans found;
    QDir root(m_folder);
    const QStringList sessions = root.entryList(
        { QLatin1String(kSessionPrefix) + QLatin1Char('*') }, QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : sessions) {
        const QString session = root.filePath(name);
        if (session == m_session)
            continue;
        if (std::any_of(m_taken.begin(), m_taken.end(), [&](const Taken &t) { return t.path == session; }))
            continue;
        auto lock = std::make_unique<QLockFile>(QDir(session).filePath(QLatin1String(kLockName)));
        // Held: a running editor's session. Free (or left by a process that is gone): ours now.
        if (!lock->tryLock(0))
            continue;
        Taken taken { session, std::move(lock), {} };
        for (const QString &file : recordFiles(session)) {
            const QString path = QDir(session).filePath(file);
            QString reason;
            if (const auto record = RecoveryFile::read(path, &reason)) {
                found.records << *record;
            } else {
                found.damaged << QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
                taken.damagedFiles << path;
            }
        }
        m_taken.push_back(std::move(taken));
    }
    return found;
}

QString RecoveryStore::damagedFolder() const { return QDir(m_folder).filePath(QStringLiteral("damaged")); }

void RecoveryStore::removeOrphans()
{
    for (Taken &t : m_taken) {
        if (!t.damagedFiles.isEmpty() && EnsurePrivateFolder(damagedFolder())) {
            for (const QString &path : std::as_const(t.damagedFiles))
                QFile::rename(path,
                    QDir(damagedFolder())
                        .filePath(
                            QFileInfo(t.path).fileName() + QLatin1Char('-') + QFileInfo(path).fileName()));
        }
        t.lock.reset();
        QDir(t.path).removeRecursively();
    }
    m_taken.clear();
}
