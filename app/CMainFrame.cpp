#include "CMainFrame.h"

#include "app/dialogy.h"
#include "app/historiazmien.h"
#include "app/pohlady.h"
#include "app/spolocna.h"
#include "competition/CKolovyPohlad.h"
#include "competition/CSutazeView.h"
#include "competition/kalendar.h"
#include "competition/sutaze.h"
#include "db/CLigaroDoc.h"
#include "db/CNastavenia.h"
#include "db/CSezonaNaServeri.h"
#include "db/nastaveniasezony.h"
#include "db/novasezona.h"
#include "db/schema.h"
#include "db/subory.h"
#include "db/udajesezony.h"
#include "db/zalohy.h"
#include "discipline/CZKView.h"
#include "jet/prevod.h"
#include "output/CQtPlocha.h"
#include "output/CReportGenerator.h"
#include "output/web.h"
#include "players/CHraciView.h"
#include "ui/prikazy.h"
#include "web/CPublikovanieDialog.h"
#include "web/nahravanie.h"
#include "web/sajt.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kNazovProgramu = QStringLiteral("Agenda Mirak");
const QString kNecinnost = QStringLiteral("Pripravený");
} // namespace

CMainFrame::CMainFrame(CLigaroDoc& doc, CPouzivatel& user, CNastavenia& settings, QPrinter& printer)
    : m_doc(doc), m_user(user), m_settings(settings), m_printer(printer)
{
    setWindowTitle(kNazovProgramu);
    CreateMenusAndToolBar();

    // The idle prompt in the program's language.
    statusBar()->showMessage(kNecinnost);
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            statusBar()->showMessage(kNecinnost);
    });
    m_loginState = new QLabel(this);
    statusBar()->addPermanentWidget(m_loginState);
    m_shared = new CSpolocnaSezona(
        m_doc, statusBar(), [this]() -> QWidget* { return m_view; }, [this] { RefreshAllViews(); }, this);

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_tree = new CSutazeView(m_doc, m_splitter);
    m_pane = new QWidget(m_splitter);
    m_paneLayout = new QVBoxLayout(m_pane);
    m_paneLayout->setContentsMargins(0, 0, 0, 0);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_pane);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({180, 900});
    setCentralWidget(m_splitter);
    if (!restoreGeometry(m_settings.WindowGeometry())) {
        // The first start: a comfortable size that still fits a small screen.
        QSize size(1100, 700);
        if (const QScreen* s = screen())
            size = size.boundedTo(s->availableGeometry().size() * 0.95);
        resize(size);
    }
    restoreState(m_settings.WindowState());
    m_actions.value(kPrikazStavovyRiadok)->setChecked(m_settings.StatusBarShown());
    m_splitter->restoreState(m_settings.SplitterState());

    SwitchView(0);
    RebuildRecentMenu();
    UpdateCommands();
}

CMainFrame::~CMainFrame()
{
    m_doc.SetViews(nullptr);
    // The list goes first, while the window is still whole: its destruction must not reach into a
    // window that is half taken down.
    if (m_view) {
        disconnect(m_view, nullptr, this, nullptr);
        delete m_view;
        m_view = nullptr;
    }
}

QAction* CMainFrame::AddAction(int command, const QString& text, const QString& statusTip)
{
    auto* action = new QAction(text, this);
    action->setStatusTip(statusTip);
    connect(action, &QAction::triggered, this, [this, command] { RunCommand(command); });
    m_actions.insert(command, action);
    return action;
}

