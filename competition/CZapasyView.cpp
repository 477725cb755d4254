#include "CZapasyView.h"

#include "competition/rozpis.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/CPoleDatumu.h"
#include "ui/ovladace.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Says which date field holds no date and puts the cursor there.
bool RefusedDate(CPouzivatel& user, CPoleDatumu* field, const QString& label)
{
    if (field->Date().isValid())
        return false;
    user.ShowMessage(QStringLiteral("%1 %2").arg(kZlyDatum, label), CPouzivatel::Ikona::Vykricnik);
    field->setFocus();
    field->Edit()->selectAll();
    return true;
}

} // namespace

CVytvorSutaz::CVytvorSutaz(CPouzivatel& user, const CParametreGenerovania& defaults,
                           const QVector<int>& rounds, QWidget* parent)
    : QDialog(parent), m_user(user), m_start(new CPoleDatumu(this)),
      m_startHour(new QLineEdit(defaults.startHour, this)), m_return(new CPoleDatumu(this)),
      m_returnHour(new QLineEdit(defaults.returnHour, this)), m_rounds(new QComboBox(this)),
      m_mode(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Vytváranie súťaže"));
    m_start->SetDate(defaults.start);
    m_return->SetDate(defaults.returnDate);
    auto* autumn = new QGroupBox(QStringLiteral("Začiatok súťaže"), this);
    auto* autumnForm = new QFormLayout(autumn);
    autumnForm->addRow(QStringLiteral("Dátum začiatku súťaže:"), m_start);
    autumnForm->addRow(QStringLiteral("Hodina prvého kola:"), m_startHour);
    auto* spring = new QGroupBox(QStringLiteral("Odvetná (jarná) časť"), this);
    auto* springForm = new QFormLayout(spring);
    springForm->addRow(QStringLiteral("Dátum začiatku odvetnej časti:"), m_return);
    springForm->addRow(QStringLiteral("Hodina prvého kola:"), m_returnHour);
    for (int r : rounds)
        m_rounds->addItem(QString::number(r), r);
    m_rounds->setCurrentIndex(std::max(0, m_rounds->findData(defaults.rounds)));
    m_mode->addItems(ModeNames());
    m_mode->setCurrentIndex(defaults.mode);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Počet hracích kôl v súťaži:"), m_rounds);
    form->addRow(QStringLiteral("Súťaž generovať:"), m_mode);
    auto* note = new QLabel(QStringLiteral("  Vytváranie súťaže používajte vždy iba na začiatku sezóny.\n"
                                           "  Touto operáciou sa premažú všetky údaje o výsledkoch zápasov."),
                            this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(autumn);
    layout->addWidget(spring);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(OkCancelButtons(this));
}

void CVytvorSutaz::accept()
{
    if (RefusedDate(m_user, m_start, QStringLiteral("(začiatok súťaže).")) ||
        RefusedDate(m_user, m_return, QStringLiteral("(začiatok odvetnej časti).")))
        return;
    QDialog::accept();
}

CParametreGenerovania CVytvorSutaz::Values() const
{
    CParametreGenerovania p;
    p.start = m_start->Date();
    p.startHour = m_startHour->text();
    p.returnDate = m_return->Date();
    p.returnHour = m_returnHour->text();
    p.rounds = m_rounds->currentData().toInt();
    p.mode = m_mode->currentIndex();
    return p;
}

CDialogUpravitCas::CDialogUpravitCas(QWidget* parent)
    : QDialog(parent), m_match(new QRadioButton(QStringLiteral("pre označený zápas"), this)),
      m_round(new QRadioButton(QStringLiteral("pre celé kolo"), this))
{
    setWindowTitle(QStringLiteral("Upraviť čas"));
    m_match->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_match);
    layout->addWidget(m_round);
    layout->addWidget(OkCancelButtons(this));
}

bool CDialogUpravitCas::WholeRound() const
{
    return m_round->isChecked();
}

