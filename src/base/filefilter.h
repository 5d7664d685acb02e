#pragma once

#include <QString>
#include <QStringList>

// Converts a filter written as "Description|*.a;*.b|Description|*.c" into the name
// filters of Qt's file dialogs ("Description (*.a *.b)"). A description that already
// ends in parentheses keeps them; the patterns follow in a group of their own.
QStringList ToQtNameFilters(const QString &pipeFilter);

// The patterns of entry index of such a filter, split at ';' (empty when out of range).
QStringList FilterPatterns(const QString &pipeFilter, int index);
