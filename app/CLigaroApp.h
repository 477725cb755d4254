#pragma once

#include "app/dialogy.h"
#include "db/CLigaroDoc.h"
#include "db/CNastavenia.h"
#include "preklady/lokalizacia.h"

#include <QApplication>
#include <QPrinter>

#include <memory>

class CMainFrame;

// The application: Slovak translations and locale, the user's settings, the printer, the session
// and the main window; carries out the command line and runs the window.
class CLigaroApp
{
public:
    CLigaroApp(int& argc, char** argv);
    ~CLigaroApp();
    // Opens the season file named on the command line, if any (the program ends when it cannot be
    // opened), and shows the window.
    int Run(const QString& season);

private:
    QApplication m_app;
    CPreklady m_preklady;
    COknoPouzivatel m_user;
    CNastavenia m_settings;
    // At the printer's own resolution, as the PDF is drawn at its own: the preview shows the same.
    QPrinter m_printer{QPrinter::HighResolution};
    CLigaroDoc m_doc;
    std::unique_ptr<CMainFrame> m_frame;
};
