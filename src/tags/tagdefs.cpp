#include "tags/tagdefs.h"

#include "base/datafiles.h"

#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <vector>

namespace {

const QLatin1String kKnownKinds[] = { QLatin1String("text"), QLatin1String("color"), QLatin1String("file"),
    QLatin1String("choice"), QLatin1String("bool") };

struct NamedColor
{
    const char *name;
    quint32 rgb;
};

const NamedColor kColors[] = {
    { "black", 0x000000 },
    { "maroon", 0x800000 },
    { "green", 0x008000 },
    { "olive", 0x808000 },
    { "navy", 0x000080 },
    { "purple", 0x800080 },
    { "teal", 0x008080 },
    { "gray", 0x808080 },
    { "silver", 0xC0C0C0 },
    { "red", 0xFF0000 },
    { "lime", 0x00FF00 },
    { "yellow", 0xFFFF00 },
    { "blue", 0x0000FF },
    { "fuchsia", 0xFF00FF },
    { "aqua", 0x00FFFF },
    { "white", 0xFFFFFF },
};

// The longest list the start-up box shows; a broken file must not give a box taller
// than the screen.
constexpr int kReportedProblems = 10;

QString cycleText(int line, const QString &group, const QString &via)
{
    const QString where = QStringLiteral("Błąd w pliku tags.ini, linia %1: ").arg(line);
    if (group.compare(via, Qt::CaseInsensitive) == 0)
        return where + QStringLiteral("grupa %1 wstawia samą siebie.").arg(group);
    return where + QStringLiteral("grupa %1 wstawia samą siebie przez [%2].").arg(group, via);
}

} // namespace

bool ArgDescriptor::isKnownKind() const
{
    for (const QLatin1String &k : kKnownKinds)
        if (kind == k)
            return true;
    return false;
}

