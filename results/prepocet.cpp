#include "prepocet.h"

#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/kody.h"

#include <QHash>
#include <QString>

#include <limits>

namespace {

// Every match is seen once from each side: `o` the side's own score, `t` the opponent's, `h` and `a`
// the home and away scores, `doma` 1 for the home side. The counts follow the rules above; in a match
// without a forfeit they are exactly the fourteen counts the standings were always computed with.
const QString kStrany = QStringLiteral("s AS (SELECT klub1 AS klub, 1 AS doma, h AS o, a AS t, h, a FROM z "
                                       "UNION ALL SELECT klub2, 0, a, h, h, a FROM z)");

const QString kPocty = QStringLiteral(
    "SELECT klub, "
    "sum(h<>100 OR a=200), "
    "sum((o<>200 AND t=200) OR (h NOT IN (100,200) AND a NOT IN (100,200) AND o>t)), "
    "sum(h NOT IN (100,200) AND h=a), "
    "sum(o=200 OR (h NOT IN (100,200) AND a<>200 AND o<t)), "
    "sum(CASE WHEN h=200 AND a=200 THEN 0 WHEN h=200 OR a=200 THEN (o<>200)*3 WHEN o<>100 THEN o ELSE 0 "
    "END), "
    "sum(CASE WHEN h=200 AND a=200 THEN 3 WHEN h=200 OR a=200 THEN (o=200)*3 WHEN t<>100 THEN t ELSE 0 END), "
    "3*sum(doma=0 AND a<>200 AND (h=200 OR (h<>100 AND h<a))) "
    "+ sum(doma=0 AND h NOT IN (100,200) AND h=a) "
    "- 3*sum(doma=1 AND (h=200 OR (h<>100 AND a<>200 AND h<a))) "
    "- 2*sum(doma=1 AND h NOT IN (100,200) AND h=a) "
    "FROM s ");

QString Score(const char* column)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(kSqlSkore), QLatin1String(column));
}

CPocty Read(const CPrikaz& q)
{
    CPocty c;
    c.club = static_cast<int>(q.Int64(0));
    c.zapasy = static_cast<int>(q.Int64(1));
    c.vyhry = static_cast<int>(q.Int64(2));
    c.remizy = static_cast<int>(q.Int64(3));
    c.prehry = static_cast<int>(q.Int64(4));
    c.skore1 = static_cast<int>(q.Int64(5));
    c.skore2 = static_cast<int>(q.Int64(6));
    c.plusb = static_cast<int>(q.Int64(7));
    return c;
}

const QString& CompetitionQuery()
{
    static const QString sql = QStringLiteral("WITH k AS (SELECT ID FROM tkluby WHERE skupina=?1), "
                                              "z AS (SELECT klub1, klub2, %1 AS h, %2 AS a FROM tzapasy "
                                              "WHERE klub1 IN k OR klub2 IN k), ")
                                   .arg(Score("body1"), Score("body2")) +
                               kStrany + QLatin1Char(' ') + kPocty +
                               QStringLiteral("WHERE klub IN k GROUP BY klub");
    return sql;
}

const QString& ClubQuery()
{
    static const QString sql = QStringLiteral("WITH z AS (SELECT klub1, klub2, %1 AS h, %2 AS a FROM tzapasy "
                                              "WHERE klub1=?1 OR klub2=?1), ")
                                   .arg(Score("body1"), Score("body2")) +
                               kStrany + QLatin1Char(' ') + kPocty + QStringLiteral("WHERE klub=?1");
    return sql;
}

QString ClubName(CDatabaza& db, int club)
{
    const QVariant name = db.Value(QStringLiteral("select nazov from tkluby where ID=?"), {club});
    return name.isNull() ? QString::number(club) : name.toString();
}

// The penalty points of the club's standings rows (none when it has no row), each checked to give
// points that fit.
QVector<int> Penalties(CDatabaza& db, int competition, const CPocty& counts)
{
    QVector<int> penalties;
    CPrikaz q(db, QStringLiteral("select btrest from tbody where IDklubu=? and skupina=?"),
              {counts.club, competition});
    while (q.Step()) {
        const QVariant stored = q.Value(0);
        const std::optional<qint64> penalty =
            stored.isNull() ? std::optional<qint64>(0) : CeleCisloZUlozenia(stored);
        const qint64 points = penalty ? 3LL * counts.vyhry + counts.remizy - *penalty : 0;
        if (!penalty || points < std::numeric_limits<int>::min() ||
            points > std::numeric_limits<int>::max() || *penalty < std::numeric_limits<int>::min() ||
            *penalty > std::numeric_limits<int>::max())
            throw CChybaDatabazy(
                QStringLiteral("Trestné body klubu %1 (%2) nie sú celé číslo, s ktorým sa dá "
                               "počítať. Opravte ich v tabuľke súťaže; tabuľka sa "
                               "neprepočítala.")
                    .arg(ClubName(db, counts.club), stored.toString()));
        penalties.append(static_cast<int>(*penalty));
    }
    return penalties;
}

void Write(CDatabaza& db, int competition, const CPocty& c)
{
    const QVector<int> penalties = Penalties(db, competition, c);
    if (penalties.isEmpty()) {
        db.Execute(
            QStringLiteral("insert into tbody (IDklubu, skupina, zapasy, vyhry, remizy, prehry, skore1, "
                           "skore2, body, plusb) values (?,?,?,?,?,?,?,?,?,?)"),
            {c.club, competition, c.zapasy, c.vyhry, c.remizy, c.prehry, c.skore1, c.skore2,
             StandingsPoints(c, 0), c.plusb});
        return;
    }
    // A club has one row; should a file hold more, each keeps its own penalty.
    db.Execute(QStringLiteral("update tbody set zapasy=?, vyhry=?, remizy=?, prehry=?, skore1=?, skore2=?, "
                              "body=?*3+?-ifnull(btrest,0), plusb=? where IDklubu=? and skupina=?"),
               {c.zapasy, c.vyhry, c.remizy, c.prehry, c.skore1, c.skore2, c.vyhry, c.remizy, c.plusb, c.club,
                competition});
}

} // namespace

QVector<CPocty> CountCompetition(CDatabaza& db, int competition)
{
    QVector<CPocty> out;
    CPrikaz clubs(db, QStringLiteral("select ID from tkluby where skupina=? order by vylosovanie, ID"),
                  {competition});
    while (clubs.Step()) {
        CPocty c;
        c.club = static_cast<int>(clubs.Int64(0));
        out.append(c);
    }
    QHash<int, int> index;
    for (int i = 0; i < out.size(); ++i)
        index.insert(out.at(i).club, i);
    CPrikaz q(db, CompetitionQuery(), {competition});
    while (q.Step()) {
        const CPocty c = Read(q);
        const auto it = index.constFind(c.club);
        if (it != index.constEnd())
            out[*it] = c;
    }
    return out;
}

CPocty CountClub(CDatabaza& db, int club)
{
    CPrikaz q(db, ClubQuery(), {club});
    if (q.Step() && !q.IsNull(0))
        return Read(q);
    CPocty none;
    none.club = club;
    return none;
}

int StandingsPoints(const CPocty& counts, int penalty)
{
    return 3 * counts.vyhry + counts.remizy - penalty;
}

void RecalculateClub(CDatabaza& db, int competition, int club)
{
    Write(db, competition, CountClub(db, club));
}

void RecalculateCompetition(CDatabaza& db, int competition)
{
    CTransakcia transaction(db);
    for (const CPocty& c : CountCompetition(db, competition))
        Write(db, competition, c);
    transaction.Commit();
}
