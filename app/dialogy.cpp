#include "dialogy.h"

#include "competition/sutaze.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/CSezonaNaServeri.h"
#include "db/hlavicka.h"
#include "db/kody.h"
#include "discipline/stopky.h"
#include "ikona.h"
#include "output/web.h"
#include "results/tabulka.h"
#include "ui/CMyListCtrl.h"
#include "ui/CMyStatic.h"
#include "ui/ovladace.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStyle>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLineEdit* PasswordEdit(QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setEchoMode(QLineEdit::Password);
    return e;
}

} // namespace

CSezona::CSezona(const CUdajeSezony& values, bool editAccess, QWidget* parent)
    : QDialog(parent), m_nazov(new QLineEdit(values.nazov, this)), m_kraj(new QLineEdit(values.kraj, this)),
      m_zvaz(new QLineEdit(values.zvaz, this)), m_buttons(OkCancelButtons(this))
{
    setWindowTitle(QStringLiteral("Informácie o futbalovom zväze"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Ročník:"), m_nazov);
    form->addRow(QStringLiteral("Kraj:"), m_kraj);
    form->addRow(QStringLiteral("Futbalový zväz:"), m_zvaz);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);
    for (QLineEdit* e : {m_nazov, m_kraj, m_zvaz}) {
        e->setEnabled(editAccess);
        e->setMinimumWidth(260);
    }
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(editAccess);
}

CUdajeSezony CSezona::Values() const
{
    return {m_nazov->text(), m_kraj->text(), m_zvaz->text()};
}

CUkazkovaSezona::CUkazkovaSezona(QWidget* parent)
    : QDialog(parent), m_competitions(new QSpinBox(this)), m_clubs(new QSpinBox(this)),
      m_players(new QSpinBox(this)), m_seed(new QSpinBox(this))
{
    setWindowTitle(QStringLiteral("Ukážková sezóna"));
    const CParametreUkazky defaults;
    m_competitions->setRange(1, 500);
    m_competitions->setValue(defaults.competitions);
    m_clubs->setRange(4, 60);
    m_clubs->setValue(defaults.clubs);
    m_players->setRange(11, 60);
    m_players->setValue(defaults.players);
    m_seed->setRange(0, 999999);
    m_seed->setValue(static_cast<int>(defaults.seed));
    auto* text =
        new QLabel(QStringLiteral("Program vytvorí vymyslenú sezónu zväzu so súťažami, klubmi, hráčmi, "
                                  "výsledkami, kartami, rozhodcami a nomináciami, na ktorej si môžete "
                                  "všetko vyskúšať. Heslo na úpravy je prázdne."),
                   this);
    text->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Počet súťaží:"), m_competitions);
    form->addRow(QStringLiteral("Počet &klubov v súťaži:"), m_clubs);
    form->addRow(QStringLiteral("Počet &hráčov v klube:"), m_players);
    form->addRow(QStringLiteral("&Semienko:"), m_seed);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    setMinimumWidth(420);
}

CPripojenieNaServer::CPripojenieNaServer(CPouzivatel& user, Rezim mode, const QString& proposedSeason,
                                         QWidget* parent)
    : QDialog(parent), m_user(user), m_mode(mode), m_host(new QLineEdit(QStringLiteral("localhost"), this)),
      m_port(new QSpinBox(this)), m_database(new QLineEdit(QStringLiteral("mirak"), this)),
      m_login(new QLineEdit(QString::fromLocal8Bit(qgetenv("USER")), this)), m_password(new QLineEdit(this))
{
    setWindowTitle(mode == Rezim::Otvorit ? QStringLiteral("Otvoriť zo servera")
                                          : QStringLiteral("Uložiť na server"));
    m_port->setRange(1, 65535);
    m_port->setValue(5432);
    m_password->setEchoMode(QLineEdit::Password);
    auto* text =
        new QLabel(mode == Rezim::Otvorit
                       ? QStringLiteral("Sezóna na serveri PostgreSQL, ktorú zväz zdieľa. Heslo sa nikde "
                                        "neuloží; server ho môže brať aj zo súboru ~/.pgpass.")
                       : QStringLiteral("Program nahrá otvorenú sezónu na server PostgreSQL ako novú "
                                        "sezónu so všetkými údajmi; súbor ostane, ako je."),
                   this);
    text->setWordWrap(true);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Server:"), m_host);
    form->addRow(QStringLiteral("&Port:"), m_port);
    form->addRow(QStringLiteral("&Databáza:"), m_database);
    form->addRow(QStringLiteral("Po&užívateľ:"), m_login);
    form->addRow(QStringLiteral("&Heslo:"), m_password);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(form);
    if (mode == Rezim::Otvorit) {
        m_seasons = new QListWidget(this);
        auto* load = new QPushButton(QStringLiteral("&Načítať sezóny"), this);
        connect(load, &QPushButton::clicked, this, &CPripojenieNaServer::LoadSeasons);
        connect(m_seasons, &QListWidget::itemDoubleClicked, this, &CPripojenieNaServer::accept);
        auto* label = new QLabel(QStringLiteral("Sezóny na serveri:"), this);
        label->setBuddy(m_seasons);
        auto* row = new QHBoxLayout;
        row->addWidget(label, 1);
        row->addWidget(load);
        layout->addLayout(row);
        layout->addWidget(m_seasons, 1);
    } else {
        m_season = new QLineEdit(proposedSeason, this);
        auto* seasonForm = new QFormLayout;
        seasonForm->addRow(QStringLiteral("Názov &novej sezóny:"), m_season);
        layout->addLayout(seasonForm);
    }
    layout->addWidget(OkCancelButtons(this));
    setMinimumWidth(460);
}

QString CPripojenieNaServer::Address() const
{
    QString season;
    if (m_season)
        season = m_season->text().trimmed();
    else if (m_seasons && m_seasons->currentItem())
        season = m_seasons->currentItem()->text();
    return ServerAddress(m_host->text().trimmed(), m_port->value(), m_database->text().trimmed(),
                         m_login->text().trimmed(), m_password->text(), season);
}

void CPripojenieNaServer::LoadSeasons()
{
    QStringList seasons;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        seasons = ServerSeasons(Address());
        QApplication::restoreOverrideCursor();
    } catch (const CChybaDatabazy& e) {
        QApplication::restoreOverrideCursor();
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Vykricnik);
        return;
    }
    m_seasons->clear();
    m_seasons->addItems(seasons);
    if (seasons.isEmpty())
        m_user.ShowMessage(
            QStringLiteral("V databáze %1 nie je žiadna sezóna. Nahrajte ju na server príkazom "
                           "Súbor → Uložiť na server...")
                .arg(m_database->text().trimmed()),
            CPouzivatel::Ikona::Informacia);
    else
        m_seasons->setCurrentRow(0);
    m_seasons->setFocus();
}

