#pragma once

#include <QDir>
#include <QFile>
#include <QObject>
#include <QProcessEnvironment>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <memory>

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
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString recoveryPath() const { return m_dir.filePath(QStringLiteral("recovery")); }
    // The environment for a program this test starts, so that it uses the same settings
    // and recovery folder.
    QProcessEnvironment processEnvironment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), path());
        env.insert(QStringLiteral("MARKORA_RECOVERY_DIR"), recoveryPath());
        return env;
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldRecovery;
};

// A test object whose every test function runs with IsolatedSettings of its own: made in
// init(), removed in cleanup(). A test that needs more there declares its own init() or
// cleanup() and calls these.
class IsolatedTestCase : public QObject
{
    Q_OBJECT
protected:
    // The current test function's settings.
    IsolatedSettings &isolated() { return *m_isolated; }

protected Q_SLOTS:
    void init();
    void cleanup();

private:
    std::unique_ptr<IsolatedSettings> m_isolated;
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
