#include "CZKView.h"

#include "competition/rozpis.h"

#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/CPoleDatumu.h"
#include "ui/ovladace.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

CKartyView::CKartyView(CDruhKariet kind, CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_kind(kind),
      m_title(new CMyStatic(
          kind == CDruhKariet::Zlte ? QStringLiteral("Žlté karty") : QStringLiteral("Červené karty"), this)),
      m_clubs(new QComboBox(this)), m_list(new CMyListCtrl(this))
{
    m_clubs->setMinimumContentsLength(24);
    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_clubs);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    connect(m_clubs, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0)
            return;
        m_club = m_clubs->itemData(index).toInt();
        m_doc.Run([this] { Fill(); });
    });
}

QString CKartyView::Title() const
{
    return m_title->text();
}

void CKartyView::OnInitialUpdate()
{
    m_competition = m_doc.CurrentCompetition();
    m_filling = true;
    m_clubs->clear();
    m_list->setRowCount(0);
    m_club = 0;
    if (m_doc.IsDatabaseOpen() && m_competition != 0) {
        const auto items = CardClubItems(m_doc.Database(), m_competition);
        for (const auto& item : items)
            m_clubs->addItem(item.nazov, item.id);
        // The register opens on every club, the page a secretary looks through first; a competition
        // without clubs shows none.
        m_club = items.size() > 1 ? kVsetkyKluby : 0;
        m_clubs->setCurrentIndex(m_club == 0 ? -1 : m_clubs->findData(kVsetkyKluby));
    }
    m_filling = false;
    Fill();
}

void CKartyView::Fill()
{
    if (!m_doc.IsDatabaseOpen() || m_competition == 0)
        return;
    CZaneprazdnenie busy(m_doc.User());
    CDatabaza& db = m_doc.Database();
    m_title->setText(CardRegisterTitle(db, m_competition, m_kind));
    const CZoznam list = CardRegister(db, m_competition, m_club, m_kind, m_doc.StopRounds());
    m_list->SetColumns(list.columns);
    m_list->Fill(list);
}

bool CKartyView::Prints() const
{
    return m_doc.IsDatabaseOpen() && m_competition != 0;
}

std::unique_ptr<CTlacovina> CKartyView::Printout()
{
    return std::make_unique<CTlacKariet>(m_doc.Database(), m_competition, m_club, m_kind, m_list->Content());
}

void CKartyView::Export()
{
    m_doc.Run([this] {
        CZaneprazdnenie busy(m_doc.User());
        const CMyExport page =
            ExportCards(m_doc.Database(), m_competition, m_clubs->currentText(), m_kind, m_list->Content());
        SaveExportedPage(m_doc.User(), page, m_kind == CDruhKariet::Zlte ? kSuborZK : kSuborCK);
    });
}

CZKView::CZKView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CKartyView(CDruhKariet::Zlte, doc, frame, parent), m_rounds(new QComboBox(this)),
      m_print(new QPushButton(QStringLiteral("Vytlačiť"), this)), m_progressLabel(new QLabel(this)),
      m_progress(new QProgressBar(this))
{
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Zoznam hráčov ktorí majú stáť v kole č.: "), this));
    bottom->addWidget(m_rounds);
    bottom->addWidget(m_print);
    bottom->addSpacing(20);
    bottom->addWidget(m_progressLabel);
    bottom->addWidget(m_progress, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(bottom);
    m_progressLabel->hide();
    m_progress->hide();
    connect(m_print, &QPushButton::clicked, this, &CZKView::PrintStopList);
}

void CZKView::OnInitialUpdate()
{
    CKartyView::OnInitialUpdate();
    m_rounds->clear();
    if (!m_doc.IsDatabaseOpen() || m_competition == 0)
        return;
    // The stop list is wanted for the round about to be played.
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        QSet<int> played;
        for (const CPolozkaKola& item : RoundItems(db, m_competition))
            if (item.played)
                played.insert(item.round);
        QVector<int> seen;
        for (int r : RoundColumns(db, m_competition).rounds)
            if (!seen.contains(r)) {
                seen.append(r);
                AddChooserItem(m_rounds, QString::number(r), r, played.contains(r));
            }
        m_rounds->setCurrentIndex(std::max(0, m_rounds->findData(CurrentRound(db, m_competition))));
    });
}

std::unique_ptr<CTlacovina> CZKView::StopPrintout()
{
    const int round = m_rounds->currentData().toInt();
    m_progressLabel->setText(QStringLiteral("Prepočítavanie:"));
    m_progressLabel->show();
    m_progress->setRange(0, 0);
    m_progress->show();
    CZaneprazdnenie busy(m_doc.User());
    CDatabaza& db = m_doc.Database();
    QVector<CHracStop> entries = StopList(db, m_competition, round, m_doc.StopRounds());
    m_progressLabel->clear();
    m_progressLabel->hide();
    m_progress->hide();
    const QString club = m_club == kVsetkyKluby ? QString() : m_clubs->currentText();
    return std::make_unique<CTlacStopu>(db, m_competition, round, std::move(entries), club);
}

void CZKView::PrintStopList()
{
    if (m_rounds->count() == 0)
        return;
    std::unique_ptr<CTlacovina> printout;
    if (m_doc.Run([&] { printout = StopPrintout(); }) && printout)
        m_frame.PreviewPrintout(*printout);
}

CCKView::CCKView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CKartyView(CDruhKariet::Cervene, doc, frame, parent)
{
}

CAmnestia::CAmnestia(CPouzivatel& user, QWidget* parent)
    : QDialog(parent), m_user(user), m_all(new QRadioButton(QStringLiteral("Všetky"), this)),
      m_count(new QRadioButton(QStringLiteral("Počet"), this)),
      m_number(new QLineEdit(QStringLiteral("0"), this)), m_day(new CPoleDatumu(this))
{
    setWindowTitle(QStringLiteral("Amnestia na tresty"));
    WideEnoughForTitle(this);
    auto* group = new QGroupBox(QStringLiteral("Vymazať ŽK"), this);
    auto* grid = new QHBoxLayout(group);
    grid->addWidget(m_all);
    grid->addWidget(m_count);
    grid->addWidget(m_number);
    m_number->setValidator(new QIntValidator(-999, 999, m_number));
    m_all->setChecked(true);
    m_number->setEnabled(false);
    connect(m_count, &QRadioButton::toggled, m_number, &QLineEdit::setEnabled);
    m_day->SetDate(QDate::currentDate());
    auto* day = new QHBoxLayout;
    auto* dayLabel = new QLabel(QStringLiteral("Odpustiť karty zo zápasov pred &dňom:"), this);
    dayLabel->setBuddy(m_day->Edit());
    day->addWidget(dayLabel);
    day->addWidget(m_day, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(day);
    layout->addWidget(OkCancelButtons(this));
}

QDate CAmnestia::Day() const
{
    return m_day->Date();
}

bool CAmnestia::All() const
{
    return m_all->isChecked();
}

int CAmnestia::Count() const
{
    return AmnestyCountFromText(m_number->text()).value_or(0);
}

void CAmnestia::accept()
{
    if (m_count->isChecked() && !AmnestyCountFromText(m_number->text())) {
        m_user.ShowMessage(kZadajteCeleCislo, CPouzivatel::Ikona::Vykricnik);
        m_number->setFocus();
        m_number->selectAll();
        return;
    }
    if (!m_day->Date().isValid()) {
        m_user.ShowMessage(kZlyDatum, CPouzivatel::Ikona::Vykricnik);
        m_day->Edit()->setFocus();
        m_day->Edit()->selectAll();
        return;
    }
    QDialog::accept();
}
