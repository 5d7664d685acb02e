#pragma once

#include "base/documentencoding.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

// Templates are the "*.html" files of two folders: the ones shipped with the program
// ("szablony" of the data files) and the user's own, where "Zapisz jako szablon..." puts
// new ones.

enum class TemplateSource { Shipped, User };

struct TemplateEntry
{
    QString name; // the file name without ".html"
    QString path; // absolute
    TemplateSource source = TemplateSource::Shipped;
};

// The shipped templates: "szablony" beside the program or in the installed data folder.
QString ShippedTemplateFolder();
// The user's templates: "markora/szablony" in the user's data folder ($XDG_DATA_HOME, by
// default ~/.local/share, on Linux). Created only when a template is saved there.
QString UserTemplateFolder();

// The "*.html" files (any case of the suffix) of both folders, by name and, for equal
// names, the shipped one first. A missing or empty folder adds nothing; a folder given
// twice (the same folder on disk) is listed once, as the user's.
QList<TemplateEntry> ListTemplates(
    const QString &shippedFolder = ShippedTemplateFolder(), const QString &userFolder = UserTemplateFolder());

struct TemplateDocument
{
    enum Status { Filled, Cancelled, Failed };
    Status status = Failed;
    QString text; // Filled: the text with its placeholders filled
    // The code page and line break the new document takes from the file.
    DocumentEncoding encoding;
    LineBreak lineBreak = LineBreak::CrLf;
    QString errorText; // Failed: the system's reason
};

// What a new document from the template file at path starts with: the file read as a
// document is (code page detected, defaultEncoding when it declares none, tabs expanded to
// tabWidth) and its placeholders filled by FillTemplate with date, time and ask.
TemplateDocument LoadTemplate(const QString &path, const DocumentEncoding &defaultEncoding, int tabWidth,
    const QString &date, const QString &time, const std::function<std::optional<QString>(QString name)> &ask);

struct TemplateSave
{
    enum Status {
        Saved,
        Exists, // a template of that name is there and overwrite was false: nothing written
        BadName,
        Failed,
    };
    Status status = Failed;
    QString path; // where the template is (Saved, Exists) or was to be written (Failed)
    QString errorText; // Failed: the system's reason
};

// The file name a template called name gets: name trimmed, ".html" added unless it ends
// so. Empty for a name that cannot be a file name of its own (empty, "." or "..", a
// leading dot, a path separator, a control character).
QString TemplateFileName(const QString &name);

// Saves text as the template name in folder (created when missing), in the document's
// code page and line break. The file is written whole beside the old one and then
// replaces it, so a failure leaves an existing template as it was. An existing template
// is replaced only when overwrite is true.
TemplateSave SaveTemplate(const QString &folder, const QString &name, const QString &text,
    const DocumentEncoding &encoding, LineBreak lineBreak = LineBreak::CrLf, bool overwrite = false);
