#include "historiazmien.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/subory.h"
#include "output/CMyExport.h"
#include "output/csv.h"
#include "ui/CMyListCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CHistoriaZmien::CHistoriaZmien(CLigaroDoc& doc, int match, int player, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_scope(new QComboBox(this)),
      m_fromDay(new QCheckBox(QStringLiteral("&Od dňa:"), this)),
      m_since(new QDateEdit(QDate::currentDate(), this)), m_list(new CMyListCtrl(this))
{
    setWindowTitle(QStringLiteral("História zmien"));
    QVector<CRozsahHistorie> scopes{{QStringLiteral("Celá sezóna"), {}}};
    m_doc.Run([&] { scopes = HistoryScopes(m_doc.Database(), match, player); });
    for (const CRozsahHistorie& scope : std::as_const(scopes))
        m_scope->addItem(scope.text, QStringList{scope.selection.table, scope.selection.key});
    // What she chose in the window is what she most likely asks about.
    m_scope->setCurrentIndex(m_scope->count() > 1 ? 1 : 0);
    m_since->setCalendarPopup(true);
    m_since->setDisplayFormat(QStringLiteral("d. M. yyyy"));
    m_since->setEnabled(false);
    // Widths for what the columns hold: a time, a login, a row named whole, the kind of change and
    // the changed values before and after.
    const int widths[] = {140, 100, 380, 80, 260, 260};
    QVector<CStlpecZoznamu> columns;
    for (int i = 0; i < HistoryColumns().size(); ++i)
        columns.push_back({HistoryColumns().at(i), Zarovnanie::Vlavo, widths[std::min<int>(i, 5)]});
    m_list->SetColumns(columns);

    auto* scopeLabel = new QLabel(QStringLiteral("&Čo:"), this);
    scopeLabel->setBuddy(m_scope);
    auto* top = new QHBoxLayout;
    top->addWidget(scopeLabel);
    top->addWidget(m_scope, 1);
    top->addWidget(m_fromDay);
    top->addWidget(m_since);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* csv = buttons->addButton(QStringLiteral("Uložiť ako &CSV..."), QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(1280, 560);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(csv, &QPushButton::clicked, this, &CHistoriaZmien::SaveCsv);
    connect(m_scope, &QComboBox::currentIndexChanged, this, &CHistoriaZmien::Load);
    connect(m_fromDay, &QCheckBox::toggled, this, [this](bool on) {
        m_since->setEnabled(on);
        Load();
    });
    connect(m_since, &QDateEdit::dateChanged, this, &CHistoriaZmien::Load);
    Load();
}

void CHistoriaZmien::Load()
{
    const QStringList scope = m_scope->currentData().toStringList();
    CVyberHistorie selection;
    selection.table = scope.value(0);
    selection.key = scope.value(1);
    if (m_fromDay->isChecked())
        selection.since = m_since->date().startOfDay();
    m_rows.clear();
    m_doc.Run([&] { m_rows = HistoryRows(m_doc.Database(), selection); });
    CZoznam list;
    for (const CRiadokHistorie& r : std::as_const(m_rows))
        list.rows.push_back({HistoryCells(r), 0, false});
    m_list->Fill(list);
    m_list->scrollToBottom();
}

void CHistoriaZmien::SaveCsv()
{
    const QString path = m_doc.User().AskSaveFileName(QStringLiteral("Uložiť históriu zmien"),
                                                      QStringLiteral("historia-zmien.csv"), kFilterCsv);
    if (path.isEmpty())
        return;
    m_doc.Run([&] { WriteWholeFile(path, CsvBytes(HistoryTable(m_rows))); });
}
