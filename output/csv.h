#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <initializer_list>

// Tables as spreadsheet programs exchange them. Written the way a spreadsheet in a Slovak locale opens
// without an import wizard: UTF-8 with a byte-order mark, cells separated by semicolons, rows ended by
// CR LF, a cell quoted when it holds a separator, a quote or a line break, its quotes doubled.
// A pair of numbers shown as "2 : 0" (a score, a half time) is read by spreadsheets as a time of day;
// in a CSV it is written as "2–0", and CsvBytes writes any such cell so.
QByteArray CsvBytes(const QVector<QStringList>& rows);
QString CsvDvojica(const QString& first, const QString& second);

// One row of a read file and the line of the file it starts on (from 1).
struct CRiadokCsv
{
    QStringList cells;
    int line = 0;
};

// Reads what spreadsheet programs save: UTF-8 (with or without the byte-order mark) or Windows-1250,
// cells separated by semicolons or commas (whichever the first row uses), quoted or not, rows ended
// by CR LF, LF or CR. Rows with no text at all are left out. A quote left open at the end of the file
// is an error, told with its line, and so is a file with no row of text.
struct CCsvSubor
{
    QVector<CRiadokCsv> rows;
    QString error;
};
// A row with more cells than kNajviacStlpcovCsv is refused with its line.
CCsvSubor ReadCsv(const QByteArray& bytes);
inline constexpr int kNajviacStlpcovCsv = 1000;

// The index in a read header of the column that goes by one of `names` (letter case, blanks, dots
// and diacritics do not count: "r. č." is "RČ"), or -1.
int CsvColumn(const QStringList& header, const QStringList& names);
// A read cell, or an empty text where the row is shorter or the column missing.
QString CsvCell(const CRiadokCsv& row, int column);

// Why the first row cannot be the header: a column named twice, or a later row that repeats it (two
// files pasted together). Empty when neither.
QString CsvHeaderProblem(const CCsvSubor& file);
// Why a cell cannot go into its field: longer than the store keeps (`limit` characters), or with a
// line break in a field of one line. Empty when it can.
QString CsvCellProblem(const QString& columnTitle, const QString& text, int limit, bool lines = false);
// A cell of a row to import with the field it goes into.
struct CPoleCsv
{
    int column; // in the file's header
    QString text;
    int limit;
    bool lines = false;
};
// The first of the row's cells that cannot go into its field, as CsvCellProblem says it; empty when all can.
QString CsvCellsProblem(const QStringList& header, std::initializer_list<CPoleCsv> cells);

// The file to import, read whole only when it is an ordinary file of at most kNajvacsiSuborCsv bytes
// (a device or a huge file is refused before it is read).
struct CSuborNaDovoz
{
    QByteArray bytes;
    QString error;
};
CSuborNaDovoz ReadImportFile(const QString& path);
inline constexpr qint64 kNajvacsiSuborCsv = 20 * 1024 * 1024;

// What an import did: how many records it stored, or why it stored none.
struct CVysledokDovozu
{
    int count = 0;
    QString error;
};
