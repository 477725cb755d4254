#pragma once

#include "app/CPohlad.h"
#include "competition/generator.h"

#include <QDialog>

class CMyListCtrl;
class CMyStatic;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Vytváranie súťaže": the parameters of a generation.
class CVytvorSutaz : public QDialog
{
    Q_OBJECT
public:
    CVytvorSutaz(const CParametreGenerovania& defaults, const QVector<int>& rounds,
                 QWidget* parent = nullptr);
    CParametreGenerovania Values() const;
    QDateEdit* StartDate() const { return m_start; }
    QLineEdit* StartHour() const { return m_startHour; }
    QDateEdit* ReturnDate() const { return m_return; }
    QLineEdit* ReturnHour() const { return m_returnHour; }
    QComboBox* Rounds() const { return m_rounds; }
    QComboBox* Mode() const { return m_mode; }

private:
    QDateEdit* m_start;
    QLineEdit* m_startHour;
    QDateEdit* m_return;
    QLineEdit* m_returnHour;
    QComboBox* m_rounds;
    QComboBox* m_mode;
};

// "Upraviť čas": the kick-off for the selected match or for its whole round.
class CDialogUpravitCas : public QDialog
{
    Q_OBJECT
public:
    explicit CDialogUpravitCas(QWidget* parent = nullptr);
    bool WholeRound() const;
    QRadioButton* WholeRoundButton() const { return m_round; }

private:
    QRadioButton* m_match;
    QRadioButton* m_round;
};

// "Rozpis zápasov": the fixture list of the current competition, a round at a time or all; generation
// and clearing, single corrections, kick-off times and notes.
class CZapasyView : public CPohlad
{
    Q_OBJECT
public:
    CZapasyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void UpdateEditAccess() override;
    void CompetitionPanelChanged() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;

    CMyListCtrl* List() const { return m_list; }
    QComboBox* RoundSelector() const { return m_rounds; }
    QLineEdit* HomeDraw() const { return m_losD; }
    QLineEdit* AwayDraw() const { return m_losH; }
    QDateEdit* DateField() const { return m_date; }
    QLineEdit* TimeField() const { return m_time; }
    QLineEdit* NoteField() const { return m_note; }
    QPushButton* GenerateButton() const { return m_generate; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* ConfirmTimeButton() const { return m_confirm; }
    int SelectedRound() const { return m_round; }
    QString Title() const;

    void GenerateFixturesCommand();
    void ClearCommand();
    void ConfirmTimeCommand();
    void SelectRound(int round);

private:
    void LoadRounds();
    void LoadMatches();
    void ShowMatch();
    void OnDrawNumbersEdited();
    void OnNoteEdited();
    void LayOut();

    CMyStatic* m_title;
    QComboBox* m_rounds;
    CMyListCtrl* m_list;
    QWidget* m_panel;
    QPushButton* m_generate;
    QPushButton* m_clear;
    QLineEdit* m_losD;
    QLineEdit* m_losH;
    QDateEdit* m_date;
    QLineEdit* m_time;
    QPushButton* m_confirm;
    QLineEdit* m_note;
    int m_competition = 0;
    int m_round = 1;
    bool m_filling = false;
};
