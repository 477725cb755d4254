#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement: query text in the Jet dialect, values bound to its "?" places.
class CPrikaz
{
public:
    CPrikaz(sqlite3* db, const QString& jetSql, const QVariantList& params = {});
    ~CPrikaz();
    CPrikaz(const CPrikaz&) = delete;
    CPrikaz& operator=(const CPrikaz&) = delete;

    // Steps to the next row; false when there is none. Throws on an engine error.
    bool Step();
    // Runs the statement again to its end with other values (a statement written many times is
    // prepared once).
    void Execute(const QVariantList& params);
    int ColumnCount() const;
    QString ColumnName(int i) const;
    QVariant Value(int i) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
};

// The connection to one season file. The file is held exclusively from Open to Close: any other
// process (or another connection) that tries to use it is refused at once.
class CDatabaza
{
public:
    CDatabaza();
    ~CDatabaza();
    CDatabaza(const CDatabaza&) = delete;
    CDatabaza& operator=(const CDatabaza&) = delete;

    // Opens an existing file for reading and writing and takes the exclusive lock. A file the
    // system lets us only read is opened read-only (IsReadOnly). Throws CChybaDatabazy.
    void Open(const QString& path);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    bool IsReadOnly() const;
    // The full path of the open file as the engine names it.
    QString Path() const;

    bool TableExists(const QString& name);
    int TableCount();
    QStringList ColumnNames(const QString& table);

    // Runs one statement directly; throws CChybaDatabazy on error.
    void Execute(const QString& sql, const QVariantList& params = {});
    // The first column of the first row, or a null value when there is no row.
    QVariant Value(const QString& sql, const QVariantList& params = {});
    qint64 LastInsertId() const;

    // A consistent copy of the whole database into a new file at `target` (written beside it under a
    // temporary name and renamed at the end, so that a failure leaves no half-written file).
    void CopyTo(const QString& target);
    // The same, compacted (VACUUM INTO).
    void CompactTo(const QString& target);

    sqlite3* Handle() const { return m_db; }

    // Creates a session-independent connection to a new, empty file and runs `statements` in one
    // transaction. Used to make a new season file.
    static void CreateFile(const QString& path, const QStringList& statements);

private:
    void RegisterFunctions();
    sqlite3* m_db = nullptr;
};

// A transaction over several writes: begun on construction, rolled back unless Commit is called.
class CTransakcia
{
public:
    explicit CTransakcia(CDatabaza& db);
    ~CTransakcia();
    void Commit();

private:
    CDatabaza& m_db;
    bool m_active = false;
};

// Engine error text of the connection.
QString EngineMessage(sqlite3* db);
