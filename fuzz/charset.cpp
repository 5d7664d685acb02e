// Charset detection and tab expansion: the decision is the same on the raw bytes and on
// the text decoded in either code page. The first byte picks the tab width. Detection
// with UTF-8: each source's condition holds, declarations read the same from bytes and
// from text, and rewriting them leaves none that contradicts.
#include "fuzzsupport.h"

#include "base/codepage.h"
#include "base/utf8.h"
#include "services/charsetdeclaration.h"
#include "services/charsetdetect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString win = CodePage::decode(bytes, CodePage::Windows1250);
    const QString iso = CodePage::decode(bytes, CodePage::Iso8859_2);
    for (int mode = 0; mode <= 2; ++mode) {
        for (const bool defaultIso : { false, true }) {
            const bool fromBytes = DetectIso(bytes, mode, defaultIso);
            FUZZ_CHECK(DetectIso(win, mode, defaultIso) == fromBytes);
            FUZZ_CHECK(DetectIso(iso, mode, defaultIso) == fromBytes);
            if (mode != 0)
                FUZZ_CHECK(fromBytes == (mode == 2));
        }
    }
    // Markers are plain ASCII: upper-casing the page changes no decision.
    const QByteArray upper = bytes.toByteArray().toUpper();
    FUZZ_CHECK(DetectIso(upper, 0, false) == DetectIso(bytes, 0, false));

    // Detection in its order: mark, declaration, content, default.
    using E = DocumentEncoding;
    const bool mark
        = bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    const auto declared = DeclaredCodePage(bytes);
    const Utf8::Check utf8 = Utf8::check(bytes);
    for (const E::Id fallback : { E::Windows1250, E::Iso8859_2, E::Utf8 }) {
        const EncodingDetection d = DetectEncoding(bytes, 0, { fallback, false });
        switch (d.source) {
        case EncodingSource::ByteOrderMark:
            FUZZ_CHECK(mark && d.encoding.bom);
            break;
        case EncodingSource::Declaration:
            FUZZ_CHECK(!mark && declared && d.encoding.codePage == *declared);
            break;
        case EncodingSource::Content:
            FUZZ_CHECK(!mark && !declared && utf8.valid && utf8.multiByte && d.encoding == E::utf8());
            break;
        case EncodingSource::Default:
            FUZZ_CHECK(!mark && !declared && !(utf8.valid && utf8.multiByte));
            FUZZ_CHECK(
                d.encoding.codePage == (fallback == E::Utf8 && !utf8.valid ? E::Windows1250 : fallback));
            break;
        case EncodingSource::Forced:
            FUZZ_CHECK(false);
        }
        for (int mode = 1; mode <= 3; ++mode)
            FUZZ_CHECK(DetectEncoding(bytes, mode, { fallback, false }).source == EncodingSource::Forced);
    }
    // Declarations: the same from the bytes and from the text (one character a byte).
    const std::vector<CharsetDeclaration> fromBytes = FindCharsetDeclarations(bytes);
    const std::vector<CharsetDeclaration> fromText = FindCharsetDeclarations(win);
    FUZZ_CHECK(fromBytes.size() == fromText.size());
    for (size_t i = 0; i < fromBytes.size(); ++i) {
        FUZZ_CHECK(fromBytes[i].nameStart == fromText[i].nameStart && fromBytes[i].name == fromText[i].name);
        FUZZ_CHECK(win.mid(fromText[i].nameStart, fromText[i].nameLength) == fromText[i].name);
    }
    for (const E::Id id : { E::Windows1250, E::Iso8859_2, E::Utf8 }) {
        const QString rewritten = RewriteCharsetDeclarations(win, { id, false });
        FUZZ_CHECK(ContradictingDeclarations(rewritten, { id, false }).empty());
        FUZZ_CHECK(FindCharsetDeclarations(rewritten).size() == fromText.size());
    }

    const int width = size > 0 ? int(data[0] % 20) - 2 : 4;
    const QString expanded = ExpandTabs(win, width);
    const qsizetype tabs = win.count(QLatin1Char('\t'));
    FUZZ_CHECK(expanded.size() == win.size() + tabs * (std::max(width, 1) - 1));
    FUZZ_CHECK(!expanded.contains(QLatin1Char('\t')));
    return 0;
}

// A page of one long line: the marker search must stay linear in it.
std::vector<QByteArray> fuzz::GeneratedInputs()
{
    QByteArray page = "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; ";
    page += QByteArray(1 << 20, 'x');
    page += "charset=iso-8859-2\"></head><body>\t\xb1\xe6\xea</body></html>";
    return { page };
}
