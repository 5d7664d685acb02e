#include "tags/tagdefs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

bool TagDefs::load(const QString &path) { return m_ini.load(path); }

void TagDefs::parse(const QString &text) { m_ini.parse(text); }

QStringList TagDefs::searchPaths()
{
    const QString rel = QStringLiteral("konfiguracja/tags.ini");
    QStringList paths;
    const QString appDir = QCoreApplication::applicationDirPath();
    if (!appDir.isEmpty()) {
        paths << QDir(appDir).filePath(rel);
        paths << QDir(appDir).filePath(QStringLiteral("../share/markora/") + rel);
    }
    const QStringList data = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &d : data)
        paths << QDir(d).filePath(QStringLiteral("markora/") + rel);
    return paths;
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

void TagDefs::expand(const QString &section, QStringList &out, QStringList &groups, QStringList &stack) const
{
    stack << section.toLower();
    for (const QString &item : splitFields(rawArgs(section))) {
        if (item.startsWith(QLatin1Char('%'))) {
            if (stack.contains(item.toLower()))
                continue; // a group that contains itself
            if (!groups.contains(item, Qt::CaseInsensitive))
                groups << item;
            expand(item, out, groups, stack);
        } else {
            out << item;
        }
    }
    stack.removeLast();
}

QStringList TagDefs::args(const QString &tag) const
{
    QStringList out, groups, stack;
    expand(tag, out, groups, stack);
    return out;
}

QStringList TagDefs::argGroups(const QString &tag) const
{
    QStringList out, groups, stack;
    expand(tag, out, groups, stack);
    return groups;
}

ArgDescriptor TagDefs::argDescriptor(const QString &tag, const QString &arg) const
{
    ArgDescriptor d;
    QString text;
    if (m_ini.hasKey(tag, arg)) {
        text = m_ini.value(tag, arg);
        d.found = true;
    } else {
        for (const QString &g : argGroups(tag)) {
            if (m_ini.hasKey(g, arg)) {
                text = m_ini.value(g, arg);
                d.found = true;
                break;
            }
        }
    }
    if (!d.found)
        return d;
    // Only ";" separates fields here: a choice list is itself a ","-separated field.
    const QStringList fields = text.split(QLatin1Char(';'));
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
