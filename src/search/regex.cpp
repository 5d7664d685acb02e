#include "search/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <QHash>
#include <QStringList>
#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

struct TableEntry
{
    int code;
    const char *message; // UTF-8
};

// The messages the user sees for a compile error, by table code.
const TableEntry kMessages[] = {
    { 0, "Nie ma błędu" },
    { 100, "Brak wyrażenia regularnego" },
    { 101, "Zbyt duże wyrażenie" },
    { 102, "Za dużo nawiasów ()" },
    { 103, "Nieparzyste nawiasy ()" },
    { 104, "Nieparzyste nawiasy ()" },
    { 105, "Niewłaściwe zakończenie" },
    { 106, "Operator *+ nie może być pusty" },
    { 107, "Zagnieżdżony *?+" },
    { 108, "Niewłaściwa cyfra heksadecymalna" },
    { 109, "Nieprawidłowy zakres []" },
    { 110, "Niewłaściwe użycie \\" },
    { 111, "Brak kodu heksadecymalnego po \\x" },
    { 112, "Heksadecymalny kod po \\x jest za duży" },
    { 113, "Nieparzyste []" },
    { 114, "Błąd wewnętrzny" },
    { 119, "Błąd wewnętrzny" },
    { 115, "?+*{ następuje po niczym" },
    { 116, "\\ na końcu" },
    { 122, "Argument {} za duży" },
    { 124, "Pierwszy argument {} większy niż drugi" },
    { 125, "Niezamknięty (?#komentarz)" },
    { 126, "Nawiasy klamrowe {} nie działają z podwyrażeniami" },
    { 127, "Nierozpoznany modyfikator" },
};

struct EngineEntry
{
    int pcre2Error;
    Regex::ErrorCode code;
};

// PCRE2's compile errors that have a meaning in the table; every other one is "Nieznany błąd".
const EngineEntry kEngineToTable[] = {
    { PCRE2_ERROR_END_BACKSLASH, Regex::BackslashAtEnd },
    { PCRE2_ERROR_END_BACKSLASH_C, Regex::BackslashAtEnd },
    { PCRE2_ERROR_UNKNOWN_ESCAPE, Regex::BadBackslash },
    { PCRE2_ERROR_ESCAPE_INVALID_IN_CLASS, Regex::BadBackslash },
    { PCRE2_ERROR_UNSUPPORTED_ESCAPE_SEQUENCE, Regex::BadBackslash },
    { PCRE2_ERROR_QUANTIFIER_OUT_OF_ORDER, Regex::BraceArgumentsReversed },
    { PCRE2_ERROR_QUANTIFIER_TOO_BIG, Regex::BraceArgumentTooBig },
    { PCRE2_ERROR_MISSING_SQUARE_BRACKET, Regex::UnmatchedBrackets },
    { PCRE2_ERROR_CLASS_RANGE_ORDER, Regex::BadClassRange },
    { PCRE2_ERROR_CLASS_INVALID_RANGE, Regex::BadClassRange },
    { PCRE2_ERROR_QUANTIFIER_INVALID, Regex::RepeatFollowsNothing },
    { PCRE2_ERROR_INVALID_AFTER_PARENS_QUERY, Regex::UnknownModifier },
    { PCRE2_ERROR_UNRECOGNIZED_AFTER_QUERY_P, Regex::UnknownModifier },
    { PCRE2_ERROR_INVALID_HYPHEN_IN_OPTIONS, Regex::UnknownModifier },
    { PCRE2_ERROR_MISSING_CLOSING_PARENTHESIS, Regex::UnmatchedOpeningParenthesis },
    { PCRE2_ERROR_UNMATCHED_CLOSING_PARENTHESIS, Regex::UnmatchedClosingParenthesis },
    { PCRE2_ERROR_NULL_PATTERN, Regex::NoExpression },
    { PCRE2_ERROR_MISSING_COMMENT_CLOSING, Regex::UnclosedComment },
    { PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP, Regex::TooManyParentheses },
    { PCRE2_ERROR_PARENTHESES_STACK_CHECK, Regex::TooManyParentheses },
    { PCRE2_ERROR_QUERY_BARJX_NEST_TOO_DEEP, Regex::TooManyParentheses },
    { PCRE2_ERROR_TOO_MANY_CAPTURES, Regex::TooManyParentheses },
    { PCRE2_ERROR_PATTERN_TOO_LARGE, Regex::ExpressionTooBig },
    { PCRE2_ERROR_PATTERN_TOO_COMPLICATED, Regex::ExpressionTooBig },
    { PCRE2_ERROR_PATTERN_STRING_TOO_LONG, Regex::ExpressionTooBig },
    { PCRE2_ERROR_INVALID_HEXADECIMAL, Regex::BadHexDigit },
    { PCRE2_ERROR_MISSING_OCTAL_OR_HEX_DIGITS, Regex::MissingHexCode },
    { PCRE2_ERROR_CODE_POINT_TOO_BIG, Regex::HexCodeTooBig },
    { PCRE2_ERROR_BACKSLASH_U_CODE_POINT_TOO_BIG, Regex::HexCodeTooBig },
    { PCRE2_ERROR_INTERNAL_UNEXPECTED_REPEAT, Regex::InternalError },
    { PCRE2_ERROR_BAD_OPTIONS, Regex::InternalError },
    { PCRE2_ERROR_HEAP_FAILED, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_CODE_OVERFLOW, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_STUDY_ERROR, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_OVERRAN_WORKSPACE, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_MISSING_SUBPATTERN, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_UNKNOWN_NEWLINE, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_PARSED_OVERFLOW, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_BAD_CODE_LOOKBEHINDS, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_BAD_CODE_AUTO_POSSESS, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_BAD_CODE, Regex::InternalError },
    { PCRE2_ERROR_INTERNAL_BAD_CODE_IN_SKIP, Regex::InternalError },
};

