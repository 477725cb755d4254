#include "CSezonaNaServeri.h"

#include "CChybaDatabazy.h"
#include "CDatabaza.h"
#include "CNastavenia.h"
#include "jetsql.h"
#include "kody.h"
#include "schema.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QSettings>
#include <QUrl>
#include <QUuid>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

// The oldest format a login that may not upgrade a season still works on, and the first whose server
// checks writes in a scope.
constexpr int kVerziaBezUpravy = 2;
constexpr int kVerziaRozsahov = 3;
constexpr int kVerziaKlubov = 4;
// Format 4's check looked for others' changes through the index by competition, three looks at every
// typed score, and the copy's place was found by a statement planned anew at each.
constexpr int kVerziaMiesta = 5;
// A transaction of this program sets it to 'klient': the program announces the change itself, after the
// commit. An announcement inside the transaction would take the server's lock of announcements until the
// commit is on disk, and writes that could be committed together would wait for one another.
constexpr char kOhlasiKlient[] = "mirak.ohlasi";
// How many times over the copy's news must come without others' changes in a competition before a write
// there is sent in a scope again.
constexpr int kNovinyBezCudzich = 3;
// The state the server's check refuses a write in a scope with.
constexpr char kZastaraKopia[] = "MK001";
// Set before the statements of a transaction that read the log from a place on: those are look-ups in
// its index, and a log that grew since the server last counted it (or was never counted) would be
// planned as a scan of all of it at every typed score.
constexpr char kLogPodlaIndexu[] = "set_config('enable_seqscan', 'off', true)";

// `statements` reading the log by its index, the transaction then going on as the server plans (it
// may read whole tables): their results come second in the trip, after the setting's.
QByteArray LogByIndex(const QByteArray& statements)
{
    return QByteArray("select ") + kLogPodlaIndexu + ';' + statements + "reset enable_seqscan;";
}

const QString kPredpona = QStringLiteral("postgresql://");
const QString kPredponaKratka = QStringLiteral("postgres://");

QString Ident(const QString& name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString Literal(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// The server's type for a column the file declares as `declared`, by the engine's own affinity rules.
QString ServerType(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return QStringLiteral("bigint");
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("TEXT")))
        return QStringLiteral("text");
    if (t.contains(QLatin1String("BLOB")))
        return QStringLiteral("bytea");
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")))
        return QStringLiteral("double precision");
    return QStringLiteral("text");
}

// A value as a field of COPY's text form.
void AppendField(QByteArray& line, sqlite3_stmt* stmt, int i, const QString& type, const QString& where,
                 bool& failed, QString& problem)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
        line += "\\N";
        return;
    case SQLITE_INTEGER:
        line += QByteArray::number(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
        return;
    case SQLITE_FLOAT:
        if (type == QLatin1String("bigint")) {
            failed = true;
            problem = QStringLiteral("%1 má desatinné číslo v stĺpci celých čísel").arg(where);
            return;
        }
        line += QByteArray::number(sqlite3_column_double(stmt, i), 'g', 17);
        return;
    case SQLITE_BLOB: {
        if (type != QLatin1String("bytea")) {
            failed = true;
            problem = QStringLiteral("%1 má binárnu hodnotu v stĺpci, ktorý ju nemá").arg(where);
            return;
        }
        const QByteArray bytes(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                               sqlite3_column_bytes(stmt, i));
        line += "\\\\x" + bytes.toHex();
        return;
    }
    default: {
        const QByteArray text(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i));
        if (type == QLatin1String("bigint") || type == QLatin1String("double precision")) {
            failed = true;
            problem =
                QStringLiteral("%1 má text „%2“ v stĺpci čísel").arg(where, QString::fromUtf8(text.left(40)));
            return;
        }
        if (text.contains('\0')) {
            failed = true;
            problem = QStringLiteral("%1 má v texte znak NUL, ktorý server neprijme").arg(where);
            return;
        }
        if (type == QLatin1String("bytea")) {
            line += "\\\\x" + text.toHex();
            return;
        }
        for (const char c : text) {
            switch (c) {
            case '\\':
                line += "\\\\";
                break;
            case '\t':
                line += "\\t";
                break;
            case '\n':
                line += "\\n";
                break;
            case '\r':
                line += "\\r";
                break;
            default:
                line += c;
            }
        }
    }
    }
}

// A value as the server reads it in text (none: NULL): false, with `problem` said, when the server's
// column cannot take it.
bool ServerValue(std::optional<QByteArray>& out, sqlite3_stmt* stmt, int i, const QString& type,
                 const QString& where, QString& problem)
{
    switch (sqlite3_column_type(stmt, i)) {
    case SQLITE_NULL:
        out.reset();
        return true;
    case SQLITE_INTEGER:
        out = QByteArray::number(static_cast<qlonglong>(sqlite3_column_int64(stmt, i)));
        return true;
    case SQLITE_FLOAT:
        if (type == QLatin1String("bigint")) {
            problem = QStringLiteral("%1 má desatinné číslo v stĺpci celých čísel").arg(where);
            return false;
        }
        out = QByteArray::number(sqlite3_column_double(stmt, i), 'g', 17);
        return true;
    case SQLITE_BLOB:
        if (type != QLatin1String("bytea")) {
            problem = QStringLiteral("%1 má binárnu hodnotu v stĺpci, ktorý ju nemá").arg(where);
            return false;
        }
        out = "\\x" + QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)),
                                 sqlite3_column_bytes(stmt, i))
                          .toHex();
        return true;
    default: {
        const QByteArray text(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                              sqlite3_column_bytes(stmt, i));
        if (type == QLatin1String("bigint") || type == QLatin1String("double precision")) {
            problem =
                QStringLiteral("%1 má text „%2“ v stĺpci čísel").arg(where, QString::fromUtf8(text.left(40)));
            return false;
        }
        if (text.contains('\0')) {
            problem = QStringLiteral("%1 má v texte znak NUL, ktorý server neprijme").arg(where);
            return false;
        }
        out = type == QLatin1String("bytea") ? "\\x" + text.toHex() : text;
        return true;
    }
    }
}

// A value as a literal of the server's SQL (standard_conforming_strings on).
bool AppendLiteral(QByteArray& out, sqlite3_stmt* stmt, int i, const QString& type, const QString& where,
                   QString& problem)
{
    std::optional<QByteArray> value;
    if (!ServerValue(value, stmt, i, type, where, problem))
        return false;
    if (!value) {
        out += "NULL";
        return true;
    }
    if (type == QLatin1String("bigint") && sqlite3_column_type(stmt, i) == SQLITE_INTEGER) {
        out += *value;
        return true;
    }
    out += '\'';
    for (const char c : std::as_const(*value)) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    out += '\'';
    return true;
}

// One field of COPY's text form back as it was; `isNull` for \N.
QByteArray Unescape(const char* p, qsizetype n, bool& isNull)
{
    isNull = n == 2 && p[0] == '\\' && p[1] == 'N';
    QByteArray out;
    if (isNull)
        return out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != '\\' || i + 1 >= n) {
            out += p[i];
            continue;
        }
        const char c = p[++i];
        switch (c) {
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'v':
            out += '\v';
            break;
        default:
            if (c >= '0' && c <= '7') {
                int v = c - '0';
                for (int k = 0; k < 2 && i + 1 < n && p[i + 1] >= '0' && p[i + 1] <= '7'; ++k)
                    v = v * 8 + (p[++i] - '0');
                out += static_cast<char>(v);
            } else {
                out += c;
            }
        }
    }
    return out;
}

void ExecLocal(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error ? error : "");
        sqlite3_free(error);
        throw CChybaDatabazy(QStringLiteral("Kópiu sezóny zo servera sa nepodarilo pripraviť."),
                             text + QLatin1Char('\n') + sql);
    }
}

// The keys as a list of the statement's own values: numbers as numbers, so that the key's index is used.
QString KeyList(const QSet<QString>& keys, const QString& type)
{
    QStringList values;
    for (const QString& k : keys) {
        bool number = false;
        k.toLongLong(&number);
        values << (type == QLatin1String("bigint") && number ? k : Literal(k));
    }
    return values.join(QStringLiteral(", "));
}

// The engine's count of changes to the tables' definitions: an upgrade that adds a table or a column
// moves it.
int SchemaVersion(sqlite3* db)
{
    int version = 0;
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db, "pragma main.schema_version", -1, &stmt, nullptr);
    if (sqlite3_step(stmt) == SQLITE_ROW)
        version = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    return version;
}

// An error the server did not send (no state of its own) or one of a connection or a shutdown: the
// connection is gone, whatever libpq still says of it.
bool ConnectionLost(const PGresult* r)
{
    const QByteArray state = r ? QByteArray(PQresultErrorField(r, PG_DIAG_SQLSTATE)) : QByteArray();
    return state.isEmpty() || state.startsWith("08") || state.startsWith("57P");
}

QString LocalError(sqlite3* db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

} // namespace

// ---------------------------------------------------------------------------------------------------

bool IsServerAddress(const QString& text)
{
    return text.startsWith(kPredpona, Qt::CaseInsensitive) ||
           text.startsWith(kPredponaKratka, Qt::CaseInsensitive);
}

namespace {

QString Decoded(const QString& text)
{
    return QUrl::fromPercentEncoding(text.toUtf8());
}

// The address's query split into its items as written (still percent-encoded).
QStringList QueryItems(const QString& query)
{
    return query.isEmpty() ? QStringList() : query.split(QLatin1Char('&'), Qt::SkipEmptyParts);
}

QString ItemName(const QString& item)
{
    return Decoded(item.section(QLatin1Char('='), 0, 0));
}

} // namespace

CAdresaServera ParseServerAddress(const QString& address, bool seasonRequired)
{
    // libpq's URI: postgresql://[user[:password]@][host][:port][/database][?name=value&...], where the
    // host may be a socket folder written percent-encoded; read as libpq reads it, not as a web address.
    const QString wrong = QStringLiteral("Adresa %1 nie je adresa sezóny na serveri. Píše sa "
                                         "postgresql://POUZIVATEL@SERVER:PORT/DATABAZA?sezona=NAZOV.");
    if (!IsServerAddress(address) || address.contains(QLatin1Char(' ')) || address.contains(QLatin1Char('#')))
        throw CChybaDatabazy(wrong.arg(address));
    const qsizetype start = address.indexOf(QStringLiteral("://")) + 3;
    const qsizetype question = address.indexOf(QLatin1Char('?'), start);
    const QString main = address.mid(start, question < 0 ? -1 : question - start);
    const QStringList items = QueryItems(question < 0 ? QString() : address.mid(question + 1));
    const qsizetype slash = main.indexOf(QLatin1Char('/'));
    const QString authority = slash < 0 ? main : main.left(slash);
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    const QString userInfo = at < 0 ? QString() : authority.left(at);
    const QString hostPort = at < 0 ? authority : authority.mid(at + 1);

    CAdresaServera a;
    a.user = Decoded(userInfo.section(QLatin1Char(':'), 0, 0));
    a.database = slash < 0 ? QString() : Decoded(main.mid(slash + 1));
    a.host = Decoded(hostPort.startsWith(QLatin1Char('[')) ? hostPort.section(QLatin1Char(']'), 0, 0).mid(1)
                                                           : hostPort.section(QLatin1Char(':'), 0, 0));
    QStringList kept;
    QStringList shownItems;
    QSet<QString> given;
    for (const QString& item : items) {
        const QString name = ItemName(item);
        if (name == QLatin1String("sezona")) {
            a.season = Decoded(item.section(QLatin1Char('='), 1));
            continue;
        }
        if (name == QLatin1String("host") && a.host.isEmpty())
            a.host = Decoded(item.section(QLatin1Char('='), 1));
        if (name == QLatin1String("user") && a.user.isEmpty())
            a.user = Decoded(item.section(QLatin1Char('='), 1));
        if (name == QLatin1String("dbname") && a.database.isEmpty())
            a.database = Decoded(item.section(QLatin1Char('='), 1));
        given << name;
        kept << item;
        if (name != QLatin1String("password"))
            shownItems << item;
    }
    if (seasonRequired && a.season.isEmpty())
        throw CChybaDatabazy(
            QStringLiteral("Adresa %1 nehovorí, ktorá sezóna na serveri je tá pravá: doplňte "
                           "?sezona=NAZOV.")
                .arg(address.left(start) + hostPort));
    if (!a.season.isEmpty()) {
        // A schema's name on the server: the server's own names and its length limit are not a season's.
        if (a.season.toUtf8().size() > 63 || a.season.startsWith(QLatin1String("pg_"), Qt::CaseInsensitive) ||
            a.season.contains(QChar(0)) || a.season.trimmed() != a.season)
            throw CChybaDatabazy(QStringLiteral("Názov sezóny „%1“ server neprijme: najviac 63 bajtov, bez "
                                                "medzier na začiatku a konci a nie začínajúci pg_.")
                                     .arg(a.season));
    }
    // A server that does not answer is told within seconds, and one that stops answering in the middle
    // of a command (its computer gone, the network cut without a word) within half a minute, instead of
    // the window waiting for it; the address may say otherwise.
    const QList<QPair<QString, int>> defaults = {{QStringLiteral("connect_timeout"), kCasovyLimitSpojenia},
                                                 {QStringLiteral("keepalives_idle"), 10},
                                                 {QStringLiteral("keepalives_interval"), 5},
                                                 {QStringLiteral("keepalives_count"), 3},
                                                 {QStringLiteral("tcp_user_timeout"), 30000}};
    for (const auto& [name, value] : defaults)
        if (!given.contains(name))
            kept << QStringLiteral("%1=%2").arg(name).arg(value);
    const QString prefix = address.left(start);
    a.connection = prefix + main + QLatin1Char('?') + kept.join(QLatin1Char('&'));
    const QString shownUser = userInfo.section(QLatin1Char(':'), 0, 0);
    const QString shownMain = (shownUser.isEmpty() ? QString() : shownUser + QLatin1Char('@')) + hostPort +
                              (slash < 0 ? QString() : main.mid(slash));
    if (!a.season.isEmpty())
        shownItems << QStringLiteral("sezona=") + QString::fromUtf8(QUrl::toPercentEncoding(a.season));
    a.shown = prefix + shownMain +
              (shownItems.isEmpty() ? QString() : QLatin1Char('?') + shownItems.join(QLatin1Char('&')));
    return a;
}

QString AddressWithSeason(const QString& address, const QString& season)
{
    const qsizetype question = address.indexOf(QLatin1Char('?'));
    QStringList items = QueryItems(question < 0 ? QString() : address.mid(question + 1));
    items.removeIf([](const QString& item) { return ItemName(item) == QLatin1String("sezona"); });
    items << QStringLiteral("sezona=") + QString::fromUtf8(QUrl::toPercentEncoding(season));
    return (question < 0 ? address : address.left(question)) + QLatin1Char('?') +
           items.join(QLatin1Char('&'));
}

QString ServerAddress(const QString& host, int port, const QString& database, const QString& user,
                      const QString& password, const QString& season)
{
    const auto encoded = [](const QString& part) { return QString::fromUtf8(QUrl::toPercentEncoding(part)); };
    QString address = kPredpona;
    if (!user.isEmpty())
        address += encoded(user) + (password.isEmpty() ? QString() : QLatin1Char(':') + encoded(password)) +
                   QLatin1Char('@');
    address += encoded(host);
    if (port > 0)
        address += QLatin1Char(':') + QString::number(port);
    address += QLatin1Char('/') + encoded(database);
    return season.isEmpty() ? address : AddressWithSeason(address, season);
}

