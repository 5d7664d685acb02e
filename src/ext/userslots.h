#pragma once

#include "base/settingstable.h"

#include <QStringList>

// The six slots of the user toolbar as the settings keep them: the object name of the
// tool-tab button copied into each, under section "Pasek uzytkownika", values "1".."6";
// empty for a free slot. The value is a list of UserSlotCount names, slot 1 first.
constexpr int UserSlotCount = 6;
const SettingsTable<QStringList> &UserSlotTable();
