#pragma once

#include "CChybaDatabazy.h"
#include "prava.h"
#include "rozsahzapisu.h"

#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct pg_conn;
struct pg_result;

// A season on a PostgreSQL server, named by an address "postgresql://USER@HOST:PORT/DATABASE?sezona=NAME"
// (libpq's forms and settings apply: sslmode, ~/.pgpass, PGPASSWORD, a socket folder as host).
// Each season is a schema of its own with the same tables and columns as a season file and the
// program's own tables beside them: mirak_meta (the format's version), mirak_ddl (the file's table and
// index definitions, so that a file made from the season is the file it came from), mirak_citace (the
// ID counters) and mirak_zmeny (every committed change of a row, in order).
//
// The program reads a server season from a copy of it in memory, on the same engine as a file, so
// that every list is the one the file would give; every write goes to the server as the rows it
// changed, in one server transaction, and counts only once the server has committed it. Before a
// write the copy takes in what others committed since (under the season's lock, so that a command is
// always computed from the latest state).

bool IsServerAddress(const QString& text);

struct CAdresaServera
{
    // What libpq is given (the address without "sezona"), with the connection timeout.
    QString connection;
    QString season;
    // The address as the user may see and the program may remember it: without a password.
    QString shown;
    QString user;
    QString host;
    QString database;
};
// Throws CChybaDatabazy for an address that is not one, or a season name the server cannot take.
CAdresaServera ParseServerAddress(const QString& address, bool seasonRequired = true);
// The address of `season` in the database `address` names (with or without a season of its own).
QString AddressWithSeason(const QString& address, const QString& season);
// The address of a database from its parts as the window asks for them (a socket folder as the host
// too), with the season when one is named.
QString ServerAddress(const QString& host, int port, const QString& database, const QString& user,
                      const QString& password, const QString& season = {});
// The seasons of the database `address` names (with or without a season of its own), by name. Throws
// CChybaDatabazy.
QStringList ServerSeasons(const QString& address);
// The season's name as a window's title shows it: a file's name, or "NAME (server HOST)".
QString ShownSeasonName(const QString& pathOrAddress);
// Forgets the copy of the season this computer keeps: its next opening reads the season whole.
void ForgetServerCopy(const QString& address);
// How long connecting may take before the program says the server does not answer, in seconds.
inline constexpr int kCasovyLimitSpojenia = 10;

// The version of the server seasons' format this program writes; a newer one is refused, an older one
// brought up to it at its opening.
inline constexpr int kVerziaServerovejSezony = 5;

// One committed change of a row as the server logged it: who, when, and the row before and after.
struct CZmenaNaServeri
{
    qint64 seq = 0;
    QDateTime time;
    QString login;
    QString table;
    QString key;
    QChar operation; // 'I' inserted, 'U' changed, 'D' deleted
    QJsonObject before;
    QJsonObject after;
};

// A write refused because someone else changed a row it changes since this window read it.
class CKonfliktZmien : public CChybaDatabazy
{
public:
    CKonfliktZmien(const CZmenaNaServeri& change, const QStringList& columns)
        : CChybaDatabazy(QStringLiteral("Záznam medzitým zmenil iný používateľ.")), m_change(change),
          m_columns(columns)
    {
    }
    // The other's change (its `after` is what the row holds now) and the columns both changed.
    const CZmenaNaServeri& Change() const { return m_change; }
    const QStringList& Columns() const { return m_columns; }

private:
    CZmenaNaServeri m_change;
    QStringList m_columns;
};

// A write in a scope went nowhere because others changed its rows meanwhile: it is to be done again as
// a usual write (never shown to the user).
class CZastaraKopia : public CChybaDatabazy
{
public:
    CZastaraKopia() : CChybaDatabazy(QStringLiteral("Kópia sezóny nie je aktuálna.")) {}
};

// Creates the program's roles on the server and gives them their rights on every season of the
// database `address` names. Idempotent. Throws CChybaDatabazy.
void SetUpServerRoles(const QString& address);
// What --server-setup does, as an SQL script for an administrator who prefers to run it himself, for
// the season `season` (the tables a season has when the program puts it on a server).
QString ServerSetupScript(const QString& season);
// Gives `login` the role (and no other of the program's), on the server `address` names.
void GrantServerRole(const QString& address, const QString& login, CRola role);

