#include "stopky.h"

#include "db/CDatabaza.h"
#include "db/kody.h"
#include "db/novasezona.h"
#include "db/schema.h"

#include <algorithm>

namespace {

// A card of an undated match was given before every dated one.
QDateTime TimeOfCard(const QDateTime& kickOff)
{
    return kickOff.isValid() ? kickOff : ZiadnyDatum();
}

bool Earlier(const CKartaVCase& a, const CKartaVCase& b)
{
    return a.time != b.time ? a.time < b.time : a.id < b.id;
}

} // namespace

CPrechodZK WalkYellowCards(const QVector<CKartaVCase>& cards, const QVector<CZapasVCase>& clubMatches,
                           const QVector<int>& thresholds, const QVector<CAmnestiaSezony>& amnesties)
{
    CPrechodZK out;
    QVector<qint64> counted; // cards not forgiven, oldest first
    int pending = 0;
    int reached = 0;
    qsizetype nextMatch = 0;
    qsizetype nextAmnesty = 0;
    // A club match at the very kick-off of a card is the card's own match (or one played beside it):
    // it serves only what was pending before the card.
    const auto serveUpTo = [&](const QDateTime& time) {
        while (nextMatch < clubMatches.size()) {
            const CZapasVCase& m = clubMatches.at(nextMatch);
            if (m.kickOff > time)
                break;
            if (pending > 0) {
                out.stops.append({m.id, reached});
                --pending;
            }
            ++nextMatch;
        }
    };
    const auto forgiveUpTo = [&](const QDateTime& time) {
        while (nextAmnesty < amnesties.size() && CasSezony(amnesties.at(nextAmnesty).day) <= time) {
            const CAmnestiaSezony& a = amnesties.at(nextAmnesty++);
            const qsizetype n = a.all ? counted.size() : std::clamp<qsizetype>(a.count, 0, counted.size());
            for (qsizetype i = 0; i < n; ++i)
                out.forgiven.insert(counted.at(i));
            counted.remove(0, n);
        }
    };
    for (const CKartaVCase& card : cards) {
        forgiveUpTo(card.time);
        serveUpTo(card.time);
        counted.append(card.id);
        const int count = static_cast<int>(counted.size());
        const qsizetype k = thresholds.indexOf(count);
        if (k >= 0) {
            pending = static_cast<int>(k) + 1;
            reached = count;
        }
    }
    // Amnesties after the last card forgive what is left; nothing after them counts anew.
    const QDateTime end = CasSezony(QDate(9999, 12, 31), QTime(23, 59, 59));
    forgiveUpTo(end);
    serveUpTo(end);
    out.counted = static_cast<int>(counted.size());
    out.left = pending;
    out.leftCause = pending > 0 ? reached : 0;
    return out;
}

QVector<CZmeskanyZapas> RedCardStops(const QVector<CKartaVCase>& cards,
                                     const QVector<CZapasVCase>& clubMatches, QVector<CKartaVCase>* unserved)
{
    QVector<CZmeskanyZapas> stops;
    for (const CKartaVCase& card : cards) {
        const auto next =
            std::upper_bound(clubMatches.begin(), clubMatches.end(), card.time,
                             [](const QDateTime& t, const CZapasVCase& m) { return t < m.kickOff; });
        if (next == clubMatches.end()) {
            if (unserved)
                unserved->append(card);
            continue;
        }
        const bool listed = std::any_of(stops.begin(), stops.end(),
                                        [&](const CZmeskanyZapas& s) { return s.match == next->id; });
        if (!listed)
            stops.append({next->id, card.round});
    }
    return stops;
}

QVector<CAmnestiaSezony> ReadAmnesties(CDatabaza& db, int competition)
{
    QVector<CAmnestiaSezony> out;
    if (!db.TableExists(kTabulkaAmnestii))
        return out;
    CPrikaz q(db,
              QStringLiteral("select ID, datum, vsetky, pocet, skupina from %1 where skupina=0 or skupina=? "
                             "order by datum, ID")
                  .arg(kTabulkaAmnestii),
              {competition});
    while (q.Step()) {
        CAmnestiaSezony a;
        a.id = q.Int64(0);
        // An amnesty without a readable day took effect before anything was played.
        const QDateTime day = DatumZUlozenia(q.Text(1));
        a.day = day.isValid() ? day.date() : ZiadnyDatum().date();
        a.all = q.Int64(2) != 0;
        a.count = static_cast<int>(std::clamp<qint64>(q.Int64(3), 0, 1000000));
        a.competition = static_cast<int>(q.Int64(4));
        out.append(a);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const CAmnestiaSezony& x, const CAmnestiaSezony& y) { return x.day < y.day; });
    return out;
}

