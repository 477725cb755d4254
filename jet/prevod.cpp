#include "prevod.h"

#include "CJetSubor.h"
#include "competition/sutaze.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/schema.h"
#include "db/subory.h"
#include "results/prepocet.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QProcess>
#include <QTextStream>

#include <csignal>
#include <new>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <optional>

namespace {

QString Quoted(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString StoreType(int jetType)
{
    switch (KindOfColumn(jetType)) {
    case CDruhHodnoty::Cele:
        return QStringLiteral("INTEGER");
    case CDruhHodnoty::Desatinne:
        return QStringLiteral("REAL");
    case CDruhHodnoty::Datum:
    case CDruhHodnoty::Text:
        return QStringLiteral("TEXT");
    case CDruhHodnoty::Bajty:
        return QStringLiteral("BLOB");
    }
    return QStringLiteral("TEXT");
}

QString TableOfSeason(const QString& name)
{
    for (const QString& t : SeasonTables())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    // A season converted before and written back by another tool brings the program's own tables.
    for (const QString& t : OwnTables())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return {};
}

// What a column of the season holds, as the program reads it.
enum class CDruhStlpca { Cele, Desatinne, Datum, Text, Bajty };

CDruhStlpca KindInSeason(const QString& table, const QString& column, const QString& declared)
{
    if (IsDateColumn(column) || (OwnTables().contains(table) && column == QStringLiteral("datum")))
        return CDruhStlpca::Datum;
    const QString type = declared.toUpper();
    if (type.contains(QStringLiteral("INT")))
        return CDruhStlpca::Cele;
    if (type.contains(QStringLiteral("REAL")))
        return CDruhStlpca::Desatinne;
    return CDruhStlpca::Text;
}

CDruhStlpca KindOfJet(int jetType)
{
    switch (KindOfColumn(jetType)) {
    case CDruhHodnoty::Cele:
        return CDruhStlpca::Cele;
    case CDruhHodnoty::Desatinne:
        return CDruhStlpca::Desatinne;
    case CDruhHodnoty::Datum:
        return CDruhStlpca::Datum;
    case CDruhHodnoty::Bajty:
        return CDruhStlpca::Bajty;
    case CDruhHodnoty::Text:
        break;
    }
    return CDruhStlpca::Text;
}

// A value of a column kept in the Jet file as another type than the season's, read as the season's
// type, or nothing when it does not read so without loss.
std::optional<QVariant> AsSeasonType(const QVariant& v, CDruhStlpca kind)
{
    if (v.isNull())
        return v;
    const bool bytes = v.typeId() == QMetaType::QByteArray;
    const bool text = v.typeId() == QMetaType::QString;
    const bool real = v.typeId() == QMetaType::Double;
    switch (kind) {
    case CDruhStlpca::Cele: {
        if (bytes)
            return std::nullopt;
        if (real) {
            const double d = v.toDouble();
            if (d != std::trunc(d) || std::fabs(d) > 9.0e15)
                return std::nullopt;
            return QVariant(static_cast<qint64>(d));
        }
        bool ok = false;
        const qint64 n = text ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
        return ok ? std::optional<QVariant>(QVariant(n)) : std::nullopt;
    }
    case CDruhStlpca::Desatinne: {
        if (bytes)
            return std::nullopt;
        if (!text) {
            const qint64 n = v.toLongLong();
            if (!real && std::llabs(n) > (qint64(1) << 53))
                return std::nullopt;
            return QVariant(v.toDouble());
        }
        bool ok = false;
        const double d = v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? std::optional<QVariant>(QVariant(d)) : std::nullopt;
    }
    case CDruhStlpca::Datum: {
        if (!text)
            return std::nullopt;
        const QString t = v.toString().trimmed();
        QDateTime d = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!d.isValid())
            d = QDateTime(QDate::fromString(t, QStringLiteral("yyyy-MM-dd")), QTime(0, 0));
        if (!d.isValid())
            return std::nullopt;
        return QVariant(d.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    }
    case CDruhStlpca::Bajty:
        return std::nullopt;
    case CDruhStlpca::Text:
        if (bytes)
            return std::nullopt;
        if (real)
            return QVariant(QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest));
        return QVariant(v.toString());
    }
    return std::nullopt;
}

QString ValueShown(const QVariant& v)
{
    if (v.typeId() == QMetaType::QByteArray)
        return QStringLiteral("%1 bajtov binárnych údajov").arg(v.toByteArray().size());
    const QString t = v.toString();
    return QStringLiteral("„%1“").arg(t.size() > 40 ? t.left(40) + QStringLiteral("…") : t);
}

QString Shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// Says where the stored standings differ from the ones counted from the results: the file keeps
// what the old program wrote, and nothing is recalculated behind the user's back.
QStringList StandingsDifferences(CDatabaza& db)
{
    QStringList out;
    for (const CSutaz& s : ReadCompetitions(db)) {
        int differing = 0;
        for (const CPocty& c : CountCompetition(db, s.id)) {
            CPrikaz q(
                db,
                QStringLiteral(
                    "select zapasy, vyhry, remizy, prehry, skore1, skore2, plusb, body + ifnull(btrest,0) "
                    "from tbody where IDklubu=? and skupina=?"),
                {c.club, s.id});
            if (!q.Step())
                continue;
            const qint64 stored[] = {q.Int64(0), q.Int64(1), q.Int64(2), q.Int64(3),
                                     q.Int64(4), q.Int64(5), q.Int64(6), q.Int64(7)};
            const qint64 counted[] = {c.zapasy, c.vyhry,  c.remizy, c.prehry,
                                      c.skore1, c.skore2, c.plusb,  StandingsPoints(c, 0)};
            if (!std::equal(std::begin(stored), std::end(stored), std::begin(counted)))
                ++differing;
        }
        if (differing > 0)
            out << QStringLiteral(
                       "Uložená tabuľka súťaže „%1“ sa u %2 klubov líši od tabuľky prepočítanej z výsledkov; "
                       "prepočítate ju tlačidlom Prepočítať v tabuľke súťaže.")
                       .arg(s.nazov, QString::number(differing));
    }
    return out;
}

QString g_program;

} // namespace