QString ShownSeasonName(const QString& pathOrAddress)
{
    if (!IsServerAddress(pathOrAddress))
        return QFileInfo(pathOrAddress).fileName();
    try {
        const CAdresaServera a = ParseServerAddress(pathOrAddress);
        return QStringLiteral("%1 (server %2)")
            .arg(a.season, a.host.isEmpty() || a.host.startsWith(QLatin1Char('/'))
                               ? QStringLiteral("na tomto počítači")
                               : a.host);
    } catch (const CChybaDatabazy&) {
        return pathOrAddress;
    }
}

void ForgetServerCopy(const QString& address)
{
    const CAdresaServera a = ParseServerAddress(address);
    QFile::remove(CSezonaNaServeri::CachePathOf(a) + QStringLiteral(".txt"));
    QFile::remove(CSezonaNaServeri::CachePathOf(a) + QStringLiteral(".mdb"));
}

QStringList ServerSeasons(const QString& address)
{
    CSezonaNaServeri server(ParseServerAddress(address, false));
    return server.Seasons();
}

// ---------------------------------------------------------------------------------------------------

// A result of the server, cleared when it goes.
class CSezonaNaServeri::CVysledok
{
public:
    explicit CVysledok(PGresult* r) : m_r(r) {}
    CVysledok(CVysledok&& o) noexcept : m_r(o.m_r) { o.m_r = nullptr; }
    ~CVysledok() { PQclear(m_r); }
    int Rows() const { return PQntuples(m_r); }
    bool IsNull(int row, int col) const { return PQgetisnull(m_r, row, col) != 0; }
    QString Text(int row, int col) const { return QString::fromUtf8(PQgetvalue(m_r, row, col)); }
    const char* Data(int row, int col) const { return PQgetvalue(m_r, row, col); }
    int Length(int row, int col) const { return PQgetlength(m_r, row, col); }
    qint64 Int(int row, int col) const { return QByteArray(PQgetvalue(m_r, row, col)).toLongLong(); }

private:
    PGresult* m_r;
};

CSezonaNaServeri::CSezonaNaServeri(const CAdresaServera& address) : m_address(address)
{
    m_conn = PQconnectdb(address.connection.toUtf8().constData());
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString server = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw CChybaDatabazy(
            QStringLiteral("Nepodarilo sa pripojiť k serveru %1: server neodpovedá, odmietol "
                           "prihlásenie alebo databáza neexistuje.")
                .arg(address.shown),
            server);
    }
    // The server's notices (a shutdown announced, say) are no message for the user: its errors are.
    PQsetNoticeProcessor(
        m_conn, [](void*, const char*) {}, nullptr);
    m_client = QString::fromLatin1(QUuid::createUuid().toRfc4122().toHex());
    PrepareSession();
}

void CSezonaNaServeri::PrepareSession()
{
    // A new connection (the first, or one made again) has no statement prepared.
    m_prepared.clear();
    PQsetClientEncoding(m_conn, "UTF8");
    // The log names the connection of each change, so that a window's own changes are never its conflict.
    ExecAll(QStringLiteral("set client_min_messages = warning; select set_config('mirak.klient', %1, false);")
                .arg(Literal(m_client))
                .toUtf8());
    if (m_announced)
        ExecAll(ListenStatements());
}

QByteArray CSezonaNaServeri::ListenStatements() const
{
    // Others count the windows that have the season open by the name the server shows for each connection.
    return QStringLiteral("listen mirak; listen mirak_pritomnost; select set_config('application_name', %1, "
                          "false); select pg_notify('mirak_pritomnost', %2);")
        .arg(Literal(PresenceName()), Literal(m_address.season))
        .toUtf8();
}

QString CSezonaNaServeri::PresenceName() const
{
    return QStringLiteral("agenda-mirak: ") + m_address.season.left(40);
}

CSezonaNaServeri::~CSezonaNaServeri()
{
    FinalizeCaptureQueries();
    if (m_conn) {
        // The others' count of those who have the season open goes down at once, not at their next look.
        if (m_announced && PQstatus(m_conn) == CONNECTION_OK && !m_inWrite)
            PQclear(PQexec(m_conn, QStringLiteral("select set_config('application_name', '', false); select "
                                                  "pg_notify('mirak_pritomnost', %1)")
                                       .arg(Literal(m_address.season))
                                       .toUtf8()
                                       .constData()));
        PQfinish(m_conn);
    }
}

QString CSezonaNaServeri::Login() const
{
    return m_conn ? QString::fromUtf8(PQuser(m_conn)) : QString();
}

void CSezonaNaServeri::Fail(const QString& sentence, const QString& serverText, bool connectionLost)
{
    // A connection that broke is said as such: nothing was written, and the next command connects anew.
    if (connectionLost || (m_conn && PQstatus(m_conn) != CONNECTION_OK)) {
        m_broken = true;
        m_inWrite = false;
        throw CChybaDatabazy(
            QStringLiteral("Spojenie so serverom %1 sa prerušilo; zmena sa neuložila a sezóna "
                           "ostáva, ako ju server naposledy uložil. Skúste to znova, keď bude "
                           "server bežať.")
                .arg(m_address.shown),
            serverText);
    }
    throw CChybaDatabazy(sentence, serverText);
}

CSezonaNaServeri::CVysledok CSezonaNaServeri::Exec(const QString& sql, const QStringList& params,
                                                   bool allowCopy)
{
    QVector<QByteArray> values;
    QVector<const char*> pointers;
    for (const QString& p : params) {
        values << p.toUtf8();
    }
    for (const QByteArray& v : values)
        pointers << v.constData();
    PGresult* r = PQexecParams(m_conn, sql.toUtf8().constData(), static_cast<int>(pointers.size()), nullptr,
                               pointers.isEmpty() ? nullptr : pointers.constData(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(r);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK ||
        (allowCopy && (status == PGRES_COPY_IN || status == PGRES_COPY_OUT)))
        return CVysledok(r);
    const QString server = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(m_conn)).trimmed();
    const bool lost = ConnectionLost(r);
    const QString sentence = RefusalSentence(r);
    PQclear(r);
    Fail(sentence, server, lost);
}

QString CSezonaNaServeri::RefusalSentence(const PGresult* r) const
{
    // The server holds each committee to its part: a refusal of rights is said as such.
    if (r && QByteArray(PQresultErrorField(r, PG_DIAG_SQLSTATE)) == "42501")
        return QStringLiteral("Na túto zmenu nemáte na serveri právo: prihlásený ako %1, rola %2; zmena sa "
                              "neuložila.")
            .arg(Login(), RoleName(m_role));
    return QStringLiteral("Server odmietol požiadavku na sezónu %1.").arg(m_address.season);
}

QString CSezonaNaServeri::Schema() const
{
    return Ident(m_address.season);
}

QString CSezonaNaServeri::Table(const QString& name) const
{
    return Schema() + QLatin1Char('.') + Ident(name);
}

void CSezonaNaServeri::EnsureConnected()
{
    if (PQstatus(m_conn) == CONNECTION_OK && !m_broken)
        return;
    // The server may be back (restarted while the window stayed open): one new attempt.
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        throw CChybaDatabazy(QStringLiteral("Server %1 nie je dostupný; zmena sa neuložila. Sezóna ostáva, "
                                            "ako bola na serveri uložená; skúste to znova, keď bude server "
                                            "bežať.")
                                 .arg(m_address.shown),
                             QString::fromUtf8(PQerrorMessage(m_conn)).trimmed());
    m_broken = false;
    PrepareSession();
}

QStringList CSezonaNaServeri::Seasons()
{
    QStringList names;
    const CVysledok r = Exec(
        QStringLiteral("select n.nspname from pg_class c join pg_namespace n on n.oid = c.relnamespace where "
                       "c.relname = 'mirak_meta' and c.relkind = 'r' order by n.nspname"));
    for (int i = 0; i < r.Rows(); ++i)
        names << r.Text(i, 0);
    return names;
}

bool CSezonaNaServeri::SeasonExists()
{
    return Exec(QStringLiteral("select 1 from pg_namespace where nspname = $1"), {m_address.season}).Rows() >
           0;
}

QVector<CSezonaNaServeri::CTabulka> CSezonaNaServeri::TablesOf(sqlite3* db)
{
    QVector<CTabulka> tables;
    sqlite3_stmt* list = nullptr;
    sqlite3_prepare_v2(db,
                       "select name from main.sqlite_master where type='table' and substr(name, 1, 7) <> "
                       "'sqlite_' order by rowid",
                       -1, &list, nullptr);
    while (sqlite3_step(list) == SQLITE_ROW) {
        CTabulka t;
        t.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(list, 0)));
        tables << t;
    }
    sqlite3_finalize(list);
    for (CTabulka& t : tables) {
        sqlite3_stmt* info = nullptr;
        sqlite3_prepare_v2(db, "select name, type, pk from pragma_table_info(?)", -1, &info, nullptr);
        const QByteArray name = t.name.toUtf8();
        sqlite3_bind_text(info, 1, name.constData(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        int keys = 0;
        int key = -1;
        while (sqlite3_step(info) == SQLITE_ROW) {
            t.columns << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 0)));
            t.types << ServerType(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 1))));
            if (sqlite3_column_int(info, 2) > 0) {
                ++keys;
                key = static_cast<int>(t.columns.size() - 1);
            }
        }
        sqlite3_finalize(info);
        t.key = keys == 1 ? key : -1;
    }
    return tables;
}

void CSezonaNaServeri::CreateTable(const CTabulka& table)
{
    QStringList columns;
    for (int i = 0; i < table.columns.size(); ++i)
        columns << Ident(table.columns.at(i)) + QLatin1Char(' ') + table.types.at(i) +
                       (i == table.key ? QStringLiteral(" primary key") : QString());
    Exec(QStringLiteral("create table %1 (%2)").arg(Table(table.name), columns.join(QStringLiteral(", "))));
}

QString CSezonaNaServeri::CopyOutcome()
{
    PGresult* r = PQgetResult(m_conn);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const QString server = ok ? QString() : QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
    PQclear(r);
    while (PGresult* rest = PQgetResult(m_conn))
        PQclear(rest);
    return ok ? QString() : (server.isNull() ? QStringLiteral("") : server);
}

void CSezonaNaServeri::CopyRowsUp(sqlite3* db, const CTabulka& table, const QString& where)
{
    QStringList names;
    for (const QString& c : table.columns)
        names << Ident(c);
    Exec(QStringLiteral("copy %1 (%2) from stdin").arg(Table(table.name), names.join(QStringLiteral(", "))),
         {}, true);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = QStringLiteral("select %1 from main.%2 %3")
                               .arg(names.join(QStringLiteral(", ")), Ident(table.name), where)
                               .toUtf8();
    if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const QString local = LocalError(db);
        PQputCopyEnd(m_conn, "nedá sa čítať");
        CVysledok(PQgetResult(m_conn));
        throw CChybaDatabazy(QStringLiteral("Tabuľku %1 sa nepodarilo prečítať.").arg(table.name), local);
    }
    QByteArray chunk;
    bool failed = false;
    QString problem;
    qint64 row = 0;
    while (!failed && sqlite3_step(stmt) == SQLITE_ROW) {
        ++row;
        for (int i = 0; i < table.columns.size() && !failed; ++i) {
            if (i > 0)
                chunk += '\t';
            const QString where =
                QStringLiteral("Tabuľka %1, riadok %2, stĺpec %3")
                    .arg(table.name,
                         QString::number(table.key >= 0 ? sqlite3_column_int64(stmt, table.key) : row),
                         table.columns.at(i));
            AppendField(chunk, stmt, i, table.types.at(i), where, failed, problem);
        }
        chunk += '\n';
        if (chunk.size() > (1 << 16)) {
            PQputCopyData(m_conn, chunk.constData(), static_cast<int>(chunk.size()));
            chunk.clear();
        }
    }
    sqlite3_finalize(stmt);
    if (!failed && !chunk.isEmpty())
        PQputCopyData(m_conn, chunk.constData(), static_cast<int>(chunk.size()));
    PQputCopyEnd(m_conn, failed ? "hodnota sa nedá uložiť" : nullptr);
    const QString server = CopyOutcome();
    const bool ok = server.isNull();
    if (failed)
        throw CChybaDatabazy(QStringLiteral("Sezónu sa nepodarilo uložiť na server: %1.").arg(problem));
    if (!ok)
        Fail(QStringLiteral("Riadky tabuľky %1 sa nepodarilo zapísať na server.").arg(table.name), server);
}

namespace {

// How a column's server text becomes a local value, decided once per table rather than per field.
enum class CDruhStlpca { Cislo, Realne, Bajty, Text };

QVector<CDruhStlpca> KindsOf(const QStringList& serverTypes)
{
    QVector<CDruhStlpca> kinds;
    for (const QString& type : serverTypes)
        kinds << (type == QLatin1String("bigint")             ? CDruhStlpca::Cislo
                  : type == QLatin1String("double precision") ? CDruhStlpca::Realne
                  : type == QLatin1String("bytea")            ? CDruhStlpca::Bajty
                                                              : CDruhStlpca::Text);
    return kinds;
}

// One value of a server row (text form) as a local value, handed to a statement's place or to a
// column of the copy's rows.
template <typename Ciel>
void ServerValueTo(Ciel&& to, CDruhStlpca kind, const char* value, qsizetype size, bool isNull)
{
    if (isNull) {
        to.Null();
        return;
    }
    switch (kind) {
    case CDruhStlpca::Cislo: {
        qint64 number = 0;
        std::from_chars(value, value + size, number);
        to.Int(number);
        break;
    }
    case CDruhStlpca::Realne:
        to.Double(QByteArray(value, size).toDouble());
        break;
    case CDruhStlpca::Bajty:
        to.Blob(QByteArray::fromHex(QByteArray(value, size).mid(2)));
        break;
    case CDruhStlpca::Text:
        to.Text(value, size);
        break;
    }
}

// A place of an insert. The text is bound without a copy: it must stay alive until the insert has been
// stepped.
struct CMiestoPrikazu
{
    sqlite3_stmt* insert;
    int place;
    void Null() { sqlite3_bind_null(insert, place); }
    void Int(qint64 n) { sqlite3_bind_int64(insert, place, n); }
    void Double(double d) { sqlite3_bind_double(insert, place, d); }
    void Blob(const QByteArray& b)
    {
        sqlite3_bind_blob64(insert, place, b.constData(), static_cast<sqlite3_uint64>(b.size()),
                            SQLITE_TRANSIENT);
    }
    void Text(const char* v, qsizetype n)
    {
        sqlite3_bind_text(insert, place, v, static_cast<int>(n), SQLITE_STATIC);
    }
};

// A column of a row the copy's table gives.
struct CStlpecRiadku
{
    sqlite3_context* ctx;
    void Null() { sqlite3_result_null(ctx); }
    void Int(qint64 n) { sqlite3_result_int64(ctx, n); }
    void Double(double d) { sqlite3_result_double(ctx, d); }
    void Blob(const QByteArray& b)
    {
        sqlite3_result_blob64(ctx, b.constData(), static_cast<sqlite3_uint64>(b.size()), SQLITE_TRANSIENT);
    }
    void Text(const char* v, qsizetype n)
    {
        sqlite3_result_text64(ctx, v, static_cast<sqlite3_uint64>(n), SQLITE_TRANSIENT, SQLITE_UTF8);
    }
};

// The rows of a COPY from the server read as a table of the local engine: `select c0, c1, ... from
// mirak_prenos(?)`, the copy bound as a pointer. A table's rows go in by one insert, so that its counter
// is written once and no statement's parameters are copied for each row.
constexpr char kPrenos[] = "mirak_prenos";
// As many columns as a table of the former program may have.
constexpr int kStlpcePrenosu = 255;

struct CPrenos
{
    PGconn* conn;
    const QVector<CDruhStlpca>* kinds;
};

struct CKurzorPrenosu : sqlite3_vtab_cursor
{
    const CPrenos* copy = nullptr;
    char* line = nullptr;
    sqlite3_int64 row = 0;
    struct CPole
    {
        const char* value;
        qsizetype size;
        bool isNull;
    };
    std::vector<CPole> fields;
    // The rare field with an escape, kept while its row is read.
    std::vector<QByteArray> unescaped;

