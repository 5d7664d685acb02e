#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

// The program's settings store: the registry key "Software\Lindenworks\Markora" on
// Windows, an INI file under the user's configuration folder elsewhere. Sections are
// groups. Reads are typed and fall back to the documented defaults: the store may have
// been edited by hand, so a value that is missing, of the wrong kind or out of its range
// reads as the default.
class MarkoraSettings
{
public:
    MarkoraSettings();

    QSettings &store() { return *m_settings; }

    // "true"/"false" or "1"/"0"; anything else gives def.
    bool readBool(const QString &section, const QString &key, bool def) const;
    // A whole number from min to max (both included); anything else gives def.
    int readInt(const QString &section, const QString &key, int def, int min, int max) const;
    // A text; a value that the INI format read as a list ("a, b" unquoted) is joined back.
    QString readString(const QString &section, const QString &key, const QString &def = QString()) const;
    // A list of texts; a single text is a list of one.
    QStringList readStringList(const QString &section, const QString &key) const;
    void writeBool(const QString &section, const QString &key, bool value);
    void writeInt(const QString &section, const QString &key, int value);
    void writeString(const QString &section, const QString &key, const QString &value);
    void writeStringList(const QString &section, const QString &key, const QStringList &value);

    // True when the store holds a value for the key.
    bool contains(const QString &section, const QString &key) const;
    // The keys of a section's values.
    QStringList keys(const QString &section) const;
    // Removes one value.
    void remove(const QString &section, const QString &key);

    // The values of a section named "0", "1", ... in order, up to the first gap.
    QStringList readNumberedList(const QString &section) const;
    // Erases the section and writes the list under "0", "1", ...
    void writeNumberedList(const QString &section, const QStringList &values);
    void eraseSection(const QString &section);

    // Flushes to disk; false (with the reason) when the store cannot be written.
    bool sync(QString *error = nullptr);

    // A name of the user's (a snippet, a command) as a key of a section, and back. The store
    // takes '/' and '\\' for its own separators: they and '%' are written as "%2F", "%5C" and
    // "%25", so that any name (spaces, letters beyond ASCII, "=", line breaks) comes back
    // as it was; the store escapes the rest itself.
    static QString nameToKey(const QString &name);
    static QString keyToName(const QString &key);

    // Default of "Setup"/"_OgExt".
    static QString defaultOgExt();

private:
    std::unique_ptr<QSettings> m_settings;
};

// The sibling store of plug-in registrations ("Software\Lindenworks\Doklejki").
std::unique_ptr<QSettings> PluginSettings();
