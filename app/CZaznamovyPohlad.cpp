#include "CZaznamovyPohlad.h"

#include "CMyListCtrl.h"
#include "prikazy.h"

#include <QAction>
#include <QMenu>

CZaznamovyPohlad::CZaznamovyPohlad(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent)
{
}

void CZaznamovyPohlad::SetRecordList(CMyListCtrl* list, const QString& addText)
{
    m_records = list;
    m_addText = addText;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QTableWidget::itemSelectionChanged, this, [this] { m_frame.UpdateCommands(); });
    connect(list, &QTableWidget::cellDoubleClicked, this, [this] {
        if (CanEdit())
            EditRecord();
    });
    connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QList<QAction*> actions = ContextActions();
        if (actions.isEmpty())
            return;
        QMenu menu(this);
        menu.addActions(actions);
        menu.exec(m_records->viewport()->mapToGlobal(at));
        qDeleteAll(actions);
    });
}

bool CZaznamovyPohlad::TakesCommand(int command) const
{
    return command == kPrikazPridat || command == kPrikazUpravit || command == kPrikazVymazat;
}

bool CZaznamovyPohlad::CommandEnabled(int command) const
{
    if (command == kPrikazPridat)
        return CanEdit();
    return CanEdit() && m_records && m_records->SelectedId() != 0;
}

void CZaznamovyPohlad::RunCommand(int command)
{
    if (!CommandEnabled(command))
        return;
    if (command == kPrikazPridat)
        AddRecord();
    else if (command == kPrikazUpravit)
        EditRecord();
    else
        RemoveRecord();
}

void CZaznamovyPohlad::AddRecord()
{
    m_records->SelectRow(m_records->rowCount() - 1);
    EditRecord();
}

QList<QAction*> CZaznamovyPohlad::ContextActions()
{
    if (!CanEdit())
        return {};
    const bool onRecord = m_records->SelectedId() != 0;
    auto* add = new QAction(m_addText, this);
    auto* edit = new QAction(QStringLiteral("Upraviť údaje"), this);
    auto* remove = new QAction(QStringLiteral("Odstrániť"), this);
    edit->setEnabled(onRecord);
    remove->setEnabled(onRecord);
    connect(add, &QAction::triggered, this, &CZaznamovyPohlad::AddRecord);
    connect(edit, &QAction::triggered, this, [this] { EditRecord(); });
    connect(remove, &QAction::triggered, this, [this] { RemoveRecord(); });
    return {add, edit, remove};
}
