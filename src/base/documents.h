#pragma once

#include "base/documentstate.h"
#include "base/textaccess.h"

#include <QString>
#include <QVector>
#include <memory>
#include <vector>

// One open document as the text services see it. The document editor implements it
// over its widget; StringDocument implements it over a QString for tests and for
// work done without a window. Positions are QString indexes, a line break is '\n'.
class EditableDocument
{
public:
    virtual ~EditableDocument() = default;

    virtual int documentId() const = 0;
    // File name, code page, entry mode, snapshot and disk stamp.
    virtual DocumentState &state() = 0;
    virtual const DocumentState &state() const = 0;

    // Line-based read access without copying the whole text.
    virtual const TextAccess &textAccess() const = 0;
    // The whole text, exactly (no-break spaces kept). Costs a copy: not per keystroke.
    virtual QString text() const = 0;
    // Replaces the whole text as a program change (the caller takes the snapshot first).
    virtual void setText(const QString &text) = 0;

    virtual int selStart() const = 0;
    virtual int selLength() const = 0;
    virtual QString selectedText() const = 0;
    // Selects [start, start + length), clipped to the text; the caret ends at the end.
    virtual void setSelection(int start, int length) = 0;
    // Replaces the selection as a program change; the caret ends after the new text.
    virtual void replaceSelection(const QString &text) = 0;

    virtual bool isModified() const = 0;
    virtual void setModified(bool modified) = 0;

    // The one-step snapshot every program change takes first: the text and selection
    // now, kept in state().
    virtual void takeSnapshot();
    // Brings the snapshot back as a program change, with its selection, and uses it up;
    // false when none is held.
    bool undoSnapshot();
};

// The ordered set of open documents (tab order) and the active one.
class DocumentSet
{
public:
    virtual ~DocumentSet() = default;
    virtual int count() const = 0;
    virtual EditableDocument *at(int index) const = 0;
    // -1 when no document is open.
    virtual int activeIndex() const = 0;
    // Makes the document at index the active one (its tab current).
    virtual void activate(int index) = 0;

    EditableDocument *active() const
    {
        const int i = activeIndex();
        return i >= 0 && i < count() ? at(i) : nullptr;
    }
    // Tab index of the document with that identifier, -1 when none is open.
    int indexOfId(int id) const
    {
        for (int i = 0; i < count(); ++i)
            if (at(i)->documentId() == id)
                return i;
        return -1;
    }
};

// A document held in a QString, with the editor's state and snapshot.
class StringDocument final : public EditableDocument
{
public:
    explicit StringDocument(int id, const QString &text = QString(), const QString &fileName = QString());

    int documentId() const override { return m_id; }
    DocumentState &state() override { return m_state; }
    const DocumentState &state() const override { return m_state; }

    const TextAccess &textAccess() const override { return *m_access; }
    QString text() const override { return m_text; }
    void setText(const QString &text) override;

    int selStart() const override { return m_selStart; }
    int selLength() const override { return m_selLength; }
    QString selectedText() const override { return m_text.mid(m_selStart, m_selLength); }
    void setSelection(int start, int length) override;
    void replaceSelection(const QString &text) override;

    bool isModified() const override { return m_modified; }
    void setModified(bool modified) override { m_modified = modified; }

private:
    void textChanged();

    int m_id;
    QString m_text;
    DocumentState m_state;
    std::unique_ptr<StringTextAccess> m_access;
    int m_selStart = 0;
    int m_selLength = 0;
    bool m_modified = false;
};

// A DocumentSet over StringDocuments, for tests and headless use.
class StringDocumentSet final : public DocumentSet
{
public:
    StringDocument *add(const QString &text, const QString &fileName = QString());
    void remove(int index);
    int count() const override { return int(m_docs.size()); }
    EditableDocument *at(int index) const override { return m_docs.at(index).get(); }
    int activeIndex() const override { return m_active; }
    void activate(int index) override { m_active = index; }

private:
    std::vector<std::unique_ptr<StringDocument>> m_docs;
    int m_active = -1;
    int m_nextId = 1;
};