CZapasyView::CZapasyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CKolovyPohlad(QStringLiteral("Zápasy"), ScheduleColumns(), doc, frame, parent),
      m_panel(new QWidget(this)), m_generate(new QPushButton(QStringLiteral("Vytvoriť súťaž"), m_panel)),
      m_clear(new QPushButton(QStringLiteral("Vymazať súťaže"), m_panel)), m_losD(new QLineEdit(m_panel)),
      m_losH(new QLineEdit(m_panel)), m_date(new CPoleDatumu(this)), m_time(new QLineEdit(this)),
      m_confirm(new QPushButton(QStringLiteral("Potvrdiť čas"), this)), m_note(new QLineEdit(this))
{
    auto* panelLayout = new QHBoxLayout(m_panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(m_generate);
    panelLayout->addWidget(m_clear);
    panelLayout->addSpacing(16);
    panelLayout->addWidget(new QLabel(QStringLiteral("Los D:"), m_panel));
    panelLayout->addWidget(m_losD);
    panelLayout->addWidget(new QLabel(QStringLiteral("Los H:"), m_panel));
    panelLayout->addWidget(m_losH);
    panelLayout->addStretch();
    for (QLineEdit* e : {m_losD, m_losH}) {
        e->setValidator(new QIntValidator(0, 9999, e));
        e->setMaximumWidth(60);
    }

    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(QStringLiteral("Dátum:"), this));
    fields->addWidget(m_date);
    fields->addWidget(new QLabel(QStringLiteral("Čas:"), this));
    fields->addWidget(m_time);
    m_time->setMaximumWidth(70);
    fields->addWidget(m_confirm);
    fields->addSpacing(16);
    fields->addWidget(new QLabel(QStringLiteral("Pozn:"), this));
    fields->addWidget(m_note, 1);
    m_note->setMaxLength(100);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addLayout(TopRow());
    layout->addWidget(m_panel);
    layout->addLayout(fields);
    layout->addWidget(m_list, 1);

    connect(m_list, &CMyListCtrl::itemSelectionChanged, this, [this] { ShowMatch(); });
    connect(m_losD, &QLineEdit::textChanged, this, &CZapasyView::OnDrawNumbersEdited);
    connect(m_losH, &QLineEdit::textChanged, this, &CZapasyView::OnDrawNumbersEdited);
    connect(m_note, &QLineEdit::textChanged, this, &CZapasyView::OnNoteEdited);
    connect(m_confirm, &QPushButton::clicked, this, &CZapasyView::ConfirmTimeCommand);
    connect(m_generate, &QPushButton::clicked, this, &CZapasyView::GenerateFixturesCommand);
    connect(m_clear, &QPushButton::clicked, this, &CZapasyView::ClearCommand);
    LayOut();
}

void CZapasyView::LayOut()
{
    m_panel->setVisible(m_frame.CompetitionPanelVisible());
}

void CZapasyView::CompetitionPanelChanged()
{
    LayOut();
}

void CZapasyView::UpdateEditAccess()
{
    const bool edit = m_doc.HasEditAccess() && m_doc.IsDatabaseOpen();
    for (QWidget* w : std::initializer_list<QWidget*>{m_date, m_time, m_note, m_losD, m_losH, m_confirm,
                                                      m_generate, m_clear})
        w->setEnabled(edit);
}

QString CZapasyView::ListTitle(CDatabaza& db)
{
    return ScheduleTitle(db, m_competition);
}

CZoznam CZapasyView::ListRows(CDatabaza& db)
{
    return ScheduleList(db, m_competition, m_round);
}

