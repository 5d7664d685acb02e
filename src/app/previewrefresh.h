#pragma once

#include <QObject>

class QTimer;

// When the live preview renders the document again: every change starts the pause
// over, and once the typing has rested for the whole pause, due() comes once. While
// refreshing is off, changes are only remembered: switching it on again brings the
// preview up to date after a pause.
class PreviewRefresh : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultPause = 400; // milliseconds

    explicit PreviewRefresh(QObject *parent = nullptr);

    // The toggle "Odświeżaj podczas pisania".
    void setEnabled(bool on);
    bool isEnabled() const { return m_enabled; }
    void setPause(int msecs);
    int pause() const;
    // A refresh waits for the typing to rest.
    bool isPending() const;
    // Changes not yet shown (made while refreshing was off, or still waiting).
    bool isStale() const { return m_stale; }

    // The text changed.
    void changed();
    // The preview was rendered by other means (the preview command): nothing is waiting.
    void rendered();

Q_SIGNALS:
    void due();

private:
    QTimer *m_timer;
    bool m_enabled = true;
    bool m_stale = false;
};
