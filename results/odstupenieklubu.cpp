#include "odstupenieklubu.h"

#include "db/CDatabaza.h"
#include "db/CLigaroDoc.h"
#include "db/kody.h"
#include "db/schema.h"
#include "prepocet.h"

namespace {
int CompetitionOfClub(CDatabaza& db, int club)
{
    return db.Value(QStringLiteral("select skupina from tkluby where ID=?"), {club}).toInt();
}
} // namespace

void WithdrawClub(CDatabaza& db, int club, const QDate& day, bool annul)
{
    CTransakcia transaction(db, CTransakcia::kHromadna);
    db.Execute(QStringLiteral("delete from %1 where IDklubu=?").arg(kTabulkaOdstupeni), {club});
    db.Execute(
        QStringLiteral("insert into %1 (IDklubu, datum, anulovat) values (?, ?, ?)").arg(kTabulkaOdstupeni),
        {club, DatumNaUlozenie(CasSezony(day)), annul ? 1 : 0});
    RecalculateCompetition(db, CompetitionOfClub(db, club));
    transaction.Commit();
}

void CancelWithdrawal(CDatabaza& db, int club)
{
    CTransakcia transaction(db, CTransakcia::kHromadna);
    db.Execute(QStringLiteral("delete from %1 where IDklubu=?").arg(kTabulkaOdstupeni), {club});
    RecalculateCompetition(db, CompetitionOfClub(db, club));
    transaction.Commit();
}

bool WithdrawClubCommand(CLigaroDoc& doc, int club, const QDate& day, bool annul)
{
    if (const QString problem = WithdrawalDayProblem(doc.Database(), day); !problem.isEmpty()) {
        doc.User().ShowMessage(problem, CPouzivatel::Ikona::Vykricnik);
        return false;
    }
    if (!doc.Snapshot(kOdstupenieKlubu))
        return false;
    WithdrawClub(doc.Database(), club, day, annul);
    return true;
}

bool CancelWithdrawalCommand(CLigaroDoc& doc, int club)
{
    const COdstupenie withdrawal = ReadWithdrawals(doc.Database()).value(club);
    const QString name =
        doc.Database().Value(QStringLiteral("select nazov from tkluby where ID=?"), {club}).toString();
    if (!doc.User().AskYesNo(
            QStringLiteral("Zrušiť odstúpenie klubu %1 (%2)?\n\nJeho zápasy od toho dňa budú znova "
                           "platiť, ako sú zapísané, a tabuľka sa prepočíta.")
                .arg(name, WithdrawalMark(withdrawal))))
        return false;
    if (!doc.Snapshot(kZrusitOdstupenie))
        return false;
    CancelWithdrawal(doc.Database(), club);
    return true;
}
