#include "services/filesearch.h"

#include "search/recenttexts.h"
#include "services/docfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

namespace FileSearchTexts {

QString progress(const FileSearchProgress &p, bool replacing)
{
    return QStringLiteral(
        "Przeszukano %1 z %2 plików, znaleziono %3 dopasowań. Naciśnij <Esc> aby przerwać %4...")
        .arg(p.filesDone)
        .arg(p.filesTotal)
        .arg(p.matches)
        .arg(replacing ? QStringLiteral("zamienianie") : QStringLiteral("wyszukiwanie"));
}

QString findSummary(const FileSearchSummary &s, const QString &findText)
{
    return QStringLiteral("Znaleziono %1 wystąpień wyrażenia \"").arg(s.matches) + findText
        + QStringLiteral("\" w %1 plikach (przeszukano %2).").arg(s.filesMatched).arg(s.filesSearched);
}

QString replaceSummary(const FileSearchSummary &s, const QString &findText)
{
    return QStringLiteral("Zamieniono %1 wystąpień wyrażenia \"").arg(s.matches) + findText
        + QStringLiteral("\" w %1 plikach.").arg(s.filesMatched);
}

QString noFolder(const QString &folder)
{
    return QStringLiteral("Nie ma folderu %1.").arg(QDir::toNativeSeparators(folder));
}

QString noBackups()
{
    return QStringLiteral("Nie można utworzyć folderu na kopie zapasowe plików, więc żaden plik nie został "
                          "zmieniony.");
}

QString skippedUnsaved()
{
    return QStringLiteral("Pominięto pliki otwarte w edytorze, które mają niezapisane zmiany:");
}

QString undoSummary(const FileReplaceUndo::Result &r)
{
    QString text = QStringLiteral("Przywrócono %1 plików.").arg(r.restored.size());
    const auto list = [&text](const QString &heading, const QStringList &paths) {
        if (paths.isEmpty())
            return;
        text += QLatin1Char('\n') + heading;
        for (const QString &p : paths)
            text += QLatin1Char('\n') + QDir::toNativeSeparators(p);
    };
    list(QStringLiteral("Nie przywrócono plików zmienionych po zamianie:"), r.changedSince);
    list(QStringLiteral("Nie przywrócono plików otwartych w edytorze z niezapisanymi zmianami:"),
        r.skippedUnsaved);
    QStringList failed;
    for (const FileProblem &f : r.failed)
        failed << QDir::toNativeSeparators(f.path) + QStringLiteral(": ") + f.reason;
    if (!failed.isEmpty())
        text += QLatin1Char('\n') + QStringLiteral("Nie udało się przywrócić:") + QLatin1Char('\n')
            + failed.join(QLatin1Char('\n'));
    return text;
}

} // namespace FileSearchTexts

namespace {

// Files larger than this are looked at before they are read: a big binary file is
// skipped for the price of its first bytes.
constexpr qint64 kSniffFrom = qint64(1) << 20;
constexpr int kSniffBytes = 8192;
// Within one file with very many matches the batch goes out every so many matches.
constexpr int kMatchStride = 4096;

bool takesEveryFile(const QStringList &masks)
{
    for (const QString &m : masks)
        if (m == QLatin1String("*") || m == QLatin1String("*.*"))
            return true;
    return masks.isEmpty();
}

bool startsBinary(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(kSniffBytes).contains('\0');
}

// Line and column of positions met in increasing order, counting the line breaks (and,
// when the editor expands tabs, the tabs) between them once: a file of one long line
// with many matches costs its length, not more.
class LineCounter
{
public:
    // tabExtra: the characters a tab gains when the editor opens the file (0: none).
    explicit LineCounter(qsizetype tabExtra)
        : m_tabExtra(tabExtra)
    {
    }

