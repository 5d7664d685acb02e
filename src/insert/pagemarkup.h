#pragma once

#include "insert/commandtable.h"

#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

// What the body, head and META dialogs write. Each builder turns the dialog's fields into
// the texts the common insertion rule puts round the selection; tag and attribute names
// are upper case (the lower-case option converts them when inserting), values are
// escaped, and a field left empty writes nothing.

// The sixteen colour names of HTML 4.
const QStringList &HtmlColourNames();
// A colour as the attributes take it: "#RRGGBB" (upper case) for "#rgb", "#rrggbb" or
// "rrggbb", a name of HtmlColourNames() in lower case, an empty text as it is; nullopt
// for anything else.
std::optional<QString> NormalizeColour(QStringView text);

struct BodyFields
{
    // Colours as NormalizeColour gives them (or as typed; they are escaped either way).
    QString text; // TEXT
    QString background; // BGCOLOR
    QString link; // LINK
    QString visited; // VLINK
    QString active; // ALINK
    QString picture; // BACKGROUND: an address, already relative where it can be
    int marginH = -1; // LEFTMARGIN and MARGINWIDTH; -1 = not written
    int marginV = -1; // TOPMARGIN and MARGINHEIGHT

    bool operator==(const BodyFields &o) const;
};
// Block: "<BODY ...>" and a line for the selection, "</BODY>".
ResolvedInsertion BuildBody(const BodyFields &f);

struct HeadFields
{
    QString title;
    QString description;
    QString keywords; // as written, words separated by commas
    QString author;
    QString styleSheet; // a LINK to a style sheet: an address
    bool charset = true; // a declaration of the document's code page

    bool operator==(const HeadFields &o) const;
};
// The META declaration of a code page, as the declaration commands insert it.
QString CharsetDeclaration(bool iso);
// Block: "<HEAD>", the declaration, TITLE, the META description, keywords and author, the
// style sheet link, each on a line of its own, and a line for the selection; "</HEAD>".
ResolvedInsertion BuildHead(const HeadFields &f, bool isoCharset);

// The words of keywords.txt: one a line, blanks round them trimmed; empty lines and lines
// starting with ';' or '#' are left out. The file is UTF-8 (Windows-1250 when it is not
// valid UTF-8). ok is false when the file cannot be read.
QStringList ReadKeywordList(const QString &path, bool *ok = nullptr);
QStringList ParseKeywordList(const QString &text);
// Words joined by ", ": each trimmed, empty ones and repeats (letter case aside) left out.
QString JoinKeywords(const QStringList &words);
// The words of a comma-separated text, trimmed, empty ones left out.
QStringList SplitKeywords(QStringView text);

enum class MetaKind { Name, HttpEquiv };
struct MetaFields
{
    MetaKind kind = MetaKind::Name;
    QString name;
    QString content;

    bool operator==(const MetaFields &o) const;
};
// Pair, no closing: "<META NAME=\"...\" CONTENT=\"...\">" or with HTTP-EQUIV.
ResolvedInsertion BuildMeta(const MetaFields &f);
// The usual names of each kind, in the order the dialog offers them.
QStringList MetaNames(MetaKind kind);
// Values commonly given to a name (letter case aside), the first the most usual; empty
// for a name the program knows nothing of.
QStringList MetaValueSuggestions(QStringView name);
