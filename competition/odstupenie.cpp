#include "odstupenie.h"

#include "competition/CZapas.h"
#include "competition/rozpis.h"
#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/schema.h"

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

QString WithdrawalDayProblem(CDatabaza& db, const QDate& day)
{
    QDate first, last;
    CPrikaz q(db, QStringLiteral("select cas from tzapasy"));
    while (q.Step()) {
        const QDateTime kickOff = DatumZUlozenia(q.Text(0));
        if (JeZiadnyDatum(kickOff) || !kickOff.isValid())
            continue;
        const QDate d = kickOff.date();
        if (!first.isValid() || d < first)
            first = d;
        if (!last.isValid() || d > last)
            last = d;
    }
    // A season without a dated match has nothing to measure the day against.
    if (!first.isValid())
        return {};
    if (day < first.addYears(-1) || day > last)
        return QStringLiteral("Deň odstúpenia %1 nie je v tejto sezóne: jej zápasy sa hrajú od %2 do %3. "
                              "Zadajte deň, od ktorého klub nenastúpi.")
            .arg(DenTextom(day), DenTextom(first), DenTextom(last));
    return {};
}

QString WithdrawalRemark(const QHash<int, COdstupenie>& withdrawals, const CZapas& z,
                         const CMenaKlubov& names)
{
    if (withdrawals.isEmpty() || !names.IsClub(z.homeClub) || !names.IsClub(z.awayClub))
        return {};
    const bool full = MaVysledok(z.homeScore, z.awayScore);
    for (const int club : {z.homeClub, z.awayClub}) {
        const auto w = withdrawals.constFind(club);
        if (w == withdrawals.constEnd())
            continue;
        if (MatchIsOff(*w, z.kickOff, full))
            return QStringLiteral("%1 %2").arg(names.Name(club), kOdstupilText);
        if (w->annul)
            return QStringLiteral("anulovaný (%1 %2)").arg(names.Name(club), kOdstupilText);
    }
    return {};
}

QString WithdrawalMark(const COdstupenie& withdrawal)
{
    return QStringLiteral("%1 %2%3").arg(kOdstupilText, DenTextom(withdrawal.day),
                                         withdrawal.annul ? QStringLiteral(", výsledky anulované")
                                                          : QString());
}
