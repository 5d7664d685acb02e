#include "services/tidyfix.h"

#include "services/linediff.h"
#include "services/tidysession_p.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <tidy/tidybuffio.h>

namespace {
void setOutputOptions(TidyDoc doc, const TidyFixOptions &o)
{
    tidySetOutCharEncoding(doc, "utf8");
    tidyOptSetInt(doc, TidyNewline, TidyLF);
    tidyOptSetBool(doc, TidyMark, no);
    tidyOptSetBool(doc, TidyPreserveEntities, yes);
    tidyOptSetValue(doc, TidyIndentContent, o.indent ? "auto" : "no");
    tidyOptSetInt(
        doc, TidyIndentSpaces, ulong(std::clamp(o.indentSpaces, 1, TidyFixOptions::MaxIndentSpaces)));
    tidyOptSetBool(doc, TidyUpperCaseTags, o.upperCaseTags ? yes : no);
    tidyOptSetValue(doc, TidyUpperCaseAttrs, o.upperCaseTags ? "yes" : "no");
    tidyOptSetInt(doc, TidyWrapLen, ulong(std::clamp(o.wrap, 0, TidyFixOptions::MaxWrap)));
}
} // namespace

TidyFixResult TidyFix::Fix(const QString &text, const TidyFixOptions &options, const TidyRunControl &control)
{
    ValidationOptions report;
    report.info = true;
    TidySession session(report);
    setOutputOptions(session.doc(), options);
    TidyFixResult r;
    if (!session.run(text, control)) {
        r.status = TidyFixResult::Cancelled;
        r.diagnostics.cancelled = true;
        return r;
    }
    r.diagnostics = session.result(text);
    if (tidyErrorCount(session.doc()) > 0) {
        r.status = TidyFixResult::Refused;
        return r;
    }
    TidyBuffer out;
    tidyBufInit(&out);
    tidySaveBuffer(session.doc(), &out);
    r.text = QString::fromUtf8(reinterpret_cast<const char *>(out.bp), qsizetype(out.size));
    tidyBufFree(&out);
    if (control.cancelled && control.cancelled()) {
        r = TidyFixResult();
        r.status = TidyFixResult::Cancelled;
        r.diagnostics.cancelled = true;
        return r;
    }
    if (r.text == text) {
        r.status = TidyFixResult::Unchanged;
        r.text.clear();
        return r;
    }
    r.status = TidyFixResult::Changed;
    r.diff = LineDiff::Unified(text, r.text, BeforeName(), AfterName());
    return r;
}

QFuture<TidyFixResult> TidyFix::FixAsync(const QString &text, const TidyFixOptions &options)
{
    return QtConcurrent::run([text, options](QPromise<TidyFixResult> &promise) {
        promise.setProgressRange(0, 1000);
        TidyRunControl control;
        control.cancelled = [&promise] { return promise.isCanceled(); };
        control.progress = [&promise](int permille) { promise.setProgressValue(permille); };
        promise.addResult(Fix(text, options, control));
    });
}

QString TidyFix::BeforeName() { return QStringLiteral("przed"); }

QString TidyFix::AfterName() { return QStringLiteral("po (tidy)"); }
