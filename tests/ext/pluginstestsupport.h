#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <functional>

// Serves this thread's events until condition holds; false when timeoutMs passed first.
inline bool serveUntil(const std::function<bool()> &condition, int timeoutMs = 60000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
