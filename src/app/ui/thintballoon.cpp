#include "app/ui/thintballoon.h"

#include <QGuiApplication>
#include <QScreen>

THintBalloon::THintBalloon(QWidget *parent)
    : QLabel(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("HintBalloon"));
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setMargin(4);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, balloonColor());
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
    m_hide.setSingleShot(true);
    m_hide.setInterval(kTimeoutMs);
    connect(&m_hide, &QTimer::timeout, this, &QWidget::hide);
}

QColor THintBalloon::balloonColor() { return QColor(0x8F, 0xF2, 0x95); }

void THintBalloon::showAt(const QString &text, const QPoint &globalPos)
{
    QScreen *screen = QGuiApplication::screenAt(globalPos);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    setText(text);
    setMaximumWidth(std::max(100, area.width() / 2));
    // Lay the text out within that width before measuring the height.
    const int natural = std::min(maximumWidth(), sizeHint().width());
    const int width = std::max(natural, minimumSizeHint().width());
    resize(width, heightForWidth(width) > 0 ? heightForWidth(width) : sizeHint().height());
    QPoint pos = globalPos;
    pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - this->width())));
    pos.setY(std::clamp(pos.y(), area.top(), std::max(area.top(), area.bottom() - height())));
    move(pos);
    show();
    raise();
    m_hide.start();
}
