#pragma once

#include "base/inifile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The kind of one argument as its key in tags.ini describes it: "kind;quote;extra...".
struct ArgDescriptor
{
    bool found = false; // the key exists somewhere the tag can see it
    QString kind; // lower-cased: "text", "color", "file", "choice", "bool" (or whatever was written)
    bool quoted = false; // the second field is exactly one double quote
    QStringList extra; // the fields after the quote field, trimmed

    bool isKnownKind() const;
    // For "choice" only: the first extra field split at ",", trimmed, empty items dropped.
    QStringList choices() const;
    // For "file" only: the first extra field (a file-dialog filter), empty when none.
    QString fileFilter() const;
};

// Where an argument of a tag comes from, for the order the inspector and the parameter
// list show them in.
enum class ArgScope {
    Own, // the tag's own section, or a "%" group few tags pull in
    Shared, // a "%" group that most tags pull in (the global attributes)
    Handler, // an event handler: a name starting with "on", from a "%" group
};

// One argument of a tag with its description, as the inspector and the parameter list
// show it.
struct TagArg
{
    QString name;
    ArgDescriptor desc;
    ArgScope scope = ArgScope::Own;
};

// Read-only view of tags.ini: tag sections, "%" shared argument groups and "_" colour
// groups. Every query is by tag name as written in a document; names compare
// case-insensitively. Missing sections or keys give empty results, never errors.
class TagDefs
{
public:
    TagDefs() = default;

    bool load(const QString &path);
    void parse(const QString &text);
    const IniFile &ini() const { return m_ini; }

    // What is wrong in the file, found when it is read, in file order. Each text names
    // its line: "Błąd w pliku tags.ini, linia N: ...". The definitions stay usable; the
    // faulty part is left out.
    struct Problem
    {
        int line = 0;
        QString text;
    };
    const QList<Problem> &problems() const { return m_problems; }
    // The problems as one message for the start-up box; empty when there are none.
    // Long lists are cut, with the number of the rest.
    static QString problemsReport(const QList<Problem> &problems);
    static QString problemsCaption(); // "Tagi: błąd"

    // The definitions of the program, loaded once from the first konfiguracja/tags.ini of
    // searchPaths() that loads (the user's copy first; base/datafiles.h); empty when none does.
    static const TagDefs &shared();
    // Where shared() looks, in order.
    static QStringList searchPaths();

    // Tag sections (not "_" or "%"), in file order.
    QStringList tagNames() const;
    bool hasTag(const QString &tag) const;
    // "Info", empty when missing (a tag without it counts as unknown).
    QString info(const QString &tag) const;
    // "args" as written.
    QString rawArgs(const QString &tag) const;
    // "args" split at "," and ";", trimmed, with each "%" item replaced in place by the
    // items of the section it names, recursively. Each group is expanded once, where it
    // is first met: a later mention of it (a repeat or a cycle) adds nothing, so the
    // cost is linear in the groups reached. A missing group gives nothing.
    QStringList args(const QString &tag) const;
    // The "%" group sections that args(tag) walks through, in the order first met.
    QStringList argGroups(const QString &tag) const;
    // args(tag), each with its argDescriptor and scope, in one walk over the groups.
    QList<TagArg> argList(const QString &tag) const;
    // The arguments as the inspector and the parameter list offer them: the tag's own
    // first, then the shared ones, then the event handlers, each part in file order.
    QList<TagArg> offeredArgs(const QString &tag) const;
    // The argument's key: first in the tag's own section, then in the "%" groups its
    // "args" pulls in (so shared attributes are described once, in their group).
    ArgDescriptor argDescriptor(const QString &tag, const QString &arg) const;
    // ROLE, and any name that starts with "data-" or "aria-" and goes on: attributes every
    // element may carry. argDescriptor() describes them as quoted text when the file
    // does not.
    static bool isOpenAttribute(const QString &name);
    // "ends": 0 no closing tag, 1 always one, other values optional; missing reads 0.
    int ends(const QString &tag) const;
    // "grp", default "_Format".
    QString grp(const QString &tag) const;
    // "clr" as 0xRRGGBB; black when missing or not a known colour name.
    quint32 clr(const QString &tag) const;
    // "color" of a colour group section as 0xRRGGBB; navy when missing or unknown.
    quint32 groupColor(const QString &group) const;

    // Splits at "," and ";", trims, drops empty items.
    static QStringList splitFields(const QString &text);
    // One of the sixteen basic colour names (optionally with the "cl" prefix, any
    // case) or "#RRGGBB". False when the text is neither.
    static bool colorFromName(const QString &name, quint32 *rgb);

private:
    struct Expansion
    {
        QStringList args;
        QStringList groups;
        QList<bool> viaShared; // per argument: it came through a shared group
    };
    // One item of a section's "args": an argument name, or a "%" group with the index
    // of its section (-1 when the file has no such section).
    struct ArgItem
    {
        QString name;
        bool isGroup = false;
        int section = -1;
    };

    Expansion expand(const QString &tag) const;
    static ArgDescriptor describe(const QString &keyText);
    static ArgDescriptor openAttributeDescriptor();
    // Reads every section's "args" once, so that expansions walk indexes, not names.
    void buildArgItems();
    void findCycles();
    // Marks the groups that at least half of the tags (two at least) reach.
    void findSharedGroups();

    IniFile m_ini;
    QList<Problem> m_problems;
    QHash<QString, int> m_sectionIndex; // lower-cased section name -> index in sections()
    std::vector<std::vector<ArgItem>> m_argItems; // per section, in file order
    std::vector<bool> m_sharedGroup; // per section
};
