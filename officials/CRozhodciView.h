#pragma once

#include "officials/nominacie.h"
#include "officials/rozhodcovia.h"
#include "ui/CZaznamovyPohlad.h"

#include <QDialog>
#include <memory>

class CMyListCtrl;
class CMyStatic;
class CReportGenerator;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Údaje rozhodcu" / "Údaje delegáta".
class CUdajeRozhodci : public QDialog
{
    Q_OBJECT
public:
    CUdajeRozhodci(CLigaroDoc& doc, const CRegister& reg, int id, QWidget* parent = nullptr);
    CUdajeFunkcionara Values() const;
    void SetValues(const CUdajeFunkcionara& values);
    void accept() override;

private:
    CLigaroDoc& m_doc;
    const CRegister& m_reg;
    QLineEdit* m_meno;
    QLineEdit* m_priezvisko;
    QLineEdit* m_rc;
    QLineEdit* m_domov;
    QLineEdit* m_praca;
    QLineEdit* m_mobil;
    QLineEdit* m_znamka;
    QLineEdit* m_beh;
    QPlainTextEdit* m_pozn;
    QComboBox* m_sutaz;
};

// The referee or delegate register, grouped by competition, with the selected official's contacts.
class CRozhodciView : public CZaznamovyPohlad
{
    Q_OBJECT
public:
    CAgenda Agenda() const override { return CAgenda::kRozhodcovia; }
    CRozhodciView(const CRegister& reg, CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;

    CMyListCtrl* List() const { return m_list; }
    QString ContactName() const;
    void EditRecord() override;
    void RemoveRecord() override;

protected:
    bool CanEdit() const override;

private:
    void FillList();
    void ShowContacts();

    const CRegister& m_reg;
    CMyStatic* m_title;
    CMyListCtrl* m_list;
    QLabel* m_meno;
    QLabel* m_domov;
    QLabel* m_praca;
    QLabel* m_mobil;
};

// "Výber R alebo DZ": the official for one function of one match.
class CVyberRozhodcu : public QDialog
{
    Q_OBJECT
public:
    CVyberRozhodcu(CLigaroDoc& doc, int match, int function, QWidget* parent = nullptr);
    CMyListCtrl* Officials() const { return m_list; }
    QLineEdit* SearchField() const { return m_search; }
    int Chosen() const { return m_chosen; }
    void accept() override;

private:
    CLigaroDoc& m_doc;
    int m_match;
    int m_function;
    CMyListCtrl* m_list;
    QLineEdit* m_search;
    class CHladanieMena* m_searching = nullptr;
    int m_chosen = 0;
};

// "Nominácie R a DZ": officials nominated to the matches of a day or of the season.
class CNominacieView : public CPohlad
{
    Q_OBJECT
public:
    CAgenda Agenda() const override { return CAgenda::kRozhodcovia; }
    CNominacieView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    ~CNominacieView() override;
    void OnInitialUpdate() override;
    void UpdateEditAccess() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    bool Exports() const override;
    void Export() override;

    CMyListCtrl* List() const { return m_list; }
    QComboBox* DateSelector() const { return m_dates; }
    QLineEdit* MarkField(int function) const { return m_marks[function - 1]; }
    QLineEdit* NoteField() const { return m_note; }
    QLabel* NameLabel(int function) const { return m_names[function - 1]; }
    // "Meno ..." of a function (1 HR .. 4 DZ).
    void ChooseOfficial(int function);
    // Shown while the season holds nominations whose match is gone.
    QPushButton* OrphansButton() const { return m_orphans; }
    void RemoveOrphans();

private:
    void Refill();
    void ShowConflicts();
    void ShowSelected();
    void StoreMarkOf(int function);
    void StoreNote();

    CMyStatic* m_title;
    QComboBox* m_dates;
    CMyListCtrl* m_list;
    QLabel* m_names[4];
    QPushButton* m_buttons[4];
    QLineEdit* m_marks[3];
    QLineEdit* m_note;
    QPushButton* m_orphans;
    QVector<CNominacia> m_rows;
    std::unique_ptr<CReportGenerator> m_report;
    bool m_templateLoaded = false;
    bool m_filling = false;
};

// "Štatistiky známok rozhodcov".
class CZnamkyView : public CPohlad
{
    Q_OBJECT
public:
    CAgenda Agenda() const override { return CAgenda::kRozhodcovia; }
    CZnamkyView(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);
    void OnInitialUpdate() override;
    std::unique_ptr<CTlacovina> Printout() override;
    bool Prints() const override;
    CMyListCtrl* List() const { return m_list; }
    QCheckBox* TestMarkBox() const { return m_counts; }

private:
    void Compute();
    CMyListCtrl* m_list;
    QCheckBox* m_counts;
    bool m_filling = false;
};
