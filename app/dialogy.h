#pragma once

#include "db/CPouzivatel.h"
#include "db/novasezona.h"
#include "db/udajesezony.h"
#include "db/zalohy.h"
#include "demo/ukazka.h"

#include <QDialog>
#include <QHash>

#include <functional>
#include <memory>

class CMyListCtrl;
class QDialogButtonBox;
class QProgressDialog;
class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;
class QTreeWidget;
class CDatabaza;
class QLineEdit;
class QUrl;

// "Informácie o futbalovom zväze": season, region, association. Only shown without edit access.
class CSezona : public QDialog
{
    Q_OBJECT
public:
    CSezona(const CUdajeSezony& values, bool editAccess, QWidget* parent = nullptr);
    CUdajeSezony Values() const;
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    QLineEdit* m_nazov;
    QLineEdit* m_kraj;
    QLineEdit* m_zvaz;
    QDialogButtonBox* m_buttons;
};

// "Prihlásenie": the editing password, compared exactly with the stored one.
class CPrihlasenie : public QDialog
{
    Q_OBJECT
public:
    CPrihlasenie(CPouzivatel& user, const QString& storedPassword, QWidget* parent = nullptr);
    QLineEdit* PasswordField() const { return m_heslo; }
    void accept() override;

private:
    CPouzivatel& m_user;
    QString m_stored;
    QLineEdit* m_heslo;
};

// "Zmena hesla": the old password, the new one twice.
class CZmenaHesla : public QDialog
{
    Q_OBJECT
public:
    CZmenaHesla(CPouzivatel& user, const QString& storedPassword, QWidget* parent = nullptr);
    QString NewPassword() const;
    QLineEdit* OldField() const { return m_stare; }
    QLineEdit* NewField() const { return m_nove; }
    QLineEdit* ConfirmField() const { return m_potvrdenie; }
    void accept() override;

private:
    CPouzivatel& m_user;
    QString m_stored;
    QLineEdit* m_stare;
    QLineEdit* m_nove;
    QLineEdit* m_potvrdenie;
};

// "Nastavenie trestov za ŽK": the card totals at which a player sits out.
class CNastavenieZK : public QDialog
{
    Q_OBJECT
public:
    CNastavenieZK(CPouzivatel& user, const QString& rule, bool editAccess, QWidget* parent = nullptr);
    QString Rule() const;
    QLineEdit* RuleField() const { return m_pravidlo; }
    // A rule that does not read is refused with its message; the dialog stays open.
    void accept() override;

private:
    CPouzivatel& m_user;
    QLineEdit* m_pravidlo;
};

// "Ukážková sezóna": how large a demo season to make.
class CUkazkovaSezona : public QDialog
{
    Q_OBJECT
public:
    explicit CUkazkovaSezona(QWidget* parent = nullptr);
    CParametreUkazky Values() const;
    QSpinBox* Competitions() const { return m_competitions; }

private:
    QSpinBox* m_competitions;
    QSpinBox* m_clubs;
    QSpinBox* m_players;
    QSpinBox* m_seed;
};

// "Otvoriť zo servera" and "Uložiť na server": where the server is and who logs in; to open, the
// server's seasons to choose from; to save, the new season's name.
class CPripojenieNaServer : public QDialog
{
    Q_OBJECT
public:
    enum class Rezim { Otvorit, Ulozit };
    CPripojenieNaServer(CPouzivatel& user, Rezim mode, const QString& proposedSeason = {},
                        QWidget* parent = nullptr);
    // The address with the password typed, for connecting once; never kept.
    QString Address() const;
    void accept() override;
    // Lists the server's seasons (the "Načítať sezóny" button).
    void LoadSeasons();
    QLineEdit* Host() const { return m_host; }
    QLineEdit* Season() const { return m_season; }
    class QListWidget* Seasons() const { return m_seasons; }

private:
    CPouzivatel& m_user;
    Rezim m_mode;
    QLineEdit* m_host;
    QSpinBox* m_port;
    QLineEdit* m_database;
    QLineEdit* m_login;
    QLineEdit* m_password;
    QLineEdit* m_season = nullptr;
    class QListWidget* m_seasons = nullptr;
};

