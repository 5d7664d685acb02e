#pragma once

#include <QString>
#include <QStringView>

// Conversions between characters and HTML character references over a stretch of text
// (a selection or a whole document). Both directions leave "&lt;", "&gt;", "&amp;" and
// "&quot;" (and numeric references to those four characters) as they are, so markup
// written with them keeps its meaning, and never touch ASCII text.
class HtmlEntities
{
public:
    enum class Form {
        Named, // "&aogon;", or a numeric reference for a character without a name
        Numeric, // "&#261;" (decimal)
    };

    // Letters -> references: every character outside ASCII becomes a reference (a
    // character outside the Basic Multilingual Plane one reference: "&#128512;"). In the
    // named form a character with a combining mark that has a name of its own becomes
    // that name ("&nvlt;"). Characters that no reference can stand for (lone
    // surrogates, the C1 controls) stay as they are. *count: how many references were
    // written.
    static QString encode(QStringView text, Form form, int *count = nullptr);

    // References -> letters: every named reference of HTML, decimal "&#261;" and
    // hexadecimal "&#x105;" ones. A name valid without ";" is decoded so only when
    // neither a letter, a digit nor "=" follows it (as in an attribute value, so that
    // "?a=1&copy=2" stays). Numbers 128 to 159 stand for the Windows-1252 characters, as
    // in browsers. Unknown names, numbers outside Unicode, surrogates, noncharacters,
    // NUL and the control characters other than tab and line feed stay as they are.
    // *count: how many references were replaced.
    static QString decode(QStringView text, int *count = nullptr);

    // The characters of a named reference (name without "&" and ";"); null when HTML has
    // no such name. Names are case-sensitive.
    static QString characters(QStringView name);
    // The name written for these characters (one character or one with its combining
    // mark); empty when they have none. HTML 4's name wins where there are several.
    static QString nameFor(QStringView chars);

    // The table: entry i in 0..count()-1, sorted by name.
    static int count();
    static QString nameAt(int i);
    static QString charactersAt(int i);
    static bool validWithoutSemicolon(int i);
};
