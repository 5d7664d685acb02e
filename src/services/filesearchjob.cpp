#include "services/filesearchjob.h"

#include <QDeadlineTimer>
#include <QThread>

FileSearchJob::FileSearchJob(FileSearchRequest request, QObject *parent)
    : QObject(parent)
    , m_searcher(std::move(request))
{
    qRegisterMetaType<FileMatch>();
    qRegisterMetaType<QList<FileMatch>>();
    qRegisterMetaType<FileSearchProgress>();
    qRegisterMetaType<FileSearchSummary>();
    m_searcher.setBatchSink([this](const QList<FileMatch> &batch) { Q_EMIT matchesFound(batch); });
    m_searcher.setProgressSink([this](const FileSearchProgress &p) { Q_EMIT progressChanged(p); });
}

FileSearchJob::~FileSearchJob()
{
    if (m_thread) {
        m_searcher.cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void FileSearchJob::start()
{
    if (m_thread)
        return;
    m_thread = QThread::create([this] {
        const FileSearchSummary summary = m_searcher.run();
        Q_EMIT finished(summary);
    });
    m_thread->start();
}

void FileSearchJob::cancel() { m_searcher.cancel(); }

bool FileSearchJob::isRunning() const { return m_thread && m_thread->isRunning(); }

bool FileSearchJob::wait(int msecs)
{
    if (!m_thread)
        return true;
    return m_thread->wait(msecs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(msecs));
}
