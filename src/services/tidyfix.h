#pragma once

#include "services/validator.h"

#include <QFuture>
#include <QString>

// How tidy writes a page back ("Popraw kod (tidy)").
struct TidyFixOptions
{
    static constexpr int MaxIndentSpaces = 8;
    static constexpr int MaxWrap = 1000;
    bool indent = true; // indent the content of block elements
    int indentSpaces = 2; // 1..MaxIndentSpaces
    bool upperCaseTags = false; // tag and attribute names in upper case, otherwise lower
    int wrap = 0; // wrap lines after this column; 0 keeps lines as long as they are
};

struct TidyFixResult
{
    enum Status {
        Changed, // text is tidy's version and diff shows what it changes
        Unchanged, // tidy would change nothing
        Refused, // the page has errors tidy cannot mend: see the Error rows of diagnostics
        Cancelled,
    };
    Status status = Refused;
    QString text; // for Changed: the new text ('\n' line breaks, as the editor keeps them)
    QString diff; // for Changed: unified difference, old text against new
    ValidationResult diagnostics; // what tidy reported on the way (every kind)
};

// tidy's version of a page, to be shown and applied only when the user accepts: nothing
// is written anywhere. Entities are kept as written, tabs stay tabs, and no generator
// mark is added.
class TidyFix
{
public:
    static TidyFixResult Fix(
        const QString &text, const TidyFixOptions &options, const TidyRunControl &control = {});
    // The same on a worker thread; cancel and progress as Validator::ValidateAsync. A
    // cancelled future holds no result.
    static QFuture<TidyFixResult> FixAsync(const QString &text, const TidyFixOptions &options);

    // The names the difference gives the two texts.
    static QString BeforeName();
    static QString AfterName();
};
