#pragma once

#include "db/kody.h"

#include <QDateTime>
#include <QPair>
#include <QString>
#include <QVector>

class CDatabaza;
class CZaznamy;

// One match as the schedule and results lists hold it.
class CZapas
{
public:
    int id = 0;
    int round = 0;
    int homeClub = 0;
    int awayClub = 0;
    int homeDraw = 0;
    int awayDraw = 0;
    int homeScore = 0;
    int awayScore = 0;
    int homeHalfTime = 0;
    int awayHalfTime = 0;
    QDateTime kickOff;
    QString dateText; // date only, in the user's locale
    QString timeText; // "%02d:%02d", empty for 00:00
    QString note;
    QString scheduleNote;

    static CZapas FromRow(const CZaznamy& rs);
};

// The matches of a competition, of one round or (kVsetkyKola) of all, in ID order; of one club only
// (its own matches and byes), or of every club (kVsetkyKluby).
QVector<CZapas> ReadMatches(CDatabaza& db, int competition, int round, int club = kVsetkyKluby);
// The home and away club of a match (0 and 0 when there is no such match).
QPair<int, int> MatchClubs(CDatabaza& db, int match);

// Whether a side of the match names no club: a free slot of the draw ("voľno").
bool MatchIsBye(CDatabaza& db, int match);

// The rounds that have matches, in order.
QVector<int> ReadRounds(CDatabaza& db, int competition);

// Printouts of a round list hold up to four rounds a page, as many as fit.
inline constexpr int kKolNaStranu = 4;
// The matches of one round or (kVsetkyKola) of all, a group per round in round order, matches by ID.
QVector<QVector<CZapas>> MatchesByRound(CDatabaza& db, int competition, int round, int club = kVsetkyKluby);
