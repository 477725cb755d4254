#include "CLigaroApp.h"

#include "app/CMainFrame.h"
#include "app/ikona.h"
#include "output/CQtPlocha.h"
#include "preklady/lokalizacia.h"

CLigaroApp::CLigaroApp(int& argc, char** argv)
    : m_app(argc, argv), m_preklady(m_app), m_printer(QPrinter::HighResolution), m_doc(m_user)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrix"));
    QCoreApplication::setApplicationName(QStringLiteral("Agenda Mirak"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MIRAK_VERSION));
    InstallFontSubstitutes();
    QApplication::setWindowIcon(ProgramIcon());
    m_printer.setFullPage(true);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_frame = std::make_unique<CMainFrame>(m_doc, m_user, m_settings, m_printer);
    m_user.SetParent(m_frame.get());
    m_doc.SetViews(m_frame.get());
    m_doc.SetDailySnapshots(true);
    m_doc.SetSnapshotLimit(m_settings.SnapshotLimitMB() * 1024 * 1024);
}

CLigaroApp::~CLigaroApp()
{
    m_doc.SetViews(nullptr);
    m_doc.CloseSeason();
}

int CLigaroApp::Run(const QString& season)
{
    if (!season.isEmpty() && !m_frame->OpenSeason(season))
        return 2;
    // The first start fills the screen; later ones open as the user left the window (maximized too).
    if (m_settings.WindowGeometry().isEmpty())
        m_frame->showMaximized();
    else
        m_frame->show();
    return m_app.exec();
}
