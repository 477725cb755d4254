#pragma once

#include "prava.h"
#include "rozsahzapisu.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVector>

#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

class CDatabaza;
class CChybaDatabazy;
class CSezonaNaServeri;
struct CZmenaNaServeri;

// One statement in the Jet dialect with values bound to its "?" places. Statements are prepared
// once per query text and kept by the connection: a statement that runs again (a score typed, a
// row recalculated, a list refilled) skips the translation and the engine's planning.
class CPrikaz
{
public:
    CPrikaz(CDatabaza& db, const QString& jetSql, const QVariantList& params = {});
    ~CPrikaz();
    CPrikaz(const CPrikaz&) = delete;
    CPrikaz& operator=(const CPrikaz&) = delete;

    // Steps to the next row; false when there is none. Throws on an engine error.
    bool Step();
    // Runs the statement again to its end with other values.
    void Execute(const QVariantList& params);
    // Starts the statement again with other values; Step reads its rows.
    void Rebind(const QVariantList& params);
    int ColumnCount() const;
    QString ColumnName(int i) const;
    QVariant Value(int i) const;
    bool IsNull(int i) const;
    qint64 Int64(int i) const;
    double Double(int i) const;
    QString Text(int i) const;

private:
    CDatabaza& m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_sql;
    quint64 m_generation = 0;
};

// The connection to one season: a file, held exclusively from Open to Close (any other process or
// connection that tries to use it is refused at once), or a season on a PostgreSQL server, read from
// a copy in memory and written through to the server (CSezonaNaServeri). Nothing outside this folder
// knows which of the two it talks to.
class CDatabaza
{
public:
    CDatabaza();
    ~CDatabaza();
    CDatabaza(const CDatabaza&) = delete;
    CDatabaza& operator=(const CDatabaza&) = delete;

    // Opens an existing database file for reading and writing and takes the exclusive lock, writing
    // nothing to it: a file that is refused afterwards stays as it was. A file that does not begin as
    // a database is refused before the engine sees it. A file the system lets us only read is opened
    // read-only (IsReadOnly). Throws CChybaDatabazy.
    // An address "postgresql://..." opens the season on the server.
    void Open(const QString& path);
    bool IsServer() const { return m_server != nullptr; }
    // Puts this season (a file) onto the server `address` names, as a new season there.
    void UploadTo(const QString& address);
    // Takes in what others committed to a server season since it was read (nothing for a file).
    void Refresh();
    // The login on the server; empty for a file.
    QString ServerLogin() const;
    // Where a server season is and who works on it, as the status bar says it; empty for a file.
    QString ServerStatus() const;
    // The login's role on a server season (kBezRol for a file and a server without the program's roles).
    CRola ServerRole() const;
    // Whether the login may change that part of the season.
    bool MayChange(CAgenda agenda) const;
    // A window follows what others commit to the season (nothing for a file): ServerSocket becomes
    // readable when they do, and TakeOthersChanges takes their changes in.
    void FollowOthers();
    int ServerSocket() const;
    // Whether others committed since the last call; their changes are in the copy then. `presence`
    // tells whether someone opened or closed the season meanwhile.
    bool TakeOthersChanges(bool* presence = nullptr);
    // Others committed while a write of this connection was under way: TakeOthersChanges takes it later.
    bool OthersChangesWaiting() const { return m_othersPending; }
    // A server season whose connection broke; Reconnect tries again (throws while the server is away).
    bool ServerConnectionLost() const;
    void Reconnect();
    // The others who have the season open in a window.
    QStringList OthersOpen();
    // The user is about to change what she sees now (see CSezonaNaServeri::MarkReading).
    void MarkReading();
    // The server's log of changes (empty for a file).
    QVector<CZmenaNaServeri> History(const QDateTime& since = {}, const QString& table = {},
                                     const QString& key = {});
    // A file that is going to be written: rollback journal (a file at rest is one file), full sync.
    void PrepareForWriting();
    // The engine's check of the file's pages and indexes: empty when they are sound, else the first
    // problems. A clean check marks the connection checked.
    QString QuickCheck();
    // Whether the engine's check passed on this connection (a file opened on the strength of its
    // remembered state was not checked in this session).
    bool CheckedClean() const { return m_checkedClean; }
    // Before a command that writes many rows: the engine's check, unless it passed on this connection.
    // A damaged file is refused (CChybaDatabazy saying so) before anything is written.
    void CheckBeforeBulkWrite();
    // The error to throw for an engine result that says the file is damaged: the user is told the
    // season is damaged, and the file is forgotten as checked so that the next opening checks it in full.
    CChybaDatabazy Damaged(const QString& engineText, int code);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    bool IsReadOnly() const;
    // The full path of the open file as the engine names it; a server season's address without a
    // password.
    QString Path() const;