    void Free()
    {
        if (line)
            PQfreemem(line);
        line = nullptr;
    }
    // The next line of the copy, split into its fields; false at its end (or when it failed, which the
    // copy's outcome tells).
    bool Next()
    {
        Free();
        fields.clear();
        unescaped.clear();
        if (PQgetCopyData(copy->conn, &line, 0) < 0) {
            line = nullptr;
            return false;
        }
        ++row;
        const char* p = line;
        const char* end = p + std::strlen(p);
        if (end > p && end[-1] == '\n')
            --end;
        for (qsizetype col = 0; col < copy->kinds->size(); ++col) {
            const char* tab = static_cast<const char*>(std::memchr(p, '\t', static_cast<size_t>(end - p)));
            const char* fieldEnd = tab ? tab : end;
            CPole field{p, fieldEnd - p, false};
            if (std::memchr(field.value, '\\', static_cast<size_t>(field.size))) {
                unescaped.push_back(Unescape(field.value, field.size, field.isNull));
                field.value = unescaped.back().constData();
                field.size = unescaped.back().size();
            }
            fields.push_back(field);
            p = tab ? tab + 1 : end;
        }
        return true;
    }
};

int PrenosConnect(sqlite3* db, void*, int, const char* const*, sqlite3_vtab** out, char**)
{
    QByteArray schema = "create table x(";
    for (int i = 0; i < kStlpcePrenosu; ++i)
        schema += 'c' + QByteArray::number(i) + ',';
    schema += "prenos hidden)";
    const int rc = sqlite3_declare_vtab(db, schema.constData());
    if (rc != SQLITE_OK)
        return rc;
    *out = static_cast<sqlite3_vtab*>(sqlite3_malloc(sizeof(sqlite3_vtab)));
    if (!*out)
        return SQLITE_NOMEM;
    std::memset(*out, 0, sizeof(sqlite3_vtab));
    return SQLITE_OK;
}

int PrenosDisconnect(sqlite3_vtab* table)
{
    sqlite3_free(table);
    return SQLITE_OK;
}

int PrenosBestIndex(sqlite3_vtab*, sqlite3_index_info* info)
{
    // Only as a function of its copy: without one there is nothing to read.
    for (int i = 0; i < info->nConstraint; ++i) {
        const auto& c = info->aConstraint[i];
        if (c.iColumn == kStlpcePrenosu && c.op == SQLITE_INDEX_CONSTRAINT_EQ && c.usable) {
            info->aConstraintUsage[i].argvIndex = 1;
            info->aConstraintUsage[i].omit = 1;
            info->estimatedCost = 1e6;
            return SQLITE_OK;
        }
    }
    return SQLITE_CONSTRAINT;
}

int PrenosOpen(sqlite3_vtab*, sqlite3_vtab_cursor** out)
{
    *out = new CKurzorPrenosu{};
    return SQLITE_OK;
}

CKurzorPrenosu* Kurzor(sqlite3_vtab_cursor* c)
{
    return static_cast<CKurzorPrenosu*>(c);
}

int PrenosClose(sqlite3_vtab_cursor* c)
{
    Kurzor(c)->Free();
    delete Kurzor(c);
    return SQLITE_OK;
}

int PrenosFilter(sqlite3_vtab_cursor* c, int, const char*, int argc, sqlite3_value** argv)
{
    CKurzorPrenosu* k = Kurzor(c);
    k->copy = argc == 1 ? static_cast<const CPrenos*>(sqlite3_value_pointer(argv[0], kPrenos)) : nullptr;
    if (!k->copy)
        return SQLITE_MISUSE;
    k->Next();
    return SQLITE_OK;
}

int PrenosNext(sqlite3_vtab_cursor* c)
{
    Kurzor(c)->Next();
    return SQLITE_OK;
}

int PrenosEof(sqlite3_vtab_cursor* c)
{
    return Kurzor(c)->line == nullptr;
}

int PrenosColumn(sqlite3_vtab_cursor* c, sqlite3_context* ctx, int i)
{
    const CKurzorPrenosu* k = Kurzor(c);
    if (i < 0 || static_cast<size_t>(i) >= k->fields.size()) {
        sqlite3_result_null(ctx);
        return SQLITE_OK;
    }
    const CKurzorPrenosu::CPole& f = k->fields[static_cast<size_t>(i)];
    ServerValueTo(CStlpecRiadku{ctx}, k->copy->kinds->at(i), f.value, f.size, f.isNull);
    return SQLITE_OK;
}

int PrenosRowid(sqlite3_vtab_cursor* c, sqlite3_int64* rowid)
{
    *rowid = Kurzor(c)->row;
    return SQLITE_OK;
}

const sqlite3_module& ModulPrenosu()
{
    static const sqlite3_module module = [] {
        sqlite3_module m{};
        // Eponymous only (no xCreate), and read only.
        m.xConnect = PrenosConnect;
        m.xBestIndex = PrenosBestIndex;
        m.xDisconnect = PrenosDisconnect;
        m.xDestroy = PrenosDisconnect;
        m.xOpen = PrenosOpen;
        m.xClose = PrenosClose;
        m.xFilter = PrenosFilter;
        m.xNext = PrenosNext;
        m.xEof = PrenosEof;
        m.xColumn = PrenosColumn;
        m.xRowid = PrenosRowid;
        return m;
    }();
    return module;
}

} // namespace

sqlite3_stmt* CSezonaNaServeri::PrepareInsert(sqlite3* replica, const CTabulka& table, bool fromCopy)
{
    QStringList names;
    QStringList values;
    for (int i = 0; i < table.columns.size(); ++i) {
        names << Ident(table.columns.at(i));
        values << (fromCopy ? QStringLiteral("c%1").arg(i) : QStringLiteral("?"));
    }
    const QString into =
        QStringLiteral("insert into main.%1 (%2) ").arg(Ident(table.name), names.join(QStringLiteral(", ")));
    const QByteArray sql =
        (into + (fromCopy ? QStringLiteral("select %1 from %2(?)")
                                .arg(values.join(QStringLiteral(", ")), QLatin1String(kPrenos))
                          : QStringLiteral("values (%1)").arg(values.join(QStringLiteral(", ")))))
            .toUtf8();
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(replica, sql.constData(), -1, &insert, nullptr) != SQLITE_OK) {
        sqlite3_finalize(insert);
        throw CChybaDatabazy(QStringLiteral("Kópiu sezóny zo servera sa nepodarilo pripraviť."),
                             LocalError(replica));
    }
    return insert;
}

void CSezonaNaServeri::InsertRowsDown(sqlite3* replica, const CTabulka& table, const CVysledok& rows)
{
    sqlite3_stmt* insert = PrepareInsert(replica, table, false);
    const QVector<CDruhStlpca> kinds = KindsOf(table.types);
    QString problem;
    for (int row = 0; problem.isEmpty() && row < rows.Rows(); ++row) {
        sqlite3_reset(insert);
        for (int col = 0; col < table.columns.size(); ++col)
            ServerValueTo(CMiestoPrikazu{insert, col + 1}, kinds.at(col), rows.Data(row, col),
                          rows.Length(row, col), rows.IsNull(row, col));
        if (sqlite3_step(insert) != SQLITE_DONE)
            problem = LocalError(replica);
    }
    sqlite3_finalize(insert);
    if (!problem.isEmpty())
        throw CChybaDatabazy(
            QStringLiteral("Riadky tabuľky %1 zo servera sa nepodarilo prevziať.").arg(table.name), problem);
}

void CSezonaNaServeri::RegisterCopyReading(sqlite3* replica)
{
    if (sqlite3_create_module_v2(replica, kPrenos, &ModulPrenosu(), nullptr, nullptr) != SQLITE_OK)
        throw CChybaDatabazy(QStringLiteral("Kópiu sezóny zo servera sa nepodarilo pripraviť."),
                             LocalError(replica));
}

void CSezonaNaServeri::CopyRowsDown(sqlite3* replica, const CTabulka& table, const QString& select)
{
    if (table.columns.size() > kStlpcePrenosu)
        throw CChybaDatabazy(QStringLiteral("Tabuľka %1 má viac ako %2 stĺpcov; zo servera sa nedá prevziať.")
                                 .arg(table.name)
                                 .arg(kStlpcePrenosu));
    // The whole table in one insert, its rows read from the server's lines as they come.
    sqlite3_stmt* insert = PrepareInsert(replica, table, true);
    // Finalized however the copy ends: a statement left behind would keep the season's copy open.
    auto finalize = qScopeGuard([insert] { sqlite3_finalize(insert); });
    const QVector<CDruhStlpca> kinds = KindsOf(table.types);
    const CPrenos copy{m_conn, &kinds};
    Exec(QStringLiteral("copy (%1) to stdout").arg(select), {}, true);
    sqlite3_bind_pointer(insert, 1, const_cast<CPrenos*>(&copy), kPrenos, nullptr);
    QString problem;
    if (sqlite3_step(insert) != SQLITE_DONE)
        problem = LocalError(replica);
    finalize.dismiss();
    sqlite3_finalize(insert);
    // What the insert did not read (it stopped at a row it could not take) is read to its end, so that
    // the connection is ready for the next statement.
    for (char* line = nullptr; PQgetCopyData(m_conn, &line, 0) >= 0; line = nullptr)
        PQfreemem(line);
    const QString server = CopyOutcome();
    if (!server.isNull())
        Fail(QStringLiteral("Tabuľku %1 sa nepodarilo prečítať zo servera.").arg(table.name), server);
    if (!problem.isEmpty())
        throw CChybaDatabazy(
            QStringLiteral("Riadky tabuľky %1 zo servera sa nepodarilo prevziať.").arg(table.name), problem);
}

void CSezonaNaServeri::WriteDefinitions(sqlite3* db)
{
    Exec(QStringLiteral("delete from %1").arg(Table(QStringLiteral("mirak_ddl"))));
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(db,
                       "select type, name, tbl_name, sql from main.sqlite_master where sql is not null and "
                       "substr(name, 1, 7) <> 'sqlite_' order by rowid",
                       -1, &stmt, nullptr);
    int order = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        QStringList values;
        for (int i = 0; i < 4; ++i)
            values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)));
        Exec(QStringLiteral("insert into %1 (poradie, typ, nazov, tabulka, sql) values ($1, $2, $3, $4, $5)")
                 .arg(Table(QStringLiteral("mirak_ddl"))),
             {QString::number(++order), values.at(0), values.at(1), values.at(2), values.at(3)});
    }
    sqlite3_finalize(stmt);
    m_schemaVersion = SchemaVersion(db);
}

QVector<QPair<QString, qint64>> CSezonaNaServeri::LocalCounters(sqlite3* db)
{
    // In the file's order, which a file made from the season keeps.
    QVector<QPair<QString, qint64>> counters;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "select name, seq from main.sqlite_sequence order by rowid", -1, &stmt,
                           nullptr) == SQLITE_OK)
        while (sqlite3_step(stmt) == SQLITE_ROW)
            counters.append({QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))),
                             sqlite3_column_int64(stmt, 1)});
    sqlite3_finalize(stmt); // a season where no table counts its IDs has none
    return counters;
}

QByteArray CSezonaNaServeri::CounterStatements(sqlite3* db)
{
    // Only the counters that moved: a typed score moves none.
    QHash<QString, qint64> now;
    QByteArray sql;
    const QVector<QPair<QString, qint64>> counters = LocalCounters(db);
    for (int i = 0; i < counters.size(); ++i) {
        const auto& [table, value] = counters.at(i);
        now.insert(table, value);
        if (m_counters.value(table, -1) != value)
            sql +=
                QStringLiteral("insert into %1 (tabulka, hodnota, poradie) values (%2, %3, %4) on conflict "
                               "(tabulka) do update set hodnota = excluded.hodnota;")
                    .arg(Table(QStringLiteral("mirak_citace")), Literal(table), QString::number(value),
                         QString::number(i))
                    .toUtf8();
    }
    for (auto it = m_counters.constBegin(); it != m_counters.constEnd(); ++it)
        if (!now.contains(it.key()))
            sql += QStringLiteral("delete from %1 where tabulka = %2;")
                       .arg(Table(QStringLiteral("mirak_citace")), Literal(it.key()))
                       .toUtf8();
    m_pendingCounters = now;
    return sql;
}

QString CSezonaNaServeri::CountersQuery() const
{
    return QStringLiteral("select tabulka, hodnota from %1 order by poradie")
        .arg(Table(QStringLiteral("mirak_citace")));
}

void CSezonaNaServeri::ReadCounters(sqlite3* replica)
{
    ReadCounters(replica, Exec(CountersQuery()));
}

void CSezonaNaServeri::ReadCounters(sqlite3* replica, const CVysledok& r)
{
    m_counters.clear();
    for (int i = 0; i < r.Rows(); ++i)
        m_counters.insert(r.Text(i, 0), r.Int(i, 1));
    sqlite3_stmt* has = nullptr;
    const bool counted =
        sqlite3_prepare_v2(replica, "select 1 from main.sqlite_sequence", -1, &has, nullptr) == SQLITE_OK;
    sqlite3_finalize(has);
    if (!counted)
        return;
    ExecLocal(replica, QStringLiteral("delete from main.sqlite_sequence"));
    for (int i = 0; i < r.Rows(); ++i)
        ExecLocal(replica, QStringLiteral("insert into main.sqlite_sequence (name, seq) values (%1, %2)")
                               .arg(Literal(r.Text(i, 0)), QString::number(r.Int(i, 1))));
}