void CMainFrame::CreateMenusAndToolBar()
{
    const auto icon = [this](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QString::fromLatin1(theme), style()->standardIcon(fallback));
    };
    QAction* open =
        AddAction(kPrikazOtvorit, QStringLiteral("&Otvoriť..."), QStringLiteral("Otvoriť databázu"));
    open->setShortcut(QKeySequence::Open);
    open->setIcon(icon("document-open", QStyle::SP_DialogOpenButton));
    open->setToolTip(QStringLiteral("Otvoriť"));
    AddAction(kPrikazOtvoritZoServera, QStringLiteral("Otvori&ť zo servera..."),
              QStringLiteral("Otvoriť sezónu, ktorú zväz zdieľa na serveri PostgreSQL"));
    AddAction(kPrikazUlozitNaServer, QStringLiteral("Ulo&žiť na server..."),
              QStringLiteral("Nahrať otvorenú sezónu na server PostgreSQL ako novú sezónu"));
    AddAction(kPrikazNovaSezona, QStringLiteral("&Nová sezóna..."),
              QStringLiteral("Vytvoriť novú prázdnu sezónu"))
        ->setShortcut(QKeySequence::New);
    AddAction(kPrikazSezonaZTejto, QStringLiteral("Nová &sezóna z tejto..."),
              QStringLiteral("Začať ďalšiu sezónu so súťažami, klubmi, hráčmi a rozhodcami tejto"));
    AddAction(kPrikazPreviestSezonu, QStringLiteral("Pre&viesť staršiu sezónu..."),
              QStringLiteral("Previesť sezónu vo formáte Jet (Access 97 alebo 2000) do nového súboru"));
    AddAction(kPrikazUkazkovaSezona, QStringLiteral("&Ukážková sezóna..."),
              QStringLiteral("Vytvoriť vymyslenú sezónu na vyskúšanie programu"));
    AddAction(kPrikazUlozAko, QStringLiteral("Ulož &ako..."), QStringLiteral("Uložiť pod novým menom"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    AddAction(kPrikazZaloha, QStringLiteral("Vytvoriť &zálohu..."));
    AddAction(kPrikazZhutnit, QStringLiteral("Zhutniť &databázu"));
    AddAction(kPrikazObnovitZoZalohy, QStringLiteral("O&bnoviť zo zálohy..."),
              QStringLiteral("Otvoriť zálohu sezóny ako nový súbor"));
    QAction* print = AddAction(kPrikazTlacit, QStringLiteral("&Tlačiť..."), QStringLiteral("Vytlačiť údaje"));
    print->setShortcut(QKeySequence::Print);
    print->setIcon(icon("document-print", QStyle::SP_FileIcon));
    print->setToolTip(QStringLiteral("Tlač"));
    AddAction(kPrikazUlozitPdf, QStringLiteral("Uložiť ako PD&F..."),
              QStringLiteral("Zoznam, ako sa tlačí, do súboru PDF v priečinku sezóny"));
    AddAction(kPrikazNahlad, QStringLiteral("Zobrazenie &pred tlačou"),
              QStringLiteral("Zobrazenie stránky pred tlačou"));
    AddAction(kPrikazNastavenieTlaciarne, QStringLiteral("Nastavenie tlačia&rne"));
    AddAction(kPrikazExport, QStringLiteral("&Export..."), QStringLiteral("Export údajov do súboru HTML"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    AddAction(kPrikazImport, QStringLiteral("&Importovať..."),
              QStringLiteral("Pridá kluby alebo hráčov zo súboru CSV (zo zoznamu klubov alebo hráčov)"));
    AddAction(kPrikazKalendar, QStringLiteral("&Kalendár zápasov..."),
              QStringLiteral("Zápasy súťaže (alebo celej sezóny) ako kalendár pre telefón a poštu (.ics)"));
    AddAction(kPrikazPublikovat, QStringLiteral("Pub&likovať web..."),
              QStringLiteral("Celá sezóna ako webová stránka v priečinku alebo na serveri zväzu"));
    AddAction(kPrikazKoniec, QStringLiteral("Konie&c"), QStringLiteral("Ukončenie programu"))
        ->setShortcut(QKeySequence::Quit);

    QAction* toolbarShown = AddAction(kPrikazPanelNastrojov, QStringLiteral("Panel &nástrojov"));
    QAction* statusShown = AddAction(kPrikazStavovyRiadok, QStringLiteral("&Stavový riadok"));
    QAction* panel = AddAction(kPrikazPanelUpravSutaze, QStringLiteral("&Panel úprav súťaže"),
                               QStringLiteral("Umožní vytvoriť novú súťažnú sezónu"));
    for (QAction* a : {toolbarShown, statusShown, panel})
        a->setCheckable(true);

    AddAction(kPrikazZlteKarty, QStringLiteral("Žlté &karty..."),
              QStringLiteral("Nastavenie pravidiel trestov za žlté karty"));
    AddAction(kPrikazAmnestia, QStringLiteral("&Amnestia..."));
    AddAction(kPrikazPoradie, QStringLiteral("&Poradie pri rovnosti bodov..."),
              QStringLiteral("Ako sa zoradia kluby s rovnakým počtom bodov"));
    AddAction(kPrikazNastavenieWebu, QStringLiteral("Nastavenie &webu..."),
              QStringLiteral("Adresa webu sezóny a či sa na ňom zverejnia kontakty klubov"));
    AddAction(kPrikazHistoriaZmien, QStringLiteral("&História zmien..."),
              QStringLiteral("Kto čo zmenil v sezóne na serveri, kedy a čo tam bolo predtým"));
    AddAction(kPrikazZalohy, QStringLiteral("Zá&lohy..."),
              QStringLiteral("Koľko miesta na disku môžu zabrať zálohy sezóny"));
    AddAction(kPrikazOZvaze, QStringLiteral("O &zväze..."),
              QStringLiteral("Nastavenie údajov (Ročník, Kraj, Futbalový zväz) "));
    QAction* about = AddAction(kPrikazOPrograme, QStringLiteral("O &programe..."),
                               QStringLiteral("Informácie o programe"));
    about->setIcon(icon("help-about", QStyle::SP_MessageBoxInformation));
    AddAction(kPrikazNapoveda, QStringLiteral("&Nápoveda"))->setShortcut(QKeySequence::HelpContents);
    AddAction(kPrikazWww, QStringLiteral("Agenda Mirak na &www"));
    AddAction(kPrikazZmenaHesla, QStringLiteral("Zmena &hesla..."),
              QStringLiteral("Zmena hesla pre editáciu databázy"));

    QAction* login = AddAction(kPrikazPrihlasenie, QStringLiteral("Prihlásenie pre úpravy"),
                               QStringLiteral("Prihlásenie pre úpravy"));
    login->setIcon(icon("dialog-password", QStyle::SP_DialogApplyButton));
    login->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    QAction* add =
        AddAction(kPrikazPridat, QStringLiteral("Pridať nový záznam"), QStringLiteral("Pridať nový záznam"));
    add->setIcon(icon("list-add", QStyle::SP_FileDialogNewFolder));
    QAction* edit = AddAction(kPrikazUpravit, QStringLiteral("Upraviť označený záznam"),
                              QStringLiteral("Upraviť označený záznam"));
    edit->setIcon(icon("document-edit", QStyle::SP_FileDialogDetailedView));
    QAction* remove = AddAction(kPrikazVymazat, QStringLiteral("Vymazať označený záznam"),
                                QStringLiteral("Vymazať označený záznam"));
    remove->setIcon(icon("edit-delete", QStyle::SP_TrashIcon));
    QAction* search =
        AddAction(kPrikazHladajHraca, QStringLiteral("Vyhľadaj hráča"), QStringLiteral("Vyhľadaj hráča"));
    search->setIcon(icon("edit-find", QStyle::SP_FileDialogContentsView));
    search->setShortcut(QKeySequence::Find);

    m_fileMenu = menuBar()->addMenu(QStringLiteral("&Súbor"));
    m_fileMenu->addActions({open, m_actions.value(kPrikazOtvoritZoServera),
                            m_actions.value(kPrikazUlozitNaServer), m_actions.value(kPrikazNovaSezona),
                            m_actions.value(kPrikazSezonaZTejto), m_actions.value(kPrikazPreviestSezonu),
                            m_actions.value(kPrikazUkazkovaSezona), m_actions.value(kPrikazUlozAko),
                            m_actions.value(kPrikazZaloha), m_actions.value(kPrikazObnovitZoZalohy),
                            m_actions.value(kPrikazZhutnit)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({print, m_actions.value(kPrikazUlozitPdf), m_actions.value(kPrikazNahlad),
                            m_actions.value(kPrikazNastavenieTlaciarne)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({m_actions.value(kPrikazExport), m_actions.value(kPrikazImport),
                            m_actions.value(kPrikazKalendar), m_actions.value(kPrikazPublikovat)});
    m_fileMenu->addSeparator();
    m_recentEmpty = m_fileMenu->addAction(QStringLiteral("Predchádzajúce"));
    m_recentEmpty->setEnabled(false);
    m_recentAnchor = m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_actions.value(kPrikazKoniec));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&Zobraziť"));
    view->addActions({toolbarShown, statusShown, panel});
    view->addSeparator();
    view->addAction(m_actions.value(kPrikazHistoriaZmien));
    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Nastavenie"));
    settings->addActions({m_actions.value(kPrikazZlteKarty), m_actions.value(kPrikazAmnestia),
                          m_actions.value(kPrikazPoradie), m_actions.value(kPrikazNastavenieWebu),
                          m_actions.value(kPrikazZalohy)});
    QMenu* info = menuBar()->addMenu(QStringLiteral("&Info"));
    info->addActions({m_actions.value(kPrikazOZvaze), about, m_actions.value(kPrikazNapoveda),
                      m_actions.value(kPrikazWww), m_actions.value(kPrikazZmenaHesla)});

    QToolBar* bar = addToolBar(QStringLiteral("Panel nástrojov"));
    bar->setObjectName(QStringLiteral("panelNastrojov"));
    bar->setMovable(true);
    bar->addAction(open);
    bar->addSeparator();
    bar->addAction(print);
    bar->addSeparator();
    bar->addAction(about);
    bar->addSeparator();
    bar->addAction(login);
    bar->addSeparator();
    bar->addActions({add, edit, remove});
    bar->addSeparator();
    bar->addAction(search);
    toolbarShown->setChecked(true);
    statusShown->setChecked(true);
    connect(toolbarShown, &QAction::toggled, bar, &QToolBar::setVisible);
    // Closed from its own context menu, the toolbar unchecks the menu item too.
    connect(bar, &QToolBar::visibilityChanged, toolbarShown, [toolbarShown, bar](bool) {
        if (!bar->isHidden() != toolbarShown->isChecked())
            toolbarShown->setChecked(!bar->isHidden());
    });
    connect(statusShown, &QAction::toggled, this, [this](bool shown) { statusBar()->setVisible(shown); });
}

void CMainFrame::RebuildRecentMenu()
{
    for (QAction* a : m_recentActions) {
        m_fileMenu->removeAction(a);
        a->deleteLater();
    }
    m_recentActions.clear();
    const QStringList files = m_settings.RecentFiles();
    m_recentEmpty->setVisible(files.isEmpty());
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)), this);
        a->setStatusTip(QStringLiteral("Otvoriť tento súbor"));
        connect(a, &QAction::triggered, this, [this, path] {
            // A server that does not answer now may answer tomorrow: its season stays in the list.
            if (!OpenSeason(path) && !IsServerAddress(path) && !QFileInfo::exists(path)) {
                m_settings.RemoveRecentFile(path);
                RebuildRecentMenu();
            }
        });
        m_fileMenu->insertAction(m_recentAnchor, a);
        m_recentActions << a;
    }
}

bool CMainFrame::IsCommandEnabled(int command) const
{
    if (m_view && m_view->TakesCommand(command))
        return m_view->CommandEnabled(command);
    const bool open = m_doc.IsDatabaseOpen();
    switch (command) {
    case kPrikazOtvorit:
    case kPrikazOtvoritZoServera:
    case kPrikazNovaSezona:
    case kPrikazPreviestSezonu:
    case kPrikazUkazkovaSezona:
    case kPrikazNastavenieTlaciarne:
    case kPrikazKoniec:
    case kPrikazOPrograme:
    case kPrikazNapoveda:
    case kPrikazWww:
    case kPrikazPanelNastrojov:
    case kPrikazStavovyRiadok:
    case kPrikazPanelUpravSutaze:
        return true;
    case kPrikazUlozitNaServer:
        return open && !m_doc.Database().IsServer();
    case kPrikazHistoriaZmien:
        return open && m_doc.Database().IsServer();
    case kPrikazUlozAko:
    case kPrikazZaloha:
    case kPrikazObnovitZoZalohy:
    case kPrikazZhutnit:
    case kPrikazZlteKarty:
    case kPrikazOZvaze:
    case kPrikazZmenaHesla:
    case kPrikazPrihlasenie:
    case kPrikazHladajHraca:
    case kPrikazKalendar:
    case kPrikazPublikovat:
    case kPrikazSezonaZTejto:
    case kPrikazPoradie:
    case kPrikazNastavenieWebu:
        return open;
    case kPrikazZalohy:
        return true;
    case kPrikazAmnestia:
        return open && m_doc.HasEditAccess(CAgenda::kDisciplina);
    case kPrikazTlacit:
    case kPrikazNahlad:
    case kPrikazUlozitPdf:
        return m_view && m_view->Prints();
    case kPrikazExport:
        return m_view && m_view->Exports();
    default:
        return false;
    }
}

void CMainFrame::UpdateCommands()
{
    for (auto it = m_actions.constBegin(); it != m_actions.constEnd(); ++it)
        it.value()->setEnabled(IsCommandEnabled(it.key()));
    // A season on a server is saved as a file, its offline copy; a file as another file.
    const bool server = m_doc.IsDatabaseOpen() && m_doc.Database().IsServer();
    m_actions.value(kPrikazUlozAko)
        ->setText(server ? QStringLiteral("Uložiť ako &súbor...") : QStringLiteral("Ulož &ako..."));
    m_actions.value(kPrikazPanelUpravSutaze)->setChecked(m_competitionPanelVisible);
}

void CMainFrame::RunCommand(int command)
{
    if (!IsCommandEnabled(command))
        return;
    // A hint of before the command would speak of a state the command may have changed.
    if (statusBar()->currentMessage() != kNecinnost)
        statusBar()->clearMessage();
    if (m_view && m_view->TakesCommand(command)) {
        m_view->RunCommand(command);
        UpdateCommands();
        return;
    }
    switch (command) {
    case kPrikazOtvorit: {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Otvoriť"), SeasonFolder(),
                                         kFilterSezony + QStringLiteral(";;Všetky súbory (*)"));
        if (!path.isEmpty())
            OpenSeason(path);
        break;
    }
    case kPrikazNovaSezona:
        NewSeason();
        break;
    case kPrikazPreviestSezonu:
        ConvertOlderSeason();
        break;
    case kPrikazOtvoritZoServera: {
        CPripojenieNaServer dialog(m_user, CPripojenieNaServer::Rezim::Otvorit, QString(), this);
        if (dialog.exec() == QDialog::Accepted)
            OpenSeason(dialog.Address());
        break;
    }
    case kPrikazUlozitNaServer:
        UploadSeason();
        break;
    case kPrikazHistoriaZmien:
        ShowHistory();
        break;
    case kPrikazUkazkovaSezona:
        DemoSeason();
        break;
    case kPrikazObnovitZoZalohy:
        RestoreFromSnapshot();
        break;
    case kPrikazUlozAko: {
        const QString path =
            m_user.AskSaveFileName(QStringLiteral("Ulož ako"), m_doc.FilePath(), kFilterSezony);
        if (!path.isEmpty())
            m_doc.SaveSeasonAs(WithExtension(path, QStringLiteral("mdb")));
        break;
    }
    case kPrikazZaloha:
        m_doc.Run([this] { m_doc.BackupSeason(); });
        break;
    case kPrikazZhutnit:
        m_doc.Run([this] { m_doc.CompactSeason(); });
        break;
    case kPrikazTlacit:
        Print();
        break;
    case kPrikazNahlad:
        PrintPreview();
        break;
    case kPrikazUlozitPdf:
        SavePdf();
        break;
    case kPrikazNastavenieTlaciarne:
        PageSetup();
        break;
    case kPrikazExport:
        if (m_view)
            m_view->Export();
        break;
    case kPrikazPublikovat:
        PublishWeb();
        break;
    case kPrikazNastavenieWebu:
        SiteSettings();
        break;
    case kPrikazZalohy:
        SnapshotSettings();
        break;
    case kPrikazKalendar:
        SaveCalendar();
        break;
    case kPrikazKoniec:
        close();
        break;
    case kPrikazPanelUpravSutaze:
        m_competitionPanelVisible = !m_competitionPanelVisible;
        if (m_view)
            m_view->CompetitionPanelChanged();
        break;
    case kPrikazZlteKarty:
        YellowCardRule();
        break;
    case kPrikazAmnestia:
        Amnesty();
        break;
    case kPrikazPoradie:
        TieRule();
        break;
    case kPrikazSezonaZTejto:
        SeasonFromThis();
        break;
    case kPrikazOZvaze:
        EditSeasonInfo();
        break;
    case kPrikazOPrograme: {
        COProgrameDialog about(this);
        about.exec();
        break;
    }
    case kPrikazNapoveda: {
        const QString help = FileBesideProgram(QStringLiteral("docs/napoveda.html"));
        if (QFileInfo::exists(help))
            m_user.OpenWithSystem(help);
        else
            m_user.ShowMessage(QStringLiteral("Nápoveda sa nenašla: %1").arg(QDir::toNativeSeparators(help)),
                               CPouzivatel::Ikona::Vykricnik);
        break;
    }
    case kPrikazWww:
        m_user.OpenWithSystem(kWebProduktu);
        break;
    case kPrikazZmenaHesla:
        ChangePassword();
        break;
    case kPrikazPrihlasenie:
        Login();
        break;
    case kPrikazHladajHraca:
        SearchPlayer();
        break;
    default:
        break;
    }
    UpdateCommands();
}

std::unique_ptr<CPohlad> CMainFrame::CreateView(int index)
{
    return CreateListView(index, m_doc, *this);
}

void CMainFrame::SwitchView(int index)
{
    if (m_view) {
        m_paneLayout->removeWidget(m_view);
        delete m_view;
        m_view = nullptr;
    }
    std::unique_ptr<CPohlad> view = CreateView(index);
    m_view = view.release();
    m_doc.SetCurrentAgenda(m_view->Agenda());
    m_view->setParent(m_pane);
    m_paneLayout->addWidget(m_view);
    connect(m_view, &QObject::destroyed, this, [this](QObject* gone) {
        if (gone == m_view)
            m_view = nullptr;
    });
    const auto lists = m_view->findChildren<CMyListCtrl*>();
    for (int i = 0; i < lists.size(); ++i)
        lists.at(i)->RememberWidths(
            this, QStringLiteral("%1.%2").arg(QString::fromLatin1(m_view->metaObject()->className())).arg(i));
    m_doc.Run([this] { m_view->OnInitialUpdate(); });
    m_view->show();
    m_view->setFocus();
    if (m_doc.IsDatabaseOpen())
        m_settings.SetLastPlace(m_doc.FilePath(), index, m_doc.CurrentCompetition());
    UpdateCommands();
    ShowRights();
}

void CMainFrame::SeasonOpened(const QString& path)
{
    // Where the secretary left this season; the first time, the first competition's clubs. A
    // competition removed since is not gone back to.
    const CNastavenia::CMiesto place = m_settings.LastPlace(path);
    int view = 0, competition = 0;
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        const QVector<CSutaz> competitions = ReadCompetitions(db);
        const bool committee = CommitteeViews().contains(place.view);
        const bool known = std::any_of(competitions.begin(), competitions.end(),
                                       [&](const CSutaz& s) { return s.id == place.competition; });
        if (committee) {
            view = place.view;
        } else if (CompetitionViews().contains(place.view) && known) {
            view = place.view;
            competition = place.competition;
        } else if (!competitions.isEmpty()) {
            competition = competitions.first().id;
        }
    });
    m_doc.SetCurrentCompetition(competition);
    m_doc.SetCurrentClub(0);
    m_doc.SetCurrentViewIndex(view);
    SwitchView(view);
    EditAccessChanged();
    ShowLoginHint();
}

