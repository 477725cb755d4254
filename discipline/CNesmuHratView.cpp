#include "CNesmuHratView.h"

#include "competition/CKolovyPohlad.h"
#include "competition/kluby.h"
#include "competition/rozpis.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "discipline/karty.h"
#include "discipline/nesmuhrat.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/ovladace.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

CNesmuHratView::CNesmuHratView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(kNesmuHratText, this)), m_clubs(new QComboBox(this)),
      m_rounds(new QComboBox(this)), m_list(new CMyListCtrl(this))
{
    m_clubs->setMinimumContentsLength(24);
    m_rounds->setMinimumContentsLength(10);
    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    auto* roundLabel = new QLabel(QStringLiteral("&Kolo:"), this);
    roundLabel->setBuddy(m_rounds);
    top->addWidget(roundLabel);
    top->addWidget(m_rounds);
    auto* clubLabel = new QLabel(QStringLiteral("K&lub:"), this);
    clubLabel->setBuddy(m_clubs);
    top->addWidget(clubLabel);
    top->addWidget(m_clubs);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    const auto changed = [this](QComboBox* box, int& value) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, box, &value](int index) {
            if (m_filling || index < 0)
                return;
            value = box->itemData(index).toInt();
            m_doc.Run([this] { Fill(); });
        });
    };
    changed(m_clubs, m_club);
    changed(m_rounds, m_round);
}

QString CNesmuHratView::Title() const
{
    return m_title->text();
}

void CNesmuHratView::OnInitialUpdate()
{
    m_competition = m_doc.CurrentCompetition();
    m_filling = true;
    m_clubs->clear();
    m_rounds->clear();
    m_list->setRowCount(0);
    m_club = kVsetkyKluby;
    m_round = 0;
    if (m_doc.IsDatabaseOpen() && m_competition != 0) {
        CDatabaza& db = m_doc.Database();
        for (const CPolozkaKlubu& item : CardClubItems(db, m_competition))
            m_clubs->addItem(item.nazov, item.id);
        m_clubs->setCurrentIndex(m_clubs->findData(kVsetkyKluby));
        // The list opens on the round being played, the one the clubs ask about.
        m_round = CurrentRound(db, m_competition);
        QVector<CPolozkaKola> rounds = RoundItems(db, m_competition);
        rounds.removeIf([](const CPolozkaKola& r) { return r.round == kVsetkyKola; });
        FillRoundSelector(m_rounds, rounds, m_round);
    }
    m_filling = false;
    Fill();
}

void CNesmuHratView::Fill()
{
    if (!m_doc.IsDatabaseOpen() || m_competition == 0)
        return;
    CZaneprazdnenie busy(m_doc.User());
    CDatabaza& db = m_doc.Database();
    m_title->setText(MayNotPlayTitle(db, m_competition, m_round));
    const CZoznam list = MayNotPlayList(db, m_competition, m_round, m_club, m_doc.StopRounds());
    m_list->SetColumns(list.columns);
    m_list->Fill(list);
}

bool CNesmuHratView::Prints() const
{
    return m_doc.IsDatabaseOpen() && m_competition != 0 && m_round != 0;
}

std::unique_ptr<CTlacovina> CNesmuHratView::Printout()
{
    return std::make_unique<CTlacNesmuHrat>(m_doc.Database(), m_competition, m_round, m_list->Content());
}

void CNesmuHratView::Export()
{
    m_doc.Run([this] {
        CZaneprazdnenie busy(m_doc.User());
        const CMyExport page =
            ExportMayNotPlay(m_doc.Database(), m_competition, m_round, m_club, m_doc.StopRounds(), true);
        SaveExportedPage(m_doc.User(), page, kSuborNesmuHrat);
    });
}
