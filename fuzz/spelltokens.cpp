// The spelling tokenizer: words are in order, inside the text, made of letters, and what
// they cover says what they are; a stretch alone gives the words of the whole text that
// overlap it, read from a string or through TextAccess alike. The input is the page.
#include "fuzzsupport.h"

#include "base/textaccess.h"
#include "services/spelltokenizer.h"

namespace {
bool wordCharacter(char32_t c)
{
    return QChar::isLetter(c) || QChar::isMark(c) || c == u'-' || c == u'\'' || c == 0x2019;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzz::fromWtf8(reinterpret_cast<const char *>(data), size);
    const int n = int(text.size());
    const QVector<SpellWord> all = SpellTokenizer::Words(text, 0, n);
    int end = 0;
    for (const SpellWord &w : all) {
        FUZZ_CHECK(w.position >= end && w.length > 0 && w.position + w.length <= n);
        FUZZ_CHECK(!w.word.isEmpty() && w.word.size() <= SpellTokenizer::MaxWordLength);
        for (char32_t c : w.word.toUcs4())
            FUZZ_CHECK(wordCharacter(c));
        const QString covered = text.mid(w.position, w.length);
        if (!covered.contains(u'&'))
            FUZZ_CHECK(QString(covered).remove(QChar(0xAD)) == w.word);
        end = w.position + w.length;
    }

    // Inputs are far shorter than the look-back, so every stretch sees the text's start.
    const StringTextAccess access(text);
    const int step = std::max(1, n / 7);
    for (int from = 0; from < n; from += step) {
        const int to = std::min(n, from + step + 3);
        QVector<SpellWord> expected;
        for (const SpellWord &w : all)
            if (w.position < to && w.position + w.length > from)
                expected << w;
        FUZZ_CHECK(SpellTokenizer::Words(text, from, to) == expected);
        FUZZ_CHECK(SpellTokenizer::Words(access, from, to) == expected);
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
