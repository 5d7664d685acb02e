#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class MarkoraSettings;

// One command that may have a shortcut. Keys are in QKeySequence's portable text: the
// sequences of a command joined by "; ", the key chords of a sequence by ", " (as
// QKeySequence::listToString gives them), e.g. "Ctrl+B" or "Ctrl+K, Ctrl+C; F5".
struct ShortcutCommand
{
    QString objectName; // the command's identity (its action's object name)
    QString caption; // what the user reads
    QString defaultKeys; // the shortcut the program gives it
    QString keys; // the shortcut it has now
};

// The shortcuts of every command and the store that keeps the user's choices in section
// "Shortcutz": key = the command's object name, value = its keys (empty: none). Only a
// command whose keys differ from its default has a value there; values of commands not
// in the map (a plug-in's, say) are left alone.
class ShortcutMap
{
public:
    explicit ShortcutMap(QList<ShortcutCommand> commands = {});

    const QList<ShortcutCommand> &commands() const { return m_commands; }
    int indexOf(const QString &objectName) const;

    // True when two key texts cannot both be shortcuts: some sequence of one equals, or
    // begins, some sequence of the other (Ctrl+K would swallow Ctrl+K, Ctrl+C). Empty
    // texts clash with nothing.
    static bool clash(const QString &a, const QString &b);
    // The first command other than index whose keys clash with keys; -1 when none.
    int conflictWith(int index, const QString &keys) const;
    // Gives the command keys unless they clash: returns -1 when they were set, otherwise
    // the index of the command they clash with (and nothing changes).
    int setKeys(int index, const QString &keys);
    int restoreDefault(int index) { return setKeys(index, m_commands[index].defaultKeys); }

    // Takes the stored keys of every command, through normalize (QKeySequence's reading
    // of a hand-edited value). A stored value that clashes with another command's keys is
    // not taken (the command keeps its default; of two stored values that clash, the first
    // command's) and its command is listed in the result.
    QStringList readStored(
        const MarkoraSettings &settings, const std::function<QString(const QString &)> &normalize = {});
    // Stores one command's keys: its value is removed when they are its default.
    void writeStored(MarkoraSettings &settings, int index) const;

private:
    QList<ShortcutCommand> m_commands;
};