void CSezonaNaServeri::InstallServerTriggers(const CTabulka& table)
{
    // Every change of a row is logged by the server itself, whoever makes it (this program or another
    // client), with the login and the time: the copies in memory take in what the log names.
    Exec(QStringLiteral(
             "create trigger mirak_zmena after insert or update or delete on %1 for each row execute "
             "function %2(%3)")
             .arg(Table(table.name), Table(QStringLiteral("mirak_zaznamenaj")),
                  Literal(table.key >= 0 ? table.columns.at(table.key) : QString())));
}
void CSezonaNaServeri::CreateLogFunction()
{
    // The server logs every change of a row itself, whoever makes it (this program or any other client),
    // with the login, the time, the connection, the row before and after and its competition: the copies
    // in memory take in what the log names, a write finds in it what others changed since it read, and
    // the history shows it. The log is written with the season owner's rights, so a committee reads it
    // and never forges it. Every change is announced to the windows that have the season open (once per
    // transaction: the server folds the same announcement), whichever client made it; this program's own
    // transactions announce theirs after the commit (kOhlasiKlient). Each image is
    // made once: the trigger runs for every row of every write. A row that moved to another competition
    // has none (it touches both).
    Exec(QStringLiteral(
             "create or replace function %1() returns trigger language plpgsql security definer set "
             "search_path = pg_catalog, pg_temp as $f$ declare k text := tg_argv[0]; o jsonb; n jsonb; "
             "ok text; nk text; sk text; kl text := current_setting('mirak.klient', true); begin "
             "if tg_op <> 'INSERT' then o := to_jsonb(old); sk := o ->> 'skupina'; if k <> '' then ok := "
             "o ->> k; end if; end if; "
             "if tg_op <> 'DELETE' then n := to_jsonb(new); if k <> '' then nk := n ->> k; end if; "
             "if tg_op = 'INSERT' then sk := n ->> 'skupina'; elsif sk is distinct from n ->> 'skupina' "
             "then sk := null; end if; end if; "
             "if tg_op = 'UPDATE' and ok is not distinct from nk then "
             "if o = n then return null; end if; "
             "insert into %2 (tabulka, kluc, prihlasenie, klient, operacia, predtym, potom, skupina) values "
             "(tg_table_name, nk, session_user, kl, 'U', o, n, sk); "
             "else if tg_op <> 'INSERT' then insert into %2 (tabulka, kluc, prihlasenie, klient, operacia, "
             "predtym, skupina) values (tg_table_name, ok, session_user, kl, 'D', o, sk); end if; "
             "if tg_op <> 'DELETE' then insert into %2 (tabulka, kluc, prihlasenie, klient, operacia, potom, "
             "skupina) values (tg_table_name, nk, session_user, kl, 'I', n, sk); end if; end if; "
             "if current_setting('%3', true) is distinct from 'klient' then perform pg_notify('mirak', "
             "tg_table_schema); end if; return null; end $f$")
             .arg(Table(QStringLiteral("mirak_zaznamenaj")), Table(QStringLiteral("mirak_zmeny")),
                  QLatin1String(kOhlasiKlient)));
    // A write that keeps to one competition is sent without first taking in what others committed: the
    // server refuses it (kZastaraKopia) when another connection changed, since the copy's last news, a
    // row of that competition in the tables it reads (of those tied to clubs, a row naming one of its
    // clubs before or after), a row of no single competition there, any row of a table it reads whole,
    // or the season's definitions. One query, planned once per session (planning it anew at every call
    // cost more than running it), reading the log from the copy's place on: the copy takes in the news
    // within a second, so that is a few rows, and the same rows the write's place is found from after
    // it. A plan made for any place cannot know that, hence the fence (offset 0) that keeps it a range
    // of the log's key; never a scan of the whole log, which the plan may have been made for while the
    // log was small.
    Exec(QStringLiteral(
             "create or replace function %1(od bigint, ja text, sutaz text, tabulky text[], cele text[], "
             "ddl text, kluby text[], stlpce jsonb) returns bigint language plpgsql set enable_seqscan = off "
             "set plan_cache_mode = force_generic_plan as $f$ begin "
             "perform 1 where (select hodnota from %2 where kluc = 'ddl') is distinct from ddl or exists "
             "(select 1 from (select * from %3 where seq > od offset 0) c where c.klient is distinct from "
             "ja and (c.tabulka = any(cele) or (c.tabulka = any(tabulky) and (c.skupina is null or "
             "(c.skupina = sutaz and (kluby is null or (stlpce -> c.tabulka) is null or exists (select 1 "
             "from jsonb_array_elements_text(stlpce -> c.tabulka) s(stlpec) where c.predtym ->> s.stlpec = "
             "any(kluby) or c.potom ->> s.stlpec = any(kluby)))))))); "
             "if found then raise exception using errcode = '%4', message = 'mirak: zastarana kopia'; end "
             "if; return 0; end $f$")
             .arg(Table(QStringLiteral("mirak_bez_cudzich")), Table(QStringLiteral("mirak_meta")),
                  Table(QStringLiteral("mirak_zmeny")), QLatin1String(kZastaraKopia)));
    // The copy's place after a write in a scope (CommitWrite): the last change of its own when it holds
    // the scoped writes' lock alone, and whether others changed anything since its last news; nothing
    // when it does not. Planned once per session as the check.
    Exec(QStringLiteral(
             "create or replace function %1(zamok bigint, ja text, od bigint, out moje bigint, out cudzie "
             "boolean) language plpgsql set enable_seqscan = off set plan_cache_mode = force_generic_plan "
             "as $f$ begin if pg_try_advisory_xact_lock(zamok) then select max(seq) filter (where klient = "
             "ja), coalesce(bool_or(klient is distinct from ja), false) into moje, cudzie from %2 where seq "
             "> od; end if; end $f$")
             .arg(Table(QStringLiteral("mirak_miesto")), Table(QStringLiteral("mirak_zmeny"))));
}

void CSezonaNaServeri::Upgrade(int version)
{
    if (version >= kVerziaServerovejSezony)
        return;
    InTransaction(QStringLiteral("Sezónu %1 treba previesť na nový formát servera; otvorte ju raz ako jej "
                                 "vlastník alebo sekretár.")
                      .arg(m_address.season),
                  [&] { BringFormatUp(version); });
}

void CSezonaNaServeri::BringFormatUp(int version)
{
    // Format 1 logged only which rows changed: the log gets who from where and the rows before and after.
    if (version < 2)
        Exec(QStringLiteral("alter table %1 add column if not exists klient text, add column if not exists "
                            "operacia text, add column if not exists predtym jsonb, add column if not exists "
                            "potom jsonb, alter column prihlasenie set default session_user")
                 .arg(Table(QStringLiteral("mirak_zmeny"))));
    // Format 2 had no check for writes in a scope, nor the competition of a change.
    if (version < kVerziaRozsahov)
        Exec(QStringLiteral("alter table %1 add column if not exists skupina text")
                 .arg(Table(QStringLiteral("mirak_zmeny"))));
    // Format 3's check knew no clubs; the new one takes more arguments, and a call must find one.
    if (version < kVerziaKlubov)
        Exec(QStringLiteral("drop function if exists %1(bigint, text, text, text[], text[], text)")
                 .arg(Table(QStringLiteral("mirak_bez_cudzich"))));
    CreateLogFunction();
    if (version < kVerziaMiesta) {
        // The log's index by competition served format 4's check alone, and cost every logged row its
        // entry.
        Exec(QStringLiteral("drop index if exists %1").arg(Table(QStringLiteral("mirak_zmeny_skupiny"))));
        // The functions it adds are owned by whoever owns the log's (the secretaries' role), not by the
        // login that happened to bring the format up.
        const QStringList functions = SeasonFunctions();
        const CVysledok owner =
            Exec(QStringLiteral("select quote_ident(pg_get_userbyid(proowner)) from pg_proc where oid = "
                                "to_regprocedure($1)"),
                 {Schema() + QLatin1Char('.') + functions.first()});
        if (owner.Rows() > 0)
            for (const QString& f : functions)
                Exec(QStringLiteral("alter function %1.%2 owner to %3").arg(Schema(), f, owner.Text(0, 0)));
    }
    Exec(QStringLiteral("update %1 set hodnota = $1 where kluc = 'verzia'")
             .arg(Table(QStringLiteral("mirak_meta"))),
         {QString::number(kVerziaServerovejSezony)});
}

void CSezonaNaServeri::InTransaction(const QString& failure, const std::function<void()>& work)
{
    Exec(QStringLiteral("begin"));
    try {
        work();
        Exec(QStringLiteral("commit"));
    } catch (const CChybaDatabazy& e) {
        if (PQstatus(m_conn) == CONNECTION_OK)
            CVysledok(PQexec(m_conn, "rollback"));
        throw CChybaDatabazy(failure, e.EngineText());
    }
}

void CSezonaNaServeri::ReadRole()
{
    QStringList branches;
    for (const CPopisRoly& r : Roles())
        branches << QStringLiteral("when pg_has_role('%1', 'member') then '%1'").arg(r.serverRole);
    const CVysledok r =
        Exec(QStringLiteral("select case when not exists (select 1 from pg_roles where rolname "
                            "= '%1') then '' %2 else '-' end")
                 .arg(Roles().first().serverRole, branches.join(QLatin1Char(' '))));
    const QString role = r.Text(0, 0);
    m_role = role.isEmpty() ? CRola::kBezRol : RoleByServerRole(role).value_or(CRola::kCitatel);
}

void CSezonaNaServeri::ApplyRights()
{
    if (Exec(QStringLiteral("select 1 from pg_roles where rolname = $1"), {Roles().first().serverRole})
            .Rows() == 0)
        return;
    QStringList tables;
    const CVysledok r = Exec(QStringLiteral("select c.relname from pg_class c join pg_namespace n on n.oid = "
                                            "c.relnamespace where n.nspname = $1 and c.relkind = 'r' and "
                                            "c.relname not like 'mirak\\_%'"),
                             {m_address.season});
    for (int i = 0; i < r.Rows(); ++i)
        tables << r.Text(i, 0);
    const auto table = [this](const QString& name) { return Table(name); };
    for (const QString& statement : SeasonRightsStatements(Schema(), table, tables))
        Exec(statement);
}

QString ServerSetupScript(const QString& season)
{
    QString script = QStringLiteral(
        "-- The roles of Agenda Mirak and their rights on one season, as `agenda-mirak --server-setup` "
        "gives\n"
        "-- them (it does so for every season of the database and is safe to run again). Run as the "
        "server's\n"
        "-- administrator in the season's database; the season's owner so far also becomes a secretary:\n"
        "--   grant mirak_sekretar to <owner>;\n"
        "-- A login gets its role with `agenda-mirak --grant ROLE --login NAME ADDRESS`, or:\n"
        "--   select mirak.pridel_rolu('<login>', 'mirak_disciplinarna');\n\n");
    for (const QString& statement : RoleSetupStatements())
        script += statement + QStringLiteral(";\n");
    const QString schema = Ident(season);
    const auto table = [&schema](const QString& name) { return schema + QLatin1Char('.') + Ident(name); };
    for (const QString& statement : SeasonRightsStatements(schema, table, SeasonTables() + OwnTables()))
        script += statement + QStringLiteral(";\n");
    return script;
}

void SetUpServerRoles(const QString& address)
{
    const CAdresaServera database = ParseServerAddress(address, false);
    CSezonaNaServeri server(database);
    server.SetUpRoles();
}

void CSezonaNaServeri::SetUpRoles()
{
    InTransaction(QStringLiteral("Roly programu sa na serveri %1 nepodarilo zriadiť; zriaďuje ich správca "
                                 "servera (prihlásenie s právom vytvárať roly).")
                      .arg(m_address.shown),
                  [&] {
                      for (const QString& statement : RoleSetupStatements())
                          Exec(statement);
                      // The season's owner so far is its secretary from now on.
                      const QStringList seasons =
                          m_address.season.isEmpty() ? Seasons() : QStringList{m_address.season};
                      for (const QString& season : seasons) {
                          m_address.season = season;
                          const CVysledok owner =
                              Exec(QStringLiteral("select r.rolname, r.rolsuper from pg_namespace n join "
                                                  "pg_roles r on r.oid = n.nspowner where n.nspname = $1"),
                                   {season});
                          if (owner.Rows() > 0 && owner.Text(0, 1) != QLatin1String("t") &&
                              owner.Text(0, 0) != Roles().first().serverRole)
                              Exec(QStringLiteral("grant %1 to %2")
                                       .arg(Roles().first().serverRole, Ident(owner.Text(0, 0))));
                          // The rights are given on the season as this program makes it.
                          const CVysledok version =
                              Exec(QStringLiteral("select hodnota::integer from %1 where kluc = 'verzia'")
                                       .arg(Table(QStringLiteral("mirak_meta"))));
                          if (version.Rows() > 0 && version.Int(0, 0) < kVerziaServerovejSezony)
                              BringFormatUp(static_cast<int>(version.Int(0, 0)));
                          ApplyRights();
                      }
                  });
}

void GrantServerRole(const QString& address, const QString& login, CRola role)
{
    CSezonaNaServeri server(ParseServerAddress(address, false));
    server.GrantRole(login, role);
}

void CSezonaNaServeri::GrantRole(const QString& login, CRola role)
{
    QString serverRole;
    for (const CPopisRoly& r : Roles())
        if (r.role == role)
            serverRole = r.serverRole;
    const QString failure =
        QStringLiteral("Rolu %1 sa prihláseniu %2 nepodarilo prideliť.").arg(RoleName(role), login);
    if (Exec(QStringLiteral("select to_regprocedure('mirak.pridel_rolu(text,text)') is null")).Text(0, 0) ==
        QLatin1String("t"))
        throw CChybaDatabazy(failure + QStringLiteral(" Roly programu v databáze %1 ešte nie sú: zriaďte ich "
                                                      "najprv príkazom --server-setup %2.")
                                           .arg(m_address.database, m_address.shown));
    try {
        Exec(QStringLiteral("select mirak.pridel_rolu($1, $2)"), {login, serverRole});
    } catch (const CChybaDatabazy& e) {
        throw CChybaDatabazy(failure, e.EngineText());
    }
}

void CSezonaNaServeri::Listen()
{
    EnsureConnected();
    m_announced = true;
    ExecAll(ListenStatements());
}

int CSezonaNaServeri::Socket() const
{
    return m_conn ? PQsocket(m_conn) : -1;
}

bool CSezonaNaServeri::TakeAnnouncements(bool* presence)
{
    if (presence)
        *presence = false;
    if (!m_conn || m_inWrite || m_broken)
        return false;
    if (!PQconsumeInput(m_conn) || PQstatus(m_conn) != CONNECTION_OK) {
        m_broken = true;
        return false;
    }
    bool others = false;
    const int own = PQbackendPID(m_conn);
    while (PGnotify* n = PQnotifies(m_conn)) {
        if (n->be_pid != own && QString::fromUtf8(n->extra) == m_address.season) {
            if (qstrcmp(n->relname, "mirak") == 0)
                others = true;
            else if (presence)
                *presence = true;
        }
        PQfreemem(n);
    }
    return others;
}

void CSezonaNaServeri::Reconnect(sqlite3* replica)
{
    EnsureConnected();
    Refresh(replica);
}

QStringList CSezonaNaServeri::OthersOpen()
{
    EnsureConnected();
    const CVysledok r =
        Exec(QStringLiteral("select usename, coalesce(client_hostname, host(client_addr), '') "
                            "from pg_stat_activity where application_name = $1 and datname = "
                            "current_database() and pid <> pg_backend_pid() order by 1, 2"),
             {PresenceName()});
    QStringList others;
    for (int i = 0; i < r.Rows(); ++i)
        others << (r.Text(i, 1).isEmpty() ? r.Text(i, 0)
                                          : QStringLiteral("%1 (%2)").arg(r.Text(i, 0), r.Text(i, 1)));
    return others;
}

