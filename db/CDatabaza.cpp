#include "CDatabaza.h"

#include "CChybaDatabazy.h"
#include "CSezonaNaServeri.h"
#include "historia.h"
#include "jetsql.h"
#include "kody.h"
#include "kontroly.h"
#include "slovencina.h"
#include "subory.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <sqlite3.h>
#include <system_error>

QString EngineMessage(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

namespace {

// The engine counts every allocation under one lock of the whole process unless told not to; nothing
// here reads those counts, and the windows of a process (and the shared season's copies) would wait on
// one another for it. Set before the engine's first use, as it must be.
const bool kBezPocitaniaPamate = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;

void Bind(sqlite3* db, sqlite3_stmt* stmt, const QVariantList& params)
{
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params.at(i);
        const int place = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull() || !v.isValid()) {
            rc = sqlite3_bind_null(stmt, place);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Short:
            case QMetaType::UShort:
                rc = sqlite3_bind_int64(stmt, place, v.toLongLong());
                break;
            case QMetaType::Double:
                rc = sqlite3_bind_double(stmt, place, v.toDouble());
                break;
            case QMetaType::Float:
                // Marks are single-precision values: store exactly what a float holds.
                rc = sqlite3_bind_double(stmt, place, static_cast<double>(v.toFloat()));
                break;
            case QMetaType::QDateTime:
                rc = sqlite3_bind_text16(stmt, place, DatumNaUlozenie(v.toDateTime()).utf16(), -1,
                                         SQLITE_TRANSIENT);
                break;
            case QMetaType::QDate:
                rc = sqlite3_bind_text16(stmt, place, DatumNaUlozenie(CasSezony(v.toDate())).utf16(), -1,
                                         SQLITE_TRANSIENT);
                break;
            case QMetaType::QByteArray: {
                // Bytes stay bytes (an OLE object of a converted season, say), every one of them.
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob64(stmt, place, bytes.constData(),
                                         static_cast<sqlite3_uint64>(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString text = v.toString();
                rc = sqlite3_bind_text16(stmt, place, text.utf16(), static_cast<int>(text.size() * 2),
                                         SQLITE_TRANSIENT);
            }
            }
        }
        if (rc != SQLITE_OK)
            throw CChybaDatabazy(QStringLiteral("Hodnotu sa nepodarilo odovzdať databáze."),
                                 EngineMessage(db), rc);
    }
}

void SlovakLike(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    (void)argc;
    const auto* p = static_cast<const char16_t*>(sqlite3_value_text16(argv[0]));
    const int pn = sqlite3_value_bytes16(argv[0]) / 2;
    const auto* v = static_cast<const char16_t*>(sqlite3_value_text16(argv[1]));
    const int vn = sqlite3_value_bytes16(argv[1]) / 2;
    sqlite3_result_int(ctx, JetLike(QStringView(p, pn), QStringView(v, vn)) ? 1 : 0);
}

void FoldFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* t = static_cast<const char16_t*>(sqlite3_value_text16(argv[0]));
    const QString folded = BezDiakritiky(QStringView(t, sqlite3_value_bytes16(argv[0]) / 2));
    sqlite3_result_text16(ctx, folded.utf16(), static_cast<int>(folded.size() * 2), SQLITE_TRANSIENT);
}

void ScoreFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    QVariant v;
    switch (sqlite3_value_type(argv[0])) {
    case SQLITE_INTEGER:
        v = QVariant(static_cast<qlonglong>(sqlite3_value_int64(argv[0])));
        break;
    case SQLITE_FLOAT:
        v = QVariant(sqlite3_value_double(argv[0]));
        break;
    default:
        // Texts, blobs and nothing at all are no score.
        break;
    }
    sqlite3_result_int(ctx, SkoreZUlozenia(v));
}

int SlovakCollation(void*, int an, const void* a, int bn, const void* b)
{
    return PorovnajSlovensky(QStringView(static_cast<const char16_t*>(a), an / 2),
                             QStringView(static_cast<const char16_t*>(b), bn / 2));
}

} // namespace

