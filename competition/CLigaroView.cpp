#include "CLigaroView.h"

#include "competition/odstupenie.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/CPoleDatumu.h"
#include "ui/ovladace.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CKubUdaje::CKubUdaje(CPouzivatel& user, const CUdajeKlubu& values, QWidget* parent)
    : QDialog(parent), m_user(user), m_nazov(new QLineEdit(this)), m_kontakt1(new QLineEdit(this)),
      m_kontakt2(new QLineEdit(this)), m_vylosovanie(new QLineEdit(this)), m_pozn(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Údaje o klube"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Klub:"), m_nazov);
    form->addRow(QStringLiteral("Kontakt 1:"), m_kontakt1);
    form->addRow(QStringLiteral("Kontakt 2:"), m_kontakt2);
    form->addRow(QStringLiteral("Vylosované číslo:"), m_vylosovanie);
    form->addRow(QStringLiteral("Poznámka:"), m_pozn);
    m_nazov->setMinimumWidth(320);
    m_pozn->setTabChangesFocus(true);
    m_pozn->setFixedHeight(m_pozn->fontMetrics().height() * 4 + 10);
    LimitPlainText(m_pozn, kMaxPoznamkaKlubu);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    SetValues(values);
}

void CKubUdaje::SetValues(const CUdajeKlubu& v)
{
    m_nazov->setText(v.nazov);
    m_kontakt1->setText(v.kontakt1);
    m_kontakt2->setText(v.kontakt2);
    m_vylosovanie->setText(v.vylosovanie);
    m_pozn->setPlainText(v.pozn);
}

CUdajeKlubu CKubUdaje::Values() const
{
    return {m_nazov->text(), m_kontakt1->text(), m_kontakt2->text(), m_vylosovanie->text(),
            m_pozn->toPlainText()};
}

void CKubUdaje::accept()
{
    if (!IsValidDrawNumber(m_vylosovanie->text())) {
        m_user.ShowMessage(kZleVylosovaneCislo, CPouzivatel::Ikona::Vykricnik);
        m_vylosovanie->setFocus();
        m_vylosovanie->selectAll();
        return;
    }
    QDialog::accept();
}

CLigaroView::CLigaroView(CLigaroDoc& doc, CRamecPohladov& frame, CPrikazyOdstupenia withdrawal,
                         QWidget* parent)
    : CZaznamovyPohlad(doc, frame, parent), m_title(new CMyStatic(QStringLiteral("Zoznam klubov"), this)),
      m_list(new CMyListCtrl(this)), m_noteLabel(new QLabel(QStringLiteral("Poznámka ku klubu:"), this)),
      m_note(new QPlainTextEdit(this)),
      m_withdraw(new QPushButton(kOdstupenieKlubu + QStringLiteral("..."), this)),
      m_withdrawal(std::move(withdrawal))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 2);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(m_noteLabel, 1);
    noteRow->addWidget(m_withdraw);
    layout->addLayout(noteRow);
    layout->addWidget(m_note, 1);
    connect(m_withdraw, &QPushButton::clicked, this, &CLigaroView::WithdrawSelected);
    connect(m_list, &CMyListCtrl::itemSelectionChanged, this, &CLigaroView::UpdateWithdrawButton);
    LimitPlainText(m_note, kMaxPoznamkaKlubu);
    m_list->SetColumns(ClubListColumns());
    SetRecordList(m_list, QStringLiteral("Pridať klub"));
    SetRecordNote(m_note, 5, ClubNote, SaveClubNote);
}

QString CLigaroView::Title() const
{
    return m_title->text();
}

bool CLigaroView::CanEdit() const
{
    return m_doc.HasEditAccess() && m_doc.IsDatabaseOpen() && m_competition != 0;
}

void CLigaroView::OnInitialUpdate()
{
    m_competition = m_doc.CurrentCompetition();
    FillClubList();
    UpdateEditAccess();
}

void CLigaroView::FillClubList()
{
    m_filling = true;
    m_note->clear();
    m_list->setRowCount(0);
    if (m_doc.IsDatabaseOpen() && m_competition != 0) {
        CDatabaza& db = m_doc.Database();
        m_title->setText(ClubListTitle(db, m_competition));
        const CZoznam clubs = ClubList(db, m_competition);
        m_list->Fill(clubs);
        // A club that withdrew says so in its row, where the secretary looks for it.
        const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
        if (!withdrawals.isEmpty()) {
            QVector<CStlpecZoznamu> columns = clubs.columns;
            columns.append({QStringLiteral("Stav"), Zarovnanie::Vlavo, 160});
            m_list->SetColumns(columns);
            for (int r = 0; r < m_list->rowCount(); ++r)
                if (withdrawals.contains(m_list->RowId(r)))
                    m_list->SetCellText(r, columns.size() - 1,
                                        WithdrawalMark(withdrawals.value(m_list->RowId(r))));
        }
    }
    m_filling = false;
}

void CLigaroView::UpdateEditAccess()
{
    m_note->setReadOnly(!m_doc.HasEditAccess());
    m_note->setEnabled(m_doc.HasEditAccess());
    UpdateWithdrawButton();
}

