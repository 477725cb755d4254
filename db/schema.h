#pragma once

#include <QString>
#include <QStringList>

// The twelve tables of a season file, their columns and indexes, in one place.

// Every table a season file holds, in the order they are created.
const QStringList& SeasonTables();

// Whether a column is a date column (read as a date, written in the stored date form).
bool IsDateColumn(const QString& column);
// Whether a column holds text that lists sort by name (sorted in Slovak order).
bool IsTextColumn(const QString& column);

// The longest text a column holds as the program writes it (a note of a scheduled match 100
// characters, the commission's sanction kDlzkaTrestu, every other text 255). A longer text written by
// another tool is cut to it wherever it is read, so that a page or a printout never meets a name a
// megabyte long.
inline constexpr int kDlzkaTrestu = 4000; // a sanction is typed as a paragraph or two, never cut at 255
int FieldLength(QStringView column);
QString LimitedText(const QString& text, QStringView column);

// The statements that create an empty season file: tables, indexes, the `theslo` row with an empty
// password and the own-goal player. A file converted from another store keeps whatever NULL that
// store held, in integer columns too (`nullableIntegers`).
QStringList NewSeasonStatements(bool nullableIntegers = false);

// The columns the program reads from each table of a season file (the upgrade columns apart, which
// are added when missing, and `tbody.ID`, which nothing reads).
const QList<QPair<QString, QStringList>>& RequiredColumns();

// Indexes that back the frequent queries; created when missing whenever a season file is opened.
QStringList IndexStatements();

// Columns that newer season files have in `tzapasy` and older ones lack, with the declaration used
// to add them and the value every existing row gets.
struct CUpgradeColumn
{
    QString table;
    QString column;
    QString type;
    int defaultValue;
};
const QList<CUpgradeColumn>& UpgradeColumns();
// Columns the program's own tables got after they were first made: added on opening to a file that
// has the table without them; a file that may only be read is read without them.
const QList<CUpgradeColumn>& OwnTableColumns();

// The program's own tables: what a season keeps beyond the twelve tables of the file format
// (amnesties, withdrawn clubs, season settings, calendar revisions). Created when missing whenever a
// season file is opened for writing; a file without them reads as one where none of it was ever set.
inline const QString kTabulkaAmnestii = QStringLiteral("tamnestie");
inline const QString kTabulkaOdstupeni = QStringLiteral("todstupenia");
inline const QString kTabulkaNastaveni = QStringLiteral("tnastavenia");
inline const QString kTabulkaKalendara = QStringLiteral("tkalendar");
inline const QString kKalendarZaciatok = QStringLiteral("zaciatok");
inline const QString kTabulkaPrenesenychTrestov = QStringLiteral("tprenesenetresty");
QStringList OwnTableStatements();
// Every own table, by name.
const QStringList& OwnTables();

// Makes a new, empty season file at `path` (replacing a file that is there; callers make sure it
// is not the open season). Throws CChybaDatabazy.
void CreateNewSeasonFile(const QString& path);