void SetConverterProgram(const QString& path)
{
    g_program = path;
}

QString ConvertedSeasonName(const QString& jetPath)
{
    const QFileInfo info(jetPath);
    QString name =
        info.absoluteDir().filePath(QStringLiteral("%1 (prevedená).mdb").arg(info.completeBaseName()));
    // A season converted before stays: the next conversion is proposed beside it.
    for (int n = 2; QFileInfo::exists(name) && n < 1000; ++n)
        name = info.absoluteDir().filePath(
            QStringLiteral("%1 (prevedená %2).mdb").arg(info.completeBaseName(), QString::number(n)));
    return name;
}

QString SalvageReportPath(const QString& target)
{
    return target + QStringLiteral(".prevod.txt");
}

QString JetSourceRefusal(const QString& path)
{
    const QString shown = Shown(path);
    struct stat st = {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("Súbor %1 neexistuje.").arg(shown);
    // A link is followed to what it names; a folder, a device, a FIFO or a socket holds no season.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QStringLiteral("%1 nie je súbor sezóny (je to priečinok, zariadenie alebo odkaz na niečo "
                              "také); zvoľte súbor .mdb.")
            .arg(shown);
    return {};
}

QStringList ConvertJetFileHere(const QString& jetPath, const QString& target,
                               const std::function<void(qint64 done, qint64 total)>& progress,
                               QVector<CStrataJet>* losses)
{
    CJetSubor jet(jetPath, losses);
    // A season first: the tables and columns the program reads must be there (the upgrade's columns
    // and the password table of the oldest version apart).
    for (const auto& [table, columns] : RequiredColumns()) {
        const CTabulkaJet* t = jet.Table(table);
        if (!t) {
            // A table the salvage could not read stays in the new season, empty, and is listed lost.
            if (table == QStringLiteral("theslo") || jet.Unreadable(table))
                continue;
            throw CChybaDatabazy(
                QStringLiteral("Súbor %1 je databáza Jet, ale nie sezóna: chýba v ňom tabuľka %2.")
                    .arg(Shown(jetPath), table));
        }
        for (const QString& column : columns) {
            bool found = false;
            for (const CStlpecJet& c : t->columns)
                found = found || c.name.compare(column, Qt::CaseInsensitive) == 0;
            if (!found)
                throw CChybaDatabazy(
                    QStringLiteral("Súbor %1 je databáza Jet, ale nie sezóna: v tabuľke %2 chýba stĺpec %3.")
                        .arg(Shown(jetPath), table, column));
        }
    }
    qint64 total = 0;
    for (const CTabulkaJet& t : jet.Tables())
        total += t.rows;
    qint64 done = 0;
    if (progress)
        progress(0, total);

    QStringList report;
    CDatabaza::CreateFile(target, NewSeasonStatements(true), false);
    CDatabaza db;
    db.Open(target);
    db.PrepareForBulkWrite();
    CTransakcia transaction(db);
    // The new file's own first rows give way to the season's.
    db.Execute(QStringLiteral("delete from thraci"));
    db.Execute(QStringLiteral("delete from theslo"));
    if (!jet.Table(QStringLiteral("theslo")))
        db.Execute(QStringLiteral("drop table theslo"));

    for (const CTabulkaJet& t : jet.Tables()) {
        QString name = TableOfSeason(t.name);
        const bool known = !name.isEmpty();
        QStringList targetColumns;
        // Per column: the season's kind when the Jet file keeps it as another type.
        QVector<std::optional<CDruhStlpca>> converted;
        int counterColumn = -1;
        if (known) {
            QHash<QString, QString> declared;
            {
                CPrikaz info(db, QStringLiteral("select name, type from pragma_table_info(?)"), {name});
                while (info.Step())
                    declared.insert(info.Text(0).toLower(), info.Text(1));
            }
            // The new file's own first rows of this table give way to the file's.
            if (OwnTables().contains(name))
                db.Execute(QStringLiteral("delete from %1").arg(name));
            QStringList extra;
            for (const CStlpecJet& c : t.columns) {
                QString column;
                for (const QString& p : db.ColumnNames(name))
                    if (p.compare(c.name, Qt::CaseInsensitive) == 0)
                        column = p;
                std::optional<CDruhStlpca> kind;
                if (column.isEmpty()) {
                    column = c.name;
                    db.Execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                   .arg(name, Quoted(column), StoreType(c.type)));
                    extra << column;
                } else if (const CDruhStlpca wanted =
                               KindInSeason(name, column, declared.value(column.toLower()));
                           wanted != KindOfJet(c.type)) {
                    kind = wanted;
                }
                converted << kind;
                targetColumns << column;
            }
            if (!extra.isEmpty())
                report << QStringLiteral("Tabuľka %1 má navyše stĺpce: %2; prevzali sa tak, ako sú.")
                              .arg(name, extra.join(QStringLiteral(", ")));
        } else {
            name = t.name;
            if (db.TableExists(name))
                name = QStringLiteral("%1_jet").arg(t.name);
            QStringList declarations;
            bool counter = false;
            for (const CStlpecJet& c : t.columns) {
                // One AutoNumber stays a counter that never gives an ID twice.
                const bool key = c.counter && !counter;
                counter = counter || key;
                declarations << Quoted(c.name) + QLatin1Char(' ') +
                                    (key ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                                         : StoreType(c.type));
                targetColumns << c.name;
                converted << std::nullopt;
                if (key)
                    counterColumn = static_cast<int>(targetColumns.size()) - 1;
            }
            db.Execute(QStringLiteral("CREATE TABLE %1 (%2)")
                           .arg(Quoted(name), declarations.join(QStringLiteral(", "))));
            report << QStringLiteral("Tabuľka %1 (riadkov: %2) nepatrí do sezóny; prevzala sa tak, ako je.")
                          .arg(name, QString::number(t.rows));
        }
        QStringList quoted;
        for (const QString& c : targetColumns)
            quoted << Quoted(c);
        const QString insert =
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(Quoted(name), quoted.join(QStringLiteral(", ")),
                     QStringList(targetColumns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
        CPrikaz add(db, insert);
        qint64 maxId = 0;
        int idColumn = counterColumn;
        for (int i = 0; known && i < targetColumns.size(); ++i)
            if (targetColumns.at(i) == QStringLiteral("ID"))
                idColumn = i;
        QVariantList row;
        jet.ReadRows(
            t,
            [&](const QVariantList& values) {
                row = values;
                for (int c = 0; c < row.size() && c < converted.size(); ++c) {
                    if (!converted.at(c))
                        continue;
                    const std::optional<QVariant> v = AsSeasonType(row.at(c), *converted.at(c));
                    // Never stored as another type than the program reads: the whole file is refused.
                    if (!v)
                        throw CChybaDatabazy(
                            QStringLiteral(
                                "Súbor %1 sa nedá previesť: v tabuľke %2 má stĺpec %3 iný typ, než "
                                "má v sezóne, a hodnota %4 sa ako taká nedá prečítať bez straty. "
                                "Opravte ju v Accesse a skúste to znova; nič sa nezapísalo.")
                                .arg(Shown(jetPath), t.name, targetColumns.at(c), ValueShown(row.at(c))));
                    row[c] = *v;
                }
                try {
                    add.Execute(row);
                } catch (const CChybaDatabazy& e) {
                    // Two rows under one ID: only a damaged file holds them.
                    const QString where =
                        idColumn >= 0 ? QStringLiteral("riadok s ID %1").arg(row.at(idColumn).toString())
                                      : QStringLiteral("jeden z riadkov");
                    const CStrataJet loss{t.name, where,
                                          QStringLiteral("riadok sa nedá prevziať (jeho ID alebo hodnota sa "
                                                         "v tabuľke opakuje); vynechal sa")};
                    if (!losses)
                        throw CPoskodenyJet(
                            QStringLiteral("Súbor %1 je poškodený: %2.").arg(Shown(jetPath), LossText(loss)));
                    losses->append(loss);
                    return true;
                }
                if (idColumn >= 0)
                    maxId = std::max(maxId, row.at(idColumn).toLongLong());
                if (progress && ++done % 500 == 0)
                    progress(done, total);
                return true;
            },
            [&](const QString& where) {
                report << QStringLiteral("V tabuľke %1: text obsahuje znak NUL; prevzal sa celý, aj s ním.")
                              .arg(where);
            });
        // The counter goes on after the Jet table's own, so that no ID is ever given twice.
        if (idColumn >= 0) {
            const qint64 next = std::max(maxId, t.autoNumber);
            db.Execute(QStringLiteral("delete from sqlite_sequence where name=?"), {name});
            if (next > 0)
                db.Execute(QStringLiteral("insert into sqlite_sequence (name, seq) values (?, ?)"),
                           {name, next});
        }
    }
    transaction.Commit();
    report << StandingsDifferences(db);
    db.Close();
    SyncFile(target);
    if (progress)
        progress(total, total);
    return report;
}

int RunConversionChild(const QString& jetPath, const QString& target, bool salvage)
{
    QTextStream out(stdout);
    // The child writes nothing but the new file the parent named inside its own temporary folder: it
    // is no way to aim a conversion at a season that exists.
    if (!InTemporaryFolder(target) || QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        out << "chyba " << QStringLiteral("Prevod zapisuje len do nového dočasného súboru programu.")
            << Qt::endl;
        return 2;
    }
    QElapsedTimer shown;
    shown.start();
    const auto removeTarget = [&target] {
        for (const char* suffix : {"", "-journal"})
            QFile::remove(target + QLatin1String(suffix));
    };
    try {
        QVector<CStrataJet> losses;
        const QStringList report = ConvertJetFileHere(
            jetPath, target,
            [&](qint64 done, qint64 total) {
                // Often enough that the parent sees life, not so often that the pipe is the work.
                if (done == 0 || done == total || shown.elapsed() >= 100) {
                    out << "postup " << done << ' ' << total << Qt::endl;
                    shown.restart();
                }
            },
            salvage ? &losses : nullptr);
        for (const CStrataJet& loss : losses)
            out << "strata " << LossText(loss).replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        for (const QString& line : report)
            out << "hlasenie " << QString(line).replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        out.flush();
        return 0;
    } catch (const CPoskodenyJet& e) {
        removeTarget();
        out << "poskodene " << e.UserText().replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        return 2;
    } catch (const CChybaDatabazy& e) {
        // Nothing half-written stays behind, whoever started the conversion.
        removeTarget();
        out << "chyba " << e.UserText().replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        return 2;
    } catch (const std::bad_alloc&) {
        removeTarget();
        out << "pamat" << Qt::endl;
        return 3;
    }
}

namespace {

// The limits the reading process runs under: a file that makes the library allocate without end,
// loop or write without end stops the child, never the parent.
struct CLimity
{
    qint64 memoryBytes = 0; // 0: none
    qint64 cpuSeconds = 60;
    qint64 outputBytes = 0;
};

CLimity LimitsFor(const QString& jetPath, const CVolbyPrevodu& options)
{
    CLimity l;
    const qint64 size = QFileInfo(jetPath).size();
#if defined(__SANITIZE_ADDRESS__)
    // A build with AddressSanitizer reserves terabytes of address space before it runs a line.
    (void)options;
    l.memoryBytes = 0;
#else
    l.memoryBytes = options.memoryMB * 1024 * 1024;
#endif
    l.cpuSeconds = std::max<qint64>(60, 60 + size / (1024 * 1024) * 20);
    l.outputBytes = std::max<qint64>(qint64(256) * 1024 * 1024, size * 20);
    return l;
}

// How much of what the child writes is kept to be looked at: the end, where the reason stands.
constexpr qsizetype kChvostChyb = 64 * 1024;
// More than this on its standard output is no conversion any more.
constexpr qint64 kNajviacVystupu = 32 * 1024 * 1024;

} // namespace

CVysledokPrevodu ConvertJetSeason(const QString& jetPath, const QString& target,
                                  const std::function<bool(qint64 done, qint64 total)>& progress,
                                  const CVolbyPrevodu& options)
{
    CVysledokPrevodu result;
    if (const QString refusal = JetSourceRefusal(jetPath); !refusal.isEmpty()) {
        result.error = refusal;
        return result;
    }
    if (TenIstySubor(jetPath, target) || QFileInfo::exists(target) || QFileInfo(target).isSymLink()) {
        result.error =
            QStringLiteral("Súbor %1 už existuje; prevedenú sezónu do neho nezapíšem.").arg(Shown(target));
        return result;
    }
    if (const QString refusal = SeasonTargetRefusal(target); !refusal.isEmpty()) {
        result.error = refusal;
        return result;
    }
    // The child's file lives in a folder of the program's own beside the target, on the target's disk.
    QString folder;
    try {
        folder = TemporaryFolderBeside(target);
    } catch (const CChybaDatabazy& e) {
        result.error = e.UserText();
        return result;
    }
    const QString written = QDir(folder).filePath(QStringLiteral("sezona.mdb"));
    const auto cleanUp = [&folder] { QDir(folder).removeRecursively(); };
    // What the child says names the user's file, never the hidden one.
    const auto named = [&](QString text) {
        return text.replace(written, QDir::toNativeSeparators(target))
            .replace(folder, QFileInfo(target).absolutePath());
    };
    const CLimity limits = LimitsFor(jetPath, options);
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setChildProcessModifier([limits] {
        const auto set = [](int resource, qint64 value, qint64 hard) {
            rlimit r{};
            r.rlim_cur = static_cast<rlim_t>(value);
            r.rlim_max = static_cast<rlim_t>(hard);
            ::setrlimit(resource, &r);
        };
        if (limits.memoryBytes > 0)
            set(RLIMIT_AS, limits.memoryBytes, limits.memoryBytes);
        // The soft limit signals (SIGXCPU), the hard one a little later kills.
        set(RLIMIT_CPU, limits.cpuSeconds, limits.cpuSeconds + 5);
        set(RLIMIT_FSIZE, limits.outputBytes, limits.outputBytes);
        set(RLIMIT_CORE, 0, 0);
    });
    QStringList arguments = {QStringLiteral("--") + kVolbaPrevodnika, jetPath, written};
    if (options.salvage)
        arguments << QStringLiteral("--salvage");
    child.start(g_program.isEmpty() ? QCoreApplication::applicationFilePath() : g_program, arguments);
    if (!child.waitForStarted(30000)) {
        cleanUp();
        result.error = QStringLiteral("Prevod sa nepodarilo spustiť: %1").arg(child.errorString());
        return result;
    }
    // A file the library loops on must not hold the user forever: a child that says nothing for this
    // long is stopped.
    constexpr int kTichoMs = 30000;
    QElapsedTimer quiet;
    quiet.start();
    QByteArray pending, errors;
    qint64 outputSize = 0;
    QString childError;
    bool damaged = false, memory = false, tooMuch = false;
    const auto readLines = [&] {
        const QByteArray chunk = child.readAllStandardOutput();
        outputSize += chunk.size();
        pending += chunk;
        errors += child.readAllStandardError();
        if (errors.size() > kChvostChyb)
            errors = errors.right(kChvostChyb);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            quiet.restart();
            if (line.startsWith(QStringLiteral("postup "))) {
                const QStringList parts = line.split(QLatin1Char(' '));
                if (parts.size() == 3 && progress &&
                    !progress(parts.at(1).toLongLong(), parts.at(2).toLongLong()))
                    result.cancelled = true;
            } else if (line.startsWith(QStringLiteral("hlasenie "))) {
                result.report << named(line.mid(9));
            } else if (line.startsWith(QStringLiteral("strata "))) {
                result.losses << named(line.mid(7));
            } else if (line.startsWith(QStringLiteral("chyba "))) {
                childError = named(line.mid(6));
            } else if (line.startsWith(QStringLiteral("poskodene "))) {
                childError = named(line.mid(10));
                damaged = true;
            } else if (line == QStringLiteral("pamat")) {
                memory = true;
            }
        }
        if (pending.size() > kChvostChyb)
            pending = pending.right(kChvostChyb);
    };
    while (child.state() != QProcess::NotRunning) {
        child.waitForReadyRead(100);
        readLines();
        tooMuch = outputSize > kNajviacVystupu;
        if (result.cancelled || quiet.elapsed() > kTichoMs || tooMuch) {
            child.kill();
            child.waitForFinished(5000);
            break;
        }
    }
    child.waitForFinished(5000);
    readLines();
    if (result.cancelled) {
        cleanUp();
        return result;
    }
    const bool crashed = child.exitStatus() != QProcess::NormalExit;
    const int signal = crashed ? child.exitCode() : 0;
    const QString libraryErrors = QString::fromLocal8Bit(errors);
    memory = memory || libraryErrors.contains(QStringLiteral("failed to allocate")) ||
             libraryErrors.contains(QStringLiteral("bad_alloc")) ||
             libraryErrors.contains(QStringLiteral("out of memory"), Qt::CaseInsensitive);
    if (crashed || child.exitCode() != 0 || !childError.isEmpty()) {
        cleanUp();
        result.report.clear();
        result.losses.clear();
        const QString nothing = QStringLiteral(" Nič sa nezapísalo.");
        if (!childError.isEmpty()) {
            result.error = childError;
            result.damaged = damaged;
            if (damaged)
                result.error += QStringLiteral(" Nič sa nezapísalo.");
        } else if (memory)
            result.error =
                QStringLiteral("Súbor %1 sa nepodarilo previesť: čítanie prekročilo pamäť, ktorú má "
                               "prevod k dispozícii (%2 MB); súbor je asi poškodený.")
                    .arg(Shown(jetPath), QString::number(options.memoryMB)) +
                nothing;
        else if (signal == SIGXCPU || (signal == SIGKILL && !tooMuch && quiet.elapsed() <= kTichoMs))
            result.error =
                QStringLiteral("Súbor %1 sa nepodarilo previesť: čítanie prekročilo čas procesora, ktorý "
                               "má prevod k dispozícii (%2 s); súbor je asi poškodený.")
                    .arg(Shown(jetPath), QString::number(limits.cpuSeconds)) +
                nothing;
        else if (signal == SIGXFSZ)
            result.error =
                QStringLiteral("Súbor %1 sa nepodarilo previesť: prevod by zapísal viac ako %2 MB, čo "
                               "sezóna nepotrebuje; súbor je asi poškodený.")
                    .arg(Shown(jetPath), QString::number(limits.outputBytes / (1024 * 1024))) +
                nothing;
        else if (tooMuch)
            result.error =
                QStringLiteral("Súbor %1 sa nepodarilo previesť: čítanie vypisovalo bez konca; súbor je "
                               "asi poškodený.")
                    .arg(Shown(jetPath)) +
                nothing;
        else if (quiet.elapsed() > kTichoMs)
            result.error =
                QStringLiteral("Súbor %1 sa nepodarilo previesť: čítanie sa zastavilo a neodpovedalo "
                               "(súbor je asi poškodený).")
                    .arg(Shown(jetPath)) +
                nothing;
        else
            result.error =
                QStringLiteral("Súbor %1 sa nepodarilo previesť: čítanie formátu Jet pri ňom zlyhalo "
                               "(súbor je asi poškodený).")
                    .arg(Shown(jetPath)) +
                nothing;
        return result;
    }
    try {
        SyncFile(written);
        ClaimWith(written, target);
    } catch (const CChybaDatabazy& e) {
        cleanUp();
        result.error = named(e.UserText());
        result.report.clear();
        result.losses.clear();
        return result;
    }
    cleanUp();
    if (options.salvage) {
        // Every loss stays written beside the season it concerns.
        QString text = QStringLiteral("Prevod sezóny %1 do súboru %2 (%3)\r\n\r\n")
                           .arg(Shown(jetPath), Shown(target),
                                QDateTime::currentDateTime().toString(QStringLiteral("d. M. yyyy HH:mm")));
        if (result.losses.isEmpty())
            text += QStringLiteral("Prečítalo sa všetko, nič sa nestratilo.\r\n");
        else {
            text += QStringLiteral("Previedlo sa, čo sa dalo prečítať. Stratilo sa (%1):\r\n")
                        .arg(result.losses.size());
            for (const QString& line : result.losses)
                text += QStringLiteral("- %1\r\n").arg(line);
        }
        if (!result.report.isEmpty()) {
            text += QStringLiteral("\r\nĎalej:\r\n");
            for (const QString& line : result.report)
                text += QStringLiteral("- %1\r\n").arg(line);
        }
        result.reportFile = SalvageReportPath(target);
        try {
            WriteWholeFile(result.reportFile, text.toUtf8());
        } catch (const CChybaDatabazy& e) {
            result.report << QStringLiteral("Správu o prevode sa nepodarilo zapísať: %1").arg(e.UserText());
            result.reportFile.clear();
        }
    }
    return result;
}
