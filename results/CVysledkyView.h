#pragma once

#include "competition/CKolovyPohlad.h"
#include "results/vysledky.h"

class CMyListCtrl;
class QLineEdit;
class QPushButton;
class QTabBar;

// "Výsledky": the results of the current competition, entered match by match; the scorers and cards
// of both sides of the selected match.
class CVysledkyView : public CKolovyPohlad
{
    Q_OBJECT
public:
    CVysledkyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void UpdateEditAccess() override;
    std::unique_ptr<CTlacovina> Printout() override;
    void Export() override;

    QLineEdit* HomeScore() const { return m_home; }
    QLineEdit* AwayScore() const { return m_away; }
    QLineEdit* HomeHalfTime() const { return m_homeHalf; }
    QLineEdit* AwayHalfTime() const { return m_awayHalf; }
    QLineEdit* NoteField() const { return m_note; }
    QTabBar* Categories() const { return m_tabs; }
    CMyListCtrl* HomeEntries() const { return m_homeEntries; }
    CMyListCtrl* AwayEntries() const { return m_awayEntries; }

    // Opens the scorers and cards of one side of the selected match.
    void EditSide(CStrana side);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    QString ListTitle(CDatabaza& db) override;
    CZoznam ListRows(CDatabaza& db) override;
    void RoundChanged() override { LoadEntries(); }

private:
    void ShowResult();
    void LoadEntries();
    void OnFieldEdited(QLineEdit* field);
    // A field left with half a pair in it ("3:") is refused and shows what is stored again.
    void RefuseUnfinished(QLineEdit* field);
    void StoreScores(CStrana side);
    // The four score fields as `fields` hold them.
    void FillScoreFields(const CPolickaVysledku& fields);
    // The match in `row` as `shown` in the fields and the list.
    void ShowScores(int row, const CPolickaVysledku& shown);
    // The list's row alone, the fields as they are.
    void ShowListScores(int row, const CPolickaVysledku& shown);
    // The next match of the list that is not a bye, its home score ready for typing.
    void NextMatch();
    void OnNoteEdited();

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
    bool m_bye = false;
    bool m_refusing = false;
    std::optional<CPolickaVysledku> m_beforeEdit;
    QLineEdit* m_editedField = nullptr;
};
