#include "CKolovyPohlad.h"

#include "competition/rozpis.h"
#include "db/CLigaroDoc.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/ovladace.h"

#include <QComboBox>
#include <QHBoxLayout>

CKolovyPohlad::CKolovyPohlad(const QString& title, const QVector<CStlpecZoznamu>& columns, CLigaroDoc& doc,
                             CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(title, this)), m_rounds(new QComboBox(this)),
      m_list(new CMyListCtrl(this))
{
    m_rounds->setMinimumContentsLength(12);
    m_list->SetColumns(columns);
    connect(m_rounds, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0)
            return;
        m_round = m_rounds->itemData(index).toInt();
        m_doc.Run([this] {
            LoadMatches();
            RoundChanged();
        });
    });
}

QHBoxLayout* CKolovyPohlad::TopRow()
{
    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_rounds);
    return top;
}

QString CKolovyPohlad::Title() const
{
    return m_title->text();
}

void CKolovyPohlad::OnInitialUpdate()
{
    const int competition = m_doc.CurrentCompetition();
    // A competition shown anew opens on the round the secretary works on, not the first; shown again
    // (a refresh), it keeps the round she chose.
    if (competition != m_competition || !m_roundChosen) {
        m_competition = competition;
        m_roundChosen = true;
        if (m_doc.IsDatabaseOpen() && competition != 0)
            m_doc.Run([&] { m_round = CurrentRound(m_doc.Database(), competition); });
    }
    m_list->setRowCount(0);
    m_rounds->clear();
    if (m_doc.IsDatabaseOpen()) {
        LoadMatches();
        LoadRounds();
    }
    UpdateEditAccess();
}

bool FillRoundSelector(QComboBox* selector, const QVector<CPolozkaKola>& items, int& round)
{
    selector->clear();
    for (const CPolozkaKola& item : items)
        AddChooserItem(selector, item.text, item.round, item.played);
    const int index = selector->findData(round);
    if (index >= 0) {
        selector->setCurrentIndex(index);
        return false;
    }
    if (selector->count() == 0)
        return false;
    selector->setCurrentIndex(0);
    round = selector->itemData(0).toInt();
    return true;
}

void CKolovyPohlad::LoadRounds()
{
    m_filling = true;
    const bool changed = FillRoundSelector(m_rounds, RoundItems(m_doc.Database(), m_competition), m_round);
    m_filling = false;
    // The round shown before is gone (a new fixture list): the first one is shown.
    if (changed)
        LoadMatches();
}

void CKolovyPohlad::LoadMatches()
{
    m_filling = true;
    m_list->setRowCount(0);
    if (m_competition != 0) {
        CDatabaza& db = m_doc.Database();
        m_title->setText(ListTitle(db));
        m_list->Fill(ListRows(db));
    }
    m_filling = false;
}

void CKolovyPohlad::SelectRound(int round)
{
    const int index = m_rounds->findData(round);
    if (index >= 0)
        m_rounds->setCurrentIndex(index);
}

bool CKolovyPohlad::Prints() const
{
    return m_doc.IsDatabaseOpen() && m_competition != 0;
}
