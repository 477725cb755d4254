#include "lokalizacia.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void InstallSlovak(QCoreApplication& app, QTranslator& translator)
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.name() == QStringLiteral("C") ||
        system.name().startsWith(QStringLiteral("POSIX")))
        QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    if (translator.load(QStringLiteral("qtbase_sk"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&translator);
}