void CMainFrame::ShowLoginHint()
{
    // Once per user, on a season anyone may edit after confirming the empty password: how to begin.
    if (m_settings.LoginHintShown() || !m_doc.IsDatabaseOpen() || m_doc.HasEditAccess())
        return;
    bool empty = false;
    m_doc.Run([&] {
        empty = IsCurrentSeasonVersion(m_doc.Database()) && StoredPassword(m_doc.Database()).isEmpty();
    });
    if (!empty)
        return;
    m_settings.SetLoginHintShown();
    statusBar()->showMessage(kAkoSaPrihlasit, 60000);
}

void CMainFrame::RefreshAllViews()
{
    if (m_doc.IsDatabaseOpen())
        m_tree->RebuildTree();
    else
        m_tree->Clear();
    if (m_view)
        m_doc.Run([this] { m_view->OnInitialUpdate(); });
    UpdateCommands();
}

void CMainFrame::SeasonFileChanged(const QString& path)
{
    setWindowTitle(QStringLiteral("%1 - %2").arg(ShownSeasonName(path), kNazovProgramu));
    m_settings.AddRecentFile(path);
    RebuildRecentMenu();
}

void CMainFrame::UploadSeason()
{
    CPripojenieNaServer dialog(m_user, CPripojenieNaServer::Rezim::Ulozit,
                               QFileInfo(m_doc.FilePath()).completeBaseName(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString address = dialog.Address();
    bool uploaded = false;
    {
        CZaneprazdnenie busy(m_user);
        uploaded = m_doc.Run([&] { m_doc.Database().UploadTo(address); });
    }
    if (uploaded &&
        m_user.AskYesNo(
            QStringLiteral("Sezóna je na serveri: %1\n\nOtvoriť ju teraz zo servera? Zmeny sa potom "
                           "ukladajú na server, súbor ostane, ako je.")
                .arg(ParseServerAddress(address).shown)))
        OpenSeason(address);
}

bool CMainFrame::OpenSeason(const QString& path)
{
    // A season kept in the Jet format is converted into a new file first; the Jet file stays as it is.
    if (IsJetFile(path))
        return ConvertAndOpen(path, true);
    const bool opened = m_doc.OpenSeasonFile(path);
    EditAccessChanged();
    return opened;
}

bool CMainFrame::ConvertAndOpen(const QString& jetPath, bool ask)
{
    const QString shown = QDir::toNativeSeparators(jetPath);
    if (ask && !m_user.AskYesNo(
                   QStringLiteral("Súbor %1 je sezóna vo formáte Jet (Access 97 alebo 2000).\n\nProgram ju "
                                  "prevedie do nového súboru a ten otvorí; pôvodný súbor zostane, ako je.\n\n"
                                  "Previesť ju?")
                       .arg(shown)))
        return false;
    // A name that cannot take the converted season sends the user back to the file dialog.
    QString target;
    while (true) {
        target =
            AskNewSeasonFile(QStringLiteral("Previesť staršiu sezónu"), ConvertedSeasonName(jetPath),
                             QStringLiteral("Prevedenú sezónu nemožno zapísať na miesto otvorenej sezóny."));
        if (target.isEmpty())
            return false;
        if (TenIstySubor(target, jetPath))
            m_user.ShowMessage(
                QStringLiteral(
                    "Prevedená sezóna sa zapíše do nového súboru; zvoľte iný názov, než má pôvodný."),
                CPouzivatel::Ikona::Vykricnik);
        else if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
            m_user.ShowMessage(
                QStringLiteral("Súbor %1 už existuje; prevedená sezóna sa zapíše do nového súboru. "
                               "Zvoľte iný názov.")
                    .arg(QDir::toNativeSeparators(target)),
                CPouzivatel::Ikona::Vykricnik);
        else
            break;
    }
    CVolbyPrevodu options;
    options.memoryMB = m_settings.ConverterMemoryMB();
    const auto convert = [&] {
        const CVysledokPrevodu r = ConvertJetSeason(
            jetPath, target,
            [this](qint64 done, qint64 total) {
                return m_user.Progress(QStringLiteral("Prevádza sa sezóna..."),
                                       static_cast<int>(std::min<qint64>(done, INT_MAX)),
                                       static_cast<int>(std::min<qint64>(total, INT_MAX)));
            },
            options);
        m_user.Progress(QString(), 1, 1);
        return r;
    };
    CVysledokPrevodu result = convert();
    if (result.cancelled)
        return false;
    if (!result.error.isEmpty() && result.damaged &&
        m_user.AskAction(result.error +
                             QStringLiteral("\n\nProgram môže previesť, čo sa dá prečítať, a každú stratu "
                                            "zapísať do správy %1 vedľa novej sezóny. Pôvodný súbor "
                                            "zostane, ako je.")
                                 .arg(QDir::toNativeSeparators(SalvageReportPath(target))),
                         kPreviestCoSaDa)) {
        options.salvage = true;
        result = convert();
        if (result.cancelled)
            return false;
    } else if (!result.error.isEmpty() && result.damaged) {
        return false;
    }
    if (!result.error.isEmpty()) {
        m_user.ShowMessage(result.error, CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    QStringList told = result.report;
    if (options.salvage) {
        // The losses in sight, the whole list in the report.
        constexpr int kNajviac = 15;
        QStringList losses = result.losses.mid(0, kNajviac);
        if (result.losses.size() > kNajviac)
            losses << QStringLiteral("... a ďalších %1").arg(result.losses.size() - kNajviac);
        told.prepend((result.losses.isEmpty()
                          ? QStringLiteral("Prečítalo sa všetko, nič sa nestratilo.")
                          : QStringLiteral("Previedlo sa, čo sa dalo prečítať. Stratilo sa:\n- ") +
                                losses.join(QStringLiteral("\n- "))) +
                     (result.reportFile.isEmpty() ? QString()
                                                  : QStringLiteral("\n\nSpráva o prevode: %1")
                                                        .arg(QDir::toNativeSeparators(result.reportFile))));
    }
    if (!told.isEmpty())
        m_user.ShowMessage(QStringLiteral("Sezóna je prevedená do súboru %1.\n\n%2")
                               .arg(QDir::toNativeSeparators(target), told.join(QStringLiteral("\n\n"))),
                           result.losses.isEmpty() ? CPouzivatel::Ikona::Informacia
                                                   : CPouzivatel::Ikona::Vykricnik);
    return OpenSeason(target);
}

void CMainFrame::ConvertOlderSeason()
{
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Previesť staršiu sezónu"), SeasonFolder(),
                                     kFilterSezony + QStringLiteral(";;Všetky súbory (*)"));
    if (path.isEmpty())
        return;
    if (!IsJetFile(path)) {
        m_user.ShowMessage(
            QStringLiteral("Súbor %1 nie je sezóna vo formáte Jet (Access 97 alebo 2000); ak je to "
                           "sezóna tohto programu, otvorte ju príkazom Otvoriť.")
                .arg(QDir::toNativeSeparators(path)),
            CPouzivatel::Ikona::Vykricnik);
        return;
    }
    ConvertAndOpen(path, false);
}

void CMainFrame::ShowHistory()
{
    int match = 0;
    if (const auto* rounds = qobject_cast<CKolovyPohlad*>(m_view))
        match = rounds->List()->SelectedId();
    CHistoriaZmien dialog(m_doc, match, m_doc.CurrentPlayer(), this);
    dialog.exec();
}

void CMainFrame::EditAccessChanged()
{
    // A season on a server is followed: the others' changes come in, and who else has it open.
    const QString followed =
        m_doc.IsDatabaseOpen() && m_doc.Database().IsServer() ? m_doc.FilePath() : QString();
    if (followed != m_followed) {
        m_followed = followed;
        m_shared->SeasonChanged();
    }
    if (m_view)
        m_doc.SetCurrentAgenda(m_view->Agenda());
    if (m_view)
        m_view->UpdateEditAccess();
    UpdateCommands();
    // Always in sight: whether what she types is stored.
    if (!m_doc.IsDatabaseOpen())
        m_loginState->clear();
    else if (m_doc.Database().IsServer())
        m_loginState->setText(m_doc.Database().ServerStatus());
    else if (m_doc.HasEditAccess())
        m_loginState->setText(kPrihlasenyNaUpravy);
    else
        m_loginState->setText(kNaUpravyPrihlaste);
    // How to log in is no news to whoever has.
    if (m_doc.HasEditAccess() && statusBar()->currentMessage() == kAkoSaPrihlasit)
        statusBar()->clearMessage();
    ShowRights();
}

void CMainFrame::ShowRights()
{
    // On a shared season, a list her committee does not keep says why nothing in it can be changed.
    const QString why = m_view && m_doc.IsDatabaseOpen() ? m_doc.NoRightText(m_view->Agenda()) : QString();
    if (!why.isEmpty())
        statusBar()->showMessage(why);
    else if (statusBar()->currentMessage().startsWith(QStringLiteral("Na zmenu ")))
        statusBar()->clearMessage();
}

bool CMainFrame::HasPasswordTable(CDatabaza& db)
{
    if (IsCurrentSeasonVersion(db))
        return true;
    m_user.ShowMessage(kStarsiaVerzia, CPouzivatel::Ikona::Vykricnik);
    return false;
}

void CMainFrame::Login()
{
    m_doc.Run([this] {
        CDatabaza& db = m_doc.Database();
        if (!HasPasswordTable(db))
            return;
        CPrihlasenie dialog(m_user, StoredPassword(db), this);
        // Cancelling the login logs the user out.
        m_doc.SetEditAccess(dialog.exec() == QDialog::Accepted);
    });
    EditAccessChanged();
}

void CMainFrame::ChangePassword()
{
    m_doc.Run([this] {
        CDatabaza& db = m_doc.Database();
        if (!HasPasswordTable(db))
            return;
        CZmenaHesla dialog(m_user, StoredPassword(db), this);
        if (dialog.exec() == QDialog::Accepted)
            StorePassword(db, dialog.NewPassword());
    });
}

void CMainFrame::EditSeasonInfo()
{
    bool saved = false;
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        CSezona dialog(ReadSeasonInfo(db), m_doc.HasEditAccess(CAgenda::kSekretariat), this);
        if (dialog.exec() != QDialog::Accepted || !m_doc.HasEditAccess(CAgenda::kSekretariat))
            return;
        SaveSeasonInfo(db, dialog.Values());
        saved = true;
    });
    if (saved)
        RefreshAllViews();
}

void CMainFrame::YellowCardRule()
{
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        CNastavenieZK dialog(m_user, ReadStopRule(db), m_doc.HasEditAccess(CAgenda::kSekretariat), this);
        if (dialog.exec() != QDialog::Accepted || !m_doc.HasEditAccess(CAgenda::kSekretariat))
            return;
        SaveStopRule(db, dialog.Rule());
        m_doc.LoadStopRounds();
    });
}