// ---------------------------------------------------------------------------------------------------

CPrikaz::CPrikaz(CDatabaza& db, const QString& jetSql, const QVariantList& params) : m_db(db), m_sql(jetSql)
{
    m_stmt = m_db.Acquire(jetSql, m_generation);
    try {
        Bind(m_db.Handle(), m_stmt, params);
    } catch (...) {
        m_db.Release(m_sql, m_stmt, m_generation);
        throw;
    }
}

CPrikaz::~CPrikaz()
{
    m_db.Release(m_sql, m_stmt, m_generation);
}

bool CPrikaz::Step()
{
    if (m_db.NeedsOwnWrite(m_stmt)) {
        // A write outside a transaction on a server season: written through as a write of its own.
        CTransakcia write(m_db);
        sqlite3_reset(m_stmt);
        const int rc = sqlite3_step(m_stmt);
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            const QString engine = EngineMessage(m_db.Handle());
            sqlite3_reset(m_stmt);
            throw CChybaDatabazy(QStringLiteral("Databáza odmietla požiadavku."), engine, rc);
        }
        write.Commit();
        return rc == SQLITE_ROW;
    }
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // The statement stays usable: a failed step is reset so that the cache gets it back clean.
    const QString engine = EngineMessage(m_db.Handle());
    sqlite3_reset(m_stmt);
    if (rc == SQLITE_FULL)
        throw CChybaDatabazy(DiskFullMessage(m_db.Path()), engine, rc);
    if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB)
        throw m_db.Damaged(engine, rc);
    throw CChybaDatabazy(QStringLiteral("Databáza odmietla požiadavku."), engine, rc);
}

void CPrikaz::Rebind(const QVariantList& params)
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    Bind(m_db.Handle(), m_stmt, params);
}

void CPrikaz::Execute(const QVariantList& params)
{
    Rebind(params);
    while (Step()) {
    }
}

int CPrikaz::ColumnCount() const
{
    return sqlite3_column_count(m_stmt);
}

QString CPrikaz::ColumnName(int i) const
{
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

bool CPrikaz::IsNull(int i) const
{
    return sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}

qint64 CPrikaz::Int64(int i) const
{
    return sqlite3_column_int64(m_stmt, i);
}

double CPrikaz::Double(int i) const
{
    return sqlite3_column_double(m_stmt, i);
}

QString CPrikaz::Text(int i) const
{
    // Season files hold UTF-8: read as it is stored, without the engine's own conversion.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, i));
    const int bytes = sqlite3_column_bytes(m_stmt, i);
    return text ? QString::fromUtf8(text, bytes) : QString();
}

QVariant CPrikaz::Value(int i) const
{
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(m_stmt, i);
        if (v >= INT_MIN && v <= INT_MAX)
            return QVariant(static_cast<int>(v));
        return QVariant(v);
    }
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, i));
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(m_stmt, i));
        return QVariant(QByteArray(bytes ? bytes : "", sqlite3_column_bytes(m_stmt, i)));
    }
    default:
        return QVariant(Text(i));
    }
}

// ---------------------------------------------------------------------------------------------------

CDatabaza::CDatabaza() = default;

CDatabaza::~CDatabaza()
{
    Close();
}