void CZapasyView::ShowMatch()
{
    const int id = m_list->SelectedId();
    if (id == 0)
        return;
    m_doc.Run([&] {
        const auto fields = MatchFields(m_doc.Database(), id);
        if (!fields)
            return;
        m_filling = true;
        m_losD->setText(QString::number(fields->homeDraw));
        m_losH->setText(QString::number(fields->awayDraw));
        m_date->SetDate(fields->date);
        m_time->setText(fields->time);
        m_note->setText(fields->note);
        m_filling = false;
    });
}

void CZapasyView::OnDrawNumbersEdited()
{
    const int row = m_list->SelectedRow();
    const int id = m_list->SelectedId();
    if (m_filling || id == 0 || !m_doc.HasEditAccess())
        return;
    m_doc.Run([&] {
        const auto pair =
            ApplyDrawNumbers(m_doc.Database(), m_competition, id, m_losD->text(), m_losH->text());
        if (!pair)
            return;
        m_list->SetCellText(row, kStlpecLosD, QString::number(pair->homeDraw));
        m_list->SetCellText(row, kStlpecLosH, QString::number(pair->awayDraw));
        m_list->SetCellText(row, kStlpecDomaci, pair->homeName);
        m_list->SetCellText(row, kStlpecHostia, pair->awayName);
    });
}

void CZapasyView::OnNoteEdited()
{
    const int row = m_list->SelectedRow();
    const int id = m_list->SelectedId();
    if (m_filling || id == 0 || !m_doc.HasEditAccess())
        return;
    m_doc.Run([&] {
        m_list->SetCellText(row, kStlpecPoznamka, SaveScheduleNote(m_doc.Database(), id, m_note->text()));
    });
}

void CZapasyView::ConfirmTimeCommand()
{
    const int id = m_list->SelectedId();
    if (id == 0 || !m_doc.HasEditAccess())
        return;
    if (RefusedDate(m_doc.User(), m_date, QStringLiteral("(dátum zápasu).")))
        return;
    const QDate date = m_date->Date();
    CDialogUpravitCas dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_doc.Run([&] {
        const CNovyVykop changed =
            ConfirmTime(m_doc.Database(), id, date, m_time->text(), dialog.WholeRound());
        const CZoznam shown = m_list->Content();
        for (int match : changed.matches) {
            const int row = shown.FindRow(match);
            if (row < 0)
                continue;
            m_list->SetCellText(row, kStlpecDatum, DatumTextom(changed.kickOff));
            m_list->SetCellText(row, kStlpecCas, CasTextom(changed.kickOff));
        }
    });
}

void CZapasyView::GenerateFixturesCommand()
{
    if (!m_doc.HasEditAccess() || m_competition == 0)
        return;
    bool generated = false;
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        const int doubleRounds = DoubleRoundCount(db, m_competition);
        if (doubleRounds < 6) {
            m_doc.User().ShowMessage(kMalyPocetKlubov, CPouzivatel::Ikona::Vykricnik);
            return;
        }
        CVytvorSutaz dialog(m_doc.User(), CParametreGenerovania::Defaults(doubleRounds, QDate::currentDate()),
                            RoundsList(doubleRounds), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        generated = GenerateFixtures(m_doc, m_competition, dialog.Values());
    });
    if (generated)
        m_doc.Run([this] {
            LoadRounds();
            LoadMatches();
        });
}

void CZapasyView::ClearCommand()
{
    if (!m_doc.HasEditAccess() || m_competition == 0)
        return;
    bool cleared = false;
    m_doc.Run([&] { cleared = ClearCompetitionCommand(m_doc, m_competition); });
    if (cleared)
        m_doc.Run([this] {
            LoadRounds();
            LoadMatches();
        });
}

std::unique_ptr<CTlacovina> CZapasyView::Printout()
{
    return std::make_unique<CTlacRozpisu>(m_doc.Database(), m_competition, m_round);
}

void CZapasyView::Export()
{
    m_doc.Run([this] {
        SaveExportedPage(m_doc.User(), ExportSchedule(m_doc.Database(), m_competition, m_round),
                         kSuborRozpisu);
    });
}
