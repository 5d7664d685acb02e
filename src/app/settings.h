#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

// The program's settings store: the registry key "Software\Lindenworks\Markora" on
// Windows, an INI file under the user's configuration folder elsewhere. Sections are
// groups. Reads are typed and fall back to the documented defaults.
class MarkoraSettings
{
public:
    MarkoraSettings();

    QSettings &store() { return *m_settings; }

    bool readBool(const QString &section, const QString &key, bool def) const;
    int readInt(const QString &section, const QString &key, int def) const;
    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;
    void writeBool(const QString &section, const QString &key, bool value);
    void writeInt(const QString &section, const QString &key, int value);
    void writeString(const QString &section, const QString &key, const QString &value);

    // The values of a section named "0", "1", ... in order, up to the first gap.
    QStringList readNumberedList(const QString &section) const;
    // Erases the section and writes the list under "0", "1", ...
    void writeNumberedList(const QString &section, const QStringList &values);
    void eraseSection(const QString &section);

    // Flushes to disk; false (with the reason) when the store cannot be written.
    bool sync(QString *error = nullptr);

    // Default of "Setup"/"_OgExt".
    static QString defaultOgExt();

private:
    std::unique_ptr<QSettings> m_settings;
};

// The sibling store of plug-in registrations ("Software\Lindenworks\Doklejki").
std::unique_ptr<QSettings> PluginSettings();
