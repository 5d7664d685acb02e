#pragma once

#include "base/codepage.h"

#include <QString>
#include <QtGlobal>

// The line break a document's file uses. Inside the program a line break is always
// '\n'; the file's own break is put back when the document is saved.
enum class LineBreak : quint8 { CrLf, Lf, Cr };

// The status bar's name of a line break: "CR LF", "LF" or "CR".
QString LineBreakName(LineBreak lineBreak);

// The line breaks found in a file, each kind counted.
struct LineBreakCounts
{
    qsizetype crLf = 0;
    qsizetype lf = 0;
    qsizetype cr = 0;

    // The break that occurs most often; on a tie CR LF before LF before CR; none
    // for a file without breaks.
    LineBreak majority(LineBreak none) const;
    // More than one kind occurs.
    bool mixed() const { return (crLf > 0) + (lf > 0) + (cr > 0) > 1; }
};

// How a document's text is stored in its file: the code page and, for UTF-8, whether
// the file starts with a byte-order mark. UTF-16 is read only from a file that starts
// with its mark, and always written with it.
struct DocumentEncoding
{
    enum Id : quint8 { Windows1250, Iso8859_2, Utf8, Utf16LE, Utf16BE };

    Id codePage = Windows1250;
    bool bom = false;

    static DocumentEncoding fromIso(bool iso) { return { iso ? Iso8859_2 : Windows1250, false }; }
    static DocumentEncoding utf8(bool bom = false) { return { Utf8, bom }; }

    // Windows-1250 or ISO 8859-2: one byte a character, the rest as numeric references.
    bool isEightBit() const { return codePage == Windows1250 || codePage == Iso8859_2; }
    bool isUtf16() const { return codePage == Utf16LE || codePage == Utf16BE; }
    // The table of an 8-bit code page (Windows-1250 for the others).
    CodePage::Id table() const { return codePage == Iso8859_2 ? CodePage::Iso8859_2 : CodePage::Windows1250; }
    // The status bar's name: "Win", "ISO", "UTF-8", "UTF-16LE" or "UTF-16BE".
    QString statusName() const;
    // The name a charset declaration gives it: "windows-1250", "iso-8859-2", "utf-8", "utf-16".
    QString charsetName() const;

    bool operator==(const DocumentEncoding &o) const { return codePage == o.codePage && bom == o.bom; }
    bool operator!=(const DocumentEncoding &o) const { return !(*this == o); }
};
