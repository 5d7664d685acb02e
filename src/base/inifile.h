#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// An INI file read with the semantics of the Windows profile reader that tags.ini
// was written for: section and key names compare case-insensitively, the first
// occurrence of a section or key wins, names and values are trimmed, lines whose
// first non-blank character is ';' are comments, and nothing is unescaped (",",
// "%" and quotes are plain text). QSettings must not read this file: it turns
// "a,b" into a list and decodes "%" in section names.
class IniFile
{
public:
    IniFile() = default;

    // Reads a UTF-8 file (Windows-1250 when it is not valid UTF-8). False when it
    // cannot be opened; the object is then empty.
    bool load(const QString &path);
    // Parses text already in memory (replaces what was loaded before).
    void parse(const QString &text);

    bool isLoaded() const { return m_loaded; }
    QString path() const { return m_path; }

    // Section names as written, in file order, each once.
    QStringList sections() const;
    bool hasSection(const QString &section) const;
    // Key names of a section as written, in file order; empty for an unknown section.
    QStringList keys(const QString &section) const;
    bool hasKey(const QString &section, const QString &key) const;
    // The trimmed value, or def when the section or key is missing.
    QString value(const QString &section, const QString &key, const QString &def = QString()) const;
    int intValue(const QString &section, const QString &key, int def) const;
    // The line the key stands on, counted from 1; 0 when the section or key is missing.
    int line(const QString &section, const QString &key) const;

private:
    struct Entry
    {
        QString key; // as written
        QString value;
        int line = 0;
    };
    struct Section
    {
        QString name;
        QVector<Entry> entries;
        QHash<QString, int> index; // lower-cased key -> entries index
    };
    const Section *find(const QString &section) const;

    QVector<Section> m_sections;
    QHash<QString, int> m_index; // lower-cased section name -> m_sections index
    QString m_path;
    bool m_loaded = false;
};
