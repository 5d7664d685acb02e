#pragma once

#include "base/ui/msgbox.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <functional>

// Answers every message box with OK and remembers what was asked.
struct MessageLog
{
    MessageLog()
    {
        MsgBox::setHandler([this](const MsgBox::Request &r) {
            asked << r;
            return QMessageBox::Ok;
        });
    }
    ~MessageLog() { MsgBox::setHandler({}); }
    QList<MsgBox::Request> asked;
};

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
