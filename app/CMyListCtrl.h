#pragma once

#include "output/CZoznam.h"

#include <QTableWidget>

// A report-style list: columns with headers, grid lines, whole rows selected (and still shown when
// the list loses the focus). Each row carries the ID of its record.
class CMyListCtrl : public QTableWidget
{
    Q_OBJECT
public:
    explicit CMyListCtrl(QWidget* parent = nullptr);

    // Columns from the list's headers (alignment and width included).
    void SetColumns(const QVector<CStlpecZoznamu>& columns);
    // Rows of the list, replacing what was shown; columns are kept.
    void Fill(const CZoznam& list);
    void SetRow(int row, const CRiadokZoznamu& data);
    void SetCellText(int row, int column, const QString& text);
    void SetCellColor(int row, int column, const QColor& color);
    QString CellText(int row, int column) const;

    int RowId(int row) const;
    int SelectedRow() const;
    int SelectedId() const;
    void SelectRow(int row);
    // What the list shows, for export and printing.
    CZoznam Content() const;

private:
    QVector<CStlpecZoznamu> m_columns;
};
