// znaki.txt: the table reader and the recoding of Polish letters between its tables.
// The input is the file's bytes (Windows-1250).
#include "fuzzsupport.h"

#include "base/codepage.h"
#include "services/konwerter.h"
#include "services/konwertertexts.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString text = CodePage::decode(bytes, CodePage::Windows1250);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const ZnakiReadResult read = ParseZnaki(text);
    const int lines = int(text.count(u'\n')) + 1;
    FUZZ_CHECK(int(read.entries.size()) <= lines && int(read.errors.size()) <= int(read.entries.size()));
    int lastLine = 0;
    for (const QString &error : read.errors) {
        bool ok = false;
        for (int line = lastLine + 1; line <= lines && !ok; ++line)
            if (error == KonwerterTexts::lineError(line)) {
                ok = true;
                lastLine = line;
            }
        FUZZ_CHECK(ok); // a real line, in file order, each once
    }

    const ConvLookup lookup(read.entries);
    FUZZ_CHECK(lookup.fileCount() == int(read.entries.size()));
    for (const TConvData &e : read.entries) {
        const TConvData *found = lookup.find(e.name);
        FUZZ_CHECK(found && found->name.compare(e.name, Qt::CaseInsensitive) == 0);
    }

    // Every Windows-1250 character, then some of the file's own text.
    QString sample;
    for (int b = 0; b < 256; ++b)
        sample += QChar(CodePage::toUnicode(static_cast<unsigned char>(b), CodePage::Windows1250));
    sample += text.left(4096);
    const std::vector<TConvData> &tables = lookup.entries();
    const size_t n = std::min<size_t>(tables.size(), 3);
    for (size_t f = 0; f < n; ++f) {
        for (size_t t = 0; t < n; ++t) {
            const QString out = ConvertPolish(sample, tables[f], tables[t]);
            FUZZ_CHECK(out.size() == sample.size());
            // The whole-text conversion is the byte rule, character by character;
            // a table to itself changes nothing.
            for (qsizetype i = 0; i < sample.size(); ++i) {
                const int b = CodePage::fromUnicode(sample.at(i).unicode(), CodePage::Windows1250);
                const QChar expected = b < 0
                    ? sample.at(i)
                    : QChar(
                        CodePage::toUnicode(ConvertByte(static_cast<unsigned char>(b), tables[f], tables[t]),
                            CodePage::Windows1250));
                FUZZ_CHECK(out.at(i) == expected);
                FUZZ_CHECK(out.at(i) != QChar(0) || sample.at(i) == QChar(0));
            }
            if (f == t)
                FUZZ_CHECK(out == sample);
        }
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
