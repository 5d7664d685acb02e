#include "tags/tagmatch.h"

#include "base/textaccess.h"

#include <QVector>
#include <algorithm>

namespace {

// The longest tag taken for one: a "<" with no ">" this far on is text. Comments may be
// longer; the scan budget bounds them.
constexpr int kTagLimit = 64 * 1024;
// How many characters one read of the text brings, and how far it reaches back against
// the direction of the walk (a token that straddles two reads is read forward while
// the walk goes backward).
constexpr int kChunk = 16 * 1024;
constexpr int kMargin = 1024;
// How many "<" before a tag's own are tried as the start of a tag that holds it in a
// quoted value (<a title="x<y">).
constexpr int kOuterTries = 8;

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\n') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
        || c == QLatin1Char('\f');
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// Sequential access to the text a chunk at a time, in either direction, counting every
// character it is asked for: the count is what the scan budget limits.
class Reader
{
public:
    explicit Reader(const TextAccess &text)
        : m_text(text)
        , m_length(text.length())
    {
    }

    int length() const { return m_length; }

    // The character at pos; a null QChar outside the text.
    QChar at(int pos)
    {
        ++m_spent;
        const unsigned off = unsigned(pos - m_from);
        if (off < unsigned(m_size))
            return m_data[off];
        return load(pos);
    }

    // From now on the reader counts as exhausted after n more characters.
    void allow(qint64 n) { m_allowance = m_spent + n; }
    bool out() const { return m_spent > m_allowance; }
    qint64 spent() const { return m_spent; }

private:
    QChar load(int pos)
    {
        if (pos < 0 || pos >= m_length)
            return QChar();
        int from;
        if (m_size == 0)
            from = pos - kChunk / 2;
        else if (pos < m_from)
            from = pos - kChunk + kMargin; // walking backward: read what lies before
        else
            from = pos - kMargin;
        from = std::clamp(from, 0, std::max(0, m_length - kChunk));
        m_chunk = m_text.mid(from, kChunk);
        m_from = from;
        m_size = int(m_chunk.size());
        m_data = m_chunk.constData();
        return pos - from < m_size ? m_data[pos - from] : QChar();
    }

