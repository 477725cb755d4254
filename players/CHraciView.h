#pragma once

#include "players/hraci.h"
#include "ui/CZaznamovyPohlad.h"

#include <QDialog>

class CMyListCtrl;
class CMyStatic;
class CPoleDatumu;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// "Údaje o hráčovi".
class CUdajeHraci : public QDialog
{
    Q_OBJECT
public:
    CUdajeHraci(CPouzivatel& user, const CUdajeHraca& values, QWidget* parent = nullptr);
    CUdajeHraca Values() const;
    void SetValues(const CUdajeHraca& values);
    void accept() override;

private:
    CPouzivatel& m_user;
    QLineEdit* m_meno;
    QLineEdit* m_priezvisko;
    QLineEdit* m_rc;
    CPoleDatumu* m_od;
    CPoleDatumu* m_do;
    QPlainTextEdit* m_pozn;
    QString m_previousOd;
    QString m_storedRc;
    QString m_previousDo;
};

// "Prestup hráča": the competition and club the player moves to.
class CPrestupHraca : public QDialog
{
    Q_OBJECT
public:
    CPrestupHraca(CLigaroDoc& doc, int playerRow, const QString& name, int competition,
                  QWidget* parent = nullptr);
    QListWidget* Competitions() const { return m_competitions; }
    QListWidget* Clubs() const { return m_clubs; }
    void accept() override;

private:
    void FillClubs();
    CLigaroDoc& m_doc;
    int m_player;
    QListWidget* m_competitions;
    QListWidget* m_clubs;
    class CHladanieMena* m_searching = nullptr;
};

// "Vyhľadanie hráča": players of all clubs by name and birth number.
class CSearch : public QDialog
{
    Q_OBJECT
public:
    CSearch(CLigaroDoc& doc, QWidget* parent = nullptr);
    QLineEdit* FirstName() const { return m_meno; }
    QLineEdit* Surname() const { return m_priezvisko; }
    QLineEdit* BirthNumber() const { return m_rc; }
    CMyListCtrl* Results() const { return m_results; }
    void Search();
    // The player chosen (0 without a choice).
    int ChosenPlayer() const { return m_chosen; }
    void Choose();

protected:
    // Enter in a field searches, and on what was searched takes the chosen player; Up and Down move
    // through the players found.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QStringList Typed() const;
    CLigaroDoc& m_doc;
    QLineEdit* m_meno;
    QLineEdit* m_priezvisko;
    QLineEdit* m_rc;
    CMyListCtrl* m_results;
    QStringList m_searched;
    int m_chosen = 0;
};

// "Zoznam hráčov": the players of one club of the current competition.
class CHraciView : public CZaznamovyPohlad
{
    Q_OBJECT
public:
    CHraciView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void UpdateEditAccess() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;
    bool Imports() const override { return true; }
    void Import() override;

    CMyListCtrl* List() const { return m_list; }
    QComboBox* ClubSelector() const { return m_clubs; }
    QPlainTextEdit* NoteEdit() const { return m_note; }
    QPushButton* TransferButton() const { return m_transfer; }
    QString Title() const;
    int Club() const { return m_club; }

    void EditRecord() override;
    void RemoveRecord() override;
    void Transfer();

protected:
    bool CanEdit() const override;

private:
    void FillList();

    CMyStatic* m_title;
    QComboBox* m_clubs;
    CMyListCtrl* m_list;
    QPlainTextEdit* m_note;
    QPushButton* m_transfer;
    int m_competition = 0;
    int m_club = 0;
};
