#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <memory>

// A database in the Jet format (Jet 3 of Access 97, Jet 4 of Access 2000), read through libmdb: its
// tables, their columns and rows. Rows are read as the table's data pages hold them (deleted rows
// left out, rows moved by an update read where they stand now), never through an index. libmdb is
// not made for damaged files: read them in a process of their own (prevod.h).

struct CStlpecJet
{
    QString name;
    int type = 0; // libmdb's column type (MDB_TEXT, MDB_LONGINT, ...)
    int size = 0;
    bool counter = false; // an AutoNumber
};

// How a column's values are kept in the store.
enum class CDruhHodnoty { Cele, Desatinne, Datum, Text };
CDruhHodnoty KindOfColumn(int jetType);

struct CTabulkaJet
{
    QString name;
    QVector<CStlpecJet> columns;
    qint64 autoNumber = 0; // the table's AutoNumber counter as the file keeps it
    qint64 rows = 0;       // as the table's definition counts them
};

class CJetSubor
{
public:
    // Opens the file for reading only. Throws CChybaDatabazy with a Slovak sentence when it is no Jet
    // database the program can read (another format, encrypted, empty, damaged header).
    explicit CJetSubor(const QString& path);
    ~CJetSubor();
    CJetSubor(const CJetSubor&) = delete;
    CJetSubor& operator=(const CJetSubor&) = delete;

    int Version() const; // 3 or 4
    // The user tables, in the order of the file's catalogue.
    const QVector<CTabulkaJet>& Tables() const { return m_tables; }
    const CTabulkaJet* Table(const QString& name) const; // by name, letter case aside

    // Every row of the table, each value as the store keeps it: nothing (a null QVariant) for NULL,
    // whole numbers as qint64, Single and Double as double (a Single by its shortest decimal form, so
    // that 8.3 stays 8.3), Date/Time as the store's date text ("YYYY-MM-DD HH:MM:SS", also before 1900),
    // texts and memos decoded (Jet 3 from the file's code page). A text that does not decode throws
    // CChybaDatabazy naming the table, row and column. `row` returns false to stop.
    void ReadRows(const CTabulkaJet& table, const std::function<bool(const QVariantList& values)>& row);

private:
    struct CStav;
    std::unique_ptr<CStav> m_stav;
    QVector<CTabulkaJet> m_tables;
    QString m_path;
};

// Date/Time of the Jet format (days from 30 December 1899, the fraction the time of day, also before
// that day) as the store's date text.
QString JetDateText(double value);
