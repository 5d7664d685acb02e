#pragma once

#include "base/documentencoding.h"

#include <QString>

class EditableDocument;

// What the insertion dialogs need to know of the document they insert into.
struct InsertTarget
{
    QString fileName; // full path; empty for a document never saved
    DocumentEncoding encoding; // the code page the document is saved in
    QString selectedText;
    QString lineIndent; // the blanks and tabs the caret's line starts with, up to the caret
};

// The one place that asks the document for its file and code page.
InsertTarget DescribeInsertTarget(const EditableDocument &doc);
