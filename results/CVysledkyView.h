#pragma once

#include "app/CPohlad.h"
#include "results/vysledky.h"

class CMyListCtrl;
class CMyStatic;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabBar;

// "Výsledky": the results of the current competition, entered match by match; the scorers and cards
// of both sides of the selected match.
class CVysledkyView : public CPohlad
{
    Q_OBJECT
public:
    CVysledkyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void UpdateEditAccess() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;

    CMyListCtrl* List() const { return m_list; }
    QComboBox* RoundSelector() const { return m_rounds; }
    QLineEdit* HomeScore() const { return m_home; }
    QLineEdit* AwayScore() const { return m_away; }
    QLineEdit* HomeHalfTime() const { return m_homeHalf; }
    QLineEdit* AwayHalfTime() const { return m_awayHalf; }
    QLineEdit* NoteField() const { return m_note; }
    QTabBar* Categories() const { return m_tabs; }
    CMyListCtrl* HomeEntries() const { return m_homeEntries; }
    CMyListCtrl* AwayEntries() const { return m_awayEntries; }
    QString Title() const;

    // Opens the scorers and cards of one side of the selected match.
    void EditSide(CStrana side);

private:
    void LoadRounds();
    void LoadMatches();
    void ShowResult();
    void LoadEntries();
    void OnScoreEdited(CStrana side);
    void OnNoteEdited();

    CMyStatic* m_title;
    QComboBox* m_rounds;
    CMyListCtrl* m_list;
    QLineEdit* m_home;
    QLineEdit* m_away;
    QLineEdit* m_homeHalf;
    QLineEdit* m_awayHalf;
    QLineEdit* m_note;
    QPushButton* m_homeButton;
    QPushButton* m_awayButton;
    CMyListCtrl* m_homeEntries;
    CMyListCtrl* m_awayEntries;
    QTabBar* m_tabs;
    int m_competition = 0;
    int m_round = 1;
    bool m_filling = false;
};