QVector<CZmenaNaServeri> CSezonaNaServeri::History(const QDateTime& since, const QString& table,
                                                   const QString& key)
{
    EnsureConnected();
    const CVysledok r = Exec(
        QStringLiteral(
            "select seq, to_char(cas at time zone 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), "
            "prihlasenie, tabulka, coalesce(kluc, ''), coalesce(operacia, 'U'), coalesce(predtym::text, "
            "'{}'), coalesce(potom::text, '{}') from %1 where ($1 = '' or cas >= $1::timestamptz) and ($2 "
            "= '' or tabulka = $2) and ($3 = '' or kluc = $3) order by seq")
            .arg(Table(QStringLiteral("mirak_zmeny"))),
        {since.isValid() ? since.toUTC().toString(Qt::ISODate) : QString(), table, key});
    return Changes(r);
}

void CSezonaNaServeri::Upload(sqlite3* source)
{
    EnsureConnected();
    if (SeasonExists())
        throw CChybaDatabazy(QStringLiteral("Sezóna %1 na serveri už je; na server sa nahrá len ako nová. "
                                            "Zvoľte iný názov (?sezona=NAZOV).")
                                 .arg(m_address.season));
    Exec(QStringLiteral("begin"));
    try {
        Exec(QStringLiteral("create schema %1").arg(Schema()));
        Exec(QStringLiteral("create table %1 (kluc text primary key, hodnota text)")
                 .arg(Table(QStringLiteral("mirak_meta"))));
        Exec(
            QStringLiteral(
                "create table %1 (poradie integer primary key, typ text, nazov text, tabulka text, sql text)")
                .arg(Table(QStringLiteral("mirak_ddl"))));
        Exec(QStringLiteral("create table %1 (tabulka text primary key, hodnota bigint, poradie integer)")
                 .arg(Table(QStringLiteral("mirak_citace"))));
        Exec(QStringLiteral(
                 "create table %1 (seq bigserial primary key, tabulka text not null, kluc text, "
                 "prihlasenie text not null default session_user, cas timestamptz not null "
                 "default now(), klient text, operacia text, predtym jsonb, potom jsonb, skupina text)")
                 .arg(Table(QStringLiteral("mirak_zmeny"))));
        CreateLogFunction();
        // Whoever reads the season with SQL of his own gets the program's Slovak order and score rule.
        Exec(QStringLiteral("create collation %1 (provider = icu, locale = 'sk-SK')")
                 .arg(Table(QString::fromLatin1(kSlovakCollation).toLower())));
        Exec(QStringLiteral(
                 "create function %1(v bigint) returns integer language sql immutable as $f$ select "
                 "case when v between 0 and 99 or v in (%2, %3) then v::integer else %2 end $f$")
                 .arg(Table(QString::fromLatin1(kSqlSkore)), QString::number(kBezVysledku),
                      QString::number(kKontumacia)));
        for (const CTabulka& t : TablesOf(source)) {
            CreateTable(t);
            CopyRowsUp(source, t);
            InstallServerTriggers(t);
        }
        WriteDefinitions(source);
        m_counters.clear();
        if (const QByteArray counters = CounterStatements(source); !counters.isEmpty())
            ExecAll(counters);
        m_counters = m_pendingCounters;
        Exec(QStringLiteral("insert into %1 values ('verzia', $1), ('ddl', '1'), ('program', $2), ('id', $3)")
                 .arg(Table(QStringLiteral("mirak_meta"))),
             {QString::number(kVerziaServerovejSezony), QStringLiteral(MIRAK_VERSION),
              QString::fromLatin1(QUuid::createUuid().toRfc4122().toHex())});
        ApplyRights();
        Exec(QStringLiteral("commit"));
    } catch (...) {
        if (PQstatus(m_conn) == CONNECTION_OK)
            CVysledok(PQexec(m_conn, "rollback"));
        throw;
    }
}

void CSezonaNaServeri::Load(sqlite3* replica)
{
    EnsureConnected();
    ReadRole();
    // The season is read as it stood at one moment when no write in a scope was under way (see
    // Refresh): their lock is held while the transaction takes its snapshot.
    try {
        ExecAll("select pg_advisory_lock(" + ScopedWritesLock() + ");");
        ExecAll("begin isolation level repeatable read read only; select 1; select pg_advisory_unlock(" +
                ScopedWritesLock() + ");");
    } catch (...) {
        if (m_conn && PQstatus(m_conn) == CONNECTION_OK) {
            CVysledok(PQexec(m_conn, "rollback"));
            CVysledok(PQexec(m_conn, "select pg_advisory_unlock_all()"));
        }
        throw;
    }
    try {
        if (!SeasonExists() || Exec(QStringLiteral("select 1 from pg_class c join pg_namespace n on n.oid = "
                                                   "c.relnamespace where n.nspname = $1 "
                                                   "and c.relname = 'mirak_meta'"),
                                    {m_address.season})
                                       .Rows() == 0)
            throw CChybaDatabazy(QStringLiteral("Sezóna %1 na serveri %2 nie je. Sezóny databázy: %3.")
                                     .arg(m_address.season, m_address.shown,
                                          Seasons().isEmpty() ? QStringLiteral("žiadne")
                                                              : Seasons().join(QStringLiteral(", "))));
        const CVysledok meta =
            Exec(QStringLiteral("select kluc, hodnota from %1").arg(Table(QStringLiteral("mirak_meta"))));
        QHash<QString, QString> values;
        for (int i = 0; i < meta.Rows(); ++i)
            values.insert(meta.Text(i, 0), meta.Text(i, 1));
        const int version = values.value(QStringLiteral("verzia")).toInt();
        if (version > kVerziaServerovejSezony)
            throw CChybaDatabazy(
                QStringLiteral("Sezónu %1 zapísal novší program (%2, formát %3); tento program "
                               "pozná formát najviac %4. Otvorte ju novším programom.")
                    .arg(m_address.season, values.value(QStringLiteral("program")), QString::number(version),
                         QString::number(kVerziaServerovejSezony)));
        if (version < kVerziaServerovejSezony && !m_keepFormat) {
            Exec(QStringLiteral("commit"));
            if (version < kVerziaBezUpravy) {
                Upgrade(version);
            } else {
                // Format 2 lacks only what makes a typed score one trip: a login that may not bring it
                // up works on it as it is.
                try {
                    Upgrade(version);
                } catch (const CChybaDatabazy&) {
                    if (IsDisconnected())
                        throw;
                    m_keepFormat = true;
                }
            }
            Load(replica);
            return;
        }
        m_format = version;
        m_ddlGeneration = values.value(QStringLiteral("ddl"));
        m_instance = values.value(QStringLiteral("id"));
        const qint64 last = Exec(QStringLiteral("select coalesce(max(seq), 0) from %1")
                                     .arg(Table(QStringLiteral("mirak_zmeny"))))
                                .Int(0, 0);
        // The copy this computer kept at its last closing, when it is of this very season and its
        // tables: only what was committed since comes from the server.
        if (LoadCache(replica, last) && CacheHasEveryTable(replica)) {
            CheckServerTables();
            InstallTriggers(replica);
            PullChanges(replica, ExecAll(ChangesQuery()), 0);
            Exec(QStringLiteral("commit"));
            return;
        }
        const CVysledok ddl = Exec(QStringLiteral("select typ, sql from %1 order by poradie")
                                       .arg(Table(QStringLiteral("mirak_ddl"))));
        for (int i = 0; i < ddl.Rows(); ++i)
            if (ddl.Text(i, 0) == QLatin1String("table"))
                ExecLocal(replica, ddl.Text(i, 1));
        m_tables = TablesOf(replica);
        CheckServerTables();
        ExecLocal(replica, QStringLiteral("begin"));
        for (const CTabulka& t : m_tables) {
            QStringList names;
            for (const QString& c : t.columns)
                names << Ident(c);
            CopyRowsDown(
                replica, t,
                QStringLiteral("select %1 from %2").arg(names.join(QStringLiteral(", ")), Table(t.name)));
        }
        for (int i = 0; i < ddl.Rows(); ++i)
            if (ddl.Text(i, 0) != QLatin1String("table"))
                ExecLocal(replica, ddl.Text(i, 1));
        ReadCounters(replica);
        ExecLocal(replica, QStringLiteral("commit"));
        m_seen = last;
        Exec(QStringLiteral("commit"));
    } catch (...) {
        if (PQstatus(m_conn) == CONNECTION_OK)
            CVysledok(PQexec(m_conn, "rollback"));
        sqlite3_exec(replica, "rollback", nullptr, nullptr, nullptr);
        throw;
    }
    InstallTriggers(replica);
}

void CSezonaNaServeri::CheckServerTables()
{
    // The tables the server has must be the ones the season names, every column of them.
    const CVysledok columns =
        Exec(QStringLiteral(
                 "select c.relname, a.attname from pg_attribute a join pg_class c on c.oid = a.attrelid join "
                 "pg_namespace n on n.oid = c.relnamespace where n.nspname = $1 and c.relkind = 'r' and "
                 "a.attnum > 0 and not a.attisdropped"),
             {m_address.season});
    QSet<QString> present;
    for (int i = 0; i < columns.Rows(); ++i)
        present << columns.Text(i, 0) + QLatin1Char('.') + columns.Text(i, 1);
    for (const CTabulka& t : m_tables)
        for (const QString& c : t.columns)
            if (!present.contains(t.name + QLatin1Char('.') + c))
                throw CChybaDatabazy(
                    QStringLiteral("Sezóna %1 na serveri je zmenená mimo programu: %2.")
                        .arg(m_address.season,
                             present.contains(t.name + QLatin1Char('.') + t.columns.value(0))
                                 ? QStringLiteral("tabuľke %1 chýba stĺpec %2").arg(t.name, c)
                                 : QStringLiteral("chýba tabuľka %1").arg(t.name)));
}

QString CSezonaNaServeri::CachePath() const
{
    return CachePathOf(m_address);
}

QString CSezonaNaServeri::CachePathOf(const CAdresaServera& address)
{
    // Beside the user's settings, a file for each server, database and season.
    const QString settings = UserSettingsFolder();
    const QByteArray key = QCryptographicHash::hash(
        (address.host + QLatin1Char('\n') + address.database + QLatin1Char('\n') + address.season).toUtf8(),
        QCryptographicHash::Sha1);
    return QDir(settings).filePath(QStringLiteral("kopie-zo-servera/") +
                                   QString::fromLatin1(key.toHex().left(20)));
}

bool CSezonaNaServeri::CacheHasEveryTable(sqlite3* replica)
{
    // A copy whose checksum matches and that still lacks a table of the season is no copy of it (cut
    // short while it was written): the season is read whole.
    QSet<QString> kept;
    for (const CTabulka& t : std::as_const(m_tables))
        kept << t.name;
    const CVysledok ddl = Exec(
        QStringLiteral("select nazov from %1 where typ = 'table'").arg(Table(QStringLiteral("mirak_ddl"))));
    bool whole = ddl.Rows() > 0;
    for (int i = 0; whole && i < ddl.Rows(); ++i)
        whole = kept.contains(ddl.Text(i, 0));
    if (whole)
        return true;
    for (const CTabulka& t : TablesOf(replica))
        sqlite3_exec(replica, QStringLiteral("drop table main.%1").arg(Ident(t.name)).toUtf8().constData(),
                     nullptr, nullptr, nullptr);
    m_tables.clear();
    m_counters.clear();
    m_seen = 0;
    m_cacheCurrent = false;
    return false;
}

