#include "base/filefilter.h"

QStringList ToQtNameFilters(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        out << parts[i].trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out;
}

QStringList FilterPatterns(const QString &pipeFilter, int index)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    const int at = index * 2 + 1;
    if (index < 0 || at >= parts.size())
        return {};
    QStringList out;
    for (const QString &p : parts[at].split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out << p.trimmed();
    return out;
}