    bool TableExists(const QString& name);
    int TableCount();
    QStringList ColumnNames(const QString& table);

    // Runs one statement directly; throws CChybaDatabazy on error.
    void Execute(const QString& sql, const QVariantList& params = {});
    // The first column of the first row, or a null value when there is no row.
    QVariant Value(const QString& sql, const QVariantList& params = {});
    qint64 LastInsertId() const;

    // For a file that nobody uses before it is finished and renamed into place (a new demo season): no
    // synced journal, a large page cache. The caller syncs the file once at the end (SyncFile).
    void PrepareForBulkWrite();

    // A consistent copy of the whole database into a new file at `target` (written beside it under a
    // temporary name and renamed at the end, so that a failure leaves no half-written file).
    void CopyTo(const QString& target);
    // The same, compacted (VACUUM INTO).
    void CompactTo(const QString& target);

    sqlite3* Handle() const { return m_db; }

    // A prepared statement for the text, from the cache or freshly prepared, and back into it.
    sqlite3_stmt* Acquire(const QString& jetSql, quint64& generation);
    void Release(const QString& jetSql, sqlite3_stmt* stmt, quint64 generation);

    // How a cursor reads a query: the table its rows can be written back to (empty when none) and
    // the text it runs. Worked out once per query text.
    struct CFormaKurzora
    {
        QString table;
        QString text;
    };
    const CFormaKurzora& CursorForm(const QString& sql, const std::function<CFormaKurzora()>& make);

    // Creates a session-independent connection to a new, empty file and runs `statements` in one
    // transaction. Used to make a new season file. Without `replace`, a file that stands at `path` by
    // the time the new one is finished stays, and the new one is refused.
    static void CreateFile(const QString& path, const QStringList& statements, bool replace = true);

    // The outermost transaction of a write (CTransakcia): on a server season, the server's transaction
    // and what others committed first; committed there before it is committed here.
    void BeginWrite();
    void CommitWrite();
    void RollbackWrite();
    // Runs `work` as one write that reads and changes only `scope`'s rows. On a server season it goes
    // to the server in one trip, without first taking in what others committed; when another changed a
    // row of the scope meanwhile, nothing of it is written there, the copy takes in the others' changes
    // and `work` runs again as a usual write. On a file, a usual write.
    void WriteInScope(const CRozsahZapisu& scope, const std::function<void()>& work);
    // Whether a statement that writes must be made a write of its own (a server season outside a
    // transaction).
    bool NeedsOwnWrite(sqlite3_stmt* stmt) const;

private:
    void OpenServer(const QString& address);
    void RegisterFunctions();
    void FinalizeCache();
    sqlite3* m_db = nullptr;
    // The file as the caller named it, for messages: the engine's own name resolves links.
    QString m_shownPath;
    bool m_checkedClean = false;
    // Statements not in use, by query text; a text in use twice at once gets a second statement.
    QHash<QString, QVector<sqlite3_stmt*>> m_idle;
    int m_idleCount = 0;
    // Bumped at every close: a statement handed out before it is not put back.
    quint64 m_generation = 1;
    QHash<QString, CFormaKurzora> m_cursorForms;
    std::unique_ptr<CSezonaNaServeri> m_server;
    // Others committed and the copy has not taken it in yet.
    bool m_othersPending = false;
};

// A transaction over several writes: begun on construction, rolled back unless Commit is called.
// A command that writes many rows says so (kHromadna): the file is checked first when this session has
// not checked it yet, so that a damaged season never takes a whole import or a generation.
class CTransakcia
{
public:
    enum CRozsah { kBezna, kHromadna };
    explicit CTransakcia(CDatabaza& db, CRozsah rozsah = kBezna);
    ~CTransakcia();
    void Commit();

private:
    CDatabaza& m_db;
    bool m_active = false;
    bool m_nested = false;
};

// Engine error text of the connection.
QString EngineMessage(sqlite3* db);
// What the user is told about a season file whose pages are damaged.
QString DamagedMessage(const QString& path);
