#pragma once

#include "base/documentencoding.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// Charset declarations in a page's head. Both forms count:
//   <meta charset="utf-8">
//   <meta http-equiv="Content-Type" content="text/html; charset=utf-8">
// that is, "charset" (letter case ignored, not the end of a longer name), optional
// blanks, "=", optional blanks and quote, then the name, inside a META tag that starts
// before the first "</head>" (anywhere when there is none).

struct CharsetDeclaration
{
    // The name as written: [nameStart, nameStart + nameLength) in the text.
    qsizetype nameStart = 0;
    qsizetype nameLength = 0;
    QString name;
};

// The declarations in text order.
std::vector<CharsetDeclaration> FindCharsetDeclarations(QStringView text);
std::vector<CharsetDeclaration> FindCharsetDeclarations(QByteArrayView bytes);

// The code page a charset name stands for, letter case ignored: utf-8 and utf8,
// iso-8859-2 and latin2, windows-1250 and cp1250; nothing for any other name.
std::optional<DocumentEncoding::Id> CodePageOfCharset(QStringView name);

// The code page the head declares, as detection takes it: ISO 8859-2 when any
// declaration names it, else Windows-1250, else UTF-8; nothing when none names one
// of the three.
std::optional<DocumentEncoding::Id> DeclaredCodePage(QByteArrayView bytes);

// The declarations that name another charset than encoding's (any name not standing for
// its code page, unknown names too). Empty: nothing to ask about.
std::vector<CharsetDeclaration> ContradictingDeclarations(QStringView text, DocumentEncoding encoding);

// text with every contradicting declaration's name replaced by encoding.charsetName().
QString RewriteCharsetDeclarations(QStringView text, DocumentEncoding encoding);
