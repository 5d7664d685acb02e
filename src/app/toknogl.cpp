#include "app/toknogl.h"

TOknoGl::TOknoGl(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Markora"));
    resize(900, 650);
}