    void advance(QStringView text, qsizetype to)
    {
        const QStringView upTo = text.first(to);
        for (qsizetype i = upTo.indexOf(u'\n', m_pos); i >= 0; i = upTo.indexOf(u'\n', i + 1)) {
            ++m_line;
            m_lineStart = i + 1;
        }
        if (m_tabExtra > 0) {
            const char16_t *p = text.utf16();
            qsizetype tabs = 0;
            for (qsizetype i = m_pos; i < to; ++i)
                tabs += p[i] == u'\t';
            m_tabs += tabs;
        }
        m_pos = to;
    }
    int line() const { return m_line; }
    int column() const { return int(m_pos - m_lineStart) + 1; }
    qsizetype openedPosition() const { return m_pos + m_tabs * m_tabExtra; }

private:
    const qsizetype m_tabExtra;
    qsizetype m_pos = 0;
    qsizetype m_lineStart = 0;
    qsizetype m_tabs = 0;
    int m_line = 1;
};

} // namespace

FileSearcher::FileSearcher(FileSearchRequest request)
    : m_request(std::move(request))
{
}

QStringList FileSearcher::splitMasks(const QString &masks)
{
    QStringList out;
    for (const QString &m : masks.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = m.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

QList<FileSearcher::Listed> FileSearcher::listFiles(
    const QString &folder, const QStringList &masks, bool subfolders)
{
    QList<Listed> out;
    const QStringList filters = takesEveryFile(masks) ? QStringList() : masks;
    // Depth first, each folder's files before its subfolders, without recursion.
    QStringList pending { QDir(folder).absolutePath() };
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeLast());
        const QFileInfoList files
            = dir.entryInfoList(filters, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::Name);
        for (const QFileInfo &f : files)
            out.append(Listed { f.absoluteFilePath(), f.size() });
        if (!subfolders)
            break;
        const QStringList dirs
            = dir.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
        for (auto it = dirs.crbegin(); it != dirs.crend(); ++it)
            pending.append(dir.filePath(*it));
    }
    return out;
}

