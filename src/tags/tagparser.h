#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>

// One argument of a parsed tag.
struct TArgVal
{
    bool NoValue = false; // written without "="
    bool Quoted = false; // the value stood between double quotes
    QString Value; // empty for name="" and for NoValue
    QString Written; // the name as it stood in the tag
};

// A parsed tag. Names of arguments are upper-cased, in order of appearance; an
// argument named by a lone double quote (see ParseTag) is recorded and must be
// skipped by every consumer (IsLoneQuoteArg).
struct TagText
{
    QString Name; // without a leading "/"
    bool Closing = false;
    QList<QPair<QString, TArgVal>> Args;

    // Index of the first argument of that (upper-case) name, or -1.
    int indexOf(const QString &upperName) const;
};

// Splits the text of one tag, "<" ... ">", the first and last characters being
// dropped unread. The name is the first token delimited by space and "-"; arguments
// follow as name, name=value or name="value". After a quoted value the next name
// token starts at the closing quote, so an argument named "\"" is recorded there.
// No length is cut. Line breaks are not delimiters: pass the text through
// FlattenTagText first when it may span lines.
TagText ParseTag(QStringView text);

// The tag text with CR, LF and tab turned into spaces, as the inspector parses it.
QString FlattenTagText(QString text);

bool IsLoneQuoteArg(const QString &name);

// The arguments in order, except lone-quote ones, each written as NAME, NAME=value
// or NAME="value", separated by single spaces: the part of a tag that the argument
// grid does not show and that is written back unchanged when the tag is rebuilt.
QString RemainderText(const QList<QPair<QString, TArgVal>> &args);