void CDatabaza::Open(const QString& path)
{
    Close();
    if (IsServerAddress(path)) {
        OpenServer(path);
        return;
    }
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo(path).isFile())
        throw CChybaDatabazy(QStringLiteral("Súbor %1 neexistuje.").arg(shown));
    // The engine would make an empty or short file into a database of its own: a file that does not
    // begin as a database is turned away before the engine sees it, and stays as it was.
    if (IsJetFile(path))
        throw CChybaDatabazy(kJeVoFormateJet.arg(shown));
    if (!IsDatabaseFile(path))
        throw CChybaDatabazy(
            QStringLiteral("Súbor %1 nie je sezóna programu Agenda Mirak: nie je to databáza "
                           "(je prázdny, príliš krátky alebo iného druhu).")
                .arg(shown));
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const QString engine = EngineMessage(db);
        sqlite3_close(db);
        throw CChybaDatabazy(QStringLiteral("Súbor %1 sa nedá otvoriť.").arg(shown), engine, rc);
    }
    m_db = db;
    m_shownPath = path;
    m_checkedClean = false;
    sqlite3_extended_result_codes(m_db, 0);
    RegisterFunctions();
    // Held until Close: no other program may use the season while we work on it.
    const bool readOnly = sqlite3_db_readonly(m_db, "main") == 1;
    QStringList steps = {QStringLiteral("PRAGMA locking_mode=EXCLUSIVE")};
    if (readOnly)
        steps << QStringLiteral("BEGIN") << QStringLiteral("SELECT count(*) FROM sqlite_master")
              << QStringLiteral("COMMIT");
    else
        steps << QStringLiteral("BEGIN EXCLUSIVE") << QStringLiteral("SELECT count(*) FROM sqlite_master")
              << QStringLiteral("COMMIT");
    // The whole file fits in the page cache (the engine's default is about 2 MB): lists and
    // recalculations read every match of a competition, again and again.
    const qint64 kib = QFileInfo(path).size() / 1024;
    steps << QStringLiteral("PRAGMA cache_size=-%1").arg(std::max<qint64>(8192, kib + kib / 4 + 4096));
    for (const QString& step : steps) {
        rc = sqlite3_exec(m_db, step.toUtf8().constData(), nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK)
            continue;
        const QString engine = EngineMessage(m_db);
        sqlite3_close(m_db);
        m_db = nullptr;
        // The sentence says all there is; the engine's English "database is locked" would only puzzle.
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            throw CChybaDatabazy(QStringLiteral("Sezónu %1 práve používa iný program alebo iné okno programu "
                                                "Agenda Mirak. Zatvorte ju tam a skúste to znova.")
                                     .arg(shown),
                                 QString(), rc);
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT)
            throw CChybaDatabazy(DamagedMessage(path), engine, rc);
        throw CChybaDatabazy(QStringLiteral("Súbor %1 sa nedá otvoriť.").arg(shown), engine, rc);
    }
}

void CDatabaza::OpenServer(const QString& address)
{
    auto server = std::make_unique<CSezonaNaServeri>(ParseServerAddress(address));
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        throw CChybaDatabazy(QStringLiteral("Na sezónu zo servera nie je dosť pamäte."), QString(), rc);
    }
    try {
        CSezonaNaServeri::RegisterCopyReading(db);
        server->Load(db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 0);
    RegisterFunctions();
    m_server = std::move(server);
    m_shownPath = m_server->Address().shown;
    // The copy was made now from what the server committed: there is no file to check.
    m_checkedClean = true;
}

void CDatabaza::UploadTo(const QString& address)
{
    if (!m_db)
        throw CChybaDatabazy(QStringLiteral("Nie je otvorená žiadna sezóna."));
    CSezonaNaServeri server(ParseServerAddress(address));
    server.Upload(m_db);
}

void CDatabaza::Refresh()
{
    if (m_server && !m_server->InWrite() && sqlite3_get_autocommit(m_db))
        m_server->Refresh(m_db);
}

QString CDatabaza::ServerLogin() const
{
    return m_server ? m_server->Login() : QString();
}

QString CDatabaza::ServerStatus() const
{
    if (!m_server)
        return {};
    const CAdresaServera& a = m_server->Address();
    const QString host =
        a.host.startsWith(QLatin1Char('/')) || a.host.isEmpty() ? QStringLiteral("tento počítač") : a.host;
    const QString status = QStringLiteral("Server %1 · databáza %2 · sezóna %3 · používateľ %4")
                               .arg(host, a.database, a.season, ServerLogin());
    return ServerRole() == CRola::kBezRol ? status
                                          : status + QStringLiteral(" · rola %1").arg(RoleName(ServerRole()));
}

