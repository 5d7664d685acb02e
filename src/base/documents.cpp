#include "base/documents.h"

#include <algorithm>

void EditableDocument::takeSnapshot() { state().takeSnapshot(text(), selStart(), selLength()); }

bool EditableDocument::undoSnapshot()
{
    DocumentState &s = state();
    if (!s.hasSnapshot())
        return false;
    const DocumentSnapshot shot = s.snapshot;
    s.clearSnapshot();
    setText(shot.text);
    setSelection(shot.selStart, shot.selLength);
    return true;
}

StringDocument::StringDocument(int id, const QString &text, const QString &fileName)
    : m_id(id)
    , m_text(text)
    , m_access(std::make_unique<StringTextAccess>(m_text))
{
    m_state.fileName = fileName;
}

void StringDocument::textChanged()
{
    m_access = std::make_unique<StringTextAccess>(m_text);
    m_modified = true;
}

void StringDocument::setText(const QString &text)
{
    m_text = text;
    m_selStart = std::min<int>(m_selStart, int(m_text.size()));
    m_selLength = std::min<int>(m_selLength, int(m_text.size()) - m_selStart);
    textChanged();
}

void StringDocument::setSelection(int start, int length)
{
    const int n = int(m_text.size());
    m_selStart = std::clamp(start, 0, n);
    m_selLength = std::clamp(length, 0, n - m_selStart);
}

void StringDocument::replaceSelection(const QString &text)
{
    m_text.replace(m_selStart, m_selLength, text);
    m_selStart += int(text.size());
    m_selLength = 0;
    textChanged();
}

StringDocument *StringDocumentSet::add(const QString &text, const QString &fileName)
{
    m_docs.push_back(std::make_unique<StringDocument>(m_nextId++, text, fileName));
    m_active = int(m_docs.size()) - 1;
    return m_docs.back().get();
}

void StringDocumentSet::remove(int index)
{
    m_docs.erase(m_docs.begin() + index);
    if (m_active >= count())
        m_active = count() - 1;
}
