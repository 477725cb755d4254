#include "prepocet.h"

#include "competition/odstupenie.h"
#include "db/CChybaDatabazy.h"
#include "db/CDatabaza.h"
#include "db/kody.h"

#include <QHash>
#include <QString>

#include <limits>

namespace {

bool Normal(int score)
{
    return score != kBezVysledku && score != kKontumacia;
}

// The matches of the clubs the condition names (over `tzapasy`, with ?1, ?2...), each once.
QVector<CZapasNaPocitanie> ReadMatches(CDatabaza& db, const QString& condition, const QVariantList& values,
                                       const QHash<int, COdstupenie>& withdrawals)
{
    QVector<CZapasNaPocitanie> out;
    CPrikaz q(db,
              QStringLiteral("select klub1, klub2, %1(body1), %1(body2), %2, cas from tzapasy where ")
                      .arg(QLatin1String(kSqlSkore), SqlMedziKlubmi()) +
                  condition,
              values);
    while (q.Step()) {
        CZapasNaPocitanie m;
        m.home = static_cast<int>(q.Int64(0));
        m.away = static_cast<int>(q.Int64(1));
        m.h = static_cast<int>(q.Int64(2));
        m.a = static_cast<int>(q.Int64(3));
        m.bye = q.Int64(4) == 0;
        // A typed score recounts its clubs from all their matches: the day is read where it decides.
        if (withdrawals.contains(m.home) || withdrawals.contains(m.away))
            m.kickOff = DatumZUlozenia(q.Text(5));
        out.append(m);
    }
    return out;
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

std::optional<QPair<int, int>> CountedScore(const CZapasNaPocitanie& m,
                                            const QHash<int, COdstupenie>& withdrawals)
{
    if (m.bye)
        return std::nullopt;
    int h = m.h, a = m.a;
    const bool full = MaVysledok(h, a);
    for (const bool home : {true, false}) {
        const auto it = withdrawals.constFind(home ? m.home : m.away);
        if (it == withdrawals.constEnd())
            continue;
        if (it->annul)
            return std::nullopt;
        if (MatchIsOff(*it, m.kickOff, full))
            (home ? h : a) = kKontumacia;
    }
    if (!MaVysledok(h, a))
        return std::nullopt;
    // Beside a forfeit the other side's field means nothing.
    if (h == kKontumacia && a == kBezVysledku)
        a = 0;
    if (a == kKontumacia && h == kBezVysledku)
        h = 0;
    return QPair<int, int>(h, a);
}

void AddMatch(CPocty& c, bool home, int h, int a)
{
    const int o = home ? h : a;
    const int t = home ? a : h;
    const bool normal = Normal(h) && Normal(a);
    ++c.zapasy;
    if ((o != kKontumacia && t == kKontumacia) || (normal && o > t))
        ++c.vyhry;
    if (normal && h == a)
        ++c.remizy;
    if (o == kKontumacia || (normal && o < t))
        ++c.prehry;
    if (h == kKontumacia && a == kKontumacia) {
        c.skore2 += kKontumacneGoly;
    } else if (h == kKontumacia || a == kKontumacia) {
        if (o == kKontumacia)
            c.skore2 += kKontumacneGoly;
        else
            c.skore1 += kKontumacneGoly;
    } else {
        c.skore1 += o;
        c.skore2 += t;
    }
    // Against the norm of winning at home and losing away.
    if (!home && a != kKontumacia && (h == kKontumacia || h < a))
        c.plusb += 3;
    if (!home && normal && h == a)
        c.plusb += 1;
    if (home && (h == kKontumacia || (a != kKontumacia && h < a)))
        c.plusb -= 3;
    if (home && normal && h == a)
        c.plusb -= 2;
}

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
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    for (const CZapasNaPocitanie& m : CompetitionMatches(db, competition, withdrawals)) {
        const auto score = CountedScore(m, withdrawals);
        if (!score)
            continue;
        if (const auto it = index.constFind(m.home); it != index.constEnd())
            AddMatch(out[*it], true, score->first, score->second);
        if (const auto it = index.constFind(m.away); it != index.constEnd())
            AddMatch(out[*it], false, score->first, score->second);
    }
    return out;
}

QVector<CZapasNaPocitanie> CompetitionMatches(CDatabaza& db, int competition,
                                              const QHash<int, COdstupenie>& withdrawals)
{
    const QString clubsOf = QStringLiteral("(select ID from tkluby where skupina=?1)");
    return ReadMatches(db, QStringLiteral("klub1 in %1 or klub2 in %1").arg(clubsOf), {competition},
                       withdrawals);
}

namespace {

// The counts of each of the clubs, from one reading of their matches.
QVector<CPocty> CountClubs(CDatabaza& db, const QVector<int>& clubs)
{
    QVector<CPocty> out;
    QStringList marks;
    QVariantList values;
    for (int club : clubs) {
        CPocty c;
        c.club = club;
        out.append(c);
        marks << QStringLiteral("?%1").arg(values.size() + 1);
        values << club;
    }
    if (clubs.isEmpty())
        return out;
    const QString list = marks.join(QLatin1Char(','));
    const QHash<int, COdstupenie> withdrawals = ReadWithdrawals(db);
    const QVector<CZapasNaPocitanie> matches =
        ReadMatches(db, QStringLiteral("klub1 in (%1) or klub2 in (%1)").arg(list), values, withdrawals);
    for (const CZapasNaPocitanie& m : matches) {
        const auto score = CountedScore(m, withdrawals);
        if (!score)
            continue;
        // A club playing itself (another tool's row) counts the match for both sides, as it always did.
        for (CPocty& c : out) {
            if (m.home == c.club)
                AddMatch(c, true, score->first, score->second);
            if (m.away == c.club)
                AddMatch(c, false, score->first, score->second);
        }
    }
    return out;
}

} // namespace

CPocty CountClub(CDatabaza& db, int club)
{
    return CountClubs(db, {club}).first();
}

int StandingsPoints(const CPocty& counts, int penalty)
{
    return 3 * counts.vyhry + counts.remizy - penalty;
}

void RecalculateClub(CDatabaza& db, int competition, int club)
{
    RecalculateClubs(db, competition, {club});
}

void RecalculateClubs(CDatabaza& db, int competition, const QVector<int>& clubs)
{
    for (const CPocty& c : CountClubs(db, clubs))
        Write(db, competition, c);
}

void RecalculateCompetition(CDatabaza& db, int competition)
{
    CTransakcia transaction(db, CTransakcia::kHromadna);
    for (const CPocty& c : CountCompetition(db, competition))
        Write(db, competition, c);
    transaction.Commit();
}
