#include "okno.h"

void WindowTest::SetUp()
{
    SeasonTest::SetUp();
    m_settings = std::make_unique<CNastavenia>(Path(QStringLiteral("nastavenia.ini")));
    m_frame = std::make_unique<CMainFrame>(m_doc, m_user, *m_settings, m_printer);
    m_doc.SetViews(m_frame.get());
}

void WindowTest::TearDown()
{
    m_doc.SetViews(nullptr);
    m_frame.reset();
    m_doc.CloseSeason();
}
