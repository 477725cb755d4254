#include "app/CLigaroApp.h"
#include "app/CPrikazovyRiadok.h"
#include "app/lokalizacia.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CPrikazovyRiadok::Mode(arguments) == CPrikazovyRiadok::CRezim::Konzola) {
        // Jobs, help and usage errors are answered without a display; fonts for printing still need
        // the GUI layer, which only the printing job starts.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
#ifdef Q_OS_UNIX
        // Without a desktop session Qt wants a private runtime folder and complains when it has none.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QByteArray runtime =
                QFile::encodeName(QDir::tempPath()) + "/agenda-mirak-" + QByteArray::number(getuid());
            mkdir(runtime.constData(), 0700);
            qputenv("XDG_RUNTIME_DIR", runtime);
        }
#endif
        const auto run = [&](QCoreApplication& app) {
            QCoreApplication::setApplicationName(QStringLiteral("Agenda Mirak"));
            QCoreApplication::setApplicationVersion(QStringLiteral(MIRAK_VERSION));
            CPreklady preklady(app);
            QTextStream out(stdout);
            QTextStream err(stderr);
            return CPrikazovyRiadok(out, err).Run(app.arguments());
        };
        if (CPrikazovyRiadok::Prints(arguments)) {
            QGuiApplication app(argc, argv);
            return run(app);
        }
        QCoreApplication app(argc, argv);
        return run(app);
    }
    CLigaroApp app(argc, argv);
    return app.Run(CPrikazovyRiadok::WindowSeason(arguments));
}
