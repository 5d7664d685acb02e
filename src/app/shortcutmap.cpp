#include "app/shortcutmap.h"

#include "base/settings.h"

namespace {
const QString kShortcutz = QStringLiteral("Shortcutz");

// The sequences of a key text, each as its chords.
QList<QStringList> sequences(const QString &keys)
{
    QList<QStringList> out;
    for (const QString &seq : keys.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        QStringList chords = seq.split(QStringLiteral(", "), Qt::SkipEmptyParts);
        for (QString &c : chords)
            c = c.trimmed();
        chords.removeAll(QString());
        if (!chords.isEmpty())
            out << chords;
    }
    return out;
}

bool startsWith(const QStringList &longer, const QStringList &shorter)
{
    if (shorter.size() > longer.size())
        return false;
    for (qsizetype i = 0; i < shorter.size(); ++i)
        if (longer[i].compare(shorter[i], Qt::CaseInsensitive) != 0)
            return false;
    return true;
}
} // namespace

ShortcutMap::ShortcutMap(QList<ShortcutCommand> commands)
    : m_commands(std::move(commands))
{
}

int ShortcutMap::indexOf(const QString &objectName) const
{
    for (int i = 0; i < m_commands.size(); ++i)
        if (m_commands[i].objectName == objectName)
            return i;
    return -1;
}

bool ShortcutMap::clash(const QString &a, const QString &b)
{
    const QList<QStringList> sa = sequences(a);
    const QList<QStringList> sb = sequences(b);
    for (const QStringList &x : sa)
        for (const QStringList &y : sb)
            if (startsWith(x, y) || startsWith(y, x))
                return true;
    return false;
}

int ShortcutMap::conflictWith(int index, const QString &keys) const
{
    for (int i = 0; i < m_commands.size(); ++i)
        if (i != index && clash(keys, m_commands[i].keys))
            return i;
    return -1;
}

int ShortcutMap::setKeys(int index, const QString &keys)
{
    if (index < 0 || index >= m_commands.size())
        return -1;
    const int other = conflictWith(index, keys);
    if (other < 0)
        m_commands[index].keys = keys;
    return other;
}

QStringList ShortcutMap::readStored(
    const MarkoraSettings &settings, const std::function<QString(const QString &)> &normalize)
{
    QList<int> stored;
    for (int i = 0; i < m_commands.size(); ++i) {
        ShortcutCommand &c = m_commands[i];
        const QString key = MarkoraSettings::nameToKey(c.objectName);
        if (c.objectName.isEmpty() || !settings.contains(kShortcutz, key))
            continue;
        const QString value = settings.readString(kShortcutz, key);
        c.keys = normalize ? normalize(value) : value;
        stored << i;
    }
    // A hand-edited store may give two commands the same keys: of two that clash, the
    // first in the map's order falls back to its default, and so on until nothing clashes
    // (each round drops one value at least, so it ends).
    QStringList dropped;
    for (bool changed = true; changed;) {
        changed = false;
        for (qsizetype s = 0; s < stored.size(); ++s) {
            const int i = stored[s];
            if (conflictWith(i, m_commands[i].keys) < 0)
                continue;
            m_commands[i].keys = m_commands[i].defaultKeys;
            dropped << m_commands[i].objectName;
            stored.removeAt(s--);
            changed = true;
        }
    }
    return dropped;
}

void ShortcutMap::writeStored(MarkoraSettings &settings, int index) const
{
    if (index < 0 || index >= m_commands.size())
        return;
    const ShortcutCommand &c = m_commands[index];
    const QString key = MarkoraSettings::nameToKey(c.objectName);
    if (c.keys == c.defaultKeys)
        settings.remove(kShortcutz, key);
    else
        settings.writeString(kShortcutz, key, c.keys);
}
