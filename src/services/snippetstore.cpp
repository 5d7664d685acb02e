#include "services/snippetstore.h"

#include "base/settings.h"

#include <algorithm>

namespace {
const QString kWstawki = QStringLiteral("Wstawki");

} // namespace

SnippetStore::SnippetStore(MarkoraSettings &settings)
    : m_settings(settings)
{
}

bool SnippetStore::isValidName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    return std::none_of(
        name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

QList<Snippet> SnippetStore::all() const
{
    QList<Snippet> out;
    for (const QString &key : m_settings.keys(kWstawki)) {
        const QString name = MarkoraSettings::keyToName(key);
        if (isValidName(name))
            out.append({ name, m_settings.readString(kWstawki, key) });
    }
    std::sort(out.begin(), out.end(), [](const Snippet &a, const Snippet &b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.name < b.name;
    });
    return out;
}

std::optional<QString> SnippetStore::text(const QString &name) const
{
    if (!isValidName(name) || !m_settings.contains(kWstawki, MarkoraSettings::nameToKey(name)))
        return std::nullopt;
    return m_settings.readString(kWstawki, MarkoraSettings::nameToKey(name));
}

QString SnippetStore::existingName(const QString &name) const
{
    for (const Snippet &s : all())
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return s.name;
    return QString();
}

bool SnippetStore::put(const QString &name, const QString &text)
{
    if (!isValidName(name))
        return false;
    m_settings.writeString(kWstawki, MarkoraSettings::nameToKey(name), text);
    return true;
}

void SnippetStore::remove(const QString &name)
{
    m_settings.remove(kWstawki, MarkoraSettings::nameToKey(name));
}

bool SnippetStore::rename(const QString &from, const QString &to)
{
    const std::optional<QString> body = text(from);
    if (!body || !isValidName(to))
        return false;
    const QString other = existingName(to);
    if (!other.isEmpty() && other.compare(from, Qt::CaseInsensitive) != 0)
        return false;
    remove(from);
    put(to, *body);
    return true;
}
