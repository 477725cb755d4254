#include "novasezona.h"

#include "CChybaDatabazy.h"
#include "CDatabaza.h"
#include "hlavicka.h"
#include "kody.h"
#include "nastaveniasezony.h"
#include "schema.h"
#include "subory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <QRegularExpression>
#include <functional>

QString NextSeasonName(const QString& name)
{
    static const QRegularExpression form(QStringLiteral("^(\\s*)(\\d{4})(\\s*/\\s*)(\\d{2}|\\d{4})(\\s*)$"));
    const QRegularExpressionMatch m = form.match(name);
    if (m.hasMatch()) {
        const QString second = m.captured(4);
        const int next = second.toInt() + 1;
        const QString nextSecond = second.size() == 2
                                       ? QStringLiteral("%1").arg(next % 100, 2, 10, QLatin1Char('0'))
                                       : QString::number(next);
        return m.captured(1) + QString::number(m.captured(2).toInt() + 1) + m.captured(3) + nextSecond +
               m.captured(5);
    }
    static const QRegularExpression year(QStringLiteral("^(\\s*)(\\d{4})(\\s*)$"));
    const QRegularExpressionMatch y = year.match(name);
    if (y.hasMatch())
        return y.captured(1) + QString::number(y.captured(2).toInt() + 1) + y.captured(3);
    return name;
}

namespace {

// Copies the rows of `select` (from the source) into `insert` (in the target), row by row.
void CopyRows(CDatabaza& source, CDatabaza& target, const QString& select, const QVariantList& params,
              const QString& insert, const std::function<bool(QVariantList&)>& adjust = {})
{
    CPrikaz q(source, select, params);
    CPrikaz add(target, insert);
    while (q.Step()) {
        QVariantList values;
        for (int i = 0; i < q.ColumnCount(); ++i)
            values << q.Value(i);
        if (adjust && !adjust(values))
            continue;
        add.Execute(values);
    }
}

} // namespace

void CreateSeasonFrom(CDatabaza& source, const QString& target, const CPrenosSezony& plan)
{
    if (QFileInfo::exists(target))
        throw CChybaDatabazy(QStringLiteral("Súbor %1 už existuje; novú sezónu do neho nezapíšem.")
                                 .arg(QDir::toNativeSeparators(target)));
    // A damaged season would hand its damage on to the next one.
    source.CheckBeforeBulkWrite();
    const QString temporary = TemporaryBeside(target);
    try {
        CreateNewSeasonFile(temporary);
        {
            CDatabaza db;
            db.Open(temporary);
            db.PrepareForBulkWrite();
            CTransakcia transaction(db);
            const CHlavicka header = CHlavicka::Read(source);
            if (header.exists)
                db.Execute(QStringLiteral(
                               "insert into tsezona (nazov, kraj, zvaz, stop, zapocitat) values (?,?,?,?,?)"),
                           {plan.seasonName, header.kraj, header.zvaz, header.stop, header.zapocitat});
            else if (!plan.seasonName.isEmpty())
                db.Execute(QStringLiteral("insert into tsezona (nazov) values (?)"), {plan.seasonName});
            if (source.TableExists(QStringLiteral("theslo")))
                db.Execute(QStringLiteral("update theslo set heslo=?"),
                           {source.Value(QStringLiteral("select heslo from theslo")).toString()});
            if (source.TableExists(kTabulkaNastaveni))
                CopyRows(source, db,
                         QStringLiteral("select kluc, hodnota from %1 where kluc<>?").arg(kTabulkaNastaveni),
                         {kNastavenieIdentifikatora},
                         QStringLiteral("insert or replace into %1 (kluc, hodnota) values (?, ?)")
                             .arg(kTabulkaNastaveni));

            CopyRows(source, db, QStringLiteral("select ID, nazov from tsutaze"), {},
                     QStringLiteral("insert into tsutaze (ID, nazov) values (?, ?)"));
            QSet<int> competitions;
            {
                CPrikaz q(db, QStringLiteral("select ID from tsutaze"));
                while (q.Step())
                    competitions.insert(static_cast<int>(q.Int64(0)));
            }
            QSet<int> clubs;
            CopyRows(source, db,
                     QStringLiteral("select ID, nazov, kontakt1, kontakt2, pozn, skupina from tkluby"), {},
                     QStringLiteral(
                         "insert into tkluby (ID, nazov, kontakt1, kontakt2, pozn, skupina, vylosovanie) "
                         "values (?, ?, ?, ?, ?, ?, 0)"),
                     [&](QVariantList& v) {
                         const int club = v.at(0).toInt();
                         if (plan.clubMoves.contains(club)) {
                             const int to = plan.clubMoves.value(club);
                             if (to == 0 || !competitions.contains(to))
                                 return false;
                             v[5] = to;
                         }
                         clubs.insert(club);
                         return true;
                     });
            // Players as they stand now: their present records in the clubs that go on; the own-goal
            // player under its old ID.
            db.Execute(QStringLiteral("delete from thraci"));
            CopyRows(
                source, db,
                QStringLiteral("select ID, meno, priezvisko, RC, IDklubu, od, \"do\", pozn from thraci where "
                               "ifnull(IDold,0)=0"),
                {},
                QStringLiteral(
                    "insert into thraci (ID, meno, priezvisko, RC, IDklubu, IDold, od, \"do\", pozn) "
                    "values (?, ?, ?, ?, ?, 0, ?, ?, ?)"),
                [&](QVariantList& v) {
                    if (v.at(3).toString() == kRcVlastnyGol) {
                        v[4] = 0;
                        return true;
                    }
                    return clubs.contains(v.at(4).toInt());
                });
            if (db.Value(QStringLiteral("select count(*) from thraci where RC=?"), {kRcVlastnyGol}).toInt() ==
                0)
                db.Execute(
                    QStringLiteral("insert into thraci (meno, priezvisko, RC, IDklubu) values ('Vlastný', "
                                   "'gól', ?, 0)"),
                    {kRcVlastnyGol});
            {
                // A suspension goes with its player, or nowhere.
                CPrikaz carry(
                    db, QStringLiteral("insert into %1 (IDhraca, zapasy, druh, sezona, dovod) "
                                       "select ?, ?, ?, ?, ? where exists (select 1 from thraci where ID=?)")
                            .arg(kTabulkaPrenesenychTrestov));
                for (const CPrenesenyTrest& t : plan.suspensions)
                    if (t.matches > 0)
                        carry.Execute({t.player, t.matches, t.kind, t.season, t.cause, t.player});
            }
            CopyRows(
                source, db,
                QStringLiteral(
                    "select ID, meno, priezvisko, RC, domov, praca, mobil, pozn, znamka, beh, skupina, "
                    "funkcia from trozhodci"),
                {},
                QStringLiteral("insert into trozhodci (ID, meno, priezvisko, RC, domov, praca, mobil, pozn, "
                               "znamka, beh, skupina, funkcia) values (?,?,?,?,?,?,?,?,?,?,?,?)"),
                [&](QVariantList& v) {
                    if (!plan.keepTestMarks)
                        v[8] = 0;
                    return true;
                });
            transaction.Commit();
        }
        SyncFile(temporary);
        ReplaceWith(temporary, target);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}
