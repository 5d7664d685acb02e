// Tag text: finding the tag around a position, splitting it, writing it back, and the
// lower-casing of markup. The input is a page in Windows-1250, as the editor holds it;
// its first two bytes also choose the caret.
#include "fuzzsupport.h"

#include "base/textaccess.h"
#include "insert/insertion.h"
#include "base/codepage.h"
#include "tags/tagassist.h"
#include "tags/taglookup.h"
#include "tags/tagparser.h"

namespace {

// The tag as the parser reads it back: name, then the arguments the grid leaves alone.
QString normalized(const TagText &tag)
{
    const QString rest = RemainderText(tag.Args);
    return QLatin1Char('<') + (tag.Closing ? QStringLiteral("/") : QString()) + tag.Name
        + (rest.isEmpty() ? QString() : QLatin1Char(' ') + rest) + QLatin1Char('>');
}

QList<QPair<QString, TArgVal>> withoutLoneQuotes(const QList<QPair<QString, TArgVal>> &args)
{
    QList<QPair<QString, TArgVal>> out;
    for (const auto &a : args)
        if (!IsLoneQuoteArg(a.first))
            out << a;
    return out;
}

bool sameArgs(const QList<QPair<QString, TArgVal>> &a, const QList<QPair<QString, TArgVal>> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].first != b[i].first || a[i].second.NoValue != b[i].second.NoValue
            || a[i].second.Quoted != b[i].second.Quoted || a[i].second.Value != b[i].second.Value)
            return false;
    return true;
}

void checkParsed(const QString &tagText)
{
    const TagText tag = ParseTag(tagText);
    FUZZ_CHECK(!tag.Name.contains(QLatin1Char(' ')) && !tag.Name.contains(QLatin1Char('-')));
    for (const auto &a : tag.Args) {
        FUZZ_CHECK(!a.first.isEmpty() && a.first == a.first.toUpper());
        FUZZ_CHECK(!a.first.contains(QLatin1Char(' ')) && !a.first.contains(QLatin1Char('=')));
        FUZZ_CHECK(!(a.second.NoValue && (a.second.Quoted || !a.second.Value.isEmpty())));
        if (a.second.Quoted)
            FUZZ_CHECK(!a.second.Value.contains(QLatin1Char('"')));
        else
            FUZZ_CHECK(!a.second.Value.contains(QLatin1Char(' ')));
        FUZZ_CHECK(tag.indexOf(a.first) >= 0);
    }
    // Written back and read again, a tag is stable after the first round.
    const QString once = normalized(tag);
    const TagText again = ParseTag(once);
    FUZZ_CHECK(again.Name == tag.Name && again.Closing == tag.Closing);
    FUZZ_CHECK(sameArgs(withoutLoneQuotes(again.Args), withoutLoneQuotes(tag.Args)));
    FUZZ_CHECK(normalized(again) == once);

    // The grid's rebuild with no rows of its own keeps every remaining argument; in
    // lower case only the names change. Only opening tags are rebuilt.
    if (tag.Closing)
        return;
    const QString remainder = RemainderText(again.Args);
    const QString hint = QLatin1Char('<') + tag.Name + QLatin1Char('>');
    const QString lowered = LowerCaseArgNames(remainder);
    FUZZ_CHECK(lowered.size() == remainder.size());
    for (const bool lower : { false, true }) {
        const TagText rebuilt = ParseTag(RebuildTag(hint, {}, remainder, lower));
        FUZZ_CHECK(sameArgs(withoutLoneQuotes(rebuilt.Args), withoutLoneQuotes(again.Args)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = CodePage::decode(
        QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)), CodePage::Windows1250);
    const int len = int(text.size());
    const int caret = size >= 2 ? int((data[0] | (data[1] << 8)) % (len + 1)) : len;
    const StringTextAccess access(text);

    for (const bool allowInside : { false, true }) {
        TagRange range;
        const QString tagText = GetTagAtCaret(access, caret, allowInside, &range);
        if (range.isValid()) {
            FUZZ_CHECK(range.start < caret && range.length >= 2 && range.start + range.length <= len);
            FUZZ_CHECK(text.at(range.start) == QLatin1Char('<'));
            FUZZ_CHECK(text.at(range.start + range.length - 1) == QLatin1Char('>'));
            FUZZ_CHECK(!text.mid(range.start + 1, range.length - 2).contains(QLatin1Char('>')));
            // The backward search passed no other "<".
            FUZZ_CHECK(!text.mid(range.start + 1, caret - range.start - 1).contains(QLatin1Char('<')));
            FUZZ_CHECK(tagText == text.mid(range.start, range.length));
            checkParsed(FlattenTagText(tagText));
        } else {
            FUZZ_CHECK(tagText.isEmpty());
        }
        const QString name = GetTagNameAt(access, allowInside, caret);
        for (const QChar c : name)
            FUZZ_CHECK(c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QLatin1Char('<')
                && c != QLatin1Char('>') && c != QLatin1Char('\r') && c != QLatin1Char('\n'));
    }
    EnclosingTagName(access, caret);
    IsInsideQuotedValue(access, caret);
    const int at = ParInserterPosition(access, caret);
    if (at >= 0)
        FUZZ_CHECK(
            at >= caret && at < len && (text.at(at) == QLatin1Char(' ') || text.at(at) == QLatin1Char('>')));

    // The whole input as one tag, line breaks and all.
    checkParsed(FlattenTagText(text));

    // Lower-casing markup keeps every position and is done after one pass.
    const QString lower = LowerCaseTags(text);
    FUZZ_CHECK(lower.size() == text.size());
    for (int i = 0; i < len; ++i)
        FUZZ_CHECK(lower.at(i) == text.at(i) || lower.at(i) == text.at(i).toLower());
    FUZZ_CHECK(LowerCaseTags(lower) == lower);
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
