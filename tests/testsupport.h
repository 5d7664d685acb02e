#pragma once

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The source tree's data folders, for tests that read the shipped files.
inline QString sourcePath(const QString &relative)
{
    return QDir(QStringLiteral(MARKORA_SOURCE_DIR)).filePath(relative);
}

// Points every QSettings of the process, and the crash recovery folder, at a fresh
// temporary folder, so that a test never reads or writes the user's real settings nor
// finds the recovery files of another test. Keep the returned object alive.
class IsolatedSettings
{
public:
    IsolatedSettings()
        : m_oldRecovery(qgetenv("MARKORA_RECOVERY_DIR"))
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
        qputenv("MARKORA_RECOVERY_DIR", QFile::encodeName(recoveryPath()));
    }
    ~IsolatedSettings() { qputenv("MARKORA_RECOVERY_DIR", m_oldRecovery); }
    QString path() const { return m_dir.path(); }
    QString recoveryPath() const { return m_dir.filePath(QStringLiteral("recovery")); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldRecovery;
};

// Sets an environment variable (a null value unsets it) for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_had(qEnvironmentVariableIsSet(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_had;
};

} // namespace testsupport
