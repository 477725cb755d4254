#include "CZaznamovyPohlad.h"

#include "CMyListCtrl.h"
#include "prikazy.h"

#include "db/CLigaroDoc.h"
#include "output/CMyExport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

CZaznamovyPohlad::CZaznamovyPohlad(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent)
    : CPohlad(doc, frame, parent)
{
}

void CZaznamovyPohlad::SetRecordList(CMyListCtrl* list, const QString& addText)
{
    m_records = list;
    m_addText = addText;
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &CMyListCtrl::itemSelectionChanged, this, [this] { m_frame.UpdateCommands(); });
    connect(list, &CMyListCtrl::cellDoubleClicked, this, [this] {
        if (CanEdit())
            EditRecord();
    });
    // Insert and Delete on the list add and remove records as the toolbar does; Delete still asks.
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), list, nullptr, nullptr, Qt::WidgetShortcut);
    connect(insert, &QShortcut::activated, this, [this] { RunCommand(kPrikazPridat); });
    auto* remove = new QShortcut(QKeySequence::Delete, list, nullptr, nullptr, Qt::WidgetShortcut);
    connect(remove, &QShortcut::activated, this, [this] { RunCommand(kPrikazVymazat); });
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
    return command == kPrikazPridat || command == kPrikazUpravit || command == kPrikazVymazat ||
           (command == kPrikazImport && Imports());
}

bool CZaznamovyPohlad::CommandEnabled(int command) const
{
    if (command == kPrikazPridat || command == kPrikazImport)
        return CanEdit();
    return CanEdit() && m_records && m_records->SelectedId() != 0;
}

void CZaznamovyPohlad::RunCommand(int command)
{
    if (!CommandEnabled(command))
        return;
    if (command == kPrikazPridat)
        AddRecord();
    else if (command == kPrikazImport)
        Import();
    else if (command == kPrikazUpravit)
        EditRecord();
    else
        RemoveRecord();
}

void CZaznamovyPohlad::ImportFile(const QString& caption, const CDovoz& import, const QString& doneText)
{
    const QString path = QFileDialog::getOpenFileName(this, caption, QDir::homePath(),
                                                      kFilterCsv + QStringLiteral(";;Všetky súbory (*)"));
    if (path.isEmpty())
        return;
    const CSuborNaDovoz file = ReadImportFile(path);
    if (!file.error.isEmpty()) {
        m_doc.User().ShowMessage(QStringLiteral("%1\n\nNič sa neuložilo.").arg(file.error),
                                 CPouzivatel::Ikona::Vykricnik);
        return;
    }
    CVysledokDovozu result;
    if (!m_doc.Run([&] { result = import(m_doc.Database(), file.bytes); }))
        return;
    if (!result.error.isEmpty()) {
        m_doc.User().ShowMessage(
            QStringLiteral("%1\n\n%2\nNič sa neuložilo.").arg(QDir::toNativeSeparators(path), result.error),
            CPouzivatel::Ikona::Vykricnik);
        return;
    }
    OnInitialUpdate();
    m_doc.User().ShowMessage(doneText.arg(result.count));
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
    QList<QAction*> actions = {add, edit, remove};
    if (Imports()) {
        auto* import = new QAction(QStringLiteral("Importovať..."), this);
        connect(import, &QAction::triggered, this, [this] { Import(); });
        actions << import;
    }
    return actions + ExtraContextActions();
}

void CZaznamovyPohlad::SetRecordNote(QPlainTextEdit* note, int column, CCitajPoznamku read,
                                     CZapisPoznamku write)
{
    m_noteBox = note;
    m_noteColumn = column;
    m_readNote = std::move(read);
    m_writeNote = std::move(write);
    connect(m_records, &CMyListCtrl::itemSelectionChanged, this, &CZaznamovyPohlad::ShowNote);
    connect(note, &QPlainTextEdit::textChanged, this, &CZaznamovyPohlad::SaveNote);
}

void CZaznamovyPohlad::ShowNote()
{
    const int id = m_records->SelectedId();
    if (id == 0)
        return;
    const bool filling = m_filling;
    m_filling = true;
    m_doc.Run([&] { m_noteBox->setPlainText(m_readNote(m_doc.Database(), id)); });
    m_filling = filling;
}

void CZaznamovyPohlad::SaveNote()
{
    if (m_filling || !m_doc.HasEditAccess())
        return;
    const int row = m_records->SelectedRow();
    if (row < 0)
        return;
    const QString text = m_noteBox->toPlainText();
    m_records->SetCellText(row, m_noteColumn, text);
    const int id = m_records->RowId(row);
    if (id != 0)
        m_doc.Run([&] { m_writeNote(m_doc.Database(), id, text); });
}
