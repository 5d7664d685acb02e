#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

// The splash window shown while the program starts. Start-up steps anywhere in the
// program report their progress through SplashMessage, which does nothing when no
// splash is shown (tests, a window created later).
namespace Splash {
void show();
void message(const QString &text);
// Closes the splash once w is shown (or at once when w is null).
void finish(QWidget *w);
bool isShown();
// The splash's picture, 420 x 200 logical pixels, drawn for a screen of that pixel density.
QPixmap picture(qreal devicePixelRatio);
} // namespace Splash
