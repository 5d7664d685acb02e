#pragma once

#include <QDir>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The source tree's data folders, for tests that read the shipped files.
inline QString sourcePath(const QString &relative)
{
    return QDir(QStringLiteral(MARKORA_SOURCE_DIR)).filePath(relative);
}

// Points every QSettings of the process at a fresh temporary folder, so that a test
// never reads or writes the user's real settings. Keep the returned object alive.
class IsolatedSettings
{
public:
    IsolatedSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

} // namespace testsupport