    const TextAccess &m_text;
    const int m_length;
    QString m_chunk;
    const QChar *m_data = nullptr;
    int m_from = 0;
    int m_size = 0;
    qint64 m_spent = 0;
    qint64 m_allowance = 0;
};

TagToken untilGt(Reader &r, int start, int from, TagToken::Kind kind)
{
    const int stop = std::min(r.length(), start + kTagLimit);
    for (int i = from; i < stop; ++i) {
        if (r.at(i) == QLatin1Char('>')) {
            TagToken t;
            t.kind = kind;
            t.start = start;
            t.end = i + 1;
            return t;
        }
    }
    return {};
}

// The token whose "<" is at c, read forward as HTML's tokenizer reads it: quoted
// attribute values may hold ">", a "/" right before ">" makes a start tag self-closing.
TagToken parseAt(Reader &r, int c)
{
    if (r.at(c) != QLatin1Char('<'))
        return {};
    const QChar c1 = r.at(c + 1);
    if (c1 == QLatin1Char('!')) {
        if (r.at(c + 2) == QLatin1Char('-') && r.at(c + 3) == QLatin1Char('-')) {
            // "<!-->" is a whole (empty) comment, hence the search from c + 2.
            for (int i = c + 2; i + 2 < r.length() && !r.out(); ++i) {
                if (r.at(i) == QLatin1Char('-') && r.at(i + 1) == QLatin1Char('-')
                    && r.at(i + 2) == QLatin1Char('>')) {
                    TagToken t;
                    t.kind = TagToken::Comment;
                    t.start = c;
                    t.end = i + 3;
                    return t;
                }
            }
            return {};
        }
        return untilGt(r, c, c + 2, TagToken::Declaration);
    }
    if (c1 == QLatin1Char('?'))
        return untilGt(r, c, c + 2, TagToken::Declaration);
    TagToken t;
    t.start = c;
    int i = c + 1;
    if (c1 == QLatin1Char('/')) {
        if (!isAsciiLetter(r.at(c + 2)))
            return untilGt(r, c, c + 2, TagToken::Declaration);
        t.kind = TagToken::EndTag;
        i = c + 2;
    } else if (isAsciiLetter(c1)) {
        t.kind = TagToken::StartTag;
    } else {
        return {};
    }
    const int stop = std::min(r.length(), c + kTagLimit);
    for (; i < stop; ++i) {
        const QChar ch = r.at(i);
        if (isSpace(ch) || ch == QLatin1Char('/') || ch == QLatin1Char('>'))
            break;
        t.name += ch.toLower();
    }
    enum { BeforeName, Name, AfterName, BeforeValue, Unquoted } state = BeforeName;
    for (; i < stop; ++i) {
        const QChar ch = r.at(i);
        switch (state) {
        case BeforeName:
            if (ch == QLatin1Char('>')) {
                t.end = i + 1;
                return t;
            }
            if (ch == QLatin1Char('/')) {
                if (r.at(i + 1) == QLatin1Char('>'))
                    t.selfClosing = t.kind == TagToken::StartTag;
            } else if (!isSpace(ch)) {
                state = Name;
            }
            break;
        case Name:
        case AfterName:
            if (ch == QLatin1Char('=')) {
                state = BeforeValue;
            } else if (ch == QLatin1Char('/') || ch == QLatin1Char('>')) {
                state = BeforeName;
                --i; // read it again there
            } else if (isSpace(ch)) {
                state = AfterName;
            } else if (state == AfterName) {
                state = Name;
            }
            break;
        case BeforeValue:
            if (ch == QLatin1Char('"') || ch == QLatin1Char('\'')) {
                ++i;
                while (i < stop && r.at(i) != ch)
                    ++i;
                if (i >= stop)
                    return {};
                state = BeforeName;
            } else if (ch == QLatin1Char('>')) {
                t.end = i + 1;
                return t;
            } else if (!isSpace(ch)) {
                state = Unquoted;
            }
            break;
        case Unquoted:
            if (ch == QLatin1Char('>')) {
                t.end = i + 1;
                return t;
            }
            if (isSpace(ch))
                state = BeforeName;
            break;
        }
    }
    return {};
}

// The "<" before c with no ">" between, or -1: where a tag holding c in a quoted
// value would start.
int outerOpening(Reader &r, int c, int lo)
{
    for (int i = c - 1; i >= lo; --i) {
        const QChar ch = r.at(i);
        if (ch == QLatin1Char('>'))
            return -1;
        if (ch == QLatin1Char('<'))
            return i;
    }
    return -1;
}

// The token whose ">" is at g, or an invalid one when that ">" is text (or the token
// starts before floor).
TagToken endingAt(Reader &r, int g, int floor)
{
    const int lo = std::max(floor, g - kTagLimit);
    if (r.at(g - 1) == QLatin1Char('-') && r.at(g - 2) == QLatin1Char('-')) {
        for (int i = g - 4; i >= floor && !r.out(); --i) {
            if (r.at(i) == QLatin1Char('<') && r.at(i + 1) == QLatin1Char('!')
                && r.at(i + 2) == QLatin1Char('-') && r.at(i + 3) == QLatin1Char('-')) {
                const TagToken t = parseAt(r, i);
                if (t.kind == TagToken::Comment && t.end == g + 1)
                    return t;
                break;
            }
        }
    }
    int c = -1;
    for (int i = g - 1; i >= lo; --i) {
        if (r.at(i) == QLatin1Char('<')) {
            c = i;
            break;
        }
    }
    if (c < 0)
        return {};
    TagToken best = parseAt(r, c);
    if (best.end != g + 1)
        best = {};
    for (int k = 0; k < kOuterTries; ++k) {
        c = outerOpening(r, c, lo);
        if (c < 0)
            break;
        const TagToken t = parseAt(r, c);
        if (t.isValid() && t.kind != TagToken::Comment && t.end == g + 1)
            best = t;
    }
    return best;
}

// Whether the name stands at pos, followed by a character that ends a tag name.
bool nameAt(Reader &r, int pos, const QString &name)
{
    for (int k = 0; k < name.size(); ++k)
        if (r.at(pos + k).toLower() != name.at(k))
            return false;
    const QChar after = r.at(pos + int(name.size()));
    return isSpace(after) || after == QLatin1Char('/') || after == QLatin1Char('>');
}

// The end tag of raw text begun before from: its content is text up to "</name".
TagToken rawEndAfter(Reader &r, int from, const QString &name)
{
    for (int i = from; i + 1 < r.length() && !r.out(); ++i) {
        if (r.at(i) == QLatin1Char('<') && r.at(i + 1) == QLatin1Char('/') && nameAt(r, i + 2, name)) {
            const TagToken t = parseAt(r, i);
            if (t.kind == TagToken::EndTag)
                return t;
        }
    }
    return {};
}

// The start tag of the raw-text element that an end tag at before closes.
TagToken rawStartBefore(Reader &r, int before, const QString &name)
{
    for (int i = before - 1; i >= 0 && !r.out(); --i) {
        if (r.at(i) == QLatin1Char('<') && nameAt(r, i + 1, name)) {
            const TagToken t = parseAt(r, i);
            if (t.kind == TagToken::StartTag && t.end <= before)
                return t;
        }
    }
    return {};
}

// The next token at or after pos; invalid at the end of the text or of the budget.
TagToken nextToken(Reader &r, int pos)
{
    for (int i = pos; i < r.length() && !r.out(); ++i) {
        if (r.at(i) != QLatin1Char('<'))
            continue;
        const TagToken t = parseAt(r, i);
        if (t.isValid())
            return t;
    }
    return {};
}

// The last token that ends at or before pos; invalid at the start of the text or of the budget.
TagToken previousToken(Reader &r, int pos)
{
    for (int i = pos - 1; i >= 0 && !r.out(); --i) {
        if (r.at(i) != QLatin1Char('>'))
            continue;
        const TagToken t = endingAt(r, i, 0);
        if (t.isValid())
            return t;
    }
    return {};
}

int lastIndexOf(const QVector<QString> &stack, const QString &name)
{
    for (int i = int(stack.size()) - 1; i >= 0; --i)
        if (stack.at(i) == name)
            return i;
    return -1;
}

struct Partner
{
    TagMatch::Status status = TagMatch::NoPartner;
    TagToken partner;
    int elementStart = -1;
    int elementEnd = -1;
};

class Walker
{
public:
    Walker(Reader &r, const HtmlTagRules &rules)
        : m_r(r)
        , m_rules(rules)
    {
    }

