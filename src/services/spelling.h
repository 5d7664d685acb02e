#pragma once

#include "services/spelltokenizer.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class HunspellDictionary;
class TextAccess;

// Where the spelling check finds its dictionaries and keeps the user's words.
struct SpellingSetup
{
    QString primary = QStringLiteral("pl_PL");
    QString second; // a second dictionary's name ("en_US"); empty for none
    QStringList folders; // empty: HunspellDictionary::DefaultFolders()
    QString personalPath; // empty: Spelling::DefaultPersonalPath()
};

// The page's spelling: the Polish dictionary, an optional second one, the user's own
// words ("Dodaj do słownika", kept in a file) and the words ignored for this session
// ("Ignoruj"). Answers are remembered per word, so that checking the visible lines again
// after a keystroke costs little. Not a QObject and not shared between threads: it may be
// made on a worker (loading the Polish dictionary takes about 0.2 s) and then used on
// the window's thread.
class Spelling
{
public:
    explicit Spelling(const SpellingSetup &setup = SpellingSetup());
    ~Spelling();
    Spelling(const Spelling &) = delete;
    Spelling &operator=(const Spelling &) = delete;

    // False when the primary dictionary is missing: the check is then off and
    // unavailableMessage() says which package provides the dictionary.
    bool isAvailable() const;
    QString unavailableMessage() const;
    // Empty, or why the second dictionary is not used (the check goes on without it).
    QString secondMessage() const;
    static QString MessageCaption();

    // True for a word of either dictionary, of the user's words or of the ignored ones.
    // Always true while the check is unavailable.
    bool isCorrect(const QString &word);
    // Suggestions from both dictionaries, best first, at most max of them, none twice.
    QStringList suggestions(const QString &word, int max = 10);

    // The misspelt words of text overlapping [from, to) (the visible lines), in order.
    QVector<SpellWord> misspelt(const TextAccess &text, int from, int to);
    // The same over text read by the caller: positions are indexes into it.
    QVector<SpellWord> misspelt(QStringView text, int from, int to);
    // The first misspelt word that begins in [from, limit); position -1 when there is none.
    // The cost grows with limit - from: walk a long document in steps.
    SpellWord nextMisspelt(const TextAccess &text, int from, int limit);

    // "Dodaj do słownika": the word is accepted from now on and stored in the personal
    // list (one word a line, UTF-8). False, with the reason, when the file could not be
    // written (the word is still accepted for this session) or the word is not one word.
    bool addToPersonal(const QString &word, QString *error = nullptr);
    // "Ignoruj": the word is accepted until this object ends.
    void ignore(const QString &word);
    QStringList personalWords() const { return m_personal; }
    QString personalPath() const { return m_personalPath; }

    // "Markora-slownik.txt" beside the settings file (in the user's configuration folder).
    static QString DefaultPersonalPath();

private:
    void accept(const QString &word);
    QVector<SpellWord> keepMisspelt(const QVector<SpellWord> &words);

    std::unique_ptr<HunspellDictionary> m_primary;
    std::unique_ptr<HunspellDictionary> m_second;
    QString m_unavailable;
    QString m_secondMessage;
    QString m_personalPath;
    QStringList m_personal;
    QSet<QString> m_accepted; // personal and ignored words, as written
    QHash<QString, bool> m_known; // words already looked up
};
