#pragma once

#include <QString>

class EditableDocument;

// What the insertion dialogs need to know of the document they insert into.
struct InsertTarget
{
    QString fileName; // full path; empty for a document never saved
    bool isoCharset = false; // ISO 8859-2, else Windows-1250
    QString selectedText;
    QString lineIndent; // the blanks and tabs the caret's line starts with, up to the caret
};

// The one place that asks the document for its file and code page.
InsertTarget DescribeInsertTarget(const EditableDocument &doc);
