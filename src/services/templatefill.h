#pragma once

#include <QString>
#include <functional>
#include <optional>

// Fills the placeholders of a template: every "%name%" (a name without '%', line
// breaks allowed) is replaced, left to right. "DATE" and "TIME" give date and time,
// an empty name ("%%") gives "%", and any other name is asked for through ask, once:
// its answer is reused for later occurrences. Answers are inserted as they are, never
// scanned for placeholders. A '%' without a partner stays. Returns nullopt when ask
// returns nullopt (the user cancelled), and then the document stays empty.
std::optional<QString> FillTemplate(
    QString text, QString date, QString time, const std::function<std::optional<QString>(QString name)> &ask);
