#pragma once

#include <QVector>

class CDatabaza;

// The standings of a club counted from all its results: matches played, won, drawn and lost, goals
// for and against, and the plus/minus points (3 an away win, 1 an away draw, -3 a home loss, -2 a
// home draw). Scores are read by the store's one rule (100 no result, 200 lost by forfeit). A side
// that lost by forfeit loses 0:3 and its opponent wins 3:0, whatever the opponent's field holds; when
// both sides forfeit, both lose 0:3. A match without a forfeit counts by its typed scores, a home
// score typed without the away score included.
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
// Every club of the competition, in one transaction.
void RecalculateCompetition(CDatabaza& db, int competition);
