#pragma once

#include <QHash>
#include <QString>

class CDatabaza;

// The next season started from this one: the association's header (with the next season's name), its
// rules (the yellow-card rule, whether the test mark counts, the tie rule), the edit password,
// competitions, clubs (drawn numbers cleared), players as they stand now (loans and bans kept, no
// transfer history), referees and delegates. Nothing of this season's play is carried: no matches,
// goals, cards, standings, nominations, amnesties or withdrawals.
struct CPrenosSezony
{
    QString seasonName;
    bool keepTestMarks = true;
    // A club moved to another competition (promotion, relegation), or left out (0); a club not named
    // stays where it is.
    QHash<int, int> clubMoves;
};

// "2025/2026" → "2026/2027", "2025/26" → "2026/27", "2025" → "2026"; another text stays as it is.
QString NextSeasonName(const QString& name);

// Writes the new season file at `target` (whole or not at all). Throws CChybaDatabazy.
void CreateSeasonFrom(CDatabaza& source, const QString& target, const CPrenosSezony& plan);
