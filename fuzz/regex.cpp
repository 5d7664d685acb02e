// Search patterns and substitution templates: compiling as the search window does,
// successive matches, the template against its pure form, and Replace all against the
// same replacement built by hand. Input: a flag byte, then pattern NUL subject NUL
// template, in WTF-8 so that lone surrogates can be written.
#include "fuzzsupport.h"

#include "base/documents.h"
#include "search/regex.h"
#include "search/searchengine.h"

namespace {

constexpr int kMatchLimit = 2000;

bool validUtf16(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            ++i;
        else if (s.at(i).isSurrogate())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t flags = data[0];
    const std::vector<QByteArray> parts = fuzz::split(data + 1, size - 1, '\0', 3);
    const QString pattern = fuzz::fromWtf8(parts[0].constData(), size_t(parts[0].size()));
    const QString subject = fuzz::fromWtf8(parts[1].constData(), size_t(parts[1].size()));
    const QString templ = fuzz::fromWtf8(parts[2].constData(), size_t(parts[2].size()));

    SearchOptions options;
    options.caseSensitive = flags & 1;
    options.regularExpression = flags & 2;
    options.dotExcludesNewline = flags & 4;
    options.specialSequences = flags & 8;

    QStringList history { QStringLiteral("a"), QStringLiteral("B") };
    SearchEngine::addToHistory(history, pattern);
    SearchEngine::addToHistory(history, subject);
    FUZZ_CHECK(history.size() <= SearchEngine::HistorySize);
    for (const QString &h : history)
        FUZZ_CHECK(!h.isEmpty() && h.size() <= SearchEngine::HistoryEntryLength);

    const Regex re = SearchEngine::prepare(pattern, options);
    if (!re.isValid()) {
        // The position is in the compiled expression: for a literal, the quoted text.
        FUZZ_CHECK(re.errorOffset() >= 0 && re.errorOffset() <= re.pattern().size());
        FUZZ_CHECK(!re.errorMessage().isEmpty());
        FUZZ_CHECK(pattern.isEmpty() == (re.errorCode() == Regex::NoExpression));
        // Quoted text is always a valid expression when it is valid UTF-16.
        if (!options.regularExpression)
            FUZZ_CHECK(pattern.isEmpty() || !validUtf16(pattern));
        SearchTexts::compileError(re);
        return 0;
    }
    if (!options.regularExpression && validUtf16(pattern)) {
        // A literal finds itself, whole.
        RegexMatcher self(re, pattern);
        FUZZ_CHECK(self.findNext() && self.start() == 0 && self.end() == pattern.size());
    }

    // Successive matches: inside the subject, moving forward, groups inside the match's
    // reach; the template gives what its pure form gives for the same groups.
    const SubstitutionTemplate t(templ);
    const qsizetype n = subject.size();
    QString manual;
    qsizetype copyPoint = 0;
    int matches = 0;
    bool complete = true;
    {
        RegexMatcher m(re, subject);
        qsizetype lastStart = -1, lastEnd = 0;
        while (m.findNext()) {
            FUZZ_CHECK(m.start() >= 0 && m.start() <= m.end() && m.end() <= n);
            FUZZ_CHECK(m.start() >= lastEnd);
            if (lastStart >= 0 && lastStart == lastEnd)
                FUZZ_CHECK(m.start() > lastStart);
            lastStart = m.start();
            lastEnd = m.end();
            QStringList groups;
            for (int g = 0; g <= m.groupCount(); ++g) {
                const qsizetype s = m.capturedStart(g), e = m.capturedEnd(g);
                const QStringView text = m.captured(g);
                if (s >= 0) {
                    FUZZ_CHECK(s <= n && e >= 0 && e <= n);
                    if (s <= e)
                        FUZZ_CHECK(text.size() == e - s && text == QStringView(subject).mid(s, e - s));
                }
                groups << text.toString();
            }
            FUZZ_CHECK(m.matched() == QStringView(subject).mid(m.start(), m.length()));
            const QString replaced = t.apply(m);
            FUZZ_CHECK(replaced == SubstitutionTemplate::substitute(templ, groups));
            if (t.isConstant())
                FUZZ_CHECK(replaced == SubstitutionTemplate::substitute(templ, {}));
            manual += QStringView(subject).mid(copyPoint, m.start() - copyPoint);
            manual += options.specialSequences ? replaced : templ;
            copyPoint = m.end();
            if (++matches == kMatchLimit) {
                complete = false;
                break;
            }
        }
        if (m.error())
            complete = false; // Replace all stops where the engine stopped too
        FUZZ_CHECK(!m.findNext() || !complete);
        // Starting anywhere, even inside a surrogate pair, finds a match at or after it.
        const qsizetype from = qsizetype(flags >> 4) * n / 15;
        if (m.matchFrom(from))
            FUZZ_CHECK(m.start() >= from && m.end() <= n);
    }
    manual += QStringView(subject).mid(copyPoint);

    if (complete) {
        StringDocumentSet docs;
        docs.add(subject);
        docs.activate(0);
        SearchEngine engine;
        engine.setPollInterval(0);
        const SearchEngine::RunResult r = engine.replaceAll(re, docs, options, pattern, templ);
        FUZZ_CHECK(r.error.isEmpty() && r.count == matches);
        FUZZ_CHECK(docs.at(0)->text() == (matches > 0 ? manual : subject));
        FUZZ_CHECK(r.rows.size() == size_t(matches) + 1);
    }
    return 0;
}

std::vector<QByteArray> fuzz::GeneratedInputs() { return {}; }
