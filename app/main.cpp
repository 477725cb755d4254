#include "app/CLigaroApp.h"
#include "cli/CPrikazovyRiadok.h"

// The program is a window, or a job of the command line answered on the console.
int main(int argc, char* argv[])
{
    const QStringList arguments = CPrikazovyRiadok::Arguments(argc, argv);
    if (CPrikazovyRiadok::Mode(arguments) == CPrikazovyRiadok::CRezim::Konzola)
        return CPrikazovyRiadok::Main(argc, argv);
    CLigaroApp app(argc, argv);
    return app.Run(CPrikazovyRiadok::WindowSeason(arguments));
}