void CMainFrame::SearchPlayer()
{
    CSearch dialog(m_doc, this);
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenPlayer() == 0)
        return;
    m_doc.Run([&] { m_doc.ApplySearchResult(dialog.ChosenPlayer()); });
}

void CMainFrame::Amnesty()
{
    if (!m_doc.HasEditAccess(CAgenda::kDisciplina) || !m_user.AskYesNo(kOtazkaAmnestie))
        return;
    CAmnestia dialog(m_user, this);
    if (dialog.exec() != QDialog::Accepted || !m_doc.Snapshot(QStringLiteral("Amnestia")))
        return;
    const bool done =
        m_doc.Run([&] { ::Amnesty(m_doc.Database(), dialog.Day(), 0, dialog.All(), dialog.Count()); });
    if (!done)
        return;
    m_user.ShowMessage(dialog.All() ? AmnestyAllMessage() : AmnestyCountMessage(dialog.Count()));
    // The yellow-card register shows which cards still count.
    if (qobject_cast<CZKView*>(m_view))
        SwitchView(m_doc.CurrentViewIndex());
}

QString CMainFrame::SeasonFolder() const
{
    // A season on a server has no folder: the user's own is proposed.
    if (m_doc.FilePath().isEmpty() || IsServerAddress(m_doc.FilePath()))
        return QDir::homePath();
    return QFileInfo(m_doc.FilePath()).absolutePath();
}

