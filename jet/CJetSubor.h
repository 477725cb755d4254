#pragma once

#include "db/CChybaDatabazy.h"

#include <QByteArray>
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
enum class CDruhHodnoty { Cele, Desatinne, Datum, Text, Bajty };
CDruhHodnoty KindOfColumn(int jetType);

struct CTabulkaJet
{
    QString name;           // decoded (Jet 3 from the file's code page)
    QByteArray libraryName; // as the library names it, for finding it again
    QVector<CStlpecJet> columns;
    qint64 autoNumber = 0; // the table's AutoNumber counter as the file keeps it
    qint64 rows = 0;       // as the table's definition counts them
};

// What the reading of a damaged file could not take: the table, where in it (a row, a column; empty
// for the whole table) and what was lost, in a sentence the user reads.
struct CStrataJet
{
    QString table;
    QString where;
    QString what;
};
QString LossText(const CStrataJet& loss);

// The file is damaged: something it says it holds cannot be read. What can be read may still be
// converted (the salvage), with every loss listed.
class CPoskodenyJet : public CChybaDatabazy
{
public:
    using CChybaDatabazy::CChybaDatabazy;
};

class CJetSubor
{
public:
    // Opens the file for reading only. Throws CChybaDatabazy with a Slovak sentence when it is no Jet
    // database the program can read (another format, encrypted, empty, damaged header). With `losses`
    // the reading goes on past what a damaged file lost and lists it there (a table that cannot be
    // read is left out); without, the first loss throws CPoskodenyJet naming it.
    explicit CJetSubor(const QString& path, QVector<CStrataJet>* losses = nullptr);
    ~CJetSubor();
    CJetSubor(const CJetSubor&) = delete;
    CJetSubor& operator=(const CJetSubor&) = delete;

    int Version() const; // 3 or 4
    // The user tables, in the order of the file's catalogue.
    const QVector<CTabulkaJet>& Tables() const { return m_tables; }
    const CTabulkaJet* Table(const QString& name) const; // by name, letter case aside
    // Whether the catalogue names the table but its definition could not be read (a loss).
    bool Unreadable(const QString& name) const { return m_unreadable.contains(name, Qt::CaseInsensitive); }

    // Every row of the table, each value as the store keeps it: nothing (a null QVariant) for NULL,
    // whole numbers as qint64, Single and Double as double (a Single by its shortest decimal form, so
    // that 8.3 stays 8.3), Date/Time as the store's date text ("YYYY-MM-DD HH:MM:SS", also before 1900),
    // texts and memos decoded whole (Jet 3 from the file's code page, a NUL kept), OLE objects and
    // binary values as their bytes. Everything the file says the table holds is accounted for: its
    // row count, each memo's length, each long value's chain of pages; what is missing is a loss (see
    // the constructor). `row` returns false to stop. `nulInText` is told of each text with a NUL in it.
    void ReadRows(const CTabulkaJet& table, const std::function<bool(const QVariantList& values)>& row,
                  const std::function<void(const QString& where)>& nulInText = {});

private:
    // A loss: listed, or thrown when nothing may be lost.
    void Lost(const QString& table, const QString& where, const QString& what);
    // The bytes of a memo or OLE value whose 12-byte header starts at `field` (`size` bytes with
    // what follows it in the row); what cannot be read is a loss at `where`.
    QByteArray LongValue(const unsigned char* field, int size, const QString& table, const QString& where,
                         bool memo);
    QString Text(const QByteArray& bytes, bool jet3, const QString& table, const QString& where);
    QVector<CStrataJet>* m_losses = nullptr;
    struct CStav;
    std::unique_ptr<CStav> m_stav;
    QVector<CTabulkaJet> m_tables;
    QStringList m_unreadable;
    QString m_path;
};

// Date/Time of the Jet format (days from 30 December 1899, the fraction the time of day, also before
// that day) as the store's date text.
QString JetDateText(double value);
