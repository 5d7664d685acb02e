#include "services/spelltokenizer.h"

#include "base/textaccess.h"
#include "services/characterreference.h"

#include <algorithm>

namespace {
// Words are gathered from this far before the stretch and read up to this far after it,
// so that a run short enough to be checked is seen whole around the stretch's edges.
constexpr int kChunkReach = SpellTokenizer::MaxRunLength;

bool isWordLetter(char32_t c) { return QChar::isLetter(c) || QChar::isMark(c); }

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isTagSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

bool checkedAttribute(QStringView name)
{
    return name.compare(u"alt", Qt::CaseInsensitive) == 0 || name.compare(u"title", Qt::CaseInsensitive) == 0
        || name.compare(u"placeholder", Qt::CaseInsensitive) == 0;
}

class Scanner
{
public:
    // s holds the document's characters [base, base + s.size()); atEnd says whether the
    // document ends with it. Words overlapping [from, to) go to out.
    Scanner(QStringView s, int base, int from, int to, bool atEnd, QVector<SpellWord> &out)
        : m_s(s)
        , m_base(base)
        , m_from(from)
        , m_to(to)
        , m_atEnd(atEnd)
        , m_out(out)
    {
    }

    void run();

private:
    enum class Mode {
        Text,
        TagName,
        InTag,
        AttrName,
        AfterAttrName,
        BeforeValue,
        Value,
        Comment,
        Declaration,
        RawText,
        EndTag,
    };

    qsizetype openMarkup(qsizetype i);
    qsizetype prose(qsizetype i);
    qsizetype skipTo(qsizetype i, QStringView what, Mode next);
    char32_t codePointAt(qsizetype i, int *width) const;
    // The letter a reference at i stands for, or 0.
    char32_t referenceLetter(qsizetype i, int *length) const;
    bool letterAt(qsizetype i) const;
    void addToWord(qsizetype start, qsizetype end, char32_t c);
    void endWord();
    void endChunk(qsizetype end);

    QStringView m_s;
    int m_base;
    int m_from;
    int m_to;
    bool m_atEnd;
    QVector<SpellWord> &m_out;

    Mode m_mode = Mode::Text;
    qsizetype m_nameStart = 0;
    bool m_endTag = false;
    QStringView m_rawName; // "script" or "style" while their contents are skipped
    bool m_checked = false; // the value being read is checked
    QChar m_quote; // the value's quote; null for an unquoted value

