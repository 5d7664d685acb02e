#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class TagDefs;

// What HTML says about elements that matters when pairing tags: which have no end tag
// (void), which may leave their end tag out, and whose content is raw text in which
// nothing that looks like a tag counts. Names are lower-case; queries fold case.
class HtmlTagRules
{
public:
    HtmlTagRules() = default;

    // HTML's own lists (the current standard's and the legacy elements still met in
    // hand-written pages).
    static HtmlTagRules standard();
    // standard() with the tag definitions added: "ends"=0 makes a tag void, any value
    // other than 0 and 1 makes its end tag optional.
    static HtmlTagRules withDefs(const TagDefs &defs);

    bool isVoid(const QString &name) const { return m_void.contains(name.toLower()); }
    bool hasOptionalEnd(const QString &name) const { return m_optionalEnd.contains(name.toLower()); }
    bool isRawText(const QString &name) const { return m_rawText.contains(name.toLower()); }
    QStringList rawTextNames() const { return m_rawText.values(); }

    // True when a start tag named next ends an open element named open whose end tag
    // was left out (an <li> ends the <li> before it, a <div> ends a <p>). Only elements
    // with an optional end are ever ended so.
    bool startEnds(const QString &open, const QString &next) const;

    void addVoid(const QString &name) { m_void.insert(name.toLower()); }
    void addOptionalEnd(const QString &name) { m_optionalEnd.insert(name.toLower()); }

private:
    QSet<QString> m_void;
    QSet<QString> m_optionalEnd;
    QSet<QString> m_rawText;
    QHash<QString, QSet<QString>> m_enders; // open element -> start tags that end it
};
