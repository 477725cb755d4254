#include "CMyListCtrl.h"

#include <QHeaderView>

namespace {
Qt::Alignment Align(Zarovnanie z)
{
    switch (z) {
    case Zarovnanie::Stred:
        return Qt::AlignCenter;
    case Zarovnanie::Vpravo:
        return Qt::AlignRight | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}
} // namespace

CMyListCtrl::CMyListCtrl(QWidget* parent) : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    setAlternatingRowColors(false);
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
}

void CMyListCtrl::SetColumns(const QVector<CStlpecZoznamu>& columns)
{
    m_columns = columns;
    setColumnCount(static_cast<int>(columns.size()));
    QStringList headers;
    for (const auto& c : columns)
        headers << c.header;
    setHorizontalHeaderLabels(headers);
    // The widths were chosen for a small system font; they grow with the font in use (and so with
    // the screen's scaling), and a column is never narrower than its header.
    const double scale = std::max(1.0, fontMetrics().averageCharWidth() / 5.5);
    for (int i = 0; i < columns.size(); ++i) {
        horizontalHeaderItem(i)->setTextAlignment(Align(columns.at(i).alignment));
        const int header = horizontalHeader()->fontMetrics().horizontalAdvance(columns.at(i).header) + 14;
        setColumnWidth(i, std::max(header, static_cast<int>(columns.at(i).width * scale)));
    }
}

void CMyListCtrl::SetRow(int row, const CRiadokZoznamu& data)
{
    for (int c = 0; c < columnCount(); ++c) {
        auto* item = new QTableWidgetItem(data.Cell(c));
        item->setTextAlignment(Align(m_columns.value(c).alignment));
        if (data.bold) {
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
        }
        if (c == 0)
            item->setData(Qt::UserRole, data.id);
        setItem(row, c, item);
    }
}

void CMyListCtrl::Fill(const CZoznam& list)
{
    setUpdatesEnabled(false);
    const bool blocked = blockSignals(true);
    clearContents();
    setRowCount(list.RowCount());
    for (int r = 0; r < list.RowCount(); ++r)
        SetRow(r, list.rows.at(r));
    blockSignals(blocked);
    setUpdatesEnabled(true);
}

void CMyListCtrl::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* it = item(row, column))
        it->setText(text);
}

void CMyListCtrl::SetCellColor(int row, int column, const QColor& color)
{
    if (QTableWidgetItem* it = item(row, column))
        it->setForeground(color);
}

QString CMyListCtrl::CellText(int row, int column) const
{
    const QTableWidgetItem* it = item(row, column);
    return it ? it->text() : QString();
}

int CMyListCtrl::RowId(int row) const
{
    const QTableWidgetItem* it = item(row, 0);
    return it ? it->data(Qt::UserRole).toInt() : 0;
}

int CMyListCtrl::SelectedRow() const
{
    const QList<QTableWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

int CMyListCtrl::SelectedId() const
{
    const int row = SelectedRow();
    return row < 0 ? 0 : RowId(row);
}

void CMyListCtrl::SelectRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    selectRow(row);
    setCurrentCell(row, 0);
    scrollToItem(item(row, 0));
}

CZoznam CMyListCtrl::Content() const
{
    CZoznam out;
    out.columns = m_columns;
    for (int r = 0; r < rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columnCount(); ++c)
            cells << CellText(r, c);
        out.AddRow(cells, RowId(r));
    }
    return out;
}