bool CDatabaza::NeedsOwnWrite(sqlite3_stmt* stmt) const
{
    return m_server && !m_server->InWrite() && sqlite3_get_autocommit(m_db) && !sqlite3_stmt_readonly(stmt) &&
           !QString::fromUtf8(sqlite3_sql(stmt))
                .trimmed()
                .startsWith(QLatin1String("PRAGMA"), Qt::CaseInsensitive);
}

void CDatabaza::BeginWrite()
{
    if (m_server)
        m_server->BeginWrite(m_db);
    try {
        Execute(QStringLiteral("BEGIN IMMEDIATE"));
    } catch (...) {
        if (m_server)
            m_server->RollbackWrite();
        throw;
    }
}

void CDatabaza::CommitWrite()
{
    if (!m_server) {
        Execute(QStringLiteral("COMMIT"));
        return;
    }
    qint64 seq = 0;
    try {
        seq = m_server->CommitWrite(m_db);
    } catch (const CKonfliktZmien& conflict) {
        // Told from the copy as the server has it now (the others' change is in it, hers undone).
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_server->ForgetLocalChanges(m_db);
        throw CChybaKonfliktu(ConflictMessage(*this, conflict));
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_server->ForgetLocalChanges(m_db);
        throw;
    }
    Execute(QStringLiteral("COMMIT"));
    m_server->SetSeen(seq);
}

void CDatabaza::WriteInScope(const CRozsahZapisu& scope, const std::function<void()>& work)
{
    if (m_server && m_server->WritesInScope(scope) && !m_server->InWrite() && sqlite3_get_autocommit(m_db)) {
        m_server->BeginWriteInScope(scope);
        try {
            Execute(QStringLiteral("BEGIN IMMEDIATE"));
            work();
            CommitWrite();
            return;
        } catch (const CZastaraKopia&) {
            // Rolled back here and there: done again the usual way, on what the others committed. Taken
            // in first without the season's lock, the usual write holds it only for what came since.
            Refresh();
        } catch (...) {
            RollbackWrite();
            throw;
        }
    }
    CTransakcia transaction(*this);
    work();
    transaction.Commit();
}

void CDatabaza::RollbackWrite()
{
    if (m_db)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (m_server) {
        m_server->ForgetLocalChanges(m_db);
        m_server->RollbackWrite();
    }
}

CRola CDatabaza::ServerRole() const
{
    return m_server ? m_server->Role() : CRola::kBezRol;
}

bool CDatabaza::MayChange(CAgenda agenda) const
{
    return RoleMayChange(ServerRole(), agenda);
}

void CDatabaza::FollowOthers()
{
    if (m_server)
        m_server->Listen();
}

int CDatabaza::ServerSocket() const
{
    return m_server ? m_server->Socket() : -1;
}

bool CDatabaza::TakeOthersChanges(bool* presence)
{
    if (presence)
        *presence = false;
    if (!m_server || m_server->InWrite())
        return false;
    // The announcements are taken at once (a socket left readable would be reported again and again);
    // the changes come in when no write of this connection is under way.
    m_othersPending = m_server->TakeAnnouncements(presence) || m_othersPending;
    if (!m_othersPending || !sqlite3_get_autocommit(m_db))
        return false;
    m_othersPending = false;
    Refresh();
    return true;
}

bool CDatabaza::ServerConnectionLost() const
{
    return m_server && m_server->IsDisconnected();
}

void CDatabaza::Reconnect()
{
    if (m_server)
        m_server->Reconnect(m_db);
}

QStringList CDatabaza::OthersOpen()
{
    return m_server ? m_server->OthersOpen() : QStringList();
}

void CDatabaza::MarkReading()
{
    if (m_server)
        m_server->MarkReading();
}

QVector<CZmenaNaServeri> CDatabaza::History(const QDateTime& since, const QString& table, const QString& key)
{
    return m_server ? m_server->History(since, table, key) : QVector<CZmenaNaServeri>();
}