class CSezonaNaServeri
{
public:
    // Connects to the server; throws CChybaDatabazy in Slovak naming what failed.
    explicit CSezonaNaServeri(const CAdresaServera& address);
    ~CSezonaNaServeri();
    CSezonaNaServeri(const CSezonaNaServeri&) = delete;
    CSezonaNaServeri& operator=(const CSezonaNaServeri&) = delete;

    const CAdresaServera& Address() const { return m_address; }
    // The login the server knows this connection by.
    QString Login() const;

    // The seasons of the database, by name.
    QStringList Seasons();
    // The program's role of this login (kBezRol when the server has none of them).
    CRola Role() const { return m_role; }
    // Gives the program's roles their rights on this season (when the server has them).
    void ApplyRights();
    // Creates the program's roles and gives them their rights on every season of the database (or the
    // one season the address names).
    void SetUpRoles();
    void GrantRole(const QString& login, CRola role);
    // The window starts reading what the season's other users do: every commit of another is
    // announced (Socket becomes readable), and others see this window among those who have it open.
    void Listen();
    int Socket() const;
    // Whether others committed changes since the last call (their announcements taken); `presence`
    // tells whether someone opened or closed the season meanwhile.
    bool TakeAnnouncements(bool* presence = nullptr);
    // The connection broke (the server stopped, the network went): the next command connects anew.
    bool IsDisconnected() const { return m_broken || !m_conn; }
    // Connects anew after a break and takes in what others committed meanwhile; throws when the server
    // is still away.
    void Reconnect(sqlite3* replica);
    // The logins of the others who have the season open in a window, with where from.
    QStringList OthersOpen();
    // What the user is about to change was read now: a change of it by another after this moment
    // refuses her write (CKonfliktZmien). Without it, what the copy held when the write began.
    void MarkReading() { m_readMark = m_seen; }
    // The log of changes, oldest first: all, or from `since` on, of `table` (and its row `key`).
    QVector<CZmenaNaServeri> History(const QDateTime& since = {}, const QString& table = {},
                                     const QString& key = {});
    bool SeasonExists();

    // Puts the season held by `source` onto the server as a new season, in one transaction: nothing
    // of it stays on the server when any of it cannot be written. Refused when the season exists.
    void Upload(sqlite3* source);
    // Makes `replica` (an empty database) the season as the server holds it. Refuses a season made by
    // a newer program or one whose tables someone changed by hand, naming what is wrong.
    void Load(sqlite3* replica);
    // Lets `replica` read the rows of a COPY from the server as a table; once, before it is loaded.
    static void RegisterCopyReading(sqlite3* replica);

    // A write of the program: the server's transaction and the season's lock begun, and what others
    // committed since taken into `replica` (outside any transaction of the replica).
    void BeginWrite(sqlite3* replica);
    // The rows `replica` changed since BeginWrite written to the server and committed there; throws
    // (the server's transaction rolled back) when they cannot be. Returns the change's place in the
    // season's order, to be taken as seen once the replica has committed too.
    qint64 CommitWrite(sqlite3* replica);
    void RollbackWrite();
    // Whether a write in `scope` had better be one: the season's format has the server's check for it,
    // and nobody else was at work lately where that check looks (m_busy).
    bool WritesInScope(const CRozsahZapisu& scope) const;
    // A write that keeps to `scope`: nothing goes to the server until CommitWrite, which sends it with
    // the season's lock and a check that nobody else changed the scope's rows since the copy's last
    // news, all in one trip. Refused there (CZastaraKopia, rolled back) when someone did, or when the
    // write went beyond its scope.
    void BeginWriteInScope(const CRozsahZapisu& scope);
    void SetSeen(qint64 seq)
    {
        m_seen = seq;
        // What she wrote herself she has seen: her next change there is checked from here on.
        if (m_readMark >= 0)
            m_readMark = seq;
    }
    // Forgets what the copy recorded of a write that did not go through.
    void ForgetLocalChanges(sqlite3* replica);
    bool InWrite() const { return m_inWrite; }

    // Takes into `replica` what others committed since it was loaded (no write may be open).
    void Refresh(sqlite3* replica);
    // Keeps `replica` on this computer, so that the next opening reads only what changed since.
    void SaveCache(sqlite3* replica);
    // Where the copy of the season `address` names is kept (without the extensions).
    static QString CachePathOf(const CAdresaServera& address);

private:
    struct CTabulka
    {
        QString name;
        QStringList columns;
        QStringList types; // the server's types
        int key = -1;      // the column that names a row (none: the table is written whole)
    };
    class CVysledok;
    // One statement of a trip sent prepared: its text with $1... and their values as the server reads
    // them in text (none: NULL).
    struct CDotaz
    {
        QByteArray sql;
        QVector<std::optional<QByteArray>> values;
    };

