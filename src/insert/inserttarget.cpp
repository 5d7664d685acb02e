#include "insert/inserttarget.h"

#include "base/documents.h"
#include "tags/tagassist.h"

InsertTarget DescribeInsertTarget(const EditableDocument &doc)
{
    InsertTarget t;
    t.fileName = doc.state().fileName;
    t.isoCharset = doc.state().iso();
    t.selectedText = doc.selectedText();
    t.lineIndent = LineIndentBefore(doc.textAccess(), doc.selStart());
    return t;
}