    bool m_inWord = false;
    bool m_wordTainted = false;
    qsizetype m_wordStart = 0;
    qsizetype m_wordEnd = 0;
    QString m_word;
    bool m_chunkTainted = false;
    qsizetype m_chunkStart = -1; // where the current run of non-space characters began
    QVector<SpellWord> m_pending; // its words
};

void Scanner::run()
{
    const qsizetype n = m_s.size();
    const qsizetype gatherFrom = std::max<qsizetype>(0, m_from - m_base - kChunkReach);
    qsizetype i = 0;
    while (i < n) {
        const QChar c = m_s[i];
        switch (m_mode) {
        case Mode::Text:
            if (i < gatherFrom) {
                const qsizetype lt = m_s.indexOf(u'<', i);
                if (lt < 0 || lt >= gatherFrom) {
                    i = gatherFrom;
                    continue;
                }
                i = lt;
            }
            if (m_s[i] == u'<') {
                const qsizetype next = openMarkup(i);
                if (next >= 0) {
                    endWord();
                    endChunk(i);
                    i = next;
                    continue;
                }
            }
            i = prose(i);
            break;
        case Mode::TagName:
            if (isTagSpace(c) || c == u'/' || c == u'>') {
                const QStringView name = m_s.mid(m_nameStart, i - m_nameStart);
                m_rawName = QStringView();
                if (!m_endTag) {
                    if (name.compare(u"script", Qt::CaseInsensitive) == 0)
                        m_rawName = u"script";
                    else if (name.compare(u"style", Qt::CaseInsensitive) == 0)
                        m_rawName = u"style";
                }
                m_mode = Mode::InTag;
            } else {
                ++i;
            }
            break;
        case Mode::InTag:
            if (c == u'>') {
                ++i;
                m_mode = m_rawName.isNull() ? Mode::Text : Mode::RawText;
            } else if (isTagSpace(c) || c == u'/') {
                ++i;
            } else {
                m_nameStart = i++;
                m_mode = Mode::AttrName;
            }
            break;
        case Mode::AttrName:
            if (isTagSpace(c) || c == u'=' || c == u'>' || c == u'/') {
                m_checked = !m_endTag && checkedAttribute(m_s.mid(m_nameStart, i - m_nameStart));
                m_mode = Mode::AfterAttrName;
            } else {
                ++i;
            }
            break;
        case Mode::AfterAttrName:
            if (isTagSpace(c)) {
                ++i;
            } else if (c == u'=') {
                ++i;
                m_mode = Mode::BeforeValue;
            } else {
                m_mode = Mode::InTag;
            }
            break;
        case Mode::BeforeValue:
            if (isTagSpace(c)) {
                ++i;
            } else if (c == u'>') {
                m_mode = Mode::InTag;
            } else {
                m_quote = c == u'"' || c == u'\'' ? c : QChar();
                if (!m_quote.isNull())
                    ++i;
                m_mode = Mode::Value;
            }
            break;
        case Mode::Value:
            if (m_quote.isNull() ? isTagSpace(c) || c == u'>' : c == m_quote) {
                endWord();
                endChunk(i);
                if (!m_quote.isNull())
                    ++i;
                m_mode = Mode::InTag;
            } else if (m_checked && i >= gatherFrom) {
                i = prose(i);
            } else if (!m_quote.isNull()) {
                const qsizetype close = m_s.indexOf(m_quote, i);
                i = close < 0 ? n : close;
            } else {
                ++i;
            }
            break;
        case Mode::Comment:
            i = skipTo(i, u"-->", Mode::Text);
            break;
        case Mode::Declaration:
        case Mode::EndTag:
            i = skipTo(i, u">", Mode::Text);
            break;
        case Mode::RawText: {
            const qsizetype lt = m_s.indexOf(u'<', i);
            if (lt < 0) {
                i = n;
                break;
            }
            const qsizetype after = lt + 2 + m_rawName.size();
            if (lt + 1 < n && m_s[lt + 1] == u'/'
                && m_s.mid(lt + 2, m_rawName.size()).compare(m_rawName, Qt::CaseInsensitive) == 0
                && (after >= n || isTagSpace(m_s[after]) || m_s[after] == u'/' || m_s[after] == u'>')) {
                m_mode = Mode::EndTag;
                i = after;
            } else {
                i = lt + 1;
            }
            break;
        }
        }
    }
    // A run still open where the read text ends may go on beyond it: its words are not
    // known for sure, and any that overlap the stretch lie in a run too long to check.
    if (!m_atEnd)
        return;
    endWord();
    endChunk(n);
}

// What '<' at i opens: the index after the opening, or -1 when it is a plain character.
qsizetype Scanner::openMarkup(qsizetype i)
{
    if (i + 1 >= m_s.size())
        return -1;
    const QChar next = m_s[i + 1];
    if (isAsciiLetter(next)) {
        m_mode = Mode::TagName;
        m_endTag = false;
        m_nameStart = i + 1;
        return i + 1;
    }
    if (next == u'/' && i + 2 < m_s.size() && isAsciiLetter(m_s[i + 2])) {
        m_mode = Mode::TagName;
        m_endTag = true;
        m_nameStart = i + 2;
        return i + 2;
    }
    if (m_s.mid(i, 4) == u"<!--") {
        m_mode = Mode::Comment;
        return i + 4;
    }
    if (next == u'!' || next == u'?' || next == u'/') {
        m_mode = Mode::Declaration;
        return i + 2;
    }
    return -1;
}

qsizetype Scanner::skipTo(qsizetype i, QStringView what, Mode next)
{
    const qsizetype at = m_s.indexOf(what, i);
    if (at < 0)
        return m_s.size();
    m_mode = next;
    return at + what.size();
}

char32_t Scanner::codePointAt(qsizetype i, int *width) const
{
    const QChar c = m_s[i];
    if (c.isHighSurrogate() && i + 1 < m_s.size() && m_s[i + 1].isLowSurrogate()) {
        *width = 2;
        return QChar::surrogateToUcs4(c, m_s[i + 1]);
    }
    *width = 1;
    return c.unicode();
}

char32_t Scanner::referenceLetter(qsizetype i, int *length) const
{
    *length = CharacterReference::Length(m_s, i);
    if (*length == 0)
        return 0;
    const char32_t c = CharacterReference::Decode(m_s.mid(i + 1, *length - 2));
    return isWordLetter(c) ? c : 0;
}

bool Scanner::letterAt(qsizetype i) const
{
    if (i >= m_s.size())
        return false;
    int width;
    if (m_s[i] == u'&')
        return referenceLetter(i, &width) != 0;
    return isWordLetter(codePointAt(i, &width));
}

// One character or reference of text that is read: the index after it.
qsizetype Scanner::prose(qsizetype i)
{
    const QChar c = m_s[i];
    if (m_chunkStart < 0)
        m_chunkStart = i;
    if (c == u'&') {
        const int length = CharacterReference::Length(m_s, i);
        if (length == 0) {
            endWord();
            return i + 1;
        }
        const char32_t decoded = CharacterReference::Decode(m_s.mid(i + 1, length - 2));
        if (isWordLetter(decoded)) {
            addToWord(i, i + length, decoded);
        } else if (decoded == 0xAD && m_inWord) {
            m_wordEnd = i + length; // a soft hyphen joins and is not checked
        } else {
            endWord();
            if (decoded && QChar::isSpace(decoded))
                endChunk(i);
        }
        return i + length;
    }
    int width;
    const char32_t cp = codePointAt(i, &width);
    if (isWordLetter(cp)) {
        addToWord(i, i + width, cp);
        return i + width;
    }
    if (QChar::isDigit(cp) || c == u'_') {
        addToWord(i, i + width, cp);
        m_wordTainted = true;
        return i + width;
    }
    if (c == u'-' || c == u'\'' || c == QChar(0x2019) || c == QChar(0xAD)) {
        if (m_inWord && letterAt(i + 1)) {
            if (c != QChar(0xAD))
                m_word += c;
            m_wordEnd = i + 1;
        } else {
            endWord();
        }
        return i + 1;
    }
    if (QChar::isSpace(cp)) {
        endWord();
        endChunk(i);
        return i + width;
    }
    if (c == u'@' || (c == u':' && m_s.mid(i + 1, 2) == u"//"))
        m_chunkTainted = true;
    else if (c == u'.' && m_inWord && letterAt(i + 1))
        m_chunkTainted = true;
    endWord();
    return i + width;
}

void Scanner::addToWord(qsizetype start, qsizetype end, char32_t c)
{
    if (!m_inWord) {
        m_inWord = true;
        m_wordTainted = false;
        m_wordStart = start;
        m_word.clear();
    }
    if (QChar::requiresSurrogates(c)) {
        m_word += QChar(QChar::highSurrogate(c));
        m_word += QChar(QChar::lowSurrogate(c));
    } else {
        m_word += QChar(char16_t(c));
    }
    m_wordEnd = end;
}

void Scanner::endWord()
{
    if (!m_inWord)
        return;
    m_inWord = false;
    if (m_wordTainted || m_word.size() > SpellTokenizer::MaxWordLength)
        return;
    m_pending.append({ int(m_base + m_wordStart), int(m_wordEnd - m_wordStart), m_word });
}

void Scanner::endChunk(qsizetype end)
{
    if (m_chunkStart >= 0 && end - m_chunkStart >= kChunkReach)
        m_chunkTainted = true;
    m_chunkStart = -1;
    if (!m_chunkTainted) {
        for (const SpellWord &w : std::as_const(m_pending))
            if (w.position < m_to && w.position + w.length > m_from)
                m_out.append(w);
    }
    m_pending.clear();
    m_chunkTainted = false;
}
// The characters [start, end) of text, line by line: a line that is read whole, or
// nearly, is copied in one piece (a document gives a line's text far faster than its
// characters one by one); only a small part of a long line is read alone.
QString readStretch(const TextAccess &text, int start, int end)
{
    QString out;
    out.reserve(end - start);
    int line = text.lineOf(start);
    int from = start - text.lineStart(line);
    int pos = start;
    const int lines = text.lineCount();
    while (pos < end && line < lines) {
        const int len = text.lineLength(line);
        const int n = std::clamp(end - pos, 0, std::max(0, len - from));
        if (from == 0 && n == len)
            out += text.lineText(line);
        else if (len <= 4 * n + 4096)
            out += QStringView(text.lineText(line)).mid(from, n);
        else
            out += text.lineMid(line, from, n);
        pos += n;
        if (pos < end) {
            out += u'\n';
            ++pos;
        }
        ++line;
        from = 0;
    }
    return out;
}
} // namespace

QVector<SpellWord> SpellTokenizer::Words(QStringView text, int from, int to)
{
    QVector<SpellWord> out;
    const int size = int(text.size());
    from = std::clamp(from, 0, size);
    to = std::clamp(to, 0, size);
    if (from >= to)
        return out;
    const int start = std::max(0, from - LookBack);
    const int end = std::min(size, to + kChunkReach + 1);
    Scanner(text.mid(start, end - start), start, from, to, end == size, out).run();
    return out;
}

QVector<SpellWord> SpellTokenizer::Words(const TextAccess &text, int from, int to)
{
    QVector<SpellWord> out;
    const int size = text.length();
    from = std::clamp(from, 0, size);
    to = std::clamp(to, 0, size);
    if (from >= to)
        return out;
    const int start = std::max(0, from - LookBack);
    const int end = std::min(size, to + kChunkReach + 1);
    Scanner(readStretch(text, start, end), start, from, to, end == size, out).run();
    return out;
}