QString CMainFrame::AskNewSeasonFile(const QString& caption, const QString& proposed, const QString& refusal)
{
    // A refused name goes back to the dialog: the user chose to write a season, not to give up.
    while (true) {
        const QString chosen = m_user.AskSaveFileName(caption, proposed, kFilterSezony);
        if (chosen.isEmpty())
            return {};
        const QString path = WithExtension(chosen, QStringLiteral("mdb"));
        if (!TenIstySubor(path, m_doc.FilePath()))
            return path;
        m_user.ShowMessage(refusal + QStringLiteral(" Zvoľte iný názov súboru."),
                           CPouzivatel::Ikona::Vykricnik);
    }
}

void CMainFrame::NewSeason()
{
    const QString path = AskNewSeasonFile(
        QStringLiteral("Nová sezóna"), QDir(SeasonFolder()).filePath(QStringLiteral("sezona.mdb")),
        QStringLiteral("Novú sezónu nemožno zapísať na miesto otvorenej sezóny."));
    if (path.isEmpty())
        return;
    if (m_doc.Run([&] { CreateNewSeasonFile(path); }))
        OpenSeason(path);
}

void CMainFrame::SeasonFromThis()
{
    std::unique_ptr<CNovaSezonaZTejto> dialog;
    if (!m_doc.Run([&] {
            dialog = std::make_unique<CNovaSezonaZTejto>(m_doc.Database(), m_doc.StopRounds(), this);
        }) ||
        dialog->exec() != QDialog::Accepted)
        return;
    const CPrenosSezony plan = dialog->Plan();
    const QString proposed =
        QDir(SeasonFolder())
            .filePath(QStringLiteral("%1.mdb").arg(
                FileNamePart(plan.seasonName.isEmpty() ? QStringLiteral("sezona") : plan.seasonName)));
    const QString path =
        AskNewSeasonFile(QStringLiteral("Nová sezóna z tejto"), proposed,
                         QStringLiteral("Novú sezónu nemožno zapísať na miesto otvorenej sezóny."));
    if (path.isEmpty())
        return;
    if (m_doc.Run([&] { CreateSeasonFrom(m_doc.Database(), path, plan); }))
        OpenSeason(path);
}