// "Obnoviť zo zálohy": the snapshots of the open season, newest first; one is chosen.
class CObnovaZalohy : public QDialog
{
    Q_OBJECT
public:
    CObnovaZalohy(const QVector<CZaloha>& snapshots, QWidget* parent = nullptr);
    // The chosen snapshot's file; empty when none is chosen.
    QString Chosen() const;
    CMyListCtrl* List() const { return m_list; }

private:
    QVector<CZaloha> m_snapshots;
    CMyListCtrl* m_list;
};

// "Nová sezóna z tejto": the next season's name, whether the referees' test marks go on, and last
// season's final tables, from which clubs are moved to another competition (promotion, relegation)
// or left out.
class CNovaSezonaZTejto : public QDialog
{
    Q_OBJECT
public:
    CNovaSezonaZTejto(CDatabaza& db, const QVector<int>& thresholds, QWidget* parent = nullptr);
    CPrenosSezony Plan() const;
    QLineEdit* SeasonName() const { return m_name; }
    QCheckBox* KeepTestMarks() const { return m_keepMarks; }
    // Whether the suspensions not served by the season's end go into the next one (they do unless
    // she says otherwise); the list shows whose.
    QCheckBox* CarrySuspensions() const { return m_carry; }
    QTreeWidget* Suspensions() const { return m_suspensionList; }
    QTreeWidget* Tables() const { return m_tables; }
    QComboBox* Target() const { return m_target; }
    // The selected clubs go to the competition of the target selector (0: left out).
    void MoveSelected();

private:
    QLineEdit* m_name;
    QCheckBox* m_keepMarks;
    QCheckBox* m_carry;
    QTreeWidget* m_suspensionList;
    QVector<CPrenesenyTrest> m_suspensions;
    QTreeWidget* m_tables;
    QComboBox* m_target;
    QHash<int, QString> m_competitions;
};

// "Poradie pri rovnosti bodov": the overall chain or the mutual matches.
class CPoradieDialog : public QDialog
{
    Q_OBJECT
public:
    CPoradieDialog(bool mutual, bool editAccess, QWidget* parent = nullptr);
    bool Mutual() const;
    QRadioButton* MutualButton() const { return m_mutual; }

private:
    QRadioButton* m_overall;
    QRadioButton* m_mutual;
};

// "Informácie o programe".
class COProgrameDialog : public QDialog
{
    Q_OBJECT
public:
    explicit COProgrameDialog(QWidget* parent = nullptr);
};

// The person at the keyboard, answered with message boxes and file dialogs of the window.
class COknoPouzivatel : public CPouzivatel
{
public:
    COknoPouzivatel();
    ~COknoPouzivatel() override;
    void SetParent(QWidget* parent) { m_parent = parent; }
    void ShowMessage(const QString& text, Ikona icon) override;
    bool AskYesNo(const QString& text) override;
    bool AskAction(const QString& text, const QString& action) override;
    QString AskSaveFileName(const QString& caption, const QString& proposedPath,
                            const QString& filter) override;
    // Says where the file or page is when the system has no viewer for it, never nothing.
    void OpenWithSystem(const QString& pathOrAddress) override;
    // What asks the system to show a file or page (the desktop's viewer; another in tests).
    void SetOpener(std::function<bool(const QUrl&)> opener) { m_opener = std::move(opener); }
    void SetBusy(bool busy) override;
    bool Progress(const QString& label, int done, int total) override;

private:
    QWidget* m_parent = nullptr;
    std::function<bool(const QUrl&)> m_opener;
    std::unique_ptr<QProgressDialog> m_progress;
    // Where the last file was saved: a bare proposed name starts there.
    QString m_lastFolder;
};
