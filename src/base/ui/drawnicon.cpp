#include "base/ui/drawnicon.h"

#include <QPainter>
#include <QPixmap>

QIcon DrawnIcon(int size, const std::function<void(QPainter &)> &paint)
{
    QIcon icon;
    for (const int scale : { 1, 2, 3 }) {
        QPixmap pm(size * scale, size * scale);
        pm.fill(Qt::transparent);
        {
            QPainter p(&pm);
            p.scale(scale, scale);
            paint(p);
        }
        // Added at its pixel size, so a scaled screen picks the sharp one.
        icon.addPixmap(pm);
    }
    return icon;
}
