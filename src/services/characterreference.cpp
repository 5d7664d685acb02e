#include "services/characterreference.h"

#include "services/entities.h"

#include <QString>

namespace {
constexpr int kMaxReference = 32;

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool isAsciiAlnum(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}
} // namespace

namespace CharacterReference {

int Length(QStringView text, qsizetype pos)
{
    if (pos < 0 || pos >= text.size() || text[pos] != u'&')
        return 0;
    qsizetype i = pos + 1;
    const qsizetype end = std::min(text.size(), pos + kMaxReference);
    if (i < end && text[i] == u'#') {
        ++i;
        const bool hex = i < end && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const qsizetype digits = i;
        while (i < end && (hex ? isHexDigit(text[i]) : (text[i] >= u'0' && text[i] <= u'9')))
            ++i;
        if (i == digits)
            return 0;
    } else {
        const qsizetype name = i;
        while (i < end && isAsciiAlnum(text[i]))
            ++i;
        if (i == name)
            return 0;
    }
    return i < end && text[i] == u';' ? int(i - pos + 1) : 0;
}

char32_t Decode(QStringView reference)
{
    if (reference.startsWith(u'#')) {
        QStringView digits = reference.mid(1);
        int base = 10;
        if (digits.startsWith(u'x') || digits.startsWith(u'X')) {
            digits = digits.mid(1);
            base = 16;
        }
        if (digits.isEmpty() || digits.size() > 8)
            return 0;
        bool ok = false;
        const uint value = digits.toUInt(&ok, base);
        if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return 0;
        return char32_t(value);
    }
    // A name that stands for two characters (a letter with a combining mark) is no one
    // letter to spell with.
    const QString chars = HtmlEntities::characters(reference);
    if (chars.size() == 1)
        return chars[0].unicode();
    if (chars.size() == 2 && chars[0].isHighSurrogate() && chars[1].isLowSurrogate())
        return QChar::surrogateToUcs4(chars[0], chars[1]);
    return 0;
}

} // namespace CharacterReference