    TagMatch::Status exhausted() const { return m_r.out() ? TagMatch::TooFar : TagMatch::NoPartner; }

    // The token holding pos (its "<" at pos or pos inside it), else the one whose ">" is
    // just before pos. Of tokens nested through quoted values the outermost wins.
    TagToken atCaret(int pos, bool strictlyInside)
    {
        if (!strictlyInside && m_r.at(pos) == QLatin1Char('<')) {
            const TagToken t = parseAt(m_r, pos);
            if (t.isValid())
                return t;
        }
        const int lo = std::max(0, pos - kTagLimit);
        int c = -1;
        for (int i = pos - 1; i >= lo; --i) {
            if (m_r.at(i) == QLatin1Char('<')) {
                c = i;
                break;
            }
        }
        TagToken best;
        for (int k = 0; c >= 0 && k <= kOuterTries; ++k) {
            const TagToken t = parseAt(m_r, c);
            if (t.isValid() && t.start < pos && pos < t.end)
                best = t;
            c = outerOpening(m_r, c, lo);
        }
        if (best.isValid() || strictlyInside)
            return best;
        if (pos > 0 && m_r.at(pos - 1) == QLatin1Char('>'))
            return endingAt(m_r, pos - 1, 0);
        return {};
    }

    // Where the comment or the raw text of a <script>-like element that holds pos
    // starts (its "<"), or -1 when pos is in neither. Walks back looking only at what
    // can answer: a comment's end or an end tag of raw text (then pos is outside that
    // kind), a comment's start or a raw-text start tag (then pos is inside it).
    int opaqueStart(int pos)
    {
        bool commentKnown = false;
        bool rawKnown = false;
        const QStringList raw = m_rules.rawTextNames();
        for (int i = pos - 1; i >= 0 && !(commentKnown && rawKnown) && !m_r.out(); --i) {
            const QChar ch = m_r.at(i);
            if (ch == QLatin1Char('>')) {
                // A whole comment is passed over: what it holds does not count.
                if (m_r.at(i - 1) == QLatin1Char('-') && m_r.at(i - 2) == QLatin1Char('-')) {
                    const TagToken t = endingAt(m_r, i, 0);
                    if (t.kind == TagToken::Comment) {
                        commentKnown = true;
                        i = t.start;
                    }
                }
                continue;
            }
            if (ch != QLatin1Char('<'))
                continue;
            const QChar c1 = m_r.at(i + 1);
            if (c1 == QLatin1Char('!')) {
                if (!commentKnown && m_r.at(i + 2) == QLatin1Char('-') && m_r.at(i + 3) == QLatin1Char('-'))
                    return i;
            } else if (c1 == QLatin1Char('/')) {
                for (const QString &name : raw) {
                    if (!nameAt(m_r, i + 2, name))
                        continue;
                    rawKnown = true;
                    const TagToken start = rawStartBefore(m_r, i, name);
                    if (start.isValid())
                        i = start.start;
                    break;
                }
            } else if (!rawKnown && isAsciiLetter(c1)) {
                for (const QString &name : raw) {
                    if (!nameAt(m_r, i + 1, name))
                        continue;
                    const TagToken t = parseAt(m_r, i);
                    if (t.kind == TagToken::StartTag && !t.selfClosing && t.end <= pos)
                        return i;
                    break;
                }
            }
        }
        return -1;
    }