bool CSezonaNaServeri::LoadCache(sqlite3* replica, qint64 serverLast)
{
    QFile about(CachePath() + QStringLiteral(".txt"));
    if (m_instance.isEmpty() || !about.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(about.readAll()).split(QLatin1Char('\n'));
    // id, generation of the definitions, the last change the copy holds; a season made anew or put back
    // from a backup (fewer changes than the copy has seen) is read whole.
    if (lines.size() < 4 || lines.at(0) != m_instance || lines.at(1) != m_ddlGeneration ||
        lines.at(2).toLongLong() > serverLast)
        return false;
    // A copy that is not byte for byte the one written is not used.
    QFile copy(CachePath() + QStringLiteral(".mdb"));
    if (!copy.open(QIODevice::ReadOnly) ||
        QCryptographicHash::hash(copy.readAll(), QCryptographicHash::Sha1).toHex() != lines.at(3).toLatin1())
        return false;
    copy.close();
    sqlite3* file = nullptr;
    const QByteArray path = QFile::encodeName(CachePath() + QStringLiteral(".mdb"));
    bool ok = sqlite3_open_v2(path.constData(), &file, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_backup* backup = sqlite3_backup_init(replica, "main", file, "main");
        ok = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        sqlite3_backup_finish(backup);
    }
    sqlite3_close(file);
    if (!ok) {
        // Whatever of the copy came in goes: the season is read whole into an empty database.
        for (const CTabulka& t : TablesOf(replica))
            sqlite3_exec(replica,
                         QStringLiteral("drop table main.%1").arg(Ident(t.name)).toUtf8().constData(),
                         nullptr, nullptr, nullptr);
        return false;
    }
    m_tables = TablesOf(replica);
    m_seen = lines.at(2).toLongLong();
    m_counters.clear();
    for (const auto& [table, value] : LocalCounters(replica))
        m_counters.insert(table, value);
    m_cacheCurrent = true;
    return true;
}

void CSezonaNaServeri::SaveCache(sqlite3* replica)
{
    // The copy kept is the season as it is already: nothing to write.
    if (m_instance.isEmpty() || m_inWrite || m_cacheCurrent)
        return;
    const QString path = CachePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::setPermissions(QFileInfo(path).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // Written beside and renamed, so that a copy is whole or absent; a copy that cannot be written only
    // means the next opening reads the season whole.
    // A name of this writer's own: two windows of the season closing at once each write a whole copy,
    // and the one renamed last is the one described (or none is, and the next opening reads it whole).
    const QString temporary =
        path + QStringLiteral(".novy-%1").arg(QString::fromLatin1(QUuid::createUuid().toRfc4122().toHex()));
    QFile::remove(temporary);
    sqlite3* file = nullptr;
    bool ok = sqlite3_open_v2(QFile::encodeName(temporary).constData(), &file,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_backup* backup = sqlite3_backup_init(file, "main", replica, "main");
        ok = backup && sqlite3_backup_step(backup, -1) == SQLITE_DONE;
        sqlite3_backup_finish(backup);
    }
    sqlite3_close(file);
    QFile about(path + QStringLiteral(".txt"));
    if (!ok || !about.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QFile::remove(temporary);
        return;
    }
    // The old description goes before its copy is replaced and the new one comes after the new copy is
    // in place: an interruption leaves no description of a copy that is not the one it describes.
    about.close();
    QFile::remove(path + QStringLiteral(".txt"));
    QFile::remove(path + QStringLiteral(".mdb"));
    QFile written(temporary);
    if (!written.open(QIODevice::ReadOnly))
        return;
    const QByteArray sum = QCryptographicHash::hash(written.readAll(), QCryptographicHash::Sha1).toHex();
    written.close();
    if (!QFile::rename(temporary, path + QStringLiteral(".mdb")))
        return;
    if (about.open(QIODevice::WriteOnly | QIODevice::Truncate))
        about.write(QStringLiteral("%1\n%2\n%3\n%4\n")
                        .arg(m_instance, m_ddlGeneration, QString::number(m_seen), QString::fromLatin1(sum))
                        .toUtf8());
}

QString CSezonaNaServeri::CapturedTable(const CTabulka& t)
{
    return Ident(QStringLiteral("mirak_stare_") + t.name);
}

void CSezonaNaServeri::InstallTriggers(sqlite3* replica, const QSet<QString>& unchanged)
{
    // What a write records stays in memory: a temporary file per write would cost more than the write.
    ExecLocal(replica, QStringLiteral("pragma temp_store = memory"));
    FinalizeCaptureQueries();
    // A table without a key is written whole: the tables it changed, for the server to take.
    ExecLocal(replica, QStringLiteral("create temp table if not exists mirak_zmeny (tabulka text, kluc)"));
    // The tables with a key a write touched, so that only those are looked through at its end.
    ExecLocal(replica,
              QStringLiteral("create temp table if not exists mirak_dotknute (tabulka text primary key)"));
    m_forgetChanges = {QStringLiteral("delete from temp.mirak_zmeny"),
                       QStringLiteral("delete from temp.mirak_dotknute")};
    // The triggers ask this program whether to record: what the copy takes in from the server is no
    // change of its own, and recording it only to forget it was most of the taking in.
    sqlite3_create_function_v2(
        replica, "mirak_zaznamenava", 0, SQLITE_UTF8, &m_recording,
        [](sqlite3_context* context, int, sqlite3_value**) {
            sqlite3_result_int(context, *static_cast<const bool*>(sqlite3_user_data(context)) ? 1 : 0);
        },
        nullptr, nullptr, nullptr);
    for (const CTabulka& t : m_tables) {
        // A table's name may hold "%1" itself: it is put in last.
        const auto name = [&t](char op) {
            return Ident(QStringLiteral("mirak_%1_%2").arg(QString(QLatin1Char(op)), t.name));
        };
        // A trigger of each event, named by its first letter, recording only when the program says so.
        const auto trigger = [&](const char* event, const QString& body) {
            ExecLocal(replica,
                      QStringLiteral(
                          "create temp trigger %1 after %2 on main.%3 when mirak_zaznamenava() begin %4 end")
                          .arg(name(event[0]), QLatin1String(event), Ident(t.name), body));
        };
        for (const char op : {'i', 'u', 'd'})
            ExecLocal(replica, QStringLiteral("drop trigger if exists temp.%1").arg(name(op)));
        const QString captured = CapturedTable(t);
        // What a write in progress recorded of a table the upgrade did not change stays for the server.
        const bool keep = unchanged.contains(t.name);
        if (!keep)
            ExecLocal(replica, QStringLiteral("drop table if exists temp.%1").arg(captured));
        if (t.key < 0) {
            const QString record =
                QStringLiteral("insert into mirak_zmeny values (%1, null);").arg(Literal(t.name));
            for (const char* event : {"insert", "update", "delete"})
                trigger(event, record);
            continue;
        }
        // Of every row a write touches, what it held before (once, at its first change; `mirak_bol` 0 for
        // a row the write itself inserted): the server gets only the columns that changed, and a change
        // of the same columns by another since they were read refuses the write.
        QStringList names, olds;
        for (const QString& c : t.columns) {
            names << Ident(c);
            olds << QStringLiteral("old.") + Ident(c);
        }
        const QString key = Ident(t.columns.at(t.key));
        ExecLocal(replica,
                  QStringLiteral(
                      "create temp table if not exists %1 as select *, 1 as mirak_bol from main.%2 where 0")
                      .arg(captured, Ident(t.name)));
        ExecLocal(replica, QStringLiteral("create unique index if not exists temp.%1 on %2 (%3)")
                               .arg(Ident(QStringLiteral("mirak_kluc_") + t.name), captured, key));
        // Not "insert or ignore": a statement's "or replace" would override it inside its triggers.
        const QString before =
            QStringLiteral("insert into %1 (%2, mirak_bol) select %3, 1 where not exists (select 1 from %1 "
                           "where %4 = old.%4);")
                .arg(captured, names.join(QStringLiteral(", ")), olds.join(QStringLiteral(", ")), key);
        const QString touched =
            QStringLiteral("insert into mirak_dotknute select %1 where not exists (select 1 from "
                           "mirak_dotknute where tabulka = %1);")
                .arg(Literal(t.name));
        const QString inserted =
            QStringLiteral("insert into %1 (%2, mirak_bol) select new.%2, 0 where not exists "
                           "(select 1 from %1 where %2 = new.%2);")
                .arg(captured, key) +
            touched;
        trigger("insert", inserted);
        trigger("update", before + QLatin1Char(' ') + inserted);
        trigger("delete", before + QLatin1Char(' ') + touched);
    }
    ExecLocal(replica, QStringLiteral("pragma recursive_triggers = on"));
    // What the tables are now: a change of them by the program's upgrade is the server's too.
    m_schemaVersion = SchemaVersion(replica);
}

sqlite3_stmt* CSezonaNaServeri::Bookkeeping(sqlite3* replica, const QByteArray& sql)
{
    const QString key = QString::fromUtf8(sql);
    sqlite3_stmt* stmt = m_captureQueries.value(key);
    if (stmt) {
        sqlite3_reset(stmt);
        return stmt;
    }
    if (sqlite3_prepare_v2(replica, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    m_captureQueries.insert(key, stmt);
    return stmt;
}

QStringList CSezonaNaServeri::TouchedTables(sqlite3* replica)
{
    QStringList tables;
    if (sqlite3_stmt* stmt = Bookkeeping(replica, "select tabulka from temp.mirak_dotknute")) {
        while (sqlite3_step(stmt) == SQLITE_ROW)
            tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_reset(stmt);
    }
    return tables;
}

void CSezonaNaServeri::ForgetLocalChanges(sqlite3* replica)
{
    if (m_forgetChanges.isEmpty())
        return;
    QStringList statements;
    for (const QString& table : TouchedTables(replica))
        statements
            << QStringLiteral("delete from temp.%1").arg(Ident(QStringLiteral("mirak_stare_") + table));
    statements << m_forgetChanges;
    for (const QString& sql : std::as_const(statements))
        if (sqlite3_stmt* stmt = Bookkeeping(replica, sql.toUtf8())) {
            sqlite3_step(stmt);
            sqlite3_reset(stmt);
        }
}

void CSezonaNaServeri::FinalizeCaptureQueries()
{
    for (sqlite3_stmt* stmt : std::as_const(m_captureQueries))
        sqlite3_finalize(stmt);
    m_captureQueries.clear();
}

// The first refusal among a trip's results, told once the trip is read to its end.
struct CSezonaNaServeri::COdmietnutie
{
    QString error;
    QString sentence;
    bool lost = false;
    bool stale = false;
};

void CSezonaNaServeri::NoteRefusal(COdmietnutie& refusal, const PGresult* r) const
{
    const ExecStatusType status = PQresultStatus(r);
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || !refusal.error.isEmpty())
        return;
    refusal.error = QString::fromUtf8(PQresultErrorMessage(r)).trimmed();
    if (refusal.error.isEmpty())
        refusal.error = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    refusal.lost = ConnectionLost(r);
    refusal.sentence = RefusalSentence(r);
    refusal.stale = QByteArray(PQresultErrorField(r, PG_DIAG_SQLSTATE)) == kZastaraKopia;
}

void CSezonaNaServeri::Refuse(const COdmietnutie& refusal)
{
    if (refusal.stale) {
        for (const QString& place : RefusedPlaces(m_scope))
            m_busy.insert(place, kNovinyBezCudzich);
        throw CZastaraKopia();
    }
    if (!refusal.error.isEmpty())
        Fail(refusal.sentence, refusal.error, refusal.lost);
}

std::vector<CSezonaNaServeri::CVysledok> CSezonaNaServeri::ExecAll(const QByteArray& sql)
{
    // Statements sent together go to the server and back once.
    std::vector<CVysledok> results;
    if (!PQsendQuery(m_conn, sql.constData()))
        Fail(RefusalSentence(nullptr), QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(), true);
    COdmietnutie refusal;
    while (PGresult* r = PQgetResult(m_conn)) {
        NoteRefusal(refusal, r);
        results.emplace_back(r);
    }
    Refuse(refusal);
    return results;
}

std::vector<CSezonaNaServeri::CVysledok> CSezonaNaServeri::ExecPrepared(const QVector<CDotaz>& statements)
{
    // A write's statements take a few names each: past this many (a program open all season, writes of
    // ever new shapes), the rest are parsed at each use.
    constexpr qsizetype kNajviacPripravenych = 500;
    const auto sendFailed = [this] {
        Fail(RefusalSentence(nullptr), QString::fromUtf8(PQerrorMessage(m_conn)).trimmed(), true);
    };
    if (!PQenterPipelineMode(m_conn))
        sendFailed();
    // Sent in one pipeline and read back at its end: one trip, as ExecAll's. Of each command, the text a
    // preparation prepares (its result read and dropped), or none for a statement (its result kept).
    QVector<QByteArray> preparing;
    bool sent = true;
    for (const CDotaz& statement : statements) {
        QVector<const char*> values;
        for (const std::optional<QByteArray>& v : statement.values)
            values << (v ? v->constData() : nullptr);
        const int n = static_cast<int>(values.size());
        QByteArray name = m_prepared.value(statement.sql);
        if (name.isEmpty() && m_prepared.size() < kNajviacPripravenych) {
            name = "mirak_" + QByteArray::number(++m_preparedNames);
            sent = sent && PQsendPrepare(m_conn, name.constData(), statement.sql.constData(), n, nullptr);
            preparing << statement.sql;
            m_prepared.insert(statement.sql, name);
        }
        sent = sent && (name.isEmpty() ? PQsendQueryParams(m_conn, statement.sql.constData(), n, nullptr,
                                                           values.constData(), nullptr, nullptr, 0)
                                       : PQsendQueryPrepared(m_conn, name.constData(), n, values.constData(),
                                                             nullptr, nullptr, 0));
        preparing << QByteArray();
    }
    if (!sent || !PQpipelineSync(m_conn)) {
        // What was prepared is not known: the connection is made again before the next command.
        m_prepared.clear();
        sendFailed();
    }
    std::vector<CVysledok> results;
    COdmietnutie refusal;
    for (const QByteArray& prepares : std::as_const(preparing)) {
        while (PGresult* r = PQgetResult(m_conn)) {
            NoteRefusal(refusal, r);
            if (prepares.isEmpty()) {
                results.emplace_back(r);
                continue;
            }
            // A preparation after a refused statement is skipped, and one refused itself: not there.
            if (PQresultStatus(r) != PGRES_COMMAND_OK)
                m_prepared.remove(prepares);
            PQclear(r);
        }
        if (PQstatus(m_conn) != CONNECTION_OK)
            break;
    }
    // A connection lost is made again before the next command, with nothing prepared (PrepareSession).
    if (PQstatus(m_conn) == CONNECTION_OK) {
        while (PGresult* r = PQgetResult(m_conn)) {
            const bool sync = PQresultStatus(r) == PGRES_PIPELINE_SYNC;
            PQclear(r);
            if (sync)
                break;
        }
        PQexitPipelineMode(m_conn);
    }
    Refuse(refusal);
    return results;
}

QByteArray CSezonaNaServeri::ChangesQuery() const
{
    // With each change its competition, when the log has it, and whether another connection made it.
    return LogByIndex(
        QStringLiteral("select hodnota from %1 where kluc = 'ddl'; select seq, tabulka, kluc, "
                       "%4, klient is distinct from %5 from %2 where seq > %3 order by seq;")
            .arg(Table(QStringLiteral("mirak_meta")), Table(QStringLiteral("mirak_zmeny")),
                 QString::number(m_seen),
                 m_format >= kVerziaRozsahov ? QStringLiteral("skupina") : QStringLiteral("null::text"),
                 Literal(m_client))
            .toUtf8());
}

void CSezonaNaServeri::PullChanges(sqlite3* replica, const std::vector<CVysledok>& results, size_t at)
{
    Pull(replica, results.at(at + 1), results.at(at + 2));
}

void CSezonaNaServeri::BeginWrite(sqlite3* replica)
{
    EnsureConnected();
    m_inWrite = true;
    m_scope.competition = 0;
    // What the user saw when she began: the copy as it was when she set about the change, or when this
    // write began.
    m_readForWrite = m_readMark >= 0 ? std::min(m_readMark, m_seen) : m_seen;
    try {
        // One writer of a season at a time, each on what the others committed.
        const std::vector<CVysledok> r =
            ExecAll("begin; select pg_advisory_xact_lock(" + SeasonLock() + ");" + ChangesQuery());
        PullChanges(replica, r, 2);
        ForgetLocalChanges(replica);
    } catch (...) {
        RollbackWrite();
        throw;
    }
}
void CSezonaNaServeri::BeginWriteInScope(const CRozsahZapisu& scope)
{
    EnsureConnected();
    m_inWrite = true;
    m_readForWrite = m_readMark >= 0 ? std::min(m_readMark, m_seen) : m_seen;
    m_scope = scope;
}

QString CSezonaNaServeri::TablePlace(const QString& table, const QString& competition)
{
    return table + QLatin1Char('|') + competition;
}

QStringList CSezonaNaServeri::RefusedPlaces(const CRozsahZapisu& scope) const
{
    QStringList places;
    // A season of an older format's check knows no clubs: it refuses whole competitions.
    if (m_format >= kVerziaKlubov)
        for (int club : scope.clubs)
            places << QStringLiteral("%1/%2").arg(scope.competition).arg(club);
    if (places.isEmpty())
        for (const QString& table : scope.competitionTables)
            places << TablePlace(table, QString::number(scope.competition));
    return places;
}

bool CSezonaNaServeri::WritesInScope(const CRozsahZapisu& scope) const
{
    if (m_format < kVerziaRozsahov)
        return false;
    // What the server's check looks at besides: the tables read whole, and the scope's tables' rows of no
    // single competition.
    QStringList places = RefusedPlaces(scope) + scope.wholeTables;
    for (const QString& table : scope.competitionTables)
        places << TablePlace(table, QString());
    return std::none_of(places.cbegin(), places.cend(), [&](const QString& p) { return m_busy.contains(p); });
}

QByteArray CSezonaNaServeri::AnnouncedByClient()
{
    return QStringLiteral("set_config('%1', 'klient', true)").arg(QLatin1String(kOhlasiKlient)).toUtf8();
}

namespace {

QString TextArray(const QStringList& names)
{
    QStringList literals;
    for (const QString& n : names)
        literals << Literal(n);
    return QStringLiteral("array[%1]::text[]").arg(literals.join(QStringLiteral(", ")));
}

} // namespace

QVector<CSezonaNaServeri::CDotaz> CSezonaNaServeri::ScopeCheck()
{
    // A window's scores all have one scope but for their clubs: the check's statement, which names the
    // scope's tables and columns, is written out once, without clubs and with them.
    const auto textOf = std::make_tuple(m_ddlGeneration, m_client, m_format);
    if (m_checkText[0].isEmpty() || m_scopeTextOf.competitionTables != m_scope.competitionTables ||
        m_scopeTextOf.wholeTables != m_scope.wholeTables ||
        m_scopeTextOf.clubColumns != m_scope.clubColumns || m_checkTextOf != textOf) {
        QJsonObject columns;
        for (auto it = m_scope.clubColumns.constBegin(); it != m_scope.clubColumns.constEnd(); ++it)
            columns.insert(it.key(), QJsonArray::fromStringList(it.value()));
        const QString clubColumns =
            Literal(QString::fromUtf8(QJsonDocument(columns).toJson(QJsonDocument::Compact)));
        // Writes in different competitions go on at once (the season's lock shared); those of one
        // competition one after the other, each checked on what the one before committed. One
        // statement: the locks are taken in its order, and the check's own query reads what was
        // committed by then. The trip reads no table whole: the log's reads go by its index to the
        // commit.
        const auto statement = [&](const QString& clubs) {
            return QStringLiteral(
                       "select %1, %2, pg_advisory_xact_lock_shared(%3), pg_advisory_xact_lock_shared(%4), "
                       "pg_advisory_xact_lock(%3, $1::integer), %5($2::bigint, %6, $3::text, %7, %8, %9%10)")
                .arg(QLatin1String(kLogPodlaIndexu), QString::fromUtf8(AnnouncedByClient()),
                     QString::fromUtf8(SeasonLock()), QString::fromUtf8(ScopedWritesLock()),
                     Table(QStringLiteral("mirak_bez_cudzich")), Literal(m_client),
                     TextArray(m_scope.competitionTables), TextArray(m_scope.wholeTables),
                     Literal(m_ddlGeneration), clubs)
                .toUtf8();
        };
        m_checkText[0] = statement(m_format >= kVerziaKlubov ? QStringLiteral(", null, null") : QString());
        m_checkText[1] = statement(QStringLiteral(", $4::text[], %1::jsonb").arg(clubColumns));
        m_scopeTextOf = m_scope;
        m_checkTextOf = textOf;
    }
    // What changes from score to score goes as values: the competition ($1 for the lock, $3 for the
    // check), the copy's place ($2) and the clubs ($4, in the text form of an array), which a check of
    // a season of an older format does not take.
    const QByteArray competition = QByteArray::number(m_scope.competition);
    CDotaz check{{}, {competition, QByteArray::number(m_seen), competition}};
    const bool withClubs = m_format >= kVerziaKlubov && !m_scope.clubs.isEmpty();
    if (withClubs) {
        QByteArray ids;
        for (int club : m_scope.clubs)
            ids += (ids.isEmpty() ? "" : ",") + QByteArray::number(club);
        check.values << ("{" + ids + "}");
    }
    check.sql = m_checkText[withClubs ? 1 : 0];
    return {CDotaz{"begin", {}}, check};
}

bool CSezonaNaServeri::KeptToScope(sqlite3* replica, const QStringList& touched, const QSet<QString>& whole)
{
    // A table written whole, a new ID or a new column would need the others' changes first.
    if (!whole.isEmpty() || ReplicaSchemaVersion(replica) != m_schemaVersion || CountersMoved(replica))
        return false;
    for (const QString& name : touched) {
        if (!m_scope.competitionTables.contains(name))
            return false;
        const CTabulka* t = nullptr;
        for (const CTabulka& candidate : std::as_const(m_tables))
            if (candidate.name == name)
                t = &candidate;
        if (!t || !t->columns.contains(QStringLiteral("skupina")))
            return false;
        // A row before and after the write must be of the competition and, in a table tied to clubs,
        // name one of the scope's clubs.
        const QStringList clubColumns =
            m_scope.clubs.isEmpty() ? QStringList() : m_scope.clubColumns.value(name);
        for (const QString& c : clubColumns)
            if (!t->columns.contains(c))
                return false;
        const auto outside = [&](const QString& row) {
            if (clubColumns.isEmpty())
                return QStringLiteral("0");
            // The clubs as parameters of their own (?2, ?3...): a list read from a parameter would be
            // made into a table at every row.
            QStringList naming;
            for (const QString& c : clubColumns)
                for (int i = 0; i < m_scope.clubs.size(); ++i)
                    naming << QStringLiteral("%1.%2 = ?%3").arg(row, Ident(c), QString::number(i + 2));
            return QStringLiteral("coalesce(%1, 0) = 0").arg(naming.join(QStringLiteral(" or ")));
        };
        // Prepared once per table, columns and number of clubs, as the capture's own queries: a typed
        // score asks at every write.
        const QString cacheKey = QStringLiteral("rozsah %1 %2 %3")
                                     .arg(name, clubColumns.join(QLatin1Char(',')),
                                          QString::number(clubColumns.isEmpty() ? 0 : m_scope.clubs.size()));
        sqlite3_stmt* stmt = m_captureQueries.value(cacheKey);
        if (!stmt) {
            const QString key = Ident(t->columns.at(t->key));
            const QByteArray query =
                QStringLiteral("select count(*) from temp.%1 s left join main.%2 m on m.%3 = s.%3 where "
                               "(s.mirak_bol = 1 and (s.skupina is not ?1 or %4)) or (m.%3 is not null and "
                               "(m.skupina is not ?1 or %5))")
                    .arg(CapturedTable(*t), Ident(name), key, outside(QStringLiteral("s")),
                         outside(QStringLiteral("m")))
                    .toUtf8();
            if (sqlite3_prepare_v2(replica, query.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
                sqlite3_finalize(stmt);
                return false;
            }
            m_captureQueries.insert(cacheKey, stmt);
        }
        sqlite3_bind_int64(stmt, 1, m_scope.competition);
        if (!clubColumns.isEmpty())
            for (int i = 0; i < m_scope.clubs.size(); ++i)
                sqlite3_bind_int64(stmt, i + 2, m_scope.clubs.at(i));
        const bool ok = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int64(stmt, 0) == 0;
        sqlite3_reset(stmt);
        if (!ok)
            return false;
    }
    return true;
}

int CSezonaNaServeri::ReplicaSchemaVersion(sqlite3* replica)
{
    int version = 0;
    if (sqlite3_stmt* stmt = Bookkeeping(replica, "pragma main.schema_version")) {
        if (sqlite3_step(stmt) == SQLITE_ROW)
            version = sqlite3_column_int(stmt, 0);
        sqlite3_reset(stmt);
    }
    return version;
}

bool CSezonaNaServeri::CountersMoved(sqlite3* replica)
{
    bool moved = false;
    // A season where no table counts its IDs has no sequence table, and nothing to move.
    if (sqlite3_stmt* stmt = Bookkeeping(replica, "select name, seq from main.sqlite_sequence")) {
        while (!moved && sqlite3_step(stmt) == SQLITE_ROW)
            moved = m_counters.value(
                        QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))), -1) !=
                    sqlite3_column_int64(stmt, 1);
        sqlite3_reset(stmt);
    }
    return moved;
}

void CSezonaNaServeri::Refresh(sqlite3* replica)
{
    EnsureConnected();
    // The list of changes is read when no write in a scope is under way: they commit out of the order
    // of their places, and a place seen must have nothing before it still to come. A usual write is
    // not waited for: nothing else is under way beside it, and its places come after all that is seen.
    std::vector<CVysledok> r;
    try {
        r = ExecAll("begin; select pg_advisory_xact_lock(" + ScopedWritesLock() + ");" + ChangesQuery() +
                    "commit;");
    } catch (...) {
        if (m_conn && PQstatus(m_conn) == CONNECTION_OK && PQtransactionStatus(m_conn) != PQTRANS_IDLE)
            CVysledok(PQexec(m_conn, "rollback"));
        throw;
    }
    PullChanges(replica, r, 2);
}

QByteArray CSezonaNaServeri::SeasonLock() const
{
    return QStringLiteral("hashtext(%1)").arg(Literal(m_address.season)).toUtf8();
}

QByteArray CSezonaNaServeri::ScopedWritesLock() const
{
    return QStringLiteral("hashtext(%1)")
        .arg(Literal(m_address.season + QStringLiteral("/v rozsahu")))
        .toUtf8();
}
void CSezonaNaServeri::Pull(sqlite3* replica, const CVysledok& generationResult, const CVysledok& changes)
{
    const QString generation = generationResult.Rows() > 0 ? generationResult.Text(0, 0) : QString();
    if (generation != m_ddlGeneration)
        throw CChybaDatabazy(
            QStringLiteral("Tabuľky sezóny %1 na serveri zmenil iný program alebo novšia verzia "
                           "tohto programu. Otvorte sezónu znova.")
                .arg(m_address.season));
    // Where others are at work: a write there goes the usual way until the copy has had news without
    // them a few times over.
    for (auto it = m_busy.begin(); it != m_busy.end();)
        it = --it.value() <= 0 ? m_busy.erase(it) : std::next(it);
    if (changes.Rows() == 0)
        return;
    QHash<QString, QSet<QString>> keys;
    QSet<QString> whole;
    qint64 last = m_seen;
    for (int i = 0; i < changes.Rows(); ++i) {
        last = std::max(last, changes.Int(i, 0));
        if (changes.Text(i, 4) == QLatin1String("t")) {
            m_busy.insert(changes.Text(i, 1), kNovinyBezCudzich);
            m_busy.insert(
                TablePlace(changes.Text(i, 1), changes.IsNull(i, 3) ? QString() : changes.Text(i, 3)),
                kNovinyBezCudzich);
        }
        if (changes.IsNull(i, 2))
            whole << changes.Text(i, 1);
        else
            keys[changes.Text(i, 1)] << changes.Text(i, 2);
    }
    // The rows others changed come in one trip with the counters (a writer holds the season's lock while
    // it takes them in); a table changed whole comes by COPY.
    QByteArray batch;
    QVector<const CTabulka*> keyed;
    for (const CTabulka& t : std::as_const(m_tables)) {
        if (whole.contains(t.name) || (t.key < 0 && keys.contains(t.name)) || !keys.contains(t.name))
            continue;
        QStringList names;
        for (const QString& c : t.columns)
            names << Ident(c);
        batch += QStringLiteral("select %1 from %2 where %3 in (%4);")
                     .arg(names.join(QStringLiteral(", ")), Table(t.name), Ident(t.columns.at(t.key)),
                          KeyList(keys.value(t.name), t.types.at(t.key)))
                     .toUtf8();
        keyed << &t;
    }
    batch += CountersQuery().toUtf8() + ';';
    const std::vector<CVysledok> rows = ExecAll(batch);
    ExecLocal(replica, QStringLiteral("begin"));
    // Recording resumes however the taking in ends: a write left unrecorded would never reach the server.
    m_recording = false;
    const auto resume = qScopeGuard([this] { m_recording = true; });
    try {
        for (qsizetype i = 0; i < keyed.size(); ++i) {
            const CTabulka& t = *keyed.at(i);
            ExecLocal(replica, QStringLiteral("delete from main.%1 where %2 in (%3)")
                                   .arg(Ident(t.name), Ident(t.columns.at(t.key)),
                                        KeyList(keys.value(t.name), t.types.at(t.key))));
            InsertRowsDown(replica, t, rows.at(static_cast<size_t>(i)));
        }
        for (const CTabulka& t : std::as_const(m_tables)) {
            if (!whole.contains(t.name) && !(t.key < 0 && keys.contains(t.name)))
                continue;
            QStringList names;
            for (const QString& c : t.columns)
                names << Ident(c);
            ExecLocal(replica, QStringLiteral("delete from main.%1").arg(Ident(t.name)));
            CopyRowsDown(
                replica, t,
                QStringLiteral("select %1 from %2").arg(names.join(QStringLiteral(", ")), Table(t.name)));
        }
        ReadCounters(replica, rows.back());
        ForgetLocalChanges(replica);
        ExecLocal(replica, QStringLiteral("commit"));
    } catch (...) {
        sqlite3_exec(replica, "rollback", nullptr, nullptr, nullptr);
        throw;
    }
    m_seen = last;
    m_cacheCurrent = false;
}

void CSezonaNaServeri::PushSchemaChanges(sqlite3* replica)
{
    if (ReplicaSchemaVersion(replica) == m_schemaVersion)
        return;
    // The program's upgrade added a table or a column: the server gets it, the new definitions and the
    // table's rows whole; the other windows reopen the season to see it.
    const QVector<CTabulka> now = TablesOf(replica);
    QSet<QString> unchanged;
    QHash<QString, CTabulka> before;
    for (const CTabulka& t : std::as_const(m_tables))
        before.insert(t.name, t);
    for (const CTabulka& t : now) {
        if (!before.contains(t.name)) {
            CreateTable(t);
            InstallServerTriggers(t);
        } else {
            const CTabulka& old = before.value(t.name);
            for (int i = 0; i < t.columns.size(); ++i)
                if (!old.columns.contains(t.columns.at(i)))
                    Exec(QStringLiteral("alter table %1 add column %2 %3")
                             .arg(Table(t.name), Ident(t.columns.at(i)), t.types.at(i)));
            if (old.columns == t.columns) {
                unchanged << t.name;
                continue;
            }
        }
        Exec(QStringLiteral("delete from %1").arg(Table(t.name)));
        CopyRowsUp(replica, t);
        Exec(QStringLiteral("insert into %1 (tabulka, kluc) values ($1, null)")
                 .arg(Table(QStringLiteral("mirak_zmeny"))),
             {t.name});
        before.remove(t.name);
    }
    for (const CTabulka& t : now)
        before.remove(t.name);
    for (const CTabulka& gone : std::as_const(before))
        Exec(QStringLiteral("drop table %1").arg(Table(gone.name)));
    WriteDefinitions(replica);
    m_ddlGeneration = QString::number(
        Exec(QStringLiteral(
                 "update %1 set hodnota = (hodnota::bigint + 1)::text where kluc = 'ddl' returning hodnota")
                 .arg(Table(QStringLiteral("mirak_meta"))))
            .Int(0, 0));
    m_tables = now;
    InstallTriggers(replica, unchanged);
}

QByteArray CSezonaNaServeri::RowStatements(sqlite3* replica, const CTabulka& t)
{
    QStringList names;
    for (const QString& c : t.columns)
        names << Ident(c);
    QByteArray sql = QStringLiteral("delete from %1;").arg(Table(t.name)).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const QByteArray select = QStringLiteral("select %1 from main.%2")
                                  .arg(names.join(QStringLiteral(", ")), Ident(t.name))
                                  .toUtf8();
    if (sqlite3_prepare_v2(replica, select.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
        const QString local = LocalError(replica);
        sqlite3_finalize(stmt);
        throw CChybaDatabazy(QStringLiteral("Tabuľku %1 sa nepodarilo prečítať.").arg(t.name), local);
    }
    QByteArray values;
    QString problem;
    while (problem.isEmpty() && sqlite3_step(stmt) == SQLITE_ROW) {
        values += values.isEmpty() ? "(" : ",(";
        for (int i = 0; i < t.columns.size() && problem.isEmpty(); ++i) {
            if (i > 0)
                values += ',';
            const QString where = QStringLiteral("Tabuľka %1, stĺpec %2").arg(t.name, t.columns.at(i));
            AppendLiteral(values, stmt, i, t.types.at(i), where, problem);
        }
        values += ')';
    }
    sqlite3_finalize(stmt);
    if (!problem.isEmpty())
        throw CChybaDatabazy(QStringLiteral("Zmenu sa nepodarilo uložiť na server: %1.").arg(problem));
    if (!values.isEmpty())
        sql += "insert into " + Table(t.name).toUtf8() + " (" + names.join(QStringLiteral(", ")).toUtf8() +
               ") values " + values + ";";
    return sql;
}

QByteArray CSezonaNaServeri::KeyedRowStatements(sqlite3* replica, const CTabulka& t,
                                                QHash<QString, QStringList>& changedColumns,
                                                QVector<CDotaz>* prepared)
{
    // Of each row the write touched: whether it was there before, whether it is there now, which columns
    // differ, and what they hold now.
    const QString key = Ident(t.columns.at(t.key));
    // Prepared once per table: a typed score looks through its tables at every write.
    sqlite3_stmt* stmt = m_captureQueries.value(t.name);
    if (!stmt) {
        QStringList select{QStringLiteral("s.mirak_bol"), QStringLiteral("m.%1 is not null").arg(key)};
        for (const QString& c : t.columns)
            select << QStringLiteral("s.%1 is not m.%1").arg(Ident(c));
        for (const QString& c : t.columns)
            select << QStringLiteral("m.") + Ident(c);
        select << QStringLiteral("s.") + key;
        const QByteArray query =
            QStringLiteral("select %1 from temp.%2 s left join main.%3 m on m.%4 = s.%4")
                .arg(select.join(QStringLiteral(", ")), CapturedTable(t), Ident(t.name), key)
                .toUtf8();
        if (sqlite3_prepare_v2(replica, query.constData(), -1, &stmt, nullptr) != SQLITE_OK) {
            const QString local = LocalError(replica);
            sqlite3_finalize(stmt);
            throw CChybaDatabazy(QStringLiteral("Tabuľku %1 sa nepodarilo prečítať.").arg(t.name), local);
        }
        m_captureQueries.insert(t.name, stmt);
    }
    const int n = static_cast<int>(t.columns.size());
    const int valuesAt = 2 + n;
    const int keyAt = 2 + 2 * n;
    QByteArray deletes, updates, inserts;
    QVector<CDotaz> preparedUpdates;
    QString problem;
    const QString where = QStringLiteral("Tabuľka %1").arg(t.name);
    while (problem.isEmpty() && sqlite3_step(stmt) == SQLITE_ROW) {
        const bool existed = sqlite3_column_int(stmt, 0) != 0;
        const bool exists = sqlite3_column_int(stmt, 1) != 0;
        QByteArray keyLiteral;
        AppendLiteral(keyLiteral, stmt, keyAt, t.types.at(t.key), where, problem);
        const QString keyText =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, keyAt)));
        QStringList columns;
        if (existed && exists) {
            QByteArray set;
            CDotaz update;
            for (int i = 0; i < n; ++i) {
                if (sqlite3_column_int(stmt, 2 + i) == 0)
                    continue;
                set += set.isEmpty() ? "" : ",";
                set += Ident(t.columns.at(i)).toUtf8() + '=';
                if (prepared) {
                    update.values.append(std::nullopt);
                    ServerValue(update.values.last(), stmt, valuesAt + i, t.types.at(i), where, problem);
                    set += '$' + QByteArray::number(update.values.size());
                } else {
                    AppendLiteral(set, stmt, valuesAt + i, t.types.at(i), where, problem);
                }
                columns << t.columns.at(i);
            }
            const QByteArray statement =
                "update " + Table(t.name).toUtf8() + " set " + set + " where " + key.toUtf8() + '=';
            if (!set.isEmpty() && prepared) {
                update.values.append(std::nullopt);
                ServerValue(update.values.last(), stmt, keyAt, t.types.at(t.key), where, problem);
                update.sql = statement + '$' + QByteArray::number(update.values.size());
                preparedUpdates.append(update);
            } else if (!set.isEmpty()) {
                updates += statement + keyLiteral + ';';
            }
        } else if (existed) {
            deletes += (deletes.isEmpty() ? "" : ",") + keyLiteral;
            columns = t.columns;
        } else if (exists) {
            inserts += inserts.isEmpty() ? "(" : ",(";
            for (int i = 0; i < n; ++i) {
                if (i > 0)
                    inserts += ',';
                AppendLiteral(inserts, stmt, valuesAt + i, t.types.at(i), where, problem);
            }
            inserts += ')';
        }
        columns.erase(std::remove_if(columns.begin(), columns.end(),
                                     [&t](const QString& c) { return IsDerivedColumn(t.name, c); }),
                      columns.end());
        if (!columns.isEmpty())
            changedColumns.insert(keyText, columns);
    }
    sqlite3_reset(stmt);
    if (!problem.isEmpty())
        throw CChybaDatabazy(QStringLiteral("Zmenu sa nepodarilo uložiť na server: %1.").arg(problem));
    QByteArray removal, addition;
    if (!deletes.isEmpty())
        removal =
            "delete from " + Table(t.name).toUtf8() + " where " + key.toUtf8() + " in (" + deletes + ")";
    if (!inserts.isEmpty()) {
        QStringList names;
        for (const QString& c : t.columns)
            names << Ident(c);
        addition = "insert into " + Table(t.name).toUtf8() + " (" +
                   names.join(QStringLiteral(", ")).toUtf8() + ") values " + inserts;
    }
    if (prepared) {
        // In the same order as the statements' (a row's unique value may pass from one deleted to one
        // updated); rows deleted and added, rare in a write in a scope, go as the statements they are.
        if (!removal.isEmpty())
            prepared->append(CDotaz{removal, {}});
        *prepared += preparedUpdates;
        if (!addition.isEmpty())
            prepared->append(CDotaz{addition, {}});
        return {};
    }
    QByteArray sql;
    if (!removal.isEmpty())
        sql += removal + ';';
    sql += updates;
    if (!addition.isEmpty())
        sql += addition + ';';
    return sql;
}