FileSearchSummary FileSearcher::run()
{
    FileSearchSummary sum;
    const FileSearchRequest &q = m_request;
    SearchOptions options = q.options;
    options.allDocuments = false;
    options.inSelection = false;
    const Regex re = SearchEngine::prepare(q.findText, options);
    if (!re.isValid()) {
        sum.error = SearchTexts::compileError(re);
        return sum;
    }
    if (!QFileInfo(q.folder).isDir()) {
        sum.error = FileSearchTexts::noFolder(q.folder);
        return sum;
    }
    if (q.replacing) {
        sum.undo = std::make_shared<FileReplaceUndo>();
        if (!sum.undo->isValid()) {
            sum.undo.reset();
            sum.error = FileSearchTexts::noBackups();
            return sum;
        }
    }

    const QList<Listed> files = listFiles(q.folder, q.masks, q.subfolders);
    sum.filesListed = int(files.size());
    FileSearchProgress progress;
    progress.filesTotal = int(files.size());
    for (const Listed &f : files)
        progress.bytesTotal += f.size;

    const SubstitutionTemplate templ(q.replacing ? q.replacement : QString());
    const bool perMatch = q.replacing && options.specialSequences && !templ.isConstant();
    QString constantText;
    if (q.replacing)
        constantText
            = options.specialSequences ? SubstitutionTemplate::substitute(q.replacement, {}) : q.replacement;

    QList<FileMatch> batch;
    RecentTexts matchedTexts;
    RecentTexts insertedTexts;
    QElapsedTimer sinceReport;
    sinceReport.start();
    const auto report = [&](bool force) {
        if (!force && m_reportInterval > 0 && sinceReport.elapsed() < m_reportInterval)
            return;
        sinceReport.restart();
        if (!batch.isEmpty()) {
            if (m_batchSink)
                m_batchSink(batch);
            batch.clear();
        }
        if (m_progressSink)
            m_progressSink(progress);
    };

    for (const Listed &f : files) {
        if (isCancelled()) {
            sum.cancelled = true;
            break;
        }
        const auto done = [&] {
            ++progress.filesDone;
            progress.bytesDone += f.size;
            progress.matches = sum.matches;
            report(false);
        };
        if (f.size > q.maxFileSize) {
            sum.skippedTooLarge << f.path;
            done();
            continue;
        }
        if (q.replacing && !q.skipPaths.isEmpty()
            && q.skipPaths.contains(QFileInfo(f.path).canonicalFilePath())) {
            sum.skippedUnsaved << f.path;
            done();
            continue;
        }
        if (f.size > kSniffFrom && startsBinary(f.path)) {
            sum.skippedBinary << f.path;
            done();
            continue;
        }
        const LoadResult loaded = LoadDocumentFile(f.path, q.charsetMode, q.defaultIso, KeepTabs);
        if (!loaded.ok) {
            sum.failed << FileProblem { f.path, loaded.errorText };
            done();
            continue;
        }
        const QString &text = loaded.text;
        if (text.contains(QChar(0))) {
            sum.skippedBinary << f.path;
            done();
            continue;
        }
        ++sum.filesSearched;
        sum.bytesSearched += loaded.stamp.size;

        RegexMatcher m(re, text);
        // Tabs are counted only where the editor would expand them and the file has some.
        const qsizetype tabExtra = q.openTabWidth == KeepTabs || !text.contains(QLatin1Char('\t'))
            ? 0
            : std::max(q.openTabWidth, 1) - 1;
        LineCounter lines(tabExtra);
        if (!q.replacing) {
            qsizetype n = 0;
            while (m.findNext()) {
                lines.advance(text, m.start());
                batch.append(FileMatch { f.path, lines.line(), lines.column(), m.start(),
                    lines.openedPosition(), matchedTexts.get(m.matched()), QString() });
                if (++n % kMatchStride == 0) {
                    progress.matches = sum.matches + n;
                    report(false);
                    if (isCancelled())
                        break;
                }
            }
            if (m.error() && sum.error.isEmpty())
                sum.error = m.errorMessage();
            if (n > 0) {
                ++sum.filesMatched;
                sum.matches += n;
            }
            done();
            continue;
        }

        // Replace: the new text is built in one pass; the file is written only when it is
        // complete, so a cancel or an error leaves the file as it was.
        QString built;
        QList<FileMatch> rows;
        qsizetype copied = 0;
        bool abandoned = false;
        while (m.findNext()) {
            built += QStringView(text).mid(copied, m.start() - copied);
            const qsizetype before = built.size();
            if (perMatch)
                templ.appendTo(built, m);
            else
                built += constantText;
            lines.advance(built, before);
            rows.append(FileMatch { f.path, lines.line(), lines.column(), before, lines.openedPosition(),
                matchedTexts.get(m.matched()),
                perMatch ? insertedTexts.get(QStringView(built).mid(before)) : constantText });
            copied = m.end();
            if (rows.size() % kMatchStride == 0 && isCancelled()) {
                abandoned = true;
                break;
            }
        }
        if (abandoned) {
            sum.cancelled = true;
            break;
        }
        if (m.error()) {
            sum.failed << FileProblem { f.path, m.errorMessage() };
            done();
            continue;
        }
        if (rows.isEmpty()) {
            done();
            continue;
        }
        built += QStringView(text).mid(copied);
        if (isCancelled()) {
            sum.cancelled = true; // the file stays as it was
            break;
        }

        QFile file(f.path);
        QByteArray old;
        if (file.open(QIODevice::ReadOnly))
            old = file.readAll();
        if (!file.isOpen() || file.error() != QFileDevice::NoError) {
            sum.failed << FileProblem { f.path, file.errorString() };
            done();
            continue;
        }
        file.close();
        // The bytes kept must be the ones that were searched.
        if (StatFile(f.path) != loaded.stamp) {
            sum.changedMeanwhile << f.path;
            done();
            continue;
        }
        QString why;
        const QString backup = sum.undo->keep(f.path, old, &why);
        if (backup.isEmpty()) {
            sum.failed << FileProblem { f.path, why };
            done();
            continue;
        }
        const SaveResult saved = SaveDocumentFile(f.path, built, loaded.iso);
        if (!saved.ok) {
            sum.undo->drop(backup);
            sum.failed << FileProblem { f.path, saved.errorText };
            done();
            continue;
        }
        sum.undo->confirm(f.path, backup, saved.stamp, int(rows.size()));
        ++sum.filesMatched;
        sum.matches += rows.size();
        sum.unmappable += saved.unmappable;
        batch.append(rows);
        done();
    }
    progress.matches = sum.matches;
    report(true);
    return sum;
}
