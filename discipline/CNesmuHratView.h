#pragma once

#include "ui/CPohlad.h"

class CMyListCtrl;
class CMyStatic;
class QComboBox;

// "Kto nesmie hrať": who may not play in his club's match of a round, and why; one club or all.
class CNesmuHratView : public CPohlad
{
    Q_OBJECT
public:
    CAgenda Agenda() const override { return CAgenda::kDisciplina; }
    CNesmuHratView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;

    CMyListCtrl* List() const { return m_list; }
    QComboBox* ClubSelector() const { return m_clubs; }
    QComboBox* RoundSelector() const { return m_rounds; }
    QString Title() const;

private:
    void Fill();
    CMyStatic* m_title;
    QComboBox* m_clubs;
    QComboBox* m_rounds;
    CMyListCtrl* m_list;
    int m_competition = 0;
    int m_club = 0;
    int m_round = 0;
    bool m_filling = false;
};
