#pragma once

#include "search/searchengine.h"
#include "services/docfile.h"
#include "services/filereplaceundo.h"

#include <QList>
#include <QMetaType>
#include <QSet>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>

// What Find in files and Replace in files are asked to do.
struct FileSearchRequest
{
    QString folder;
    // File name patterns ("*.html", "*.*htm*"), case ignored; "*" and "*.*" take every
    // file, and so does an empty list.
    QStringList masks;
    bool subfolders = true;
    QString findText;
    // As in the search window; allDocuments and inSelection do not apply.
    SearchOptions options;
    bool replacing = false;
    QString replacement;
    // Reading as opening does: mode 0 detects the code page, defaultIso is the code page
    // when the file names none.
    int charsetMode = 0;
    bool defaultIso = false;
    // Replace: canonical paths (QFileInfo::canonicalFilePath) of files open in the editor
    // with unsaved changes. They are left alone and listed.
    QSet<QString> skipPaths;
    // Larger files are left alone and listed.
    qint64 maxFileSize = qint64(256) << 20;
    // The tab width the editor opens files with (each tab becomes that many spaces), for
    // FileMatch::openedPosition; KeepTabs when it keeps tabs.
    int openTabWidth = KeepTabs;
};

// One match in a file. For Replace the place is that of the inserted text in the new
// file, as for Replace all in a document.
struct FileMatch
{
    QString path; // absolute
    int line = 0; // 1-based
    int column = 0; // 1-based, in characters
    qsizetype position = 0; // 0-based character index in the file's text as loaded ('\n' one character)
    // The same place in the text the editor shows after opening the file (its tabs
    // expanded to FileSearchRequest::openTabWidth spaces): where a double click selects.
    qsizetype openedPosition = 0;
    QString text; // the matched text
    QString replacement; // Replace only: the text put in
};

struct FileSearchProgress
{
    int filesDone = 0;
    int filesTotal = 0;
    qint64 bytesDone = 0;
    qint64 bytesTotal = 0;
    qsizetype matches = 0;
};

struct FileSearchSummary
{
    int filesListed = 0; // files the masks took
    int filesSearched = 0;
    int filesMatched = 0; // Find: files with a match; Replace: files written
    qsizetype matches = 0; // Find: found; Replace: replaced in the files written
    qint64 bytesSearched = 0;
    int unmappable = 0; // Replace: characters the code page could not hold, written as "&#N;"
    QStringList skippedUnsaved; // Replace: open with unsaved changes
    QStringList skippedBinary; // holding NUL bytes: not text
    QStringList skippedTooLarge;
    QStringList changedMeanwhile; // Replace: changed between reading and writing, left alone
    QList<FileProblem> failed; // could not be read or written
    bool cancelled = false;
    // Why nothing was done (an invalid expression, no folder, no place for backups), or a
    // run-time error of the engine.
    QString error;
    // Replace: the backups of the files written, for undo; the caller keeps it as long as
    // the run may be undone (until the program closes). Null for Find.
    std::shared_ptr<FileReplaceUndo> undo;
};

Q_DECLARE_METATYPE(FileMatch)
Q_DECLARE_METATYPE(FileSearchProgress)
Q_DECLARE_METATYPE(FileSearchSummary)

// The texts Find and Replace in files show, exactly as the user reads them.
namespace FileSearchTexts {
// "Przeszukano 12 z 340 plików, znaleziono 5 dopasowań. Naciśnij <Esc> aby przerwać wyszukiwanie..."
QString progress(const FileSearchProgress &p, bool replacing);
// "Znaleziono 5 wystąpień wyrażenia "T" w 2 plikach (przeszukano 340)."
QString findSummary(const FileSearchSummary &s, const QString &findText);
// "Zamieniono 5 wystąpień wyrażenia "T" w 2 plikach."
QString replaceSummary(const FileSearchSummary &s, const QString &findText);
QString noFolder(const QString &folder); // "Nie ma folderu F."
QString noBackups(); // nothing changed: no place for the backups
QString skippedUnsaved(); // heading of the list of files open with unsaved changes
QString undoSummary(const FileReplaceUndo::Result &r); // "Przywrócono N plików." and what was not
} // namespace FileSearchTexts

// Find and Replace in the files of a folder. Each file is read as opening reads it (its
// code page detected; tabs kept), searched with the search window's expression, and,
// when replacing, written back through the document save in its own code page after a
// copy of its old bytes went to the run's backups. run() works on the calling thread;
// FileSearchJob runs it on a worker thread. Matches arrive in batches, in file order.
class FileSearcher
{
public:
    using BatchFn = std::function<void(const QList<FileMatch> &batch)>;
    using ProgressFn = std::function<void(const FileSearchProgress &progress)>;

    explicit FileSearcher(FileSearchRequest request);

    void setBatchSink(BatchFn sink) { m_batchSink = std::move(sink); }
    void setProgressSink(ProgressFn sink) { m_progressSink = std::move(sink); }
    // Batches and progress go out at most this often (milliseconds), and at the end;
    // 0 sends them after every file.
    void setReportInterval(int ms) { m_reportInterval = ms; }

    // Asks a run to stop (any thread). A file being replaced in is left as it was.
    void cancel() { m_cancel.store(true, std::memory_order_relaxed); }
    bool isCancelled() const { return m_cancel.load(std::memory_order_relaxed); }

    FileSearchSummary run();

    // The files a request covers, in the order a run takes them: each folder's files by
    // name, then its subfolders by name. Symbolic links are not followed (as grep -r).
    struct Listed
    {
        QString path;
        qint64 size = 0;
    };
    static QList<Listed> listFiles(const QString &folder, const QStringList &masks, bool subfolders);
    // "*.html; *.htm" -> { "*.html", "*.htm" }: the masks field as typed.
    static QStringList splitMasks(const QString &masks);

private:
    struct Run;

    FileSearchRequest m_request;
    BatchFn m_batchSink;
    ProgressFn m_progressSink;
    int m_reportInterval = 100;
    std::atomic<bool> m_cancel { false };
};
