#pragma once

#include "CPohlad.h"

class CMyListCtrl;
class QAction;

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

protected:
    // The list and the text of its "add" item; call once the list exists.
    void SetRecordList(CMyListCtrl* list, const QString& addText);
    virtual bool CanEdit() const = 0;

private:
    CMyListCtrl* m_records = nullptr;
    QString m_addText;
};
