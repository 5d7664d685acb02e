#include "services/templatefill.h"

#include <QHash>

std::optional<QString> FillTemplate(
    QString text, QString date, QString time, const std::function<std::optional<QString>(QString name)> &ask)
{
    QHash<QString, QString> values;
    values.insert(QStringLiteral("DATE"), date);
    values.insert(QStringLiteral("TIME"), time);
    values.insert(QString(), QStringLiteral("%"));

    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'%', pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'%', open + 1);
        if (close < 0)
            break;
        out.append(QStringView(text).mid(pos, open - pos));
        const QString name = text.mid(open + 1, close - open - 1);
        auto it = values.constFind(name);
        if (it == values.constEnd()) {
            std::optional<QString> answer = ask ? ask(name) : std::nullopt;
            if (!answer)
                return std::nullopt;
            it = values.insert(name, *answer);
        }
        out.append(*it);
        pos = close + 1;
    }
    out.append(QStringView(text).mid(pos));
    return out;
}
