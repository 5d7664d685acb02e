#include "ext/userslots.h"

namespace {
// Slot i + 1 of the list; a shorter list reads as holding free slots.
struct SlotName
{
    int i;
    QString &operator()(QStringList &names) const
    {
        if (names.size() <= i)
            names.resize(i + 1);
        return names[i];
    }
    QString operator()(const QStringList &names) const { return names.value(i); }
};
} // namespace

const SettingsTable<QStringList> &UserSlotTable()
{
    using Table = SettingsTable<QStringList>;
    static const Table table = [] {
        std::vector<Table::Row> rows;
        for (int i = 0; i < UserSlotCount; ++i)
            rows.push_back(Table::text(u"Pasek uzytkownika", QString::number(i + 1), SlotName { i }));
        return Table(std::move(rows), QStringList(UserSlotCount));
    }();
    return table;
}
