#include "odstupenie.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "db/schema.h"
#include "prepocet.h"

QHash<int, COdstupenie> ReadWithdrawals(CDatabaza& db)
{
    QHash<int, COdstupenie> out;
    if (!db.TableExists(kTabulkaOdstupeni))
        return out;
    CPrikaz q(db,
              QStringLiteral("select IDklubu, datum, anulovat from %1 order by ID").arg(kTabulkaOdstupeni));
    while (q.Step()) {
        COdstupenie w;
        w.club = static_cast<int>(q.Int64(0));
        // A day that does not read is the first day of all: every match is off.
        const QDateTime day = DatumZUlozenia(q.Text(1));
        w.day = day.isValid() ? day.date() : QDate(1, 1, 1);
        w.annul = q.Int64(2) != 0;
        out.insert(w.club, w);
    }
    return out;
}

bool MatchIsOff(const COdstupenie& withdrawal, const QDateTime& kickOff, bool fullResult)
{
    if (!fullResult)
        return true;
    return !JeZiadnyDatum(kickOff) && kickOff.date() >= withdrawal.day;
}

namespace {
int CompetitionOfClub(CDatabaza& db, int club)
{
    return db.Value(QStringLiteral("select skupina from tkluby where ID=?"), {club}).toInt();
}
} // namespace

void WithdrawClub(CDatabaza& db, int club, const QDate& day, bool annul)
{
    CTransakcia transaction(db);
    db.Execute(QStringLiteral("delete from %1 where IDklubu=?").arg(kTabulkaOdstupeni), {club});
    db.Execute(
        QStringLiteral("insert into %1 (IDklubu, datum, anulovat) values (?, ?, ?)").arg(kTabulkaOdstupeni),
        {club, DatumNaUlozenie(CasSezony(day)), annul ? 1 : 0});
    RecalculateCompetition(db, CompetitionOfClub(db, club));
    transaction.Commit();
}

void CancelWithdrawal(CDatabaza& db, int club)
{
    CTransakcia transaction(db);
    db.Execute(QStringLiteral("delete from %1 where IDklubu=?").arg(kTabulkaOdstupeni), {club});
    RecalculateCompetition(db, CompetitionOfClub(db, club));
    transaction.Commit();
}

bool WithdrawClubCommand(CLigaroDoc& doc, int club, const QDate& day, bool annul)
{
    if (!doc.Snapshot(kOdstupenieKlubu))
        return false;
    WithdrawClub(doc.Database(), club, day, annul);
    return true;
}

bool CancelWithdrawalCommand(CLigaroDoc& doc, int club)
{
    if (!doc.Snapshot(kZrusitOdstupenie))
        return false;
    CancelWithdrawal(doc.Database(), club);
    return true;
}
