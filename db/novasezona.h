#pragma once

#include <QHash>
#include <QString>
#include <QVector>

class CDatabaza;

// The next season started from this one: the association's header (with the next season's name), its
// rules (the yellow-card rule, whether the test mark counts, the tie rule), the edit password,
// competitions, clubs (drawn numbers cleared), players as they stand now (loans and bans kept, no
// transfer history), referees and delegates, and the suspensions not served by the season's end
// (plan.suspensions). Nothing else of this season's play is carried: no matches, goals, cards,
// standings, nominations, amnesties or withdrawals.
// A suspension not served by the season's end, carried into the next one: served in the player's
// club's first matches there.
struct CPrenesenyTrest
{
    int player = 0;
    int matches = 0;
    int kind = 1;   // 1 a yellow-card stop, 2 a red card
    QString season; // the season it was earned in ("2024/2025")
    QString cause;  // "ŽK (8.)", "ČK (31. kolo)"
};
inline constexpr int kTrestZlte = 1;
inline constexpr int kTrestCervena = 2;

struct CPrenosSezony
{
    QString seasonName;
    bool keepTestMarks = true;
    // A club moved to another competition (promotion, relegation), or left out (0); a club not named
    // stays where it is.
    QHash<int, int> clubMoves;
    // Suspensions carried over (the players' who come over with their clubs).
    QVector<CPrenesenyTrest> suspensions;
};

// "2025/2026" → "2026/2027", "2025/26" → "2026/27", "2025" → "2026"; another text stays as it is.
QString NextSeasonName(const QString& name);

// Writes the new season file at `target` (whole or not at all). Throws CChybaDatabazy.
void CreateSeasonFrom(CDatabaza& source, const QString& target, const CPrenosSezony& plan);
