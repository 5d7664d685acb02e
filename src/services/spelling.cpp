#include "services/spelling.h"

#include "base/settings.h"
#include "base/textaccess.h"
#include "services/hunspelldictionary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// Past this many remembered answers the memory starts afresh.
constexpr int kMaxKnown = 200000;
// How much text nextMisspelt() tokenizes at a time.
constexpr int kWalkStep = 64 * 1024;

namespace texts {
QString caption() { return QStringLiteral("Sprawdzanie pisowni: ostrzeżenie"); }
QString missing(const QString &name, const QStringList &folders, bool polish)
{
    QString s
        = QStringLiteral("Nie znaleziono słownika %1 (szukano w: %2). Sprawdzanie pisowni jest wyłączone.")
              .arg(name, folders.join(QStringLiteral(", ")));
    if (polish)
        s += QStringLiteral(" Słownik polski dostarcza pakiet hunspell-pl (apt-get install hunspell-pl).");
    return s;
}
QString secondMissing(const QString &name, const QString &primary)
{
    return QStringLiteral("Nie znaleziono słownika %1; pisownia jest sprawdzana tylko słownikiem %2.")
        .arg(name, primary);
}
QString notOneWord(const QString &word) { return QStringLiteral("„%1” nie jest jednym słowem.").arg(word); }
QString writeFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("Nie można zapisać słownika osobistego %1: %2")
        .arg(QDir::toNativeSeparators(path), reason);
}
} // namespace texts

QStringList readPersonal(const QString &path)
{
    QStringList words;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return words;
    const QString all = QString::fromUtf8(f.readAll());
    for (QStringView line : QStringView(all).split(u'\n')) {
        const QString word = line.trimmed().toString();
        if (!word.isEmpty() && !words.contains(word))
            words << word;
    }
    return words;
}
} // namespace

Spelling::Spelling(const SpellingSetup &setup)
{
    const QStringList folders
        = setup.folders.isEmpty() ? HunspellDictionary::DefaultFolders() : setup.folders;
    m_personalPath = setup.personalPath.isEmpty() ? DefaultPersonalPath() : setup.personalPath;
    m_primary = std::make_unique<HunspellDictionary>(setup.primary, folders);
    if (!m_primary->isValid()) {
        m_unavailable
            = texts::missing(setup.primary, folders, setup.primary.startsWith(QStringLiteral("pl")));
        m_primary.reset();
        return;
    }
    if (!setup.second.isEmpty() && setup.second != setup.primary) {
        m_second = std::make_unique<HunspellDictionary>(setup.second, folders);
        if (!m_second->isValid()) {
            m_secondMessage = texts::secondMissing(setup.second, setup.primary);
            m_second.reset();
        }
    }
    m_personal = readPersonal(m_personalPath);
    for (const QString &word : std::as_const(m_personal))
        accept(word);
}

Spelling::~Spelling() = default;

bool Spelling::isAvailable() const { return m_primary != nullptr; }

QString Spelling::unavailableMessage() const { return m_unavailable; }

QString Spelling::secondMessage() const { return m_secondMessage; }

QString Spelling::MessageCaption() { return texts::caption(); }

bool Spelling::isCorrect(const QString &word)
{
    if (!m_primary || word.isEmpty())
        return true;
    const auto known = m_known.constFind(word);
    if (known != m_known.constEnd())
        return *known;
    const bool correct
        = m_accepted.contains(word) || m_primary->check(word) || (m_second && m_second->check(word));
    if (m_known.size() >= kMaxKnown)
        m_known.clear();
    m_known.insert(word, correct);
    return correct;
}

QStringList Spelling::suggestions(const QString &word, int max)
{
    QStringList out;
    if (!m_primary)
        return out;
    QStringList all = m_primary->suggest(word);
    if (m_second)
        all += m_second->suggest(word);
    for (const QString &s : std::as_const(all)) {
        if (out.size() >= max)
            break;
        if (!out.contains(s))
            out << s;
    }
    return out;
}

QVector<SpellWord> Spelling::misspelt(const TextAccess &text, int from, int to)
{
    return m_primary ? keepMisspelt(SpellTokenizer::Words(text, from, to)) : QVector<SpellWord>();
}

QVector<SpellWord> Spelling::misspelt(QStringView text, int from, int to)
{
    return m_primary ? keepMisspelt(SpellTokenizer::Words(text, from, to)) : QVector<SpellWord>();
}

QVector<SpellWord> Spelling::keepMisspelt(const QVector<SpellWord> &words)
{
    QVector<SpellWord> out;
    for (const SpellWord &w : words)
        if (!isCorrect(w.word))
            out.append(w);
    return out;
}

SpellWord Spelling::nextMisspelt(const TextAccess &text, int from, int limit)
{
    limit = std::min(limit, text.length());
    for (int at = std::max(0, from); m_primary && at < limit; at += kWalkStep) {
        const int to = std::min(limit, at + kWalkStep);
        // A word is looked at in the step it begins in.
        for (const SpellWord &w : SpellTokenizer::Words(text, at, to))
            if (w.position >= at && w.position < to && !isCorrect(w.word))
                return w;
    }
    return SpellWord();
}

void Spelling::accept(const QString &word)
{
    m_accepted.insert(word);
    if (m_primary)
        m_primary->add(word);
    if (m_second)
        m_second->add(word);
    // Forms the dictionaries now take (another case of the word) are looked up again.
    m_known.clear();
}

bool Spelling::addToPersonal(const QString &word, QString *error)
{
    const QString w = word.trimmed();
    if (w.isEmpty() || w.contains(QRegularExpression(QStringLiteral("\\s")))) {
        if (error)
            *error = texts::notOneWord(word);
        return false;
    }
    accept(w);
    if (m_personal.contains(w))
        return true;
    m_personal << w;
    QDir().mkpath(QFileInfo(m_personalPath).absolutePath());
    QSaveFile f(m_personalPath);
    if (f.open(QIODevice::WriteOnly)) {
        f.write((m_personal.join(u'\n') + u'\n').toUtf8());
        if (f.commit())
            return true;
    }
    if (error)
        *error = texts::writeFailed(m_personalPath, f.errorString());
    return false;
}

void Spelling::ignore(const QString &word)
{
    if (word.isEmpty())
        return;
    m_accepted.insert(word);
    m_known.insert(word, true);
}

QString Spelling::DefaultPersonalPath()
{
    const QString settingsFile = MarkoraSettings().store().fileName();
    const QFileInfo info(settingsFile);
    // On Windows the settings are a registry key, not a file.
    const QString folder = info.isAbsolute() && !settingsFile.startsWith(u'\\')
        ? info.absolutePath()
        : QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(folder).filePath(QStringLiteral("Markora-slownik.txt"));
}
