#include "CHraciView.h"

#include "competition/sutaze.h"
#include "db/CLigaroDoc.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/CPoleDatumu.h"
#include "ui/hladanie.h"
#include "ui/ovladace.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CUdajeHraci::CUdajeHraci(CPouzivatel& user, const CUdajeHraca& values, QWidget* parent)
    : QDialog(parent), m_user(user), m_meno(new QLineEdit(this)), m_priezvisko(new QLineEdit(this)),
      m_rc(new QLineEdit(this)), m_od(new CPoleDatumu(this)), m_do(new CPoleDatumu(this)),
      m_pozn(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Údaje o hráčovi"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Meno:"), m_meno);
    form->addRow(QStringLiteral("Priezvisko:"), m_priezvisko);
    form->addRow(QStringLiteral("Rodné číslo:"), m_rc);
    form->addRow(kPoleHostovanie + QLatin1Char(':'), m_od);
    form->addRow(kPoleZakaz + QLatin1Char(':'), m_do);
    form->addRow(QStringLiteral("Poznámka:"), m_pozn);
    m_meno->setMinimumWidth(260);
    m_pozn->setTabChangesFocus(true);
    m_pozn->setFixedHeight(m_pozn->fontMetrics().height() * 4 + 10);
    LimitPlainText(m_pozn, kMaxPoznamkaHraca);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    SetValues(values);
}

void CUdajeHraci::SetValues(const CUdajeHraca& v)
{
    m_meno->setText(v.meno);
    m_priezvisko->setText(v.priezvisko);
    m_rc->setText(v.rc == QStringLiteral(" ") ? QString() : v.rc);
    m_od->SetText(v.od);
    m_do->SetText(v.doDatum);
    m_pozn->setPlainText(v.pozn);
    m_storedRc = m_rc->text();
    m_previousOd = v.od;
    m_previousDo = v.doDatum;
}

CUdajeHraca CUdajeHraci::Values() const
{
    return {m_meno->text(), m_priezvisko->text(), m_rc->text(),
            m_od->Text(),   m_do->Text(),         m_pozn->toPlainText()};
}

void CUdajeHraci::accept()
{
    // An empty date field stands for no date and stays empty.
    const CUdajeHraca v = Values();
    if (const auto error = ValidatePlayer(v, m_storedRc)) {
        m_user.ShowMessage(error->message, CPouzivatel::Ikona::Vykricnik);
        QWidget* fields[] = {m_meno, m_priezvisko, m_rc, m_od, m_do};
        if (error->field == 3)
            m_od->SetText(m_previousOd);
        if (error->field == 4)
            m_do->SetText(m_previousDo);
        fields[error->field]->setFocus();
        return;
    }
    QDialog::accept();
}

