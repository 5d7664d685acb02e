#include "base/inifile.h"

#include <QFile>
#include <QStringDecoder>

bool IniFile::load(const QString &path)
{
    m_path = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        parse(QString());
        m_loaded = false;
        return false;
    }
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        // Older hand-edited copies may be in the Windows code page.
        QStringDecoder cp("windows-1250");
        text = cp.isValid() ? cp.decode(bytes) : QString::fromLatin1(bytes);
    }
    parse(text);
    m_loaded = true;
    return true;
}

void IniFile::parse(const QString &text)
{
    m_sections.clear();
    m_index.clear();
    m_loaded = true;
    int current = -1; // keys before the first section are ignored, as Windows does
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const QString line = lines.at(n).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            const QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            const QString lower = name.toLower();
            auto it = m_index.constFind(lower);
            if (it != m_index.constEnd()) {
                current = -1; // only the first section of a name is ever read
            } else {
                current = m_sections.size();
                m_index.insert(lower, current);
                Section s;
                s.name = name;
                m_sections.append(s);
            }
            continue;
        }
        if (current < 0)
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = line.left(eq).trimmed();
        const QString value = line.mid(eq + 1).trimmed();
        Section &s = m_sections[current];
        const QString lowerKey = key.toLower();
        if (s.index.contains(lowerKey))
            continue; // first occurrence wins
        s.index.insert(lowerKey, s.entries.size());
        s.entries.append(Entry { key, value, int(n + 1) });
    }
}

const IniFile::Section *IniFile::find(const QString &section) const
{
    auto it = m_index.constFind(section.trimmed().toLower());
    return it == m_index.constEnd() ? nullptr : &m_sections[it.value()];
}

QStringList IniFile::sections() const
{
    QStringList out;
    out.reserve(m_sections.size());
    for (const Section &s : m_sections)
        out << s.name;
    return out;
}

bool IniFile::hasSection(const QString &section) const { return find(section) != nullptr; }

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    if (const Section *s = find(section))
        for (const auto &e : s->entries)
            out << e.key;
    return out;
}

bool IniFile::hasKey(const QString &section, const QString &key) const
{
    const Section *s = find(section);
    return s && s->index.contains(key.trimmed().toLower());
}

QString IniFile::value(const QString &section, const QString &key, const QString &def) const
{
    const Section *s = find(section);
    if (!s)
        return def;
    auto it = s->index.constFind(key.trimmed().toLower());
    return it == s->index.constEnd() ? def : s->entries[it.value()].value;
}

int IniFile::intValue(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int v = value(section, key).toInt(&ok);
    return ok ? v : def;
}

int IniFile::line(const QString &section, const QString &key) const
{
    const Section *s = find(section);
    if (!s)
        return 0;
    auto it = s->index.constFind(key.trimmed().toLower());
    return it == s->index.constEnd() ? 0 : s->entries[it.value()].line;
}
