#pragma once

#include "services/snippetstore.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The file users exchange snippets in: UTF-8 text, CR LF line breaks. A line
// "Wstawka: name" starts a snippet; every line of its text follows, each written after
// "| " (a line "|" alone is an empty line). Lines starting with ";" and blank lines
// between snippets are comments:
//
//   ; Wstawki programu Markora
//   Wstawka: Akapit
//   | <P>{{zaznaczenie}}</P>
//
// Nothing in a text is escaped: every line of it stands behind its own "| ".

struct SnippetFileProblem
{
    int line = 0; // 1-based
    QString text; // what is wrong, in the program's words
};

struct SnippetFile
{
    QList<Snippet> snippets; // in the file's order
    QList<SnippetFileProblem> problems; // lines not understood, skipped
    bool readable = true; // false: not UTF-8 text, nothing was read
};

// The file's bytes for snippets (names that SnippetStore::isValidName refuses are left out).
QByteArray WriteSnippetFile(const QList<Snippet> &snippets);
// Reads a snippet file. A snippet named again later in the file is a problem; the first
// one stays.
SnippetFile ReadSnippetFile(QByteArrayView bytes);
