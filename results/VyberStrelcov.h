#pragma once

#include "results/strelcidialog.h"

#include <QDialog>

class CLigaroDoc;
class CMyListCtrl;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// "Výber strelcov": who scored the side's goals and who got yellow and red cards in the match.
class VyberStrelcov : public QDialog
{
    Q_OBJECT
public:
    VyberStrelcov(CLigaroDoc& doc, int competition, int matchId, CStrana side, QWidget* parent = nullptr);

    CMyListCtrl* Players() const { return m_players; }
    CMyListCtrl* Target(CKategoria category) const { return m_targets[category]; }
    QPushButton* AddButton(CKategoria category) const { return m_add[category]; }
    QPushButton* RemoveButton(CKategoria category) const { return m_remove[category]; }
    QPushButton* NewPlayerButton() const { return m_newPlayer; }
    QPushButton* OkButton() const { return m_ok; }
    // Shown for a match without a result that still has goals or cards: empties the three lists.
    QPushButton* ClearButton() const { return m_clear; }
    QLineEdit* SearchField() const { return m_search; }

    void AddSelected(CKategoria category);
    bool MayEdit(CKategoria category) const;
    void RemoveSelected(CKategoria category);
    void NewPlayer();
    void accept() override;
    void UpdateEnabling();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillPlayers();
    void Narrow(const QString& text);
    void AddOwnGoal();
    void AppendRow(CMyListCtrl* list, int player, const QString& name);

    CLigaroDoc& m_doc;
    int m_competition;
    CStranaZapasu m_side;
    CMyListCtrl* m_players;
    CMyListCtrl* m_targets[3];
    QPushButton* m_add[3];
    QPushButton* m_remove[3];
    QPushButton* m_newPlayer;
    QPushButton* m_ok;
    QPushButton* m_clear;
    QLabel* m_withoutResult;
    QLineEdit* m_search;
    QTimer* m_timer;
    bool m_toldTooMany = false;
};
