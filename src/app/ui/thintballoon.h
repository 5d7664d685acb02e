#pragma once

#include <QLabel>
#include <QTimer>

// The green balloon that shows a tag's syntax and description near the caret. A tool-tip
// window: it never takes the focus and hides itself after its time-out.
class THintBalloon : public QLabel
{
    Q_OBJECT
public:
    explicit THintBalloon(QWidget *parent = nullptr);

    // Background 0x8FF295 (RGB), at most half the screen wide, hidden after 65535 ms.
    static QColor balloonColor();
    static constexpr int kTimeoutMs = 65535;

    // Shows text with its top-left corner at globalPos, kept on the screen.
    void showAt(const QString &text, const QPoint &globalPos);

private:
    QTimer m_hide;
};
