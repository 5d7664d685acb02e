#include "services/tidysession_p.h"

#include <algorithm>
#include <mutex>
#include <numeric>

namespace {
// How often the parse looks at cancel and progress, in bytes of input.
constexpr qsizetype kCheckEvery = 64 * 1024;

bool installedLanguage(const char *wanted)
{
    const QByteArray want(wanted);
    TidyIterator it = getInstalledLanguageList();
    while (it) {
        const QByteArray name = QByteArray(getNextInstalledLanguage(&it)).toLower();
        if (name == want || name.startsWith(want + '_'))
            return true;
    }
    return false;
}

bool kindOf(TidyReportLevel level, ValidationMessage::Kind *kind)
{
    switch (level) {
    case TidyInfo:
        *kind = ValidationMessage::Info;
        return true;
    case TidyWarning:
        *kind = ValidationMessage::Warning;
        return true;
    case TidyAccess:
        *kind = ValidationMessage::Access;
        return true;
    case TidyConfig:
    case TidyError:
    case TidyBadDocument:
    case TidyFatal:
        *kind = ValidationMessage::Error;
        return true;
    default:
        // The dialogue levels (counts, footnotes) say nothing about a place in the page.
        return false;
    }
}

bool wanted(const ValidationOptions &o, ValidationMessage::Kind kind)
{
    switch (kind) {
    case ValidationMessage::Error:
        return o.errors;
    case ValidationMessage::Warning:
        return o.warnings;
    case ValidationMessage::Info:
        return o.info;
    case ValidationMessage::Access:
        return o.accessLevel > 0;
    }
    return false;
}

// A leading byte order mark is dropped by tidy without being counted as a column.
int textOrigin(const QString &text) { return text.startsWith(QChar(0xFEFF)) ? 1 : 0; }
} // namespace

QString TidyLanguage()
{
    static QString language;
    static std::once_flag once;
    std::call_once(once, [] {
        const bool polish = installedLanguage("pl") && tidySetLanguage("pl");
        if (!polish)
            tidySetLanguage("en");
        language = polish ? QStringLiteral("pl") : QStringLiteral("en");
    });
    return language;
}

TidySession::TidySession(const ValidationOptions &options)
    : m_options(options)
{
    TidyLanguage();
    m_doc = tidyCreate();
    tidySetAppData(m_doc, this);
    tidySetMessageCallback(m_doc, &TidySession::onMessage);
    tidySetInCharEncoding(m_doc, "utf8");
    // The declared DOCTYPE decides the version checked against (HTML5 without one).
    tidyOptSetValue(m_doc, TidyDoctype, "auto");
    // Tabs stay tabs, and a tab is then one column in tidy's places.
    tidyOptSetBool(m_doc, TidyKeepTabs, yes);
    // tidy stops reporting errors after six by default.
    tidyOptSetInt(m_doc, TidyShowErrors, 1 << 30);
    tidyOptSetBool(m_doc, TidyShowWarnings, yes);
    tidyOptSetBool(m_doc, TidyShowInfo, yes);
    tidyOptSetInt(m_doc, TidyAccessibilityCheckLevel, ulong(std::clamp(options.accessLevel, 0, 3)));
}

TidySession::~TidySession() { tidyRelease(m_doc); }

bool TidySession::run(const QString &text, const TidyRunControl &control)
{
    m_input = QStringView(text).mid(textOrigin(text)).toUtf8();
    m_next = 0;
    m_checkAt = 0;
    m_reported = -1;
    m_stopped = false;
    m_control = &control;

    TidyInputSource source;
    tidyInitSource(&source, this, &TidySession::getByte, &TidySession::ungetByte, &TidySession::isEof);
    tidyParseSource(m_doc, &source);
    m_control = nullptr;
    m_input = QByteArray();
    if (m_stopped)
        return false;
    if (control.progress)
        control.progress(1000);
    tidyCleanAndRepair(m_doc);
    tidyRunDiagnostics(m_doc);
    return true;
}