CDisciplinaSutaze::CDisciplinaSutaze(CDatabaza& db, int competition, const QVector<int>& thresholds)
    : m_competition(competition)
{
    QSet<int> allClubs;
    {
        CPrikaz q(db, QStringLiteral("select ID, skupina from tkluby"));
        while (q.Step()) {
            const int id = static_cast<int>(q.Int64(0));
            allClubs.insert(id);
            if (q.Int64(1) == competition)
                m_clubs.insert(id);
        }
    }
    {
        CPrikaz q(db, QStringLiteral("select ID, kolo, cas, klub1, klub2 from tzapasy where skupina=?"),
                  {competition});
        while (q.Step()) {
            CZapasVCase m;
            m.id = static_cast<int>(q.Int64(0));
            m.round = KoloZUlozenia(q.Value(1)).value_or(0);
            const QDateTime kickOff = DatumZUlozenia(q.Text(2));
            if (!JeZiadnyDatum(kickOff))
                m.kickOff = kickOff;
            m.home = static_cast<int>(q.Int64(3));
            m.away = static_cast<int>(q.Int64(4));
            m.bye = !allClubs.contains(m.home) || !allClubs.contains(m.away);
            m_matches.append(m);
        }
    }
    std::sort(m_matches.begin(), m_matches.end(), [](const CZapasVCase& a, const CZapasVCase& b) {
        if (a.kickOff.isValid() != b.kickOff.isValid())
            return !a.kickOff.isValid();
        if (a.kickOff != b.kickOff)
            return a.kickOff < b.kickOff;
        return a.id < b.id;
    });
    QHash<int, QDateTime> roundStart; // a card of a match that is gone stands at its round's first kick-off
    for (int i = 0; i < m_matches.size(); ++i) {
        const CZapasVCase& m = m_matches.at(i);
        m_matchIndex.insert(m.id, i);
        if (!roundStart.contains(m.round))
            roundStart.insert(m.round, TimeOfCard(m.kickOff));
    }

    QHash<int, int> playerIndex;
    for (const bool yellow : {true, false}) {
        CPrikaz q(db,
                  QStringLiteral("select c.ID, c.IDhraca, c.IDzapasu, c.kolo, h.meno, h.priezvisko, h.RC, "
                                 "h.IDklubu from %1 c join thraci h on h.ID=c.IDhraca where c.skupina=?1 and "
                                 "h.IDklubu in (select ID from tkluby where skupina=?1)")
                      .arg(yellow ? QStringLiteral("tzkarty") : QStringLiteral("tckarty")),
                  {competition});
        while (q.Step()) {
            const int player = static_cast<int>(q.Int64(1));
            auto it = playerIndex.constFind(player);
            if (it == playerIndex.constEnd()) {
                CHrac p;
                p.id = player;
                p.meno = LimitedText(q.Text(4), QStringLiteral("meno"));
                p.priezvisko = LimitedText(q.Text(5), QStringLiteral("priezvisko"));
                p.rc = LimitedText(q.Text(6), QStringLiteral("RC"));
                p.club = static_cast<int>(q.Int64(7));
                it = playerIndex.insert(player, static_cast<int>(m_players.size()));
                m_players.append(p);
            }
            CHrac& p = m_players[*it];
            CKartaVCase card;
            card.id = q.Int64(0);
            card.match = static_cast<int>(q.Int64(2));
            card.round = KoloZUlozenia(q.Value(3)).value_or(0);
            if (const CZapasVCase* m = Match(card.match)) {
                card.time = TimeOfCard(m->kickOff);
                card.round = m->round;
            } else if (roundStart.contains(card.round)) {
                card.time = roundStart.value(card.round);
            } else {
                ++(yellow ? p.yellowWithoutTime : p.redWithoutTime);
                continue;
            }
            (yellow ? p.yellow : p.red).append(card);
        }
    }

    const QVector<CAmnestiaSezony> amnesties = ReadAmnesties(db, competition);
    QHash<int, QVector<CZapasVCase>> serving;
    for (CHrac& p : m_players) {
        std::sort(p.yellow.begin(), p.yellow.end(), Earlier);
        std::sort(p.red.begin(), p.red.end(), Earlier);
        auto it = serving.find(p.club);
        if (it == serving.end())
            it = serving.insert(p.club, ServingMatches(p.club));
        p.yellowWalk = WalkYellowCards(p.yellow, *it, thresholds, amnesties);
        p.redStops = RedCardStops(p.red, *it);
    }

    // Suspensions carried from the season before: served in the club's first matches here.
    if (db.TableExists(kTabulkaPrenesenychTrestov)) {
        CPrikaz q(
            db,
            QStringLiteral("select t.IDhraca, sum(t.zapasy), max(t.sezona), h.meno, h.priezvisko, h.RC, "
                           "h.IDklubu from %1 t join thraci h on h.ID=t.IDhraca where ifnull(h.IDold,0)=0 "
                           "and h.IDklubu in (select ID from tkluby where skupina=?) group by t.IDhraca, "
                           "h.meno, h.priezvisko, h.RC, h.IDklubu order by t.IDhraca")
                .arg(kTabulkaPrenesenychTrestov),
            {competition});
        while (q.Step()) {
            CPrenesenyHrac p;
            p.id = static_cast<int>(q.Int64(0));
            const qint64 matches = std::clamp<qint64>(q.Int64(1), 0, 1000);
            p.season = q.Text(2);
            p.meno = LimitedText(q.Text(3), QStringLiteral("meno"));
            p.priezvisko = LimitedText(q.Text(4), QStringLiteral("priezvisko"));
            p.rc = LimitedText(q.Text(5), QStringLiteral("RC"));
            p.club = static_cast<int>(q.Int64(6));
            auto it = serving.find(p.club);
            if (it == serving.end())
                it = serving.insert(p.club, ServingMatches(p.club));
            for (qsizetype i = 0; i < matches && i < it->size(); ++i)
                p.stops.append({it->at(i).id, 0});
            m_carried.append(p);
        }
    }
}