CPrestupHraca::CPrestupHraca(CLigaroDoc& doc, int playerRow, const QString& name, int competition,
                             QWidget* parent)
    : QDialog(parent), m_doc(doc), m_player(LivePlayer(doc.Database(), playerRow)),
      m_competitions(new QListWidget(this)), m_clubs(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Prestup hráča"));
    CDatabaza& db = doc.Database();
    const QString present = PresentClub(db, m_player);
    for (const CSutaz& s : ReadCompetitions(db)) {
        auto* item = new QListWidgetItem(s.nazov, m_competitions);
        item->setData(Qt::UserRole, s.id);
        if (s.id == competition)
            m_competitions->setCurrentItem(item);
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Hráč:"), new QLabel(name, this));
    form->addRow(QStringLiteral("Teraz pôsobí v klube:"), new QLabel(present, this));
    auto* lists = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Prestupuje do súťaže:"), this));
    left->addWidget(m_competitions);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Prestupuje do klubu:"), this));
    auto* search = new QLineEdit(this);
    search->setPlaceholderText(QStringLiteral("Vyhľadať klub"));
    auto* none = new QLabel(this);
    right->addWidget(search);
    right->addWidget(none);
    right->addWidget(m_clubs);
    lists->addLayout(left);
    lists->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(lists);
    layout->addWidget(OkCancelButtons(this));
    connect(m_competitions, &QListWidget::currentRowChanged, this, &CPrestupHraca::FillClubs);
    FillClubs();
    // The club is typed: its name narrows the list, Enter takes the one in sight.
    m_searching = new CHladanieMena(search, ZoznamNaHladanie(m_clubs), none, this);
    connect(m_searching, &CHladanieMena::Taken, this, &CPrestupHraca::accept);
    connect(m_competitions, &QListWidget::currentRowChanged, m_searching, &CHladanieMena::Narrow);
}

void CPrestupHraca::FillClubs()
{
    m_clubs->clear();
    const QListWidgetItem* competition = m_competitions->currentItem();
    if (!competition)
        return;
    m_doc.Run([&] {
        for (const CPolozkaKlubu& club :
             CompetitionClubs(m_doc.Database(), competition->data(Qt::UserRole).toInt())) {
            auto* item = new QListWidgetItem(club.nazov, m_clubs);
            item->setData(Qt::UserRole, club.id);
        }
    });
}

void CPrestupHraca::accept()
{
    // Only what the user chose counts: a list reached by Tab has a current row nobody picked, and a club
    // the search hid is no choice.
    const QList<QListWidgetItem*> chosen = m_clubs->selectedItems();
    const int target =
        chosen.isEmpty() || chosen.first()->isHidden() ? 0 : chosen.first()->data(Qt::UserRole).toInt();
    CVysledokPrestupu result = CVysledokPrestupu::ZiadnyKlub;
    m_doc.Run([&] { result = TransferPlayer(m_doc, m_player, target); });
    if (result == CVysledokPrestupu::Prestupil)
        QDialog::accept();
}

CSearch::CSearch(CLigaroDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_meno(new QLineEdit(this)), m_priezvisko(new QLineEdit(this)),
      m_rc(new QLineEdit(this)), m_results(new CMyListCtrl(this))
{
    setWindowTitle(QStringLiteral("Vyhľadanie hráča"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Meno:"), m_meno);
    form->addRow(QStringLiteral("Priezvisko:"), m_priezvisko);
    form->addRow(QStringLiteral("Rodné číslo:"), m_rc);
    auto* search = new QPushButton(QStringLiteral("Hľadať"), this);
    search->setDefault(true);
    auto* close = new QPushButton(QStringLiteral("Ukončiť hľadanie"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(search);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(m_results, 1);
    m_results->SetColumns(SearchColumns());
    ResizeWithinScreen(this, QSize(640, 480));
    connect(search, &QPushButton::clicked, this, &CSearch::Search);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_results, &CMyListCtrl::cellDoubleClicked, this, &CSearch::Choose);
    for (QLineEdit* field : {m_meno, m_priezvisko, m_rc})
        field->installEventFilter(this);
    m_priezvisko->setFocus();
}

QStringList CSearch::Typed() const
{
    return {m_meno->text(), m_priezvisko->text(), m_rc->text()};
}

void CSearch::Search()
{
    m_doc.Run([this] {
        const CZoznam found =
            SearchPlayers(m_doc.Database(), m_meno->text(), m_priezvisko->text(), m_rc->text());
        m_results->Fill(found);
        m_searched = Typed();
        // The first player found is chosen, for Enter to take; nobody found chooses nobody.
        if (found.RowCount() > 0)
            m_results->SelectRow(0);
        else
            m_doc.User().ShowMessage(kHracNenajdeny);
    });
}

bool CSearch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !qobject_cast<QLineEdit*>(watched))
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter searches what is typed; on what was searched, it takes the player chosen in the list.
        if (Typed() == m_searched && m_results->SelectedId() != 0)
            Choose();
        else
            Search();
        return true;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        const int row = m_results->SelectedRow() + (key->key() == Qt::Key_Down ? 1 : -1);
        if (row >= 0 && row < m_results->rowCount())
            m_results->SelectRow(row);
        return true;
    }
    default:
        return QDialog::eventFilter(watched, event);
    }
}

void CSearch::Choose()
{
    const int id = m_results->SelectedId();
    if (id == 0)
        return;
    m_chosen = id;
    accept();
}

CHraciView::CHraciView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CZaznamovyPohlad(doc, frame, parent), m_title(new CMyStatic(QStringLiteral("Zoznam hráčov"), this)),
      m_clubs(new QComboBox(this)), m_list(new CMyListCtrl(this)), m_note(new QPlainTextEdit(this)),
      m_transfer(new QPushButton(QStringLiteral("Prestup hráča"), this))
{
    m_clubs->setMinimumContentsLength(24);
    auto* top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(m_clubs);
    auto* noteRow = new QHBoxLayout;
    noteRow->addWidget(new QLabel(QStringLiteral("Poznámka k hráčovi:"), this), 1);
    noteRow->addWidget(m_transfer);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 0, 0);
    layout->addLayout(top);
    layout->addWidget(m_list, 2);
    layout->addLayout(noteRow);
    layout->addWidget(m_note, 1);
    m_list->SetColumns(PlayerColumns());
    SetRecordList(m_list, QStringLiteral("Pridať hráča"));
    LimitPlainText(m_note, kMaxPoznamkaHraca);

    connect(m_clubs, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_filling || index < 0)
            return;
        m_club = m_clubs->itemData(index).toInt();
        m_doc.Run([this] { FillList(); });
    });
    SetRecordNote(m_note, 6, PlayerNote, SavePlayerNote);
    connect(m_transfer, &QPushButton::clicked, this, &CHraciView::Transfer);
}

