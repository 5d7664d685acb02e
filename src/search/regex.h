#pragma once

#include <QString>
#include <QStringView>
#include <QVector>
#include <memory>

// A compiled Perl-style expression over UTF-16 text (PCRE2, 16-bit, JIT when the
// machine has it). A plain value class: copies share the compiled code, which never
// changes after compile(). Matching state lives in RegexMatcher.
class Regex
{
public:
    // Codes of the error table shown to the user (PCRE2's own codes are mapped to these).
    enum ErrorCode {
        NoError = 0,
        NoExpression = 100,
        ExpressionTooBig = 101,
        TooManyParentheses = 102,
        UnmatchedOpeningParenthesis = 103,
        UnmatchedClosingParenthesis = 104,
        BadEnd = 105,
        EmptyRepeat = 106,
        NestedRepeat = 107,
        BadHexDigit = 108,
        BadClassRange = 109,
        BadBackslash = 110,
        MissingHexCode = 111,
        HexCodeTooBig = 112,
        UnmatchedBrackets = 113,
        InternalError = 114,
        RepeatFollowsNothing = 115,
        BackslashAtEnd = 116,
        InternalError2 = 119,
        BraceArgumentTooBig = 122,
        BraceArgumentsReversed = 124,
        UnclosedComment = 125,
        BracesOnSubexpression = 126,
        UnknownModifier = 127,
        UnknownError = -1
    };

    Regex();
    ~Regex();
    Regex(const Regex &) = default;
    Regex &operator=(const Regex &) = default;

    // Compiles pattern. Matching ignores letter case when caseInsensitive; a dot matches
    // line breaks when dotMatchesNewline. An empty pattern is refused (NoExpression).
    // Returns isValid().
    bool compile(const QString &pattern, bool caseInsensitive, bool dotMatchesNewline);
    // Compiles text so that it matches literally (see quote()); an error position is
    // then an index in text, not in the quoted pattern.
    bool compileLiteral(const QString &text, bool caseInsensitive, bool dotMatchesNewline);
    bool isValid() const { return bool(m_code); }
    QString pattern() const { return m_pattern; }

    // After a failed compile: the table code, PCRE2's own code (0 for NoExpression) and
    // the position in the pattern (a QString index) where the engine stopped; after
    // compileLiteral(), the position in the literal text.
    ErrorCode errorCode() const { return m_errorCode; }
    int engineErrorCode() const { return m_engineError; }
    int errorOffset() const { return m_errorOffset; }
    // The table message for errorCode().
    QString errorMessage() const { return messageForCode(m_errorCode); }

    // Number of capturing groups (group 0, the whole match, not counted).
    int captureCount() const;

    // The table: message of a table code, "Nieznany błąd" for any code not in it.
    static QString messageForCode(int code);
    // PCRE2 compile error code -> table code (UnknownError when the table has no meaning for it).
    static ErrorCode codeForEngineError(int pcre2Error);
    // The engine's English text for a PCRE2 error code (run-time errors keep it).
    static QString engineMessage(int pcre2Error);

    // Puts a backslash before each of ^$.[()|?+*\{]} so that text matches literally.
    static QString quote(const QString &text);

private:
    friend class RegexMatcher;
    struct Code;
    std::shared_ptr<Code> m_code;
    QString m_pattern;
    ErrorCode m_errorCode = NoExpression;
    int m_engineError = 0;
    int m_errorOffset = 0;
};

// Successive matches of one Regex in one subject. The subject is checked for valid
// UTF-16 once, here, so that each match skips the engine's own check (a check per
// match would make a whole-text search quadratic). The subject must outlive the matcher.
class RegexMatcher
{
public:
    RegexMatcher(const Regex &regex, QStringView subject);
    ~RegexMatcher();
    RegexMatcher(const RegexMatcher &) = delete;
    RegexMatcher &operator=(const RegexMatcher &) = delete;

    // Finds the first match starting at or after offset. False when none (or on a
    // run-time error: see error()). The next findNext() continues after this match.
    bool matchFrom(qsizetype offset);
    // The next match: where the last one ended, or one character further on after an
    // empty match. The first call starts at 0 unless matchFrom() was called.
    bool findNext();

    qsizetype start() const { return m_ovector[0]; }
    qsizetype end() const { return m_ovector[1]; }
    qsizetype length() const { return end() - start(); }
    QStringView matched() const { return captured(0); }

    // Groups 0 (the whole match) to groupCount(). A group that took no part in the
    // match gives start -1 and an empty text.
    int groupCount() const { return m_groups; }
    qsizetype capturedStart(int group) const;
    qsizetype capturedEnd(int group) const;
    QStringView captured(int group) const;
    QStringView subject() const { return m_subject; }

    // 0, or the PCRE2 run-time error code that stopped the last search.
    int error() const { return m_error; }
    QString errorMessage() const { return Regex::engineMessage(m_error); }

private:
    bool findLiteral();

    struct Data;
    std::unique_ptr<Data> m_d;
    QStringView m_subject;
    const size_t *m_ovector = nullptr;
    int m_groups = 0;
    qsizetype m_next = 0;
    int m_error = 0;
    bool m_done = false;
};

// A substitution template ("special sequences"), parsed once and applied per match:
// $& and $0 give the whole match, $1..$9 and ${n} group n, a backslash makes the next
// character literal and is dropped; a group that took no part (or does not exist)
// gives the empty text. Everything else is copied as it stands.
class SubstitutionTemplate
{
public:
    explicit SubstitutionTemplate(const QString &templ);
    // Appends the replacement for the matcher's current match to out.
    void appendTo(QString &out, const RegexMatcher &match) const;
    QString apply(const RegexMatcher &match) const;
    // True when the template holds no group reference (its text never depends on the match).
    bool isConstant() const;

    // The pure function: the replacement of templ for one match, given the matched
    // groups' texts (index 0 the whole match; a null/empty entry for a group that did not take part).
    static QString substitute(const QString &templ, const QStringList &groups);

private:
    struct Piece
    {
        QString literal;
        int group = -1; // -1: literal piece
    };
    QVector<Piece> m_pieces;
};
