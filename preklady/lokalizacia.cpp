#include "lokalizacia.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

CPreklady::CPreklady(QCoreApplication& app)
{
    const QLocale system = QLocale::system();
    if (system.language() == QLocale::C || system.name() == QStringLiteral("C") ||
        system.name().startsWith(QStringLiteral("POSIX")))
        QLocale::setDefault(QLocale(QLocale::Slovak, QLocale::Slovakia));
    if (m_qt.load(QStringLiteral("qtbase_sk"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&m_qt);
    // Installed last, so it is asked first.
    m_ownLoaded = m_own.load(QStringLiteral(":/preklady/agenda-mirak_sk.qm"));
    if (m_ownLoaded)
        app.installTranslator(&m_own);
}