    CVysledok Exec(const QString& sql, const QStringList& params = {}, bool allowCopy = false);
    [[noreturn]] void Fail(const QString& sentence, const QString& serverText, bool connectionLost = false);
    QString Schema() const;
    // What the user is told of a statement the server refused.
    QString RefusalSentence(const pg_result* r) const;
    QString Table(const QString& name) const;
    void EnsureConnected();
    void PrepareSession();
    QByteArray ListenStatements() const;
    QString PresenceName() const;
    // The tables of `db` as the server keeps them.
    static QVector<CTabulka> TablesOf(sqlite3* db);
    void CreateTable(const CTabulka& table);
    // How a COPY ended: a null text when it went through, else the server's words.
    QString CopyOutcome();
    void CopyRowsUp(sqlite3* db, const CTabulka& table, const QString& where = {});
    void CopyRowsDown(sqlite3* replica, const CTabulka& table, const QString& select);
    // An insert of the table's rows, with a place for each column, or from the COPY under way.
    sqlite3_stmt* PrepareInsert(sqlite3* replica, const CTabulka& table, bool fromCopy);
    void InsertRowsDown(sqlite3* replica, const CTabulka& table, const CVysledok& rows);
    void WriteDefinitions(sqlite3* db);
    static QVector<QPair<QString, qint64>> LocalCounters(sqlite3* db);
    // The copy's schema version and whether a counter moved since the server's, asked at every write.
    int ReplicaSchemaVersion(sqlite3* replica);
    bool CountersMoved(sqlite3* replica);
    // The statements that bring the server's ID counters to `db`'s.
    QByteArray CounterStatements(sqlite3* db);
    void ReadCounters(sqlite3* replica);
    void ReadCounters(sqlite3* replica, const CVysledok& counters);
    QString CountersQuery() const;
    void InstallTriggers(sqlite3* replica, const QSet<QString>& unchanged = {});
    void InstallServerTriggers(const CTabulka& table);
    // Several statements in one trip to the server, their results in order.
    std::vector<CVysledok> ExecAll(const QByteArray& sql);
    // The same for statements each prepared once on this connection and sent with their values: the
    // server parses and plans a typed score's statements once, not at every score.
    std::vector<CVysledok> ExecPrepared(const QVector<CDotaz>& statements);
    struct COdmietnutie;
    void NoteRefusal(COdmietnutie& refusal, const pg_result* r) const;
    // Throws what the first refusal of a trip says (CZastaraKopia for the check's), nothing without one.
    void Refuse(const COdmietnutie& refusal);
    // The season's definitions' generation and the changes since the copy's last: statements whose
    // results PullChanges takes from `at`, the place of the first of them in the trip.
    QByteArray ChangesQuery() const;
    void PullChanges(sqlite3* replica, const std::vector<CVysledok>& results, size_t at);
    // The key of the season's lock: exclusive for a usual write, shared by writes in a scope.
    QByteArray SeasonLock() const;
    // The key of the lock that writes in a scope share while under way; reading what changed takes it
    // alone.
    QByteArray ScopedWritesLock() const;
    void Pull(sqlite3* replica, const CVysledok& generation, const CVysledok& changes);
    // The statements that make the server's rows of `table` (a table without a key) the replica's.
    QByteArray RowStatements(sqlite3* replica, const CTabulka& table);
    // The statements that bring the server the rows of `table` this write changed, only the columns that
    // changed; `changedColumns` gets, by row, the columns a user changed (not the computed ones).
    // With `prepared`, the updates go there with their values instead, the rest as statements of
    // their own.
    QByteArray KeyedRowStatements(sqlite3* replica, const CTabulka& table,
                                  QHash<QString, QStringList>& changedColumns,
                                  QVector<CDotaz>* prepared = nullptr);
    static QString CapturedTable(const CTabulka& table);
    // The tables with a key the write in progress changed.
    QStringList TouchedTables(sqlite3* replica);
    // The tables without a key it changed (written whole).
    QSet<QString> WholeTables(sqlite3* replica);
    // A statement of the capture's own bookkeeping on the replica, prepared once (with the capture's
    // queries, until the triggers are made again), reset for its next use; none when it cannot be.
    sqlite3_stmt* Bookkeeping(sqlite3* replica, const QByteArray& sql);
    void FinalizeCaptureQueries();
    QVector<CZmenaNaServeri> ChangesSince(qint64 seq, const QStringList& tableLiterals);
    static QVector<CZmenaNaServeri> Changes(const CVysledok& r);
    void PushSchemaChanges(sqlite3* replica);
    // Runs `work` in one server transaction; anything refused rolls it all back and is told as `failure`
    // with the server's words.
    void InTransaction(const QString& failure, const std::function<void()>& work);
    // Brings a season of an older format to this one, in a transaction of its own.
    void Upgrade(int version);
    // The statements of it, in the transaction under way.
    void BringFormatUp(int version);
    // The statements that begin a write in a scope on the server, each prepared once: the transaction's
    // beginning, then the locks and the check that refuses it when others changed its rows, with the
    // copy's place, the competition and the clubs as values; the log then read by its index and the
    // write announced by the program.
    QVector<CDotaz> ScopeCheck();
    // The setting of a transaction whose change this program announces itself, after the commit.
    static QByteArray AnnouncedByClient();
    // A table's rows of one competition (none: of no single competition), as a place of others' work.
    static QString TablePlace(const QString& table, const QString& competition);
    // Where a refused write in `scope` tells that others are at work: its clubs, when the server's check
    // knows them, or else its tables' rows of its competition.
    QStringList RefusedPlaces(const CRozsahZapisu& scope) const;
    // Whether the write in progress changed only rows of its scope and nothing the server numbers.
    bool KeptToScope(sqlite3* replica, const QStringList& touched, const QSet<QString>& whole);
    void CreateLogFunction();
    void ReadRole();
    // Refuses the write (CKonfliktZmien) when another changed, since `read`, a column it changes.
    void CheckConflicts(const QHash<QString, QHash<QString, QStringList>>& changedColumns, qint64 read);
    // The tables the server has are the ones the season names, every column of them; else refused.
    void CheckServerTables();
    QString CachePath() const;
    bool LoadCache(sqlite3* replica, qint64 serverLast);
    bool CacheHasEveryTable(sqlite3* replica);

