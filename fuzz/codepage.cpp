// Code pages: every byte string survives decode and encode in both code pages, and any
// text encodes to the bytes of its characters, the rest as numeric references. UTF-8 is
// checked against a plain sequence-by-sequence reading; every document encoding reads
// bytes and writes them back unchanged with the line break found, and writes any text
// so that it reads back (a lone surrogate as U+FFFD in UTF-8). The input is taken both
// as bytes and as WTF-8 text.
#include "fuzzsupport.h"

#include "base/codepage.h"
#include "base/utf8.h"
#include "services/documentcodec.h"

#include <QStringDecoder>

namespace {

// RFC 3629 read one sequence at a time: where the first sequence that cannot be read
// starts, or -1.
qsizetype referenceUtf8Error(QByteArrayView bytes, bool *multiByte)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    *multiByte = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned b = s[i];
        int len = 0;
        unsigned lo = 0x80, hi = 0xBF;
        if (b < 0x80) {
            ++i;
            continue;
        } else if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            lo = b == 0xE0 ? 0xA0 : 0x80;
            hi = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            lo = b == 0xF0 ? 0x90 : 0x80;
            hi = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return i;
        }
        if (i + len > n)
            return i;
        if (s[i + 1] < lo || s[i + 1] > hi)
            return i;
        for (int k = 2; k < len; ++k)
            if ((s[i + k] & 0xC0) != 0x80)
                return i;
        *multiByte = true;
        i += len;
    }
    return -1;
}

} // namespace

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

    // UTF-8 against the plain reading, and Qt's decoder on what is valid.
    bool multiByte = false;
    const qsizetype error = referenceUtf8Error(bytes, &multiByte);
    const Utf8::Check check = Utf8::check(bytes);
    FUZZ_CHECK(check.valid == (error < 0) && check.errorOffset == error);
    FUZZ_CHECK(!check.valid || check.multiByte == multiByte);
    QString utf8Text;
    qsizetype decodeError = -2;
    FUZZ_CHECK(Utf8::decodeText(bytes, &utf8Text, 0, nullptr, &decodeError) == check.valid);
    if (check.valid) {
        // A leading byte-order mark kept as text, as the document decoder keeps it.
        QStringDecoder qtDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        QString qt = qtDecoder.decode(bytes);
        qt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        qt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        FUZZ_CHECK(utf8Text == qt);
    } else
        FUZZ_CHECK(decodeError == error);

    // Bytes through every document encoding and back, with the break found.
    using E = DocumentEncoding;
    const bool utf8Bom = bytes.startsWith("\xEF\xBB\xBF");
    const DocumentEncoding encodings[] = { { E::Windows1250, false }, { E::Iso8859_2, false },
        { E::Utf8, utf8Bom }, { E::Utf8, false }, { E::Utf16LE, true }, { E::Utf16BE, true } };
    for (const DocumentEncoding &encoding : encodings) {
        const bool marked = ByteOrderMark(encoding).isEmpty() || bytes.startsWith(ByteOrderMark(encoding));
        const DecodedDocument decoded = DecodeDocument(bytes, encoding, 0);
        if (!decoded.ok) {
            FUZZ_CHECK(!encoding.isEightBit());
            continue;
        }
        FUZZ_CHECK(!decoded.text.contains(QLatin1Char('\r')));
        const LineBreak lineBreak = decoded.breaks.majority(LineBreak::CrLf);
        EncodeCounts counts;
        const QByteArray back = EncodeDocument(decoded.text, encoding, lineBreak, &counts);
        FUZZ_CHECK(counts.unmappable == 0 && counts.replaced == 0);
        if (!decoded.breaks.mixed() && marked)
            FUZZ_CHECK(back == bytes);
        FUZZ_CHECK(DecodeDocument(back, encoding, 0).text == decoded.text);
        // Tabs expanded: as many more characters as the tabs need.
        const DecodedDocument expanded = DecodeDocument(bytes, encoding, 3);
        FUZZ_CHECK(expanded.text.size() == decoded.text.size() + 2 * decoded.text.count(QLatin1Char('\t')));
    }

    // Any text (CR left out: it would read back as a line break) through every encoding.
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    QString utf8Expected = plain;
    int lone = 0;
    for (qsizetype i = 0; i < utf8Expected.size(); ++i) {
        const QChar c = utf8Expected.at(i);
        if (c.isHighSurrogate() && i + 1 < utf8Expected.size() && utf8Expected.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            utf8Expected[i] = QChar::ReplacementCharacter;
            ++lone;
        }
    }
    for (const DocumentEncoding &encoding : encodings) {
        for (const LineBreak lineBreak : { LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr }) {
            EncodeCounts counts;
            const QByteArray written = EncodeDocument(plain, encoding, lineBreak, &counts);
            const DecodedDocument read = DecodeDocument(written, encoding, 0);
            FUZZ_CHECK(read.ok);
            if (encoding.codePage == E::Utf8) {
                FUZZ_CHECK(counts.replaced == lone && read.text == utf8Expected);
                FUZZ_CHECK(Utf8::check(written).valid);
            } else if (encoding.isUtf16()) {
                FUZZ_CHECK(read.text == plain);
            } else if (counts.unmappable == 0) {
                FUZZ_CHECK(read.text == plain);
            }
            if (plain.contains(QLatin1Char('\n')))
                FUZZ_CHECK(read.breaks.majority(LineBreak::CrLf) == lineBreak && !read.breaks.mixed());
        }
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