void CDatabaza::RegisterFunctions()
{
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(m_db, "like", 2, flags, nullptr, SlovakLike, nullptr, nullptr);
    sqlite3_create_function(m_db, "like", 3, flags, nullptr, SlovakLike, nullptr, nullptr);
    sqlite3_create_collation(m_db, kSlovakCollation, SQLITE_UTF16_ALIGNED, nullptr, SlovakCollation);
    sqlite3_create_function(m_db, kSqlSkore, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                            nullptr, ScoreFunction, nullptr, nullptr);
    sqlite3_create_function(m_db, kSqlBezDiakritiky, 1, flags | SQLITE_INNOCUOUS, nullptr, FoldFunction,
                            nullptr, nullptr);
}

void CDatabaza::PrepareForWriting()
{
    if (IsReadOnly() || m_server)
        return;
    Execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
    Execute(QStringLiteral("PRAGMA synchronous=FULL"));
}

QString CDatabaza::QuickCheck()
{
    QStringList problems;
    // The whole check, indexes included: an index that lost a row would silently drop a match from a
    // list. It costs about 60 ms on a whole association's season.
    CPrikaz q(*this, QStringLiteral("PRAGMA integrity_check(5)"));
    while (q.Step())
        problems << q.Text(0);
    if (problems == QStringList{QStringLiteral("ok")}) {
        m_checkedClean = true;
        return {};
    }
    m_checkedClean = false;
    return problems.join(QStringLiteral("; "));
}

void CDatabaza::CheckBeforeBulkWrite()
{
    if (m_checkedClean || !m_db)
        return;
    const QString problems = QuickCheck();
    if (!problems.isEmpty())
        throw Damaged(problems, SQLITE_CORRUPT);
}

CChybaDatabazy CDatabaza::Damaged(const QString& engineText, int code)
{
    m_checkedClean = false;
    const QString path = Path();
    if (!path.isEmpty())
        ForgetCleanCheck(path);
    return CChybaDatabazy(DamagedMessage(m_shownPath.isEmpty() ? path : m_shownPath), engineText, code);
}

QString DamagedMessage(const QString& path)
{
    return QStringLiteral(
               "Súbor %1 je poškodený; program v ňom nič nezmení. Obnovte ho zo zálohy (Súbor → Obnoviť "
               "zo zálohy... alebo súbor, ktorý ste si zálohovali).")
        .arg(QDir::toNativeSeparators(path));
}

