#include "app/programinfo.h"
#include "app/startupsettings.h"
#include "app/ui/startup.h"
#include "base/datafiles.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine::Request request = ParseCommandLine(args).request;
    if (request != CommandLine::Request::Edit) {
        // Answers on the terminal: no window, so no display is needed either.
        QCoreApplication app(argc, argv);
        const QString answer = request == CommandLine::Request::Help ? CommandLineHelp()
            : request == CommandLine::Request::Version               ? VersionText()
                                                       : DataFilesReport(DataFolders::current());
        std::fputs(answer.toLocal8Bit().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    QApplication app(argc, argv);
    return MarkoraMain();
}
