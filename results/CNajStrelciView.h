#pragma once

#include "ui/CPohlad.h"

class CMyListCtrl;
class CMyStatic;

// "Najlepší strelci": the scorers of the current competition, most goals first.
class CNajStrelciView : public CPohlad
{
    Q_OBJECT
public:
    CNajStrelciView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;
    CMyListCtrl* List() const { return m_list; }

private:
    CMyStatic* m_title;
    CMyListCtrl* m_list;
    int m_competition = 0;
};