bool isQuoted(QChar c)
{
    static const QString special = QStringLiteral("^$.[()|?+*\\{]}");
    return special.contains(c);
}

PCRE2_SPTR16 sptr(const QChar *p) { return reinterpret_cast<PCRE2_SPTR16>(p); }

// A lone surrogate anywhere makes the subject invalid UTF-16 for the engine. Most texts
// hold no surrogate at all: a branch-free pass over blocks (which the compiler turns
// into vector code) looks for one before the exact check runs.
bool isValidUtf16(QStringView s)
{
    const char16_t *p = s.utf16();
    const qsizetype n = s.size();
    constexpr qsizetype kBlock = 4096;
    qsizetype first = n;
    for (qsizetype b = 0; b < n; b += kBlock) {
        const qsizetype e = std::min(n, b + kBlock);
        unsigned any = 0;
        for (qsizetype i = b; i < e; ++i)
            any |= unsigned((p[i] & 0xF800) == 0xD800);
        if (any) {
            first = b;
            break;
        }
    }
    for (qsizetype i = first; i < n; ++i) {
        const char16_t c = p[i];
        if (c < 0xD800 || c > 0xDFFF)
            continue;
        if (c >= 0xDC00 || i + 1 >= n || p[i + 1] < 0xDC00 || p[i + 1] > 0xDFFF)
            return false;
        ++i;
    }
    return true;
}

pcre2_code *compileCode(const QString &pattern, uint32_t options, int *error, PCRE2_SIZE *offset)
{
    pcre2_compile_context *ctx = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(ctx, PCRE2_NEWLINE_LF);
    pcre2_code *code
        = pcre2_compile(sptr(pattern.constData()), PCRE2_SIZE(pattern.size()), options, error, offset, ctx);
    pcre2_compile_context_free(ctx);
    return code;
}

} // namespace

// How a literal is found without the engine: per character of the literal the code
// units that match it (in any case: asked of the engine itself, so the answer is the
// engine's), and the position whose units are looked for first, eight units a step.
// The engine scans slowly for a first letter with three or more forms in any case ("s":
// s, S and the long s; "k": k, K and the Kelvin sign), and a literal is found this way
// in about half the time of its scan even otherwise.
struct LiteralPlan
{
    static constexpr int kMaxForms = 8;
    struct Forms
    {
        char16_t unit[kMaxForms];
        int count = 0;
        bool has(char16_t c) const
        {
            for (int k = 0; k < count; ++k)
                if (unit[k] == c)
                    return true;
            return false;
        }
    };
    std::vector<Forms> forms;
    int pivot = 0;
};

