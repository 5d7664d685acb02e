#pragma once

#include "services/filesearch.h"

#include <QObject>

class QThread;

// Find or Replace in files on a worker thread. Signals come from the worker and reach
// receivers in other threads queued, in order: batches of matches and progress while
// it runs, finished() once at the end (also after cancel()). Destroying the job cancels
// the run and waits for it.
class FileSearchJob : public QObject
{
    Q_OBJECT
public:
    explicit FileSearchJob(FileSearchRequest request, QObject *parent = nullptr);
    ~FileSearchJob() override;

    // Starts the run; a job runs once.
    void start();
    // Asks the run to stop after the file it is in (Esc); finished() still comes.
    void cancel();
    bool isRunning() const;
    // Waits for the run to end; false on timeout.
    bool wait(int msecs = -1);

    // How often batches and progress are sent (see FileSearcher::setReportInterval).
    void setReportInterval(int ms) { m_searcher.setReportInterval(ms); }

Q_SIGNALS:
    void matchesFound(const QList<FileMatch> &batch);
    void progressChanged(const FileSearchProgress &progress);
    void finished(const FileSearchSummary &summary);

private:
    FileSearcher m_searcher;
    QThread *m_thread = nullptr;
};