    CAdresaServera m_address;
    pg_conn* m_conn = nullptr;
    QVector<CTabulka> m_tables;
    qint64 m_seen = 0;
    qint64 m_readMark = -1;
    qint64 m_readForWrite = 0;
    // This connection's name in the log, so that its own changes are never a conflict of its own.
    QString m_client;
    // The statements that forget what the copy recorded of a write.
    QStringList m_forgetChanges;
    QHash<QString, sqlite3_stmt*> m_captureQueries;
    // Whether the copy's triggers record what is written (not while it takes in what others wrote).
    bool m_recording = true;
    CRola m_role = CRola::kBezRol;
    bool m_announced = false;
    QHash<QString, qint64> m_counters;
    QHash<QString, qint64> m_pendingCounters;
    QString m_ddlGeneration;
    QString m_instance;
    int m_schemaVersion = 0;
    bool m_inWrite = false;
    bool m_broken = false;
    // The format of the season as opened (an older one when the login could not bring it up): what its
    // server functions know decides how a write in a scope is sent.
    int m_format = 0;
    // Where others were at work lately, with how many more times the copy's news must come without them:
    // the tables, and the tables' rows of a competition (TablePlace), in which the copy's news had others'
    // changes, and the places of a refused write in a scope (RefusedPlaces). A write in a scope that
    // looks there would likely be refused.
    QHash<QString, int> m_busy;
    // Load does not bring the season's format up once it could not (the login may not).
    bool m_keepFormat = false;
    // The scope of the write in progress (competition 0: a usual write).
    CRozsahZapisu m_scope;
    // The server's check (ScopeCheck) written out without clubs and with them, and the scope, season
    // definitions, client and format it was written for.
    QByteArray m_checkText[2];
    CRozsahZapisu m_scopeTextOf;
    std::tuple<QString, QString, int> m_checkTextOf;
    // The statements this connection has prepared, by their text, and the number of the last name.
    QHash<QByteArray, QByteArray> m_prepared;
    int m_preparedNames = 0;
    // The replica is the copy kept on this computer, unchanged since it was read.
    bool m_cacheCurrent = false;
};