bool CLigaroView::SelectedWithdrawn()
{
    const int id = m_list->SelectedId();
    bool withdrawn = false;
    if (id != 0 && m_doc.IsDatabaseOpen())
        m_doc.Run([&] { withdrawn = ReadWithdrawals(m_doc.Database()).contains(id); });
    return withdrawn;
}

void CLigaroView::UpdateWithdrawButton()
{
    m_withdraw->setText(SelectedWithdrawn() ? kZrusitOdstupenie : kOdstupenieKlubu + QStringLiteral("..."));
    m_withdraw->setEnabled(CanEdit() && m_list->SelectedId() != 0 && m_withdrawal.withdraw &&
                           m_withdrawal.cancel);
}

QList<QAction*> CLigaroView::ExtraContextActions()
{
    if (m_list->SelectedId() == 0)
        return {};
    auto* withdraw =
        new QAction(SelectedWithdrawn() ? kZrusitOdstupenie : kOdstupenieKlubu + QStringLiteral("..."), this);
    connect(withdraw, &QAction::triggered, this, &CLigaroView::WithdrawSelected);
    return {withdraw};
}

void CLigaroView::WithdrawSelected()
{
    const int row = m_list->SelectedRow();
    const int id = m_list->SelectedId();
    if (!CanEdit() || id == 0 || !m_withdrawal.withdraw || !m_withdrawal.cancel)
        return;
    if (SelectedWithdrawn()) {
        bool cancelled = false;
        m_doc.Run([&] { cancelled = m_withdrawal.cancel(m_doc, id); });
        if (cancelled)
            FillClubList();
    } else {
        COdstupenieKlubu dialog(m_doc.User(), m_list->CellText(row, 1), this);
        if (dialog.exec() != QDialog::Accepted)
            return;
        bool withdrawn = false;
        m_doc.Run([&] { withdrawn = m_withdrawal.withdraw(m_doc, id, dialog.Day(), dialog.Annul()); });
        if (withdrawn)
            FillClubList();
    }
    m_list->SelectRow(row);
    UpdateWithdrawButton();
}

COdstupenieKlubu::COdstupenieKlubu(CPouzivatel& user, const QString& club, QWidget* parent)
    : QDialog(parent), m_user(user), m_day(new CPoleDatumu(this)),
      m_annul(new QCheckBox(QStringLiteral("&Anulovať všetky výsledky klubu (nepočítajú sa nikomu)"), this))
{
    setWindowTitle(kOdstupenieKlubu);
    m_day->SetDate(QDate::currentDate());
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Klub:"), new QLabel(club, this));
    auto* dayLabel = new QLabel(QStringLiteral("Odstúpil &dňa:"), this);
    dayLabel->setBuddy(m_day->Edit());
    form->addRow(dayLabel, m_day);
    auto* explanation = new QLabel(
        QStringLiteral(
            "Bez anulovania platia odohrané výsledky klubu a jeho zápasy od toho dňa sa počítajú ako "
            "kontumované v jeho neprospech (súper vyhráva 3:0). Klub stojí v tabuľke na konci."),
        this);
    explanation->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_annul);
    layout->addWidget(explanation);
    layout->addWidget(OkCancelButtons(this));
}

QDate COdstupenieKlubu::Day() const
{
    return m_day->Date();
}

bool COdstupenieKlubu::Annul() const
{
    return m_annul->isChecked();
}

void COdstupenieKlubu::accept()
{
    if (!m_day->Date().isValid()) {
        m_user.ShowMessage(kZlyDatum, CPouzivatel::Ikona::Vykricnik);
        m_day->Edit()->setFocus();
        return;
    }
    QDialog::accept();
}

void CLigaroView::EditRecord()
{
    const int row = m_list->SelectedRow();
    if (row < 0 || !CanEdit())
        return;
    const int id = m_list->RowId(row);
    const CUdajeKlubu values{m_list->CellText(row, 1), m_list->CellText(row, 2), m_list->CellText(row, 3),
                             m_list->CellText(row, 4), m_list->CellText(row, 5)};
    CKubUdaje dialog(m_doc.User(), values, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int saved = 0;
    if (!m_doc.Run([&] { saved = SaveClub(m_doc.Database(), id, m_competition, dialog.Values()); }))
        return;
    FillClubList();
    m_list->SelectRow(m_list->Content().FindRow(saved));
}

void CLigaroView::RemoveRecord()
{
    const int id = m_list->SelectedId();
    if (!CanEdit() || id == 0)
        return;
    bool removed = false;
    m_doc.Run([&] { removed = RemoveClub(m_doc, id); });
    if (removed)
        FillClubList();
}

bool CLigaroView::Prints() const
{
    return m_doc.IsDatabaseOpen();
}

std::unique_ptr<CTlacovina> CLigaroView::Printout()
{
    return std::make_unique<CTlacKlubov>(m_doc.Database(), m_competition);
}

void CLigaroView::Import()
{
    const int competition = m_competition;
    ImportFile(
        QStringLiteral("Importovať kluby"),
        [competition](CDatabaza& db, const QByteArray& file) { return ImportClubs(db, competition, file); },
        kPridaneKluby);
}

void CLigaroView::Export()
{
    m_doc.Run([this] {
        SaveExportedPage(m_doc.User(), ExportClubs(m_doc.Database(), m_competition), kSuborKlubov);
    });
}
