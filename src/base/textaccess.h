#pragma once

#include <QString>
#include <QVector>

// Read access to a document's text without copying it whole. Positions are
// QString indexes into the document; a line break is one character ('\n') and
// belongs to the line it ends. Lines are numbered from 0.
class TextAccess
{
public:
    virtual ~TextAccess() = default;

    // Number of characters, line breaks included.
    virtual int length() const = 0;
    virtual int lineCount() const = 0;
    // Index of the line holding pos (pos == length() gives the last line).
    virtual int lineOf(int pos) const = 0;
    // First position of a line.
    virtual int lineStart(int line) const = 0;
    // The line's text without its line break. It copies the whole line, however long:
    // paths that run per keystroke read a stretch with lineMid() instead.
    virtual QString lineText(int line) const = 0;
    // Number of characters of the line, its line break not counted.
    virtual int lineLength(int line) const;
    // The characters [from, from + n) of a line, clipped to it; costs only what it returns.
    virtual QString lineMid(int line, int from, int n) const;

    // The characters [pos, pos + n), clipped to the text; crosses lines ('\n' between them).
    // Built from lineMid(); a text that can walk its lines more cheaply overrides it.
    virtual QString mid(int pos, int n) const;
    // One character, or a null QChar outside the text. Cheap for sequential use only
    // through mid()/lineMid(); prefer those in loops.
    QChar at(int pos) const;
};

// A TextAccess over a QString held by the caller (tests, the inter-process channel,
// documents not shown in a widget). The string must outlive the object.
class StringTextAccess final : public TextAccess
{
public:
    explicit StringTextAccess(const QString &text);

    int length() const override { return int(m_text.size()); }
    int lineCount() const override { return int(m_starts.size()); }
    int lineOf(int pos) const override;
    int lineStart(int line) const override;
    QString lineText(int line) const override;
    int lineLength(int line) const override;
    QString lineMid(int line, int from, int n) const override;

private:
    const QString &m_text;
    QVector<int> m_starts;
};
