#pragma once

#include "zarovnanie.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The content of a list as the window shows it: column headers and rows of texts, each row with
// the ID of the record it stands for (0 for a row that stands for none: a blank, separator or
// title row). The window fills its list control from it; page export and printing read it.
struct CStlpecZoznamu
{
    QString header;
    Zarovnanie alignment = Zarovnanie::Vlavo;
    int width = 100; // pixels on the screen; the page's header cell width where a page uses it
};

struct CRiadokZoznamu
{
    QStringList cells;
    int id = 0;
    bool bold = false;

    QString Cell(int column) const { return cells.value(column); }
};

struct CZoznam
{
    QVector<CStlpecZoznamu> columns;
    QVector<CRiadokZoznamu> rows;

    int ColumnCount() const { return static_cast<int>(columns.size()); }
    int RowCount() const { return static_cast<int>(rows.size()); }
    QString Text(int row, int column) const
    {
        return row >= 0 && row < rows.size() ? rows.at(row).Cell(column) : QString();
    }
    QStringList ColumnTexts(int column) const
    {
        QStringList texts;
        for (const CRiadokZoznamu& r : rows)
            texts << r.Cell(column);
        return texts;
    }
    void AddColumn(const QString& header, Zarovnanie alignment, int width)
    {
        columns.append({header, alignment, width});
    }
    CRiadokZoznamu& AddRow(const QStringList& cells, int id = 0)
    {
        rows.append({cells, id, false});
        return rows.last();
    }
    // The row whose ID is `id`, or -1.
    int FindRow(int id) const;
};
