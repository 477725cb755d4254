#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

class CDatabaza;

// Who misses which match. A suspension is served in the matches of the player's present club, in
// kick-off order: a bye or another club's match serves nothing, an undated match serves nothing until
// it is dated, a postponed match serves at its new kick-off.

// A match of the competition as the walks see it.
struct CZapasVCase
{
    int id = 0;
    int round = 0;
    QDateTime kickOff; // invalid when the match has no date
    int home = 0;
    int away = 0;
    bool bye = false; // one side names no club
    // Whether the match can be served: dated and between two clubs.
    bool Serves() const { return kickOff.isValid() && !bye; }
};

// A card with the moment it was given: the kick-off of its match.
struct CKartaVCase
{
    qint64 id = 0;
    int match = 0;
    int round = 0;
    QDateTime time;
};

// An amnesty: from `day` on, cards of matches before that day are forgiven, `count` of each player's
// oldest, or all of them.
struct CAmnestiaSezony
{
    qint64 id = 0;
    QDate day;
    bool all = false;
    int count = 0;
    int competition = 0; // 0: every competition
};

// A match a player must miss: for a yellow card, the count of cards that reached the threshold; for a
// red card, the round of the match it was shown in.
struct CZmeskanyZapas
{
    int match = 0;
    int cause = 0;
};

struct CPrechodZK
{
    QVector<CZmeskanyZapas> stops;
    QSet<qint64> forgiven;
    int counted = 0; // cards that count toward the next threshold at the end
    // Matches still to miss when the club has none left to serve them (the season's end), and the
    // count of cards that suspended him for them.
    int left = 0;
    int leftCause = 0;
};

// The yellow-card walk of one player in one competition. `cards` in the order they were given
// (kick-off, then ID), `clubMatches` the matches of his present club that serve (kick-off order),
// `amnesties` by day. Card by card the count of cards not forgiven grows; when a new card brings it
// to the threshold at position k of the rule (from 0), the club's next k+1 matches after that card's
// kick-off are missed, and whatever was still pending is replaced. An amnesty forgives cards given
// before it; they count toward no later threshold, and the matches already triggered stay.
CPrechodZK WalkYellowCards(const QVector<CKartaVCase>& cards, const QVector<CZapasVCase>& clubMatches,
                           const QVector<int>& thresholds, const QVector<CAmnestiaSezony>& amnesties);

// A red card: the club's next match after the card's kick-off is missed. `unserved` gets the cards
// after which the club has no match left to serve them.
QVector<CZmeskanyZapas> RedCardStops(const QVector<CKartaVCase>& cards,
                                     const QVector<CZapasVCase>& clubMatches,
                                     QVector<CKartaVCase>* unserved = nullptr);

// The season's amnesties that apply to a competition, by day (none in a file without the table).
QVector<CAmnestiaSezony> ReadAmnesties(CDatabaza& db, int competition);

// The discipline of one competition, read once: its matches in kick-off order, and for every player
// of its clubs with a card here his cards, the walks' outcome and his ban.
class CDisciplinaSutaze
{
public:
    struct CHrac
    {
        int id = 0;
        QString meno;
        QString priezvisko;
        QString rc;
        int club = 0;
        QVector<CKartaVCase> yellow;
        QVector<CKartaVCase> red;
        // Cards of a match that is gone, in a round without matches: counted, but never in time.
        int yellowWithoutTime = 0;
        int redWithoutTime = 0;
        CPrechodZK yellowWalk;
        QVector<CZmeskanyZapas> redStops;
    };

    CDisciplinaSutaze(CDatabaza& db, int competition, const QVector<int>& thresholds);

    int Competition() const { return m_competition; }
    // Every match of the competition, in kick-off order (undated ones first), then by ID.
    const QVector<CZapasVCase>& Matches() const { return m_matches; }
    const CZapasVCase* Match(int id) const;
    // The matches of a club that serve a suspension, in kick-off order.
    QVector<CZapasVCase> ServingMatches(int club) const;
    // Players of the competition's clubs with a yellow or red card in it.
    const QVector<CHrac>& Players() const { return m_players; }
    // The competition's clubs.
    const QSet<int>& Clubs() const { return m_clubs; }

    // A suspension carried from the season before, with the club's first matches that serve it.
    struct CPrenesenyHrac
    {
        int id = 0;
        QString meno;
        QString priezvisko;
        QString rc;
        int club = 0;
        QString season;
        QVector<CZmeskanyZapas> stops;
    };
    const QVector<CPrenesenyHrac>& Carried() const { return m_carried; }

private:
    int m_competition;
    QVector<CZapasVCase> m_matches;
    QHash<int, int> m_matchIndex;
    QSet<int> m_clubs;
    QVector<CHrac> m_players;
    QVector<CPrenesenyHrac> m_carried;
};

struct CPrenesenyTrest;
// What of this season's suspensions is still to serve at its end (yellow-card stops with the matches
// left, red cards after the club's last match), to carry into the next season (`season` names this
// one), by competition and player.
QVector<CPrenesenyTrest> SuspensionsToCarry(CDatabaza& db, const QVector<int>& thresholds,
                                            const QString& season);
// Reasons as the lists give them: "ŽK (4.)" for the count of yellow cards that reached a threshold,
// "ČK (5. kolo)" for a red card of a round, "prenesený trest (2024/2025)" for a suspension carried from
// the season before.
QString YellowCardReason(int count);
QString RedCardReason(int round);
QString CarriedReason(const QString& season);
