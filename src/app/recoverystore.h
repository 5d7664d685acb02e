#pragma once

#include "app/recoveryfile.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QLockFile;

// The crash recovery folder (private to the user). Every running editor keeps a session
// in it: a folder locked while the editor runs, holding one recovery file per document
// with unsaved changes. A session whose lock nobody holds was left by an editor that did
// not close cleanly (a crash, a killed process, a power cut): its files are offered at
// the next start. Another editor's running session is never touched.
class RecoveryStore
{
public:
    // folder: where the sessions live; empty means RecoveryFolder().
    explicit RecoveryStore(const QString &folder = QString());
    // Releases the lock and leaves the files, as an editor that ends without a clean
    // close must: the next start finds them.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Creates and locks this editor's session. False, with the reason in *error, when
    // the folder cannot be had private or the session cannot be locked.
    bool open(QString *error = nullptr);
    bool isOpen() const { return !m_session.isEmpty(); }
    QString folder() const { return m_folder; }
    QString sessionPath() const { return m_session; }

    // Writes (replaces) the record of the document key (its id, unique in the session).
    bool write(int key, const RecoveryRecord &record, QString *error = nullptr);
    // The document was saved or closed: its record goes.
    void remove(int key);
    // A clean close: the session's records, lock and folder go.
    void discard();

    struct Orphans
    {
        QList<RecoveryRecord> records; // sessions in the order they started, documents in the order opened
        QStringList damaged; // "file: reason" for every file that could not be read
    };
    // Takes every session left by an editor that did not close cleanly (its lock is held
    // from now until removeOrphans or destruction, so no other editor takes it too) and
    // reads its records.
    Orphans takeOrphans();
    // Deletes the taken sessions. Damaged files are moved to damagedFolder() first, so
    // that what they still hold is not thrown away unseen.
    void removeOrphans();
    QString damagedFolder() const;

private:
    QString recordPath(int key) const;

    QString m_folder;
    QString m_session;
    std::unique_ptr<QLockFile> m_lock;
    struct Taken
    {
        QString path;
        std::unique_ptr<QLockFile> lock;
        QStringList damagedFiles;
    };
    std::vector<Taken> m_taken;
};

// The recovery folder: $MARKORA_RECOVERY_DIR when set (tests use it), otherwise
// "markora/recovery" in the user's state folder ($XDG_STATE_HOME, by default
// ~/.local/state), which outlives a reboot, unlike the runtime folder.
QString RecoveryFolder();
