#pragma once

#include <QIcon>
#include <functional>

class QPainter;

// An icon the program draws itself, painted once for each pixel density a screen may
// have (100%, 200%, 300%), so that it stays sharp where the desktop scales the windows.
// paint draws on a size x size square in logical pixels.
QIcon DrawnIcon(int size, const std::function<void(QPainter &)> &paint);
