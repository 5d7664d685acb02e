#include "app/previewrefresh.h"

#include <QTimer>

PreviewRefresh::PreviewRefresh(QObject *parent)
    : QObject(parent)
    , m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(DefaultPause);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_stale = false;
        Q_EMIT due();
    });
}

void PreviewRefresh::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (!on)
        m_timer->stop();
    else if (m_stale)
        m_timer->start();
}

void PreviewRefresh::setPause(int msecs) { m_timer->setInterval(std::max(0, msecs)); }

int PreviewRefresh::pause() const { return m_timer->interval(); }

bool PreviewRefresh::isPending() const { return m_timer->isActive(); }

void PreviewRefresh::changed()
{
    m_stale = true;
    if (m_enabled)
        m_timer->start();
}

void PreviewRefresh::rendered()
{
    m_stale = false;
    m_timer->stop();
}
