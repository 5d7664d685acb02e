#include "services/validator.h"

#include "services/tidysession_p.h"

#include <QPromise>
#include <QtConcurrent/QtConcurrentRun>

ValidationResult Validator::Validate(
    const QString &text, const ValidationOptions &options, const TidyRunControl &control)
{
    TidySession session(options);
    if (!session.run(text, control)) {
        ValidationResult r;
        r.cancelled = true;
        return r;
    }
    return session.result(text);
}

QFuture<ValidationResult> Validator::ValidateAsync(const QString &text, const ValidationOptions &options)
{
    return QtConcurrent::run([text, options](QPromise<ValidationResult> &promise) {
        promise.setProgressRange(0, 1000);
        TidyRunControl control;
        control.cancelled = [&promise] { return promise.isCanceled(); };
        control.progress = [&promise](int permille) { promise.setProgressValue(permille); };
        promise.addResult(Validate(text, options, control));
    });
}

QString Validator::MessageLanguage() { return TidyLanguage(); }

QString Validator::TidyVersion() { return QString::fromUtf8(tidyLibraryVersion()); }
