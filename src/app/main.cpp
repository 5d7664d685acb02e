#include "app/toknogl.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Markora"));
    TOknoGl w;
    w.show();
    return app.exec();
}