struct Regex::Code
{
    pcre2_code *code = nullptr;
    uint32_t options = 0;
    bool jit = false;
    std::unique_ptr<LiteralPlan> literal;
    ~Code() { pcre2_code_free(code); }
};

namespace {

// Every code unit of the Basic Multilingual Plane outside the surrogates, once each.
const QString &allUnits()
{
    static const QString units = [] {
        QString s;
        s.reserve(0x10000 - 0x800);
        for (uint c = 1; c < 0x10000; ++c)
            if (c < 0xD800 || c > 0xDFFF)
                s += QChar(char16_t(c));
        return s;
    }();
    return units;
}

// The code units a caseless expression of one character c matches, as the engine sees
// them; count 0 when there are more than LiteralPlan::kMaxForms. Cached per character.
LiteralPlan::Forms caselessForms(char16_t c)
{
    static std::mutex lock;
    static QHash<char16_t, LiteralPlan::Forms> cache;
    {
        std::lock_guard<std::mutex> guard(lock);
        const auto it = cache.constFind(c);
        if (it != cache.constEnd())
            return *it;
    }
    LiteralPlan::Forms forms;
    Regex one;
    if (one.compile(Regex::quote(QString(QChar(c))), true, true)) {
        RegexMatcher m(one, allUnits());
        while (m.findNext()) {
            if (m.length() != 1 || forms.count == LiteralPlan::kMaxForms) {
                forms.count = 0;
                break;
            }
            forms.unit[forms.count++] = m.matched().at(0).unicode();
        }
    }
    std::lock_guard<std::mutex> guard(lock);
    cache.insert(c, forms);
    return forms;
}

// Letters by how seldom they stand in Polish and English text, rarest first: the
// position looked for first is the one whose character is met least.
int rarity(char16_t c)
{
    static const char kOrder[] = "qxjvfbhgwkyupmcdltrsnzoiea";
    if (c >= u'A' && c <= u'Z')
        c = char16_t(c - u'A' + u'a');
    if (c >= u'a' && c <= u'z')
        return int(std::strchr(kOrder, char(c)) - kOrder) + 2;
    if (c >= 0x80)
        return 1; // letters with diacritics: seldom
    return 0; // digits, punctuation, markup: rarest in running text
}

std::unique_ptr<LiteralPlan> planFor(const QString &text, bool caseInsensitive)
{
    if (text.isEmpty())
        return nullptr;
    for (const QChar ch : text)
        if (ch.isSurrogate())
            return nullptr;
    auto plan = std::make_unique<LiteralPlan>();
    for (const QChar ch : text) {
        LiteralPlan::Forms f;
        if (caseInsensitive) {
            f = caselessForms(ch.unicode());
            if (f.count == 0)
                return nullptr;
        } else {
            f.unit[0] = ch.unicode();
            f.count = 1;
        }
        plan->forms.push_back(f);
    }
    int best = -1;
    for (int i = 0; i < int(plan->forms.size()); ++i) {
        if (plan->forms[size_t(i)].count > 2)
            continue;
        if (best < 0 || rarity(text.at(i).unicode()) < rarity(text.at(best).unicode()))
            best = i;
    }
    if (best < 0)
        return nullptr;
    plan->pivot = best;
    return plan;
}

// The first index in [from, n) holding a or b, or -1; eight units a step where the
// processor has SSE2 (every x86-64 one).
qsizetype findEither(const char16_t *p, qsizetype from, qsizetype n, char16_t a, char16_t b)
{
    qsizetype i = from;
#ifdef __SSE2__
    const __m128i va = _mm_set1_epi16(short(a));
    const __m128i vb = _mm_set1_epi16(short(b));
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, va), _mm_cmpeq_epi16(v, vb)));
        if (mask)
            return i + __builtin_ctz(unsigned(mask)) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == a || p[i] == b)
            return i;
    return -1;
}

} // namespace

Regex::Regex() = default;
Regex::~Regex() = default;