void CMainFrame::TieRule()
{
    m_doc.Run([&] {
        CDatabaza& db = m_doc.Database();
        CPoradieDialog dialog(MutualMatchesDecideTies(db), m_doc.HasEditAccess(CAgenda::kSekretariat), this);
        if (dialog.exec() != QDialog::Accepted || !m_doc.HasEditAccess(CAgenda::kSekretariat))
            return;
        SetMutualMatchesDecideTies(db, dialog.Mutual());
    });
    RefreshAllViews();
}

void CMainFrame::PublishWeb()
{
    const QString season = SeasonFolder();
    bool stopped = false;
    QStringList leftAlone;
    int written = 0;
    CPublikovanieDialog dialog(
        QDir(season).filePath(QStringLiteral("web")), season,
        [&](const QString& folder) {
            QString error;
            stopped = false;
            m_doc.Run([&] {
                error = PublishSeason(
                    m_doc.Database(), m_doc.StopRounds(), folder, m_doc.FilePath(),
                    QDateTime::currentDateTimeUtc(),
                    [&](const QString& step, int done, int total) {
                        return m_user.Progress(step, done, total);
                    },
                    &stopped, &leftAlone, &written);
            });
            m_user.Progress(QString(), 1, 1);
            return error;
        },
        this);
    const CNastavenia::CCielWebu last = m_settings.LastSiteTarget(m_doc.FilePath());
    dialog.SetLastTarget(last.server, last.folder, last.address, last.user);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.SetLastSiteTarget(m_doc.FilePath(),
                                 {dialog.ToServer(), dialog.ToServer() ? last.folder : dialog.Folder(),
                                  dialog.ServerAddress(), dialog.ServerUser()});
    if (!leftAlone.isEmpty())
        m_user.ShowMessage(LeftAloneText(leftAlone), CPouzivatel::Ikona::Vykricnik);
    if (dialog.ToServer()) {
        m_user.ShowMessage(QStringLiteral("Web je na serveri %1; nahraných súborov: %2.")
                               .arg(ShownUploadAddress(dialog.ServerTarget()), QString::number(written)),
                           CPouzivatel::Ikona::Informacia);
        return;
    }
    const QString folder = dialog.Folder();
    if (m_user.AskYesNo(QStringLiteral("Web je zapísaný v priečinku %1.\nChcete ho zobraziť?")
                            .arg(QDir::toNativeSeparators(folder))))
        m_user.OpenWithSystem(QDir(folder).filePath(QStringLiteral("index.html")));
}

