#pragma once

#include "competition/odstupenie.h"

class CDatabaza;
class CLigaroDoc;

// A club's withdrawal written into the season: what the withdrawal means for a match is the
// competition's rule (competition/odstupenie.h); writing it recalculates the standings.

// Withdraws the club from `day` and recalculates its competition; a club withdrawn already gets the new
// day and choice. Cancelling restores the results as they were typed.
void WithdrawClub(CDatabaza& db, int club, const QDate& day, bool annul);
void CancelWithdrawal(CDatabaza& db, int club);
// The same as the window's and the command line's commands: a snapshot of the season first (and the
// cancelling asked for, since it brings the club's results back). False when nothing was done (the user
// was told why, or said no).
bool WithdrawClubCommand(CLigaroDoc& doc, int club, const QDate& day, bool annul);
bool CancelWithdrawalCommand(CLigaroDoc& doc, int club);
