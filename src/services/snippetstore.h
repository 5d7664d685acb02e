#pragma once

#include <QList>
#include <QString>
#include <optional>

class MarkoraSettings;

struct Snippet
{
    QString name;
    QString text;

    bool operator==(const Snippet &o) const { return name == o.name && text == o.text; }
};

// The snippets kept in the settings section "Wstawki": one value per snippet, its key the
// snippet's name (MarkoraSettings::nameToKey), its value the text. Every change is written
// to the store at once.
class SnippetStore
{
public:
    explicit SnippetStore(MarkoraSettings &settings);

    // A name may hold any characters but control characters (line breaks among them) and
    // must not be empty or only blanks.
    static bool isValidName(const QString &name);

    // Every snippet with a valid name, sorted by name (case ignored).
    QList<Snippet> all() const;
    std::optional<QString> text(const QString &name) const;
    // The stored name equal to name when case is ignored (names differing only in case
    // would be one key in the Windows registry); empty when none.
    QString existingName(const QString &name) const;

    // Adds the snippet or replaces its text; false for an invalid name.
    bool put(const QString &name, const QString &text);
    void remove(const QString &name);
    // False when from is missing, to is invalid, or another snippet is called to (case
    // ignored); renaming to a different case of the same name is allowed.
    bool rename(const QString &from, const QString &to);

private:
    MarkoraSettings &m_settings;
};