void CMainFrame::SiteSettings()
{
    QString address;
    bool contacts = false;
    if (!m_doc.Run([&] {
            address = SiteAddress(m_doc.Database());
            contacts = PublishClubContacts(m_doc.Database());
        }))
        return;
    CNastavenieWebuDialog dialog(
        address, contacts, m_doc.HasEditAccess(),
        [&](const QString& typed, bool publish) {
            QString error;
            m_doc.Run([&] {
                error = SetSiteAddress(m_doc.Database(), typed);
                if (error.isEmpty())
                    SetPublishClubContacts(m_doc.Database(), publish);
            });
            return error;
        },
        this);
    dialog.exec();
}

void CMainFrame::SnapshotSettings()
{
    const QString folder = m_doc.IsDatabaseOpen() ? QFileInfo(SnapshotFolder(m_doc.FilePath())).fileName()
                                                  : QStringLiteral("<názov sezóny>.zalohy");
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Zálohy"));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setLabelText(
        QStringLiteral(
            "Zálohy sezóny v priečinku „%1“ vedľa nej môžu spolu zabrať najviac (MB):\n\n"
            "Ponecháva sa posledných 20 záloh, zo starších jedna za deň dva týždne dozadu, jedna za "
            "týždeň tri mesiace dozadu a jedna za mesiac pred nimi. Nad touto hranicou sa najstaršie "
            "vymažú; posledná zostane vždy.")
            .arg(folder));
    dialog.setIntRange(static_cast<int>(kNajmenejZalohMB), 1000000);
    dialog.setIntStep(100);
    dialog.setIntValue(static_cast<int>(m_settings.SnapshotLimitMB()));
    // The explanation wraps in a dialog of ordinary width instead of widening it to one long line.
    for (QLabel* label : dialog.findChildren<QLabel*>())
        label->setWordWrap(true);
    dialog.resize(qMin(480, screen()->availableGeometry().width()), dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_settings.SetSnapshotLimitMB(dialog.intValue());
    m_doc.SetSnapshotLimit(qint64(dialog.intValue()) * 1024 * 1024);
}

void CMainFrame::SaveCalendar()
{
    const int competition = m_doc.CurrentCompetition();
    const QString chosen = m_user.AskSaveFileName(QStringLiteral("Kalendár zápasov"),
                                                  QStringLiteral("zapasy.ics"), kFilterKalendara);
    if (chosen.isEmpty())
        return;
    const QString path = WithExtension(chosen, QStringLiteral("ics"));
    const bool written = m_doc.Run(
        [&] { WriteMatchCalendar(m_doc.Database(), path, competition, 0, QDateTime::currentDateTimeUtc()); });
    if (written && m_user.AskYesNo(QStringLiteral("Kalendár je zapísaný v súbore %1.\nChcete ho otvoriť?")
                                       .arg(QDir::toNativeSeparators(path))))
        m_user.OpenWithSystem(path);
}

void CMainFrame::DemoSeason()
{
    CUkazkovaSezona parameters(this);
    if (parameters.exec() != QDialog::Accepted)
        return;
    const QString path =
        AskNewSeasonFile(QStringLiteral("Ukážková sezóna"),
                         QDir(SeasonFolder()).filePath(QStringLiteral("ukazkova-sezona.mdb")),
                         QStringLiteral("Ukážkovú sezónu nemožno zapísať na miesto otvorenej sezóny."));
    if (path.isEmpty())
        return;
    bool made = false;
    m_doc.Run([&] {
        made = CreateDemoSeason(path, parameters.Values(), [this](int done, int total) {
            return m_user.Progress(QStringLiteral("Vytvára sa ukážková sezóna..."), done, total);
        });
    });
    m_user.Progress(QString(), 1, 1);
    if (made)
        OpenSeason(path);
}

