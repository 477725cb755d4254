#pragma once

#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QVector>

#include <optional>

class CDatabaza;

// The standings of a club counted from all its results: matches played, won, drawn and lost, goals
// for and against, and the plus/minus points (3 an away win, 1 an away draw, -3 a home loss, -2 a
// home draw). Scores are read by the store's one rule (100 no result, 200 lost by forfeit). A side
// that lost by forfeit loses 0:3 and its opponent wins 3:0, whatever the opponent's field holds; when
// both sides forfeit, both lose 0:3. A match counts only with a full result (both scores, or a
// forfeit): a half-typed one counts nowhere, and so does a bye. A withdrawn club's matches count as
// its withdrawal says (competition/odstupenie.h).
struct CPocty
{
    int club = 0;
    int zapasy = 0;
    int vyhry = 0;
    int remizy = 0;
    int prehry = 0;
    int skore1 = 0;
    int skore2 = 0;
    int plusb = 0;
};

// A match as the standings read it.
struct CZapasNaPocitanie
{
    int home = 0;
    int away = 0;
    int h = 100; // scores by the store's rule
    int a = 100;
    QDateTime kickOff; // read only for a match of a withdrawn club, where it decides
    bool bye = false;  // a side names no club
};
// The scores the match counts with, or nothing when it counts for nobody.
std::optional<QPair<int, int>> CountedScore(const CZapasNaPocitanie& m,
                                            const QHash<int, struct COdstupenie>& withdrawals);
// Adds a counted match to one side's counts.
void AddMatch(CPocty& counts, bool home, int h, int a);
// Every match of the competition's clubs as the standings read them, `withdrawals` those of the season.
QVector<CZapasNaPocitanie> CompetitionMatches(CDatabaza& db, int competition,
                                              const QHash<int, struct COdstupenie>& withdrawals);

// The counts of every club of the competition, in one query (clubs without a match get zeros).
QVector<CPocty> CountCompetition(CDatabaza& db, int competition);
// The counts of one club.
CPocty CountClub(CDatabaza& db, int club);

// Points: 3 a win, 1 a draw, less the penalty points.
int StandingsPoints(const CPocty& counts, int penalty);

// The standings row of one club (`tbody`, keyed by club and competition) recomputed from all its
// results; the row is added when missing. Penalty points that are not a whole number or would make the
// points overflow are refused (CChybaDatabazy naming the club) and nothing is written.
void RecalculateClub(CDatabaza& db, int competition, int club);
// The same for several clubs (a score's two), their matches read once.
void RecalculateClubs(CDatabaza& db, int competition, const QVector<int>& clubs);
// Every club of the competition, in one transaction.
void RecalculateCompetition(CDatabaza& db, int competition);
