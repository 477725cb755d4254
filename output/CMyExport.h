#pragma once

#include "zarovnanie.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class CPouzivatel;
struct CZoznam;

// Builds one static HTML page: the fixed page frame, tables of header and data cells, and the foot.
// Texts given to it are data: they are written with "&", "<", ">" and '"' escaped, so that a club
// named "A & B" or a note with "<" shows as typed and cannot break the page. Markup the program
// builds itself goes through CellHtml and AppendRaw.
// The same rows are kept as a spreadsheet's table: every row of every table in order, a table's
// heading as a row of its own, an empty row between tables.
class CMyExport
{
public:
    virtual ~CMyExport();

    void BeginPage(const QString& line, const QString& title, const QString& season);
    void BeginTable(int columns, const QString& heading);
    void HeadCell(int column, const QString& text, Zarovnanie alignment, int width);
    void Cell(int column, const QString& text, Zarovnanie alignment);
    void CellHtml(int column, const QString& html, Zarovnanie alignment);
    void EndTable();
    void EndPage();
    // The whole list as tables: flat when its first cell has text, else grouped by its title rows.
    void ExportList(const CZoznam& list, const QString& heading);
    void AppendRaw(const QString& html);
    // The spreadsheet's cells of the row just written, where they differ from the page's (a name
    // shown in one cell kept in two).
    void SetCsvRow(const QStringList& cells);
    // The spreadsheet's table as a whole, where it is not the page's (one flat table with a header).
    void SetCsvRows(const QVector<QStringList>& rows) { m_rows = rows; }

    // The page as the file holds it: Windows-1250 bytes with CR LF line ends.
    QByteArray CopyText() const;
    const QString& Text() const { return m_page; }
    const QVector<QStringList>& Rows() const { return m_rows; }
    // The rows as a CSV file (see csv.h).
    QByteArray CsvText() const;

    static QString Escape(const QString& text);
    // The same, appended to `out`.
    static void AppendEscaped(QString& out, const QString& text);

private:
    void Line(const QString& text);
    // A cell of data: a text, escaped, or markup the program built, as it stands.
    void DataCell(int column, const QString& text, bool markup, Zarovnanie alignment);
    void RowStart(int column);
    void RowEnd(int column);

    QString m_page;
    int m_columns = 0;
    QVector<QStringList> m_rows;
};

// The export command of every list: the page is built first, then the file is chosen, written in
// one piece (ending in ".html"), and the user may look at it. Returns the file written, or an empty
// text when the user cancelled or the file could not be written (the user was told why).
// A name ending in ".csv" is written as a spreadsheet's table.
QString SaveExportedPage(CPouzivatel& user, const CMyExport& page, const QString& initialName);

// The extension rule of the export: the name keeps an ".html" or ".csv" extension in any case;
// anything else gets ".html" appended.
QString ExportFileName(const QString& chosen);
bool IsCsvFileName(const QString& path);

inline const QString kFilterHtml = QStringLiteral("HTML stránka (*.html)");
inline const QString kFilterCsv = QStringLiteral("Tabuľka CSV (*.csv)");
