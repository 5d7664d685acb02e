// The markup check's places: every row with a place points into the text, on the line
// tidy named, and rows come in text order. The input is the page (LF line breaks only,
// so that lines are easy to count here).
#include "fuzzsupport.h"

#include "services/validator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString text = fuzz::fromWtf8(reinterpret_cast<const char *>(data), size);
    text.remove(u'\r');
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    ValidationOptions o;
    o.accessLevel = size > 0 ? data[0] % 4 : 0;
    const ValidationResult r = Validator::Validate(text, o);
    FUZZ_CHECK(!r.cancelled);
    int last = -1;
    for (const ValidationMessage &m : r.messages) {
        FUZZ_CHECK(m.position >= last);
        last = m.position;
        FUZZ_CHECK((m.line > 0) == (m.position >= 0));
        FUZZ_CHECK(m.position <= text.size());
        if (m.position < 0)
            continue;
        // The place is on tidy's line, or at the text's end when tidy named a line past it.
        const int line = int(QStringView(text).left(m.position).count(u'\n')) + 1;
        FUZZ_CHECK(line == m.line || (m.position == text.size() && line < m.line));
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