QString YellowCardReason(int count)
{
    return QStringLiteral("ŽK (%1.)").arg(count);
}

QString RedCardReason(int round)
{
    return QStringLiteral("ČK (%1. kolo)").arg(round);
}

QString CarriedReason(const QString& season)
{
    return season.isEmpty() ? QStringLiteral("prenesený trest")
                            : QStringLiteral("prenesený trest (%1)").arg(season);
}

QVector<CPrenesenyTrest> SuspensionsToCarry(CDatabaza& db, const QVector<int>& thresholds,
                                            const QString& season)
{
    QVector<CPrenesenyTrest> out;
    QVector<int> competitions;
    {
        CPrikaz q(db, QStringLiteral("select ID from tsutaze order by ID"));
        while (q.Step())
            competitions << static_cast<int>(q.Int64(0));
    }
    for (const int competition : competitions) {
        const CDisciplinaSutaze discipline(db, competition, thresholds);
        for (const CDisciplinaSutaze::CHrac& p : discipline.Players()) {
            if (p.yellowWalk.left > 0)
                out.append(
                    {p.id, p.yellowWalk.left, kTrestZlte, season, YellowCardReason(p.yellowWalk.leftCause)});
            QVector<CKartaVCase> unserved;
            RedCardStops(p.red, discipline.ServingMatches(p.club), &unserved);
            for (const CKartaVCase& card : unserved)
                out.append({p.id, 1, kTrestCervena, season, RedCardReason(card.round)});
        }
    }
    return out;
}

const CZapasVCase* CDisciplinaSutaze::Match(int id) const
{
    const auto it = m_matchIndex.constFind(id);
    return it == m_matchIndex.constEnd() ? nullptr : &m_matches.at(*it);
}

QVector<CZapasVCase> CDisciplinaSutaze::ServingMatches(int club) const
{
    QVector<CZapasVCase> out;
    for (const CZapasVCase& m : m_matches)
        if (m.Serves() && (m.home == club || m.away == club))
            out.append(m);
    return out;
}