int TIDY_CALL TidySession::getByte(void *source)
{
    auto *s = static_cast<TidySession *>(source);
    if (s->m_next >= s->m_checkAt && s->m_next < s->m_input.size()) {
        s->m_checkAt = s->m_next + kCheckEvery;
        if (s->m_control->cancelled && s->m_control->cancelled())
            s->m_stopped = true;
        if (s->m_control->progress) {
            const int permille = int(s->m_next * 1000 / s->m_input.size());
            if (permille != s->m_reported)
                s->m_control->progress(s->m_reported = permille);
        }
    }
    if (s->m_stopped || s->m_next >= s->m_input.size())
        return EndOfStream;
    return static_cast<unsigned char>(s->m_input.at(s->m_next++));
}

void TIDY_CALL TidySession::ungetByte(void *source, byte)
{
    auto *s = static_cast<TidySession *>(source);
    if (s->m_next > 0)
        --s->m_next;
}

Bool TIDY_CALL TidySession::isEof(void *source)
{
    auto *s = static_cast<TidySession *>(source);
    return s->m_stopped || s->m_next >= s->m_input.size() ? yes : no;
}

Bool TIDY_CALL TidySession::onMessage(TidyMessage message)
{
    auto *s = static_cast<TidySession *>(tidyGetAppData(tidyGetMessageDoc(message)));
    ValidationMessage::Kind kind;
    if (!kindOf(tidyGetMessageLevel(message), &kind))
        return no;
    ++s->m_found[kind];
    if (!wanted(s->m_options, kind))
        return no;
    if (s->m_rows.size() >= s->m_options.maxRows) {
        ++s->m_dropped;
        return no;
    }
    ValidationMessage row;
    row.kind = kind;
    row.line = std::max(0, tidyGetMessageLine(message));
    row.column = row.line > 0 ? std::max(1, tidyGetMessageColumn(message)) : 0;
    row.text = QString::fromUtf8(tidyGetMessage(message)).trimmed();
    row.key = QString::fromUtf8(tidyGetMessageKey(message));
    s->m_rows.append(row);
    // Handled here: nothing goes to tidy's own error output.
    return no;
}

ValidationResult TidySession::result(const QString &text) const
{
    ValidationResult r;
    r.messages = m_rows;
    r.found = m_found;
    r.dropped = m_dropped;
    r.htmlVersion = tidyDetectedHtmlVersion(m_doc);

    // One walk over the text, visiting the places in order. tidy ends a line at LF, CR LF
    // or CR, and counts code points (a surrogate pair is one column); after a lone CR it
    // goes on counting columns where the line before stopped.
    std::vector<int> order(r.messages.size());
    std::iota(order.begin(), order.end(), 0);
    auto place = [&](int i) { return std::make_pair(r.messages[i].line, r.messages[i].column); };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return place(a) < place(b); });
    const qsizetype n = text.size();
    qsizetype pos = textOrigin(text);
    int line = 1;
    int column = 1;
    auto isBreak = [&](qsizetype i) { return text[i] == u'\n' || text[i] == u'\r'; };
    auto step = [&] {
        if (text[pos] == u'\r' && (pos + 1 >= n || text[pos + 1] != u'\n')) {
            ++pos;
            ++line;
        } else if (isBreak(pos)) {
            pos += text[pos] == u'\r' ? 2 : 1;
            ++line;
            column = 1;
        } else {
            pos += text[pos].isHighSurrogate() && pos + 1 < n && text[pos + 1].isLowSurrogate() ? 2 : 1;
            ++column;
        }
    };
    for (int i : order) {
        ValidationMessage &m = r.messages[i];
        if (m.line <= 0)
            continue;
        while (line < m.line && pos < n)
            step();
        while (line == m.line && column < m.column && pos < n && !isBreak(pos))
            step();
        m.position = int(pos);
    }

    // Text order; rows about the whole document first.
    std::stable_sort(r.messages.begin(), r.messages.end(),
        [](const ValidationMessage &a, const ValidationMessage &b) { return a.position < b.position; });
    return r;
}
