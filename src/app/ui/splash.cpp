#include "app/ui/splash.h"

#include <QApplication>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSplashScreen>
#include <algorithm>

namespace {
QSplashScreen *g_splash = nullptr;
} // namespace

namespace Splash {

QPixmap picture(qreal devicePixelRatio)
{
    // Drawn here rather than loaded, so start-up reads no image file; drawn at the
    // screen's pixel density, so that a scaled desktop shows sharp letters.
    const qreal dpr = std::max<qreal>(1, devicePixelRatio);
    QPixmap pm(QSize(420, 200) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(QColor(0xF4, 0xF1, 0xE8));
    QPainter p(&pm);
    p.setPen(QColor(0x1F, 0x3A, 0x6E));
    p.drawRect(QRectF(0.5, 0.5, 419, 199));
    QFont title = p.font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 40, 420, 60), Qt::AlignHCenter, QStringLiteral("Markora"));
    QFont sub = p.font();
    sub.setPointSize(10);
    sub.setBold(false);
    p.setFont(sub);
    p.drawText(QRect(0, 100, 420, 30), Qt::AlignHCenter, QString::fromUtf8("edytor HTML"));
    return pm;
}

void show()
{
    if (g_splash)
        return;
    const QScreen *screen = QGuiApplication::primaryScreen();
    g_splash = new QSplashScreen(picture(screen ? screen->devicePixelRatio() : 1));
    g_splash->show();
    g_splash->showMessage(QString(), Qt::AlignBottom | Qt::AlignHCenter);
}

void message(const QString &text)
{
    if (!g_splash)
        return;
    g_splash->showMessage(text, Qt::AlignBottom | Qt::AlignHCenter, QColor(0x1F, 0x3A, 0x6E));
}

void finish(QWidget *w)
{
    if (!g_splash)
        return;
    if (w)
        g_splash->finish(w);
    else
        g_splash->close();
    g_splash->deleteLater();
    g_splash = nullptr;
}

bool isShown() { return g_splash != nullptr; }

} // namespace Splash