QStringList ArgDescriptor::choices() const
{
    QStringList out;
    if (kind != QLatin1String("choice") || extra.isEmpty())
        return out;
    const QStringList items = extra.first().split(QLatin1Char(','));
    for (const QString &item : items) {
        const QString t = item.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

QString ArgDescriptor::fileFilter() const
{
    return kind == QLatin1String("file") && !extra.isEmpty() ? extra.first() : QString();
}

bool TagDefs::load(const QString &path)
{
    const bool ok = m_ini.load(path);
    buildArgItems();
    findCycles();
    findSharedGroups();
    return ok;
}

void TagDefs::parse(const QString &text)
{
    m_ini.parse(text);
    buildArgItems();
    findCycles();
    findSharedGroups();
}

void TagDefs::buildArgItems()
{
    const QStringList names = m_ini.sections();
    m_sectionIndex.clear();
    m_sectionIndex.reserve(names.size());
    for (int i = 0; i < int(names.size()); ++i)
        m_sectionIndex.insert(names.at(i).toLower(), i);
    m_argItems.assign(size_t(names.size()), {});
    for (int i = 0; i < int(names.size()); ++i) {
        for (const QString &field : splitFields(rawArgs(names.at(i)))) {
            ArgItem item;
            item.name = field;
            item.isGroup = field.startsWith(QLatin1Char('%'));
            if (item.isGroup)
                item.section = m_sectionIndex.value(field.toLower(), -1);
            m_argItems[size_t(i)].push_back(item);
        }
    }
}

QString TagDefs::problemsCaption() { return QStringLiteral("Tagi: błąd"); }

QString TagDefs::problemsReport(const QList<Problem> &problems)
{
    QStringList lines;
    for (int i = 0; i < problems.size() && i < kReportedProblems; ++i)
        lines << problems.at(i).text;
    if (problems.size() > kReportedProblems)
        lines << QStringLiteral("Dalszych błędów: %1.").arg(problems.size() - kReportedProblems);
    return lines.join(QLatin1Char('\n'));
}

// A depth-first walk over the "%" references of all sections, with its own stack so
// that a long chain of groups cannot exhaust the call stack. A reference to a group
// still on the walk's path closes a cycle; each such reference is reported once.
void TagDefs::findCycles()
{
    m_problems.clear();
    const QStringList names = m_ini.sections();
    const int count = int(names.size());
    std::vector<std::vector<int>> refs(m_argItems.size());
    for (int i = 0; i < count; ++i)
        for (const ArgItem &item : m_argItems[size_t(i)])
            if (item.section >= 0)
                refs[size_t(i)].push_back(item.section);

    enum : quint8 { Unseen, OnPath, Done };
    std::vector<quint8> state(count, Unseen);
    struct Frame
    {
        int section;
        size_t next;
    };
    std::vector<Frame> path;
    for (int root = 0; root < count; ++root) {
        if (state[root] != Unseen)
            continue;
        state[root] = OnPath;
        path.push_back({ root, 0 });
        while (!path.empty()) {
            Frame &top = path.back();
            if (top.next == refs[top.section].size()) {
                state[top.section] = Done;
                path.pop_back();
                continue;
            }
            const int from = top.section;
            const int to = refs[from][top.next++];
            if (state[to] == Unseen) {
                state[to] = OnPath;
                path.push_back({ to, 0 });
            } else if (state[to] == OnPath) {
                const int line = m_ini.line(names.at(from), QStringLiteral("args"));
                m_problems.append({ line, cycleText(line, names.at(to), names.at(from)) });
            }
        }
    }
    // The walk meets the cycles in its own order; the user reads the file top down. A
    // group named twice on one line is one mistake.
    std::sort(m_problems.begin(), m_problems.end(), [](const Problem &a, const Problem &b) {
        return a.line != b.line ? a.line < b.line : a.text < b.text;
    });
    m_problems.erase(std::unique(m_problems.begin(), m_problems.end(),
                         [](const Problem &a, const Problem &b) { return a.text == b.text; }),
        m_problems.end());
}

void TagDefs::findSharedGroups()
{
    const size_t count = m_argItems.size();
    m_sharedGroup.assign(count, false);
    std::vector<int> reachedBy(count, 0);
    std::vector<int> mark(count, -1); // the tag whose walk last reached the section
    int tags = 0;
    std::vector<int> pending;
    const QStringList names = m_ini.sections();
    for (int root = 0; root < int(count); ++root) {
        if (names.at(root).startsWith(QLatin1Char('_')) || names.at(root).startsWith(QLatin1Char('%')))
            continue;
        ++tags;
        mark[size_t(root)] = root;
        pending.assign(1, root);
        while (!pending.empty()) {
            const int section = pending.back();
            pending.pop_back();
            for (const ArgItem &item : m_argItems[size_t(section)]) {
                if (item.section < 0 || mark[size_t(item.section)] == root)
                    continue;
                mark[size_t(item.section)] = root;
                ++reachedBy[size_t(item.section)];
                pending.push_back(item.section);
            }
        }
    }
    const int threshold = std::max(2, (tags + 1) / 2);
    for (size_t i = 0; i < count; ++i)
        m_sharedGroup[i] = reachedBy[i] >= threshold;
}

QStringList TagDefs::searchPaths()
{
    return DataFolders::current().candidates(QStringLiteral("konfiguracja/tags.ini"));
}

const TagDefs &TagDefs::shared()
{
    static const TagDefs defs = [] {
        TagDefs d;
        for (const QString &p : searchPaths())
            if (QFileInfo::exists(p) && d.load(p))
                break;
        return d;
    }();
    return defs;
}

QStringList TagDefs::tagNames() const
{
    QStringList out;
    for (const QString &s : m_ini.sections())
        if (!s.startsWith(QLatin1Char('_')) && !s.startsWith(QLatin1Char('%')))
            out << s;
    return out;
}

bool TagDefs::hasTag(const QString &tag) const
{
    return !tag.startsWith(QLatin1Char('_')) && !tag.startsWith(QLatin1Char('%')) && m_ini.hasSection(tag);
}

QString TagDefs::info(const QString &tag) const { return m_ini.value(tag, QStringLiteral("Info")); }

QString TagDefs::rawArgs(const QString &tag) const { return m_ini.value(tag, QStringLiteral("args")); }

QStringList TagDefs::splitFields(const QString &text)
{
    QStringList out;
    int from = 0;
    const int n = int(text.size());
    for (int i = 0; i <= n; ++i) {
        if (i == n || text.at(i) == QLatin1Char(',') || text.at(i) == QLatin1Char(';')) {
            const QString item = text.mid(from, i - from).trimmed();
            if (!item.isEmpty())
                out << item;
            from = i + 1;
        }
    }
    return out;
}

// Each group is expanded once, where it is first met, with an explicit stack: a
// "diamond" of groups that names one group twice at every level costs no more than a
// list, and a chain of any length cannot exhaust the call stack.
TagDefs::Expansion TagDefs::expand(const QString &tag) const
{
    Expansion out;
    const int root = m_sectionIndex.value(tag.trimmed().toLower(), -1);
    if (root < 0)
        return out;
    std::vector<bool> seen(m_argItems.size());
    seen[size_t(root)] = true;
    QSet<QString> missingSeen; // groups the file lacks: listed once, expand to nothing
    struct Frame
    {
        int section;
        size_t next;
        bool shared; // this group or one that pulled it in is shared
    };
    std::vector<Frame> stack { { root, 0, false } };
    while (!stack.empty()) {
        Frame &top = stack.back();
        const std::vector<ArgItem> &items = m_argItems[size_t(top.section)];
        if (top.next == items.size()) {
            stack.pop_back();
            continue;
        }
        const ArgItem &item = items[top.next++];
        if (!item.isGroup) {
            out.args << item.name;
            out.viaShared << top.shared;
        } else if (item.section < 0) {
            const QString lower = item.name.toLower();
            if (!missingSeen.contains(lower)) {
                missingSeen.insert(lower);
                out.groups << item.name;
            }
        } else if (!seen[size_t(item.section)]) {
            seen[size_t(item.section)] = true;
            out.groups << item.name;
            const bool shared = top.shared || m_sharedGroup[size_t(item.section)];
            stack.push_back({ item.section, 0, shared });
        }
    }
    return out;
}

QStringList TagDefs::args(const QString &tag) const { return expand(tag).args; }

QStringList TagDefs::argGroups(const QString &tag) const { return expand(tag).groups; }

ArgDescriptor TagDefs::argDescriptor(const QString &tag, const QString &arg) const
{
    if (m_ini.hasKey(tag, arg))
        return describe(m_ini.value(tag, arg));
    for (const QString &g : argGroups(tag))
        if (m_ini.hasKey(g, arg))
            return describe(m_ini.value(g, arg));
    if (isOpenAttribute(arg) && hasTag(tag))
        return openAttributeDescriptor();
    return ArgDescriptor();
}

QList<TagArg> TagDefs::argList(const QString &tag) const
{
    const Expansion e = expand(tag);
    // The key of each name as argDescriptor() finds it: the tag's own first, then the
    // groups in the order met; the first one wins.
    QHash<QString, QString> keyTexts;
    const auto collect = [&](const QString &section) {
        for (const QString &key : m_ini.keys(section)) {
            const QString lower = key.toLower();
            if (!keyTexts.contains(lower))
                keyTexts.insert(lower, m_ini.value(section, key));
        }
    };
    collect(tag);
    for (const QString &g : e.groups)
        collect(g);
    QList<TagArg> out;
    out.reserve(e.args.size());
    // Names the tag's own "args" lists itself, not through a group.
    QSet<QString> ownNames;
    const int section = m_sectionIndex.value(tag.trimmed().toLower(), -1);
    if (section >= 0)
        for (const ArgItem &item : m_argItems[size_t(section)])
            if (!item.isGroup)
                ownNames.insert(item.name.toLower());
    const bool known = hasTag(tag);
    for (int i = 0; i < int(e.args.size()); ++i) {
        const QString &arg = e.args.at(i);
        const QString lower = arg.toLower();
        const auto it = keyTexts.constFind(lower);
        TagArg a { arg, it == keyTexts.constEnd() ? ArgDescriptor() : describe(it.value()), ArgScope::Own };
        if (!a.desc.found && known && isOpenAttribute(arg))
            a.desc = openAttributeDescriptor();
        // Event handlers are all named "on..."; one the tag lists itself stays its own.
        if (lower.startsWith(QLatin1String("on")) && !ownNames.contains(lower))
            a.scope = ArgScope::Handler;
        else if (e.viaShared.at(i))
            a.scope = ArgScope::Shared;
        out.append(a);
    }
    return out;
}

QList<TagArg> TagDefs::offeredArgs(const QString &tag) const
{
    const QList<TagArg> all = argList(tag);
    QList<TagArg> out;
    out.reserve(all.size());
    for (const ArgScope scope : { ArgScope::Own, ArgScope::Shared, ArgScope::Handler })
        for (const TagArg &a : all)
            if (a.scope == scope)
                out.append(a);
    return out;
}

bool TagDefs::isOpenAttribute(const QString &name)
{
    if (name.compare(QLatin1String("role"), Qt::CaseInsensitive) == 0)
        return true;
    return name.size() > 5
        && (name.startsWith(QLatin1String("data-"), Qt::CaseInsensitive)
            || name.startsWith(QLatin1String("aria-"), Qt::CaseInsensitive));
}

ArgDescriptor TagDefs::openAttributeDescriptor()
{
    ArgDescriptor d;
    d.found = true;
    d.kind = QStringLiteral("text");
    d.quoted = true;
    return d;
}

ArgDescriptor TagDefs::describe(const QString &keyText)
{
    ArgDescriptor d;
    d.found = true;
    // Only ";" separates fields here: a choice list is itself a ","-separated field.
    const QStringList fields = keyText.split(QLatin1Char(';'));
    d.kind = fields.value(0).trimmed().toLower();
    d.quoted = fields.value(1).trimmed() == QLatin1String("\"");
    for (int i = 2; i < fields.size(); ++i)
        d.extra << fields.at(i).trimmed();
    return d;
}

int TagDefs::ends(const QString &tag) const { return m_ini.intValue(tag, QStringLiteral("ends"), 0); }

QString TagDefs::grp(const QString &tag) const
{
    const QString g = m_ini.value(tag, QStringLiteral("grp"));
    return g.isEmpty() ? QStringLiteral("_Format") : g;
}

quint32 TagDefs::clr(const QString &tag) const
{
    quint32 rgb = 0;
    return colorFromName(m_ini.value(tag, QStringLiteral("clr")), &rgb) ? rgb : 0x000000;
}

quint32 TagDefs::groupColor(const QString &group) const
{
    quint32 rgb = 0;
    return colorFromName(m_ini.value(group, QStringLiteral("color")), &rgb) ? rgb : 0x000080;
}

bool TagDefs::colorFromName(const QString &name, quint32 *rgb)
{
    QString n = name.trimmed();
    if (n.startsWith(QLatin1Char('#'))) {
        if (n.size() != 7)
            return false;
        bool ok = false;
        const uint v = QStringView(n).mid(1).toUInt(&ok, 16);
        if (!ok)
            return false;
        *rgb = v;
        return true;
    }
    n = n.toLower();
    if (n.startsWith(QLatin1String("cl")) && n != QLatin1String("cl"))
        n = n.mid(2);
    for (const NamedColor &c : kColors) {
        if (n == QLatin1String(c.name)) {
            *rgb = c.rgb;
            return true;
        }
    }
    return false;
}
