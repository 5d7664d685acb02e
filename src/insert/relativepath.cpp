#include "insert/relativepath.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#define S(x) QStringLiteral(x)

namespace {

struct SplitPath
{
    QString root; // "C:", "//server/share" (as written), "/"; empty when the path is not absolute
    QStringList parts; // folders and the name, ".." resolved
    bool windows = false; // a drive or a share: names compare without letter case
};

SplitPath split(const QString &path)
{
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    SplitPath s;
    qsizetype rest = 0;
    if (p.size() >= 2 && p[1] == u':' && p[0].isLetter() && p[0].unicode() < 128) {
        s.root = p.left(1).toUpper() + QLatin1Char(':');
        s.windows = true;
        rest = 2;
    } else if (p.startsWith(QLatin1String("//"))) {
        const QStringList head = p.mid(2).split(QLatin1Char('/'));
        if (head.size() < 2 || head[0].isEmpty() || head[1].isEmpty())
            return s;
        s.root = S("//") + head[0] + QLatin1Char('/') + head[1];
        s.windows = true;
        rest = 2 + head[0].size() + 1 + head[1].size();
    } else if (p.startsWith(QLatin1Char('/'))) {
        s.root = S("/");
    } else {
        return s;
    }
    for (const QString &part : p.mid(rest).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!s.parts.isEmpty())
                s.parts.removeLast();
            continue;
        }
        s.parts << part;
    }
    return s;
}

// One name of a path as an address holds it: what a path segment may hold stays, the rest
// is percent-encoded (":" too, which would read as a scheme in a relative address).
QString encodeName(const QString &name)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(name, "!$&'()*+,;=@"));
}

QString encodePath(const QStringList &parts)
{
    QStringList encoded;
    for (const QString &part : parts)
        encoded << encodeName(part);
    return encoded.join(QLatin1Char('/'));
}

QString fileUrl(const SplitPath &p)
{
    if (p.root.startsWith(QLatin1String("//")))
        return S("file:") + p.root.left(2) + encodePath(p.root.mid(2).split(QLatin1Char('/')))
            + QLatin1Char('/') + encodePath(p.parts);
    if (p.root == QLatin1String("/"))
        return S("file:///") + encodePath(p.parts);
    return S("file:///") + p.root + QLatin1Char('/') + encodePath(p.parts);
}

} // namespace

LinkPath RelativeLink(const QString &documentFile, const QString &file)
{
    const SplitPath target = split(file);
    if (documentFile.isEmpty())
        return { fileUrl(target), LinkPathKind::Unsaved };
    const SplitPath doc = split(documentFile);
    const Qt::CaseSensitivity cs = doc.windows ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (doc.root.isEmpty() || target.root.isEmpty() || doc.root.compare(target.root, cs) != 0
        || doc.parts.isEmpty() || target.parts.isEmpty())
        return { fileUrl(target), LinkPathKind::OtherRoot };

    const QStringList folder = doc.parts.mid(0, doc.parts.size() - 1);
    qsizetype common = 0;
    while (common < folder.size() && common < target.parts.size() - 1
        && folder[common].compare(target.parts[common], cs) == 0)
        ++common;
    // A way up to the root itself joins places that share nothing but the disk.
    if (common == 0 && !folder.isEmpty())
        return { fileUrl(target), LinkPathKind::OtherRoot };
    QString href = S("../").repeated(folder.size() - common);
    href += encodePath(target.parts.mid(common));
    return { href, LinkPathKind::Relative };
}

QString LinkPathNote(LinkPathKind kind)
{
    switch (kind) {
    case LinkPathKind::Unsaved:
        return S("Dokument nie jest jeszcze zapisany, więc adres jest bezwzględny (file:). Zapisz dokument "
                 "i wybierz plik jeszcze raz, a adres będzie względny.");
    case LinkPathKind::OtherRoot:
        return S("Plik leży na innym dysku albo nie ma z dokumentem wspólnego folderu, więc adres jest "
                 "bezwzględny (file:).");
    case LinkPathKind::Relative:
        break;
    }
    return QString();
}

QString LinkToLocalFile(const QString &documentFile, const QString &href)
{
    const QString h = href.trimmed();
    if (h.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(h);
        // "file:///C:/x" is a Windows path wherever it is read.
        QString path = url.path();
        if (path.size() >= 3 && path[0] == u'/' && path[2] == u':')
            path.remove(0, 1);
        if (!url.host().isEmpty())
            return S("//") + url.host() + path;
        return path;
    }
    static const QRegularExpression scheme(S("^[A-Za-z][A-Za-z0-9+.-]*:"));
    if (h.isEmpty() || documentFile.isEmpty() || h.startsWith(QLatin1Char('#'))
        || h.startsWith(QLatin1Char('/')) || scheme.match(h).hasMatch())
        return QString();
    QString relative = h.left(h.indexOf(QRegularExpression(S("[?#]"))));
    relative = QUrl::fromPercentEncoding(relative.toUtf8());
    QString folder = documentFile;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    folder = folder.left(folder.lastIndexOf(QLatin1Char('/')) + 1);
    const QString joined = folder + relative;
    // A share's leading "//" is no doubled separator.
    if (joined.startsWith(QLatin1String("//")))
        return S("//") + QDir::cleanPath(joined.mid(2));
    return QDir::cleanPath(joined);
}
