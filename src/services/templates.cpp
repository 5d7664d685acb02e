#include "services/templates.h"

#include "base/datafiles.h"
#include "services/docfile.h"
#include "services/templatefill.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

namespace {
const QString kSuffix = QStringLiteral(".html");

void addFolder(QList<TemplateEntry> &out, const QString &folder, TemplateSource source)
{
    if (folder.isEmpty())
        return;
    const QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(
        { QStringLiteral("*.html") }, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &fi : files)
        out.append({ fi.fileName().chopped(kSuffix.size()), fi.absoluteFilePath(), source });
}

QString canonicalFolder(const QString &folder)
{
    const QString c = QFileInfo(folder).canonicalFilePath();
    return c.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : c;
}
} // namespace

QString ShippedTemplateFolder() { return DataFilePath(QStringLiteral("szablony")); }

QString UserTemplateFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/markora/szablony");
}

QList<TemplateEntry> ListTemplates(const QString &shippedFolder, const QString &userFolder)
{
    QList<TemplateEntry> out;
    const bool same = !shippedFolder.isEmpty() && !userFolder.isEmpty()
        && canonicalFolder(shippedFolder) == canonicalFolder(userFolder);
    if (!same)
        addFolder(out, shippedFolder, TemplateSource::Shipped);
    addFolder(out, userFolder, TemplateSource::User);
    std::stable_sort(out.begin(), out.end(), [](const TemplateEntry &a, const TemplateEntry &b) {
        const int c = a.name.compare(b.name, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : int(a.source) < int(b.source);
    });
    return out;
}

TemplateDocument LoadTemplate(const QString &path, const DocumentEncoding &defaultEncoding, int tabWidth,
    const QString &date, const QString &time, const std::function<std::optional<QString>(QString name)> &ask)
{
    TemplateDocument doc;
    LoadOptions options;
    options.defaultEncoding = defaultEncoding;
    options.tabWidth = tabWidth;
    const LoadResult r = LoadDocumentFile(path, options);
    if (!r.ok) {
        doc.errorText = r.errorText;
        return doc;
    }
    doc.encoding = r.encoding;
    doc.lineBreak = r.lineBreak;
    std::optional<QString> filled = FillTemplate(r.text, date, time, ask);
    if (!filled) {
        doc.status = TemplateDocument::Cancelled;
        return doc;
    }
    doc.status = TemplateDocument::Filled;
    doc.text = std::move(*filled);
    return doc;
}

QString TemplateFileName(const QString &name)
{
    const QString n = name.trimmed();
    if (n.isEmpty() || n.startsWith(u'.'))
        return QString();
    for (const QChar c : n)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            return QString();
    return n.endsWith(kSuffix, Qt::CaseInsensitive) ? n : n + kSuffix;
}

TemplateSave SaveTemplate(const QString &folder, const QString &name, const QString &text,
    const DocumentEncoding &encoding, LineBreak lineBreak, bool overwrite)
{
    TemplateSave result;
    const QString fileName = TemplateFileName(name);
    if (fileName.isEmpty()) {
        result.status = TemplateSave::BadName;
        return result;
    }
    result.path = QDir(folder).filePath(fileName);
    const QFileInfo target(result.path);
    if (target.exists() || target.isSymLink()) {
        if (!overwrite) {
            result.status = TemplateSave::Exists;
            return result;
        }
        if (!target.isFile()) {
            result.errorText = QStringLiteral("%1 nie jest zwykłym plikiem").arg(result.path);
            return result;
        }
    }
    if (!QDir().mkpath(folder)) {
        result.errorText = QStringLiteral("nie można utworzyć folderu %1").arg(folder);
        return result;
    }
    QSaveFile file(result.path);
    if (!file.open(QIODevice::WriteOnly)) {
        result.errorText = file.errorString();
        return result;
    }
    file.write(EncodeDocumentText(text, encoding, lineBreak));
    if (!file.commit()) {
        result.errorText = file.errorString();
        return result;
    }
    result.status = TemplateSave::Saved;
    return result;
}
