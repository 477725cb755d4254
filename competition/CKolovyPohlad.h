#pragma once

#include "output/CZoznam.h"
#include "ui/CPohlad.h"

class CDatabaza;
struct CPolozkaKola;
class CMyListCtrl;
class CMyStatic;
class QComboBox;
class QHBoxLayout;

// Fills a round selector and selects `round`; when that round is gone, the first item is selected
// and `round` becomes its round. Returns whether `round` changed. A played round shows a tick.
bool FillRoundSelector(QComboBox* selector, const QVector<CPolozkaKola>& items, int& round);

// A list of the current competition's matches, one round at a time or all ("Všetky kolá"): the
// schedule and the results. It keeps the round selector and the list in step with the store.
class CKolovyPohlad : public CPohlad
{
    Q_OBJECT
public:
    CKolovyPohlad(const QString& title, const QVector<CStlpecZoznamu>& columns, CLigaroDoc& doc,
                  CRamecPohladov& frame, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }

    CMyListCtrl* List() const { return m_list; }
    QComboBox* RoundSelector() const { return m_rounds; }
    int SelectedRound() const { return m_round; }
    QString Title() const;
    void SelectRound(int round);

protected:
    virtual QString ListTitle(CDatabaza& db) = 0;
    virtual CZoznam ListRows(CDatabaza& db) = 0;
    // Another round is shown.
    virtual void RoundChanged() {}
    // The title and the round selector in a row, for the view's own layout.
    QHBoxLayout* TopRow();
    void LoadRounds();
    void LoadMatches();

    CMyStatic* m_title;
    QComboBox* m_rounds;
    CMyListCtrl* m_list;
    int m_competition = 0;
    int m_round = 1;
    bool m_roundChosen = false;
    // While the view fills its lists and fields itself, nothing is written.
    bool m_filling = false;
};
