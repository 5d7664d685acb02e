#pragma once

#include "insert/commandtable.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

// What the script, style and date dialogs write (see pagemarkup.h for the common habits).

struct ScriptFields
{
    bool fromFile = false;
    QString file; // SRC: an address
    QString type = QStringLiteral("text/javascript"); // TYPE; empty = not written
    bool defer = false; // DEFER and ASYNC concern a script from a file only
    bool async = false;
    bool hideInComment = true; // an inline script inside "<!--" and "//-->" for old browsers

    bool operator==(const ScriptFields &o) const;
};
// Block. Inline: "<SCRIPT TYPE=...>" (and "<!--") on lines of their own before the
// selection, ("//-->" and) "</SCRIPT>" after it. From a file: "<SCRIPT ... SRC=...>" and
// "</SCRIPT>".
ResolvedInsertion BuildScript(const ScriptFields &f);
// The script types the dialog offers, the usual first.
QStringList ScriptTypes();

struct StyleFields
{
    bool fromFile = false;
    QString file; // a style sheet's address: a LINK is written
    QString media; // MEDIA of the LINK
    // The rule written inline: a selector and a few properties, each left out when empty.
    QString selector = QStringLiteral("BODY");
    QString font; // font-family, as CSS takes it ("Arial, sans-serif")
    QString size; // font-size ("12pt", "1.2em")
    QString colour; // color
    QString background; // background-color
    QString align; // text-align: "left", "center", "right", "justify"

    bool operator==(const StyleFields &o) const;
};
// A text made fit to stand as a CSS selector or value: the characters that would end the
// declaration, the rule or the STYLE element ("{", "}", ";", "<", ">" and line breaks) are
// left out, blanks round it trimmed.
QString CssValue(QStringView text);
// From a file: pair, "<LINK REL=\"Stylesheet\" TYPE=\"text/css\" HREF=...>", no closing.
// Inline: block, "<STYLE TYPE=\"text/css\">" and the rule (a property a line) before the
// selection, "</STYLE>" after it.
ResolvedInsertion BuildStyle(const StyleFields &f);

// The moment written in each of the date dialog's formats, in its order: Polish day and
// month names, the time, ISO 8601 with the moment's offset and the HTTP date (in GMT).
QStringList DateTexts(const QDateTime &moment);