bool Regex::compile(const QString &pattern, bool caseInsensitive, bool dotMatchesNewline)
{
    m_code.reset();
    m_pattern = pattern;
    m_engineError = 0;
    m_errorOffset = 0;
    if (pattern.isEmpty()) {
        // An empty expression would match between every two characters.
        m_errorCode = NoExpression;
        return false;
    }
    // UTF so that Polish letters match regardless of case; UCP so that \w takes them too.
    // MULTILINE: ^ and $ stand for line starts and ends in a document of many lines.
    uint32_t options = PCRE2_UTF | PCRE2_UCP | PCRE2_MULTILINE;
    if (caseInsensitive)
        options |= PCRE2_CASELESS;
    if (dotMatchesNewline)
        options |= PCRE2_DOTALL;
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code *code = compileCode(pattern, options, &error, &offset);
    if (!code) {
        m_errorCode = codeForEngineError(error);
        m_engineError = error;
        m_errorOffset = int(qMin<PCRE2_SIZE>(offset, PCRE2_SIZE(pattern.size())));
        return false;
    }
    auto c = std::make_shared<Code>();
    c->code = code;
    c->options = options;
    c->jit = pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0;
    m_code = std::move(c);
    m_errorCode = NoError;
    return true;
}

int Regex::captureCount() const
{
    uint32_t n = 0;
    if (m_code)
        pcre2_pattern_info(m_code->code, PCRE2_INFO_CAPTURECOUNT, &n);
    return int(n);
}

QString Regex::messageForCode(int code)
{
    for (const TableEntry &e : kMessages)
        if (e.code == code)
            return QString::fromUtf8(e.message);
    return QString::fromUtf8("Nieznany błąd");
}

Regex::ErrorCode Regex::codeForEngineError(int pcre2Error)
{
    for (const EngineEntry &e : kEngineToTable)
        if (e.pcre2Error == pcre2Error)
            return e.code;
    return UnknownError;
}

QString Regex::engineMessage(int pcre2Error)
{
    PCRE2_UCHAR16 buffer[256];
    const int n = pcre2_get_error_message(pcre2Error, buffer, 256);
    if (n < 0)
        return QString();
    return QString(reinterpret_cast<const QChar *>(buffer), n);
}

