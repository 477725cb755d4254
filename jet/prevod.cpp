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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QTextStream>

#include <cstdio>

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
    }
    return QStringLiteral("TEXT");
}

QString TableOfSeason(const QString& name)
{
    for (const QString& t : SeasonTables())
        if (t.compare(name, Qt::CaseInsensitive) == 0)
            return t;
    return {};
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
                       .arg(s.nazov)
                       .arg(differing);
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
    return info.absoluteDir().filePath(QStringLiteral("%1 (prevedená).mdb").arg(info.completeBaseName()));
}

QStringList ConvertJetFileHere(const QString& jetPath, const QString& target,
                               const std::function<void(qint64 done, qint64 total)>& progress)
{
    CJetSubor jet(jetPath);
    // A season first: the tables and columns the program reads must be there (the upgrade's columns
    // and the password table of the oldest version apart).
    for (const auto& [table, columns] : RequiredColumns()) {
        const CTabulkaJet* t = jet.Table(table);
        if (!t) {
            if (table == QStringLiteral("theslo"))
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
    CDatabaza::CreateFile(target, NewSeasonStatements(true));
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
        int counterColumn = -1;
        if (known) {
            const QStringList present = db.ColumnNames(name);
            QStringList extra;
            for (const CStlpecJet& c : t.columns) {
                QString column;
                for (const QString& p : present)
                    if (p.compare(c.name, Qt::CaseInsensitive) == 0)
                        column = p;
                if (column.isEmpty()) {
                    column = c.name;
                    db.Execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                                   .arg(name, Quoted(column), StoreType(c.type)));
                    extra << column;
                }
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
                if (key)
                    counterColumn = static_cast<int>(targetColumns.size()) - 1;
            }
            db.Execute(QStringLiteral("CREATE TABLE %1 (%2)")
                           .arg(Quoted(name), declarations.join(QStringLiteral(", "))));
            report << QStringLiteral("Tabuľka %1 (riadkov: %2) nepatrí do sezóny; prevzala sa tak, ako je.")
                          .arg(name)
                          .arg(t.rows);
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
        jet.ReadRows(t, [&](const QVariantList& values) {
            try {
                add.Execute(values);
            } catch (const CChybaDatabazy& e) {
                // Two rows under one ID (only a damaged file holds them), or a value the store refuses.
                const QString row = idColumn >= 0
                                        ? QStringLiteral("riadok s ID %1").arg(values.at(idColumn).toString())
                                        : QStringLiteral("jeden z riadkov");
                throw CChybaDatabazy(
                    QStringLiteral("Súbor %1 je poškodený: v tabuľke %2 sa %3 nedá prevziať (%4).")
                        .arg(Shown(jetPath), t.name, row,
                             e.EngineText().isEmpty() ? e.UserText() : e.EngineText()));
            }
            if (idColumn >= 0)
                maxId = std::max(maxId, values.at(idColumn).toLongLong());
            if (progress && ++done % 500 == 0)
                progress(done, total);
            return true;
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

int RunConversionChild(const QString& jetPath, const QString& target)
{
    QTextStream out(stdout);
    QElapsedTimer shown;
    shown.start();
    try {
        const QStringList report = ConvertJetFileHere(jetPath, target, [&](qint64 done, qint64 total) {
            // Often enough that the parent sees life, not so often that the pipe is the work.
            if (done == 0 || done == total || shown.elapsed() >= 100) {
                out << "postup " << done << ' ' << total << Qt::endl;
                shown.restart();
            }
        });
        for (const QString& line : report)
            out << "hlasenie " << line << Qt::endl;
        out.flush();
        return 0;
    } catch (const CChybaDatabazy& e) {
        // Nothing half-written stays behind, whoever started the conversion.
        for (const char* suffix : {"", "-journal"})
            QFile::remove(target + QLatin1String(suffix));
        out << "chyba " << e.UserText().replace(QLatin1Char('\n'), QLatin1Char(' ')) << Qt::endl;
        out.flush();
        return 2;
    }
}

CVysledokPrevodu ConvertJetSeason(const QString& jetPath, const QString& target,
                                  const std::function<bool(qint64 done, qint64 total)>& progress)
{
    CVysledokPrevodu result;
    if (!QFileInfo(jetPath).isFile()) {
        result.error = QStringLiteral("Súbor %1 neexistuje.").arg(Shown(jetPath));
        return result;
    }
    if (TenIstySubor(jetPath, target) || QFileInfo::exists(target)) {
        result.error =
            QStringLiteral("Súbor %1 už existuje; prevedenú sezónu do neho nezapíšem.").arg(Shown(target));
        return result;
    }
    if (const QString refusal = SeasonTargetRefusal(target); !refusal.isEmpty()) {
        result.error = refusal;
        return result;
    }
    const QString temporary = TemporaryBeside(target);
    const auto cleanUp = [&temporary] {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"})
            QFile::remove(temporary + QLatin1String(suffix));
    };
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(g_program.isEmpty() ? QCoreApplication::applicationFilePath() : g_program,
                {QStringLiteral("--") + kVolbaPrevodnika, jetPath, temporary});
    if (!child.waitForStarted(30000)) {
        result.error = QStringLiteral("Prevod sa nepodarilo spustiť: %1").arg(child.errorString());
        return result;
    }
    // A file the library loops on must not hold the user forever: a child that says nothing for this
    // long is stopped.
    constexpr int kTichoMs = 30000;
    QElapsedTimer quiet;
    quiet.start();
    QByteArray pending;
    QString childError;
    const auto readLines = [&] {
        pending += child.readAllStandardOutput();
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
                result.report << line.mid(9);
            } else if (line.startsWith(QStringLiteral("chyba "))) {
                childError = line.mid(6);
            }
        }
    };
    while (child.state() != QProcess::NotRunning) {
        child.waitForReadyRead(100);
        readLines();
        if (result.cancelled || quiet.elapsed() > kTichoMs) {
            child.kill();
            child.waitForFinished(5000);
            break;
        }
    }
    child.waitForFinished(5000);
    readLines();
    child.readAllStandardError(); // the library's own notes about what it met; the user gets ours
    if (result.cancelled) {
        cleanUp();
        return result;
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0 || !childError.isEmpty()) {
        cleanUp();
        if (!childError.isEmpty())
            result.error = childError;
        else if (quiet.elapsed() > kTichoMs)
            result.error =
                QStringLiteral(
                    "Súbor %1 sa nepodarilo previesť: čítanie sa zastavilo a neodpovedalo (súbor je "
                    "asi poškodený). Nič sa nezapísalo.")
                    .arg(Shown(jetPath));
        else
            result.error =
                QStringLiteral(
                    "Súbor %1 sa nepodarilo previesť: čítanie formátu Jet pri ňom zlyhalo (súbor je "
                    "asi poškodený). Nič sa nezapísalo.")
                    .arg(Shown(jetPath));
        result.report.clear();
        return result;
    }
    try {
        ReplaceWith(temporary, target);
    } catch (const CChybaDatabazy& e) {
        cleanUp();
        result.error = e.UserText();
        result.report.clear();
    }
    return result;
}
