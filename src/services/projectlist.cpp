#include "services/projectlist.h"

#include <QStringDecoder>
#include <algorithm>

namespace {
constexpr QStringView kProjekt = u"Projekt:";
constexpr QStringView kUtworzony = u"Utworzony:";
constexpr QStringView kDokument = u"Dokument:";
const QString kDateFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kHeadComment[] = {
    QStringLiteral("; Projekty programu Markora (UTF-8): wiersz \"Projekt: nazwa\" zaczyna projekt, po nim"),
    QStringLiteral("; \"Utworzony: RRRR-MM-DD GG:MM:SS\" i wiersze \"Dokument: pełna ścieżka\"."),
};

// The value after key (case ignored) with one space after the colon dropped; a null view
// when the line does not start with key.
QStringView valueAfter(QStringView line, QStringView key)
{
    if (!line.startsWith(key, Qt::CaseInsensitive))
        return QStringView();
    QStringView v = line.mid(key.size());
    if (v.startsWith(u' '))
        v = v.mid(1);
    return v.isNull() ? QStringView(u"") : v;
}
} // namespace

QStringList Project::documents() const
{
    QStringList out;
    for (const ProjectLine &l : lines)
        if (!l.document.isEmpty())
            out << l.document;
    return out;
}

bool ProjectList::isValidName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return false;
    return std::none_of(
        name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
}

ProjectList::ProjectList()
{
    for (const QString &comment : kHeadComment)
        m_head.append(comment.toUtf8());
}

ProjectList ProjectList::parse(QByteArrayView bytes, QList<ProjectProblem> *problems)
{
    ProjectList list;
    list.m_head.clear();
    QByteArrayView rest = bytes;
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    int lineNo = 0;
    bool dated = false; // the current project has its "Utworzony:" already
    while (!rest.isEmpty()) {
        const qsizetype nl = rest.indexOf('\n');
        QByteArrayView raw = nl < 0 ? rest : rest.first(nl);
        rest = nl < 0 ? QByteArrayView() : rest.sliced(nl + 1);
        ++lineNo;
        if (raw.endsWith('\r'))
            raw.chop(1);

        Project *current = list.m_projects.isEmpty() ? nullptr : &list.m_projects.last();
        auto keep = [&](bool damaged) {
            const QByteArray kept = raw.toByteArray();
            if (current)
                current->lines.append({ QString(), kept });
            else
                list.m_head.append(kept);
            if (damaged && problems)
                problems->append({ lineNo, QString::fromUtf8(raw.first(qMin<qsizetype>(raw.size(), 80))) });
        };

        QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decode(raw);
        if (decode.hasError()) {
            keep(true);
            continue;
        }
        const QStringView trimmed = QStringView(line).trimmed();
        if (trimmed.isEmpty())
            continue;
        if (trimmed.startsWith(u';') || trimmed.startsWith(u'#')) {
            keep(false);
            continue;
        }
        if (const QStringView name = valueAfter(line, kProjekt); !name.isNull()) {
            if (!isValidName(name.trimmed().toString())) {
                keep(true);
                continue;
            }
            list.m_projects.append({ name.trimmed().toString(), QDateTime(), {} });
            dated = false;
            continue;
        }
        if (const QStringView date = valueAfter(line, kUtworzony); !date.isNull()) {
            const QDateTime created = QDateTime::fromString(date.trimmed().toString(), kDateFormat);
            if (!current || dated || !created.isValid()) {
                keep(true);
                continue;
            }
            current->created = created;
            dated = true;
            continue;
        }
        if (const QStringView path = valueAfter(line, kDokument); !path.isNull()) {
            if (!current || path.trimmed().isEmpty()) {
                keep(true);
                continue;
            }
            current->lines.append({ path.toString(), QByteArray() });
            continue;
        }
        keep(true);
    }
    return list;
}

QByteArray ProjectList::toBytes() const
{
    QByteArray out;
    const auto line = [&out](QByteArrayView bytes) {
        out += bytes;
        out += "\r\n";
    };
    for (const QByteArray &kept : m_head)
        line(kept);
    for (const Project &p : m_projects) {
        if (!out.isEmpty())
            line("");
        line((kProjekt.toString() + u' ' + p.name).toUtf8());
        if (p.created.isValid())
            line((kUtworzony.toString() + u' ' + p.created.toString(kDateFormat)).toUtf8());
        for (const ProjectLine &l : p.lines)
            line(l.document.isEmpty() ? l.kept : (kDokument.toString() + u' ' + l.document).toUtf8());
    }
    return out;
}

int ProjectList::indexOf(const QString &name) const
{
    for (int i = 0; i < m_projects.size(); ++i)
        if (m_projects[i].name == name)
            return i;
    return -1;
}

bool ProjectList::addProject(const QString &name, const QDateTime &created)
{
    if (!isValidName(name) || indexOf(name) >= 0)
        return false;
    m_projects.append({ name, created, {} });
    return true;
}

void ProjectList::removeProject(int index)
{
    if (index < 0 || index >= m_projects.size())
        return;
    for (const ProjectLine &l : m_projects[index].lines)
        if (l.document.isEmpty())
            m_head.append(l.kept);
    m_projects.removeAt(index);
}

bool ProjectList::addDocument(int project, const QString &path)
{
    if (project < 0 || project >= m_projects.size() || path.trimmed().isEmpty()
        || m_projects[project].documents().contains(path))
        return false;
    m_projects[project].lines.append({ path, QByteArray() });
    return true;
}

bool ProjectList::removeDocument(int project, const QString &path)
{
    if (project < 0 || project >= m_projects.size())
        return false;
    QList<ProjectLine> &lines = m_projects[project].lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].document == path) {
            lines.removeAt(i);
            return true;
        }
    }
    return false;
}
