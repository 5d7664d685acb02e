#include "search/recenttexts.h"

QString RecentTexts::get(QStringView text)
{
    if (!text.isEmpty() && QStringView(m_last) == text)
        return m_last;
    if (text.isEmpty() || text.size() > kLongest)
        return text.toString();
    m_last = lookUp(text);
    return m_last;
}

const QString &RecentTexts::lookUp(QStringView text)
{
    // A few characters and the length pick the slot: a full hash costs more than it saves.
    const qsizetype n = text.size();
    size_t h = size_t(n);
    for (qsizetype i = 0; i < n; i += 1 + n / 8)
        h = h * 31 + text[i].unicode();
    h = h * 31 + text[n - 1].unicode();
    QString &slot = m_slots[(h ^ (h >> 8)) & (kSlots - 1)];
    if (QStringView(slot) != text)
        slot = text.toString();
    return slot;
}