    // Where an element whose end tag was left out ends, given where the next markup
    // starts: before the white space that precedes it.
    int impliedEnd(int contentStart, int next)
    {
        while (next > contentStart && isSpace(m_r.at(next - 1)))
            --next;
        return next;
    }

    // The end of the element that the start tag open begins.
    Partner forward(const TagToken &open)
    {
        Partner p;
        p.elementStart = open.start;
        const QString &target = open.name;
        if (m_rules.isRawText(target)) {
            const TagToken end = rawEndAfter(m_r, open.end, target);
            if (!end.isValid()) {
                p.status = exhausted();
                return p;
            }
            return matched(p, end, end.end);
        }
        const bool optional = m_rules.hasOptionalEnd(target);
        QVector<QString> stack;
        int pos = open.end;
        for (;;) {
            const TagToken t = nextToken(m_r, pos);
            if (!t.isValid())
                break;
            pos = t.end;
            if (t.kind == TagToken::StartTag) {
                while (!stack.isEmpty() && m_rules.startEnds(stack.last(), t.name))
                    stack.removeLast();
                if (stack.isEmpty() && optional && m_rules.startEnds(target, t.name))
                    return implied(p, open, t.start);
                if (t.selfClosing || m_rules.isVoid(t.name))
                    continue;
                if (m_rules.isRawText(t.name)) {
                    const TagToken end = rawEndAfter(m_r, t.end, t.name);
                    if (!end.isValid())
                        break;
                    pos = end.end;
                    continue;
                }
                stack.append(t.name);
            } else if (t.kind == TagToken::EndTag) {
                const int at = lastIndexOf(stack, t.name);
                if (at >= 0) {
                    stack.resize(at);
                } else if (t.name == target) {
                    return matched(p, t, t.end);
                } else if (optional && !m_rules.isVoid(t.name)) {
                    // The end of an element around it (a </ul> after an <li>).
                    return implied(p, open, t.start);
                }
            }
        }
        if (m_r.out()) {
            p.status = TagMatch::TooFar;
        } else if (optional) {
            return implied(p, open, m_r.length());
        } else {
            p.status = TagMatch::NoPartner;
        }
        return p;
    }