void CPripojenieNaServer::accept()
{
    if (m_seasons && !m_seasons->currentItem()) {
        // Without a list yet, OK reads it first: the season is then chosen from what the server has.
        if (m_seasons->count() == 0)
            LoadSeasons();
        else
            m_user.ShowMessage(QStringLiteral("Vyberte sezónu zo zoznamu."), CPouzivatel::Ikona::Vykricnik);
        return;
    }
    if (m_season && m_season->text().trimmed().isEmpty()) {
        m_user.ShowMessage(QStringLiteral("Zadajte názov novej sezóny na serveri."),
                           CPouzivatel::Ikona::Vykricnik);
        m_season->setFocus();
        return;
    }
    try {
        ParseServerAddress(Address());
    } catch (const CChybaDatabazy& e) {
        m_user.ShowMessage(e.UserText(), CPouzivatel::Ikona::Vykricnik);
        return;
    }
    QDialog::accept();
}

CParametreUkazky CUkazkovaSezona::Values() const
{
    CParametreUkazky p;
    p.competitions = m_competitions->value();
    p.clubs = m_clubs->value();
    p.players = m_players->value();
    p.seed = static_cast<quint32>(m_seed->value());
    return p;
}

CObnovaZalohy::CObnovaZalohy(const QVector<CZaloha>& snapshots, QWidget* parent)
    : QDialog(parent), m_snapshots(snapshots), m_list(new CMyListCtrl(this))
{
    setWindowTitle(QStringLiteral("Obnoviť zo zálohy"));
    auto* text =
        new QLabel(QStringLiteral("Program zálohuje sezónu pred každým príkazom, ktorý maže údaje, a pri "
                                  "prvom otvorení v daný deň. Vybraná záloha sa otvorí ako nový súbor "
                                  "sezóny; otvorená sezóna sa nezmení."),
                   this);
    text->setWordWrap(true);
    m_list->SetColumns({{QStringLiteral("Dátum"), Zarovnanie::Vlavo, 90},
                        {QStringLiteral("Čas"), Zarovnanie::Vlavo, 60},
                        {QStringLiteral("Pred príkazom"), Zarovnanie::Vlavo, 220}});
    CZoznam rows;
    rows.columns = {{}, {}, {}};
    for (int i = 0; i < snapshots.size(); ++i)
        rows.AddRow({DatumTextom(CasSezony(snapshots.at(i).when.date())),
                     snapshots.at(i).when.time().toString(QStringLiteral("HH:mm:ss")),
                     snapshots.at(i).command},
                    i + 1);
    m_list->Fill(rows);
    m_list->SelectRow(0);
    auto* buttons = OkCancelButtons(this);
    connect(m_list, &CMyListCtrl::cellDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    ResizeWithinScreen(this, QSize(480, 380));
}

QString CObnovaZalohy::Chosen() const
{
    const int row = m_list->SelectedId();
    return row > 0 ? m_snapshots.value(row - 1).path : QString();
}

CPrihlasenie::CPrihlasenie(CPouzivatel& user, const QString& storedPassword, QWidget* parent)
    : QDialog(parent), m_user(user), m_stored(storedPassword), m_heslo(PasswordEdit(this))
{
    setWindowTitle(QStringLiteral("Prihlásenie"));
    WideEnoughForTitle(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Vložte heslo:"), m_heslo);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    m_heslo->setFocus();
}

void CPrihlasenie::accept()
{
    if (m_heslo->text() != m_stored) {
        m_user.ShowMessage(kNespravneHeslo, CPouzivatel::Ikona::Vykricnik);
        m_heslo->selectAll();
        m_heslo->setFocus();
        return;
    }
    QDialog::accept();
}

CZmenaHesla::CZmenaHesla(CPouzivatel& user, const QString& storedPassword, QWidget* parent)
    : QDialog(parent), m_user(user), m_stored(storedPassword), m_stare(PasswordEdit(this)),
      m_nove(PasswordEdit(this)), m_potvrdenie(PasswordEdit(this))
{
    setWindowTitle(QStringLiteral("Zmena hesla"));
    WideEnoughForTitle(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Staré heslo:"), m_stare);
    form->addRow(QStringLiteral("Nové heslo:"), m_nove);
    form->addRow(QStringLiteral("Potvrdiť heslo:"), m_potvrdenie);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancelButtons(this));
    m_stare->setFocus();
}

QString CZmenaHesla::NewPassword() const
{
    return m_nove->text();
}

void CZmenaHesla::accept()
{
    if (m_stare->text() != m_stored) {
        m_user.ShowMessage(kNespravneStareHeslo, CPouzivatel::Ikona::Vykricnik);
        return;
    }
    if (m_nove->text() != m_potvrdenie->text()) {
        m_user.ShowMessage(kHeslaSaLisia, CPouzivatel::Ikona::Vykricnik);
        return;
    }
    QDialog::accept();
}

CNastavenieZK::CNastavenieZK(CPouzivatel& user, const QString& rule, bool editAccess, QWidget* parent)
    : QDialog(parent), m_user(user), m_pravidlo(new QLineEdit(rule, this))
{
    setWindowTitle(QStringLiteral("Nastavenie trestov za ŽK"));
    WideEnoughForTitle(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Stop kolá za ŽK:"), m_pravidlo);
    form->addRow(QString(), new QLabel(QStringLiteral("Píšte v tvare: 4,8,12,16"), this));
    auto* buttons = OkCancelButtons(this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_pravidlo->setEnabled(editAccess);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(editAccess);
}

QString CNastavenieZK::Rule() const
{
    return m_pravidlo->text();
}

void CNastavenieZK::accept()
{
    if (const QString problem = StopRuleProblem(m_pravidlo->text()); !problem.isEmpty()) {
        m_user.ShowMessage(problem, CPouzivatel::Ikona::Vykricnik);
        m_pravidlo->setFocus();
        return;
    }
    QDialog::accept();
}

namespace {
constexpr int kKlubData = Qt::UserRole;
constexpr int kCielData = Qt::UserRole + 1;
} // namespace

CNovaSezonaZTejto::CNovaSezonaZTejto(CDatabaza& db, const QVector<int>& thresholds, QWidget* parent)
    : QDialog(parent), m_name(new QLineEdit(this)),
      m_keepMarks(new QCheckBox(QStringLiteral("Ponechať rozhodcom &známky z písomného testu"), this)),
      m_carry(new QCheckBox(this)), m_suspensionList(new QTreeWidget(this)), m_tables(new QTreeWidget(this)),
      m_target(new QComboBox(this))
{
    setWindowTitle(QStringLiteral("Nová sezóna z tejto"));
    const QString thisSeason = CHlavicka::Read(db).nazov;
    m_name->setText(NextSeasonName(thisSeason));
    // Suspensions not served by the end of this season are served at the start of the next.
    m_suspensions = SuspensionsToCarry(db, thresholds, thisSeason);
    m_carry->setText(QStringLiteral("Preniesť &nevykonané tresty (%1)").arg(m_suspensions.size()));
    m_carry->setChecked(!m_suspensions.isEmpty());
    m_carry->setEnabled(!m_suspensions.isEmpty());
    m_suspensionList->setColumnCount(3);
    m_suspensionList->setHeaderLabels(
        {QStringLiteral("Hráč"), QStringLiteral("Trest"), QStringLiteral("Zápasov")});
    m_suspensionList->setRootIsDecorated(false);
    {
        QHash<int, QString> names;
        CPrikaz q(db, QStringLiteral("select ID, priezvisko || ' ' || meno from thraci"));
        while (q.Step())
            names.insert(static_cast<int>(q.Int64(0)), q.Text(1));
        for (const CPrenesenyTrest& t : m_suspensions)
            new QTreeWidgetItem(m_suspensionList,
                                {names.value(t.player), t.cause, QString::number(t.matches)});
    }
    m_suspensionList->resizeColumnToContents(0);
    m_suspensionList->setVisible(!m_suspensions.isEmpty());
    m_suspensionList->setMaximumHeight(120);
    connect(m_carry, &QCheckBox::toggled, m_suspensionList, &QWidget::setEnabled);
    m_keepMarks->setChecked(true);
    m_tables->setColumnCount(2);
    m_tables->setHeaderLabels({QStringLiteral("Konečné tabuľky"), QStringLiteral("V novej sezóne")});
    m_tables->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_tables->setRootIsDecorated(true);
    const QVector<CSutaz> competitions = ReadCompetitions(db);
    m_target->addItem(QStringLiteral("— vynechať —"), 0);
    for (const CSutaz& c : competitions) {
        m_competitions.insert(c.id, c.nazov);
        m_target->addItem(c.nazov, c.id);
    }
    for (const CSutaz& c : competitions) {
        auto* top = new QTreeWidgetItem(m_tables, {c.nazov});
        top->setFlags(top->flags() & ~Qt::ItemIsSelectable);
        const CZoznam table = StandingsList(db, c.id);
        for (const CRiadokZoznamu& row : table.rows) {
            auto* club = new QTreeWidgetItem(
                top, {QStringLiteral("%1. %2 (%3 b.)").arg(row.Cell(0), row.Cell(1), row.Cell(7)), c.nazov});
            club->setData(0, kKlubData, row.id);
            club->setData(0, kCielData, c.id);
        }
        top->setExpanded(true);
    }
    m_tables->resizeColumnToContents(0);
    auto* move = new QPushButton(QStringLiteral("&Presunúť"), this);
    connect(move, &QPushButton::clicked, this, &CNovaSezonaZTejto::MoveSelected);
    auto* form = new QFormLayout;
    auto* nameLabel = new QLabel(QStringLiteral("&Ročník:"), this);
    nameLabel->setBuddy(m_name);
    form->addRow(nameLabel, m_name);
    auto* targetRow = new QHBoxLayout;
    auto* targetLabel = new QLabel(QStringLiteral("Označené kluby &do súťaže:"), this);
    targetLabel->setBuddy(m_target);
    targetRow->addWidget(targetLabel);
    targetRow->addWidget(m_target, 1);
    targetRow->addWidget(move);
    auto* note = new QLabel(
        QStringLiteral("Prenesú sa súťaže, kluby (bez vylosovaných čísel), hráči s nevykonanými "
                       "trestami, rozhodcovia a delegáti, pravidlá a heslo. Zápasy, výsledky, karty, "
                       "tabuľky a nominácie sa neprenesú; počet žltých kariet začína odznova."),
        this);
    note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_keepMarks);
    layout->addWidget(m_carry);
    layout->addWidget(m_suspensionList);
    layout->addWidget(note);
    layout->addWidget(m_tables, 1);
    layout->addLayout(targetRow);
    layout->addWidget(OkCancelButtons(this));
    ResizeWithinScreen(this, QSize(640, 560).expandedTo(sizeHint()));
}

void CNovaSezonaZTejto::MoveSelected()
{
    const int target = m_target->currentData().toInt();
    for (QTreeWidgetItem* item : m_tables->selectedItems()) {
        if (item->data(0, kKlubData).toInt() == 0)
            continue;
        item->setData(0, kCielData, target);
        item->setText(1, target == 0 ? QStringLiteral("vynechaný") : m_competitions.value(target));
    }
}

CPrenosSezony CNovaSezonaZTejto::Plan() const
{
    CPrenosSezony plan;
    plan.seasonName = m_name->text().trimmed();
    plan.keepTestMarks = m_keepMarks->isChecked();
    if (m_carry->isChecked())
        plan.suspensions = m_suspensions;
    for (int t = 0; t < m_tables->topLevelItemCount(); ++t) {
        const QTreeWidgetItem* top = m_tables->topLevelItem(t);
        const int from = m_competitions.key(top->text(0));
        for (int c = 0; c < top->childCount(); ++c) {
            const QTreeWidgetItem* club = top->child(c);
            const int target = club->data(0, kCielData).toInt();
            if (target != from)
                plan.clubMoves.insert(club->data(0, kKlubData).toInt(), target);
        }
    }
    return plan;
}

CPoradieDialog::CPoradieDialog(bool mutual, bool editAccess, QWidget* parent)
    : QDialog(parent), m_overall(new QRadioButton(
                           QStringLiteral("&Celkové poradie: body, rozdiel skóre, strelené góly, víťazstvá, "
                                          "+ / -, zápasy"),
                           this)),
      m_mutual(new QRadioButton(QStringLiteral("&Vzájomné zápasy klubov s rovnakým počtom bodov (po odohraní "
                                               "všetkých zápasov súťaže)"),
                                this))
{
    setWindowTitle(QStringLiteral("Poradie pri rovnosti bodov"));
    WideEnoughForTitle(this);
    (mutual ? m_mutual : m_overall)->setChecked(true);
    auto* note =
        new QLabel(QStringLiteral("Pri vzájomných zápasoch rozhodujú body, rozdiel skóre a strelené góly "
                                  "v zápasoch medzi klubmi s rovnakým počtom bodov, potom celkový "
                                  "rozdiel skóre, strelené góly, víťazstvá a vylosované číslo. Kým sa "
                                  "súťaž nedohrá, platí celkové poradie."),
                   this);
    note->setWordWrap(true);
    auto* buttons = OkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(editAccess);
    m_overall->setEnabled(editAccess);
    m_mutual->setEnabled(editAccess);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_overall);
    layout->addWidget(m_mutual);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

bool CPoradieDialog::Mutual() const
{
    return m_mutual->isChecked();
}

COProgrameDialog::COProgrameDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Informácie o programe"));
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(48, 48));
    auto* text = new CMyStatic(QStringLiteral("Agenda Mirak v 2.09.7\n\n"
                                              "Program pre sekretariát regionálneho futbalového zväzu.\n"
                                              "Vyrobila spoločnosť Kestrix, %1\n\n"
                                              "Vyrobené v spolupráci s\nwww.futbalnet.sk")
                                   .arg(kWebVyrobcuText),
                               this);
    text->setObjectName(QStringLiteral("oprograme"));
    auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ok);
}