void CDatabaza::PrepareForBulkWrite()
{
    if (m_server)
        return;
    Execute(QStringLiteral("PRAGMA synchronous=OFF"));
    Execute(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    Execute(QStringLiteral("PRAGMA cache_size=-262144"));
}

void CDatabaza::Close()
{
    m_checkedClean = false;
    FinalizeCache();
    m_cursorForms.clear();
    ++m_generation;
    if (m_db) {
        if (m_server) {
            m_server->RollbackWrite();
            m_server->SaveCache(m_db);
        }
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_server.reset();
}

void CDatabaza::FinalizeCache()
{
    for (const QVector<sqlite3_stmt*>& statements : std::as_const(m_idle))
        for (sqlite3_stmt* stmt : statements)
            sqlite3_finalize(stmt);
    m_idle.clear();
    m_idleCount = 0;
}

sqlite3_stmt* CDatabaza::Acquire(const QString& jetSql, quint64& generation)
{
    if (!m_db)
        throw CChybaDatabazy(QStringLiteral("Nie je otvorená žiadna sezóna."));
    generation = m_generation;
    auto it = m_idle.find(jetSql);
    if (it != m_idle.end() && !it->isEmpty()) {
        --m_idleCount;
        return it->takeLast();
    }
    const QString sql = TranslateJetSql(jetSql);
    sqlite3_stmt* stmt = nullptr;
    const int rc = sqlite3_prepare16_v3(m_db, sql.utf16(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        const QString engine = EngineMessage(m_db);
        sqlite3_finalize(stmt);
        if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB)
            throw Damaged(engine, rc);
        throw CChybaDatabazy(QStringLiteral("Dotaz sa nepodarilo pripraviť."),
                             engine + QStringLiteral("\n") + jetSql, rc);
    }
    return stmt;
}

void CDatabaza::Release(const QString& jetSql, sqlite3_stmt* stmt, quint64 generation)
{
    if (!stmt)
        return;
    if (generation != m_generation || !m_db) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    // Query texts are fixed templates, so the cache stays small; a program that made up texts
    // without end would still not keep more than this many statements.
    if (m_idleCount >= 512)
        FinalizeCache();
    m_idle[jetSql].append(stmt);
    ++m_idleCount;
}

const CDatabaza::CFormaKurzora& CDatabaza::CursorForm(const QString& sql,
                                                      const std::function<CFormaKurzora()>& make)
{
    auto it = m_cursorForms.constFind(sql);
    if (it == m_cursorForms.constEnd())
        it = m_cursorForms.insert(sql, make());
    return *it;
}

bool CDatabaza::IsReadOnly() const
{
    return m_db && !m_server && sqlite3_db_readonly(m_db, "main") == 1;
}

QString CDatabaza::Path() const
{
    if (m_server)
        return m_shownPath;
    return m_db ? QString::fromUtf8(sqlite3_db_filename(m_db, "main")) : QString();
}

bool CDatabaza::TableExists(const QString& name)
{
    return Value(QStringLiteral(
                     "select count(*) from sqlite_master where type='table' and name=? COLLATE NOCASE"),
                 {name})
               .toInt() > 0;
}

int CDatabaza::TableCount()
{
    return Value(QStringLiteral(
                     "select count(*) from sqlite_master where type='table' and name not like 'sqlite*'"))
        .toInt();
}

QStringList CDatabaza::ColumnNames(const QString& table)
{
    QStringList names;
    CPrikaz q(*this, QStringLiteral("select name from pragma_table_info(?)"), {table});
    while (q.Step())
        names << q.Value(0).toString();
    return names;
}

void CDatabaza::Execute(const QString& sql, const QVariantList& params)
{
    CPrikaz q(*this, sql, params);
    while (q.Step()) {
    }
}

QVariant CDatabaza::Value(const QString& sql, const QVariantList& params)
{
    CPrikaz q(*this, sql, params);
    if (!q.Step())
        return {};
    return q.Value(0);
}

qint64 CDatabaza::LastInsertId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

namespace {
// A copy never replaces a season that another program or window works on.
void RefuseHeldTarget(const QString& target)
{
    const QString refusal = SeasonTargetRefusal(target);
    if (!refusal.isEmpty())
        throw CChybaDatabazy(refusal);
}
} // namespace

namespace {

// A temporary copy that failed goes with the journal the engine may have left beside it.
void RemoveTemporaryDatabase(const QString& temporary)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(temporary + QLatin1String(suffix));
}

// Why a new database file `target` could not be written, as the user should read it: the system's
// reason in Slovak when the system gave one, never the name of the hidden temporary.
CChybaDatabazy NewFileError(sqlite3* db, int rc, const QString& target, const QString& sentence,
                            const QString& temporary)
{
    const int system = db ? sqlite3_system_errno(db) : 0;
    if (rc == SQLITE_FULL || IsDiskFull(system))
        return CChybaDatabazy(DiskFullMessage(target), QString(), SQLITE_FULL);
    if (system != 0 &&
        (rc == SQLITE_CANTOPEN || rc == SQLITE_IOERR || rc == SQLITE_READONLY || rc == SQLITE_PERM))
        return CChybaDatabazy(sentence + QStringLiteral(" ") + SystemErrorText(system) + QLatin1Char('.'),
                              QString(), rc);
    QString engine = EngineMessage(db);
    engine.replace(temporary, target);
    return CChybaDatabazy(sentence, engine, rc);
}

} // namespace

void CDatabaza::CopyTo(const QString& target)
{
    if (!m_db)
        throw CChybaDatabazy(QStringLiteral("Nie je otvorená žiadna sezóna."));
    RefuseHeldTarget(target);
    const QString temporary = TemporaryBeside(target);
    sqlite3* out = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temporary).constData(), &out,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(out, "main", m_db, "main");
        if (backup) {
            rc = sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
            rc = rc == SQLITE_DONE ? SQLITE_OK : rc;
        } else {
            rc = sqlite3_errcode(out);
        }
    }
    if (rc != SQLITE_OK) {
        const CChybaDatabazy error = NewFileError(
            out, rc, target,
            QStringLiteral("Kópiu sezóny sa nepodarilo zapísať do %1.").arg(QDir::toNativeSeparators(target)),
            temporary);
        sqlite3_close(out);
        RemoveTemporaryDatabase(temporary);
        if (rc == SQLITE_CORRUPT || rc == SQLITE_NOTADB)
            throw Damaged(error.EngineText(), rc);
        throw error;
    }
    sqlite3_close(out);
    ReplaceWith(temporary, target);
}

