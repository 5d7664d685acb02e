#pragma once

#include "base/textaccess.h"

class QTextDocument;

// Line access to the text of a QTextDocument: blocks are lines. A line of ordinary
// length is copied whole, in one go (cheaper than looking up its characters one by
// one); only a line longer than LongLine (a minified page, an inline picture) is read a
// character at a time, so that a stretch of a line of many megabytes costs its own
// length, not the line's.
class DocumentTextAccess final : public TextAccess
{
public:
    explicit DocumentTextAccess(const QTextDocument *doc)
        : m_doc(doc)
    {
    }

    static constexpr int LongLine = 64 * 1024;

    int length() const override;
    int lineCount() const override;
    int lineOf(int pos) const override;
    int lineStart(int line) const override;
    QString lineText(int line) const override;
    int lineLength(int line) const override;
    QString lineMid(int line, int from, int n) const override;
    // Walks the blocks from pos on, instead of finding each line by its number.
    QString mid(int pos, int n) const override;

private:
    const QTextDocument *m_doc;
};

// The characters [from, from + n) of the document, read one by one: a whole block's
// text() would copy all of a long line. Runs of the same fragment are cheap to read so.
QString DocumentMid(const QTextDocument *doc, int from, int n);
