#include "CNajStrelciView.h"

#include "db/CLigaroDoc.h"
#include "results/strelci.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"

#include <QVBoxLayout>

CNajStrelciView::CNajStrelciView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(QStringLiteral("Najlepší strelci"), this)),
      m_list(new CMyListCtrl(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 1);
    m_list->SetColumns(TopScorersColumns());
}

void CNajStrelciView::OnInitialUpdate()
{
    m_competition = m_doc.CurrentCompetition();
    m_list->setRowCount(0);
    if (!m_doc.IsDatabaseOpen() || m_competition == 0)
        return;
    CDatabaza& db = m_doc.Database();
    m_title->setText(TopScorersTitle(db, m_competition));
    m_list->Fill(TopScorersList(db, m_competition));
}

bool CNajStrelciView::Prints() const
{
    return m_doc.IsDatabaseOpen() && m_competition != 0;
}

std::unique_ptr<CTlacovina> CNajStrelciView::Printout()
{
    return std::make_unique<CTlacStrelcov>(m_doc.Database(), m_competition);
}

void CNajStrelciView::Export()
{
    m_doc.Run([this] {
        if (const auto page = ExportTopScorers(m_doc.Database(), m_competition))
            SaveExportedPage(m_doc.User(), *page, kSuborStrelcov);
    });
}
