#pragma once

#include <QIcon>

// The program's icon, dist/markora.svg in the PNG sizes built into the program (16 to
// 256 pixels, so that a screen at 200% finds a sharp one): the windows' icon, the same
// as the menu entry's.
QIcon ProgramIcon();
