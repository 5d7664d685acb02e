#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

// One Hunspell dictionary (<name>.aff with <name>.dic). Words go in and out as QString;
// the dictionary's own code page (its SET line: ISO8859-2 for Polish) is dealt with here.
// Not shared between threads; it may be made on one thread and used on another.
class HunspellDictionary
{
public:
    // The folders searched: those of $DICPATH, then /usr/share/hunspell,
    // /usr/share/myspell and /usr/share/myspell/dicts.
    static QStringList DefaultFolders();
    // The names of the dictionaries in folders (e.g. "pl_PL"), each once, sorted.
    static QStringList Installed(const QStringList &folders = DefaultFolders());

    // Loads name from the first folder that has both of its files; isValid() tells
    // whether one did (pl_PL takes about 0.2 s).
    explicit HunspellDictionary(const QString &name, const QStringList &folders = DefaultFolders());
    ~HunspellDictionary();
    HunspellDictionary(const HunspellDictionary &) = delete;
    HunspellDictionary &operator=(const HunspellDictionary &) = delete;

    bool isValid() const { return m_hunspell != nullptr; }
    QString name() const { return m_name; }
    QString affPath() const { return m_affPath; }
    // The dictionary's code page as its SET line names it.
    QString encoding() const { return m_encoding; }

    // False as well for a word with a character the dictionary's code page lacks.
    bool check(const QString &word) const;
    // Hunspell's suggestions, best first (tens of milliseconds for a long word).
    QStringList suggest(const QString &word) const;
    // Accepts word from now on, for the life of this object (not stored); false when the
    // code page cannot hold it.
    bool add(const QString &word);

private:
    // The word in the dictionary's code page; false when it cannot be written so.
    bool encode(const QString &word, std::string *out) const;
    QString decode(const std::string &bytes) const;

    QString m_name;
    QString m_affPath;
    QString m_encoding;
    enum class Codec { Utf8, Iso8859_2, Other } m_codec = Codec::Utf8;
    std::unique_ptr<Hunspell> m_hunspell;
};
