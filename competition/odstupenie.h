#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>

class CDatabaza;
class CMenaKlubov;
struct CZapas;

// Clubs that withdrew from their competition ("odstúpil"). From the day of the withdrawal the club's
// matches are off: with its results annulled, none of its matches counts for anybody; otherwise its
// played results stand and every match it does not play (from that day, or left without a result)
// is its forfeit. The file keeps the results as typed, so that cancelling the withdrawal restores them.
struct COdstupenie
{
    int club = 0;
    QDate day;
    bool annul = false;
};

// Every withdrawal of the season, by club (none in a file without the table).
QHash<int, COdstupenie> ReadWithdrawals(CDatabaza& db);

// Whether a match of a withdrawn club is off: it will not be played, shows "odstúpil" and takes no
// nominations. `fullResult`: both scores typed, or a forfeit.
bool MatchIsOff(const COdstupenie& withdrawal, const QDateTime& kickOff, bool fullResult);
inline const QString kOdstupilText = QStringLiteral("odstúpil");
// What the results say of a match a withdrawn club does not play ("Krakovany odstúpil") or of one
// annulled with its results ("anulovaný (Krakovany odstúpil)"); nothing of any other match, a bye or a
// match before the withdrawal.
QString WithdrawalRemark(const QHash<int, COdstupenie>& withdrawals, const CZapas& match,
                         const CMenaKlubov& names);
// How a list of clubs marks a withdrawn one: "odstúpil 1. 10. 2025" (with ", výsledky anulované").
QString WithdrawalMark(const COdstupenie& withdrawal);

// Why the club cannot withdraw on `day`: a day more than a year before the season's first match or
// after its last is a typing error, not a withdrawal. Empty when it can.
QString WithdrawalDayProblem(CDatabaza& db, const QDate& day);
// The withdrawal's commands as the clubs list and the command line name them.
inline const QString kOdstupenieKlubu = QStringLiteral("Odstúpenie klubu");
inline const QString kZrusitOdstupenie = QStringLiteral("Zrušiť odstúpenie");
