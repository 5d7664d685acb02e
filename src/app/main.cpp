#include "app/toknogl.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Markora"));
    TOknoGl w;
    w.show();
    const QStringList args = QApplication::arguments().mid(1);
    for (const QString &arg : args)
        if (!arg.startsWith(QLatin1Char('-')) && QFileInfo(arg).isFile())
            w.Open(QFileInfo(arg).absoluteFilePath(), 0);
    return app.exec();
}
