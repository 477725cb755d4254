#pragma once

#include "competition/kluby.h"
#include "ui/CZaznamovyPohlad.h"

#include <QDialog>

#include <functional>

class CMyListCtrl;
class CMyStatic;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Údaje o klube".
class CKubUdaje : public QDialog
{
    Q_OBJECT
public:
    CKubUdaje(CPouzivatel& user, const CUdajeKlubu& values, QWidget* parent = nullptr);
    CUdajeKlubu Values() const;
    void SetValues(const CUdajeKlubu& values);
    void accept() override;

private:
    CPouzivatel& m_user;
    QLineEdit* m_nazov;
    QLineEdit* m_kontakt1;
    QLineEdit* m_kontakt2;
    QLineEdit* m_vylosovanie;
    QPlainTextEdit* m_pozn;
};

// "Odstúpenie klubu": the day the club withdrew, and whether its results are annulled.
class COdstupenieKlubu : public QDialog
{
    Q_OBJECT
public:
    COdstupenieKlubu(CPouzivatel& user, const QString& club, QWidget* parent = nullptr);
    QDate Day() const;
    bool Annul() const;
    class CPoleDatumu* DayField() const { return m_day; }
    class QCheckBox* AnnulBox() const { return m_annul; }
    void accept() override;

private:
    CPouzivatel& m_user;
    class CPoleDatumu* m_day;
    class QCheckBox* m_annul;
};

// Withdrawing a club and cancelling it, as the season's commands do them: writing a withdrawal
// recalculates the standings, which are the results' own, so the window hands them to the clubs list.
// False when nothing was done.
struct CPrikazyOdstupenia
{
    std::function<bool(CLigaroDoc& doc, int club, const QDate& day, bool annul)> withdraw;
    std::function<bool(CLigaroDoc& doc, int club)> cancel;
};

// "Zoznam klubov": the clubs of the current competition by drawn number, with a note per club.
class CLigaroView : public CZaznamovyPohlad
{
    Q_OBJECT
public:
    CLigaroView(CLigaroDoc& doc, CRamecPohladov& frame, CPrikazyOdstupenia withdrawal,
                QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    void UpdateEditAccess() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override { return Prints(); }
    void Export() override;
    bool Imports() const override { return true; }
    void Import() override;

    CMyListCtrl* List() const { return m_list; }
    QPlainTextEdit* NoteEdit() const { return m_note; }
    QString Title() const;

    // Edits the club of the selected row (adds one on the blank row) through the dialog.
    void EditRecord() override;
    void RemoveRecord() override;
    // Withdraws the selected club, or cancels its withdrawal.
    void WithdrawSelected();
    QPushButton* WithdrawButton() const { return m_withdraw; }

protected:
    bool CanEdit() const override;
    QList<QAction*> ExtraContextActions() override;

private:
    void FillClubList();

    CMyStatic* m_title;
    CMyListCtrl* m_list;
    QLabel* m_noteLabel;
    QPlainTextEdit* m_note;
    QPushButton* m_withdraw;
    CPrikazyOdstupenia m_withdrawal;
    int m_competition = 0;
    // The selected club's withdrawal ("Zrušiť odstúpenie" then), if any.
    bool SelectedWithdrawn();
    void UpdateWithdrawButton();
};
