#pragma once

#include "ui/CPohlad.h"

class CMyListCtrl;
class CMyStatic;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Tabuľka": the standings of the current competition, the commission's sanctions of the selected
// club, and "Prepočítať".
class CTabulkaView : public CPohlad
{
    Q_OBJECT
public:
    CAgenda Agenda() const override { return CAgenda::kDisciplina; }
    CTabulkaView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    void UpdateEditAccess() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;

    CMyListCtrl* List() const { return m_list; }
    QPlainTextEdit* SanctionText() const { return m_trest; }
    QLineEdit* SanctionPoints() const { return m_body; }
    QPushButton* RecalculateButton() const { return m_recalculate; }
    // What decided the ties, under the table (hidden when nothing is said).
    QLabel* TieNotes() const { return m_notes; }
    QString Title() const;
    void Recalculate();
    void SavePoints();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Load();
    void ShowSanction();
    void SaveText();

    CMyStatic* m_title;
    CMyListCtrl* m_list;
    QPlainTextEdit* m_trest;
    QLineEdit* m_body;
    QPushButton* m_recalculate;
    QLabel* m_notes;
    int m_competition = 0;
    bool m_filling = false;
};
