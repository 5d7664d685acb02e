// Code pages: every byte string survives decode and encode in both code pages, and any
// text encodes to the bytes of its characters, the rest as numeric references. The
// input is taken both as bytes and as WTF-8 text.
#include "fuzzsupport.h"

#include "base/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = fuzz::fromWtf8(reinterpret_cast<const char *>(data), size);
    for (const CodePage::Id id : { CodePage::Windows1250, CodePage::Iso8859_2 }) {
        // Bytes to text and back: nothing lost, not even the bytes a code page leaves undefined.
        const QString decoded = CodePage::decode(bytes, id);
        FUZZ_CHECK(decoded.size() == bytes.size());
        for (qsizetype i = 0; i < decoded.size(); ++i) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            FUZZ_CHECK(decoded.at(i).unicode() == CodePage::toUnicode(b, id));
            FUZZ_CHECK(CodePage::fromUnicode(decoded.at(i).unicode(), id) == b);
        }
        int bad = -1;
        FUZZ_CHECK(CodePage::encode(decoded, id, &bad) == bytes && bad == 0);

        // Text to bytes: each character's byte, or "&#N;" for one the code page cannot
        // hold (a surrogate pair as one reference).
        QByteArray expected;
        int references = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            const int b = CodePage::fromUnicode(c, id);
            if (b >= 0) {
                expected += char(b);
                continue;
            }
            char32_t cp = c;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                cp = QChar::surrogateToUcs4(c, text.at(i + 1).unicode());
                ++i;
            }
            expected += "&#" + QByteArray::number(quint32(cp)) + ';';
            ++references;
        }
        const QByteArray encoded = CodePage::encode(text, id, &bad);
        FUZZ_CHECK(encoded == expected && bad == references);
        // What was encodable reads back as it was written.
        if (references == 0)
            FUZZ_CHECK(CodePage::decode(encoded, id) == text);
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
