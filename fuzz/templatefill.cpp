// Template placeholders ("%name%"): each name is asked once, answers are never read
// as placeholders, and a cancelled question leaves nothing. The input is the template.
#include "fuzzsupport.h"

#include "services/templatefill.h"

#include <QSet>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QSet<QString> asked;
    bool cancelled = false;
    // Answers that look like placeholders themselves; a name with "X" cancels.
    const auto ask = [&](const QString &name) -> std::optional<QString> {
        FUZZ_CHECK(!name.contains(QLatin1Char('%')) && !asked.contains(name));
        asked.insert(name);
        if (name.contains(QLatin1Char('X'))) {
            cancelled = true;
            return std::nullopt;
        }
        return QLatin1Char('%') + name + QLatin1Char('%');
    };
    const std::optional<QString> out
        = FillTemplate(text, QStringLiteral("%DATE%"), QStringLiteral("%TIME%"), ask);
    FUZZ_CHECK(out.has_value() == !cancelled);
    if (!out)
        return 0;
    // Every placeholder gave itself back, and "%%" gave "%": so the text lost exactly
    // one "%" per "%%" and nothing else.
    FUZZ_CHECK(out->size() <= text.size());
    FUZZ_CHECK(text.size() - out->size() == text.count(QLatin1Char('%')) - out->count(QLatin1Char('%')));
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
