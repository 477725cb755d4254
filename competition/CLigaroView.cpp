#include "CLigaroView.h"

#include "app/CMyListCtrl.h"
#include "app/CMyStatic.h"
#include "app/prikazy.h"
#include "db/CLigaroDoc.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Keeps a plain text edit at most `limit` characters long, as the old note fields did.
void LimitLength(QPlainTextEdit* edit, int limit)
{
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, limit] {
        const QString text = edit->toPlainText();
        if (text.size() > limit) {
            QTextCursor cursor = edit->textCursor();
            edit->setPlainText(text.left(limit));
            cursor.setPosition(std::min<int>(cursor.position(), limit));
            edit->setTextCursor(cursor);
        }
    });
}
} // namespace

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
    LimitLength(m_pozn, kMaxPoznamkaKlubu);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Zrušiť"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
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

CLigaroView::CLigaroView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent), m_title(new CMyStatic(QStringLiteral("Zoznam klubov"), this)),
      m_list(new CMyListCtrl(this)), m_noteLabel(new QLabel(QStringLiteral("Poznámka ku klubu:"), this)),
      m_note(new QPlainTextEdit(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addWidget(m_title);
    layout->addWidget(m_list, 2);
    layout->addWidget(m_noteLabel);
    layout->addWidget(m_note, 1);
    LimitLength(m_note, kMaxPoznamkaKlubu);
    m_list->SetColumns(ClubListColumns());
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QTableWidget::itemSelectionChanged, this, [this] {
        ShowNote();
        m_frame.UpdateCommands();
    });
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this] {
        if (CanEdit())
            EditClub();
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QList<QAction*> actions = ContextActions();
        if (actions.isEmpty())
            return;
        QMenu menu(QStringLiteral("Upravy"), this);
        menu.addActions(actions);
        menu.exec(m_list->viewport()->mapToGlobal(at));
        qDeleteAll(actions);
    });
    connect(m_note, &QPlainTextEdit::textChanged, this, &CLigaroView::SaveNote);
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
        m_list->Fill(ClubList(db, m_competition));
    }
    m_filling = false;
}

void CLigaroView::UpdateEditAccess()
{
    m_note->setReadOnly(!m_doc.HasEditAccess());
    m_note->setEnabled(m_doc.HasEditAccess());
}

void CLigaroView::ShowNote()
{
    const int id = m_list->SelectedId();
    m_filling = true;
    if (id != 0)
        m_doc.Run([&] { m_note->setPlainText(ClubNote(m_doc.Database(), id)); });
    m_filling = false;
}

void CLigaroView::SaveNote()
{
    if (m_filling || !m_doc.HasEditAccess())
        return;
    const int row = m_list->SelectedRow();
    if (row < 0)
        return;
    const QString note = m_note->toPlainText();
    m_list->SetCellText(row, 5, note);
    const int id = m_list->RowId(row);
    if (id != 0)
        m_doc.Run([&] { SaveClubNote(m_doc.Database(), id, note); });
}

bool CLigaroView::TakesCommand(int command) const
{
    return command == kPrikazPridat || command == kPrikazUpravit || command == kPrikazVymazat;
}

bool CLigaroView::CommandEnabled(int command) const
{
    if (command == kPrikazPridat)
        return CanEdit();
    return CanEdit() && m_list->SelectedId() != 0;
}

void CLigaroView::RunCommand(int command)
{
    if (!CommandEnabled(command))
        return;
    if (command == kPrikazPridat)
        AddClub();
    else if (command == kPrikazUpravit)
        EditClub();
    else
        RemoveSelectedClub();
}

QList<QAction*> CLigaroView::ContextActions()
{
    if (!CanEdit())
        return {};
    const bool onClub = m_list->SelectedId() != 0;
    auto* add = new QAction(QStringLiteral("Pridať klub"), this);
    auto* edit = new QAction(QStringLiteral("Upraviť údaje"), this);
    auto* remove = new QAction(QStringLiteral("Odstrániť"), this);
    edit->setEnabled(onClub);
    remove->setEnabled(onClub);
    connect(add, &QAction::triggered, this, &CLigaroView::AddClub);
    connect(edit, &QAction::triggered, this, &CLigaroView::EditClub);
    connect(remove, &QAction::triggered, this, &CLigaroView::RemoveSelectedClub);
    return {add, edit, remove};
}

void CLigaroView::AddClub()
{
    m_list->SelectRow(m_list->rowCount() - 1);
    EditClub();
}

void CLigaroView::EditClub()
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

void CLigaroView::RemoveSelectedClub()
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

void CLigaroView::Export()
{
    m_doc.Run([this] {
        SaveExportedPage(m_doc.User(), ExportClubs(m_doc.Database(), m_competition), kSuborKlubov);
    });
}
