#pragma once

#include "competition/CKolovyPohlad.h"
#include "competition/generator.h"

#include <QDialog>

class CMyListCtrl;
class CMyStatic;
class CPoleDatumu;
class CPouzivatel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Vytváranie súťaže": the parameters of a generation.
class CVytvorSutaz : public QDialog
{
    Q_OBJECT
public:
    CVytvorSutaz(CPouzivatel& user, const CParametreGenerovania& defaults, const QVector<int>& rounds,
                 QWidget* parent = nullptr);
    CParametreGenerovania Values() const;
    CPoleDatumu* StartDate() const { return m_start; }
    QLineEdit* StartHour() const { return m_startHour; }
    CPoleDatumu* ReturnDate() const { return m_return; }
    QLineEdit* ReturnHour() const { return m_returnHour; }
    QComboBox* Rounds() const { return m_rounds; }
    QComboBox* Mode() const { return m_mode; }
    // Refuses a date that does not read, naming the field, before anything is generated.
    void accept() override;

private:
    CPouzivatel& m_user;
    CPoleDatumu* m_start;
    QLineEdit* m_startHour;
    CPoleDatumu* m_return;
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
class CZapasyView : public CKolovyPohlad
{
    Q_OBJECT
public:
    CZapasyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);

    void UpdateEditAccess() override;
    void CompetitionPanelChanged() override;
    std::unique_ptr<CTlacovina> Printout() override;
    void Export() override;

    QLineEdit* HomeDraw() const { return m_losD; }
    QLineEdit* AwayDraw() const { return m_losH; }
    CPoleDatumu* DateField() const { return m_date; }
    QLineEdit* TimeField() const { return m_time; }
    QLineEdit* NoteField() const { return m_note; }
    QPushButton* GenerateButton() const { return m_generate; }
    QPushButton* ClearButton() const { return m_clear; }
    QPushButton* ConfirmTimeButton() const { return m_confirm; }

    void GenerateFixturesCommand();
    void ClearCommand();
    void ConfirmTimeCommand();

protected:
    QString ListTitle(CDatabaza& db) override;
    CZoznam ListRows(CDatabaza& db) override;

private:
    void ShowMatch();
    void OnDrawNumbersEdited();
    void OnNoteEdited();
    void LayOut();

    QWidget* m_panel;
    QPushButton* m_generate;
    QPushButton* m_clear;
    QLineEdit* m_losD;
    QLineEdit* m_losH;
    CPoleDatumu* m_date;
    QLineEdit* m_time;
    QPushButton* m_confirm;
    QLineEdit* m_note;
};
