#pragma once

#include <QString>
#include <QStringView>

// Result rows share the texts that repeat (the matches of a literal, the few forms an
// expression takes): a row then costs no allocation of its own, and a million rows hold
// a few strings. Recent texts are kept in slots chosen by a cheap hash; a collision
// only costs a copy.
class RecentTexts
{
public:
    // A string equal to text, shared with earlier calls where it can be.
    QString get(QStringView text);

private:
    const QString &lookUp(QStringView text);

    static constexpr int kSlots = 256;
    static constexpr qsizetype kLongest = 256; // longer texts seldom repeat
    QString m_slots[kSlots];
    QString m_last;
};
