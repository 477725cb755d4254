#pragma once

#include "CPohlad.h"
#include "output/csv.h"

#include <functional>

class CDatabaza;
class CMyListCtrl;
class QAction;
class QPlainTextEdit;

// A register of records (clubs, players, officials): a list ending in a blank row, records added,
// edited and removed from the toolbar, the context menu and by a double click, with edit access.
class CZaznamovyPohlad : public CPohlad
{
    Q_OBJECT
public:
    CZaznamovyPohlad(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);

    bool TakesCommand(int command) const override;
    bool CommandEnabled(int command) const override;
    void RunCommand(int command) override;
    // The context menu's actions ("Pridať ...", "Upraviť údaje", "Odstrániť"); empty when it does not
    // appear.
    QList<QAction*> ContextActions();

    // Selects the blank row and edits it: a new record.
    void AddRecord();
    virtual void EditRecord() = 0;
    virtual void RemoveRecord() = 0;
    // Registers that add records from a spreadsheet's table ("Importovať...").
    virtual bool Imports() const { return false; }
    virtual void Import() {}

protected:
    // Asks for a CSV file and adds its records with `import`; tells how many, or why none.
    using CDovoz = std::function<CVysledokDovozu(CDatabaza&, const QByteArray&)>;
    void ImportFile(const QString& caption, const CDovoz& import, const QString& doneText);
    // The list and the text of its "add" item; call once the list exists.
    void SetRecordList(CMyListCtrl* list, const QString& addText);
    // A note box under the list: it shows the selected record's note and writes it as it is typed
    // (with edit access), mirrored into the list's column `column`.
    using CCitajPoznamku = std::function<QString(CDatabaza&, int id)>;
    using CZapisPoznamku = std::function<void(CDatabaza&, int id, const QString&)>;
    void SetRecordNote(QPlainTextEdit* note, int column, CCitajPoznamku read, CZapisPoznamku write);
    // While the view fills its list or note itself, nothing typed is written.
    bool m_filling = false;
    virtual bool CanEdit() const = 0;
    // Actions of the register's own, after the common ones.
    virtual QList<QAction*> ExtraContextActions() { return {}; }

private:
    void ShowNote();
    void SaveNote();

    CMyListCtrl* m_records = nullptr;
    QString m_addText;
    QPlainTextEdit* m_noteBox = nullptr;
    int m_noteColumn = 0;
    CCitajPoznamku m_readNote;
    CZapisPoznamku m_writeNote;
};