    // The start of the element that the end tag close ends.
    Partner backward(const TagToken &close)
    {
        Partner p;
        p.elementEnd = close.end;
        const QString &target = close.name;
        if (m_rules.isRawText(target)) {
            const TagToken start = rawStartBefore(m_r, close.start, target);
            if (!start.isValid()) {
                p.status = exhausted();
                return p;
            }
            return matchedBack(p, start);
        }
        QVector<QString> stack;
        int pos = close.start;
        for (;;) {
            const TagToken t = previousToken(m_r, pos);
            if (!t.isValid())
                break;
            pos = t.start;
            if (t.kind == TagToken::EndTag) {
                if (m_rules.isVoid(t.name))
                    continue;
                if (m_rules.isRawText(t.name)) {
                    const TagToken start = rawStartBefore(m_r, t.start, t.name);
                    if (start.isValid()) {
                        pos = start.start;
                        continue;
                    }
                }
                stack.append(t.name);
            } else if (t.kind == TagToken::StartTag) {
                if (t.selfClosing || m_rules.isVoid(t.name))
                    continue;
                const int at = lastIndexOf(stack, t.name);
                if (at >= 0)
                    stack.resize(at);
                else if (t.name == target)
                    return matchedBack(p, t);
                // else: an element whose end tag was left out (or never written)
            }
        }
        p.status = exhausted();
        return p;
    }

private:
    static Partner matched(Partner &p, const TagToken &partner, int end)
    {
        p.status = TagMatch::Matched;
        p.partner = partner;
        p.elementEnd = end;
        return p;
    }

    static Partner matchedBack(Partner &p, const TagToken &partner)
    {
        p.status = TagMatch::Matched;
        p.partner = partner;
        p.elementStart = partner.start;
        return p;
    }

    Partner implied(Partner &p, const TagToken &open, int next)
    {
        p.status = TagMatch::ImpliedEnd;
        p.elementEnd = impliedEnd(open.end, next);
        return p;
    }

    Reader &m_r;
    const HtmlTagRules &m_rules;
};

} // namespace

TagMatcher::TagMatcher(const TextAccess &text, HtmlTagRules rules, int scanBudget)
    : m_text(text)
    , m_rules(std::move(rules))
    , m_budget(std::max(scanBudget, 1))
{
}

TagToken TagMatcher::tokenAt(int pos) const
{
    Reader r(m_text);
    r.allow(m_budget);
    return parseAt(r, pos);
}

bool TagMatcher::inOpaqueText(int pos) const
{
    Reader r(m_text);
    Walker w(r, m_rules);
    r.allow(m_budget / 4);
    return w.opaqueStart(std::clamp(pos, 0, r.length())) >= 0;
}

