#pragma once

class CDatabaza;

// The standings row of one club (`tbody`, keyed by club and competition) recomputed from all its
// results; the row is added when missing. Score codes: 100 no result, 200 lost by forfeit.
void RecalculateClub(CDatabaza& db, int competition, int club);
// Every club of the competition, in one transaction.
void RecalculateCompetition(CDatabaza& db, int competition);
