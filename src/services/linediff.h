#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// The lines that differ between two texts (Myers' algorithm in linear space), to show a
// change before it is made. A line ends at '\n', which belongs to it, so a last line
// without a line break differs from the same line with one. Past a fixed amount of work
// (texts that differ nearly everywhere, tens of thousands of lines apiece) the rest is
// reported as larger blocks: still a correct difference, no longer the smallest.
class LineDiff
{
public:
    // Old lines [oldFrom, oldFrom + oldCount) became new lines [newFrom, newFrom + newCount);
    // lines are numbered from 0. Changes are in order and never touch each other.
    struct Change
    {
        int oldFrom = 0;
        int oldCount = 0;
        int newFrom = 0;
        int newCount = 0;
        bool operator==(const Change &o) const
        {
            return oldFrom == o.oldFrom && oldCount == o.oldCount && newFrom == o.newFrom
                && newCount == o.newCount;
        }
    };

    // Empty when the texts are equal.
    static std::vector<Change> Compare(QStringView before, QStringView after);

    // The difference in the unified format ("---"/"+++" with the two names, "@@" hunks with
    // context lines around each change); empty when the texts are equal.
    static QString Unified(QStringView before, QStringView after, const QString &beforeName,
        const QString &afterName, int context = 3);
};