TagMatch TagMatcher::matchAt(int caret) const
{
    TagMatch m;
    Reader r(m_text);
    Walker w(r, m_rules);
    r.allow(m_budget);
    caret = std::clamp(caret, 0, r.length());
    const TagToken t = w.atCaret(caret, false);
    if (!t.isValid())
        return m;
    // An end tag of raw text ends it; anything else in it, or in a comment, is text.
    const bool endsRawText = t.kind == TagToken::EndTag && m_rules.isRawText(t.name);
    if (!endsRawText) {
        r.allow(m_budget / 4);
        if (w.opaqueStart(t.start) >= 0)
            return m;
        r.allow(m_budget - r.spent());
    }
    m.tag = t;
    const bool single = t.kind == TagToken::Comment || t.kind == TagToken::Declaration
        || (t.kind == TagToken::StartTag && (t.selfClosing || m_rules.isVoid(t.name)));
    if (single) {
        m.status = TagMatch::Single;
        m.elementStart = t.start;
        m.elementEnd = t.end;
        return m;
    }
    if (t.kind == TagToken::EndTag && m_rules.isVoid(t.name)) {
        m.status = TagMatch::NoPartner;
        return m;
    }
    const Partner p = t.kind == TagToken::StartTag ? w.forward(t) : w.backward(t);
    m.status = p.status;
    if (p.status == TagMatch::Matched || p.status == TagMatch::ImpliedEnd) {
        m.partner = p.partner;
        m.elementStart = p.elementStart;
        m.elementEnd = p.elementEnd;
    }
    return m;
}

ElementRange TagMatcher::elementAround(int selStart, int selEnd) const
{
    ElementRange e;
    Reader r(m_text);
    Walker w(r, m_rules);
    r.allow(m_budget);
    int a = std::clamp(std::min(selStart, selEnd), 0, r.length());
    int b = std::clamp(std::max(selStart, selEnd), 0, r.length());
    // A selection that ends inside a tag takes the whole tag.
    const TagToken ta = w.atCaret(a, true);
    if (ta.isValid()) {
        a = ta.start;
        b = std::max(b, ta.end);
    }
    const TagToken tb = b > a ? w.atCaret(b, true) : TagToken();
    if (tb.isValid() && tb.start >= a)
        b = tb.end;
    // In a comment or in raw text nothing that looks like a tag counts: start from the
    // comment, or from the element whose raw text it is.
    r.allow(m_budget / 4);
    const int opener = w.opaqueStart(a);
    r.allow(m_budget - r.spent());
    if (opener >= 0) {
        const TagToken o = parseAt(r, opener);
        a = opener;
        if (o.kind == TagToken::Comment)
            b = std::max(b, o.end);
    }

    // Takes the element begun by open when it holds [a, b) and is larger; false to look further out.
    const auto tryElement = [&](const TagToken &open) {
        int end;
        TagToken close;
        if (open.selfClosing || m_rules.isVoid(open.name)) {
            end = open.end;
        } else {
            const Partner p = w.forward(open);
            if (p.status == TagMatch::TooFar) {
                e.status = ElementRange::TooFar;
                return true;
            }
            if (p.status == TagMatch::NoPartner)
                return false;
            end = p.elementEnd;
            close = p.partner;
        }
        if (end < b || (open.start == a && end == b))
            return false;
        e.status = ElementRange::Found;
        e.start = open.start;
        e.end = end;
        e.open = open;
        e.close = close;
        return true;
    };

    const TagToken first = parseAt(r, a);
    if (first.kind == TagToken::StartTag && tryElement(first))
        return e;
    QVector<QString> stack;
    int pos = a;
    for (;;) {
        const TagToken t = previousToken(r, pos);
        if (!t.isValid())
            break;
        pos = t.start;
        if (t.kind == TagToken::EndTag) {
            if (m_rules.isVoid(t.name))
                continue;
            if (m_rules.isRawText(t.name)) {
                const TagToken start = rawStartBefore(r, t.start, t.name);
                if (start.isValid()) {
                    pos = start.start;
                    continue;
                }
            }
            stack.append(t.name);
        } else if (t.kind == TagToken::StartTag) {
            if (t.selfClosing || m_rules.isVoid(t.name))
                continue;
            const int at = lastIndexOf(stack, t.name);
            if (at >= 0) {
                stack.resize(at);
                continue;
            }
            if (tryElement(t))
                return e;
        }
    }
    if (r.out())
        e.status = ElementRange::TooFar;
    return e;
}

QString TagMatcher::tooFarText() { return QStringLiteral("Znacznik do pary jest za daleko od kursora."); }

QString TagMatcher::noPartnerText() { return QStringLiteral("Ten znacznik nie ma pary."); }
