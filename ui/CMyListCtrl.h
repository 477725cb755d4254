#pragma once

#include "output/CZoznam.h"

#include <QTableView>

class CModelZoznamu;

// A report-style list: columns with headers, grid lines, whole rows selected (and still shown when
// the list loses the focus). Each row carries the ID of its record. The rows are a model of the
// core's list, so that a season's 15,000 matches are shown as quickly as fifteen.
// Where the lists keep the column widths the user set (the user's settings, in the window).
class CSirkyStlpcov
{
public:
    virtual ~CSirkyStlpcov() = default;
    virtual QVector<int> ColumnWidths(const QString& list) const = 0;
    virtual void SetColumnWidths(const QString& list, const QVector<int>& widths) = 0;
};

class CMyListCtrl : public QTableView
{
    Q_OBJECT
public:
    explicit CMyListCtrl(QWidget* parent = nullptr);
    ~CMyListCtrl() override;

    // Columns from the list's headers (alignment and width included).
    void SetColumns(const QVector<CStlpecZoznamu>& columns);
    // Rows of the list, replacing what was shown; columns are kept.
    void Fill(const CZoznam& list);
    void SetRow(int row, const CRiadokZoznamu& data);
    void SetCellText(int row, int column, const QString& text);
    void SetCellColor(int row, int column, const QColor& color);
    QString CellText(int row, int column) const;
    QColor CellColor(int row, int column) const;
    // A cell marked with a warning sign and bold type, seen also while its row is selected.
    void SetCellWarning(int row, int column, bool warning);
    bool CellWarning(int row, int column) const;
    QString HeaderText(int column) const;

    int rowCount() const;
    int columnCount() const;
    // Grows the list with blank rows or cuts it to `rows`.
    void setRowCount(int rows);
    void removeRow(int row);

    int RowId(int row) const;
    int SelectedRow() const;
    int SelectedId() const;
    void SelectRow(int row);
    // What the list shows, for export and printing.
    CZoznam Content() const;
    // The list keeps the widths the user drags its columns to in `store` under `name` (a set for each
    // number of columns, as a register's rounds vary) and shows them again whenever it has that many.
    void RememberWidths(CSirkyStlpcov* store, const QString& name);
    // The whole text of the cell at a point of the viewport when its column is too narrow for it
    // (shown as a tool tip); empty when the cell shows it whole.
    QString ToolTipAt(const QPoint& position) const;

signals:
    void itemSelectionChanged();
    // A double click on a cell, or Enter on the current row.
    void cellDoubleClicked(int row, int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QString WidthsKey() const;
    bool HasRememberedWidths() const;
    void ApplyRememberedWidths();
    void FitNarrowColumns();
    // Every column in sight without scrolling sideways: while the list is narrower than its columns'
    // widths, the widest of the wide columns (names, notes) give way, never below their header or
    // a hundred pixels; a wider list gives them back. Widths the user chose are left alone.
    void FitToWidth();
    QVector<int> m_natural; // the widths the columns would have with room enough
    bool m_userWidths = false;

    CModelZoznamu* m_model;
    CSirkyStlpcov* m_widthStore = nullptr;
    QString m_widthName;
    // Widths set by the program are not the user's.
    bool m_settingWidths = false;
};
