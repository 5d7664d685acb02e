#pragma once

#include <QFuture>
#include <QString>
#include <QVector>
#include <array>
#include <functional>

// What a markup check reports, and how much of it.
struct ValidationOptions
{
    // The kinds of rows kept; the others are only counted.
    bool errors = true;
    bool warnings = true;
    bool info = true; // the version checked against, and a declared one it does not match
    // tidy's accessibility check: 0 leaves it out, 1..3 checks its priorities up to that
    // one (its rows are then kept).
    int accessLevel = 0;
    // At most this many rows are kept (a 50 MB page can give hundreds of thousands); the
    // rest are counted in ValidationResult::dropped.
    int maxRows = 10000;
};

struct ValidationMessage
{
    enum Kind { Error, Warning, Info, Access };
    Kind kind = Error;
    // tidy's place: line and column from 1, the column in characters (code points, a tab
    // one column); both 0 for a message about the whole document.
    int line = 0;
    int column = 0;
    // The same place as a QString index into the checked text; -1 when there is none.
    int position = -1;
    QString text; // tidy's message, in Polish when tidy has it, otherwise in English
    QString key; // tidy's message key, e.g. "MISSING_ATTRIBUTE"
};

struct ValidationResult
{
    // The kept rows in text order; rows without a place come first, in tidy's order.
    QVector<ValidationMessage> messages;
    // How many of each kind tidy reported (indexed by ValidationMessage::Kind), kept or not.
    std::array<int, 4> found {};
    int dropped = 0; // rows of the wanted kinds beyond maxRows
    bool cancelled = false; // stopped on request: nothing else here is complete
    // The HTML version the page was checked against, as tidy names it: 500 for HTML5,
    // 401 (and near values) for HTML 4.01, 0 when tidy could not tell.
    int htmlVersion = 0;
};

// Lets a long run be stopped and followed. Both are called on the running thread;
// cancelled() at most every 64 kB of input.
struct TidyRunControl
{
    std::function<bool()> cancelled;
    // Per mille of the text read so far.
    std::function<void(int)> progress;
};

// The markup check: tidy-html5's diagnostics over a document's text in memory (never its
// file). The text goes to tidy as UTF-8 whatever the file's code page. A page is checked
// against the HTML version its DOCTYPE declares (HTML 4.01 when it says so), HTML5
// otherwise. A plain value class: every call makes its own tidy document, so calls may run
// on several threads at once.
class Validator
{
public:
    static ValidationResult Validate(
        const QString &text, const ValidationOptions &options, const TidyRunControl &control = {});
    // The same on a worker thread. QFuture::cancel() stops it within 64 kB of input; its
    // progress is per mille (0..1000) of the text read. Watch it with a QFutureWatcher to
    // get the result on the window's thread.
    static QFuture<ValidationResult> ValidateAsync(const QString &text, const ValidationOptions &options);

    // The language of tidy's messages: "pl" when this libtidy has Polish, otherwise "en".
    static QString MessageLanguage();
    static QString TidyVersion();
};