void CDatabaza::CompactTo(const QString& target)
{
    RefuseHeldTarget(target);
    const QString temporary = TemporaryBeside(target);
    try {
        Execute(QStringLiteral("VACUUM INTO ?"), {temporary});
    } catch (const CChybaDatabazy& e) {
        RemoveTemporaryDatabase(temporary);
        // The engine names the season it read; the file that did not fit is the copy.
        if (e.EngineCode() == SQLITE_FULL)
            throw CChybaDatabazy(DiskFullMessage(target), QString(), e.EngineCode());
        if (e.EngineCode() == SQLITE_CORRUPT || e.EngineCode() == SQLITE_NOTADB)
            throw;
        QString engine = e.EngineText();
        engine.replace(temporary, target);
        throw CChybaDatabazy(QStringLiteral("Zhutnenú kópiu sezóny sa nepodarilo zapísať do %1.")
                                 .arg(QDir::toNativeSeparators(target)),
                             engine, e.EngineCode());
    }
    ReplaceWith(temporary, target);
}

void CDatabaza::CreateFile(const QString& path, const QStringList& statements, bool replace)
{
    RefuseHeldTarget(path);
    const QString temporary = TemporaryBeside(path);
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(temporary).constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc == SQLITE_OK) {
        QString all = QStringLiteral("BEGIN;");
        for (const QString& s : statements)
            all += s + QLatin1Char(';');
        all += QStringLiteral("COMMIT;");
        rc = sqlite3_exec(db, all.toUtf8().constData(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const CChybaDatabazy error = NewFileError(
            db, rc, path,
            QStringLiteral("Súbor %1 sa nepodarilo vytvoriť.").arg(QDir::toNativeSeparators(path)),
            temporary);
        sqlite3_close(db);
        RemoveTemporaryDatabase(temporary);
        throw error;
    }
    sqlite3_close(db);
    if (replace)
        ReplaceWith(temporary, path);
    else
        ClaimWith(temporary, path);
}

// ---------------------------------------------------------------------------------------------------

CTransakcia::CTransakcia(CDatabaza& db, CRozsah rozsah) : m_db(db)
{
    if (rozsah == kHromadna)
        m_db.CheckBeforeBulkWrite();
    // Inside another transaction (a whole-season job that recalculates, say) this one is a savepoint
    // of it: it commits with the outer one, and its failure takes back only its own writes.
    m_nested = m_db.Handle() && sqlite3_get_autocommit(m_db.Handle()) == 0;
    if (m_nested)
        m_db.Execute(QStringLiteral("SAVEPOINT mirak"));
    else
        m_db.BeginWrite();
    m_active = true;
}

CTransakcia::~CTransakcia()
{
    if (!m_active || !m_db.Handle())
        return;
    if (m_nested)
        sqlite3_exec(m_db.Handle(), "ROLLBACK TO mirak; RELEASE mirak", nullptr, nullptr, nullptr);
    else
        m_db.RollbackWrite();
}

void CTransakcia::Commit()
{
    if (m_nested)
        m_db.Execute(QStringLiteral("RELEASE mirak"));
    else
        m_db.CommitWrite();
    m_active = false;
}
