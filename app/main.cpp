#include "app/CLigaroApp.h"
#include "app/CPrikazovyRiadok.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    if (CPrikazovyRiadok::IsJob(args)) {
        // Jobs run without a display; fonts for printing still need the GUI layer.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return CPrikazovyRiadok(out, err).Run(args);
    }
    CLigaroApp app(argc, argv);
    return app.Run(args);
}
