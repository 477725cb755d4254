#pragma once

#include "db/CPouzivatel.h"
#include "ui/CMyListCtrl.h"
#include "ui/CPohlad.h"

#include <QHash>
#include <QMainWindow>

class CDatabaza;
class CLigaroDoc;
class CSpolocnaSezona;
class CNastavenia;
class CSutazeView;
class QPrinter;
class QSplitter;
class QLabel;
class QMenu;
class QVBoxLayout;

// The main window: menus, toolbar, status bar, the competitions tree on the left and one list on the
// right. It carries out the commands of the session (file, login, season settings) with dialogs, and
// opens as the user left it: size, place, the tree's width and the lists' column widths.
// The status bar's word on edit access, and the first start's hint on how to get it.
inline const QString kPrihlasenyNaUpravy = QStringLiteral("Prihlásený na úpravy");
inline const QString kNaUpravyPrihlaste = QStringLiteral("Len na čítanie – na úpravy sa prihláste (Ctrl+L)");
inline const QString kAkoSaPrihlasit = QStringLiteral(
    "Údaje sa menia po prihlásení: Ctrl+L alebo zelená fajka na paneli nástrojov. Heslo je zatiaľ "
    "prázdne, stačí ho potvrdiť.");

class CMainFrame : public QMainWindow, public CPohlady, public CRamecPohladov, public CSirkyStlpcov
{
    Q_OBJECT
public:
    CMainFrame(CLigaroDoc& doc, CPouzivatel& user, CNastavenia& settings, QPrinter& printer);
    ~CMainFrame() override;

    // CPohlady
    void SwitchView(int index) override;
    void RefreshAllViews() override;
    void SeasonFileChanged(const QString& path) override;
    void SeasonOpened(const QString& path) override;
    // The first start on a season with an empty password says how to log in for editing.
    void ShowLoginHint();
    QLabel* LoginState() const { return m_loginState; }
    // CRamecPohladov
    bool CompetitionPanelVisible() const override { return m_competitionPanelVisible; }
    void UpdateCommands() override;
    void PreviewPrintout(CTlacovina& printout) override;
    // CSirkyStlpcov
    QVector<int> ColumnWidths(const QString& list) const override;
    void SetColumnWidths(const QString& list, const QVector<int>& widths) override;
    // Keeps the window's size, place and splitter for the next start.
    void SaveLayout();

    QAction* Action(int command) const { return m_actions.value(command); }
    QSplitter* Splitter() const { return m_splitter; }
    CPohlad* ActiveView() const { return m_view; }
    CSutazeView* Tree() const { return m_tree; }
    QList<QAction*> RecentFileActions() const { return m_recentActions; }

    // Runs a command as the menu or toolbar would.
    void RunCommand(int command);
    bool IsCommandEnabled(int command) const;

    bool OpenSeason(const QString& path);
    // "Uložiť na server": the open file season put onto a server as a new season.
    void UploadSeason();
    // A server season's snapshot restored as a new season on its server, when the user wants it there;
    // false when she wants a file.
    bool RestoreOntoServer(const QString& snapshot);
    // The session's commands.
    void Login();
    void ChangePassword();
    void EditSeasonInfo();
    void YellowCardRule();
    void NewSeason();
    void SeasonFromThis();
    // Converts a season kept in the Jet format into a new file and opens that (asking first when the
    // user only meant to open it).
    bool ConvertAndOpen(const QString& jetPath, bool ask);
    void ConvertOlderSeason();
    void TieRule();
    // "Ukážková sezóna...": makes a demo season where the user wants it and opens it.
    void DemoSeason();
    void PublishWeb();
    void SavePdf();
    void SiteSettings();
    void SnapshotSettings();
    void SaveCalendar();
    // "Obnoviť zo zálohy...": a snapshot of the open season, chosen from the list, becomes a new season
    // file, which is opened.
    void RestoreFromSnapshot();
    // "Vyhľadaj hráča": on a choice, the player's club and competition become current and the
    // player register shows him.
    void SearchPlayer();
    void Amnesty();
    // "Zobraziť → História zmien" of a shared season.
    void ShowHistory();
    CSpolocnaSezona* SharedSeason() const { return m_shared; }
    void Print();
    void PrintPreview();
    void PageSetup();
    // Sets the printer to A4 in the given orientation, as the nominations print wants it.
    void SetPrinterOrientation(bool landscape);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(int command, const QString& text, const QString& statusTip = {});
    void CreateMenusAndToolBar();
    void RebuildRecentMenu();
    void EditAccessChanged();
    // The status bar says why the current list cannot be changed by this login's committee.
    void ShowRights();
    // The season file has the password table, or the user is told it is of the older version.
    bool HasPasswordTable(CDatabaza& db);
    // What the active view prints, with the printer turned to its orientation; nullptr when nothing.
    std::unique_ptr<CTlacovina> ActivePrintout(int& pages);
    std::unique_ptr<CPohlad> CreateView(int index);
    // The folder of the open season, else the user's home: where file dialogs start.
    QString SeasonFolder() const;
    // Asks where a new season file goes (with the .mdb extension); never the open season, which is
    // refused with `refusal` and the advice to choose another name. Empty when cancelled or refused.
    QString AskNewSeasonFile(const QString& caption, const QString& proposed, const QString& refusal);

    CLigaroDoc& m_doc;
    CPouzivatel& m_user;
    CNastavenia& m_settings;
    QPrinter& m_printer;
    QHash<int, QAction*> m_actions;
    QList<QAction*> m_recentActions;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    QAction* m_recentEmpty = nullptr;
    QSplitter* m_splitter = nullptr;
    CSutazeView* m_tree = nullptr;
    QWidget* m_pane = nullptr;
    QVBoxLayout* m_paneLayout = nullptr;
    CPohlad* m_view = nullptr;
    QLabel* m_loginState = nullptr;
    CSpolocnaSezona* m_shared = nullptr;
    QString m_followed;
    bool m_competitionPanelVisible = false;
};
