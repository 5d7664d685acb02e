#include "app/externalviewers.h"

#include "base/settings.h"
#include "base/settingstable.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {
const QString kViewers = QStringLiteral("Viewers");

// The keys of the n-th viewer, spelled once for reading and writing.
SettingsTable<ExternalViewer> table(int n)
{
    using T = SettingsTable<ExternalViewer>;
    const QString number = QString::number(n);
    return T({
        T::text(kViewers, QString(QStringLiteral("Nazwa") + number), &ExternalViewer::name),
        T::text(kViewers, QString(QStringLiteral("Polecenie") + number), &ExternalViewer::command),
        T::text(kViewers, QString(QStringLiteral("Argumenty") + number), &ExternalViewer::arguments),
    });
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }
} // namespace

QList<ExternalViewer> ReadViewers(const MarkoraSettings &settings)
{
    QList<ExternalViewer> out;
    const int count = settings.readInt(kViewers, QStringLiteral("Ilosc"), 0, 0, kMaxViewers);
    for (int n = 1; n <= count; ++n) {
        const ExternalViewer v = table(n).read(settings);
        if (!v.name.trimmed().isEmpty() && !v.command.trimmed().isEmpty())
            out.append(v);
    }
    return out;
}

void WriteViewers(MarkoraSettings &settings, const QList<ExternalViewer> &viewers)
{
    settings.eraseSection(kViewers);
    const int count = int(qMin<qsizetype>(viewers.size(), kMaxViewers));
    settings.writeInt(kViewers, QStringLiteral("Ilosc"), count);
    for (int n = 1; n <= count; ++n)
        table(n).write(settings, viewers[n - 1]);
}

std::optional<QStringList> SplitArguments(QStringView line, QString *error)
{
    QStringList words;
    QString word;
    bool inWord = false;
    enum { Plain, Single, Double } quote = Plain;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        switch (quote) {
        case Single:
            if (c == u'\'')
                quote = Plain;
            else
                word += c;
            break;
        case Double:
            if (c == u'"') {
                quote = Plain;
            } else if (c == u'\\' && i + 1 < line.size() && QStringView(u"\"\\$`").contains(line[i + 1])) {
                word += line[++i];
            } else {
                word += c;
            }
            break;
        case Plain:
            if (isBlank(c)) {
                if (inWord)
                    words << word;
                word.clear();
                inWord = false;
                break;
            }
            inWord = true;
            if (c == u'\'') {
                quote = Single;
            } else if (c == u'"') {
                quote = Double;
            } else if (c == u'\\') {
                if (i + 1 >= line.size()) {
                    if (error)
                        *error = QStringLiteral("ukośnik wsteczny na końcu argumentów");
                    return std::nullopt;
                }
                word += line[++i];
            } else {
                word += c;
            }
            break;
        }
    }
    if (quote != Plain) {
        if (error)
            *error = QStringLiteral("niezamknięty cudzysłów w argumentach");
        return std::nullopt;
    }
    if (inWord)
        words << word;
    return words;
}

ViewerCommand BuildViewerCommand(const ExternalViewer &viewer, const QString &file)
{
    ViewerCommand cmd;
    const QString program = viewer.command.trimmed();
    if (program.isEmpty()) {
        cmd.error = QStringLiteral("nie podano programu");
        return cmd;
    }
    QString error;
    const std::optional<QStringList> words = SplitArguments(viewer.arguments, &error);
    if (!words) {
        cmd.error = error;
        return cmd;
    }
    bool placed = false;
    for (QString word : *words) {
        if (word.contains(kViewerFilePlaceholder)) {
            word.replace(kViewerFilePlaceholder.toString(), file);
            placed = true;
        }
        cmd.arguments << word;
    }
    if (!placed)
        cmd.arguments << file;
    cmd.program = program;
    return cmd;
}

bool StartViewer(const ViewerCommand &command, const QString &workingFolder, QString *reason, qint64 *pid)
{
    const auto fail = [reason](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
    if (command.program.isEmpty())
        return fail(command.error.isEmpty() ? QStringLiteral("nie podano programu") : command.error);
    // The common failures in the user's words; the system's own come from QProcess.
    const bool named = !command.program.contains(u'/')
#ifdef Q_OS_WIN
        && !command.program.contains(u'\\')
#endif
        ;
    const QString found = named ? QStandardPaths::findExecutable(command.program) : command.program;
    const QFileInfo fi(found);
    if (found.isEmpty() || !fi.exists())
        return fail(QStringLiteral("nie ma programu „%1”").arg(command.program));
    if (!fi.isFile() || !fi.isExecutable())
        return fail(QStringLiteral("„%1” nie jest programem, który można uruchomić").arg(command.program));

    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
    if (!workingFolder.isEmpty())
        process.setWorkingDirectory(workingFolder);
    qint64 started = 0;
    if (!process.startDetached(&started))
        return fail(process.errorString());
    if (pid)
        *pid = started;
    return true;
}
