#pragma once

#include "base/textaccess.h"

#include <QMetaObject>
#include <QString>

class QTextDocument;

// Line access to the text of a QTextDocument: blocks are lines. A short line is copied
// whole (one copy of its fragments, cheaper than reading it a character at a time); a
// long one (a minified page, an inline picture) is copied once and read from the copy
// until the document changes, so a walk through many stretches of a line of many
// megabytes costs one copy, not one look-up per character.
class DocumentTextAccess final : public TextAccess
{
public:
    explicit DocumentTextAccess(const QTextDocument *doc);
    ~DocumentTextAccess() override;
    DocumentTextAccess(const DocumentTextAccess &) = delete;
    DocumentTextAccess &operator=(const DocumentTextAccess &) = delete;

    // Lines longer than this are kept in the copy.
    static constexpr int LongLine = 64 * 1024;

    int length() const override;
    int lineCount() const override;
    int lineOf(int pos) const override;
    int lineStart(int line) const override;
    QString lineText(int line) const override;
    int lineLength(int line) const override;
    QString lineMid(int line, int from, int n) const override;

private:
    const QTextDocument *m_doc;
    QMetaObject::Connection m_changed;
    // The copy of the last long line read, with what identifies it: the document's
    // revision, the line's place and length. A change also drops it (and its memory).
    mutable QString m_long;
    mutable int m_longRevision = -1;
    mutable int m_longPosition = -1;
    mutable int m_longLength = -1;
};

// The characters [from, from + n) of the document, read one by one: a whole block's
// text() would copy all of a long line. Runs of the same fragment are cheap to read so.
QString DocumentMid(const QTextDocument *doc, int from, int n);