void CSezonaNaServeri::CheckConflicts(const QHash<QString, QHash<QString, QStringList>>& changedColumns,
                                      qint64 read)
{
    // Nobody committed since the user read what she changes: nothing to look for, no trip to the server.
    if (changedColumns.isEmpty() || m_seen <= read)
        return;
    QStringList tables;
    for (auto it = changedColumns.begin(); it != changedColumns.end(); ++it)
        tables << Literal(it.key());
    const QVector<CZmenaNaServeri> others = ChangesSince(read, tables);
    for (const CZmenaNaServeri& change : others) {
        const QStringList* mine = nullptr;
        if (const auto table = changedColumns.find(change.table); table != changedColumns.end())
            if (const auto row = table->find(change.key); row != table->end())
                mine = &*row;
        if (!mine)
            continue;
        QStringList both;
        for (const QString& c : *mine) {
            const bool theirs =
                change.operation != QLatin1Char('U') || change.before.value(c) != change.after.value(c);
            if (theirs)
                both << c;
        }
        if (both.isEmpty())
            continue;
        // The latest change of the row says what it holds now.
        CZmenaNaServeri latest = change;
        for (const CZmenaNaServeri& later : others)
            if (later.table == change.table && later.key == change.key && later.seq > latest.seq)
                latest = later;
        // She is told what the row holds now: typed again, her change is meant over it.
        m_readMark = m_seen;
        throw CKonfliktZmien(latest, both);
    }
}

