// Charset detection and tab expansion: the decision is the same on the raw bytes and on
// the text decoded in either code page. The first byte picks the tab width.
#include "fuzzsupport.h"

#include "services/charsetdetect.h"
#include "base/codepage.h"

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
