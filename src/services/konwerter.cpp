#include "services/konwerter.h"
#include "base/largebuffer.h"

#include "base/codepage.h"
#include "services/konwertertexts.h"

#include <QFile>
#include <climits>
#include <numeric>

namespace {

constexpr qsizetype kMaxLine = 255;

// An integer as the table file writes it: decimal with an optional sign, or "$" hex.
bool parseCode(QStringView token, int *value)
{
    if (token.isEmpty())
        return false;
    bool ok = false;
    qlonglong v = 0;
    if (token.startsWith(u'$'))
        v = token.mid(1).toLongLong(&ok, 16);
    else
        v = token.toLongLong(&ok, 10);
    if (!ok || v < INT_MIN || v > INT_MAX)
        return false;
    *value = int(v);
    return true;
}

bool isBlank(QStringView line)
{
    for (const QChar c : line)
        if (!c.isSpace())
            return false;
    return true;
}

} // namespace

TConvData PolskawyTable()
{
    TConvData t;
    t.name = KonwerterTexts::builtinName();
    const char *letters = "ACELNOSZZacelnoszz";
    for (int k = 0; k < kConvLetters; ++k)
        t.codes[k] = static_cast<unsigned char>(letters[k]);
    return t;
}

ZnakiReadResult ParseZnaki(QStringView text)
{
    ZnakiReadResult result;
    int lineNo = 0;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = text.mid(start, end - start).left(kMaxLine);
        start = end + 1;
        ++lineNo;
        if (line.startsWith(u';') || isBlank(line))
            continue;

        TConvData entry;
        qsizetype pos = 0;
        const qsizetype n = line.size();
        while (pos < n && line[pos] == u'"')
            ++pos;
        const qsizetype nameStart = pos;
        while (pos < n && line[pos] != u'"')
            ++pos;
        entry.name = line.mid(nameStart, pos - nameStart).toString();
        for (int k = 0; k < kConvLetters; ++k) {
            while (pos < n && (line[pos] == u' ' || line[pos] == u'"'))
                ++pos;
            const qsizetype tokStart = pos;
            while (pos < n && line[pos] != u' ' && line[pos] != u'"')
                ++pos;
            int value = 0;
            if (!parseCode(line.mid(tokStart, pos - tokStart), &value)) {
                result.errors.append(KonwerterTexts::lineError(lineNo));
                break;
            }
            entry.codes[k] = static_cast<unsigned char>(value & 0xFF);
        }
        result.entries.push_back(std::move(entry));
    }
    return result;
}

ZnakiReadResult ReadZnaki(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ZnakiReadResult failed;
        failed.openFailed = true;
        return failed;
    }
    QString text = CodePage::decode(file.readAll(), CodePage::Windows1250);
    // CR LF and lone CR end lines as LF does.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return ParseZnaki(text);
}

ConvLookup::ConvLookup(std::vector<TConvData> fileEntries)
    : m_entries(std::move(fileEntries))
{
    m_entries.push_back(PolskawyTable());
}

const TConvData *ConvLookup::find(const QString &name) const
{
    for (const TConvData &t : m_entries)
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

unsigned char ConvertByte(unsigned char byte, const TConvData &from, const TConvData &to)
{
    unsigned char result = byte;
    for (int k = 0; k < kConvLetters; ++k)
        if (from.codes[k] != 0 && byte == from.codes[k] && to.codes[k] != 0)
            result = to.codes[k];
    return result;
}

QString ConvertPolish(QStringView text, const TConvData &from, const TConvData &to)
{
    // The byte rule lifted to characters once, then one table look-up per character.
    std::vector<char16_t> map(0x10000);
    std::iota(map.begin(), map.end(), char16_t(0));
    for (int b = 0; b < 256; ++b) {
        const unsigned char target = ConvertByte(static_cast<unsigned char>(b), from, to);
        if (target != b)
            map[CodePage::toUnicode(static_cast<unsigned char>(b), CodePage::Windows1250)]
                = CodePage::toUnicode(target, CodePage::Windows1250);
    }
    QString out(text.size(), Qt::Uninitialized);
    AdviseLargeBuffer(out.data(), std::size_t(out.size()) * sizeof(QChar));
    char16_t *d = reinterpret_cast<char16_t *>(out.data());
    const char16_t *s = reinterpret_cast<const char16_t *>(text.data());
    for (qsizetype i = 0, n = text.size(); i < n; ++i)
        d[i] = map[s[i]];
    return out;
}