QString Regex::quote(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 4);
    for (const QChar c : text) {
        if (isQuoted(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

bool Regex::compileLiteral(const QString &text, bool caseInsensitive, bool dotMatchesNewline)
{
    if (compile(quote(text), caseInsensitive, dotMatchesNewline)) {
        m_code->literal = planFor(text, caseInsensitive);
        return true;
    }
    // The engine counted in the quoted pattern; the user typed the text without the
    // backslashes, and it is there that the error is shown.
    int patternPos = 0;
    int index = 0;
    for (const int n = int(text.size()); index < n; ++index) {
        patternPos += isQuoted(text.at(index)) ? 2 : 1;
        if (m_errorOffset < patternPos)
            break;
    }
    m_errorOffset = index;
    return false;
}

// --- RegexMatcher ---------------------------------------------------------------

struct RegexMatcher::Data
{
    std::shared_ptr<Regex::Code> shared;
    pcre2_code *own = nullptr; // compiled for invalid UTF-16 subjects only
    const pcre2_code *code = nullptr;
    bool jit = false;
    uint32_t matchOptions = 0;
    pcre2_match_data *md = nullptr;
    pcre2_match_context *mctx = nullptr;
    pcre2_jit_stack *stack = nullptr;
    const LiteralPlan *literal = nullptr;
    size_t literalMatch[2] = { 0, 0 };

    ~Data()
    {
        pcre2_match_data_free(md);
        pcre2_match_context_free(mctx);
        pcre2_jit_stack_free(stack);
        pcre2_code_free(own);
    }
};

RegexMatcher::RegexMatcher(const Regex &regex, QStringView subject)
    : m_d(std::make_unique<Data>())
    , m_subject(subject)
{
    static const size_t kNoMatch[2] = { 0, 0 };
    m_ovector = kNoMatch;
    if (!regex.m_code) {
        m_done = true;
        return;
    }
    m_d->shared = regex.m_code;
    m_d->code = regex.m_code->code;
    m_d->jit = regex.m_code->jit;
    if (regex.m_code->literal) {
        // Compared unit by unit: a lone surrogate in the subject matches no unit of the plan.
        m_d->literal = regex.m_code->literal.get();
        return;
    }
    if (isValidUtf16(subject)) {
        m_d->matchOptions = PCRE2_NO_UTF_CHECK;
    } else {
        // Rare (a lone surrogate): a copy of the expression that tolerates bad UTF-16.
        int error = 0;
        PCRE2_SIZE offset = 0;
        m_d->own
            = compileCode(regex.m_pattern, regex.m_code->options | PCRE2_MATCH_INVALID_UTF, &error, &offset);
        if (!m_d->own) {
            m_error = error;
            m_done = true;
            return;
        }
        m_d->code = m_d->own;
        m_d->jit = pcre2_jit_compile(m_d->own, PCRE2_JIT_COMPLETE) == 0;
        m_d->matchOptions = 0;
    }
    m_d->md = pcre2_match_data_create_from_pattern(m_d->code, nullptr);
    m_d->mctx = pcre2_match_context_create(nullptr);
    if (m_d->jit) {
        m_d->stack = pcre2_jit_stack_create(32 * 1024, 8 * 1024 * 1024, nullptr);
        pcre2_jit_stack_assign(m_d->mctx, nullptr, m_d->stack);
    }
    uint32_t pairs = pcre2_get_ovector_count(m_d->md);
    m_groups = int(pairs) - 1;
}

RegexMatcher::~RegexMatcher() = default;

bool RegexMatcher::matchFrom(qsizetype offset)
{
    m_done = m_d->md == nullptr && m_d->literal == nullptr;
    m_next = qMax<qsizetype>(0, offset);
    return findNext();
}

bool RegexMatcher::findNext()
{
    static const size_t kNoMatch[2] = { 0, 0 };
    const qsizetype n = m_subject.size();
    if (m_done || m_next > n) {
        m_done = true;
        m_ovector = kNoMatch;
        return false;
    }
    // Never start inside a surrogate pair.
    if (m_next > 0 && m_next < n && m_subject[m_next].isLowSurrogate()
        && m_subject[m_next - 1].isHighSurrogate())
        ++m_next;
    if (m_d->literal)
        return findLiteral();
    const PCRE2_SPTR16 s = reinterpret_cast<PCRE2_SPTR16>(m_subject.utf16());
    int rc;
    if (m_d->jit)
        rc = pcre2_jit_match(
            m_d->code, s, PCRE2_SIZE(n), PCRE2_SIZE(m_next), m_d->matchOptions, m_d->md, m_d->mctx);
    else
        rc = pcre2_match(
            m_d->code, s, PCRE2_SIZE(n), PCRE2_SIZE(m_next), m_d->matchOptions, m_d->md, m_d->mctx);
    if (rc < 0) {
        m_error = rc == PCRE2_ERROR_NOMATCH ? 0 : rc;
        m_done = true;
        m_ovector = kNoMatch;
        return false;
    }
    m_error = 0;
    m_ovector = pcre2_get_ovector_pointer(m_d->md);
    const qsizetype st = qsizetype(m_ovector[0]);
    const qsizetype en = qsizetype(m_ovector[1]);
    if (en > st) {
        m_next = en;
    } else {
        // After an empty match the next search starts one character further on.
        m_next = st
            + ((st + 1 < n && m_subject[st].isHighSurrogate() && m_subject[st + 1].isLowSurrogate()) ? 2 : 1);
    }
    return true;
}

bool RegexMatcher::findLiteral()
{
    static const size_t kNoMatch[2] = { 0, 0 };
    const LiteralPlan &plan = *m_d->literal;
    const char16_t *p = m_subject.utf16();
    const qsizetype n = m_subject.size();
    const qsizetype len = qsizetype(plan.forms.size());
    const LiteralPlan::Forms &pivot = plan.forms[size_t(plan.pivot)];
    const char16_t a = pivot.unit[0];
    const char16_t b = pivot.unit[pivot.count - 1];
    for (qsizetype q = m_next + plan.pivot; q < n;) {
        q = findEither(p, q, n, a, b);
        if (q < 0)
            break;
        const qsizetype start = q - plan.pivot;
        if (start + len <= n) {
            qsizetype j = 0;
            while (j < len && plan.forms[size_t(j)].has(p[start + j]))
                ++j;
            if (j == len) {
                m_d->literalMatch[0] = size_t(start);
                m_d->literalMatch[1] = size_t(start + len);
                m_ovector = m_d->literalMatch;
                m_error = 0;
                m_next = start + len;
                return true;
            }
        }
        ++q;
    }
    m_done = true;
    m_ovector = kNoMatch;
    return false;
}

qsizetype RegexMatcher::capturedStart(int group) const
{
    if (m_done || group < 0 || group > m_groups)
        return -1;
    const size_t v = m_ovector[2 * group];
    return v == PCRE2_UNSET ? -1 : qsizetype(v);
}

qsizetype RegexMatcher::capturedEnd(int group) const
{
    if (m_done || group < 0 || group > m_groups)
        return -1;
    const size_t v = m_ovector[2 * group + 1];
    return v == PCRE2_UNSET ? -1 : qsizetype(v);
}

QStringView RegexMatcher::captured(int group) const
{
    if (m_done || group < 0 || group > m_groups)
        return QStringView();
    const size_t a = m_ovector[2 * group];
    const size_t b = m_ovector[2 * group + 1];
    if (a == PCRE2_UNSET || b == PCRE2_UNSET || b < a)
        return QStringView();
    return m_subject.mid(qsizetype(a), qsizetype(b - a));
}

// --- SubstitutionTemplate --------------------------------------------------------

SubstitutionTemplate::SubstitutionTemplate(const QString &templ)
{
    QString literal;
    auto flush = [&] {
        if (!literal.isEmpty()) {
            m_pieces.append(Piece { literal, -1 });
            literal.clear();
        }
    };
    auto group = [&](int g) {
        flush();
        m_pieces.append(Piece { QString(), g });
    };
    const qsizetype n = templ.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = templ[i];
        if (c == QLatin1Char('\\') && i + 1 < n) {
            literal += templ[i + 1];
            i += 2;
            continue;
        }
        if (c == QLatin1Char('$') && i + 1 < n) {
            const QChar next = templ[i + 1];
            if (next == QLatin1Char('&')) {
                group(0);
                i += 2;
                continue;
            }
            if (next >= QLatin1Char('0') && next <= QLatin1Char('9')) {
                group(next.unicode() - '0');
                i += 2;
                continue;
            }
            if (next == QLatin1Char('{')) {
                const qsizetype close = templ.indexOf(QLatin1Char('}'), i + 2);
                const qsizetype digits = close - (i + 2);
                bool allDigits = close > 0 && digits > 0;
                for (qsizetype k = i + 2; allDigits && k < close; ++k)
                    allDigits = templ[k].isDigit() && templ[k].unicode() < 128;
                if (allDigits) {
                    bool ok = false;
                    const int g = QStringView(templ).mid(i + 2, digits).toInt(&ok);
                    group(ok ? g : INT_MAX); // a number too big names no group: empty text
                    i = close + 1;
                    continue;
                }
            }
        }
        literal += c;
        ++i;
    }
    flush();
}

void SubstitutionTemplate::appendTo(QString &out, const RegexMatcher &match) const
{
    for (const Piece &p : m_pieces) {
        if (p.group < 0)
            out += p.literal;
        else
            out += match.captured(p.group);
    }
}

QString SubstitutionTemplate::apply(const RegexMatcher &match) const
{
    QString out;
    appendTo(out, match);
    return out;
}

bool SubstitutionTemplate::isConstant() const
{
    for (const Piece &p : m_pieces)
        if (p.group >= 0)
            return false;
    return true;
}

QString SubstitutionTemplate::substitute(const QString &templ, const QStringList &groups)
{
    const SubstitutionTemplate t(templ);
    QString out;
    for (const Piece &p : t.m_pieces) {
        if (p.group < 0)
            out += p.literal;
        else if (p.group < groups.size())
            out += groups.at(p.group);
    }
    return out;
}
