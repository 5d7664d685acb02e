#include "app/ui/previewview.h"
#include "app/ui/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    PreparePreviewEngine();
    QApplication app(argc, argv);
    return MarkoraMain();
}
