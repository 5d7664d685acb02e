#pragma once

#include <QToolButton>

// A plug-in's button on the "Doklejki" toolbar: 24 × 24, flat, always showing its hint.
// Its object name is the plug-in's registration name.
class TDoklButton : public QToolButton
{
    Q_OBJECT
public:
    explicit TDoklButton(QWidget *parent = nullptr);

    // The registration's values, as read at start-up.
    QString Command; // the plug-in's program
    QString WindowCaption; // the title its running instance answers to; empty: never running
    QString Icon; // the picture file of the glyph

    QString Hint() const { return toolTip(); }
    void setHint(const QString &hint) { setToolTip(hint); }

    enum class ClickResult { Woken, Started, Failed };
    // The plug-in click: wakes the running instance with 1033, or starts Command with
    // "-markora" without waiting for it; a failure to start is reported to the user.
    ClickResult DoklejkaClick();

    // The number of the last process started by a click, 0 when none.
    qint64 lastPid() const { return m_lastPid; }

private:
    qint64 m_lastPid = 0;
};