COknoPouzivatel::COknoPouzivatel() = default;
COknoPouzivatel::~COknoPouzivatel() = default;

void COknoPouzivatel::ShowMessage(const QString& text, Ikona icon)
{
    QApplication::restoreOverrideCursor();
    QMessageBox box(icon == Ikona::Informacia  ? QMessageBox::Information
                    : icon == Ikona::Vykricnik ? QMessageBox::Warning
                                               : QMessageBox::Critical,
                    QStringLiteral("Agenda Mirak"), text, QMessageBox::Ok, m_parent);
    box.exec();
}

bool COknoPouzivatel::AskYesNo(const QString& text)
{
    return QMessageBox::question(m_parent, QStringLiteral("Agenda Mirak"), text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

bool COknoPouzivatel::AskAction(const QString& text, const QString& action)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Agenda Mirak"), text, QMessageBox::NoButton,
                    m_parent);
    QPushButton* act = box.addButton(action, QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    // Doing nothing is what Enter chooses: the action is a deliberate click.
    box.setDefaultButton(cancel);
    box.exec();
    return box.clickedButton() == act;
}

QString COknoPouzivatel::AskSaveFileName(const QString& caption, const QString& proposedPath,
                                         const QString& filter)
{
    QString start = proposedPath;
    if (QFileInfo(proposedPath).isRelative())
        start = QDir(m_lastFolder.isEmpty() ? QDir::homePath() : m_lastFolder).filePath(proposedPath);
    QString selected;
    QString chosen = QFileDialog::getSaveFileName(m_parent, caption, start, filter, &selected);
    if (chosen.isEmpty())
        return chosen;
    m_lastFolder = QFileInfo(chosen).absolutePath();
    // A name typed without an extension takes the one of the kind chosen below it ("*.csv").
    static const QRegularExpression pattern(QStringLiteral("\\*\\.([A-Za-z0-9]+)\\)"));
    const QRegularExpressionMatch m = pattern.match(selected);
    if (QFileInfo(chosen).suffix().isEmpty() && m.hasMatch())
        chosen += QLatin1Char('.') + m.captured(1);
    return chosen;
}

void COknoPouzivatel::OpenWithSystem(const QString& pathOrAddress)
{
    const bool web = pathOrAddress.startsWith(QStringLiteral("http://")) ||
                     pathOrAddress.startsWith(QStringLiteral("https://"));
    const QUrl url = web ? QUrl(pathOrAddress) : QUrl::fromLocalFile(pathOrAddress);
    const bool opened = m_opener ? m_opener(url) : QDesktopServices::openUrl(url);
    if (!opened)
        ShowMessage(web ? QStringLiteral("V systéme nie je program, ktorý by zobrazil túto stránku. "
                                         "Otvorte ju v prehliadači:\n%1")
                              .arg(pathOrAddress)
                        : QStringLiteral("V systéme nie je program, ktorý by zobrazil tento súbor. "
                                         "Otvorte ho sami:\n%1")
                              .arg(QDir::toNativeSeparators(pathOrAddress)),
                    Ikona::Informacia);
}

bool COknoPouzivatel::Progress(const QString& label, int done, int total)
{
    if (done >= total) {
        m_progress.reset();
        return true;
    }
    if (!m_progress) {
        m_progress = std::make_unique<QProgressDialog>(label, QStringLiteral("Zrušiť"), 0, total, m_parent);
        m_progress->setWindowTitle(QStringLiteral("Agenda Mirak"));
        m_progress->setWindowModality(Qt::WindowModal);
        m_progress->setMinimumDuration(300);
    }
    m_progress->setLabelText(label);
    m_progress->setMaximum(total);
    m_progress->setValue(done);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return !m_progress->wasCanceled();
}

void COknoPouzivatel::SetBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}
