#include "app/ui/previewview.h"

#include "app/ui/textpreviewview.h"

#include <QCoreApplication>
#include <cstdio>

#ifdef MARKORA_WEBENGINE
#include "app/ui/webpreviewview.h"

#include <unistd.h>
#endif

bool WebPreviewBuiltIn()
{
#ifdef MARKORA_WEBENGINE
    return true;
#else
    return false;
#endif
}

PreviewView *CreatePreviewView(QWidget *parent)
{
#ifdef MARKORA_WEBENGINE
    if (qgetenv("MARKORA_PREVIEW") != "text")
        return new WebPreviewView(parent);
#endif
    return new TextPreviewView(parent);
}

void PreparePreviewEngine()
{
#ifdef MARKORA_WEBENGINE
    // The Chromium sandbox refuses to run as root; the preview then runs without it.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
        std::fprintf(stderr,
            "markora: uruchomiono jako root: podgląd Qt WebEngine działa bez piaskownicy "
            "(QTWEBENGINE_DISABLE_SANDBOX=1)\n");
        std::fflush(stderr);
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    WebPreviewView::registerScheme();
#endif
}
