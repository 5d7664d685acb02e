#include "app/ui/splash.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QSplashScreen>

namespace {
QSplashScreen *g_splash = nullptr;

QPixmap splashPicture()
{
    // Drawn here rather than loaded, so start-up reads no image file.
    QPixmap pm(420, 200);
    pm.fill(QColor(0xF4, 0xF1, 0xE8));
    QPainter p(&pm);
    p.setPen(QColor(0x1F, 0x3A, 0x6E));
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    QFont title = p.font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.drawText(QRect(0, 40, pm.width(), 60), Qt::AlignHCenter, QStringLiteral("Markora"));
    QFont sub = p.font();
    sub.setPointSize(10);
    sub.setBold(false);
    p.setFont(sub);
    p.drawText(QRect(0, 100, pm.width(), 30), Qt::AlignHCenter, QString::fromUtf8("edytor HTML"));
    return pm;
}
} // namespace

namespace Splash {

void show()
{
    if (g_splash)
        return;
    g_splash = new QSplashScreen(splashPicture());
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