QString CHraciView::Title() const
{
    return m_title->text();
}

bool CHraciView::CanEdit() const
{
    return m_doc.HasEditAccess() && m_doc.IsDatabaseOpen() && m_competition != 0 && m_club != 0;
}

void CHraciView::OnInitialUpdate()
{
    m_competition = m_doc.CurrentCompetition();
    m_filling = true;
    m_clubs->clear();
    m_list->setRowCount(0);
    m_club = 0;
    if (m_doc.IsDatabaseOpen() && m_competition != 0) {
        const QVector<CPolozkaKlubu> clubs = CompetitionClubs(m_doc.Database(), m_competition);
        for (const auto& c : clubs)
            m_clubs->addItem(c.nazov, c.id);
        m_club = ChooseClub(clubs, m_doc.CurrentClub());
        m_clubs->setCurrentIndex(m_clubs->findData(m_club));
    }
    m_filling = false;
    FillList();
    UpdateEditAccess();
}

void CHraciView::FillList()
{
    m_filling = true;
    m_list->setRowCount(0);
    m_note->clear();
    if (m_doc.IsDatabaseOpen() && m_competition != 0) {
        CDatabaza& db = m_doc.Database();
        m_title->setText(PlayerListTitle(db, m_competition));
        const CZoznam list = PlayerList(db, m_club);
        m_list->Fill(list);
        // After a search the found player is selected and shown.
        const int found = list.FindRow(m_doc.CurrentPlayer());
        if (m_doc.CurrentPlayer() != 0 && found >= 0)
            m_list->SelectRow(found);
    }
    m_filling = false;
}

void CHraciView::UpdateEditAccess()
{
    m_note->setEnabled(m_doc.HasEditAccess());
    m_transfer->setEnabled(m_doc.HasEditAccess());
}

void CHraciView::EditRecord()
{
    const int row = m_list->SelectedRow();
    if (row < 0 || !CanEdit())
        return;
    const int id = m_list->RowId(row);
    const CUdajeHraca values{m_list->CellText(row, 1), m_list->CellText(row, 2), m_list->CellText(row, 3),
                             m_list->CellText(row, 4), m_list->CellText(row, 5), m_list->CellText(row, 6)};
    CUdajeHraci dialog(m_doc.User(), values, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    int saved = 0;
    if (!m_doc.Run([&] { saved = SavePlayer(m_doc.Database(), id, m_club, dialog.Values()); }))
        return;
    m_doc.Run([this] { FillList(); });
    m_list->SelectRow(m_list->Content().FindRow(saved));
}

void CHraciView::RemoveRecord()
{
    const int id = m_list->SelectedId();
    if (!CanEdit() || id == 0)
        return;
    bool removed = false;
    m_doc.Run([&] { removed = RemovePlayer(m_doc, id); });
    if (removed)
        m_doc.Run([this] { FillList(); });
}

void CHraciView::Transfer()
{
    const int row = m_list->SelectedRow();
    const int id = m_list->SelectedId();
    if (row < 0 || id == 0 || !m_doc.HasEditAccess())
        return;
    const QString name = QStringLiteral(" %1 %2").arg(m_list->CellText(row, 1), m_list->CellText(row, 2));
    bool moved = false;
    m_doc.Run([&] {
        CPrestupHraca dialog(m_doc, id, name, m_competition, this);
        moved = dialog.exec() == QDialog::Accepted;
    });
    if (moved)
        m_doc.Run([this] { FillList(); });
}

bool CHraciView::Prints() const
{
    return m_doc.IsDatabaseOpen() && m_competition != 0;
}

std::unique_ptr<CTlacovina> CHraciView::Printout()
{
    return std::make_unique<CTlacHracov>(m_doc.Database(), m_competition, m_club);
}

void CHraciView::Import()
{
    const int club = m_club;
    ImportFile(
        QStringLiteral("Importovať hráčov"),
        [club](CDatabaza& db, const QByteArray& file) { return ImportPlayers(db, club, file); },
        kPridaniHraci);
}

void CHraciView::Export()
{
    m_doc.Run([this] {
        SaveExportedPage(m_doc.User(), ExportPlayers(m_doc.Database(), m_competition, m_club), kSuborHracov);
    });
}