void CMainFrame::RestoreFromSnapshot()
{
    const QVector<CZaloha> snapshots = ListSnapshots(m_doc.FilePath());
    if (snapshots.isEmpty()) {
        m_user.ShowMessage(QStringLiteral("Sezóna %1 zatiaľ nemá žiadnu zálohu.")
                               .arg(QDir::toNativeSeparators(m_doc.FilePath())));
        return;
    }
    CObnovaZalohy dialog(snapshots, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen().isEmpty())
        return;
    const bool server = m_doc.Database().IsServer();
    if (server && RestoreOntoServer(dialog.Chosen()))
        return;
    const QFileInfo season(m_doc.FilePath());
    const QString proposed =
        server ? QDir(SeasonFolder())
                     .filePath(QStringLiteral("%1 (obnovená).mdb")
                                   .arg(FileNamePart(ParseServerAddress(m_doc.FilePath()).season)))
               : season.absoluteDir().filePath(
                     QStringLiteral("%1 (obnovená).mdb").arg(season.completeBaseName()));
    const QString path =
        AskNewSeasonFile(QStringLiteral("Obnoviť zo zálohy"), proposed,
                         QStringLiteral("Zálohu nemožno obnoviť na miesto otvorenej sezóny."));
    if (path.isEmpty())
        return;
    if (m_doc.Run([&] { RestoreSnapshot(dialog.Chosen(), path); }))
        OpenSeason(path);
}

bool CMainFrame::RestoreOntoServer(const QString& snapshot)
{
    // A server season's snapshot goes back to the same server as a new season beside it, or into a file;
    // the season on the server is not replaced, as a file's restore never replaces the open file.
    if (!m_user.AskYesNo(
            QStringLiteral("Obnoviť zálohu ako novú sezónu na tom istom serveri?\n\nÁno: nová sezóna "
                           "na serveri, otvorená sezóna sa nezmení.\nNie: nový súbor.")))
        return false;
    QString address;
    const bool restored = m_doc.Run([&] {
        const CAdresaServera current = ParseServerAddress(m_doc.FilePath());
        const QStringList taken = ServerSeasons(m_doc.FilePath());
        QString name = QStringLiteral("%1 (obnovená)").arg(current.season);
        for (int n = 2; taken.contains(name); ++n)
            name = QStringLiteral("%1 (obnovená %2)").arg(current.season, QString::number(n));
        address = AddressWithSeason(m_doc.FilePath(), name);
        CDatabaza copy;
        copy.Open(snapshot);
        copy.UploadTo(address);
    });
    if (restored)
        OpenSeason(address);
    return true;
}

void CMainFrame::SetPrinterOrientation(bool landscape)
{
    m_printer.setFullPage(true);
    m_printer.setPageSize(QPageSize(QPageSize::A4));
    m_printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

std::unique_ptr<CTlacovina> CMainFrame::ActivePrintout(int& pages)
{
    std::unique_ptr<CTlacovina> printout;
    pages = 0;
    if (!m_doc.Run([&] {
            printout = m_view ? m_view->Printout() : nullptr;
            if (printout)
                ChooseOrientation(*printout);
            pages = printout ? printout->PageCount() : 0;
        }))
        return nullptr;
    if (printout)
        SetPrinterOrientation(printout->Landscape());
    return printout;
}

void CMainFrame::Print()
{
    int pages = 0;
    const std::unique_ptr<CTlacovina> printout = ActivePrintout(pages);
    if (!printout)
        return;
    // A PDF printed from the dialog is proposed under the list's own name (in the season's folder when
    // the printer already writes PDFs), not as "print.pdf" or the last list's.
    const QString pdf = PdfFileName(*printout);
    m_printer.setDocName(pdf);
    if (m_printer.outputFormat() == QPrinter::PdfFormat)
        m_printer.setOutputFileName(QDir(SeasonFolder()).filePath(pdf));
    QPrintDialog dialog(&m_printer, this);
    dialog.setMinMax(1, std::max(1, pages));
    dialog.setFromTo(1, std::max(1, pages));
    if (dialog.exec() != QDialog::Accepted)
        return;
    int first = 1, last = pages;
    if (m_printer.printRange() == QPrinter::PageRange) {
        first = std::max(1, m_printer.fromPage());
        last = std::min(pages, m_printer.toPage());
    }
    bool printed = false;
    m_doc.Run([&] { printed = PrintPages(*printout, m_printer, first, last); });
    if (!printed)
        m_user.ShowMessage(QStringLiteral("Tlač sa nepodarila: tlačiareň nie je pripravená."),
                           CPouzivatel::Ikona::Vykricnik);
}

void CMainFrame::SavePdf()
{
    int pages = 0;
    const std::unique_ptr<CTlacovina> printout = ActivePrintout(pages);
    if (!printout)
        return;
    const QString chosen = m_user.AskSaveFileName(
        QStringLiteral("Uložiť ako PDF"), QDir(SeasonFolder()).filePath(PdfFileName(*printout)), kFilterPdf);
    if (chosen.isEmpty())
        return;
    const QString path = WithExtension(chosen, QStringLiteral("pdf"));
    QString error;
    m_doc.Run([&] { error = WritePdf(*printout, path); });
    if (!error.isEmpty()) {
        m_user.ShowMessage(error, CPouzivatel::Ikona::Vykricnik);
        return;
    }
    if (m_user.AskYesNo(QStringLiteral("PDF je zapísané v súbore %1.\nChcete ho otvoriť?")
                            .arg(QDir::toNativeSeparators(path))))
        m_user.OpenWithSystem(path);
}

void CMainFrame::PrintPreview()
{
    int pages = 0;
    const std::unique_ptr<CTlacovina> printout = ActivePrintout(pages);
    if (printout)
        PreviewPrintout(*printout);
}

void CMainFrame::PreviewPrintout(CTlacovina& printout)
{
    int pages = 0;
    if (!m_doc.Run([&] {
            ChooseOrientation(printout);
            pages = printout.PageCount();
        }))
        return;
    SetPrinterOrientation(printout.Landscape());
    QPrintPreviewDialog dialog(&m_printer, this);
    dialog.setWindowTitle(QStringLiteral("Zobrazenie pred tlačou"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [&](QPrinter* printer) { m_doc.Run([&] { PrintPages(printout, *printer, 1, pages); }); });
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
        preview->setViewMode(m_settings.PreviewPages() >= 2 ? QPrintPreviewWidget::FacingPagesView
                                                            : QPrintPreviewWidget::SinglePageView);
    dialog.resize(size() * 9 / 10);
    dialog.exec();
}

void CMainFrame::PageSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    dialog.exec();
}

QVector<int> CMainFrame::ColumnWidths(const QString& list) const
{
    return m_settings.ColumnWidths(list);
}

void CMainFrame::SetColumnWidths(const QString& list, const QVector<int>& widths)
{
    m_settings.SetColumnWidths(list, widths);
}

void CMainFrame::SaveLayout()
{
    m_settings.SetWindowLayout(saveGeometry(), saveState(), m_splitter->saveState());
    m_settings.SetStatusBarShown(m_actions.value(kPrikazStavovyRiadok)->isChecked());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    SaveLayout();
    m_doc.CloseSeason();
    event->accept();
}
