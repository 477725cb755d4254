#pragma once

#include "discipline/karty.h"
#include "ui/CPohlad.h"

#include <QDialog>

class CMyListCtrl;
class CMyStatic;
class CPoleDatumu;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

// The card registers of the current competition: one club or all, cards per round and in total.
class CKartyView : public CPohlad
{
    Q_OBJECT
public:
    CAgenda Agenda() const override { return CAgenda::kDisciplina; }
    CKartyView(CDruhKariet kind, CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;

    CMyListCtrl* List() const { return m_list; }
    QComboBox* ClubSelector() const { return m_clubs; }
    QString Title() const;

protected:
    void Fill();
    CDruhKariet m_kind;
    CMyStatic* m_title;
    QComboBox* m_clubs;
    CMyListCtrl* m_list;
    int m_competition = 0;
    int m_club = 0;
    bool m_filling = false;
};

// "Register ŽK": with the rounds a player sits out, and the list of those who sit out a round.
class CZKView : public CKartyView
{
    Q_OBJECT
public:
    CZKView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    QComboBox* RoundSelector() const { return m_rounds; }
    // "Vytlačiť": the players who sit out the chosen round, in the print preview.
    std::unique_ptr<CTlacovina> StopPrintout();
    void PrintStopList();

private:
    QComboBox* m_rounds;
    QPushButton* m_print;
    QLabel* m_progressLabel;
    QProgressBar* m_progress;
};

// "Register ČK".
class CCKView : public CKartyView
{
    Q_OBJECT
public:
    CCKView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
};

// "Amnestia na tresty": all yellow cards, or a number per player, given before the day it takes
// effect (today unless changed).
class CAmnestia : public QDialog
{
    Q_OBJECT
public:
    explicit CAmnestia(CPouzivatel& user, QWidget* parent = nullptr);
    bool All() const;
    int Count() const;
    QDate Day() const;
    // "Počet" without a whole number, or a day that does not read, is refused with its message; the
    // dialog stays open.
    void accept() override;
    QRadioButton* CountButton() const { return m_count; }
    QLineEdit* CountField() const { return m_number; }
    CPoleDatumu* DayField() const { return m_day; }

private:
    CPouzivatel& m_user;
    QRadioButton* m_all;
    QRadioButton* m_count;
    QLineEdit* m_number;
    CPoleDatumu* m_day;
};