QVector<CZmenaNaServeri> CSezonaNaServeri::ChangesSince(qint64 seq, const QStringList& tableLiterals)
{
    const std::vector<CVysledok> r = ExecAll(LogByIndex(
        QStringLiteral(
            "select seq, to_char(cas at time zone 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS\"Z\"'), "
            "prihlasenie, tabulka, coalesce(kluc, ''), coalesce(operacia, 'U'), coalesce(predtym::text, "
            "'{}'), coalesce(potom::text, '{}') from %1 where seq > %2 and klient is distinct from %3 "
            "and tabulka in (%4) order by seq;")
            .arg(Table(QStringLiteral("mirak_zmeny")), QString::number(seq), Literal(m_client),
                 tableLiterals.join(QStringLiteral(", ")))
            .toUtf8()));
    return Changes(r.at(1));
}

QVector<CZmenaNaServeri> CSezonaNaServeri::Changes(const CVysledok& r)
{
    QVector<CZmenaNaServeri> changes;
    changes.reserve(r.Rows());
    for (int i = 0; i < r.Rows(); ++i) {
        CZmenaNaServeri c;
        c.seq = r.Int(i, 0);
        c.time = QDateTime::fromString(r.Text(i, 1), Qt::ISODate);
        c.login = r.Text(i, 2);
        c.table = r.Text(i, 3);
        c.key = r.Text(i, 4);
        c.operation = r.Text(i, 5).isEmpty() ? QLatin1Char('U') : r.Text(i, 5).at(0);
        c.before = QJsonDocument::fromJson(r.Text(i, 6).toUtf8()).object();
        c.after = QJsonDocument::fromJson(r.Text(i, 7).toUtf8()).object();
        changes << c;
    }
    return changes;
}

QSet<QString> CSezonaNaServeri::WholeTables(sqlite3* replica)
{
    QSet<QString> whole;
    // Not "distinct": a set of names needs no table of them made at every write.
    if (sqlite3_stmt* stmt = Bookkeeping(replica, "select tabulka from temp.mirak_zmeny")) {
        while (sqlite3_step(stmt) == SQLITE_ROW)
            whole << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_reset(stmt);
    }
    return whole;
}

qint64 CSezonaNaServeri::CommitWrite(sqlite3* replica)
{
    const bool scoped = m_scope.competition != 0;
    try {
        if (scoped && !KeptToScope(replica, TouchedTables(replica), WholeTables(replica)))
            throw CZastaraKopia();
        PushSchemaChanges(replica);
        // The tables without a key that changed are written whole.
        const QSet<QString> whole = WholeTables(replica);
        const QStringList touched = TouchedTables(replica);
        // A write in a scope goes as statements prepared once: the server's parsing and planning of them
        // was a third of a typed score.
        QVector<CDotaz> rows;
        QByteArray sql;
        QHash<QString, QHash<QString, QStringList>> changedColumns;
        for (const CTabulka& t : std::as_const(m_tables)) {
            if (t.key < 0) {
                if (whole.contains(t.name))
                    sql += RowStatements(replica, t);
                continue;
            }
            if (!touched.contains(t.name))
                continue;
            QHash<QString, QStringList> columns;
            sql += KeyedRowStatements(replica, t, columns, scoped ? &rows : nullptr);
            if (!columns.isEmpty())
                changedColumns.insert(t.name, columns);
        }
        // What others changed since she read is looked through on what the copy takes in first.
        if (scoped && !changedColumns.isEmpty() && m_seen > m_readForWrite)
            throw CZastaraKopia();
        CheckConflicts(changedColumns, m_readForWrite);
        const bool wrote = !sql.isEmpty() || !rows.isEmpty();
        if (scoped && !wrote) {
            // Nothing went to the server, and nothing needs to.
            m_inWrite = false;
            m_scope.competition = 0;
            ForgetLocalChanges(replica);
            return m_seen;
        }
        // A write in a scope moved no counter (KeptToScope).
        if (wrote && !scoped)
            sql += CounterStatements(replica);
        // Announced after the commit (kOhlasiKlient); a write in a scope says so with its check.
        if (wrote && !scoped)
            sql = "select " + AnnouncedByClient() + ';' + sql;
        // The others are told once it is committed: in the same trip, so that the server does it even
        // should this program be gone by then. The announcement's own transaction does not wait for the
        // disk: the change was synced by its commit, and an announcement lost in a crash only delays the
        // others' refresh.
        const QByteArray announcement =
            QStringLiteral("select set_config('synchronous_commit', 'off', true), pg_notify('mirak', %1)")
                .arg(Literal(m_address.season))
                .toUtf8();
        // After a write in a scope the copy's place in the season's order moves to it only when nothing
        // of others is before it still to be taken in: no other write in a scope is under way (theirs may
        // be placed before this one and not committed yet; this one then holds their lock alone to its
        // commit), and, looked at afterwards, no change of another since the copy's last news. Not alone,
        // the log is not looked through. A season of an older format has no function for it: two
        // statements ask.
        const bool placeByFunction = m_format >= kVerziaMiesta;
        std::vector<CVysledok> r;
        if (scoped) {
            const QByteArray seen = QByteArray::number(m_seen);
            QVector<CDotaz> trip = ScopeCheck() + rows;
            if (placeByFunction)
                trip << CDotaz{QStringLiteral("select * from %1(%2, %3, $1::bigint)")
                                   .arg(Table(QStringLiteral("mirak_miesto")),
                                        QString::fromUtf8(ScopedWritesLock()), Literal(m_client))
                                   .toUtf8(),
                               {seen}};
            else
                trip << CDotaz{QStringLiteral("select set_config('mirak.sam', "
                                              "pg_try_advisory_xact_lock(%1)::text, true)")
                                   .arg(QString::fromUtf8(ScopedWritesLock()))
                                   .toUtf8(),
                               {}}
                     << CDotaz{
                            QStringLiteral("select max(seq) filter (where klient = %1), "
                                           "coalesce(bool_or(klient is distinct from %1), false) from %2 "
                                           "where current_setting('mirak.sam') = 'true' and seq > $1::bigint")
                                .arg(Literal(m_client), Table(QStringLiteral("mirak_zmeny")))
                                .toUtf8(),
                            {seen}};
            trip << CDotaz{"commit", {}} << CDotaz{announcement, {}};
            r = ExecPrepared(trip);
        } else {
            sql += QStringLiteral("select coalesce(max(seq), 0) from %1; commit;")
                       .arg(Table(QStringLiteral("mirak_zmeny")))
                       .toUtf8();
            if (wrote)
                sql += announcement + ';';
            r = ExecAll(sql);
        }
        const size_t place = r.size() - (wrote ? 3 : 2); // before the commit and the announcement
        m_inWrite = false;
        m_scope.competition = 0;
        m_cacheCurrent = false;
        if (wrote && !scoped)
            m_counters = m_pendingCounters;
        ForgetLocalChanges(replica);
        if (scoped) {
            // Not alone, the place comes as nothing (the function) or the lock's "false" (the former
            // format's two statements).
            const CVysledok& since = r[place];
            const bool alone = placeByFunction || r[place - 1].Text(0, 0) == QLatin1String("true");
            if (!alone || since.Text(0, 1) == QLatin1String("t") || since.IsNull(0, 0))
                return m_seen;
        }
        return r[place].Int(0, 0);
    } catch (...) {
        RollbackWrite();
        throw;
    }
}
void CSezonaNaServeri::RollbackWrite()
{
    // A write in a scope has begun nothing on the server until its one trip.
    if (m_inWrite && m_conn && PQstatus(m_conn) == CONNECTION_OK &&
        PQtransactionStatus(m_conn) != PQTRANS_IDLE)
        CVysledok(PQexec(m_conn, "rollback"));
    m_inWrite = false;
    m_scope.competition = 0;
}
